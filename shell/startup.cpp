// Where the process begins. The program has no C run time: this hands WinMain what the run
// time's start-up code would, and nothing needs setting up first (no global constructors, no
// heap, no threads).
#include "../platform/platform.h"
#include "command_line.h"

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nCmdShow);

namespace {

// The show state the starting program asked for, or the default when it named none.
int StartupShowState() {
  STARTUPINFOA startup;
  startup.cb = sizeof startup;
  GetStartupInfoA(&startup);
  return (startup.dwFlags & STARTF_USESHOWWINDOW) ? startup.wShowWindow : SW_SHOWDEFAULT;
}

}  // namespace

// The image's entry point (the linker is told its name). Never returns: WinMain's result is
// the exit code. The i686 loader promises only a 4-byte aligned stack, so it is realigned here
// for the code GCC writes below.
extern "C" __attribute__((noreturn, force_align_arg_pointer)) void BrisvaneStart() {
  LPSTR arguments = const_cast<LPSTR>(ArgumentsOf(GetCommandLineA()));
  ExitProcess(static_cast<UINT>(
      WinMain(GetModuleHandleA(nullptr), nullptr, arguments, StartupShowState())));
}
