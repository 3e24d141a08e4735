// The one door to the operating system. The program calls Win32 by its real ANSI names;
// on Windows those come from <windows.h>, on Linux from our own small stand-in so that the
// logic can be unit-tested and fuzzed under the sanitizers without Wine.
#pragma once

#ifdef _WIN32
#include <windows.h>
#else
#include "linux/win32.h"
#endif
