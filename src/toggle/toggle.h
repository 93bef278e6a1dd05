// The program's main body and the boxes the user sees.
#pragma once

#include "texts.h"

// True on a system whose major version (the low byte of GetVersion) is 3.
bool IsWindows3x();
void WarnWindows3x();
void WarnOperationFailed();

namespace detail {
bool AskConfirmation(const char *question);
void ReportDoneAndOfferRestart(const char *outcome);
}  // namespace detail

// Shows the banner followed by the question; true exactly when the user
// answers Yes. A question that would not fit the box stops the build.
template <unsigned N>
bool AskConfirmation(const FixedText<N> &question) {
  static_assert(texts::ConfirmationLength(FixedText<N>{}) <= texts::kMaxBoxText, "confirmation text too long");
  return detail::AskConfirmation(question.c_str());
}

// Reports the change and offers to restart; Yes asks Windows to restart.
template <unsigned N>
void ReportDoneAndOfferRestart(const FixedText<N> &outcome) {
  static_assert(texts::SuccessReportLength(FixedText<N>{}) <= texts::kMaxBoxText, "success report too long");
  detail::ReportDoneAndOfferRestart(outcome.c_str());
}

// One run from start to end; the exit status, always 0.
int RunToggle();
