// The security calls (advapi32): the process token and the shutdown privilege, recorded and
// answering as scripted.
#include "failure.h"
#include "handles.h"
#include "record.h"
#include "stand_in.h"

using namespace stand_in;

BOOL WINAPI OpenProcessToken(HANDLE process, DWORD access, PHANDLE token) {
  Record("OpenProcessToken", {process == GetCurrentProcess() ? "self" : "other", ArgHex(access)});
  if (ShouldFail("OpenProcessToken")) return Fail(ERROR_ACCESS_DENIED);
  *token = ProcessToken();
  return TRUE;
}

BOOL WINAPI LookupPrivilegeValueA(LPCSTR system, LPCSTR name, PLUID luid) {
  Record("LookupPrivilegeValueA", {Arg(system), Arg(name)});
  if (ShouldFail("LookupPrivilegeValueA")) return Fail(ERROR_NO_SUCH_PRIVILEGE);
  luid->LowPart = 19;  // SE_SHUTDOWN_PRIVILEGE's value on Windows
  luid->HighPart = 0;
  return TRUE;
}

BOOL WINAPI AdjustTokenPrivileges(HANDLE token, BOOL disableAll, PTOKEN_PRIVILEGES state,
                                  DWORD length, PTOKEN_PRIVILEGES previous, LPDWORD returned) {
  Record(
      "AdjustTokenPrivileges",
      {IsToken(token) ? "token" : "other", Arg(disableAll),
       state ? Arg(static_cast<long long>(state->PrivilegeCount)) : "NULL",
       state ? Arg(static_cast<long long>(state->Privileges[0].Luid.LowPart)) : "-",
       state ? ArgHex(state->Privileges[0].Attributes) : "-", Arg(static_cast<long long>(length)),
       previous ? "buffer" : "NULL", returned ? "length" : "NULL"});
  if (ShouldFail("AdjustTokenPrivileges")) return Fail(ERROR_ACCESS_DENIED);
  return TRUE;
}
