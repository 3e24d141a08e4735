// ArgumentsOf on any command line: the input's bytes up to its first NUL are the line. What
// comes back must be a suffix of the line, must not begin with a blank or control character,
// and must be what the rule says, worked out here the plain way, by position.
#include <cstring>
#include <memory>
#include <string>

#include "shell/command_line.h"
#include "support/harness.h"

namespace {

// Lead bytes of Shift_JIS (code page 932), the ANSI code page the tests run under.
bool IsLeadByte(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

// Where the arguments begin in `line`.
size_t ExpectedStart(const std::string& line) {
  const auto at = [&](size_t i) { return static_cast<unsigned char>(line[i]); };
  size_t i = 0;
  if (!line.empty() && line[0] == '"') {
    // Step through the quoted name a character at a time; a double-byte character counts as
    // one, unless the line ends after its lead byte.
    for (i = 1; i < line.size() && line[i] != '"';)
      i += (IsLeadByte(at(i)) && i + 1 < line.size()) ? 2 : 1;
    if (i < line.size()) ++i;  // the closing quote
  } else {
    while (i < line.size() && at(i) > 0x20) ++i;
  }
  while (i < line.size() && at(i) <= 0x20) ++i;
  return i;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string line(reinterpret_cast<const char*>(data),
                         strnlen(reinterpret_cast<const char*>(data), size));
  // Exactly the line and its terminator on the heap, so that ASan sees a read past the end.
  std::unique_ptr<char[]> buffer(new char[line.size() + 1]);
  std::memcpy(buffer.get(), line.c_str(), line.size() + 1);

  const char* arguments = ArgumentsOf(buffer.get());
  const auto detail = [&] { return "command line " + fuzz::Printable(line); };
  FUZZ_CHECK(arguments >= buffer.get() && arguments <= buffer.get() + line.size(), detail());
  const size_t start = static_cast<size_t>(arguments - buffer.get());
  const unsigned char first = static_cast<unsigned char>(*arguments);
  FUZZ_CHECK(first == 0 || first > 0x20,
             detail() + "\n arguments " + fuzz::Printable(line.substr(start)));
  FUZZ_CHECK(start == ExpectedStart(line),
             detail() + "\n arguments " + fuzz::Printable(line.substr(start)) + "\n expected " +
                 fuzz::Printable(line.substr(ExpectedStart(line))));
  return 0;
}
