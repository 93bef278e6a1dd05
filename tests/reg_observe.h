// Seeding and reading the registry in tests through the plain Win32 calls,
// so that the same checks hold on the simulated registry and on Wine's.
#pragma once

#include "platform.h"

#include <optional>
#include <ostream>
#include <string>
#include <vector>

using Bytes = std::vector<BYTE>;

// A value as stored: its type and raw bytes.
struct Stored {
  DWORD type;
  Bytes data;
  bool operator==(const Stored &) const = default;
};
std::ostream &operator<<(std::ostream &out, const Stored &s);

Stored Dword(DWORD v);
Stored Text(const std::string &s);  // REG_SZ with its terminating zero

bool KeyExists(const std::string &path);
std::optional<Stored> ReadStored(const std::string &path, const char *name);
// Creates the key; with a name, also stores the value. False on any failure.
bool Store(const std::string &path, const char *name = nullptr, const Stored &value = {});
