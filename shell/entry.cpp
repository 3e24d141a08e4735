#include "../bootcfg/boot_file.h"
#include "app.h"

// Static for the life of the process; set once, before any window exists.
HINSTANCE g_hInstance;

// Any argument at all sets the loader's menu timeout back and ends without a window. The
// exit code says whether the file was really written, so that a script can tell.
int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR lpCmdLine, int nCmdShow) {
  g_hInstance = hInstance;
  if (lpCmdLine[0] != '\0') return SetMenuTimeout(kTimeoutReset) ? kExitOk : kExitNotWritten;
  return RunSelectionWindow(hInstance, nCmdShow);
}
