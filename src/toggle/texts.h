// Every text the user sees, as code page 1252 bytes. Non-ASCII letters are
// written as escapes so that no editor or source encoding can change them:
// \xE9 e acute, \xEA e circumflex, \xE7 c cedilla.
#pragma once

#include "fixed_text.h"

namespace texts {

inline constexpr auto kCrLf = Lit("\r\n");

inline constexpr auto kDialogCaption = Lit("MIZOna pour Windows 95/98");

inline constexpr auto kBannerLine1 = Lit("MIZOna v1.0 Win95") + Lit(" (c) 2026 Atelier MIZOna - Lyon");
static_assert(kBannerLine1.length == 48, "the banner's first line is 48 characters");

inline constexpr auto kBannerText = kBannerLine1 + kCrLf + kCrLf +
                                    Lit("Fonction : Option [Ajout Imprimante] pour Windows") + kCrLf +
                                    Lit("Note       : Option r\xE9versible en relan\xE7" "ant le programme") + kCrLf +
                                    kCrLf;

inline constexpr auto kQuestionWhileEnabled = Lit("Ajout Imprimante possible. Voulez-vous d\xE9sactiver ?");
inline constexpr auto kQuestionWhileDisabled = Lit("Ajout Imprimante d\xE9sactiv\xE9. Voulez-vous activer ?");

inline constexpr auto kOutcomeSwitchedOff = Lit("L'ajout d'imprimante a \xE9t\xE9 d\xE9sactiv\xE9.");
inline constexpr auto kOutcomeSwitchedOn = Lit("L'ajout d'imprimante a \xE9t\xE9 r\xE9" "activ\xE9.");

inline constexpr auto kSuccessLead = Lit("L'op\xE9ration s'est d\xE9roul\xE9" "e avec succ\xE9s.") + kCrLf;
inline constexpr auto kRestartRequest = Lit("Votre ordinateur doit red\xE9marrer pour prendre en") + kCrLf +
                                        Lit("compte les modifications apport\xE9" "es. Voulez-vous") + kCrLf +
                                        Lit("red\xE9marrer maintenant ?");

inline constexpr auto kUnsupportedSystem = Lit("Ce programme ne peut pas \xEAtre utilis\xE9 sous Windows 3.x !");
inline constexpr auto kOperationFailed = Lit("Une erreur s'est produite durant l'op\xE9ration !");

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
