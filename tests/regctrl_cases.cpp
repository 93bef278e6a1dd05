// The registry helpers against one table of registry states. The same table
// runs on the simulated registry (host) and on Wine's real one, which is what
// shows the simulation faithful.
#include "RegCtrl.h"
#include "reg_bench.h"
#include "reg_observe.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const std::string kKey = std::string(bench::kScratch) + "\\Policies\\Explorer";
constexpr char kValue[] = "NoAddPrinter";
constexpr char kOther[] = "Other";  // a neighbour that every run must leave alone
const Stored kOtherData = Text("laisser");

enum class Op { Read, Write, Delete };

struct Case {
  const char *name;
  std::optional<Stored> seed;  // the value before; the key exists when seeded or keyBefore
  bool keyBefore;
  bench::Fault fault;
  Op op;
  int arg;     // the value to write, or the default to read with
  int result;  // the read value, or 1/0 for true/false
  std::optional<Stored> after;
  bool keyAfter;
};

void PrintTo(const Case &c, std::ostream *out) { *out << c.name; }

using bench::Fault;
// One row a line reads best.
// clang-format off
const Case kCases[] = {
    // name, seed, keyBefore, fault, op, arg, result, after, keyAfter
    {"ReadMissingKeyGivesDefaultAndCreatesNothing", {}, false, Fault::None, Op::Read, 7, 7, {}, false},
    {"ReadAbsentValueGivesDefault", {}, true, Fault::None, Op::Read, 7, 7, {}, true},
    {"ReadDword", Dword(1), true, Fault::None, Op::Read, 7, 1, Dword(1), true},
    {"ReadPresentZero", Dword(0), true, Fault::None, Op::Read, 7, 0, Dword(0), true},
    {"ReadNegative", Dword(0xFFFFFFFF), true, Fault::None, Op::Read, 0, -1, Dword(0xFFFFFFFF), true},
    {"ReadOnlyKeyIsStillRead", Dword(5), true, Fault::ReadOnlyKey, Op::Read, 0, 5, Dword(5), true},
    {"ReadTextGivesDefault", Text("1"), true, Fault::None, Op::Read, 7, 7, Text("1"), true},
    {"ReadBinaryOfFourBytesGivesDefault", Stored{REG_BINARY, {1, 0, 0, 0}}, true, Fault::None, Op::Read, 7, 7,
     Stored{REG_BINARY, {1, 0, 0, 0}}, true},
    {"ReadBigEndianGivesDefault", Stored{REG_DWORD_BIG_ENDIAN, {0, 0, 0, 1}}, true, Fault::None, Op::Read, 7, 7,
     Stored{REG_DWORD_BIG_ENDIAN, {0, 0, 0, 1}}, true},
    {"ReadLongDwordGivesDefault", Stored{REG_DWORD, {1, 0, 0, 0, 0, 0, 0, 0}}, true, Fault::None, Op::Read, 7, 7,
     Stored{REG_DWORD, {1, 0, 0, 0, 0, 0, 0, 0}}, true},
    {"ReadShortDwordGivesDefault", Stored{REG_DWORD, {1, 0}}, true, Fault::None, Op::Read, 7, 7,
     Stored{REG_DWORD, {1, 0}}, true},
    {"ReadEmptyDwordGivesDefault", Stored{REG_DWORD, {}}, true, Fault::None, Op::Read, 7, 7, Stored{REG_DWORD, {}},
     true},
    {"ReadFailingQueryGivesDefault", Dword(1), true, Fault::QueryFails, Op::Read, 7, 7, Dword(1), true},

    {"WriteCreatesMissingKeys", {}, false, Fault::None, Op::Write, 1, 1, Dword(1), true},
    {"WriteOverZero", Dword(0), true, Fault::None, Op::Write, 1, 1, Dword(1), true},
    {"WriteReplacesText", Text("1"), true, Fault::None, Op::Write, 1, 1, Dword(1), true},
    {"WriteNegative", {}, true, Fault::None, Op::Write, -2, 1, Dword(0xFFFFFFFE), true},
    {"WriteToReadOnlyKeyFails", Dword(0), true, Fault::ReadOnlyKey, Op::Write, 1, 0, Dword(0), true},
    {"WriteFailingCreateFails", {}, false, Fault::CreateFails, Op::Write, 1, 0, {}, false},
    {"WriteFailingSetFailsAndLeavesTheKey", {}, false, Fault::SetFails, Op::Write, 1, 0, {}, true},

    {"DeleteRemovesValue", Dword(1), true, Fault::None, Op::Delete, 0, 1, {}, true},
    {"DeleteRemovesValueOfAnyType", Text("1"), true, Fault::None, Op::Delete, 0, 1, {}, true},
    {"DeleteAbsentValueFails", {}, true, Fault::None, Op::Delete, 0, 0, {}, true},
    {"DeleteBelowMissingKeyCreatesItEmpty", {}, false, Fault::None, Op::Delete, 0, 0, {}, true},
    {"DeleteInReadOnlyKeyFails", Dword(1), true, Fault::ReadOnlyKey, Op::Delete, 0, 0, Dword(1), true},
    {"DeleteFailingRemovalFails", Dword(1), true, Fault::DeleteFails, Op::Delete, 0, 0, Dword(1), true},
};
// clang-format on

class RegCtrlCase : public testing::TestWithParam<Case> {
 protected:
  void SetUp() override { bench::Wipe(); }
  void TearDown() override { bench::Wipe(); }
};

TEST_P(RegCtrlCase, ResultAndRegistryAfterwards) {
  const Case &c = GetParam();
  if (c.keyBefore) {
    ASSERT_TRUE(Store(kKey, kOther, kOtherData));
    if (c.seed) {
      ASSERT_TRUE(Store(kKey, kValue, *c.seed));
    }
  }
  if (!bench::Provoke(c.fault, kKey)) GTEST_SKIP() << "this registry cannot produce that fault";

  int handles = bench::OpenHandles();
  int result = 0;
  switch (c.op) {
    case Op::Read: result = ReadRegInteger(HKEY_CURRENT_USER, kKey.c_str(), kValue, c.arg); break;
    case Op::Write: result = WriteRegInteger(HKEY_CURRENT_USER, kKey.c_str(), kValue, c.arg); break;
    case Op::Delete: result = DeleteRegValue(HKEY_CURRENT_USER, kKey.c_str(), kValue); break;
  }
  EXPECT_EQ(c.result, result);
  EXPECT_EQ(handles, bench::OpenHandles()) << "a key handle outlived the call";
  EXPECT_EQ(c.after, ReadStored(kKey, kValue));
  EXPECT_EQ(c.keyAfter, KeyExists(kKey));
  if (c.keyBefore) {
    EXPECT_EQ(kOtherData, ReadStored(kKey, kOther)) << "a neighbouring value was touched";
  }
}

INSTANTIATE_TEST_SUITE_P(Table, RegCtrlCase, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<Case> &info) { return std::string(info.param.name); });

// Key paths are always taken from the root, with or without a leading
// backslash, and an empty path is the root itself.
TEST(RegCtrlPaths, LeadingBackslashAndEmptyPath) {
  bench::Wipe();
  EXPECT_TRUE(WriteRegInteger(HKEY_CURRENT_USER, ("\\" + kKey).c_str(), kValue, 1));
  EXPECT_EQ(Dword(1), ReadStored(kKey, kValue));
  EXPECT_EQ(1, ReadRegInteger(HKEY_CURRENT_USER, ("\\" + kKey).c_str(), kValue, 0));
  EXPECT_TRUE(DeleteRegValue(HKEY_CURRENT_USER, ("\\" + kKey).c_str(), kValue));
  EXPECT_EQ(std::nullopt, ReadStored(kKey, kValue));

  // The root's own values: the predefined handle is used, never closed.
  const char *name = "MIZOnaTestValue";
  EXPECT_TRUE(WriteRegInteger(HKEY_CURRENT_USER, "", name, 3));
  EXPECT_EQ(3, ReadRegInteger(HKEY_CURRENT_USER, "", name, 0));
  EXPECT_TRUE(DeleteRegValue(HKEY_CURRENT_USER, "", name));
  EXPECT_EQ(9, ReadRegInteger(HKEY_CURRENT_USER, "", name, 9));
  EXPECT_TRUE(KeyExists(bench::kScratch));
  bench::Wipe();
}

}  // namespace
