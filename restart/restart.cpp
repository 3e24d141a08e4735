#include "restart.h"

namespace {

const char kShutdownPrivilege[] = "SeShutdownPrivilege";

// Owns the process token for the one adjustment it is opened for.
class TokenHandle {
 public:
  TokenHandle() = default;
  ~TokenHandle() {
    if (handle) CloseHandle(handle);
  }
  TokenHandle(const TokenHandle&) = delete;
  TokenHandle& operator=(const TokenHandle&) = delete;
  HANDLE* Receive() { return &handle; }
  HANDLE Get() const { return handle; }

 private:
  HANDLE handle = nullptr;
};

}  // namespace

int EnableShutdownPrivilege() {
  TokenHandle token;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY,
                        token.Receive()))
    return 0;
  TOKEN_PRIVILEGES tp = {};
  LookupPrivilegeValueA(nullptr, kShutdownPrivilege, &tp.Privileges[0].Luid);
  tp.PrivilegeCount = 1;
  tp.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
  return AdjustTokenPrivileges(token.Get(), FALSE, &tp, 0, nullptr, nullptr) ? 1 : 0;
}

BOOL RestartSystem() {
  EnableShutdownPrivilege();
  return ExitWindowsEx(EWX_REBOOT | EWX_FORCE, 0);
}
