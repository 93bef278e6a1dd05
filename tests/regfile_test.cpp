// The console edition's state file: the simulated registry written as
// REGEDIT4 and read back with every type and byte intact, and a file that is
// not such a text refused without touching the registry.
#include "reg_observe.h"

#include "sim/sim.h"

#include <gtest/gtest.h>

namespace {

const std::string kKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer";

TEST(RegFile, RoundTripKeepsEveryTypeAndByte) {
  sim::Reset();
  const std::vector<std::pair<const char *, Stored>> values = {
      {"NoAddPrinter", Dword(1)},
      {"Texte \"cit\xE9\" \\ fin", Text("caf\xE9 \\ \"x\"")},
      {"Court", Stored{REG_DWORD, {1, 2}}},
      {"Binaire", Stored{REG_BINARY, {0, 255, 16}}},
      {"Vide", Stored{REG_BINARY, {}}},
      {"Lignes", Stored{REG_SZ, {'a', '\r', '\n', 'b', 0}}},
      {"SansZero", Stored{REG_SZ, {'a', 'b'}}},
      {"Multi", Stored{REG_MULTI_SZ, {'a', 0, 'b', 0, 0}}},
      {"", Text("par d\xE9"
                "faut")},
  };
  for (auto &[name, value] : values) ASSERT_TRUE(Store(kKey, name, value));
  ASSERT_TRUE(Store("Software\\Vide\\Sous-cl\xE9"));
  ASSERT_TRUE(Store("", "Racine", Dword(2)));  // a value of HKEY_CURRENT_USER itself

  std::string text = sim::ExportReg();
  EXPECT_NE(std::string::npos, text.find("\n[HKEY_CURRENT_USER\\" + kKey + "]\n@=")) << text;
  EXPECT_NE(std::string::npos, text.find("\n\"NoAddPrinter\"=dword:00000001\n")) << text;
  sim::Reset();
  std::string error;
  ASSERT_TRUE(sim::ImportReg(text, &error)) << error;
  for (auto &[name, value] : values) EXPECT_EQ(value, ReadStored(kKey, name)) << name;
  EXPECT_TRUE(KeyExists("Software\\Vide\\Sous-cl\xE9"));
  EXPECT_EQ(Dword(2), ReadStored("", "Racine"));
  EXPECT_EQ(text, sim::ExportReg());
}

TEST(RegFile, ReadsWhatRegeditWrites) {
  sim::Reset();
  std::string error;
  ASSERT_TRUE(
      sim::ImportReg("REGEDIT4\r\n\r\n; a comment\r\n[HKEY_CURRENT_USER\\A\\B]\r\n"
                     "\"X\"=dword:FFFFFFFE\r\n\"H\"=hex(4):01,02,\\\r\n  03,04\r\n@=\"d\"\r\n",
                     &error))
      << error;
  EXPECT_EQ(Dword(0xFFFFFFFE), ReadStored("A\\B", "X"));
  EXPECT_EQ(Dword(0x04030201), ReadStored("A\\B", "h"));
  EXPECT_EQ(Text("d"), ReadStored("A\\B", ""));
}

TEST(RegFile, MalformedTextIsRefusedAndTheRegistryKept) {
  const char *bad[] = {
      "",
      "REGEDIT5\n",
      "REGEDIT4\n\"X\"=dword:00000001\n",                          // value before any key
      "REGEDIT4\n[HKEY_LOCAL_MACHINE\\Software]\n",                // another root
      "REGEDIT4\n[HKEY_CURRENT_USER\\A\n",                         // unclosed key
      "REGEDIT4\n[HKEY_CURRENT_USER\\A]\n\"X\"=dword:1\n",         // short dword
      "REGEDIT4\n[HKEY_CURRENT_USER\\A]\n\"X\"=dword:0000000g\n",  // not hex
      "REGEDIT4\n[HKEY_CURRENT_USER\\A]\n\"X\"=hex:1,02\n",        // one-digit byte
      "REGEDIT4\n[HKEY_CURRENT_USER\\A]\n\"X\"=hex:01,\n",         // trailing comma
      "REGEDIT4\n[HKEY_CURRENT_USER\\A]\n\"X\"=\"open\n",          // unclosed text
      "REGEDIT4\n[HKEY_CURRENT_USER\\A]\n\"X\"=\"a\"b\n",          // text after the quote
      "REGEDIT4\n[HKEY_CURRENT_USER\\A]\n\"X\" \"a\"\n",           // no '='
      "REGEDIT4\n[HKEY_CURRENT_USER\\A]\n\"X\"=-\n",               // deletion
      "REGEDIT4\n[HKEY_CURRENT_USER\\A]\n\"X\"=hex:01,\\\n",       // file ends mid-value
  };
  for (const char *text : bad) {
    sim::Reset();
    ASSERT_TRUE(Store(kKey, "NoAddPrinter", Dword(1)));
    std::string before = sim::ExportReg(), error;
    EXPECT_FALSE(sim::ImportReg(text, &error)) << text;
    EXPECT_FALSE(error.empty()) << text;
    EXPECT_EQ(before, sim::ExportReg()) << text;
  }
}

}  // namespace
