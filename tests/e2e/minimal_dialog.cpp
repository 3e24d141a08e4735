// The smallest dialog program with the product's template size, font and build flags: the
// yardstick tools/bench measures the product's start-up against.
#include <windows.h>

namespace {

INT_PTR CALLBACK MinimalProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM) {
  if (message == WM_INITDIALOG) return TRUE;
  if (message == WM_COMMAND && (wParam == IDOK || wParam == IDCANCEL)) {
    EndDialog(hwnd, 0);
    return TRUE;
  }
  return FALSE;
}

}  // namespace

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int) {
  return static_cast<int>(
      DialogBoxParamA(hInstance, MAKEINTRESOURCEA(101), nullptr, MinimalProc, 0));
}
