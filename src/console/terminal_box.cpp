#include "terminal_box.h"

#include <iconv.h>

#include <algorithm>
#include <cctype>
#include <istream>
#include <ostream>

std::string Cp1252ToUtf8(const std::string &text) {
  std::string lf;
  for (std::size_t i = 0; i < text.size(); ++i)
    if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')) lf += text[i];

  iconv_t cd = iconv_open("UTF-8", "CP1252");
  if (cd == reinterpret_cast<iconv_t>(-1)) return lf;
  std::string out(lf.size() * 3 + 1, '\0');
  char *inPtr = lf.data(), *outPtr = out.data();
  std::size_t inLeft = lf.size(), outLeft = out.size();
  while (inLeft > 0) {
    if (iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) != static_cast<std::size_t>(-1)) break;
    // The five bytes code page 1252 leaves undefined: shown as '?'.
    ++inPtr;
    --inLeft;
    *outPtr++ = '?';
    --outLeft;
  }
  iconv_close(cd);
  out.resize(out.size() - outLeft);
  return out;
}

namespace {

std::string Folded(std::string s) {
  s.erase(0, s.find_first_not_of(" \t\r"));
  s.erase(s.find_last_not_of(" \t\r") + 1);
  std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return s;
}

}  // namespace

int AnswerOnTerminal(const sim::Box &box, std::istream &in, std::ostream &out, bool echo) {
  bool yesNo = (box.style & 0xF) == MB_YESNO;
  const char *icon = (box.style & 0xF0) == MB_ICONERROR ? "(x) " : (box.style & 0xF0) == MB_ICONQUESTION ? "(?) " : "";
  out << "\n=== " << Cp1252ToUtf8(box.caption) << " ===\n" << icon << Cp1252ToUtf8(box.text) << "\n";
  std::string line;
  auto readLine = [&] {
    bool got = static_cast<bool>(std::getline(in, line));
    if (echo || !got) out << (got ? line : "") << "\n";
    return got;
  };
  if (!yesNo) {
    out << "[ OK ] " << std::flush;
    readLine();
    return IDOK;
  }
  for (;;) {
    out << "[ Oui ]  [ Non ]  (o/n) ? " << std::flush;
    if (!readLine()) return IDNO;  // nobody there to answer: change nothing
    std::string answer = Folded(line);
    if (answer.empty() || answer == "o" || answer == "oui" || answer == "y" || answer == "yes") return IDYES;
    if (answer == "n" || answer == "non" || answer == "no") return IDNO;
    out << "R\xC3\xA9pondez o (oui) ou n (non).\n";
  }
}
