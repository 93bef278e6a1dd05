#include "reg_observe.h"

std::ostream &operator<<(std::ostream &out, const Stored &s) {
  out << "type " << s.type << ", bytes {";
  for (BYTE b : s.data) out << ' ' << static_cast<int>(b);
  return out << " }";
}

Stored Dword(DWORD v) { return {REG_DWORD, {BYTE(v), BYTE(v >> 8), BYTE(v >> 16), BYTE(v >> 24)}}; }

Stored Text(const std::string &s) {
  Bytes b(s.begin(), s.end());
  b.push_back(0);
  return {REG_SZ, b};
}

bool KeyExists(const std::string &path) {
  HKEY key;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

std::optional<Stored> ReadStored(const std::string &path, const char *name) {
  HKEY key;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return std::nullopt;
  Stored s{};
  DWORD size = 0;
  std::optional<Stored> result;
  if (RegQueryValueExA(key, name, nullptr, &s.type, nullptr, &size) == ERROR_SUCCESS) {
    s.data.resize(size);
    if (RegQueryValueExA(key, name, nullptr, &s.type, s.data.data(), &size) == ERROR_SUCCESS) result = s;
  }
  RegCloseKey(key);
  return result;
}

bool Store(const std::string &path, const char *name, const Stored &value) {
  HKEY key;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr,
                      &key, nullptr) != ERROR_SUCCESS)
    return false;
  bool ok = !name || RegSetValueExA(key, name, 0, value.type, value.data.data(),
                                    static_cast<DWORD>(value.data.size())) == ERROR_SUCCESS;
  RegCloseKey(key);
  return ok;
}
