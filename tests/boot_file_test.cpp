// The two settings the program writes: only the named key changes, a read-only, hidden or
// system boot file is still written and keeps its attributes, and a write that cannot happen
// is reported.
#include "bootcfg/boot_file.h"

#include <string>
#include <vector>

#include "support/boot_fixture.h"

#ifndef _WIN32
#include "platform/linux/stand_in.h"
#endif

namespace {

using sample::k2000Path;
using sample::kXpPath;

// The systems of a file as Setup writes it, which the profile service on both platforms keeps
// byte for byte.
const std::string kSystemLines = sample::SetupSystems();

std::string Standard(const std::string& timeout = "30", const std::string& deflt = kXpPath) {
  return sample::BootIni(timeout, deflt, kSystemLines);
}

struct WriteCase {
  const char* name;
  BOOL (*write)(const char*);
  const char* value;
  std::string before;
  std::string after;
};

BOOL WriteDefault(const char* v) { return SetDefaultSystem(v); }
BOOL WriteTimeout(const char* v) { return SetMenuTimeout(v); }

// A boot path with Shift_JIS bytes ("\OS選択") goes to the file exactly as it was read.
const char kSjisPath[] = "multi(0)disk(0)rdisk(0)partition(3)\\OS\x91\x49\x91\xf0";

const WriteCase kWriteCases[] = {
    {"TimeoutZero", WriteTimeout, "0", Standard(), Standard("0")},
    {"TimeoutAsk", WriteTimeout, "-1", Standard(), Standard("-1")},
    {"TimeoutReset", WriteTimeout, "30", Standard("-1"), Standard()},
    {"DefaultOtherSystem", WriteDefault, k2000Path, Standard(), Standard("30", k2000Path)},
    {"DefaultWithHighBytes", WriteDefault, kSjisPath, Standard(), Standard("30", kSjisPath)},
    {"SectionAndKeyNamesIgnoreCase", WriteTimeout, "0",
     "[Boot Loader]\r\nTimeout=30\r\n[operating systems]\r\nC:\\=\"DOS\"\r\n",
     "[Boot Loader]\r\nTimeout=0\r\n[operating systems]\r\nC:\\=\"DOS\"\r\n"},
    {"MissingKeyAddedToItsSection", WriteTimeout, "0",
     std::string("[boot loader]\r\ndefault=") + kXpPath + "\r\n[operating systems]\r\n" +
         kSystemLines,
     std::string("[boot loader]\r\ndefault=") + kXpPath +
         "\r\ntimeout=0\r\n[operating systems]\r\n" + kSystemLines},
};

void PrintTo(const WriteCase& c, std::ostream* os) { *os << c.name; }

class SettingsWriteTest : public BootFileTest, public ::testing::WithParamInterface<WriteCase> {};

TEST_P(SettingsWriteTest, ChangesOnlyTheNamedKey) {
  const WriteCase& c = GetParam();
  WriteBootFile(c.before);
  EXPECT_TRUE(c.write(c.value));
  EXPECT_EQ(ReadBootFile(), c.after);
}

INSTANTIATE_TEST_SUITE_P(Writes, SettingsWriteTest, ::testing::ValuesIn(kWriteCases),
                         [](const auto& info) { return std::string(info.param.name); });

using BootFileWriteTest = BootFileTest;

// Setup leaves boot.ini read-only, hidden and system. The write must still land, and the
// file must keep exactly the attributes it had.
TEST_F(BootFileWriteTest, ReadOnlyFileIsWrittenAndKeepsItsAttributes) {
  WriteBootFile(Standard());
  const DWORD setup = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
  ASSERT_TRUE(SetFileAttributesA(kBootFilePath, setup));
  const DWORD before = GetFileAttributesA(kBootFilePath);
  ASSERT_TRUE(before & FILE_ATTRIBUTE_READONLY);
  EXPECT_TRUE(SetMenuTimeout("0"));
  EXPECT_TRUE(SetDefaultSystem(k2000Path));
  EXPECT_EQ(GetFileAttributesA(kBootFilePath), before);
  EXPECT_EQ(ReadBootFile(), Standard("0", k2000Path));
}

// Another program holding the file open without sharing: the write fails, says so, and
// changes nothing, attributes included.
TEST_F(BootFileWriteTest, WriteToHeldFileReportsFailure) {
  WriteBootFile(Standard());
  ASSERT_TRUE(SetFileAttributesA(kBootFilePath, FILE_ATTRIBUTE_READONLY));
  const DWORD before = GetFileAttributesA(kBootFilePath);
  {
    ExclusiveHold hold;
    ASSERT_TRUE(hold.Holding());
    EXPECT_FALSE(SetMenuTimeout("0"));
    EXPECT_FALSE(SetDefaultSystem(k2000Path));
  }
  EXPECT_EQ(GetFileAttributesA(kBootFilePath), before);
  EXPECT_EQ(ReadBootFile(), Standard());
}

// A missing section is added at the end of the file, with CR LF line ends.
TEST_F(BootFileWriteTest, MissingSectionIsAdded) {
  WriteBootFile("[operating systems]\r\nC:\\=\"DOS\"\r\n");
  EXPECT_TRUE(SetMenuTimeout("30"));
  EXPECT_EQ(ReadBootFile(),
            "[operating systems]\r\nC:\\=\"DOS\"\r\n[boot loader]\r\ntimeout=30\r\n");
}

// A boot file that is not there is not made up: no loader would read it.
TEST_F(BootFileWriteTest, MissingFileIsNotCreated) {
  EXPECT_FALSE(SetMenuTimeout("30"));
  EXPECT_FALSE(SetDefaultSystem(k2000Path));
  EXPECT_EQ(ReadBootFile(), kMissing);
}

#ifndef _WIN32
// The stand-in keeps every byte it was not asked to change: blanks, empty lines, LF-only
// lines and comments, as Windows' own profile service does.
TEST_F(BootFileWriteTest, UntouchedBytesSurviveExactly) {
  const std::string before =
      "; written by hand\n[boot loader]\r\n  timeout = 30  \r\n\r\ndefault=C:\\\n\r\n"
      "[operating systems]\nC:\\ = \"DOS\"\n";
  WriteBootFile(before);
  EXPECT_TRUE(SetMenuTimeout("0"));
  EXPECT_EQ(ReadBootFile(),
            "; written by hand\n[boot loader]\r\ntimeout=0\r\n\r\ndefault=C:\\\n\r\n"
            "[operating systems]\nC:\\ = \"DOS\"\n");
  EXPECT_TRUE(SetDefaultSystem("D:\\"));
  EXPECT_TRUE(WritePrivateProfileStringA("boot loader", "new", "1", "c:\\boot.ini"));
  EXPECT_EQ(ReadBootFile(),
            "; written by hand\n[boot loader]\r\ntimeout=0\r\n\r\ndefault=D:\\\r\nnew=1\r\n\r\n"
            "[operating systems]\nC:\\ = \"DOS\"\n");
}

// A write that fails after the attributes were lifted still puts them back, and the failure
// reaches the caller.
TEST_F(BootFileWriteTest, AttributesRestoredWhenTheWriteFails) {
  WriteBootFile(Standard());
  ASSERT_TRUE(SetFileAttributesA(kBootFilePath, FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN));
  stand_in::ClearCalls();
  stand_in::FailCall("WritePrivateProfileStringA");
  EXPECT_FALSE(SetMenuTimeout("0"));
  EXPECT_EQ(GetFileAttributesA(kBootFilePath), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
  EXPECT_EQ(ReadBootFile(), Standard());
  EXPECT_EQ(stand_in::CallsOf("SetFileAttributesA"),
            (std::vector<std::string>{"SetFileAttributesA(c:\\boot.ini, 0x80)",
                                      "SetFileAttributesA(c:\\boot.ini, 0x3)"}));
}

// The profile service is shown a plain file: read-only, hidden and system are lifted together
// for the write, any other attribute stays, and afterwards the file has exactly what it had.
struct LiftCase {
  const char* name;
  DWORD before;                       // as SetFileAttributesA is given them
  std::vector<std::string> setCalls;  // the program's SetFileAttributesA calls
};

void PrintTo(const LiftCase& c, std::ostream* os) { *os << c.name; }

// The lift for the write, then the file's own attributes back.
std::vector<std::string> Lift(const char* lifted, const char* restored) {
  return {std::string("SetFileAttributesA(c:\\boot.ini, ") + lifted + ")",
          std::string("SetFileAttributesA(c:\\boot.ini, ") + restored + ")"};
}

const LiftCase kLiftCases[] = {
    {"Normal", 0x80, {}},
    {"ArchiveOnly", 0x20, {}},
    {"ReadOnly", 0x1, Lift("0x80", "0x1")},
    {"Hidden", 0x2, Lift("0x80", "0x2")},
    {"System", 0x4, Lift("0x80", "0x4")},
    {"AsSetupLeavesIt", 0x7, Lift("0x80", "0x7")},
    {"AsSetupLeavesItArchived", 0x27, Lift("0x20", "0x27")},
};

class AttributeLiftTest : public BootFileTest, public ::testing::WithParamInterface<LiftCase> {};

TEST_P(AttributeLiftTest, EachWriteLandsAndTheAttributesComeBack) {
  const LiftCase& c = GetParam();
  WriteBootFile(Standard());
  ASSERT_TRUE(SetFileAttributesA(kBootFilePath, c.before));
  const DWORD before = GetFileAttributesA(kBootFilePath);
  stand_in::ClearCalls();
  EXPECT_TRUE(SetDefaultSystem(k2000Path));
  EXPECT_EQ(stand_in::CallsOf("SetFileAttributesA"), c.setCalls);
  EXPECT_EQ(GetFileAttributesA(kBootFilePath), before);
  EXPECT_TRUE(SetMenuTimeout("0"));
  EXPECT_EQ(GetFileAttributesA(kBootFilePath), before);
  EXPECT_EQ(ReadBootFile(), Standard("0", k2000Path));
}

INSTANTIATE_TEST_SUITE_P(Attributes, AttributeLiftTest, ::testing::ValuesIn(kLiftCases),
                         [](const auto& info) { return std::string(info.param.name); });

// A file that is not read-only is written without touching its attributes at all.
TEST_F(BootFileWriteTest, WritableFileAttributesNotTouched) {
  WriteBootFile(Standard());
  stand_in::ClearCalls();
  EXPECT_TRUE(SetMenuTimeout("0"));
  EXPECT_TRUE(stand_in::CallsOf("SetFileAttributesA").empty());
}
#endif

}  // namespace
