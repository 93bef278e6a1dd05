// Every text the user sees, as code page 1252 bytes. Non-ASCII letters are
// written as octal escapes (three digits at most, so the next letter never
// joins them) so that no editor or source encoding can change them:
// \351 e acute, \352 e circumflex, \347 c cedilla.
#pragma once

namespace texts {

inline constexpr char kDialogCaption[] = "MIZOna pour Windows 95/98";

inline constexpr char kBannerText[] =
    "MIZOna v1.0 Win95 (c) 2026 Atelier MIZOna - Lyon\r\n"
    "\r\n"
    "Fonction : Option [Ajout Imprimante] pour Windows\r\n"
    "Note       : Option r\351versible en relan\347ant le programme\r\n"
    "\r\n";

inline constexpr char kQuestionWhileEnabled[] = "Ajout Imprimante possible. Voulez-vous d\351sactiver ?";
inline constexpr char kQuestionWhileDisabled[] = "Ajout Imprimante d\351sactiv\351. Voulez-vous activer ?";

inline constexpr char kOutcomeSwitchedOff[] = "L'ajout d'imprimante a \351t\351 d\351sactiv\351.";
inline constexpr char kOutcomeSwitchedOn[] = "L'ajout d'imprimante a \351t\351 r\351activ\351.";

inline constexpr char kSuccessLead[] = "L'op\351ration s'est d\351roul\351e avec succ\351s.\r\n";
inline constexpr char kEndAndEmptyLine[] = "\r\n\r\n";  // ends the outcome line, then one empty line
inline constexpr char kRestartRequest[] =
    "Votre ordinateur doit red\351marrer pour prendre en\r\n"
    "compte les modifications apport\351es. Voulez-vous\r\n"
    "red\351marrer maintenant ?";

inline constexpr char kUnsupportedSystem[] = "Ce programme ne peut pas \352tre utilis\351 sous Windows 3.x !";
inline constexpr char kOperationFailed[] = "Une erreur s'est produite durant l'op\351ration !";

// A box text is handed over from a buffer of 256 characters: 255 and the
// zero. The composed texts must fit it whole, never cut.
inline constexpr unsigned kMaxBoxText = 255;

template <unsigned N>
constexpr unsigned Length(const char (&)[N]) {
  return N - 1;
}

// The confirmation: the banner, then the question line; nothing follows it.
static_assert(Length(kBannerText) + Length(kQuestionWhileEnabled) <= kMaxBoxText, "confirmation text too long");
static_assert(Length(kBannerText) + Length(kQuestionWhileDisabled) <= kMaxBoxText, "confirmation text too long");

// The success report: the lead (ending in CR LF), the outcome, an empty line,
// then the three restart lines; nothing follows the last.
static_assert(Length(kSuccessLead) + Length(kOutcomeSwitchedOff) + Length(kEndAndEmptyLine) + Length(kRestartRequest) <=
                  kMaxBoxText,
              "success report too long");
static_assert(Length(kSuccessLead) + Length(kOutcomeSwitchedOn) + Length(kEndAndEmptyLine) + Length(kRestartRequest) <=
                  kMaxBoxText,
              "success report too long");

// A composed box text: the parts one after the other in a 256-character
// buffer. The checks above keep every composition whole.
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

inline void ComposeConfirmation(BoxText &text, const char *question) { text << kBannerText << question; }

inline void ComposeSuccessReport(BoxText &text, const char *outcome) {
  text << kSuccessLead << outcome << kEndAndEmptyLine << kRestartRequest;
}

}  // namespace texts
