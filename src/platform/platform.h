// The one seam between MIZOna and Windows: the few Win32 types, constants and
// calls the program uses, with their real ANSI names and signatures. On
// Windows this is <windows.h> itself; elsewhere the same names are declared
// here and answered by the simulated Windows in platform/sim.
#pragma once

#ifdef _WIN32

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#else

#include <cstdint>

using BYTE = std::uint8_t;
using DWORD = std::uint32_t;
using LONG = std::int32_t;  // 32 bits, as on Windows (LLP64)
using BOOL = int;
using UINT = unsigned int;
using LPCSTR = const char *;
using LPSTR = char *;
using LPBYTE = BYTE *;
using LPDWORD = DWORD *;
using REGSAM = DWORD;
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;

struct HKEY__;
using HKEY = HKEY__ *;
using PHKEY = HKEY *;
struct HWND__;
using HWND = HWND__ *;
struct SECURITY_ATTRIBUTES;
using LPSECURITY_ATTRIBUTES = SECURITY_ATTRIBUTES *;

// A predefined root is the 32-bit constant sign-extended to pointer width.
#define HKEY_CURRENT_USER (reinterpret_cast<HKEY>(static_cast<std::intptr_t>(static_cast<LONG>(0x80000001u))))

constexpr LONG ERROR_SUCCESS = 0;
constexpr LONG ERROR_FILE_NOT_FOUND = 2;
constexpr LONG ERROR_ACCESS_DENIED = 5;
constexpr LONG ERROR_INVALID_HANDLE = 6;
constexpr LONG ERROR_INVALID_PARAMETER = 87;
constexpr LONG ERROR_BAD_PATHNAME = 161;
constexpr LONG ERROR_MORE_DATA = 234;
constexpr LONG ERROR_NOACCESS = 998;
constexpr LONG ERROR_CHILD_MUST_BE_VOLATILE = 1021;

constexpr DWORD REG_NONE = 0;
constexpr DWORD REG_SZ = 1;
constexpr DWORD REG_BINARY = 3;
constexpr DWORD REG_DWORD = 4;
constexpr DWORD REG_DWORD_BIG_ENDIAN = 5;
constexpr DWORD REG_MULTI_SZ = 7;
constexpr DWORD REG_OPTION_NON_VOLATILE = 0;
constexpr DWORD REG_CREATED_NEW_KEY = 1;
constexpr DWORD REG_OPENED_EXISTING_KEY = 2;

constexpr REGSAM KEY_SET_VALUE = 0x0002;
constexpr REGSAM KEY_READ = 0x20019;
constexpr REGSAM KEY_ALL_ACCESS = 0xF003F;

constexpr UINT MB_OK = 0x00;
constexpr UINT MB_YESNO = 0x04;
constexpr UINT MB_ICONERROR = 0x10;
constexpr UINT MB_ICONQUESTION = 0x20;
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDYES = 6;
constexpr int IDNO = 7;

constexpr UINT WM_CLOSE = 0x0010;
constexpr UINT EWX_SHUTDOWN = 0x01;
constexpr UINT EWX_REBOOT = 0x02;

// advapi32
LONG RegCreateKeyExA(HKEY key, LPCSTR subKey, DWORD reserved, LPSTR keyClass, DWORD options, REGSAM access,
                     LPSECURITY_ATTRIBUTES security, PHKEY result, LPDWORD disposition);
LONG RegOpenKeyExA(HKEY key, LPCSTR subKey, DWORD options, REGSAM access, PHKEY result);
LONG RegQueryValueExA(HKEY key, LPCSTR valueName, LPDWORD reserved, LPDWORD type, LPBYTE data, LPDWORD dataSize);
LONG RegSetValueExA(HKEY key, LPCSTR valueName, DWORD reserved, DWORD type, const BYTE *data, DWORD dataSize);
LONG RegDeleteValueA(HKEY key, LPCSTR valueName);
LONG RegCloseKey(HKEY key);

// user32
int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT style);
BOOL ExitWindowsEx(UINT flags, DWORD reserved);
HWND FindWindowA(LPCSTR className, LPCSTR windowName);
LRESULT SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// kernel32
DWORD GetVersion();

#endif
