// Plays the user for one run of the program under Wine: starts it, waits for
// each of its message boxes, records the box's text bytes and buttons, and
// presses the answer it was given. Boxes beyond the given answers are
// recorded and answered No (or OK), so that a wrong flow still ends.
//
//   boxdriver OUT ANSWERS [SHOTDIR] -- PROGRAM
//
// ANSWERS is a comma-separated list of yes, no and ok ("-" for none). OUT
// gets one line a box, "box <buttons> <text in hex>", with buttons as
// id:label pairs, then "exit <status>" (or "timeout"). With SHOTDIR each box
// is also captured from the screen as SHOTDIR\box<N>.bmp before it is
// answered.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

const char kCaption[] = "MIZOna pour Windows 95/98";
constexpr DWORD kRunLimitMs = 30000;

struct Found {
  DWORD pid;
  HWND box;
};

BOOL CALLBACK FindBox(HWND window, LPARAM param) {
  auto *found = reinterpret_cast<Found *>(param);
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  char cls[64] = "", title[256] = "";
  GetClassNameA(window, cls, sizeof cls);
  GetWindowTextA(window, title, sizeof title);
  if (pid == found->pid && std::string(cls) == "#32770" && std::string(title) == kCaption && IsWindowVisible(window)) {
    found->box = window;
    return FALSE;
  }
  return TRUE;
}

std::string TextOf(HWND window) {
  LRESULT length = SendMessageA(window, WM_GETTEXTLENGTH, 0, 0);
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  SendMessageA(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<std::size_t>(length));
  return text;
}

std::string Hex(const std::string &bytes) {
  std::string out;
  char buf[3];
  for (unsigned char c : bytes) {
    std::snprintf(buf, sizeof buf, "%02x", c);
    out += buf;
  }
  return out;
}

struct Content {
  std::string text;
  std::string buttons;
};

BOOL CALLBACK ReadChild(HWND child, LPARAM param) {
  auto *content = reinterpret_cast<Content *>(param);
  char cls[64] = "";
  GetClassNameA(child, cls, sizeof cls);
  std::string name = cls;
  if (name == "Static" && (GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) != SS_ICON) {
    content->text += TextOf(child);
  } else if (name == "Button" && IsWindowVisible(child)) {
    if (!content->buttons.empty()) content->buttons += ",";
    content->buttons += std::to_string(GetDlgCtrlID(child)) + ":" + TextOf(child);
  }
  return TRUE;
}

// The box and a margin of the desktop around it, as a 24-bit BMP file.
void Capture(HWND box, const std::string &path) {
  RECT r;
  GetWindowRect(box, &r);
  InflateRect(&r, 16, 16);
  HDC screen = GetDC(nullptr);
  int width = r.right - r.left, height = r.bottom - r.top;
  BITMAPINFO info = {};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
  void *bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HDC memory = CreateCompatibleDC(screen);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
  GdiFlush();
  DWORD rowBytes = ((width * 3 + 3) / 4) * 4, imageBytes = rowBytes * height;
  BITMAPFILEHEADER file = {0x4D42, static_cast<DWORD>(sizeof file + sizeof info.bmiHeader + imageBytes), 0, 0,
                           static_cast<DWORD>(sizeof file + sizeof info.bmiHeader)};
  if (FILE *out = std::fopen(path.c_str(), "wb")) {
    std::fwrite(&file, sizeof file, 1, out);
    std::fwrite(&info.bmiHeader, sizeof info.bmiHeader, 1, out);
    std::fwrite(bits, imageBytes, 1, out);
    std::fclose(out);
  }
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
}

int ButtonFor(const std::string &answer) {
  if (answer == "yes") return IDYES;
  if (answer == "no") return IDNO;
  return IDOK;
}

}  // namespace

int main(int argc, char **argv) {
  int dashes = 1;
  while (dashes < argc && std::string(argv[dashes]) != "--") ++dashes;
  if (dashes < 3 || dashes + 1 >= argc) {
    std::fprintf(stderr, "usage: boxdriver OUT ANSWERS [SHOTDIR] -- PROGRAM\n");
    return 2;
  }
  FILE *out = std::fopen(argv[1], "wb");
  if (!out) return 2;
  std::vector<std::string> answers;
  for (std::string list = argv[2], item; !list.empty() && list != "-";) {
    std::size_t comma = list.find(',');
    answers.push_back(list.substr(0, comma));
    list = comma == std::string::npos ? "" : list.substr(comma + 1);
  }
  std::string shots = dashes > 3 ? argv[3] : "";

  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  std::string command = std::string("\"") + argv[dashes + 1] + "\"";
  if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
    std::fprintf(out, "cannot start %lu\n", GetLastError());
    return 1;
  }

  std::size_t boxes = 0;
  DWORD started = GetTickCount();
  for (;;) {
    if (WaitForSingleObject(process.hProcess, 50) == WAIT_OBJECT_0) break;
    if (GetTickCount() - started > kRunLimitMs) {
      TerminateProcess(process.hProcess, 255);
      std::fprintf(out, "timeout\n");
      std::fclose(out);
      return 1;
    }
    Found found = {process.dwProcessId, nullptr};
    EnumWindows(FindBox, reinterpret_cast<LPARAM>(&found));
    if (!found.box) continue;

    Sleep(200);  // let the box finish drawing itself
    Content content;
    EnumChildWindows(found.box, ReadChild, reinterpret_cast<LPARAM>(&content));
    std::fprintf(out, "box %s %s\n", content.buttons.c_str(), Hex(content.text).c_str());
    std::fflush(out);
    if (!shots.empty()) {
      SetForegroundWindow(found.box);
      SendMessageA(found.box, WM_NCACTIVATE, TRUE, 0);  // a title bar drawn as the active window's
      Sleep(300);
      Capture(found.box, shots + "\\box" + std::to_string(boxes + 1) + ".bmp");
    }

    int button = boxes < answers.size() ? ButtonFor(answers[boxes]) : (GetDlgItem(found.box, IDNO) ? IDNO : IDOK);
    ++boxes;
    PostMessageA(found.box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(found.box, button)));
    for (DWORD waited = 0; IsWindow(found.box) && waited < 5000; waited += 20) Sleep(20);
  }
  DWORD status = 0;
  GetExitCodeProcess(process.hProcess, &status);
  std::fprintf(out, "exit %lu\n", status);
  std::fclose(out);
  return 0;
}
