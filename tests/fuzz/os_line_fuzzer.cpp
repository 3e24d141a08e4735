// ParseOsLine on any line the reader can hand it: the row it fills must say exactly what the
// line says, and neither the line nor the row may be touched outside its bounds.
#include <algorithm>
#include <cstring>
#include <memory>
#include <string>

#include "bootcfg/os_table.h"
#include "support/harness.h"
#include "support/oracle.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // The line buffer as LoadOsTable hands it over is NUL-terminated; a line that fills all
  // 256 positions the parser may look at gets no terminator here, and a buffer that ends
  // right there, so that ASan catches a look at position 256.
  const size_t length = std::min(size, static_cast<size_t>(kMaxLineChars));
  const bool terminated = length < static_cast<size_t>(kMaxLineChars);
  std::unique_ptr<char[]> line(new char[length + (terminated ? 1 : 0)]);
  std::memcpy(line.get(), data, length);
  if (terminated) line[length] = '\0';
  const std::string text(line.get(), length);

  // A row on the heap, full of stale bytes: both fields must be terminated by the parser.
  std::unique_ptr<OsEntry> row(new OsEntry);
  std::memset(row.get(), 0xA5, sizeof(OsEntry));
  ParseOsLine(line.get(), *row);

  const std::string path = fuzz::ExpectedBootPath(text);
  const std::string description = fuzz::ExpectedDescription(text);
  const auto detail = [&] {
    return "line " + fuzz::Printable(text) + "\n bootPath " +
           fuzz::Printable(std::string(row->bootPath, strnlen(row->bootPath, 256))) +
           "\n description " +
           fuzz::Printable(std::string(row->description, strnlen(row->description, 256)));
  };
  FUZZ_CHECK(path.size() <= sizeof row->bootPath, detail());
  FUZZ_CHECK(std::memcmp(row->bootPath, path.data(), path.size()) == 0, detail());
  if (path.size() == sizeof row->bootPath) {
    // A boot path filling its whole field ends at the row's next byte: the description's
    // first, which leaves the description empty.
    FUZZ_CHECK(row->description[0] == '\0' && description.empty(), detail());
  } else {
    FUZZ_CHECK(row->bootPath[path.size()] == '\0', detail());
    FUZZ_CHECK(description.size() < sizeof row->description, detail());
    FUZZ_CHECK(std::memcmp(row->description, description.data(), description.size()) == 0,
               detail());
    FUZZ_CHECK(row->description[description.size()] == '\0', detail());
  }
  return 0;
}
