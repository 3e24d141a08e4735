#include "select_dialog.h"

#include "../bootcfg/boot_file.h"
#include "../bootcfg/os_table.h"
#include "../res/resource.h"
#include "../res/ui_text.h"
#include "../restart/restart.h"

namespace {

void FillList(HWND hwnd) {
  LoadOsTable();
  for (int i = 0; i < g_osCount; ++i)
    SendDlgItemMessageA(hwnd, IDC_OSLIST, LB_ADDSTRING, 0,
                        reinterpret_cast<LPARAM>(g_osEntries[i].description));
}

// The selected row, or -1 when no line (or no row behind it) is selected.
int SelectedRow(HWND hwnd) {
  const LRESULT sel = SendDlgItemMessageA(hwnd, IDC_OSLIST, LB_GETCURSEL, 0, 0);
  return (sel >= 0 && sel < g_osCount) ? static_cast<int>(sel) : -1;
}

void ShowError(HWND hwnd, const char* text) {
  MessageBoxA(hwnd, text, kAppName, MB_OK | MB_ICONERROR);
}

// The dialog is modeless (CreateDialogParamA), so EndDialog only hides it and the window stays
// until the process ends; the quit message ends the message loop, and with it the process.
void Close(HWND hwnd) {
  EndDialog(hwnd, 0);
  PostQuitMessage(0);
}

// A forced restart kills every program without asking, so it is requested only once both
// settings are surely on disk; otherwise the user would lose work and boot the old system.
// Nothing is written after a failed write, and the box says what the file now holds.
void SwitchAndRestart(HWND hwnd) {
  const int row = SelectedRow(hwnd);
  if (row < 0) return;
  if (!SetDefaultSystem(g_osEntries[row].bootPath)) {
    ShowError(hwnd, kTextNotWrittenNoRestart);
    return;
  }
  if (!SetMenuTimeout(kTimeoutRestartNow)) {
    ShowError(hwnd, kTextOnlyDefaultWrittenNoRestart);
    return;
  }
  if (!RestartSystem()) ShowError(hwnd, kTextRestartRefused);
  Close(hwnd);
}

// The user is told the menu will ask only when the file really says so; after a failed
// write, what the file now holds.
void AskAtNextStart(HWND hwnd) {
  const int row = SelectedRow(hwnd);
  if (row >= 0 && !SetDefaultSystem(g_osEntries[row].bootPath)) {
    ShowError(hwnd, kTextNotWritten);
    return;
  }
  if (!SetMenuTimeout(kTimeoutAskAtStart)) {
    ShowError(hwnd, row >= 0 ? kTextOnlyDefaultWritten : kTextNotWritten);
    return;
  }
  // Hidden as Close does, so that only the box is left on screen until the quit message.
  EndDialog(hwnd, 0);
  MessageBoxA(hwnd, kTextBootMenuInfo, kCaptionBootMenuInfo, MB_OK);
  PostQuitMessage(0);
}

}  // namespace

INT_PTR CALLBACK SelectDlgProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM) {
  if (message == WM_INITDIALOG) {
    FillList(hwnd);
    return TRUE;
  }
  if (message != WM_COMMAND) return FALSE;
  // The whole wParam is compared: a list notification (a double-click, say) carries its code
  // in the high word and must never act as a button.
  switch (wParam) {
    case IDOK:
      SwitchAndRestart(hwnd);
      return TRUE;
    case IDC_BOOTMENU:
      AskAtNextStart(hwnd);
      return TRUE;
    case IDCANCEL:
      Close(hwnd);
      return TRUE;
    case IDC_ABOUT:
      MessageBoxA(hwnd, kTextAbout, kCaptionAbout, MB_OK);
      return TRUE;
    default:
      return FALSE;
  }
}
