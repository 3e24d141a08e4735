#include "state.h"

#include <cstdio>
#include <map>

#include "control.h"

namespace subst {
namespace {

std::vector<Call> g_calls;
std::map<std::string, int> g_failIn;  // calls left until the injected failure, by function
long g_readAllowance = -1;
thread_local DWORD g_lastError = ERROR_SUCCESS;

}  // namespace

void Record(const std::string& name, const std::vector<std::string>& args) {
  g_calls.push_back({name, args});
}

bool operator==(const Call& a, const Call& b) { return a.name == b.name && a.args == b.args; }

std::string Render(const Call& call) {
  std::string line = call.name + "(";
  for (size_t i = 0; i < call.args.size(); ++i) line += (i ? ", " : "") + call.args[i];
  return line + ")";
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
const std::vector<Call>& Calls() { return g_calls; }
void ClearCalls() { g_calls.clear(); }

std::vector<std::string> CallsOf(const std::string& function) {
  std::vector<std::string> out;
  for (const Call& c : g_calls)
    if (c.name == function) out.push_back(Render(c));
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
