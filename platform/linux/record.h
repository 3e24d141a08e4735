// The call record: every stand-in call enters itself here, with its arguments as text.
#pragma once

#include <string>
#include <vector>

#include "win32.h"

namespace stand_in {

// Appends the call of `name` with these arguments to the record.
void Record(const std::string& name, const std::vector<std::string>& args);

// An argument as the record writes it: a string's bytes as they are (or NULL), a number in
// decimal, flags and messages in hex ("0x1F").
std::string Arg(LPCSTR s);
std::string Arg(long long n);
std::string ArgHex(unsigned long long n);

}  // namespace stand_in
