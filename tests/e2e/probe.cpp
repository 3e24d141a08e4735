// Looks at the program under test from outside, as another Windows program in the same Wine
// session would: what a window's list holds, what a message box says, where the controls are,
// and a file's attributes. Prints UTF-8 on stdout; exit 2 when the window or file is not there.
//   e2e_probe list  TITLE         "count item-height selection" of the program's list, then
//                                 one line per entry
//   e2e_probe text  TITLE         the text of a message box (its static 0xFFFF), as it is
//   e2e_probe rects TITLE         "id left top right bottom" in screen pixels for every child,
//                                 "window ..." and "close X Y" (the caption's close box)
//   e2e_probe attr  PATH [HEX]    prints (or sets, then prints) the file's attributes
//   e2e_probe version             "major.minor" of the Windows that Wine reports to it
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

#include "res/resource.h"

namespace {

void Print(const std::wstring& text, bool lineEnd = true) {
  const int n = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()),
                                    nullptr, 0, nullptr, nullptr);
  std::string bytes(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), &bytes[0], n,
                      nullptr, nullptr);
  std::fwrite(bytes.data(), 1, bytes.size(), stdout);
  if (lineEnd) std::fputc('\n', stdout);
}

std::wstring Text(HWND hwnd) {
  wchar_t buffer[1024] = L"";
  GetWindowTextW(hwnd, buffer, 1024);
  return buffer;
}

// Only a visible window counts: a dialog that has been ended is hidden, not yet destroyed.
HWND FindVisible(const wchar_t* title) {
  for (HWND w = FindWindowW(nullptr, title); w; w = FindWindowExW(nullptr, w, nullptr, title))
    if (IsWindowVisible(w)) return w;
  return nullptr;
}

std::wstring Rect(const RECT& r) {
  wchar_t line[96];
  std::swprintf(line, 96, L"%ld %ld %ld %ld", r.left, r.top, r.right, r.bottom);
  return line;
}

BOOL CALLBACK PrintChildRect(HWND child, LPARAM) {
  RECT r;
  GetWindowRect(child, &r);
  wchar_t id[16];
  std::swprintf(id, 16, L"%d ", GetDlgCtrlID(child));
  Print(id + Rect(r));
  return TRUE;
}

int List(HWND dialog) {
  HWND list = GetDlgItem(dialog, IDC_OSLIST);
  if (!list) return 2;
  const LRESULT count = SendMessageW(list, LB_GETCOUNT, 0, 0);
  Print(std::to_wstring(count) + L" " +
        std::to_wstring(SendMessageW(list, LB_GETITEMHEIGHT, 0, 0)) + L" " +
        std::to_wstring(SendMessageW(list, LB_GETCURSEL, 0, 0)));
  for (LRESULT i = 0; i < count; ++i) {
    wchar_t item[512] = L"";
    if (SendMessageW(list, LB_GETTEXTLEN, i, 0) < 512)
      SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(item));
    Print(item);
  }
  return 0;
}

int Rects(HWND window) {
  RECT r;
  GetWindowRect(window, &r);
  Print(L"window " + Rect(r));
  // The close box is the last caption button: right-aligned inside the fixed dialog frame.
  const int frame = GetSystemMetrics(SM_CXFIXEDFRAME);
  const int size = GetSystemMetrics(SM_CYSIZE);
  wchar_t line[64];
  std::swprintf(line, 64, L"close %ld %ld", r.right - frame - size / 2 - 1,
                r.top + frame + size / 2);
  Print(line);
  EnumChildWindows(window, PrintChildRect, 0);
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  _setmode(_fileno(stdout), _O_BINARY);  // "\n" as it is, not turned into CR LF
  if (argc == 2 && std::wstring(argv[1]) == L"version") {
    OSVERSIONINFOW info = {};
    info.dwOSVersionInfoSize = sizeof info;
    if (!GetVersionExW(&info)) return 2;
    wchar_t text[32];
    std::swprintf(text, 32, L"%lu.%lu", info.dwMajorVersion, info.dwMinorVersion);
    Print(text);
    return 0;
  }
  if (argc < 3) {
    std::fputs("usage: e2e_probe list|text|rects TITLE | attr PATH [HEX] | version\n", stderr);
    return 64;
  }
  const std::wstring command = argv[1];
  if (command == L"attr") {
    if (argc > 3 && !SetFileAttributesW(argv[2], std::wcstoul(argv[3], nullptr, 16))) return 2;
    const DWORD attributes = GetFileAttributesW(argv[2]);
    if (attributes == INVALID_FILE_ATTRIBUTES) return 2;
    wchar_t hex[16];
    std::swprintf(hex, 16, L"%lx", attributes);
    Print(hex);
    return 0;
  }
  HWND window = FindVisible(argv[2]);
  if (!window) return 2;
  if (command == L"list") return List(window);
  if (command == L"text") {
    HWND text = GetDlgItem(window, 0xFFFF);
    if (!text) return 2;
    Print(Text(text), false);  // exactly the text: a trailing line end of the box counts
    return 0;
  }
  if (command == L"rects") return Rects(window);
  return 64;
}
