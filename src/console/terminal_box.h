// A message box on the terminal: the caption, the text turned from code page
// 1252 into UTF-8, the buttons, and for a Yes/No box an answer read as a line.
#pragma once

#include "sim/sim.h"

#include <iosfwd>
#include <string>

// Code page 1252 bytes as UTF-8, with Windows line ends (CR LF) as plain ones.
std::string Cp1252ToUtf8(const std::string &text);

// Shows the box on `out` and returns the button pressed: for Yes/No, o, oui,
// y or yes (any case) is Yes, n, non or no is No, an empty line is the first
// button (Yes), the end of input is No, and anything else asks again. An OK
// box waits for a line (or the end of input) and answers OK. With `echo`,
// each line read is shown, so that answers piped in read as typed.
int AnswerOnTerminal(const sim::Box &box, std::istream &in, std::ostream &out, bool echo = false);
