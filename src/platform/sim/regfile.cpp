// The simulated registry as a REGEDIT4 text: what the console edition keeps
// between runs, readable by a person and by regedit. Only HKEY_CURRENT_USER
// exists here. Values keep their exact type and bytes: a DWORD of four bytes
// is written as dword:, a clean string as "text", everything else as hex(N):.
#include "sim/sim.h"
#include "sim/sim_registry.h"

#include <algorithm>
#include <cstdio>
#include <sstream>

namespace sim {
namespace {

constexpr char kHeader[] = "REGEDIT4";
constexpr char kRootName[] = "HKEY_CURRENT_USER";

std::string Escape(const std::string &s) {
  std::string out = "\"";
  for (char c : s) {
    if (c == '"' || c == '\\') out += '\\';
    out += c;
  }
  return out + "\"";
}

// A REG_SZ that regedit can show as "text": one final NUL, no other, no line
// breaks.
bool IsPlainString(const Value &v) {
  if (v.type != REG_SZ || v.data.empty() || v.data.back() != 0) return false;
  return std::none_of(v.data.begin(), v.data.end() - 1, [](BYTE b) { return b == 0 || b == '\r' || b == '\n'; });
}

std::string FormatValue(const Value &v) {
  std::string line = v.name.empty() ? "@" : Escape(v.name);
  line += '=';
  char buf[16];
  if (v.type == REG_DWORD && v.data.size() == 4) {
    DWORD d = v.data[0] | v.data[1] << 8 | v.data[2] << 16 | static_cast<DWORD>(v.data[3]) << 24;
    std::snprintf(buf, sizeof buf, "dword:%08x", d);
    return line + buf;
  }
  if (IsPlainString(v)) return line + Escape(std::string(v.data.begin(), v.data.end() - 1));
  if (v.type == REG_BINARY) {
    line += "hex:";
  } else {
    std::snprintf(buf, sizeof buf, "hex(%x):", v.type);
    line += buf;
  }
  for (std::size_t i = 0; i < v.data.size(); ++i) {
    std::snprintf(buf, sizeof buf, "%s%02x", i ? "," : "", v.data[i]);
    line += buf;
  }
  return line;
}

// Orders keys and values as regedit lists them.
constexpr auto kByName = [](const auto *a, const auto *b) { return NameLess(a->name, b->name); };

// The key's section (the root's only when it holds values), then its
// subkeys', in name order.
void ExportKey(const Key &key, const std::string &path, std::string &out, bool isRoot = false) {
  std::vector<const Value *> values;
  for (auto &v : key.values) values.push_back(&v);
  std::sort(values.begin(), values.end(), kByName);
  if (!isRoot || !values.empty()) {
    out += "[" + path + "]\n";
    for (auto *v : values) out += FormatValue(*v) + "\n";
    out += "\n";
  }
  std::vector<const Key *> children;
  for (auto &c : key.children) children.push_back(c.get());
  std::sort(children.begin(), children.end(), kByName);
  for (auto *c : children) ExportKey(*c, path + "\\" + c->name, out);
}

// ---- reading ----

struct Reader {
  std::string *error;
  int lineNumber = 0;

  bool Fail(const std::string &why) {
    *error = "line " + std::to_string(lineNumber) + ": " + why;
    return false;
  }

  // "text" with \" and \\ escapes, at s[pos]; pos ends past the closing quote.
  bool Quoted(const std::string &s, std::size_t &pos, std::string *out) {
    if (pos >= s.size() || s[pos] != '"') return Fail("a quoted name or text was expected");
    for (++pos; pos < s.size(); ++pos) {
      char c = s[pos];
      if (c == '"') {
        ++pos;
        return true;
      }
      if (c == '\\') {
        if (++pos >= s.size() || (s[pos] != '"' && s[pos] != '\\')) return Fail("unknown escape in quoted text");
        c = s[pos];
      }
      *out += c;
    }
    return Fail("quoted text is not closed");
  }

  static int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
  }

  bool HexNumber(const std::string &s, std::size_t maxDigits, DWORD *out) {
    if (s.empty() || s.size() > maxDigits) return Fail("bad hexadecimal number '" + s + "'");
    *out = 0;
    for (char c : s) {
      int d = HexDigit(c);
      if (d < 0) return Fail("bad hexadecimal number '" + s + "'");
      *out = *out << 4 | static_cast<DWORD>(d);
    }
    return true;
  }

  bool Data(const std::string &s, Value *v) {
    if (!s.empty() && s[0] == '"') {
      std::size_t pos = 0;
      std::string text;
      if (!Quoted(s, pos, &text)) return false;
      if (pos != s.size()) return Fail("unexpected text after the closing quote");
      v->type = REG_SZ;
      v->data.assign(text.begin(), text.end());
      v->data.push_back(0);
      return true;
    }
    if (s.rfind("dword:", 0) == 0) {
      DWORD d;
      if (s.size() != 14 || !HexNumber(s.substr(6), 8, &d)) return Fail("dword: takes eight hexadecimal digits");
      v->type = REG_DWORD;
      v->data = {static_cast<BYTE>(d), static_cast<BYTE>(d >> 8), static_cast<BYTE>(d >> 16),
                 static_cast<BYTE>(d >> 24)};
      return true;
    }
    std::size_t colon = s.find(':');
    std::string kind = s.substr(0, colon);
    if (colon == std::string::npos) return Fail("unknown value data '" + s + "'");
    if (kind == "hex") {
      v->type = REG_BINARY;
    } else if (kind.size() > 5 && kind.rfind("hex(", 0) == 0 && kind.back() == ')') {
      if (!HexNumber(kind.substr(4, kind.size() - 5), 8, &v->type)) return false;
    } else {
      return Fail("unknown value data '" + s + "'");
    }
    std::string bytes = s.substr(colon + 1);
    if (bytes.empty()) return true;
    std::stringstream list(bytes);
    std::string item;
    while (std::getline(list, item, ',')) {
      DWORD b;
      if (item.size() != 2 || !HexNumber(item, 2, &b)) return Fail("hex: takes bytes of two digits, comma-separated");
      v->data.push_back(static_cast<BYTE>(b));
    }
    if (bytes.back() == ',') return Fail("hex: list ends with a comma");
    return true;
  }

  bool Parse(const std::string &text, Key *root) {
    std::istringstream in(text);
    std::string line;
    bool sawHeader = false;
    Key *current = nullptr;
    while (std::getline(in, line)) {
      ++lineNumber;
      if (!line.empty() && line.back() == '\r') line.pop_back();
      // hex data may go on over lines ending in a backslash
      while (!line.empty() && line.back() == '\\' && line.find("=hex") != std::string::npos) {
        std::string next;
        if (!std::getline(in, next)) return Fail("the file ends inside a continued line");
        ++lineNumber;
        if (!next.empty() && next.back() == '\r') next.pop_back();
        line.pop_back();
        line += next.substr(std::min(next.find_first_not_of(" \t"), next.size()));
      }
      if (line.find_first_not_of(" \t") == std::string::npos || line[0] == ';') continue;
      if (!sawHeader) {
        if (line != kHeader) return Fail("not a REGEDIT4 file");
        sawHeader = true;
        continue;
      }
      if (line[0] == '[') {
        if (line.back() != ']') return Fail("a key line must end with ]");
        std::string path = line.substr(1, line.size() - 2);
        std::string rest;
        if (path == kRootName) {
        } else if (path.rfind(std::string(kRootName) + "\\", 0) == 0) {
          rest = path.substr(sizeof kRootName);
        } else {
          return Fail("only keys below HKEY_CURRENT_USER can be kept");
        }
        current = root;
        for (auto &part : SplitKeyPath(rest)) current = current->ChildOrNew(part);
        continue;
      }
      if (!current) return Fail("a value before any key");
      Value v{};
      std::size_t pos = 0;
      if (line[0] == '@') {
        pos = 1;
      } else if (!Quoted(line, pos, &v.name)) {
        return false;
      }
      if (pos >= line.size() || line[pos] != '=') return Fail("'=' expected after the value name");
      if (!Data(line.substr(pos + 1), &v)) return false;
      current->SetValue(v.name.c_str(), v.type, std::move(v.data));
    }
    if (!sawHeader) return Fail("not a REGEDIT4 file");
    return true;
  }
};

}  // namespace

std::string ExportReg() {
  std::string out = std::string(kHeader) + "\n\n";
  ExportKey(Root(), kRootName, out, true);
  return out;
}

bool ImportReg(const std::string &text, std::string *error) {
  Key fresh;
  Reader reader{error};
  if (!reader.Parse(text, &fresh)) return false;
  Root() = std::move(fresh);
  return true;
}

}  // namespace sim
