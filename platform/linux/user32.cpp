// The window calls (winuser.h), recorded in order and answering as scripted. The dialog
// manager is reduced to what the program relies on: WM_INITDIALOG during creation, a queue of
// messages, and keyboard commands handed to the dialog procedure. ExitWindowsEx is here too,
// where Windows has it.
#include "user32.h"

#include <cstdio>
#include <cstdlib>
#include <deque>
#include <map>

#include "failure.h"
#include "record.h"
#include "stand_in.h"

namespace stand_in {
namespace {

struct Queued {
  MSG msg;
  bool dialogTakes;
};

HWND__ g_dialog;
// Far more -1 answers in a row than any run of the program can ask for.
const int kMaxBlockedAnswers = 1000;
std::map<int, HWND__> g_items;  // the dialog's controls, by id; a node never moves
DLGPROC g_dialogProc;
WNDCLASSA g_class;
std::deque<Queued> g_queue;
std::vector<std::string> g_listLines;
long g_curSel = LB_ERR;
bool g_quitPosted;
int g_quitCode;
int g_blockedAnswers;  // GetMessageA's -1 answers since something was last posted

std::string Window(HWND hwnd) {
  if (!hwnd) return "NULL";
  if (hwnd == &g_dialog) return "dialog";
  for (auto& item : g_items)
    if (hwnd == &item.second) return "item" + std::to_string(item.first);
  return ArgHex(reinterpret_cast<UINT_PTR>(hwnd));
}

std::string Resource(LPCSTR name) {
  const UINT_PTR value = reinterpret_cast<UINT_PTR>(name);
  return value <= 0xFFFF ? "#" + std::to_string(value) : Arg(name);
}

}  // namespace

void SetCurSel(long index) { g_curSel = index; }

void PostToQueue(UINT message, WPARAM wParam, bool dialogTakes, HWND window) {
  g_blockedAnswers = 0;
  Queued q = {};
  q.msg.hwnd = window ? window : &g_dialog;
  q.msg.message = message;
  q.msg.wParam = wParam;
  q.dialogTakes = dialogTakes;
  g_queue.push_back(q);
}

HWND DialogWindow() { return &g_dialog; }
HWND DialogItem(int id) { return &g_items[id]; }
const WNDCLASSA& RegisteredClass() { return g_class; }
const std::vector<std::string>& ListLines() { return g_listLines; }

void ResetWindows() {
  g_dialogProc = nullptr;
  g_class = WNDCLASSA();
  g_queue.clear();
  g_listLines.clear();
  g_curSel = LB_ERR;
  g_quitPosted = false;
  g_quitCode = 0;
  g_blockedAnswers = 0;
}

}  // namespace stand_in

using namespace stand_in;

ATOM WINAPI RegisterClassA(const WNDCLASSA* wc) {
  Record("RegisterClassA", {Arg(wc->lpszClassName)});
  if (ShouldFail("RegisterClassA")) return static_cast<ATOM>(Fail(ERROR_INVALID_PARAMETER));
  g_class = *wc;
  return 0xC001;
}

HICON WINAPI LoadIconA(HINSTANCE, LPCSTR name) {
  Record("LoadIconA", {Resource(name)});
  return reinterpret_cast<HICON>(0x1C0);
}

HCURSOR WINAPI LoadCursorA(HINSTANCE, LPCSTR name) {
  Record("LoadCursorA", {Resource(name)});
  return reinterpret_cast<HCURSOR>(0xC0);
}

HWND WINAPI CreateDialogParamA(HINSTANCE, LPCSTR templateName, HWND parent, DLGPROC proc,
                               LPARAM init) {
  Record("CreateDialogParamA", {Resource(templateName), Window(parent), Arg(init)});
  if (ShouldFail("CreateDialogParamA")) return Fail(ERROR_INVALID_PARAMETER), nullptr;
  g_dialogProc = proc;
  proc(&g_dialog, WM_INITDIALOG, 0, init);
  return &g_dialog;
}

BOOL WINAPI ShowWindow(HWND hwnd, int show) {
  Record("ShowWindow", {Window(hwnd), Arg(show)});
  return FALSE;  // the window was hidden before
}

BOOL WINAPI UpdateWindow(HWND hwnd) {
  Record("UpdateWindow", {Window(hwnd)});
  return TRUE;
}

// Messages come in the order posted; the quit message only once nothing else is waiting.
// An empty queue with no quit posted would block for ever on Windows: here it is recorded
// and ends the loop with -1, so that a test sees the hang instead of living it. A loop that
// does not stop on -1 would spin for ever instead: that ends the test at once, by name.
BOOL WINAPI GetMessageA(LPMSG msg, HWND, UINT, UINT) {
  if (!g_queue.empty()) {
    *msg = g_queue.front().msg;
    Record("GetMessageA", {ArgHex(msg->message), ArgHex(msg->wParam)});
    return TRUE;
  }
  *msg = MSG();
  if (!g_quitPosted) {
    Record("GetMessageA", {"blocked"});
    if (++g_blockedAnswers > kMaxBlockedAnswers) {
      std::fprintf(stderr,
                   "GetMessageA answered -1 %d times in a row: the message loop does "
                   "not stop on an error\n",
                   kMaxBlockedAnswers);
      std::abort();
    }
    return -1;
  }
  msg->message = WM_QUIT;
  msg->wParam = static_cast<WPARAM>(g_quitCode);
  Record("GetMessageA", {"WM_QUIT", Arg(g_quitCode)});
  return FALSE;
}

// Only the dialog's own handle gets the dialog manager's help; any other window is no
// dialog, and its messages are left for TranslateMessage and DispatchMessageA.
BOOL WINAPI IsDialogMessageA(HWND hwnd, LPMSG msg) {
  Record("IsDialogMessageA", {Window(hwnd), ArgHex(msg->message)});
  if (g_queue.empty() || hwnd != &g_dialog) return FALSE;
  const Queued q = g_queue.front();
  g_queue.pop_front();
  if (!q.dialogTakes) {
    g_queue.push_front(q);  // stays for TranslateMessage/DispatchMessageA
    return FALSE;
  }
  if (q.msg.message == WM_COMMAND && g_dialogProc)
    g_dialogProc(hwnd, WM_COMMAND, q.msg.wParam, q.msg.lParam);
  return TRUE;
}

BOOL WINAPI TranslateMessage(const MSG* msg) {
  Record("TranslateMessage", {ArgHex(msg->message)});
  return FALSE;
}

LRESULT WINAPI DispatchMessageA(const MSG* msg) {
  Record("DispatchMessageA", {ArgHex(msg->message)});
  if (!g_queue.empty()) g_queue.pop_front();
  if (msg->hwnd == &g_dialog && g_dialogProc)
    g_dialogProc(msg->hwnd, msg->message, msg->wParam, msg->lParam);
  return 0;
}

LRESULT WINAPI SendDlgItemMessageA(HWND hwnd, int id, UINT message, WPARAM, LPARAM lParam) {
  if (message == LB_ADDSTRING) {
    const char* text = reinterpret_cast<const char*>(lParam);
    Record("SendDlgItemMessageA", {Window(hwnd), Arg(id), "LB_ADDSTRING", Arg(text)});
    g_listLines.push_back(text);
    return static_cast<LRESULT>(g_listLines.size() - 1);
  }
  if (message == LB_GETCURSEL) {
    Record("SendDlgItemMessageA", {Window(hwnd), Arg(id), "LB_GETCURSEL"});
    return g_curSel;
  }
  Record("SendDlgItemMessageA", {Window(hwnd), Arg(id), ArgHex(message)});
  return 0;
}

BOOL WINAPI EndDialog(HWND hwnd, INT_PTR result) {
  Record("EndDialog", {Window(hwnd), Arg(static_cast<long long>(result))});
  return TRUE;
}

void WINAPI PostQuitMessage(int code) {
  Record("PostQuitMessage", {Arg(code)});
  g_quitPosted = true;
  g_quitCode = code;
}

int WINAPI MessageBoxA(HWND hwnd, LPCSTR text, LPCSTR caption, UINT type) {
  Record("MessageBoxA", {Window(hwnd), Arg(text), Arg(caption), ArgHex(type)});
  if (ShouldFail("MessageBoxA")) return 0;
  return IDOK;
}

BOOL WINAPI ExitWindowsEx(UINT flags, DWORD reason) {
  Record("ExitWindowsEx", {ArgHex(flags), Arg(static_cast<long long>(reason))});
  if (ShouldFail("ExitWindowsEx")) return Fail(ERROR_ACCESS_DENIED);
  return TRUE;
}
