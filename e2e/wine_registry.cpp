#include "wine_registry.h"

#include <aclapi.h>

#include <vector>

namespace {

LONG SetDacl(HKEY key, ACCESS_MASK everyone, bool isProtected) {
  EXPLICIT_ACCESS_A access = {};
  access.grfAccessPermissions = everyone;
  access.grfAccessMode = SET_ACCESS;
  access.grfInheritance = NO_INHERITANCE;
  access.Trustee.TrusteeForm = TRUSTEE_IS_NAME;
  access.Trustee.TrusteeType = TRUSTEE_IS_WELL_KNOWN_GROUP;
  access.Trustee.ptstrName = const_cast<char *>("EVERYONE");
  PACL acl = nullptr;
  DWORD status = SetEntriesInAclA(1, &access, nullptr, &acl);
  if (status != ERROR_SUCCESS) return static_cast<LONG>(status);
  SECURITY_INFORMATION info = DACL_SECURITY_INFORMATION | (isProtected ? PROTECTED_DACL_SECURITY_INFORMATION
                                                                       : UNPROTECTED_DACL_SECURITY_INFORMATION);
  status = SetSecurityInfo(key, SE_REGISTRY_KEY, info, nullptr, nullptr, acl, nullptr);
  LocalFree(acl);
  return static_cast<LONG>(status);
}

void Unlock(HKEY parent, const std::string &path) {
  HKEY key;
  if (RegOpenKeyExA(parent, path.c_str(), 0, WRITE_DAC, &key) != ERROR_SUCCESS) return;
  SetDacl(key, KEY_ALL_ACCESS, false);
  RegCloseKey(key);
  if (RegOpenKeyExA(parent, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return;
  std::vector<std::string> children;
  char name[256];
  for (DWORD i = 0;; ++i) {
    DWORD size = sizeof name;
    if (RegEnumKeyExA(key, i, name, &size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    children.push_back(name);
  }
  for (auto &child : children) Unlock(key, child);
  RegCloseKey(key);
}

}  // namespace

LONG WipeTree(const std::string &path) {
  Unlock(HKEY_CURRENT_USER, path);
  return RegDeleteTreeA(HKEY_CURRENT_USER, path.c_str());  // the key itself goes too
}

LONG MakeReadOnly(const std::string &path) {
  HKEY key;
  LONG status = RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
  if (status != ERROR_SUCCESS) return status;
  status = SetDacl(key, KEY_READ, true);
  RegCloseKey(key);
  return status;
}

LONG CreateVolatileKey(const std::string &path) {
  HKEY key;
  LONG status = RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, REG_OPTION_VOLATILE, KEY_ALL_ACCESS,
                                nullptr, &key, nullptr);
  if (status == ERROR_SUCCESS) RegCloseKey(key);
  return status;
}
