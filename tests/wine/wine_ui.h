// What the dialog tests need to drive real windows on one thread: the program's own kind of
// message loop, a user's keys, message boxes that answer themselves, and a restart that can
// never happen.
#pragma once

#include <windows.h>

#include <ostream>
#include <string>
#include <vector>

namespace wine_ui {

// A window's text as the ANSI interface hands it out (Shift_JIS under code page 932).
std::string Text(HWND hwnd);
std::string ClassName(HWND hwnd);

// The dialog's children in the order the dialog manager keeps them (the tab order).
std::vector<HWND> Children(HWND dialog);

// Runs everything queued for this thread through IsDialogMessageA, as the program's loop
// does, until the queue is empty. A WM_QUIT met on the way is taken off the queue (it would
// otherwise end the next modal loop at once) and remembered in Quit.
class Pump {
 public:
  explicit Pump(HWND dialog) : dialog_(dialog) {}
  void Run();
  // Posts a key press to the window with the focus, the way the keyboard does, and runs it.
  void Press(UINT vk, bool alt = false);
  bool quit() const { return quit_; }
  WPARAM quitCode() const { return quitCode_; }

 private:
  HWND dialog_;
  bool quit_ = false;
  WPARAM quitCode_ = 0;
};

// One way a user backs out of the dialog, acting through the program's kind of loop.
struct BackOut {
  const char* name;
  void (*act)(HWND dialog, Pump& pump);
};
void PrintTo(const BackOut& way, std::ostream* os);

// The ways every test of backing out shares: the Escape key and the caption's close box.
void PressEscape(HWND dialog, Pump& pump);
void ClickCloseBox(HWND dialog, Pump& pump);

// While alive, every window this thread activates, other than a dialog run by `own`, is
// taken for a box: it is read as soon as it is complete and on screen, then answered with
// OK, so that a command which shows one returns, whatever owner it was given.
struct Box {
  std::string caption;
  std::string text;
  HWND owner;         // nullptr: a box of its own, which the window does not wait for
  bool ownerEnabled;  // false while the box is modal to its owner
  bool hasIcon;
};

class BoxCatcher {
 public:
  explicit BoxCatcher(DLGPROC own);
  ~BoxCatcher();
  BoxCatcher(const BoxCatcher&) = delete;
  BoxCatcher& operator=(const BoxCatcher&) = delete;
  bool installed() const { return hook_ != nullptr; }
  const std::vector<Box>& boxes() const;

 private:
  HHOOK hook_;
};

// While alive, ExitWindowsEx called from this program is counted and refused instead of
// reaching Wine, which would end every process of the prefix's session, this test included.
class RestartGuard {
 public:
  RestartGuard();
  ~RestartGuard();
  RestartGuard(const RestartGuard&) = delete;
  RestartGuard& operator=(const RestartGuard&) = delete;
  bool installed() const { return slot_ != nullptr; }
  static int calls();

 private:
  void** slot_;
  void* original_;
};

}  // namespace wine_ui
