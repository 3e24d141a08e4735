// The program shell: the two modes and the selection window.
#pragma once

#include "../platform/platform.h"

extern HINSTANCE g_hInstance;
extern HWND g_hDlg;

// Exit codes of the command-line reset.
const int kExitOk = 0;
const int kExitNotWritten = 1;

// Registers the window class, opens the selection dialog and runs the message loop. Returns
// the quit message's code (0), or 0 after telling the user that start-up failed.
int RunSelectionWindow(HINSTANCE hInstance, int nCmdShow);
