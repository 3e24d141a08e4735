// The selection dialog: the list of systems and its four commands.
#pragma once

#include "../platform/platform.h"

// The dialog procedure (and the registered class's procedure, which never runs as such).
// Returns TRUE for a message it handled: the initialisation and the four commands; FALSE for
// everything else, list notifications included.
INT_PTR CALLBACK SelectDlgProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
