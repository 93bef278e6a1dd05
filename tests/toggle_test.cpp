// The whole run on the simulated Windows: the boxes' exact bytes, styles and
// order, the windows closed, the restart request and the registry afterwards.
#include "toggle.h"
#include "reg_bench.h"
#include "reg_observe.h"
#include "scrambled.h"

#include "sim/sim.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

const std::string kKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer";
constexpr char kValue[] = "NoAddPrinter";
constexpr char kClass[] = "PrintFolder";

// What the user reads, written out once more here byte for byte (code page
// 1252), so that a slip in the program's own table shows. Each box is named
// as the program names the line that sets it apart.
const std::string kCaption = "MIZOna pour Windows 95/98";
const std::string kBanner =
    "MIZOna v1.0 Win95 (c) 2026 Atelier MIZOna - Lyon\r\n\r\n"
    "Fonction : Option [Ajout Imprimante] pour Windows\r\n"
    "Note       : Option r\351versible en relan\347ant le programme\r\n\r\n";
const std::string kQuestionWhileEnabled = kBanner + "Ajout Imprimante possible. Voulez-vous d\351sactiver ?";
const std::string kQuestionWhileDisabled = kBanner + "Ajout Imprimante d\351sactiv\351. Voulez-vous activer ?";
const std::string kRestart =
    "\r\n\r\nVotre ordinateur doit red\351marrer pour prendre en\r\n"
    "compte les modifications apport\351es. Voulez-vous\r\nred\351marrer maintenant ?";
const std::string kLead = "L'op\351ration s'est d\351roul\351e avec succ\351s.\r\n";
const std::string kOutcomeSwitchedOff = kLead + "L'ajout d'imprimante a \351t\351 d\351sactiv\351." + kRestart;
const std::string kOutcomeSwitchedOn = kLead + "L'ajout d'imprimante a \351t\351 r\351activ\351." + kRestart;
const std::string kUnsupportedSystem = "Ce programme ne peut pas \352tre utilis\351 sous Windows 3.x !";
const std::string kOperationFailed = "Une erreur s'est produite durant l'op\351ration !";

constexpr UINT kQuestion = MB_YESNO | MB_ICONQUESTION;
constexpr UINT kError = MB_OK | MB_ICONERROR;
constexpr DWORD kWin95 = 0xC0000004, kWin98 = 0xC0000A04, kWin31 = 0x80000A03, kWinXP = 0x0A280105;

struct ShownBox {
  std::string text;
  UINT style;
};

enum class Window { None, Closes, IgnoresClose };

struct FlowCase {
  const char *name;
  DWORD version;
  std::optional<Stored> seed;
  Window window;
  bench::Fault fault;
  std::vector<int> answers;
  std::vector<ShownBox> boxes;
  int closeMessages;  // WM_CLOSE the window received
  bool restart;
  std::optional<Stored> after;
};

void PrintTo(const FlowCase &c, std::ostream *out) { *out << c.name; }

using bench::Fault;
// One row a line reads best.
// clang-format off
const FlowCase kFlows[] = {
    {"NoValueYesThenNoRestart", kWin98, {}, Window::IgnoresClose, Fault::None, {IDYES, IDNO},
     {{kQuestionWhileEnabled, kQuestion}, {kOutcomeSwitchedOff, kQuestion}}, 2, false, Dword(1)},
    {"ValueOneYesThenRestart", kWin98, Dword(1), Window::IgnoresClose, Fault::None, {IDYES, IDYES},
     {{kQuestionWhileDisabled, kQuestion}, {kOutcomeSwitchedOn, kQuestion}}, 2, true, {}},
    {"ValueFiveIsSwitchedOff", kWin95, Dword(5), Window::None, Fault::None, {IDYES, IDNO},
     {{kQuestionWhileDisabled, kQuestion}, {kOutcomeSwitchedOn, kQuestion}}, 0, false, {}},
    {"ValueMinusOneIsSwitchedOff", kWinXP, Dword(0xFFFFFFFF), Window::Closes, Fault::None, {IDYES, IDNO},
     {{kQuestionWhileDisabled, kQuestion}, {kOutcomeSwitchedOn, kQuestion}}, 1, false, {}},
    {"PresentZeroIsOverwritten", kWin98, Dword(0), Window::Closes, Fault::None, {IDYES, IDNO},
     {{kQuestionWhileEnabled, kQuestion}, {kOutcomeSwitchedOff, kQuestion}}, 1, false, Dword(1)},
    {"TextOneReadsAsOnAndIsReplaced", kWin98, Text("1"), Window::Closes, Fault::None, {IDYES, IDNO},
     {{kQuestionWhileEnabled, kQuestion}, {kOutcomeSwitchedOff, kQuestion}}, 1, false, Dword(1)},
    {"NoAtTheQuestionChangesNothing", kWin98, {}, Window::IgnoresClose, Fault::None, {IDNO}, {{kQuestionWhileEnabled, kQuestion}},
     1, false, {}},
    {"NoWhileSwitchedOffKeepsIt", kWin98, Dword(1), Window::Closes, Fault::None, {IDNO}, {{kQuestionWhileDisabled, kQuestion}}, 1,
     false, Dword(1)},
    {"Windows31IsRefused", kWin31, Dword(1), Window::Closes, Fault::None, {IDYES, IDYES}, {{kUnsupportedSystem, kError}}, 0,
     false, Dword(1)},
    {"AnyMajorVersionThreeIsRefused", 0x00000003, {}, Window::Closes, Fault::None, {IDYES}, {{kUnsupportedSystem, kError}}, 0,
     false, {}},
    {"RefusedWriteShowsTheError", kWin98, {}, Window::IgnoresClose, Fault::CreateFails, {IDYES, IDYES},
     {{kQuestionWhileEnabled, kQuestion}, {kOperationFailed, kError}}, 2, false, {}},
    {"RefusedRemovalShowsTheError", kWin98, Dword(1), Window::Closes, Fault::DeleteFails, {IDYES, IDYES},
     {{kQuestionWhileDisabled, kQuestion}, {kOperationFailed, kError}}, 1, false, Dword(1)},
    {"ReadOnlyKeyIsReadButNotChanged", kWin98, Dword(1), Window::Closes, Fault::ReadOnlyKey, {IDYES, IDYES},
     {{kQuestionWhileDisabled, kQuestion}, {kOperationFailed, kError}}, 1, false, Dword(1)},
};
// clang-format on

class Flow : public testing::TestWithParam<FlowCase> {
 protected:
  void SetUp() override { sim::Reset(); }
};

TEST_P(Flow, BoxesWindowRestartAndRegistry) {
  const FlowCase &c = GetParam();
  sim::SetVersion(c.version);
  HWND window = c.window == Window::None ? nullptr : sim::OpenWindow(kClass, c.window == Window::IgnoresClose);
  if (c.seed) {
    ASSERT_TRUE(Store(kKey, kValue, *c.seed));
  }
  ASSERT_TRUE(Store(kKey, "Autre", Dword(42)));
  ASSERT_TRUE(bench::Provoke(c.fault, kKey));
  sim::ScriptAnswers(c.answers);

  EXPECT_EQ(0, RunToggle());

  ASSERT_EQ(c.boxes.size(), sim::Boxes().size());
  for (std::size_t i = 0; i < c.boxes.size(); ++i) {
    const sim::Box &box = sim::Boxes()[i];
    EXPECT_EQ(c.boxes[i].text, box.text) << "box " << i;
    EXPECT_LE(box.text.size(), 255u);
    EXPECT_EQ(c.boxes[i].style, box.style) << "box " << i;
    EXPECT_EQ(kCaption, box.caption);
    EXPECT_EQ(nullptr, box.owner);
  }
  if (window) {
    EXPECT_EQ(std::vector<UINT>(c.closeMessages, WM_CLOSE), sim::MessagesTo(window));
  }
  ASSERT_EQ(c.restart ? 1u : 0u, sim::ExitRequests().size());
  if (c.restart) {
    EXPECT_EQ(3u, sim::ExitRequests()[0].flags);
    EXPECT_EQ(0u, sim::ExitRequests()[0].reserved);
  }
  EXPECT_EQ(c.after, ReadStored(kKey, kValue));
  EXPECT_EQ(Dword(42), ReadStored(kKey, "Autre"));
  EXPECT_EQ(0, sim::OpenHandles());
}

INSTANTIATE_TEST_SUITE_P(Paths, Flow, testing::ValuesIn(kFlows),
                         [](const testing::TestParamInfo<FlowCase> &info) { return std::string(info.param.name); });

TEST(FlowRuns, TwoRunsAnsweredYesEndWithNoValue) {
  sim::Reset();
  sim::ScriptAnswers({IDYES, IDNO, IDYES, IDNO});
  RunToggle();
  EXPECT_EQ(Dword(1), ReadStored(kKey, kValue));
  RunToggle();
  EXPECT_EQ(std::nullopt, ReadStored(kKey, kValue));
  ASSERT_EQ(4u, sim::Boxes().size());
  EXPECT_EQ(kQuestionWhileEnabled, sim::Boxes()[0].text);
  EXPECT_EQ(kQuestionWhileDisabled, sim::Boxes()[2].text);
  EXPECT_EQ(kOutcomeSwitchedOn, sim::Boxes()[3].text);
}

TEST(FlowRuns, WindowReopenedDuringTheQuestionIsClosedAgain) {
  sim::Reset();
  HWND first = sim::OpenWindow(kClass);
  HWND second = nullptr;
  sim::SetAnswerer([&](const sim::Box &) {
    if (!second) second = sim::OpenWindow("printfolder");  // class names ignore case
    return sim::Boxes().size() == 1 ? IDYES : IDNO;
  });
  RunToggle();
  EXPECT_FALSE(sim::IsOpen(first));
  EXPECT_FALSE(sim::IsOpen(second));
  EXPECT_EQ(std::vector<UINT>{WM_CLOSE}, sim::MessagesTo(second));
  EXPECT_EQ(Dword(1), ReadStored(kKey, kValue));
}

// The registry calls of a run, with their flags: absent value switched off,
// then the value switched back on.
TEST(FlowRuns, RegistryCallsAndFlags) {
  sim::Reset();
  sim::ScriptAnswers({IDYES, IDNO});
  RunToggle();
  const std::string path = "\"" + kKey + "\"";
  std::vector<std::string> off = {
      "RegOpenKeyExA(HKCU, " + path + ", 0, 0xF003F) -> 2",
      "RegOpenKeyExA(HKCU, " + path + ", 0, 0x20019) -> 2",
      "RegCreateKeyExA(HKCU, " + path + ", 0, NULL, 0, 0xF003F, NULL) = #256 -> 0",
      "RegSetValueExA(#256, \"NoAddPrinter\", 0, 4, buf, 4) -> 0",
      "RegCloseKey(#256) -> 0",
  };
  EXPECT_EQ(off, sim::RegCalls());

  sim::ClearCalls();
  sim::ScriptAnswers({IDYES, IDNO});
  RunToggle();
  std::vector<std::string> on = {
      "RegOpenKeyExA(HKCU, " + path + ", 0, 0xF003F) = #260 -> 0",
      "RegQueryValueExA(#260, \"NoAddPrinter\", NULL, buf, NULL, 0) -> 0",
      "RegQueryValueExA(#260, \"NoAddPrinter\", NULL, buf, buf, 4) -> 0",
      "RegCloseKey(#260) -> 0",
      "RegCreateKeyExA(HKCU, " + path + ", 0, NULL, 0, 0xF003F, NULL) = #264 -> 0",
      "RegQueryValueExA(#264, \"NoAddPrinter\", NULL, buf, NULL, 0) -> 0",
      "RegDeleteValueA(#264, \"NoAddPrinter\") -> 0",
      "RegCloseKey(#264) -> 0",
  };
  EXPECT_EQ(on, sim::RegCalls());
}

// Every call of a run that switches adding printers off, in order: the
// window is closed before the read and again after the user's Yes, before
// the change.
TEST(FlowRuns, SecondCloseComesAfterTheYesAndBeforeTheChange) {
  sim::Reset();
  sim::OpenWindow(kClass, /*ignoresClose=*/true);
  sim::ScriptAnswers({IDYES, IDNO});
  RunToggle();
  const std::string path = "\"" + kKey + "\"";
  std::vector<std::string> run = {
      "GetVersion()",
      "FindWindowA(\"PrintFolder\", NULL) = #16",
      "SendMessageA(#16, 0x10, 0, 0)",
      "RegOpenKeyExA(HKCU, " + path + ", 0, 0xF003F) -> 2",
      "RegOpenKeyExA(HKCU, " + path + ", 0, 0x20019) -> 2",
      "MessageBoxA(0x24) = 6",
      "FindWindowA(\"PrintFolder\", NULL) = #16",
      "SendMessageA(#16, 0x10, 0, 0)",
      "RegCreateKeyExA(HKCU, " + path + ", 0, NULL, 0, 0xF003F, NULL) = #256 -> 0",
      "RegSetValueExA(#256, \"NoAddPrinter\", 0, 4, buf, 4) -> 0",
      "RegCloseKey(#256) -> 0",
      "MessageBoxA(0x24) = 7",
  };
  EXPECT_EQ(run, sim::Calls());
}

// Only IDYES is consent: a box that fails (0), Cancel (the Escape key) and
// No change nothing at the question and restart nothing at the offer.
struct NotYesCase {
  const char *name;
  std::vector<int> answers;
  std::optional<Stored> after;
};

void PrintTo(const NotYesCase &c, std::ostream *out) { *out << c.name; }

const NotYesCase kNotYes[] = {
    {"FailedQuestionBox", {0}, {}},
    {"CancelAtTheQuestion", {IDCANCEL}, {}},
    {"NoAtTheQuestion", {IDNO}, {}},
    {"FailedRestartBox", {IDYES, 0}, Dword(1)},
    {"CancelAtTheRestartOffer", {IDYES, IDCANCEL}, Dword(1)},
    {"NoAtTheRestartOffer", {IDYES, IDNO}, Dword(1)},
};

class OnlyYes : public testing::TestWithParam<NotYesCase> {};

TEST_P(OnlyYes, ChangesAndRestartsNothingElse) {
  const NotYesCase &c = GetParam();
  sim::Reset();
  HWND window = sim::OpenWindow(kClass, /*ignoresClose=*/true);
  sim::ScriptAnswers(c.answers);
  EXPECT_EQ(0, RunToggle());
  EXPECT_EQ(c.answers.size(), sim::Boxes().size());
  EXPECT_EQ(c.after, ReadStored(kKey, kValue));
  EXPECT_TRUE(sim::ExitRequests().empty());
  // A refused question closes the window once only: no change is coming.
  EXPECT_EQ(c.answers.size(), sim::MessagesTo(window).size());
}

INSTANTIATE_TEST_SUITE_P(Answers, OnlyYes, testing::ValuesIn(kNotYes),
                         [](const testing::TestParamInfo<NotYesCase> &info) { return std::string(info.param.name); });

TEST(StoredConstants, UnscrambleToTheSettingAndTheWindowClass) {
  EXPECT_STREQ(kKey.c_str(), Unscramble(SettingKeyPath.bytes).c_str());
  EXPECT_STREQ(kValue, Unscramble(SettingValueName.bytes).c_str());
  EXPECT_STREQ(kClass, Unscramble(TargetWindowClass.bytes).c_str());

  // Scrambled for real: no clear character left in place.
  for (unsigned i = 0; i < kKey.size(); ++i) EXPECT_NE(kKey[i], static_cast<char>(SettingKeyPath.bytes[i + 1]));

  const unsigned char empty[] = {0};
  EXPECT_STREQ("", Unscramble(empty).c_str());
}

// Each call yields a text of its own, and the stored bytes stay as they were.
TEST(StoredConstants, UnscrambleLeavesTheStoredBytesAndGivesFreshTexts) {
  auto stored = SettingValueName;  // a writable copy: a change in place would show
  ClearText a = Unscramble(stored.bytes);
  ClearText b = Unscramble(stored.bytes);
  EXPECT_EQ(0, std::memcmp(stored.bytes, SettingValueName.bytes, sizeof stored.bytes));
  a.chars[0] = 'X';
  EXPECT_STREQ("XoAddPrinter", a.c_str());
  EXPECT_STREQ(kValue, b.c_str());
  EXPECT_STREQ(kValue, Unscramble(stored.bytes).c_str());
}

// A value that is there but cannot be read (the second query, after the
// presence test, is refused) counts as 0: adding printers is allowed.
TEST(FlowRuns, UnreadableValueCountsAsEnabled) {
  sim::Reset();
  ASSERT_TRUE(Store(kKey, kValue, Dword(1)));
  sim::FailCall(sim::RegCall::Query, ERROR_ACCESS_DENIED, /*nth=*/2);
  sim::ScriptAnswers({IDNO});
  RunToggle();
  ASSERT_EQ(1u, sim::Boxes().size());
  EXPECT_EQ(kQuestionWhileEnabled, sim::Boxes()[0].text);
  EXPECT_EQ(Dword(1), ReadStored(kKey, kValue));
}

}  // namespace
