// Shared bookkeeping of the stand-in: the call record, injected failures and last error.
#pragma once

#include <string>
#include <vector>

#include "win32.h"

namespace subst {

// Appends the call of `name` with these arguments to the call record.
void Record(const std::string& name, const std::vector<std::string>& args);

// True when this call of `name` is the one a test asked to fail; counts the call either way.
bool ShouldFail(const std::string& name);

// Formats a string argument for the record: the bytes as they are, or NULL.
std::string Arg(LPCSTR s);
std::string Arg(long long n);
std::string ArgHex(unsigned long long n);

// The injected read limit: how many bytes ReadFile may still hand out; negative = no limit.
long& ReadAllowance();

// Whether a handle is the process token OpenProcessToken handed out.
bool IsToken(HANDLE handle);

// Called by Reset() so each part of the stand-in can forget its own state.
void ResetFiles();
void ResetUi();

}  // namespace subst
