// Prints the texts each box must show, composed from the program's own texts
// table, as NAME<TAB>hex bytes: what the Wine runs compare the boxes with.
#include "texts.h"

#include <cstdio>
#include <string>

namespace {

void Print(const char *name, const std::string &text) {
  std::printf("%s\t", name);
  for (unsigned char c : text) std::printf("%02x", c);
  std::printf("\n");
}

}  // namespace

int main() {
  using namespace texts;
  BoxText askOff, askOn, doneOff, doneOn;
  ComposeConfirmation(askOff, kQuestionWhileEnabled.c_str());
  ComposeConfirmation(askOn, kQuestionWhileDisabled.c_str());
  ComposeSuccessReport(doneOff, kOutcomeSwitchedOff.c_str());
  ComposeSuccessReport(doneOn, kOutcomeSwitchedOn.c_str());
  Print("ask_off", askOff.c_str());
  Print("ask_on", askOn.c_str());
  Print("done_off", doneOff.c_str());
  Print("done_on", doneOn.c_str());
  Print("not_3x", kUnsupportedSystem.c_str());
  Print("failed", kOperationFailed.c_str());
  return 0;
}
