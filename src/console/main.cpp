// The console edition: the program's own flow over the simulated Windows,
// with the boxes on the terminal and the registry kept in a REGEDIT4 file
// between runs, so that running it again offers the opposite change.
#include "state_file.h"
#include "terminal_box.h"
#include "toggle.h"

#include "sim/sim.h"

#include <unistd.h>

#include <cstdio>
#include <iostream>

namespace {

// The console edition's own trouble (its state file): said once, status 1.
int Stop(const std::string &message) {
  std::fprintf(stderr, "mizona: %s\n", message.c_str());
  return 1;
}

}  // namespace

int main() {
  std::string path, stored, error;
  if (!StateFilePath(&path, &error)) return Stop(error);
  if (!ReadStateFile(path, &stored, &error)) return Stop(error + " (left as it is)");
  if (!stored.empty() && !sim::ImportReg(stored, &error))
    return Stop(path + ": " + error + " (not a registry this program can read; left as it is)");

  bool piped = !isatty(STDIN_FILENO);
  sim::SetAnswerer([piped](const sim::Box &box) { return AnswerOnTerminal(box, std::cin, std::cout, piped); });
  std::string before = sim::ExportReg();
  int status = RunToggle();

  std::string after = sim::ExportReg();
  if (after != before && !ReplaceStateFile(path, after, &error)) return Stop(error);
  if (!sim::ExitRequests().empty()) std::cout << "(simulation) L'ordinateur red\xC3\xA9marrerait maintenant.\n";
  return status;
}
