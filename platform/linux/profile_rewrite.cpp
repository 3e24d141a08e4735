#include "profile_rewrite.h"

#include <cctype>
#include <vector>

namespace stand_in {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string Trim(const std::string& s) {
  size_t b = 0, e = s.size();
  while (b < e && IsBlank(s[b])) ++b;
  while (e > b && IsBlank(s[e - 1])) --e;
  return s.substr(b, e - b);
}

bool SameName(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    unsigned char x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
    if (x < 128 && y < 128 && std::tolower(x) == std::tolower(y)) continue;
    if (x != y) return false;
  }
  return true;
}

// A line's text without its CR LF / LF ending.
std::string Body(const std::string& line) {
  size_t n = line.size();
  if (n && line[n - 1] == '\n') --n;
  if (n && line[n - 1] == '\r') --n;
  return line.substr(0, n);
}

// The section name of a header line, or false when the line is no header.
bool SectionName(const std::string& line, std::string* name) {
  std::string t = Trim(Body(line));
  if (t.size() < 2 || t[0] != '[') return false;
  size_t close = t.find(']');
  if (close == std::string::npos) return false;
  *name = Trim(t.substr(1, close - 1));
  return true;
}

bool KeyName(const std::string& line, std::string* name) {
  std::string body = Body(line);
  size_t eq = body.find('=');
  if (eq == std::string::npos) return false;
  *name = Trim(body.substr(0, eq));
  return true;
}

std::vector<std::string> SplitLines(const std::string& bytes) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < bytes.size()) {
    size_t lf = bytes.find('\n', start);
    size_t end = lf == std::string::npos ? bytes.size() : lf + 1;
    lines.push_back(bytes.substr(start, end - start));
    start = end;
  }
  return lines;
}

void EnsureEnded(std::string* line) {
  if (line->empty() || line->back() != '\n') *line += "\r\n";
}

}  // namespace

std::string SetProfileKey(const std::string& bytes, const std::string& section,
                          const std::string& key, const std::string& value) {
  std::vector<std::string> lines = SplitLines(bytes);
  const std::string entry = key + "=" + value + "\r\n";
  size_t i = 0;
  std::string name;
  for (; i < lines.size(); ++i)
    if (SectionName(lines[i], &name) && SameName(name, section)) break;
  if (i == lines.size()) {
    if (!lines.empty()) EnsureEnded(&lines.back());
    lines.push_back("[" + section + "]\r\n");
    lines.push_back(entry);
  } else {
    size_t lastFilled = i;
    size_t j = i + 1;
    for (; j < lines.size() && !SectionName(lines[j], &name); ++j) {
      if (KeyName(lines[j], &name) && SameName(name, key)) {
        lines[j] = name + "=" + value + "\r\n";  // the key keeps its spelling in the file
        break;
      }
      if (!Trim(Body(lines[j])).empty()) lastFilled = j;
    }
    if (j == lines.size() || SectionName(lines[j], &name)) {
      EnsureEnded(&lines[lastFilled]);
      lines.insert(lines.begin() + static_cast<long>(lastFilled) + 1, entry);
    }
  }
  std::string out;
  for (const auto& l : lines) out += l;
  return out;
}

}  // namespace stand_in
