// How a stand-in call fails: the failures a test injects, and failing the way Win32 does,
// with the last-error code set.
#pragma once

#include <string>

#include "win32.h"

namespace stand_in {

// True when this call of `name` is the one a test asked to fail; counts the call either way.
bool ShouldFail(const std::string& name);

// The injected read limit: how many bytes ReadFile may still hand out; negative = no limit.
long& ReadAllowance();

// Sets the last error to `error` and returns false (FALSE), for "return Fail(...)".
bool Fail(DWORD error);

// The Win32 error code for a Linux errno.
DWORD ErrorFromErrno(int e);

// Withdraws every injected failure and the read limit.
void ResetFailures();

}  // namespace stand_in
