// A stand-in for the window the program closes: a top-level window of its
// class that writes each WM_CLOSE it receives to a log. With --ignore-close it
// records the message and stays open; otherwise it closes. It ends by itself
// after a minute at most.
//
//   targetwin LOG [--ignore-close]
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

FILE *logFile;
bool ignoreClose;

void Log(const char *line) {
  std::fprintf(logFile, "%s\n", line);
  std::fflush(logFile);
}

LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CLOSE:
      Log("WM_CLOSE");
      if (!ignoreClose) DestroyWindow(window);
      return 0;
    case WM_DESTROY: PostQuitMessage(0); return 0;
    case WM_TIMER: DestroyWindow(window); return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

int main(int argc, char **argv) {
  if (argc < 2 || !(logFile = std::fopen(argv[1], "a"))) return 2;
  ignoreClose = argc > 2 && std::string(argv[2]) == "--ignore-close";
  WNDCLASSA wc = {};
  wc.lpfnWndProc = Proc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "PrintFolder";
  if (!RegisterClassA(&wc)) return 1;
  HWND window = CreateWindowA("PrintFolder", "Imprimantes", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr,
                              wc.hInstance, nullptr);
  if (!window) return 1;
  SetTimer(window, 1, 60000, nullptr);
  Log("ready");
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
  Log("gone");
  return 0;
}
