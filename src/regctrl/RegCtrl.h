// Three self-contained registry transactions on one named value below a root
// key. Each opens and closes its own key handle and turns every failure into
// a plain result: nothing is reported and nothing escapes.
#pragma once

#include "platform.h"

// Writes `value` as a REG_DWORD, creating the missing keys along `keyPath`.
// True when the value was written. A failed write may leave created keys.
bool WriteRegInteger(HKEY root, const char *keyPath, const char *valueName, int value);

// Removes the value. True only when it existed and was removed. Opens the key
// as for writing, so a missing key path is created (and left empty).
bool DeleteRegValue(HKEY root, const char *keyPath, const char *valueName);

// The stored REG_DWORD, or `defaultValue` when the key or value is missing,
// the key cannot be opened, or the value is not a REG_DWORD of 4 bytes.
// Never creates anything.
int ReadRegInteger(HKEY root, const char *keyPath, const char *valueName, int defaultValue);
