// The registry a test table runs against: the simulated one on the host, or
// Wine's real one. Tests seed and observe through the Win32 calls themselves;
// a bench only does what those calls cannot: wipe the scratch key, lock a key
// to reading, provoke a failing call, and count open key handles.
#pragma once

#include "platform.h"

#include <string>

namespace bench {

// Every test works below this key of HKEY_CURRENT_USER, wiped before and after.
inline constexpr char kScratch[] = "Software\\MIZOnaTest";

enum class Fault {
  None,
  ReadOnlyKey,  // the key grants KEY_READ only
  CreateFails,  // RegCreateKeyExA fails (ERROR_CHILD_MUST_BE_VOLATILE)
  QueryFails,   // RegQueryValueExA fails (ERROR_ACCESS_DENIED)
  SetFails,     // RegSetValueExA fails (ERROR_ACCESS_DENIED)
  DeleteFails,  // RegDeleteValueA fails (ERROR_ACCESS_DENIED)
};

// A fresh scratch key: gone, with no fault pending.
void Wipe();

// Sets up `fault` for the key at `path` (below HKEY_CURRENT_USER); false when
// this registry cannot produce it.
bool Provoke(Fault fault, const std::string &path);

// Key handles this process holds open, or -1 when the registry cannot tell.
int OpenHandles();

}  // namespace bench
