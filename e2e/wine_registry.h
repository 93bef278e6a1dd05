// What Wine's registry can be made to do that the program's own calls
// cannot: shared by the Wine test bench and regtool.
#pragma once

#include <windows.h>

#include <string>

// Gives the key (and each key below it) back full access, then deletes it.
LONG WipeTree(const std::string &path);
// Everyone may only read the key: opening it for more, setting and deleting
// answer ERROR_ACCESS_DENIED (while Wine reports an NT version).
LONG MakeReadOnly(const std::string &path);
// A key that lives until the wineserver ends; a non-volatile key cannot be
// created below it (ERROR_CHILD_MUST_BE_VOLATILE).
LONG CreateVolatileKey(const std::string &path);
