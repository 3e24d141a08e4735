// The program shell: the two modes and the selection window.
#pragma once

#include "../platform/platform.h"

// This module's handle, kept by WinMain: the dialog and its icon are loaded from its resources.
extern HINSTANCE g_hInstance;
// The selection dialog, modeless: the message loop hands it every message through
// IsDialogMessageA, which gives it Tab, Enter and Escape.
extern HWND g_hDlg;

// Exit codes of the command-line reset.
const int kExitOk = 0;
const int kExitNotWritten = 1;

// Registers the window class, opens the selection dialog and runs the message loop. Returns
// the quit message's code (0), or 0 after telling the user that start-up failed.
int RunSelectionWindow(HINSTANCE hInstance, int nCmdShow);
