// The thread's last-error code (errhandlingapi.h).
#include "win32.h"

namespace {

thread_local DWORD g_lastError = ERROR_SUCCESS;

}  // namespace

DWORD WINAPI GetLastError(void) { return g_lastError; }
void WINAPI SetLastError(DWORD code) { g_lastError = code; }
