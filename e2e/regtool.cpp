// Seeds and reads registry states below HKEY_CURRENT_USER for the Wine runs.
// Each argument group is one command, run in order:
//   wipe PATH                 unlock PATH's tree and delete it
//   set PATH NAME TYPE HEX    store a value: type number, bytes in hex ("" = none)
//   unset PATH NAME           delete a value if present
//   volatile PATH             create PATH as a volatile key
//   readonly PATH             let everyone only read PATH (KEY_READ)
//   dump PATH                 print the key's values: name<TAB>type<TAB>hex, or "absent"
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "wine_registry.h"

namespace {

int Fail(const char *what, const std::string &path, LONG status) {
  std::fprintf(stderr, "regtool: %s %s: error %ld\n", what, path.c_str(), static_cast<long>(status));
  return 1;
}

std::vector<BYTE> FromHex(const std::string &hex) {
  std::vector<BYTE> bytes;
  for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
    bytes.push_back(std::strtoul(hex.substr(i, 2).c_str(), nullptr, 16));
  return bytes;
}

int Dump(const std::string &path) {
  HKEY key;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
    std::printf("absent\n");
    return 0;
  }
  std::vector<std::string> lines;
  for (DWORD i = 0;; ++i) {
    char name[16384];
    BYTE data[65536];
    DWORD nameSize = sizeof name, dataSize = sizeof data, type = 0;
    LONG status = RegEnumValueA(key, i, name, &nameSize, nullptr, &type, data, &dataSize);
    if (status == ERROR_NO_MORE_ITEMS) break;
    if (status != ERROR_SUCCESS) return Fail("enumerate", path, status);
    std::string line = std::string(name, nameSize) + "\t" + std::to_string(type) + "\t";
    for (DWORD b = 0; b < dataSize; ++b) {
      char hex[3];
      std::snprintf(hex, sizeof hex, "%02x", data[b]);
      line += hex;
    }
    lines.push_back(line);
  }
  RegCloseKey(key);
  std::sort(lines.begin(), lines.end());
  std::printf("present\n");
  for (auto &line : lines) std::printf("%s\n", line.c_str());
  return 0;
}

}  // namespace

int main(int argc, char **argv) {
  for (int i = 1; i < argc;) {
    std::string command = argv[i++];
    auto arg = [&]() -> std::string {
      if (i >= argc) {
        std::fprintf(stderr, "regtool: %s: missing argument\n", command.c_str());
        std::exit(2);
      }
      return argv[i++];
    };
    std::string path = arg();
    LONG status = ERROR_SUCCESS;
    if (command == "wipe") {
      status = WipeTree(path);
      if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND) return Fail("wipe", path, status);
    } else if (command == "set") {
      std::string name = arg(), type = arg(), hex = arg();
      HKEY key;
      status = RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
      if (status != ERROR_SUCCESS) return Fail("create", path, status);
      std::vector<BYTE> bytes = FromHex(hex);
      status = RegSetValueExA(key, name.c_str(), 0, std::strtoul(type.c_str(), nullptr, 10), bytes.data(),
                              static_cast<DWORD>(bytes.size()));
      RegCloseKey(key);
      if (status != ERROR_SUCCESS) return Fail("set", path, status);
    } else if (command == "unset") {
      std::string name = arg();
      HKEY key;
      if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_ALL_ACCESS, &key) == ERROR_SUCCESS) {
        RegDeleteValueA(key, name.c_str());
        RegCloseKey(key);
      }
    } else if (command == "volatile") {
      status = CreateVolatileKey(path);
      if (status != ERROR_SUCCESS) return Fail("create volatile", path, status);
    } else if (command == "readonly") {
      status = MakeReadOnly(path);
      if (status != ERROR_SUCCESS) return Fail("lock", path, status);
    } else if (command == "dump") {
      if (int rc = Dump(path)) return rc;
    } else {
      std::fprintf(stderr, "regtool: unknown command %s\n", command.c_str());
      return 2;
    }
  }
  return 0;
}
