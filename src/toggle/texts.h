// Every text the user sees, as code page 1252 bytes. Non-ASCII letters are
// written as octal escapes (three digits at most, so the next letter never
// joins them) so that no editor or source encoding can change them:
// \351 e acute, \352 e circumflex, \347 c cedilla.
#pragma once

#include "fixed_text.h"

namespace texts {

inline constexpr auto kCrLf = Lit("\r\n");

inline constexpr auto kDialogCaption = Lit("MIZOna pour Windows 95/98");

inline constexpr auto kBannerLine1 = Lit("MIZOna v1.0 Win95") + Lit(" (c) 2026 Atelier MIZOna - Lyon");
static_assert(kBannerLine1.length == 48, "the banner's first line is 48 characters");

inline constexpr auto kBannerText =
    kBannerLine1 + kCrLf + kCrLf + Lit("Fonction : Option [Ajout Imprimante] pour Windows") + kCrLf +
    Lit("Note       : Option r\351versible en relan\347ant le programme") + kCrLf + kCrLf;

inline constexpr auto kQuestionWhileEnabled = Lit("Ajout Imprimante possible. Voulez-vous d\351sactiver ?");
inline constexpr auto kQuestionWhileDisabled = Lit("Ajout Imprimante d\351sactiv\351. Voulez-vous activer ?");

inline constexpr auto kOutcomeSwitchedOff = Lit("L'ajout d'imprimante a \351t\351 d\351sactiv\351.");
inline constexpr auto kOutcomeSwitchedOn = Lit("L'ajout d'imprimante a \351t\351 r\351activ\351.");

inline constexpr auto kSuccessLead = Lit("L'op\351ration s'est d\351roul\351e avec succ\351s.") + kCrLf;
inline constexpr auto kRestartRequest = Lit("Votre ordinateur doit red\351marrer pour prendre en") + kCrLf +
                                        Lit("compte les modifications apport\351es. Voulez-vous") + kCrLf +
                                        Lit("red\351marrer maintenant ?");

inline constexpr auto kUnsupportedSystem = Lit("Ce programme ne peut pas \352tre utilis\351 sous Windows 3.x !");
inline constexpr auto kOperationFailed = Lit("Une erreur s'est produite durant l'op\351ration !");

// A box text is handed over from a buffer of 256 characters: 255 and the zero.
inline constexpr unsigned kMaxBoxText = 255;

// What each box shows, in the order it is composed, and the compiler's
// check that it fits the box's buffer.
template <unsigned N>
constexpr unsigned ConfirmationLength(const FixedText<N> &) {
  return kBannerText.length + N;
}
template <unsigned N>
constexpr unsigned SuccessReportLength(const FixedText<N> &) {
  return kSuccessLead.length + N + 2 * kCrLf.length + kRestartRequest.length;
}

// A composed box text: 255 characters and the terminating zero at most.
class BoxText {
 public:
  BoxText() { chars_[0] = '\0'; }
  BoxText &operator<<(const char *part) {
    while (*part && length_ < kMaxBoxText) chars_[length_++] = *part++;
    chars_[length_] = '\0';
    return *this;
  }
  const char *c_str() const { return chars_; }

 private:
  unsigned length_ = 0;
  char chars_[kMaxBoxText + 1];
};

// The banner, then the question line; nothing follows it.
inline void ComposeConfirmation(BoxText &text, const char *question) { text << kBannerText.c_str() << question; }

// The lead (ending in CR LF), the outcome, an empty line, then the three
// restart lines; nothing follows the last.
inline void ComposeSuccessReport(BoxText &text, const char *outcome) {
  text << kSuccessLead.c_str() << outcome << kCrLf.c_str() << kCrLf.c_str() << kRestartRequest.c_str();
}

}  // namespace texts
