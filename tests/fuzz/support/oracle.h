// What the boot file's reader and the table of systems should make of given bytes, said as
// plainly as std::string allows and without the program's byte-by-byte loops, so that the
// fuzz targets can hold the real code against it.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace fuzz {

// Successive FileReader::ReadLine results for a file of these bytes. Reads that fail look
// like the end of the file to the reader, so a file cut short by a failing read is simply
// `file` truncated where the reads stopped.
class LineModel {
 public:
  LineModel(const std::string& file, size_t maxChars);

  struct Line {
    int count;         // what ReadLine returns
    std::string text;  // what the buffer holds before its terminator (NULs included)
  };
  Line Next();

 private:
  std::string text_;  // the file without its CRs: the reader drops every one of them
  size_t pos_ = 0;
  size_t maxChars_;
};

// The line's bytes up to its first NUL, and no further than the 256 the parser looks at.
std::string ParsedPart(const std::string& line);

// The text before the first separator ('=' or '"').
std::string ExpectedBootPath(const std::string& line);

// When the first separator is followed at once by a second one, the text after that up to
// the next separator; otherwise nothing.
std::string ExpectedDescription(const std::string& line);

// How many rows the table promises, said here and not taken from the program: a program
// whose table shrank must not shrink the expectation with it.
const int kExpectedMaxRows = 16;

struct ExpectedRow {
  std::string bootPath;
  std::string description;
};

// The rows LoadOsTable should produce from a file of these bytes: the first 16 at most.
std::vector<ExpectedRow> ExpectedTable(const std::string& file);

}  // namespace fuzz
