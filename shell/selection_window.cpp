#include "../dialog/select_dialog.h"
#include "../res/resource.h"
#include "../res/ui_text.h"
#include "app.h"

// Static for the life of the process: the dialog is never destroyed and goes with the process.
HWND g_hDlg;

namespace {

void ShowStartupError(const char* text) { MessageBoxA(nullptr, text, kAppName, MB_ICONERROR); }

}  // namespace

int RunSelectionWindow(HINSTANCE hInstance, int nCmdShow) {
  // The class is the program's registration under its name and icon; the dialog does not use it
  // (its template names no class), but a failed registration still ends the start-up.
  WNDCLASSA wc = {};
  wc.style = 0;
  // The class borrows the dialog procedure; no window of the class is ever created, so the
  // procedure only ever runs as a dialog procedure. On i686 the two pointer types differ in
  // their return type's name only (int vs long, both 32 bits).
  wc.lpfnWndProc = reinterpret_cast<WNDPROC>(reinterpret_cast<void (*)()>(SelectDlgProc));
  wc.cbClsExtra = 0;
  wc.cbWndExtra = DLGWINDOWEXTRA;
  wc.hInstance = hInstance;
  wc.hIcon = LoadIconA(hInstance, MAKEINTRESOURCEA(IDI_MAIN));
  wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszMenuName = nullptr;
  wc.lpszClassName = kAppName;
  if (!RegisterClassA(&wc)) {
    ShowStartupError(kTextClassFailed);
    return 0;
  }
  g_hDlg = CreateDialogParamA(g_hInstance, MAKEINTRESOURCEA(IDD_SELECT), nullptr, SelectDlgProc, 0);
  if (!g_hDlg) {
    ShowStartupError(kTextWindowFailed);
    return 0;
  }
  ShowWindow(g_hDlg, nCmdShow);
  UpdateWindow(g_hDlg);
  // GetMessageA answers -1 on an error; looping on it would spin forever.
  MSG msg = {};
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    if (IsDialogMessageA(g_hDlg, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return static_cast<int>(msg.wParam);
}
