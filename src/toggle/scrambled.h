// The fixed texts that say where the setting lives and which window to close
// are kept scrambled in the executable, so that they do not stand in clear in
// it: a length byte in clear, then each character XOR-ed with one key byte.
// Scrambling happens in the compiler; the clear literals never reach the
// binary.
#pragma once

inline constexpr unsigned char kScrambleKey = 0xA7;

// A stored constant: bytes[0] is the length L, bytes[1..L] the scrambled
// characters. Its capacity is exactly its length.
template <unsigned L>
struct Scrambled {
  unsigned char bytes[L + 1];
};

template <unsigned N>
consteval Scrambled<N - 1> Scramble(const char (&clear)[N]) {
  static_assert(N - 1 <= 255, "a stored constant holds at most 255 characters");
  Scrambled<N - 1> s{};
  s.bytes[0] = static_cast<unsigned char>(N - 1);
  for (unsigned i = 0; i + 1 < N; ++i) s.bytes[i + 1] = static_cast<unsigned char>(clear[i] ^ kScrambleKey);
  return s;
}

// A fresh clear text, at most 255 characters and its terminating zero.
struct ClearText {
  unsigned char length;
  char chars[256];
  const char *c_str() const { return chars; }
};

// Reads a stored constant (its length byte first) into a new clear text; the
// stored bytes are left as they are.
ClearText Unscramble(const unsigned char *stored);

// Where Windows keeps the per-user policy that takes "Add Printer" away:
// Explorer reads the REG_DWORD below, and 1 removes the Add Printer wizard.
inline constexpr auto SettingKeyPath = Scramble("Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer");
inline constexpr auto SettingValueName = Scramble("NoAddPrinter");
static_assert(sizeof SettingKeyPath == 1 + 59 && sizeof SettingValueName == 1 + 12);

// The window closed before the setting is read and again before it is
// changed, so that a window showing the printer setting does not go on
// showing the old state: the top-level window of class "PrintFolder", the
// program's fixed target. No window of a stock Windows 95/98 has this class
// (Explorer's folder windows, the Printers folder among them, have classes
// of their own), so on such a system closing finds nothing and the flow
// goes on.
inline constexpr auto TargetWindowClass = Scramble("PrintFolder");
static_assert(sizeof TargetWindowClass == 1 + 11);

// Sends WM_CLOSE to the target window, if one is open, and returns when it
// has handled it. Does not wait for the window to go away.
void CloseTargetWindow();
