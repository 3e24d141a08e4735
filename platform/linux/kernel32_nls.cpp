// The national-language calls (winnls.h). The tests run as a Japanese system would: the ANSI
// code page is 932 (Shift_JIS).
#include "win32.h"

BOOL WINAPI IsDBCSLeadByte(BYTE c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }
