#include "toggle.h"

#include "RegCtrl.h"
#include "platform.h"
#include "scrambled.h"
#include "texts.h"

namespace {

constexpr UINT kErrorBox = MB_OK | MB_ICONERROR;
constexpr UINT kQuestionBox = MB_YESNO | MB_ICONQUESTION;

int ShowBox(const char *text, UINT style) { return MessageBoxA(nullptr, text, texts::kDialogCaption, style); }

// The major version is the low byte of GetVersion; Win32s reports 3.
bool IsWindows3x() { return (GetVersion() & 0xFF) == 3; }

void WarnWindows3x() { ShowBox(texts::kUnsupportedSystem, kErrorBox); }

void WarnOperationFailed() { ShowBox(texts::kOperationFailed, kErrorBox); }

// The banner, then the question; true exactly when the user answers Yes.
bool AskConfirmation(const char *question) {
  texts::BoxText text;
  texts::ComposeConfirmation(text, question);
  return ShowBox(text.c_str(), kQuestionBox) == IDYES;
}

// Reports the change and offers to restart: shut down and restart on Yes. No
// privilege is asked for: Windows 95/98 need none, and a refusal changes
// nothing for the user.
void ReportDoneAndOfferRestart(const char *outcome) {
  texts::BoxText text;
  texts::ComposeSuccessReport(text, outcome);
  if (ShowBox(text.c_str(), kQuestionBox) == IDYES) ExitWindowsEx(EWX_SHUTDOWN | EWX_REBOOT, 0);
}

}  // namespace

int RunToggle() {
  if (IsWindows3x()) {
    WarnWindows3x();
    return 0;
  }
  CloseTargetWindow();
  ClearText valueName = Unscramble(SettingValueName.bytes);
  ClearText keyPath = Unscramble(SettingKeyPath.bytes);

  // Anything but 0 (a missing or unreadable value reads as 0) means adding
  // printers is switched off. Only 1 is ever written; switching back on
  // removes the value.
  bool switchedOff = ReadRegInteger(HKEY_CURRENT_USER, keyPath.c_str(), valueName.c_str(), 0) != 0;
  if (!AskConfirmation(switchedOff ? texts::kQuestionWhileDisabled : texts::kQuestionWhileEnabled)) return 0;

  // The window may have come back while the question was open.
  CloseTargetWindow();
  bool ok = switchedOff ? DeleteRegValue(HKEY_CURRENT_USER, keyPath.c_str(), valueName.c_str())
                        : WriteRegInteger(HKEY_CURRENT_USER, keyPath.c_str(), valueName.c_str(), 1);
  if (ok)
    ReportDoneAndOfferRestart(switchedOff ? texts::kOutcomeSwitchedOn : texts::kOutcomeSwitchedOff);
  else
    WarnOperationFailed();
  return 0;
}
