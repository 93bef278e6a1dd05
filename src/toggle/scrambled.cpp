#include "scrambled.h"

#include "platform.h"

ClearText Unscramble(const unsigned char *stored) {
  ClearText text;
  text.length = stored[0];
  for (unsigned i = 0; i < text.length; ++i) text.chars[i] = static_cast<char>(stored[i + 1] ^ kScrambleKey);
  text.chars[text.length] = '\0';
  return text;
}

void CloseTargetWindow() {
  ClearText className = Unscramble(TargetWindowClass.bytes);
  if (HWND window = FindWindowA(className.c_str(), nullptr)) SendMessageA(window, WM_CLOSE, 0, 0);
}
