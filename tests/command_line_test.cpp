// Where the arguments begin in a process command line: after the program's name and the
// blanks and control characters that follow it. Bytes from 0x80 up are never blanks; they are
// the Shift_JIS of a Japanese folder or argument. Runs natively and under Wine, both with
// code page 932 as the ANSI code page.
#include "shell/command_line.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

struct LineCase {
  const char* name;
  const char* line;
  const char* arguments;  // what must be left
};

void PrintTo(const LineCase& c, std::ostream* os) { *os << c.name; }

const LineCase kCases[] = {
    {"Empty", "", ""},
    {"NameAlone", "brisvane.exe", ""},
    {"NameAndLetter", "brisvane.exe x", "x"},
    {"BlanksTabsAndControlsBeforeTheArgument", "brisvane.exe \t\x01\x1f -reset", "-reset"},
    {"ArgumentKeepsItsInnerAndTrailingBlanks", "brisvane.exe a  b ", "a  b "},
    {"NameThenOnlyBlanksAndTab", "brisvane.exe  \t ", ""},
    {"DeleteIsNotABlank", "brisvane.exe \x7f", "\x7f"},
    {"QuotedName", "\"C:\\Program Files\\Brisvane\\brisvane.exe\"", ""},
    {"QuotedNameAndSwitch", "\"C:\\Program Files\\Brisvane\\brisvane.exe\" /s", "/s"},
    {"QuotedNameThenTabAndBlank", "\"C:\\b.exe\"\t ", ""},
    // The closing quote ends the name, whatever follows it.
    {"TextRightAfterTheClosingQuote", "\"C:\\brisvane.exe\"x", "x"},
    {"QuotedArgument", "\"C:\\b.exe\" \"a b\"", "\"a b\""},
    {"UnclosedQuoteIsAllName", "\"C:\\Program Files\\b.exe x", ""},
    // An unquoted name ends at a blank only, so a quote inside it is part of it.
    {"QuoteInsideUnquotedName", "b.exe\"x\" y", "y"},
    // C:\ツール\brisvane.exe
    {"JapaneseFolderUnquoted", "C:\\\x83\x63\x81\x5b\x83\x8b\\brisvane.exe", ""},
    {"JapaneseFolderQuoted", "\"C:\\\x83\x63\x81\x5b\x83\x8b\\brisvane.exe\"", ""},
    {"JapaneseFolderUnquotedWithArgument", "C:\\\x83\x63\x81\x5b\x83\x8b\\brisvane.exe x", "x"},
    // brisvane.exe 漢
    {"JapaneseArgument", "brisvane.exe \x8a\xbf", "\x8a\xbf"},
    // A full-width blank (0x81 0x40) is a character, not a separator.
    {"FullWidthBlankIsPartOfTheName", "brisvane.exe\x81\x40x", ""},
    {"HighByteAfterBlankIsAnArgument", "brisvane.exe \xff", "\xff"},
    // Inside quotes a double-byte character is stepped over whole: a trail byte that happens
    // to be a quote's byte does not end the name.
    {"LeadByteSwallowsTheNextByte", "\"a\x83\"\" z", "z"},
    {"LeadByteLastInUnclosedName", "\"C:\\\x83", ""},
    {"SingleByteKatakanaIsNoLeadByte", "\"\xb1\" z", "z"},
};

class ArgumentsOfTest : public ::testing::TestWithParam<LineCase> {};

TEST_P(ArgumentsOfTest, LeavesTheArguments) {
  const LineCase& c = GetParam();
  // Exactly the line and its terminator, so that a read past the end shows under ASan.
  const size_t length = std::strlen(c.line);
  std::vector<char> line(c.line, c.line + length + 1);
  const char* arguments = ArgumentsOf(line.data());
  EXPECT_EQ(std::string(arguments), c.arguments);
  // A suffix of the line itself, not a copy.
  EXPECT_EQ(arguments, line.data() + length - std::strlen(c.arguments));
}

INSTANTIATE_TEST_SUITE_P(Lines, ArgumentsOfTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
