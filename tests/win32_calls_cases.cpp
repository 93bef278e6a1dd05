// How the registry calls themselves answer, one row a situation: return code,
// type, size and buffer. The same rows run on the simulated registry and on
// Wine's, so the simulation answers as Windows does call by call, not only
// through the helpers.
#include "reg_bench.h"
#include "reg_observe.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>

namespace {

const std::string kKey = std::string(bench::kScratch) + "\\Calls";

std::string Hex(const BYTE *data, DWORD size) {
  std::string out;
  char buf[3];
  for (DWORD i = 0; i < size; ++i) {
    std::snprintf(buf, sizeof buf, "%02x", data[i]);
    out += buf;
  }
  return out;
}

HKEY Open(REGSAM access = KEY_ALL_ACCESS, const std::string &path = kKey) {
  HKEY key = nullptr;
  RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, access, &key);
  return key;
}

// A query into a 4-byte buffer that starts as aa aa aa aa.
std::string Query4(const char *name, const Stored &stored) {
  Store(kKey, name, stored);
  HKEY key = Open();
  BYTE buffer[4] = {0xaa, 0xaa, 0xaa, 0xaa};
  DWORD type = 99, size = sizeof buffer;
  LONG status = RegQueryValueExA(key, name, nullptr, &type, buffer, &size);
  RegCloseKey(key);
  return std::to_string(status) + " type " + std::to_string(type) + " size " + std::to_string(size) + " buffer " +
         Hex(buffer, sizeof buffer);
}

std::string Create(const std::string &path, REGSAM access = KEY_ALL_ACCESS) {
  HKEY key = nullptr;
  DWORD disposition = 0;
  LONG status = RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, access, nullptr,
                                &key, &disposition);
  if (key) RegCloseKey(key);
  return std::to_string(status) + (status == ERROR_SUCCESS ? " disposition " + std::to_string(disposition) : "") +
         (key ? "" : " null");
}

std::string OpenStatus(const std::string &path, REGSAM access) {
  HKEY key = reinterpret_cast<HKEY>(1);
  LONG status = RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, access, &key);
  if (status == ERROR_SUCCESS) RegCloseKey(key);
  return std::to_string(status) + (key ? "" : " null");
}

struct CallCase {
  const char *name;
  std::function<std::string()> run;
  const char *expected;
};

void PrintTo(const CallCase &c, std::ostream *out) { *out << c.name; }

const CallCase kCalls[] = {
    {"PresenceGivesTypeAndSize",
     [] {
       Store(kKey, "v", Dword(7));
       HKEY key = Open();
       DWORD type = 99, size = 99;
       LONG status = RegQueryValueExA(key, "v", nullptr, &type, nullptr, &size);
       LONG bare = RegQueryValueExA(key, "v", nullptr, nullptr, nullptr, nullptr);
       RegCloseKey(key);
       return std::to_string(status) + " type " + std::to_string(type) + " size " + std::to_string(size) + " bare " +
              std::to_string(bare);
     },
     "0 type 4 size 4 bare 0"},
    {"AbsentValueClearsTheSize",
     [] {
       Store(kKey);
       HKEY key = Open();
       DWORD size = 99;
       LONG status = RegQueryValueExA(key, "v", nullptr, nullptr, nullptr, &size);
       RegCloseKey(key);
       return std::to_string(status) + " size " + std::to_string(size);
     },
     "2 size 0"},
    {"DataWithoutSizeIsRefused",
     [] {
       Store(kKey, "v", Dword(7));
       HKEY key = Open();
       BYTE buffer[4];
       LONG status = RegQueryValueExA(key, "v", nullptr, nullptr, buffer, nullptr);
       RegCloseKey(key);
       return std::to_string(status);
     },
     "87"},
    {"DwordIsCopied", [] { return Query4("v", Dword(0x04030201)); }, "0 type 4 size 4 buffer 01020304"},
    {"ShortDwordFillsPartOfTheBuffer",
     [] {
       return Query4("v", Stored{REG_DWORD, {1, 2}});
     },
     "0 type 4 size 2 buffer 0102aaaa"},
    {"EmptyDwordLeavesTheBuffer",
     [] {
       return Query4("v", Stored{REG_DWORD, {}});
     },
     "0 type 4 size 0 buffer aaaaaaaa"},
    {"BinaryIsNotTypeChecked",
     [] {
       return Query4("v", Stored{REG_BINARY, {1, 0, 0, 0}});
     },
     "0 type 3 size 4 buffer 01000000"},
    {"BigEndianIsNotSwapped",
     [] {
       return Query4("v", Stored{REG_DWORD_BIG_ENDIAN, {0, 0, 0, 1}});
     },
     "0 type 5 size 4 buffer 00000001"},
    {"LongDataAsksForMore",
     [] {
       return Query4("v", Stored{REG_DWORD, {1, 0, 0, 0, 0, 0, 0, 0}});
     },
     "234 type 4 size 8 buffer aaaaaaaa"},
    {"ShortTextFits", [] { return Query4("v", Text("ab")); }, "0 type 1 size 3 buffer 616200aa"},
    {"LongTextAsksForMore", [] { return Query4("v", Text("abcd")); }, "234 type 1 size 5 buffer aaaaaaaa"},
    {"NamesIgnoreCase",
     [] {
       Store(kKey, "NoAddPrinter", Text("1"));
       Store(kKey, "NOADDPRINTER", Dword(1));  // replaces the text in place
       std::string read = Query4("noaddprinter", Dword(1));
       return read + " " + OpenStatus(bench::kScratch + std::string("\\CALLS"), KEY_READ);
     },
     "0 type 4 size 4 buffer 01000000 0"},
    {"SetStoresTheSizeGiven",
     [] {
       Store(kKey);
       HKEY key = Open();
       const BYTE three[3] = {1, 2, 3};
       LONG status = RegSetValueExA(key, "v", 0, REG_DWORD, three, 3);
       RegCloseKey(key);
       return std::to_string(status) + " stored " + std::to_string(ReadStored(kKey, "v")->data.size());
     },
     "0 stored 3"},
    {"CreateMakesEveryMissingKey",
     [] {
       std::string first = Create(kKey + "\\A\\B");
       std::string middle = OpenStatus(kKey + "\\A", KEY_READ);
       return first + ", " + middle + ", " + Create(kKey + "\\A\\B");
     },
     "0 disposition 1, 0, 0 disposition 2"},
    {"CreateEmptyPathOpensTheKey",
     [] {
       Store(kKey);
       HKEY parent = Open(), key = nullptr;
       LONG status = RegCreateKeyExA(parent, "", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
       bool fresh = key && key != parent;
       RegCloseKey(key);
       RegCloseKey(parent);
       return std::to_string(status) + (fresh ? " new handle" : " same handle");
     },
     "0 new handle"},
    {"LeadingBackslashIsRefused",
     [] { return Create("\\" + kKey) + ", " + OpenStatus("\\" + std::string(bench::kScratch), KEY_READ); },
     "161 null, 161 null"},
    {"DoubledAndTrailingBackslashesAreFine", [] { return Create(kKey + "\\\\A\\"); }, "0 disposition 1"},
    {"OpenMissingKeyCreatesNothing",
     [] { return OpenStatus(kKey + "\\Missing", KEY_READ) + ", " + OpenStatus(kKey, KEY_READ); }, "2 null, 2 null"},
    {"ReadOnlyKeyOpensForReadingOnly",
     [] {
       Store(kKey, "v", Dword(1));
       if (!bench::Provoke(bench::Fault::ReadOnlyKey, kKey)) return std::string("cannot lock");
       HKEY key = Open(KEY_READ);
       const BYTE one[4] = {1, 0, 0, 0};
       // Each call named, so that a mismatch says which one answered wrong.
       std::string set = std::to_string(RegSetValueExA(key, "v", 0, REG_DWORD, one, 4));
       std::string remove = std::to_string(RegDeleteValueA(key, "v"));
       RegCloseKey(key);
       return "open all " + OpenStatus(kKey, KEY_ALL_ACCESS) + ", open read " + OpenStatus(kKey, KEY_READ) +
              ", create " + Create(kKey) + ", set " + set + ", delete " + remove;
     },
     "open all 5 null, open read 0, create 5 null, set 5, delete 5"},
    {"ReadHandleCannotWrite",
     [] {
       Store(kKey, "v", Dword(1));
       HKEY key = Open(KEY_READ);
       const BYTE one[4] = {1, 0, 0, 0};
       std::string result = std::to_string(RegSetValueExA(key, "v", 0, REG_DWORD, one, 4)) + " " +
                            std::to_string(RegDeleteValueA(key, "v"));
       RegCloseKey(key);
       return result;
     },
     "5 5"},
    {"DeleteAbsentValue",
     [] {
       Store(kKey);
       HKEY key = Open();
       LONG status = RegDeleteValueA(key, "v");
       RegCloseKey(key);
       return std::to_string(status);
     },
     "2"},
    {"ClosingTheRootKeepsItUsable",
     [] {
       std::string status = std::to_string(RegCloseKey(HKEY_CURRENT_USER));
       return status + " " + Create(kKey);
     },
     "0 0 disposition 1"},
    {"ClosingTwiceIsAnError",
     [] {
       Store(kKey);
       HKEY key = Open();
       std::string first = std::to_string(RegCloseKey(key));
       return first + " " + std::to_string(RegCloseKey(key));
     },
     "0 6"},
};

class Win32Call : public testing::TestWithParam<CallCase> {
 protected:
  void SetUp() override { bench::Wipe(); }
  void TearDown() override { bench::Wipe(); }
};

TEST_P(Win32Call, AnswersAsWindows) { EXPECT_EQ(GetParam().expected, GetParam().run()); }

INSTANTIATE_TEST_SUITE_P(Registry, Win32Call, testing::ValuesIn(kCalls),
                         [](const testing::TestParamInfo<CallCase> &info) { return std::string(info.param.name); });

}  // namespace
