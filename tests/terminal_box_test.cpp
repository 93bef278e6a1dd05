// The console edition's boxes: what a person sees and how a typed line
// becomes a button.
#include "terminal_box.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

int Answer(const std::string &typed, UINT style = MB_YESNO | MB_ICONQUESTION, std::string *shown = nullptr) {
  std::istringstream in(typed);
  std::ostringstream out;
  int button = AnswerOnTerminal({nullptr, "Voulez-vous d\xE9sactiver ?\r\nOui", "Titre", style}, in, out);
  if (shown) *shown = out.str();
  return button;
}

TEST(TerminalBox, TypedLinesBecomeButtons) {
  struct {
    const char *typed;
    int button;
  } const cases[] = {
      {"o\n", IDYES},    {"OUI\n", IDYES}, {"y\n", IDYES}, {" Yes \n", IDYES}, {"\n", IDYES},
      {"n\n", IDNO},     {"Non\n", IDNO},  {"NO\n", IDNO}, {"", IDNO},         {"peut-etre\nn\n", IDNO},
      {"x\no\n", IDYES}, {"x\n", IDNO},  // asked again, then the end of input
  };
  for (auto &c : cases) EXPECT_EQ(c.button, Answer(c.typed)) << c.typed;
}

TEST(TerminalBox, ShowsCaptionUtf8TextAndButtons) {
  std::string shown;
  Answer("o\n", MB_YESNO | MB_ICONQUESTION, &shown);
  EXPECT_NE(std::string::npos, shown.find("=== Titre ==="));
  EXPECT_NE(std::string::npos, shown.find("Voulez-vous d\xC3\xA9sactiver ?\nOui\n")) << shown;
  EXPECT_NE(std::string::npos, shown.find("[ Oui ]  [ Non ]"));

  EXPECT_EQ(IDOK, Answer("", MB_OK | MB_ICONERROR, &shown));
  EXPECT_NE(std::string::npos, shown.find("(x) "));
  EXPECT_NE(std::string::npos, shown.find("[ OK ]"));
}

TEST(TerminalBox, Cp1252BecomesUtf8) {
  EXPECT_EQ("\xC3\xA9\xC3\xA8\xC3\xAA\xC3\xA7\xE2\x82\xAC", Cp1252ToUtf8("\xE9\xE8\xEA\xE7\x80"));
  EXPECT_EQ("a\nb\rc", Cp1252ToUtf8("a\r\nb\rc"));
  EXPECT_EQ("a?b", Cp1252ToUtf8("a\x81"
                                "b"));  // a byte code page 1252 leaves undefined
}

}  // namespace
