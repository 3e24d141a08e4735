// The stand-in's profile service, on its own: the edit WritePrivateProfileStringA makes, and
// the files it refuses. The program's tests lean on it, so each of its promises is pinned here.
#include <sys/stat.h>

#include <string>

#include "platform/linux/stand_in.h"
#include "support/boot_fixture.h"
#include "support/boot_ini.h"

namespace {

const char kPath[] = "c:\\boot.ini";

struct EditCase {
  const char* name;
  std::string before;
  const char* section;
  const char* key;
  const char* value;
  std::string after;
};

void PrintTo(const EditCase& c, std::ostream* os) { *os << c.name; }

const EditCase kEdits[] = {
    {"KeyReplacedInPlaceKeepingItsSpelling", "[boot loader]\r\nTimeOut=30\r\ndefault=C:\\\r\n",
     "boot loader", "timeout", "0", "[boot loader]\r\nTimeOut=0\r\ndefault=C:\\\r\n"},
    {"SectionMatchedWhateverItsCase", "[Boot Loader]\r\ntimeout=30\r\n", "boot loader", "timeout",
     "0", "[Boot Loader]\r\ntimeout=0\r\n"},
    {"BlanksAroundNamesIgnoredAndDroppedFromTheKeysLine", "[ boot loader ]\r\n timeout = 30\r\n",
     "boot loader", "timeout", "0", "[ boot loader ]\r\ntimeout=0\r\n"},
    {"TextAfterTheClosingBracketIgnored", "[boot loader] ; Setup's\r\ntimeout=30\r\n",
     "boot loader", "timeout", "-1", "[boot loader] ; Setup's\r\ntimeout=-1\r\n"},
    {"NamesWithBytesAbove127MatchOnlyExactly",  // Ａ and ａ in Shift_JIS are no case pair
     "[\x82\x60]\r\nk=1\r\n", "\x82\x81", "k", "2", "[\x82\x60]\r\nk=1\r\n[\x82\x81]\r\nk=2\r\n"},
    {"OnlyTheFirstSectionOfTheNameEdited",
     "[boot loader]\r\ntimeout=1\r\n[boot loader]\r\ntimeout=2\r\n", "boot loader", "timeout", "0",
     "[boot loader]\r\ntimeout=0\r\n[boot loader]\r\ntimeout=2\r\n"},
    {"SameKeyInAnotherSectionUntouched",
     "[other]\r\ntimeout=1\r\n[boot loader]\r\ndefault=C:\\\r\n", "boot loader", "timeout", "0",
     "[other]\r\ntimeout=1\r\n[boot loader]\r\ndefault=C:\\\r\ntimeout=0\r\n"},
    {"MissingKeyAddedAfterTheSectionsLastLine",
     "[boot loader]\r\ndefault=C:\\\r\n\r\n[operating systems]\r\nC:\\=\"DOS\"\r\n", "boot loader",
     "timeout", "30",
     "[boot loader]\r\ndefault=C:\\\r\ntimeout=30\r\n\r\n[operating systems]\r\nC:\\=\"DOS\"\r\n"},
    {"MissingKeyAfterALastLineWithoutLineEnd", "[boot loader]\r\ndefault=C:\\", "boot loader",
     "timeout", "30", "[boot loader]\r\ndefault=C:\\\r\ntimeout=30\r\n"},
    {"MissingSectionAddedAtTheEnd", "[operating systems]\r\nC:\\=\"DOS\"\r\n", "boot loader",
     "timeout", "30", "[operating systems]\r\nC:\\=\"DOS\"\r\n[boot loader]\r\ntimeout=30\r\n"},
    {"MissingSectionAfterALastLineWithoutLineEnd", "[operating systems]\r\nC:\\=\"DOS\"",
     "boot loader", "timeout", "30",
     "[operating systems]\r\nC:\\=\"DOS\"\r\n[boot loader]\r\ntimeout=30\r\n"},
    {"EmptyFileGetsTheSection", "", "boot loader", "timeout", "30",
     "[boot loader]\r\ntimeout=30\r\n"},
    {"EmptyValue", "[boot loader]\r\ntimeout=30\r\n", "boot loader", "timeout", "",
     "[boot loader]\r\ntimeout=\r\n"},
    // LF-only lines stay as they are; the line written ends in CR LF.
    {"LineEndsOfOtherLinesKept", "; by hand\n[boot loader]\ntimeout=30\ndefault=C:\\\n",
     "boot loader", "timeout", "0", "; by hand\n[boot loader]\ntimeout=0\r\ndefault=C:\\\n"},
    {"EveryOtherByteUntouched",
     "[boot loader]\r\ntimeout=30\r\n\r\n[operating systems]\r\n"
     "multi(0)disk(0)rdisk(0)partition(3)\\OS\x91\x49=\"\x93\xfa\x96\x7b\" /fastdetect\r\n"
     "; \t note \r\n",
     "boot loader", "timeout", "-1",
     "[boot loader]\r\ntimeout=-1\r\n\r\n[operating systems]\r\n"
     "multi(0)disk(0)rdisk(0)partition(3)\\OS\x91\x49=\"\x93\xfa\x96\x7b\" /fastdetect\r\n"
     "; \t note \r\n"},
};

class ProfileEditTest : public BootFileTest, public ::testing::WithParamInterface<EditCase> {};

TEST_P(ProfileEditTest, WritesExactlyThis) {
  const EditCase& c = GetParam();
  WriteBootFile(c.before);
  EXPECT_TRUE(WritePrivateProfileStringA(c.section, c.key, c.value, kPath));
  EXPECT_EQ(GetLastError(), 0u);
  EXPECT_EQ(ReadBootFile(), c.after);
}

INSTANTIATE_TEST_SUITE_P(Edits, ProfileEditTest, ::testing::ValuesIn(kEdits),
                         [](const auto& info) { return std::string(info.param.name); });

// A file as Setup leaves it, before each refusal.
const std::string kSetupFile = sample::BootIni("30", sample::kXpPath, sample::SetupSystems());

// Files the service may not rewrite, and calls it does not take: the call fails with this
// error and the file keeps every byte. Like a service that rewrites the file with
// CREATE_ALWAYS and normal attributes, it is refused a file that is read-only, hidden or
// system, which then keeps its attributes too (what makes the program lift them).
enum class Obstacle {
  kAttributes,
  kHeldExclusively,
  kHeldForReading,
  kInjectedFailure,
  kDeletion,
  kNoDriveLetter
};

struct RefusalCase {
  const char* name;
  Obstacle obstacle;
  DWORD attributes;  // the file's, for kAttributes
  DWORD error;
};

void PrintTo(const RefusalCase& c, std::ostream* os) { *os << c.name; }

const RefusalCase kRefusals[] = {
    {"ReadOnlyFile", Obstacle::kAttributes, 0x1, 5},  // ERROR_ACCESS_DENIED
    {"HiddenFile", Obstacle::kAttributes, 0x2, 5},
    {"SystemFile", Obstacle::kAttributes, 0x4, 5},
    {"HiddenSystemFile", Obstacle::kAttributes, 0x6, 5},
    {"HiddenArchivedFile", Obstacle::kAttributes, 0x22, 5},
    {"FileHeldWithoutSharing", Obstacle::kHeldExclusively, 0, 32},  // ERROR_SHARING_VIOLATION
    {"FileHeldSharingReadsOnly", Obstacle::kHeldForReading, 0, 32},
    {"FailureInjected", Obstacle::kInjectedFailure, 0, 5},
    {"DeletionOfAKey", Obstacle::kDeletion, 0, 87},              // ERROR_INVALID_PARAMETER
    {"PathWithoutDriveLetter", Obstacle::kNoDriveLetter, 0, 3},  // ERROR_PATH_NOT_FOUND
};

class ProfileRefusalTest : public BootFileTest,
                           public ::testing::WithParamInterface<RefusalCase> {};

TEST_P(ProfileRefusalTest, FailsAndLeavesTheFile) {
  const RefusalCase& c = GetParam();
  WriteBootFile(kSetupFile);
  HANDLE held = INVALID_HANDLE_VALUE;
  const char* path = kPath;
  const char* value = "0";
  switch (c.obstacle) {
    case Obstacle::kAttributes:
      ASSERT_TRUE(SetFileAttributesA(kPath, c.attributes));
      break;
    case Obstacle::kHeldExclusively:
      held = CreateFileA(kPath, GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
      break;
    case Obstacle::kHeldForReading:
      held = CreateFileA(kPath, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
      break;
    case Obstacle::kInjectedFailure:
      stand_in::FailCall("WritePrivateProfileStringA");
      break;
    case Obstacle::kDeletion:
      value = nullptr;
      break;
    case Obstacle::kNoDriveLetter:
      path = "boot.ini";
      break;
  }
  SetLastError(0);
  EXPECT_FALSE(WritePrivateProfileStringA("boot loader", "timeout", value, path));
  EXPECT_EQ(GetLastError(), c.error);
  if (held != INVALID_HANDLE_VALUE) CloseHandle(held);
  if (c.obstacle == Obstacle::kAttributes) {
    EXPECT_EQ(GetFileAttributesA(kPath), c.attributes);
  }
  SetFileAttributesA(kPath, FILE_ATTRIBUTE_NORMAL);
  EXPECT_EQ(ReadBootFile(), kSetupFile);
}

INSTANTIATE_TEST_SUITE_P(Refusals, ProfileRefusalTest, ::testing::ValuesIn(kRefusals),
                         [](const auto& info) { return std::string(info.param.name); });

using ProfileServiceTest = BootFileTest;

// The archive attribute alone is no obstacle, and survives the rewrite.
TEST_F(ProfileServiceTest, ArchivedFileIsWrittenAndStaysArchived) {
  WriteBootFile(kSetupFile);
  ASSERT_TRUE(SetFileAttributesA(kPath, 0x20));  // FILE_ATTRIBUTE_ARCHIVE
  EXPECT_TRUE(WritePrivateProfileStringA("boot loader", "timeout", "0", kPath));
  EXPECT_EQ(ReadBootFile(), sample::BootIni("0", sample::kXpPath, sample::SetupSystems()));
  EXPECT_EQ(GetFileAttributesA(kPath), 0x20u);
}

// The rewrite keeps the file's permissions: a file others may not read stays so.
TEST_F(ProfileServiceTest, FileKeepsItsPermissions) {
  WriteBootFile("[boot loader]\r\ntimeout=30\r\n");
  const std::string host = stand_in::HostPath(kPath);
  ASSERT_EQ(chmod(host.c_str(), 0600), 0);
  EXPECT_TRUE(WritePrivateProfileStringA("boot loader", "timeout", "0", kPath));
  struct stat st;
  ASSERT_EQ(stat(host.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0600u);
}

// As on Windows, a missing file is made, holding just the section and the key.
TEST_F(ProfileServiceTest, MissingFileIsMade) {
  EXPECT_TRUE(WritePrivateProfileStringA("boot loader", "timeout", "30", kPath));
  EXPECT_EQ(ReadBootFile(), "[boot loader]\r\ntimeout=30\r\n");
}

// All three names null asks Windows to forget its cached files; nothing is cached here, and
// nothing is written.
TEST_F(ProfileServiceTest, CacheFlushWritesNothing) {
  WriteBootFile("[boot loader]\r\ntimeout=30\r\n");
  EXPECT_TRUE(WritePrivateProfileStringA(nullptr, nullptr, nullptr, kPath));
  EXPECT_EQ(ReadBootFile(), "[boot loader]\r\ntimeout=30\r\n");
  RemoveBootFile();
  EXPECT_TRUE(WritePrivateProfileStringA(nullptr, nullptr, nullptr, kPath));
  EXPECT_EQ(ReadBootFile(), kMissing);
}

}  // namespace
