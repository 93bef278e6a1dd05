// The simulated registry's tree, shared by the calls in sim.cpp and the
// REGEDIT4 reader and writer in regfile.cpp.
#pragma once

#include "platform.h"

#include <memory>
#include <string>
#include <vector>

namespace sim {

// Registry names compare without regard to case.
bool SameName(const std::string &a, const std::string &b);
// The same folding, as an order (for a stable, readable listing).
bool NameLess(const std::string &a, const std::string &b);

// "A\\B\\\\C\\" -> {"A", "B", "C"}: empty parts (doubled or trailing
// backslashes) are skipped, as Windows does.
std::vector<std::string> SplitKeyPath(const std::string &path);

struct Value {
  std::string name;  // as first written: a later write keeps this spelling
  DWORD type;
  std::vector<BYTE> data;
};

struct Key {
  std::string name;
  std::vector<std::unique_ptr<Key>> children;
  std::vector<Value> values;
  bool readOnly = false;

  Key *Child(const std::string &childName) const;
  Key *ChildOrNew(const std::string &childName);
  const Value *FindValue(LPCSTR valueName) const;
  void SetValue(LPCSTR valueName, DWORD type, std::vector<BYTE> data);
  bool DeleteValue(LPCSTR valueName);
};

// HKEY_CURRENT_USER of the simulated machine.
Key &Root();

}  // namespace sim
