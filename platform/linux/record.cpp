#include "record.h"

#include <cstdio>

#include "stand_in.h"

namespace stand_in {
namespace {

std::vector<Call> g_calls;

}  // namespace

void Record(const std::string& name, const std::vector<std::string>& args) {
  g_calls.push_back({name, args});
}

std::string Arg(LPCSTR s) { return s ? std::string(s) : std::string("NULL"); }
std::string Arg(long long n) { return std::to_string(n); }
std::string ArgHex(unsigned long long n) {
  char text[24];
  std::snprintf(text, sizeof text, "0x%llX", n);
  return text;
}

bool operator==(const Call& a, const Call& b) { return a.name == b.name && a.args == b.args; }

std::string Render(const Call& call) {
  std::string line = call.name + "(";
  for (size_t i = 0; i < call.args.size(); ++i) line += (i ? ", " : "") + call.args[i];
  return line + ")";
}

const std::vector<Call>& Calls() { return g_calls; }
void ClearCalls() { g_calls.clear(); }

std::vector<std::string> CallsOf(const std::string& function) {
  std::vector<std::string> out;
  for (const Call& c : g_calls)
    if (c.name == function) out.push_back(Render(c));
  return out;
}

}  // namespace stand_in
