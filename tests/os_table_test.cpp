// The table of systems: which rows a boot file gives, and how one line splits into a row.
#include "bootcfg/os_table.h"

#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "support/boot_fixture.h"

namespace {

using Rows = std::vector<std::pair<std::string, std::string>>;

using sample::k2000Path;
using sample::kXpPath;
// "Windows XP 日本語版" in Shift_JIS: the bytes pass through unconverted.
const char kSjisName[] = "Windows XP \x93\xfa\x96\x7b\x8c\xea\x94\xc5";

std::string Systems(const std::string& lines) { return sample::BootIni("30", kXpPath, lines); }

struct TableCase {
  const char* name;
  std::string file;
  Rows rows;
};

const TableCase kTableCases[] = {
    {"TwoSystemsInFileOrder",
     Systems(sample::OsLine(kXpPath, "Microsoft Windows XP Professional", "/fastdetect") +
             sample::OsLine(k2000Path, "Windows 2000", "/fastdetect")),
     {{kXpPath, "Microsoft Windows XP Professional"}, {k2000Path, "Windows 2000"}}},
    {"LastLineWithoutLineEnd", Systems(std::string(kXpPath) + "=\"XP\""), {{kXpPath, "XP"}}},
    {"BytesAbove127Kept",
     Systems(sample::OsLine(kXpPath, kSjisName, "/noexecute=optin")),
     {{kXpPath, kSjisName}}},
    {"HeaderCaseMatters", "[Operating Systems]\r\nC:\\=\"DOS\"\r\n", {}},
    {"HeaderWithTrailingBlankIsNoHeader", "[operating systems] \r\nC:\\=\"DOS\"\r\n", {}},
    {"HeaderWithLeadingBlankIsNoHeader", " [operating systems]\r\nC:\\=\"DOS\"\r\n", {}},
    {"EmptyLineBeforeHeaderEndsSearch",
     "[boot loader]\r\n\r\n[operating systems]\r\nC:\\=\"DOS\"\r\n",
     {}},
    {"HeaderAtEndOfFile", "[operating systems]\r\n", {}},
    {"EmptyLineRightAfterHeader", "[operating systems]\r\n\r\nC:\\=\"DOS\"\r\n", {}},
    {"EmptyLineEndsSection",
     "[operating systems]\r\nA=\"one\"\r\n\r\nB=\"two\"\r\n",
     {{"A", "one"}}},
    {"FollowingSectionBecomesRows",
     "[operating systems]\r\nC:\\=\"DOS\"\r\n[boot loader]\r\ntimeout=30\r\n; note\r\n",
     {{"C:\\", "DOS"}, {"[boot loader]", ""}, {"timeout", ""}, {"; note", ""}}},
    {"EmptyFile", "", {}},
};

void PrintTo(const TableCase& c, std::ostream* os) { *os << c.name; }

class LoadOsTableTest : public BootFileTest, public ::testing::WithParamInterface<TableCase> {};

Rows LoadedRows() {
  Rows rows;
  for (int i = 0; i < g_osCount; ++i)
    rows.emplace_back(g_osEntries[i].bootPath, g_osEntries[i].description);
  return rows;
}

TEST_P(LoadOsTableTest, GivesTheseRows) {
  WriteBootFile(GetParam().file);
  g_osCount = 5;  // what an earlier load left must not count
  LoadOsTable();
  EXPECT_EQ(LoadedRows(), GetParam().rows);
}

INSTANTIATE_TEST_SUITE_P(Files, LoadOsTableTest, ::testing::ValuesIn(kTableCases),
                         [](const auto& info) { return std::string(info.param.name); });

using OsTableTest = BootFileTest;

TEST_F(OsTableTest, MissingFileGivesNoRows) {
  g_osCount = 3;
  LoadOsTable();
  EXPECT_EQ(g_osCount, 0);
}

// The table holds 16 rows; the load stops there so that row i is still line i of the list.
TEST_F(OsTableTest, SeventeenthSystemOnwardIsLeftOut) {
  struct {
    int systems;  // "System 1" .. "System n" in the file
    int rows;     // what the table holds: "System 1" .. "System rows"
  } const kCases[] = {{15, 15}, {16, 16}, {17, 16}, {20, 16}};
  for (const auto& c : kCases) {
    SCOPED_TRACE(std::to_string(c.systems) + " systems");
    std::string lines;
    Rows expected;
    for (int i = 1; i <= c.systems; ++i) {
      std::string path = "multi(0)disk(0)rdisk(0)partition(" + std::to_string(i) + ")\\WINDOWS";
      std::string name = "System " + std::to_string(i);
      lines += path + "=\"" + name + "\" /fastdetect\r\n";
      if (i <= c.rows) expected.emplace_back(path, name);
    }
    WriteBootFile(Systems(lines));
    LoadOsTable();
    EXPECT_EQ(g_osCount, c.rows);
    EXPECT_EQ(LoadedRows(), expected);
  }
}

// A line longer than the reader's 256 characters comes back in two pieces: two rows.
TEST_F(OsTableTest, OverlongLineBecomesTwoRows) {
  const std::string longPath(300, 'p');
  WriteBootFile(Systems(longPath + "=\"Long\"\r\nC:\\=\"DOS\"\r\n"));
  LoadOsTable();
  ASSERT_EQ(g_osCount, 3);
  EXPECT_EQ(std::string(g_osEntries[0].bootPath, 256), longPath.substr(0, 256));
  EXPECT_EQ(g_osEntries[0].description[0], '\0');
  EXPECT_EQ(std::string(g_osEntries[1].bootPath), std::string(43, 'p'));
  EXPECT_EQ(std::string(g_osEntries[1].description), "Long");
  EXPECT_EQ(std::string(g_osEntries[2].bootPath), "C:\\");
}

struct SplitCase {
  const char* name;
  std::string line;
  std::string bootPath;
  std::string description;
};

const SplitCase kSplitCases[] = {
    {"PathAndQuotedDescription", "C:\\=\"Windows 98\" /win95", "C:\\", "Windows 98"},
    {"UnquotedDescriptionIsEmpty", "C:\\=Windows 98", "C:\\", ""},
    {"NoSeparatorAtAll", "C:\\WINNT", "C:\\WINNT", ""},
    {"StartsWithEquals", "=\"x\"", "", "x"},
    {"BlanksBeforeEqualsBelongToPath", " C:\\ =\"x\"", " C:\\ ", "x"},
    {"BlankAfterEqualsEndsScan", "C:\\= \"x\"", "C:\\", ""},
    {"TwoEqualsOpenDescription", "C:\\==x", "C:\\", "x"},
    {"QuoteAloneOpensLikeEquals", "C:\\\"\"x\"y", "C:\\", "x"},
    {"EmptyQuotes", "C:\\=\"\" /sos", "C:\\", ""},
    {"SwitchesAfterQuoteIgnored", "C:\\=\"a b\" /fastdetect /sos", "C:\\", "a b"},
    {"EmptyLine", "", "", ""},
};

void PrintTo(const SplitCase& c, std::ostream* os) { *os << c.name; }

class ParseOsLineTest : public ::testing::TestWithParam<SplitCase> {};

TEST_P(ParseOsLineTest, SplitsLine) {
  OsEntry row;
  std::memset(&row, '#', sizeof row);
  ParseOsLine(GetParam().line.c_str(), row);
  EXPECT_EQ(std::string(row.bootPath), GetParam().bootPath);
  EXPECT_EQ(std::string(row.description), GetParam().description);
}

INSTANTIATE_TEST_SUITE_P(Lines, ParseOsLineTest, ::testing::ValuesIn(kSplitCases),
                         [](const auto& info) { return std::string(info.param.name); });

// Only 256 positions are looked at; a boot path that fills them all is terminated by the
// description's first byte, and nothing outside the row is touched.
TEST(ParseOsLineLimits, FullLengthPathStaysInsideItsRow) {
  struct {
    OsEntry rows[3];
  } guarded;
  std::memset(&guarded, '#', sizeof guarded);
  const std::string line = std::string(256, 'p') + "=\"beyond the reader's limit\"";
  ParseOsLine(line.c_str(), guarded.rows[1]);
  EXPECT_EQ(std::string(guarded.rows[1].bootPath, 256), std::string(256, 'p'));
  EXPECT_EQ(guarded.rows[1].description[0], '\0');
  EXPECT_EQ(std::string(guarded.rows[0].description, 256), std::string(256, '#'));
  EXPECT_EQ(std::string(guarded.rows[2].bootPath, 256), std::string(256, '#'));
  EXPECT_EQ(std::string(guarded.rows[1].description + 1, 255), std::string(255, '#'));
}

TEST(ParseOsLineLimits, LongestDescriptionFitsItsField) {
  const std::string line = "==" + std::string(254, 'd') + "tail";
  OsEntry row;
  ParseOsLine(line.c_str(), row);
  EXPECT_EQ(std::string(row.bootPath), "");
  EXPECT_EQ(std::string(row.description), std::string(254, 'd'));
}

}  // namespace
