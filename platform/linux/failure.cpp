#include "failure.h"

#include <cerrno>
#include <map>

#include "stand_in.h"

namespace stand_in {
namespace {

std::map<std::string, int> g_failIn;  // calls left until the injected failure, by function
long g_readAllowance = -1;

}  // namespace

bool ShouldFail(const std::string& name) {
  auto it = g_failIn.find(name);
  if (it == g_failIn.end()) return false;
  if (--it->second > 0) return false;
  g_failIn.erase(it);
  return true;
}

long& ReadAllowance() { return g_readAllowance; }

bool Fail(DWORD error) {
  SetLastError(error);
  return false;
}

DWORD ErrorFromErrno(int e) {
  switch (e) {
    case ENOENT:
      return ERROR_FILE_NOT_FOUND;
    case ENOTDIR:
      return ERROR_PATH_NOT_FOUND;
    case EACCES:
    case EPERM:
    case EROFS:
      return ERROR_ACCESS_DENIED;
    default:
      return ERROR_WRITE_FAULT;
  }
}

void FailCall(const std::string& function, int nth) { g_failIn[function] = nth; }
void FailReadAfter(long bytes) { g_readAllowance = bytes; }

void ClearFailures() {
  g_failIn.clear();
  g_readAllowance = -1;
}

void ResetFailures() { ClearFailures(); }

}  // namespace stand_in
