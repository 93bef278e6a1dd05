#include "sim/sim_registry.h"

#include <algorithm>

namespace sim {

namespace {
char Fold(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }
}  // namespace

bool SameName(const std::string &a, const std::string &b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return Fold(x) == Fold(y); });
}

bool NameLess(const std::string &a, const std::string &b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return static_cast<unsigned char>(Fold(x)) < static_cast<unsigned char>(Fold(y));
  });
}

std::vector<std::string> SplitKeyPath(const std::string &path) {
  std::vector<std::string> parts;
  std::string part;
  for (char c : path + '\\') {
    if (c != '\\') {
      part += c;
    } else if (!part.empty()) {
      parts.push_back(part);
      part.clear();
    }
  }
  return parts;
}

Key *Key::Child(const std::string &childName) const {
  for (auto &child : children)
    if (SameName(child->name, childName)) return child.get();
  return nullptr;
}

Key *Key::ChildOrNew(const std::string &childName) {
  if (Key *child = Child(childName)) return child;
  children.push_back(std::make_unique<Key>());
  children.back()->name = childName;
  return children.back().get();
}

const Value *Key::FindValue(LPCSTR valueName) const {
  std::string wanted = valueName ? valueName : "";
  for (auto &value : values)
    if (SameName(value.name, wanted)) return &value;
  return nullptr;
}

void Key::SetValue(LPCSTR valueName, DWORD type, std::vector<BYTE> data) {
  if (auto *value = const_cast<Value *>(FindValue(valueName))) {
    value->type = type;
    value->data = std::move(data);
    return;
  }
  values.push_back({valueName ? valueName : "", type, std::move(data)});
}

bool Key::DeleteValue(LPCSTR valueName) {
  const Value *value = FindValue(valueName);
  if (!value) return false;
  values.erase(values.begin() + (value - values.data()));
  return true;
}

}  // namespace sim
