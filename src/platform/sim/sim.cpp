// The simulated Windows. The registry answers as Windows NT does (as checked
// under Wine): case-insensitive names, raw value bytes of any size, no type
// check on reads, ERROR_MORE_DATA with the size needed, access enforced per
// handle. See sim.h for what a test can set and read back.
#include "sim/sim.h"

#include "sim/sim_registry.h"

#include <cstdio>
#include <cstring>
#include <map>
#include <memory>

namespace sim {
namespace {

struct OpenKey {
  Key *key;
  REGSAM access;
};

struct PlannedFailure {
  RegCall kind;
  LONG error;
  int callsLeft;
};

struct Window {
  std::string className;
  bool ignoresClose;
  bool open;
  std::vector<UINT> messages;
};

struct Machine {
  Key root;  // HKEY_CURRENT_USER
  std::map<std::uintptr_t, OpenKey> handles;
  std::uintptr_t nextHandle = 0x100;
  std::vector<PlannedFailure> failures;
  std::vector<std::string> calls;
  std::vector<Box> boxes;
  Answerer answerer;
  DWORD version = 0xC0000A04;  // Windows 98
  std::vector<ExitRequest> exitRequests;
  std::vector<Window> windows;
};

Machine &M() {
  static Machine machine;
  return machine;
}

constexpr REGSAM kWriteRights = KEY_ALL_ACCESS & ~KEY_READ;

// A planned failure of this kind whose turn has come, consumed.
bool TakePlannedFailure(RegCall kind, LONG *error) {
  auto &failures = M().failures;
  for (auto it = failures.begin(); it != failures.end(); ++it) {
    if (it->kind != kind) continue;
    if (--it->callsLeft > 0) continue;
    *error = it->error;
    failures.erase(it);
    return true;
  }
  return false;
}

std::string Quote(LPCSTR s) { return s ? "\"" + std::string(s) + "\"" : "NULL"; }

std::string Hex(DWORD v) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "0x%X", v);
  return buf;
}

std::string KeyName(HKEY key) {
  if (key == HKEY_CURRENT_USER) return "HKCU";
  if (!key) return "NULL";
  return "#" + std::to_string(reinterpret_cast<std::uintptr_t>(key));
}

std::string Ptr(const void *p) { return p ? "buf" : "NULL"; }

LONG Log(std::string call, LONG result) {
  M().calls.push_back(call + " -> " + std::to_string(result));
  return result;
}

// The key a handle stands for, with the rights it was opened with.
bool Resolve(HKEY key, OpenKey *out) {
  if (key == HKEY_CURRENT_USER) {
    *out = {&M().root, KEY_ALL_ACCESS};
    return true;
  }
  auto it = M().handles.find(reinterpret_cast<std::uintptr_t>(key));
  if (it == M().handles.end()) return false;
  *out = it->second;
  return true;
}

HKEY NewHandle(Key *key, REGSAM access) {
  std::uintptr_t id = M().nextHandle;
  M().nextHandle += 4;
  M().handles[id] = {key, access};
  return reinterpret_cast<HKEY>(id);
}

// Splits a subkey path; NT refuses a leading backslash and names over 255.
LONG SplitPath(LPCSTR subKey, std::vector<std::string> *parts) {
  std::string path = subKey ? subKey : "";
  if (!path.empty() && path[0] == '\\') return ERROR_BAD_PATHNAME;
  *parts = SplitKeyPath(path);
  for (auto &part : *parts)
    if (part.size() > 255) return ERROR_INVALID_PARAMETER;
  return ERROR_SUCCESS;
}

bool Denied(const Key *key, REGSAM access) { return key->readOnly && (access & kWriteRights); }

// The opening every simulated registry call shares: a failure planned for
// its kind answers first, then the handle it names is looked up. The call is
// logged, with its arguments, as it returns.
struct Entry {
  std::string line;
  LONG status = ERROR_SUCCESS;  // anything else: the call answers this at once
  OpenKey open{};
  LONG Return(LONG result, const std::string &more = "") const { return Log(line + more, result); }
};

Entry Enter(RegCall kind, HKEY key, std::string line) {
  Entry entry{std::move(line)};
  if (!TakePlannedFailure(kind, &entry.status) && !Resolve(key, &entry.open)) entry.status = ERROR_INVALID_HANDLE;
  return entry;
}

}  // namespace

Key &Root() { return M().root; }

void Reset() { M() = Machine(); }

void FailCall(RegCall kind, LONG error, int nth) { M().failures.push_back({kind, error, nth}); }

void MakeReadOnly(const std::string &path) {
  Key *key = &M().root;
  for (auto &part : SplitKeyPath(path)) key = key->ChildOrNew(part);
  key->readOnly = true;
}

int OpenHandles() { return static_cast<int>(M().handles.size()); }

std::vector<std::string> RegCalls() {
  std::vector<std::string> reg;
  for (auto &call : M().calls)
    if (call.rfind("Reg", 0) == 0) reg.push_back(call);
  return reg;
}
const std::vector<std::string> &Calls() { return M().calls; }
void ClearCalls() { M().calls.clear(); }

void SetAnswerer(Answerer answerer) { M().answerer = std::move(answerer); }

void ScriptAnswers(std::vector<int> answers) {
  auto script = std::make_shared<std::vector<int>>(std::move(answers));
  auto next = std::make_shared<std::size_t>(0);
  SetAnswerer([script, next](const Box &) { return *next < script->size() ? (*script)[(*next)++] : IDNO; });
}

const std::vector<Box> &Boxes() { return M().boxes; }

void SetVersion(DWORD version) { M().version = version; }

const std::vector<ExitRequest> &ExitRequests() { return M().exitRequests; }

HWND OpenWindow(const std::string &className, bool ignoresClose) {
  M().windows.push_back({className, ignoresClose, true, {}});
  return reinterpret_cast<HWND>(M().windows.size() * 0x10);
}

namespace {
Window *FindWindowRecord(HWND window) {
  std::uintptr_t id = reinterpret_cast<std::uintptr_t>(window);
  if (id == 0 || id % 0x10 || id / 0x10 > M().windows.size()) return nullptr;
  return &M().windows[id / 0x10 - 1];
}
}  // namespace

bool IsOpen(HWND window) {
  Window *w = FindWindowRecord(window);
  return w && w->open;
}

const std::vector<UINT> &MessagesTo(HWND window) {
  static const std::vector<UINT> none;
  Window *w = FindWindowRecord(window);
  return w ? w->messages : none;
}

}  // namespace sim

using sim::M;

// ---- advapi32 ---------------------------------------------------------------

LONG RegCreateKeyExA(HKEY key, LPCSTR subKey, DWORD reserved, LPSTR keyClass, DWORD options, REGSAM access,
                     LPSECURITY_ATTRIBUTES security, PHKEY result, LPDWORD disposition) {
  if (result) *result = nullptr;
  sim::Entry call = sim::Enter(sim::RegCall::Create, key,
                               "RegCreateKeyExA(" + sim::KeyName(key) + ", " + sim::Quote(subKey) + ", " +
                                   std::to_string(reserved) + ", " + sim::Quote(keyClass) + ", " +
                                   std::to_string(options) + ", " + sim::Hex(access) + ", " + sim::Ptr(security) + ")");
  if (call.status) return call.Return(call.status);
  if (!result) return call.Return(ERROR_INVALID_PARAMETER);
  std::vector<std::string> parts;
  if (LONG status = sim::SplitPath(subKey, &parts)) return call.Return(status);

  // Walk what exists, then check the rights before creating anything.
  sim::Key *at = call.open.key;
  std::size_t depth = 0;
  for (; depth < parts.size(); ++depth) {
    sim::Key *child = at->Child(parts[depth]);
    if (!child) break;
    at = child;
  }
  bool creating = depth < parts.size();
  if (creating ? at->readOnly : sim::Denied(at, access)) return call.Return(ERROR_ACCESS_DENIED);
  for (; depth < parts.size(); ++depth) at = at->ChildOrNew(parts[depth]);

  *result = sim::NewHandle(at, access);
  if (disposition) *disposition = creating ? REG_CREATED_NEW_KEY : REG_OPENED_EXISTING_KEY;
  return call.Return(ERROR_SUCCESS, " = " + sim::KeyName(*result));
}

LONG RegOpenKeyExA(HKEY key, LPCSTR subKey, DWORD options, REGSAM access, PHKEY result) {
  if (result) *result = nullptr;
  sim::Entry call = sim::Enter(sim::RegCall::Open, key,
                               "RegOpenKeyExA(" + sim::KeyName(key) + ", " + sim::Quote(subKey) + ", " +
                                   std::to_string(options) + ", " + sim::Hex(access) + ")");
  if (call.status) return call.Return(call.status);
  if (!result) return call.Return(ERROR_INVALID_PARAMETER);
  std::vector<std::string> parts;
  if (LONG status = sim::SplitPath(subKey, &parts)) return call.Return(status);
  if (parts.empty() && key == HKEY_CURRENT_USER) {
    *result = key;  // the predefined root itself comes back
    return call.Return(ERROR_SUCCESS, " = HKCU");
  }
  sim::Key *at = call.open.key;
  for (auto &part : parts) {
    at = at->Child(part);
    if (!at) return call.Return(ERROR_FILE_NOT_FOUND);
  }
  if (sim::Denied(at, access)) return call.Return(ERROR_ACCESS_DENIED);
  *result = sim::NewHandle(at, access);
  return call.Return(ERROR_SUCCESS, " = " + sim::KeyName(*result));
}

LONG RegQueryValueExA(HKEY key, LPCSTR valueName, LPDWORD reserved, LPDWORD type, LPBYTE data, LPDWORD dataSize) {
  sim::Entry call = sim::Enter(sim::RegCall::Query, key,
                               "RegQueryValueExA(" + sim::KeyName(key) + ", " + sim::Quote(valueName) + ", " +
                                   sim::Ptr(reserved) + ", " + sim::Ptr(type) + ", " + sim::Ptr(data) + ", " +
                                   (dataSize ? std::to_string(*dataSize) : std::string("NULL")) + ")");
  if (call.status) return call.Return(call.status);
  if (reserved || (data && !dataSize)) return call.Return(ERROR_INVALID_PARAMETER);
  const sim::Value *value = call.open.key->FindValue(valueName);
  if (!value) {
    if (dataSize) *dataSize = 0;
    return call.Return(ERROR_FILE_NOT_FOUND);
  }
  DWORD size = static_cast<DWORD>(value->data.size());
  if (type) *type = value->type;
  if (data) {
    if (size > *dataSize) {
      *dataSize = size;
      return call.Return(ERROR_MORE_DATA);
    }
    if (size) std::memcpy(data, value->data.data(), size);
  }
  if (dataSize) *dataSize = size;
  return call.Return(ERROR_SUCCESS);
}

LONG RegSetValueExA(HKEY key, LPCSTR valueName, DWORD reserved, DWORD type, const BYTE *data, DWORD dataSize) {
  sim::Entry call = sim::Enter(sim::RegCall::Set, key,
                               "RegSetValueExA(" + sim::KeyName(key) + ", " + sim::Quote(valueName) + ", " +
                                   std::to_string(reserved) + ", " + std::to_string(type) + ", " + sim::Ptr(data) +
                                   ", " + std::to_string(dataSize) + ")");
  if (call.status) return call.Return(call.status);
  if (!(call.open.access & KEY_SET_VALUE) || call.open.key->readOnly) return call.Return(ERROR_ACCESS_DENIED);
  if (!data && dataSize) return call.Return(ERROR_NOACCESS);
  call.open.key->SetValue(valueName, type, std::vector<BYTE>(data, data + dataSize));
  return call.Return(ERROR_SUCCESS);
}

LONG RegDeleteValueA(HKEY key, LPCSTR valueName) {
  sim::Entry call = sim::Enter(sim::RegCall::Delete, key,
                               "RegDeleteValueA(" + sim::KeyName(key) + ", " + sim::Quote(valueName) + ")");
  if (call.status) return call.Return(call.status);
  if (!(call.open.access & KEY_SET_VALUE) || call.open.key->readOnly) return call.Return(ERROR_ACCESS_DENIED);
  return call.Return(call.open.key->DeleteValue(valueName) ? ERROR_SUCCESS : ERROR_FILE_NOT_FOUND);
}

LONG RegCloseKey(HKEY key) {
  sim::Entry call = sim::Enter(sim::RegCall::Close, key, "RegCloseKey(" + sim::KeyName(key) + ")");
  if (call.status) return call.Return(call.status);
  if (key != HKEY_CURRENT_USER) M().handles.erase(reinterpret_cast<std::uintptr_t>(key));
  return call.Return(ERROR_SUCCESS);  // a predefined root is never really closed
}

// ---- user32 and kernel32 --------------------------------------------------------

int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT style) {
  sim::Box box{owner, text ? text : "", caption ? caption : "", style};
  M().boxes.push_back(box);
  int answer = M().answerer ? M().answerer(box) : (style & 0xF) == MB_OK ? IDOK : IDNO;
  M().calls.push_back("MessageBoxA(" + sim::Hex(style) + ") = " + std::to_string(answer));
  return answer;
}

BOOL ExitWindowsEx(UINT flags, DWORD reserved) {
  M().calls.push_back("ExitWindowsEx(" + std::to_string(flags) + ", " + std::to_string(reserved) + ")");
  M().exitRequests.push_back({flags, reserved});
  return 1;
}

namespace sim {
namespace {
HWND FindOpenWindow(LPCSTR className, LPCSTR windowName) {
  if (!className || windowName) return nullptr;  // the simulated windows have no titles
  for (std::size_t i = 0; i < M().windows.size(); ++i) {
    const Window &w = M().windows[i];
    if (w.open && SameName(w.className, className)) return reinterpret_cast<HWND>((i + 1) * 0x10);
  }
  return nullptr;
}
}  // namespace
}  // namespace sim

HWND FindWindowA(LPCSTR className, LPCSTR windowName) {
  HWND found = sim::FindOpenWindow(className, windowName);
  M().calls.push_back("FindWindowA(" + sim::Quote(className) + ", " + sim::Quote(windowName) +
                      ") = " + (found ? "#" + std::to_string(reinterpret_cast<std::uintptr_t>(found)) : "NULL"));
  return found;
}

LRESULT SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  M().calls.push_back("SendMessageA(#" + std::to_string(reinterpret_cast<std::uintptr_t>(window)) + ", " +
                      sim::Hex(message) + ", " + std::to_string(wParam) + ", " + std::to_string(lParam) + ")");
  sim::Window *w = sim::FindWindowRecord(window);
  if (!w || !w->open) return 0;
  w->messages.push_back(message);
  if (message == WM_CLOSE && !w->ignoresClose) w->open = false;  // as DefWindowProc: destroyed
  return 0;
}

DWORD GetVersion() {
  M().calls.push_back("GetVersion()");
  return M().version;
}
