#include "RegCtrl.h"

static_assert(sizeof(int) == 4, "a registry integer is a signed 32-bit REG_DWORD");

namespace {

// The one open key of a helper call, released on every way out of it. A
// predefined root handed back for an empty path is never closed.
class RegKey {
 public:
  explicit RegKey(HKEY root) : root_(root) {}
  ~RegKey() {
    if (key_ && key_ != root_) RegCloseKey(key_);
  }
  RegKey(const RegKey &) = delete;
  RegKey &operator=(const RegKey &) = delete;

  // Full access first; a key the user may only read still opens for reading.
  bool OpenExisting(const char *path) {
    if (Opened(RegOpenKeyExA(root_, path, 0, KEY_ALL_ACCESS, &key_))) return true;
    return Opened(RegOpenKeyExA(root_, path, 0, KEY_READ, &key_));
  }

  // Creates every missing key along the path; an empty path is only opened.
  bool OpenOrCreate(const char *path) {
    if (!*path) return OpenExisting(path);
    return Opened(
        RegCreateKeyExA(root_, path, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &key_, nullptr));
  }

  bool HasValue(const char *name) {
    DWORD type = 0, size = 0;
    return RegQueryValueExA(key_, name, nullptr, &type, nullptr, &size) == ERROR_SUCCESS;
  }

  // Only a REG_DWORD of exactly 4 bytes is an integer: Windows fills just
  // part of the buffer for shorter data and never checks the type itself.
  bool ReadInteger(const char *name, int *value) {
    BYTE bytes[4] = {0, 0, 0, 0};
    DWORD type = REG_NONE, size = sizeof bytes;
    if (RegQueryValueExA(key_, name, nullptr, &type, bytes, &size) != ERROR_SUCCESS) return false;
    if (type != REG_DWORD || size != sizeof bytes) return false;
    *value = static_cast<int>(bytes[0] | bytes[1] << 8 | bytes[2] << 16 | static_cast<DWORD>(bytes[3]) << 24);
    return true;
  }

  bool WriteInteger(const char *name, int value) {
    DWORD v = static_cast<DWORD>(value);
    const BYTE bytes[4] = {static_cast<BYTE>(v), static_cast<BYTE>(v >> 8), static_cast<BYTE>(v >> 16),
                           static_cast<BYTE>(v >> 24)};
    return RegSetValueExA(key_, name, 0, REG_DWORD, bytes, sizeof bytes) == ERROR_SUCCESS;
  }

  bool Remove(const char *name) { return RegDeleteValueA(key_, name) == ERROR_SUCCESS; }

 private:
  // Whatever a failed open left in the handle is not ours to close.
  bool Opened(LONG status) {
    if (status == ERROR_SUCCESS) return true;
    key_ = nullptr;
    return false;
  }

  HKEY root_;
  HKEY key_ = nullptr;
};

// Key paths are always taken from the root: one leading backslash is dropped.
const char *Relative(const char *keyPath) {
  if (!keyPath) return "";
  return *keyPath == '\\' ? keyPath + 1 : keyPath;
}

}  // namespace

bool WriteRegInteger(HKEY root, const char *keyPath, const char *valueName, int value) {
  RegKey key(root);
  return key.OpenOrCreate(Relative(keyPath)) && key.WriteInteger(valueName, value);
}

bool DeleteRegValue(HKEY root, const char *keyPath, const char *valueName) {
  RegKey key(root);
  return key.OpenOrCreate(Relative(keyPath)) && key.HasValue(valueName) && key.Remove(valueName);
}

int ReadRegInteger(HKEY root, const char *keyPath, const char *valueName, int defaultValue) {
  RegKey key(root);
  int value = defaultValue;
  if (key.OpenExisting(Relative(keyPath)) && key.HasValue(valueName) && key.ReadInteger(valueName, &value))
    return value;
  return defaultValue;
}
