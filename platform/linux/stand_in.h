// How a test steers the Linux stand-in of Win32: where drive letters lead, which call fails
// next, what the window and security calls answer, and what the program has called so far.
// The calls themselves live one file per Windows service: kernel32_files.cpp (CreateFileA,
// ReadFile, Get/SetFileAttributesA), handles.cpp (CloseHandle and the handle table),
// kernel32_profile.cpp (WritePrivateProfileStringA, with its edit in profile_rewrite.cpp),
// kernel32_errors.cpp, kernel32_process.cpp, kernel32_nls.cpp, user32.cpp (windows, messages,
// boxes, ExitWindowsEx) and advapi32.cpp (the token and the privilege).
#pragma once

#include <string>
#include <vector>

namespace stand_in {

// Maps "x:\a\b" to "<folder>/x/a/b" (drive letter lower-cased). Until set, every drive path
// fails as not found.
void SetDriveRoot(const std::string& folder);

// The host path a drive path maps to; empty when the path has no drive letter.
std::string HostPath(const char* drivePath);

// Forgets every scripted answer, injected failure, recorded call and file attribute.
void Reset();

// Makes the `nth` next call of the named function fail (1 = the very next call), the way the
// real one fails: FALSE/NULL/0 as Win32 returns it, with a fitting last-error code.
void FailCall(const std::string& function, int nth = 1);

// Withdraws every injected failure that has not struck yet.
void ClearFailures();

// From now on ReadFile fails once `bytes` bytes have been handed out in all.
void FailReadAfter(long bytes);

// One call the program made: the function's name and its arguments as the record writes
// them (strings as they are or NULL, numbers in decimal, flags and messages in hex, windows by
// name).
struct Call {
  std::string name;
  std::vector<std::string> args;
};

bool operator==(const Call& a, const Call& b);

// The call as golden traces spell it: "Name(arg, arg, ...)".
std::string Render(const Call& call);

// Every call the program made, in order.
const std::vector<Call>& Calls();
void ClearCalls();

// The recorded calls of one function only, rendered.
std::vector<std::string> CallsOf(const std::string& function);

// Handles opened and not yet closed.
int OpenHandleCount();

}  // namespace stand_in

#include "win32.h"

namespace stand_in {

// What LB_GETCURSEL answers (LB_ERR until set: nothing selected).
void SetCurSel(long index);

// Puts a message for `window` (the dialog when null; a control from DialogItem, as a key
// press goes to the focused control) in the thread's queue for GetMessageA. With
// `dialogTakes`, IsDialogMessageA claims it when it is given the dialog's own handle, and a
// WM_COMMAND among those reaches the dialog procedure, the way the dialog manager turns
// Enter and Escape into IDOK and IDCANCEL. Other messages go through DispatchMessageA, which
// hands a WM_COMMAND for the dialog to its procedure too.
void PostToQueue(UINT message, WPARAM wParam, bool dialogTakes, HWND window = nullptr);

// The window CreateDialogParamA hands out.
HWND DialogWindow();

// The handle of the dialog's control `id`; the call record names it "item<id>".
HWND DialogItem(int id);

// The class given to the last successful RegisterClassA.
const WNDCLASSA& RegisteredClass();

// The list's lines, in the order LB_ADDSTRING appended them.
const std::vector<std::string>& ListLines();

}  // namespace stand_in
