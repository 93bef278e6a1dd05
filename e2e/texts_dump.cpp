// Prints the text each box must show, composed from the program's own texts
// table, as NAME<TAB>hex bytes: what the Wine runs compare the boxes with.
// Each box is named after the line of the table that sets it apart.
#include "texts.h"

#include <cstdio>

namespace {

void Print(const char *name, const char *text) {
  std::printf("%s\t", name);
  for (const unsigned char *c = reinterpret_cast<const unsigned char *>(text); *c; ++c) std::printf("%02x", *c);
  std::printf("\n");
}

}  // namespace

int main() {
  using namespace texts;
  BoxText whileEnabled, whileDisabled, switchedOff, switchedOn;
  ComposeConfirmation(whileEnabled, kQuestionWhileEnabled);
  ComposeConfirmation(whileDisabled, kQuestionWhileDisabled);
  ComposeSuccessReport(switchedOff, kOutcomeSwitchedOff);
  ComposeSuccessReport(switchedOn, kOutcomeSwitchedOn);
  Print("QuestionWhileEnabled", whileEnabled.c_str());
  Print("QuestionWhileDisabled", whileDisabled.c_str());
  Print("OutcomeSwitchedOff", switchedOff.c_str());
  Print("OutcomeSwitchedOn", switchedOn.c_str());
  Print("UnsupportedSystem", kUnsupportedSystem);
  Print("OperationFailed", kOperationFailed);
  return 0;
}
