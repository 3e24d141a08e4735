#include "oracle.h"

#include <algorithm>

#include "bootcfg/os_table.h"

namespace fuzz {

namespace {

const char kSeparators[] = "=\"";
const char kHeader[] = "[operating systems]";

bool IsSeparator(char c) { return c == '=' || c == '"'; }

}  // namespace

LineModel::LineModel(const std::string& file, size_t maxChars) : maxChars_(maxChars) {
  text_.reserve(file.size());
  for (char c : file)
    if (c != '\r') text_ += c;
}

LineModel::Line LineModel::Next() {
  if (pos_ >= text_.size()) return {0, ""};
  const size_t lf = text_.find('\n', pos_);
  const size_t end = lf == std::string::npos ? text_.size() : lf;
  const size_t length = end - pos_;
  if (length <= maxChars_) {
    Line line{static_cast<int>(length), text_.substr(pos_, length)};
    pos_ = end + 1;
    return line;
  }
  // Too long: the first maxChars characters come back, the next one is lost, and the
  // rest of the line is what the following read starts with.
  Line line{static_cast<int>(maxChars_ + 1), text_.substr(pos_, maxChars_)};
  pos_ += maxChars_ + 1;
  return line;
}

std::string ParsedPart(const std::string& line) {
  const std::string upToNul = line.substr(0, line.find('\0'));
  return upToNul.substr(0, std::min<size_t>(upToNul.size(), kMaxLineChars));
}

std::string ExpectedBootPath(const std::string& line) {
  const std::string text = ParsedPart(line);
  return text.substr(0, text.find_first_of(kSeparators));
}

std::string ExpectedDescription(const std::string& line) {
  const std::string text = ParsedPart(line);
  const size_t first = text.find_first_of(kSeparators);
  if (first == std::string::npos || first + 1 >= text.size() || !IsSeparator(text[first + 1]))
    return "";
  const size_t start = first + 2;
  const size_t end = text.find_first_of(kSeparators, start);
  return text.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

std::vector<ExpectedRow> ExpectedTable(const std::string& file) {
  std::vector<ExpectedRow> rows;
  LineModel lines(file, kMaxLineChars);
  for (;;) {
    const LineModel::Line line = lines.Next();
    if (line.count == 0) return rows;
    // The header is compared as a C string: whatever follows a NUL in the line is unseen.
    if (line.text.substr(0, line.text.find('\0')) == kHeader) break;
  }
  while (rows.size() < static_cast<size_t>(kExpectedMaxRows)) {
    const LineModel::Line line = lines.Next();
    if (line.count == 0) break;
    rows.push_back({ExpectedBootPath(line.text), ExpectedDescription(line.text)});
  }
  return rows;
}

}  // namespace fuzz
