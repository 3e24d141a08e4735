#include "state.h"

#include <cstdio>
#include <map>

#include "control.h"

namespace subst {
namespace {

std::vector<std::string> g_calls;
std::map<std::string, int> g_failIn;  // calls left until the injected failure, by function
long g_readAllowance = -1;
thread_local DWORD g_lastError = ERROR_SUCCESS;

}  // namespace

void Record(const std::string& name, const std::vector<std::string>& args) {
  std::string line = name + "(";
  for (size_t i = 0; i < args.size(); ++i) line += (i ? ", " : "") + args[i];
  g_calls.push_back(line + ")");
}

bool ShouldFail(const std::string& name) {
  auto it = g_failIn.find(name);
  if (it == g_failIn.end()) return false;
  if (--it->second > 0) return false;
  g_failIn.erase(it);
  return true;
}

std::string Arg(LPCSTR s) { return s ? std::string(s) : std::string("NULL"); }
std::string Arg(long long n) { return std::to_string(n); }
std::string ArgHex(unsigned long long n) {
  char text[24];
  std::snprintf(text, sizeof text, "0x%llX", n);
  return text;
}

long& ReadAllowance() { return g_readAllowance; }

void FailCall(const std::string& function, int nth) { g_failIn[function] = nth; }
void FailReadAfter(long bytes) { g_readAllowance = bytes; }
void ClearFailures() {
  g_failIn.clear();
  g_readAllowance = -1;
}
const std::vector<std::string>& Calls() { return g_calls; }
void ClearCalls() { g_calls.clear(); }

std::vector<std::string> CallsOf(const std::string& function) {
  std::vector<std::string> out;
  for (const auto& c : g_calls)
    if (c.compare(0, function.size() + 1, function + "(") == 0) out.push_back(c);
  return out;
}

void Reset() {
  g_calls.clear();
  g_failIn.clear();
  g_readAllowance = -1;
  g_lastError = ERROR_SUCCESS;
  ResetFiles();
  ResetUi();
}

}  // namespace subst

DWORD WINAPI GetLastError(void) { return subst::g_lastError; }
void WINAPI SetLastError(DWORD code) { subst::g_lastError = code; }
