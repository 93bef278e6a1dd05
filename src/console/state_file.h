// Where the console edition keeps the simulated registry between runs, and
// how it reads and replaces that file. Every failure comes back as false
// with a sentence in `error`; the file is never half written.
#pragma once

#include <string>

// $XDG_STATE_HOME/mizona/registry.reg, or ~/.local/state/mizona/registry.reg
// when XDG_STATE_HOME is unset or not an absolute path.
bool StateFilePath(std::string *path, std::string *error);

// The file's bytes; an absent file reads as empty.
bool ReadStateFile(const std::string &path, std::string *text, std::string *error);

// Replaces the file at once: the text goes to a temporary file beside it,
// which is then renamed over it. Creates the missing directories.
bool ReplaceStateFile(const std::string &path, const std::string &text, std::string *error);
