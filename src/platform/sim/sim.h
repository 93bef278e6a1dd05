// The simulated Windows behind the console edition and the host tests: an
// in-memory registry below HKEY_CURRENT_USER that answers the registry calls
// as Windows NT does, scripted message boxes, top-level windows, a settable
// version and a record of restart requests. This header is the control panel
// the tests and the console edition use to set the scene and read it back.
#pragma once

#include "platform.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace sim {

// Everything back to a fresh machine: empty HKEY_CURRENT_USER, no windows, no
// boxes, no faults, no handles, Windows 98.
void Reset();

// ---- registry -------------------------------------------------------------

enum class RegCall { Create, Open, Query, Set, Delete, Close };

// The nth next call of that kind (1: the very next) fails with `error` and
// changes nothing; a create or open that fails hands back a NULL key.
void FailCall(RegCall kind, LONG error, int nth = 1);

// The key (created if missing) grants KEY_READ only: opening it for more, and
// writing through such a handle, answer ERROR_ACCESS_DENIED.
void MakeReadOnly(const std::string &path);

// Key handles handed out and not yet closed.
int OpenHandles();

// Every registry call, one line each with its arguments and its result.
std::vector<std::string> RegCalls();
// Every call the program made, registry, boxes, windows and system, in the
// order it made them, such as "MessageBoxA(0x24) = 6" (style, answer),
// "FindWindowA(\"X\", NULL) = #16", "SendMessageA(#16, 0x10, 0, 0)",
// "ExitWindowsEx(3, 0)" and "GetVersion()".
const std::vector<std::string> &Calls();
void ClearCalls();

// The registry as a REGEDIT4 text (keys sorted, names case-insensitively),
// and back. Import replaces the whole registry only when the text parses; on
// failure it leaves the registry alone and says why.
std::string ExportReg();
bool ImportReg(const std::string &text, std::string *error);

// ---- message boxes --------------------------------------------------------

struct Box {
  HWND owner;
  std::string text;  // the bytes handed to MessageBoxA, code page 1252
  std::string caption;
  UINT style;
};

// Answers each box; without one every box answers IDNO (or IDOK for MB_OK).
using Answerer = std::function<int(const Box &)>;
void SetAnswerer(Answerer answerer);
// Answers the boxes in turn with the given buttons, then IDNO.
void ScriptAnswers(std::vector<int> answers);
const std::vector<Box> &Boxes();

// ---- system ---------------------------------------------------------------

void SetVersion(DWORD version);

struct ExitRequest {
  UINT flags;
  DWORD reserved;
};
const std::vector<ExitRequest> &ExitRequests();

// ---- top-level windows ----------------------------------------------------

// Opens a top-level window of the class. One that ignores WM_CLOSE records
// the message and stays open.
HWND OpenWindow(const std::string &className, bool ignoresClose = false);
bool IsOpen(HWND window);
// The messages each window was sent, in order.
const std::vector<UINT> &MessagesTo(HWND window);

}  // namespace sim
