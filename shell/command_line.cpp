#include "command_line.h"

#include "../platform/platform.h"

namespace {

// Blanks and control characters; NUL is the end, not a blank.
bool IsBlank(unsigned char c) { return c != '\0' && c <= ' '; }

}  // namespace

const char* ArgumentsOf(const char* commandLine) {
  const unsigned char* p = reinterpret_cast<const unsigned char*>(commandLine);
  if (*p == '"') {
    ++p;
    while (*p != '\0' && *p != '"') {
      // A lead byte at the very end has no trail byte to step over.
      if (IsDBCSLeadByte(*p) && p[1] != '\0') ++p;
      ++p;
    }
    if (*p == '"') ++p;
  } else {
    while (*p > ' ') ++p;
  }
  while (IsBlank(*p)) ++p;
  return reinterpret_cast<const char*>(p);
}
