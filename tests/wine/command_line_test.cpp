// What the run time makes of the process command line decides the mode: the real program is
// started with exact command lines, as Explorer, a shortcut or a script would start it.
// Interactive mode shows itself by its dialog (which the test then cancels); the reset by
// writing the timeout and ending on its own.
#include <windows.h>

#include <string>

#include "support/boot_fixture.h"

namespace {

const std::string kBefore =
    sample::BootIni("7", sample::kDosPath, sample::OsLine(sample::kDosPath, "DOS"));
const std::string kReset =
    sample::BootIni("30", sample::kDosPath, sample::OsLine(sample::kDosPath, "DOS"));

// The program as built, beside the folder of this test program.
std::string BuiltProgram() {
  char self[MAX_PATH];
  DWORD n = GetModuleFileNameA(nullptr, self, sizeof self);
  std::string path(self, n);
  path = path.substr(0, path.rfind('\\'));  // ...\tests
  return path.substr(0, path.rfind('\\')) + "\\brisvane.exe";
}

// A copy in a folder whose name has a blank, as an installed program's usually does.
const char kInstalledFolder[] = "c:\\Program Files\\Brisvane";
const char kInstalled[] = "c:\\Program Files\\Brisvane\\brisvane.exe";
// A copy in a folder with a Japanese name, c:\ツール, in Shift_JIS: every byte of the name
// after the first is above 0x7F.
const char kToolFolder[] = "c:\\\x83\x63\x81\x5b\x83\x8b";
const char kInTools[] = "c:\\\x83\x63\x81\x5b\x83\x8b\\brisvane.exe";

struct ProcessWindow {
  DWORD pid;
  HWND found;
};

BOOL CALLBACK FindOwnWindow(HWND hwnd, LPARAM param) {
  auto* search = reinterpret_cast<ProcessWindow*>(param);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  char cls[16] = "";
  GetClassNameA(hwnd, cls, sizeof cls);
  // Wine gives a process helper windows of its own (IME); only the dialog counts.
  if (pid != search->pid || std::string(cls) != "#32770") return TRUE;
  search->found = hwnd;
  return FALSE;
}

enum class Mode { kInteractive, kReset, kNeither };

struct Outcome {
  Mode mode;
  DWORD exitCode;
};

// Starts `commandLine` and watches: a window of the new process means the interactive mode,
// which is then cancelled as a user would; the process ending without one means the reset.
Outcome Start(std::string commandLine) {
  STARTUPINFOA si = {};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi = {};
  if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                      &pi))
    return {Mode::kNeither, GetLastError()};
  Outcome run = {Mode::kNeither, STILL_ACTIVE};
  for (int waited = 0; waited < 120000; waited += 100) {
    if (WaitForSingleObject(pi.hProcess, 100) == WAIT_OBJECT_0) {
      if (run.mode == Mode::kNeither) run.mode = Mode::kReset;
      break;
    }
    ProcessWindow search = {pi.dwProcessId, nullptr};
    EnumWindows(FindOwnWindow, reinterpret_cast<LPARAM>(&search));
    // Cancelled as a user would, again every few seconds in case the first one came
    // before the dialog was ready for it.
    if (search.found && (run.mode == Mode::kNeither || waited % 5000 == 0)) {
      run.mode = Mode::kInteractive;
      PostMessageA(search.found, WM_COMMAND, IDCANCEL, 0);
    }
  }
  if (WaitForSingleObject(pi.hProcess, 0) != WAIT_OBJECT_0) TerminateProcess(pi.hProcess, 99);
  GetExitCodeProcess(pi.hProcess, &run.exitCode);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return run;
}

// Which copy of the program a line starts.
enum class Copy {
  kBuilt,      // where the build put it
  kInstalled,  // in a folder whose path has a blank, so it must be quoted
  kInTools,    // in the Japanese folder
};

struct LineCase {
  const char* name;
  Copy copy;
  const char* before;  // what stands before the path
  const char* after;   // what follows it
  Mode mode;
};

void PrintTo(const LineCase& c, std::ostream* os) { *os << c.name; }

const LineCase kLines[] = {
    {"NameAlone", Copy::kBuilt, "", "", Mode::kInteractive},
    {"QuotedNameAlone", Copy::kBuilt, "\"", "\"", Mode::kInteractive},
    {"QuotedNameWithBlankAlone", Copy::kInstalled, "\"", "\"", Mode::kInteractive},
    {"NameFollowedByBlanks", Copy::kBuilt, "", "   ", Mode::kInteractive},
    {"NameFollowedByBlanksAndTab", Copy::kBuilt, "", " \t ", Mode::kInteractive},
    {"QuotedNameFollowedByTabAndBlank", Copy::kInstalled, "\"", "\"\t ", Mode::kInteractive},
    {"JapaneseFolderUnquoted", Copy::kInTools, "", "", Mode::kInteractive},
    {"JapaneseFolderQuoted", Copy::kInTools, "\"", "\"", Mode::kInteractive},
    {"SingleLetter", Copy::kBuilt, "", " x", Mode::kReset},
    {"SwitchLikeWord", Copy::kInstalled, "\"", "\" /s", Mode::kReset},
    {"ArgumentAfterManyBlanks", Copy::kBuilt, "", "     -reset", Mode::kReset},
    {"QuotedArgument", Copy::kInstalled, "\"", "\" \"a b\"", Mode::kReset},
    {"JapaneseArgument", Copy::kInstalled, "\"", "\" \x83\x8a\x83\x5a\x83\x62\x83\x67",
     Mode::kReset},
    // brisvane.exe 漢
    {"JapaneseArgumentOfOneCharacter", Copy::kBuilt, "", " \x8a\xbf", Mode::kReset},
    {"JapaneseFolderUnquotedWithArgument", Copy::kInTools, "", " x", Mode::kReset},
    // The closing quote ends the name, whatever follows it.
    {"TextRightAfterTheClosingQuote", Copy::kBuilt, "\"", "\"x", Mode::kReset},
};

std::string PathOf(Copy copy) {
  switch (copy) {
    case Copy::kInstalled:
      return kInstalled;
    case Copy::kInTools:
      return kInTools;
    case Copy::kBuilt:
      break;
  }
  return BuiltProgram();
}

class CommandLineTest : public BootFileTest, public ::testing::WithParamInterface<LineCase> {
 protected:
  static void SetUpTestSuite() {
    CreateDirectoryA("c:\\Program Files", nullptr);
    CreateDirectoryA(kInstalledFolder, nullptr);
    ASSERT_TRUE(CopyFileA(BuiltProgram().c_str(), kInstalled, FALSE)) << BuiltProgram();
    CreateDirectoryA(kToolFolder, nullptr);
    ASSERT_TRUE(CopyFileA(BuiltProgram().c_str(), kInTools, FALSE)) << BuiltProgram();
  }
  static void TearDownTestSuite() {
    DeleteFileA(kInstalled);
    RemoveDirectoryA(kInstalledFolder);
    DeleteFileA(kInTools);
    RemoveDirectoryA(kToolFolder);
  }
};

TEST_P(CommandLineTest, ChoosesTheMode) {
  const LineCase& c = GetParam();
  WriteBootFile(kBefore);
  const Outcome run = Start(c.before + PathOf(c.copy) + c.after);
  ASSERT_EQ(run.mode, c.mode) << "exit code " << run.exitCode;
  EXPECT_EQ(run.exitCode, 0u);
  EXPECT_EQ(ReadBootFile(), c.mode == Mode::kReset ? kReset : kBefore);
}

INSTANTIATE_TEST_SUITE_P(Lines, CommandLineTest, ::testing::ValuesIn(kLines),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
