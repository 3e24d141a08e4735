// The line reader: what each call of ReadLine hands back for a given file.
#include "bootcfg/file_reader.h"

#include <string>
#include <vector>

#include "support/boot_fixture.h"

#ifndef _WIN32
#include "platform/linux/stand_in.h"
#endif

namespace {

struct Line {
  int result;
  std::string text;
  bool operator==(const Line& o) const { return result == o.result && text == o.text; }
};

void PrintTo(const Line& l, std::ostream* os) {
  *os << "{" << l.result << ", \"" << l.text << "\"}";
}

struct ReaderCase {
  const char* name;
  std::string file;
  int maxChars;
  std::vector<Line> lines;  // successive ReadLine results, the last one the first 0 after data
};

const std::string k300 = [] {
  std::string s;
  for (int i = 0; i < 300; ++i) s += static_cast<char>('A' + i % 26);
  return s;
}();

const ReaderCase kReaderCases[] = {
    {"CrLfEndsLine", "abc\r\ndef\r\n", 256, {{3, "abc"}, {3, "def"}, {0, ""}}},
    {"CrInsideLineDropped", "x\ry\n", 256, {{2, "xy"}, {0, ""}}},
    {"CrLfAloneIsEmpty", "\r\nabc\r\n", 256, {{0, ""}, {3, "abc"}}},
    {"LfOnlyLines", "a\nbc\n", 256, {{1, "a"}, {2, "bc"}, {0, ""}}},
    {"LastLineWithoutLf", "abc", 256, {{3, "abc"}, {0, ""}}},
    {"EmptyFile", "", 256, {{0, ""}, {0, ""}}},
    {"ExactlyMaxChars",
     std::string(256, 'q') + "\r\n",
     256,
     {{256, std::string(256, 'q')}, {0, ""}}},
    {"LongLineCutAndByteLost",
     k300 + "\r\n",
     256,
     {{257, k300.substr(0, 256)}, {43, k300.substr(257)}, {0, ""}}},
    {"CrAtCutIsNotCounted", "ab\rcd\n", 2, {{3, "ab"}, {1, "d"}, {0, ""}}},
    {"CutRightBeforeLf", "abc\n", 2, {{3, "ab"}, {0, ""}}},
};

void PrintTo(const ReaderCase& c, std::ostream* os) { *os << c.name; }

class ReadLineTest : public BootFileTest, public ::testing::WithParamInterface<ReaderCase> {};

TEST_P(ReadLineTest, ReturnsEachLineInTurn) {
  const ReaderCase& c = GetParam();
  WriteBootFile(c.file);
  FileReader reader("c:\\boot.ini", GENERIC_READ, OPEN_EXISTING);
  std::vector<Line> got;
  for (size_t i = 0; i < c.lines.size(); ++i) {
    std::vector<char> buffer(static_cast<size_t>(c.maxChars) + 1, '#');
    int r = reader.ReadLine(buffer.data(), c.maxChars);
    got.push_back({r, std::string(buffer.data())});
  }
  EXPECT_EQ(got, c.lines);
}

INSTANTIATE_TEST_SUITE_P(Lines, ReadLineTest, ::testing::ValuesIn(kReaderCases),
                         [](const auto& info) { return std::string(info.param.name); });

using FileReaderTest = BootFileTest;

TEST_F(FileReaderTest, MissingFileReadsAsEmpty) {
  FileReader reader("c:\\boot.ini", GENERIC_READ, OPEN_EXISTING);
  char buffer[257] = "leftover";
  EXPECT_EQ(reader.ReadLine(buffer, 256), 0);
  EXPECT_STREQ(buffer, "");
  char c = 'z';
  EXPECT_EQ(reader.ReadChar(&c), -1);
}

TEST_F(FileReaderTest, ReadCharTellsByteEndAndFailure) {
  WriteBootFile("k");
  FileReader reader("c:\\boot.ini", GENERIC_READ, OPEN_EXISTING);
  char c = 0;
  EXPECT_EQ(reader.ReadChar(&c), 1);
  EXPECT_EQ(c, 'k');
  EXPECT_EQ(reader.ReadChar(&c), 0);
}

// While the reader lives nobody else may open or write the file; once it is gone, both may.
TEST_F(FileReaderTest, HoldsFileExclusivelyUntilDestroyed) {
  WriteBootFile("[boot loader]\r\ntimeout=5\r\n");
  {
    FileReader reader("c:\\boot.ini", GENERIC_READ, OPEN_EXISTING);
    HANDLE other = CreateFileA("c:\\boot.ini", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                               nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    EXPECT_EQ(other, INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_SHARING_VIOLATION);
    EXPECT_FALSE(WritePrivateProfileStringA("boot loader", "timeout", "1", "c:\\boot.ini"));
  }
  EXPECT_TRUE(WritePrivateProfileStringA("boot loader", "timeout", "1", "c:\\boot.ini"));
  EXPECT_EQ(ReadBootFile(), "[boot loader]\r\ntimeout=1\r\n");
}

#ifndef _WIN32
// A read that fails half-way through a line ends it like the end of the file would.
TEST_F(FileReaderTest, FailedReadEndsLineWithWhatWasRead) {
  WriteBootFile("abcdef\r\nghi\r\n");
  stand_in::FailReadAfter(2);
  FileReader reader("c:\\boot.ini", GENERIC_READ, OPEN_EXISTING);
  char buffer[257];
  EXPECT_EQ(reader.ReadLine(buffer, 256), 2);
  EXPECT_STREQ(buffer, "ab");
  EXPECT_EQ(reader.ReadLine(buffer, 256), 0);
  EXPECT_STREQ(buffer, "");
}

// One platform read per byte, and the handle is released on the way out.
TEST_F(FileReaderTest, ReadsOneByteACallAndClosesTheHandle) {
  WriteBootFile("ab\r\n");
  {
    FileReader reader("c:\\boot.ini", GENERIC_READ, OPEN_EXISTING);
    char buffer[257];
    reader.ReadLine(buffer, 256);
    reader.ReadLine(buffer, 256);
  }
  EXPECT_EQ(stand_in::CallsOf("ReadFile"), std::vector<std::string>(5, "ReadFile(1)"));
  EXPECT_EQ(stand_in::CallsOf("CreateFileA").at(0), "CreateFileA(c:\\boot.ini, 0x80000000, 0, 3)");
  EXPECT_EQ(stand_in::OpenHandleCount(), 0);
}
#endif

}  // namespace
