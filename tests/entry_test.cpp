// The entry's choice of mode: any argument resets the menu timeout and ends with an exit
// code that tells whether the file was written; no argument opens the window.
#include <string>

#include "bootcfg/boot_file.h"
#include "shell/app.h"
#include "support/boot_fixture.h"

#ifndef _WIN32
#include "platform/linux/stand_in.h"
#endif

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int);

namespace {

const std::string kBefore =
    sample::BootIni("-1", sample::k2000Path, sample::OsLine(sample::k2000Path, "Windows 2000"));
const std::string kAfter =
    sample::BootIni("30", sample::k2000Path, sample::OsLine(sample::k2000Path, "Windows 2000"));

class CommandLineResetTest : public BootFileTest,
                             public ::testing::WithParamInterface<const char*> {};

TEST_P(CommandLineResetTest, AnyArgumentResetsTimeoutOnly) {
  WriteBootFile(kBefore);
  std::string args = GetParam();
  EXPECT_EQ(WinMain(nullptr, nullptr, &args[0], SW_SHOWDEFAULT), kExitOk);
  EXPECT_EQ(ReadBootFile(), kAfter);
#ifndef _WIN32
  EXPECT_TRUE(stand_in::CallsOf("RegisterClassA").empty());
  EXPECT_TRUE(stand_in::CallsOf("MessageBoxA").empty());
  EXPECT_TRUE(stand_in::CallsOf("ExitWindowsEx").empty());
#endif
}

INSTANTIATE_TEST_SUITE_P(Arguments, CommandLineResetTest,
                         ::testing::Values("x", "/s", "-reset", "30", "\"quoted arg\"", "a b c"));

using EntryTest = BootFileTest;

TEST_F(EntryTest, ResetOfHeldFileExitsOneAndChangesNothing) {
  WriteBootFile(kBefore);
  std::string args = "x";
  {
    ExclusiveHold hold;
    ASSERT_TRUE(hold.Holding());
    EXPECT_EQ(WinMain(nullptr, nullptr, &args[0], SW_SHOWDEFAULT), kExitNotWritten);
  }
  EXPECT_EQ(ReadBootFile(), kBefore);
}

// Where there is no boot file there is nothing to reset, and none is made up.
TEST_F(EntryTest, ResetWithoutBootFileExitsOneAndCreatesNone) {
  std::string args = "x";
  EXPECT_EQ(WinMain(nullptr, nullptr, &args[0], SW_SHOWDEFAULT), kExitNotWritten);
  EXPECT_EQ(ReadBootFile(), kMissing);
}

TEST_F(EntryTest, ResetOfReadOnlyFileWritesIt) {
  WriteBootFile(kBefore);
  ASSERT_TRUE(SetFileAttributesA(kBootFilePath, FILE_ATTRIBUTE_READONLY));
  std::string args = "x";
  EXPECT_EQ(WinMain(nullptr, nullptr, &args[0], SW_SHOWDEFAULT), kExitOk);
  EXPECT_EQ(ReadBootFile(), kAfter);
  EXPECT_TRUE(GetFileAttributesA(kBootFilePath) & FILE_ATTRIBUTE_READONLY);
}

#ifndef _WIN32
TEST_F(EntryTest, EmptyArgumentsOpenTheWindowAndWriteNothing) {
  WriteBootFile(kBefore);
  stand_in::PostToQueue(WM_COMMAND, IDCANCEL, true);
  std::string args;
  HINSTANCE self = reinterpret_cast<HINSTANCE>(static_cast<UINT_PTR>(0x400000));
  EXPECT_EQ(WinMain(self, nullptr, &args[0], SW_SHOWNORMAL), 0);
  EXPECT_EQ(g_hInstance, self);
  EXPECT_EQ(stand_in::CallsOf("RegisterClassA").size(), 1u);
  EXPECT_EQ(stand_in::CallsOf("ShowWindow"), std::vector<std::string>{"ShowWindow(dialog, 1)"});
  EXPECT_TRUE(stand_in::CallsOf("WritePrivateProfileStringA").empty());
  EXPECT_EQ(ReadBootFile(), kBefore);
}
#endif

}  // namespace
