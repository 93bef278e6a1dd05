#include "toggle.h"

#include "RegCtrl.h"
#include "platform.h"
#include "scrambled.h"

namespace {

constexpr UINT kErrorBox = MB_OK | MB_ICONERROR;
constexpr UINT kQuestionBox = MB_YESNO | MB_ICONQUESTION;

int ShowBox(const char *text, UINT style) { return MessageBoxA(nullptr, text, texts::kDialogCaption.c_str(), style); }

}  // namespace

ClearText Unscramble(const unsigned char *stored) {
  ClearText text;
  text.length = stored[0];
  for (unsigned i = 0; i < text.length; ++i) text.chars[i] = static_cast<char>(stored[i + 1] ^ kScrambleKey);
  text.chars[text.length] = '\0';
  return text;
}

void CloseTargetWindow() {
  ClearText className = Unscramble(TargetWindowClass.bytes);
  if (HWND window = FindWindowA(className.c_str(), nullptr)) SendMessageA(window, WM_CLOSE, 0, 0);
}

bool IsWindows3x() { return (GetVersion() & 0xFF) == 3; }

void WarnWindows3x() { ShowBox(texts::kUnsupportedSystem.c_str(), kErrorBox); }

void WarnOperationFailed() { ShowBox(texts::kOperationFailed.c_str(), kErrorBox); }

bool detail::AskConfirmation(const char *question) {
  texts::BoxText text;
  texts::ComposeConfirmation(text, question);
  return ShowBox(text.c_str(), kQuestionBox) == IDYES;
}

void detail::ReportDoneAndOfferRestart(const char *outcome) {
  texts::BoxText text;
  texts::ComposeSuccessReport(text, outcome);
  // Shut down and restart. No privilege is asked for: Windows 95/98 need
  // none, and a refusal changes nothing for the user.
  if (ShowBox(text.c_str(), kQuestionBox) == IDYES) ExitWindowsEx(EWX_SHUTDOWN | EWX_REBOOT, 0);
}

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
  bool consent =
      switchedOff ? AskConfirmation(texts::kQuestionWhileDisabled) : AskConfirmation(texts::kQuestionWhileEnabled);
  if (!consent) return 0;

  // The window may have come back while the question was open.
  CloseTargetWindow();
  bool ok = switchedOff ? DeleteRegValue(HKEY_CURRENT_USER, keyPath.c_str(), valueName.c_str())
                        : WriteRegInteger(HKEY_CURRENT_USER, keyPath.c_str(), valueName.c_str(), 1);
  if (!ok) {
    WarnOperationFailed();
    return 0;
  }
  if (switchedOff)
    ReportDoneAndOfferRestart(texts::kOutcomeSwitchedOn);
  else
    ReportDoneAndOfferRestart(texts::kOutcomeSwitchedOff);
  return 0;
}
