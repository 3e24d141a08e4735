// The selection dialog and window, seen through the recording stand-in: for each command and
// selection, exactly which platform calls happen, in which order, and what the file says after.
#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "bootcfg/os_table.h"
#include "dialog/select_dialog.h"
#include "platform/linux/stand_in.h"
#include "res/resource.h"
#include "res/ui_text.h"
#include "shell/app.h"
#include "support/boot_fixture.h"

namespace {

using sample::k2000Path;
using sample::kDosPath;
using sample::kXpPath;

// The list's rows in order: XP, 2000, and a system whose description is empty.
std::string BootIni(const std::string& timeout, const std::string& deflt) {
  return sample::BootIni(timeout, deflt,
                         sample::OsLine(kXpPath, "Windows XP", "/fastdetect") +
                             sample::OsLine(k2000Path, "Windows 2000", "/fastdetect") + kDosPath +
                             "=\r\n");
}

const std::string kBootIni = BootIni("30", kXpPath);

// The calls that make up what a command does; file reads and attribute juggling are left to
// the settings tests.
std::vector<std::string> Actions() {
  static const char* const kShown[] = {"WritePrivateProfileStringA",
                                       "OpenProcessToken",
                                       "LookupPrivilegeValueA",
                                       "AdjustTokenPrivileges",
                                       "ExitWindowsEx",
                                       "EndDialog",
                                       "PostQuitMessage",
                                       "MessageBoxA"};
  std::vector<std::string> out;
  for (const stand_in::Call& call : stand_in::Calls()) {
    bool shown = call.name == "CloseHandle" && call.args == std::vector<std::string>{"token"};
    for (const char* name : kShown) shown = shown || call.name == name;
    if (shown) out.push_back(stand_in::Render(call));
  }
  return out;
}

// The record rendered, without the calls of the functions named.
std::vector<std::string> CallsWithout(const std::vector<std::string>& names) {
  std::vector<std::string> out;
  for (const stand_in::Call& call : stand_in::Calls())
    if (std::find(names.begin(), names.end(), call.name) == names.end())
      out.push_back(stand_in::Render(call));
  return out;
}

std::string Write(const std::string& key, const std::string& value) {
  return "WritePrivateProfileStringA(boot loader, " + key + ", " + value + ", c:\\boot.ini)";
}
std::string Box(const std::string& text, const std::string& caption, const char* style) {
  return "MessageBoxA(dialog, " + text + ", " + caption + ", " + style + ")";
}

const std::vector<std::string> kRestart = {
    "OpenProcessToken(self, 0x28)", "LookupPrivilegeValueA(NULL, SeShutdownPrivilege)",
    "AdjustTokenPrivileges(token, 0, 1, 19, 0x2, 0, NULL, NULL)", "CloseHandle(token)",
    "ExitWindowsEx(0x6, 0)"};
const char kEnd[] = "EndDialog(dialog, 0)";
const char kQuit[] = "PostQuitMessage(0)";

std::vector<std::string> Join(std::vector<std::vector<std::string>> parts) {
  std::vector<std::string> out;
  for (auto& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

// What the switch does when every step works: both settings written, the restart asked for
// with the shutdown privilege, and the dialog ended.
std::vector<std::string> SwitchedTo(const std::string& path) {
  return Join({{Write("default", path), Write("timeout", "0")}, kRestart, {kEnd, kQuit}});
}

// One command given to the dialog, and what it must do. Unless a row says otherwise, nothing
// is selected, no call fails, nothing is done and the file stays as it was.
struct CommandCase {
  const char* name = nullptr;
  WPARAM command = 0;                // WM_COMMAND's whole wParam
  long selection = LB_ERR;           // LB_GETCURSEL's answer
  const char* fails = nullptr;       // a platform call made to fail
  int failsAt = 0;                   // which call of it
  std::vector<std::string> actions;  // the calls that make up what it does, in order
  std::string file = kBootIni;       // the boot file afterwards

  CommandCase& Selected(long row) {
    selection = row;
    return *this;
  }
  CommandCase& Failing(const char* call, int nth) {
    fails = call;
    failsAt = nth;
    return *this;
  }
  CommandCase& Does(std::vector<std::string> calls) {
    actions = std::move(calls);
    return *this;
  }
  CommandCase& Leaves(std::string bytes) {
    file = std::move(bytes);
    return *this;
  }
};

CommandCase Command(const char* name, WPARAM command) {
  CommandCase c;
  c.name = name;
  c.command = command;
  return c;
}

void PrintTo(const CommandCase& c, std::ostream* os) { *os << c.name; }

const CommandCase kCommands[] = {
    Command("SwitchRestartsIntoSelection", IDOK)
        .Selected(1)
        .Does(SwitchedTo(k2000Path))
        .Leaves(BootIni("0", k2000Path)),
    Command("SwitchRestartsIntoFirstRow", IDOK)
        .Selected(0)
        .Does(SwitchedTo(kXpPath))
        .Leaves(BootIni("0", kXpPath)),
    Command("SwitchWithRowWhoseDescriptionIsEmpty", IDOK)
        .Selected(2)
        .Does(SwitchedTo(kDosPath))
        .Leaves(BootIni("0", kDosPath)),
    Command("SwitchWithNothingSelected", IDOK).Selected(LB_ERR),
    Command("SwitchWithSelectionPastTable", IDOK).Selected(3),
    Command("BootMenuWithSelection", IDC_BOOTMENU)
        .Selected(0)
        .Does({Write("default", kXpPath), Write("timeout", "-1"), kEnd,
               Box(kTextBootMenuInfo, kCaptionBootMenuInfo, "0x0"), kQuit})
        .Leaves(BootIni("-1", kXpPath)),
    Command("BootMenuWithNothingSelected", IDC_BOOTMENU)
        .Selected(LB_ERR)
        .Does({Write("timeout", "-1"), kEnd, Box(kTextBootMenuInfo, kCaptionBootMenuInfo, "0x0"),
               kQuit})
        .Leaves(BootIni("-1", kXpPath)),
    Command("CancelWritesNothing", IDCANCEL).Selected(1).Does({kEnd, kQuit}),
    Command("AboutKeepsDialogOpen", IDC_ABOUT)
        .Selected(1)
        .Does({Box(kTextAbout, kCaptionAbout, "0x0")}),
    // A forced restart after a failed write would kill the user's programs and boot the old
    // system: the switch stops at the first failed write and says what the file now holds.
    Command("SwitchStopsWhenDefaultNotWritten", IDOK)
        .Selected(1)
        .Failing("WritePrivateProfileStringA", 1)
        .Does({Write("default", k2000Path), Box(kTextNotWrittenNoRestart, kAppName, "0x10")}),
    Command("SwitchStopsWhenTimeoutNotWrittenSayingDefaultChanged", IDOK)
        .Selected(1)
        .Failing("WritePrivateProfileStringA", 2)
        .Does({Write("default", k2000Path), Write("timeout", "0"),
               Box(kTextOnlyDefaultWrittenNoRestart, kAppName, "0x10")})
        .Leaves(BootIni("30", k2000Path)),
    Command("SwitchTellsWhenRestartRefused", IDOK)
        .Selected(1)
        .Failing("ExitWindowsEx", 1)
        .Does(Join({{Write("default", k2000Path), Write("timeout", "0")},
                    kRestart,
                    {Box(kTextRestartRefused, kAppName, "0x10"), kEnd, kQuit}}))
        .Leaves(BootIni("0", k2000Path)),
    Command("SwitchRestartsWithoutToken", IDOK)
        .Selected(1)
        .Failing("OpenProcessToken", 1)
        .Does({Write("default", k2000Path), Write("timeout", "0"), "OpenProcessToken(self, 0x28)",
               "ExitWindowsEx(0x6, 0)", kEnd, kQuit})
        .Leaves(BootIni("0", k2000Path)),
    // The user is told the menu will ask only when the file really says so, and otherwise
    // what the file now holds.
    Command("BootMenuStopsWhenDefaultNotWritten", IDC_BOOTMENU)
        .Selected(1)
        .Failing("WritePrivateProfileStringA", 1)
        .Does({Write("default", k2000Path), Box(kTextNotWritten, kAppName, "0x10")}),
    Command("BootMenuStopsWhenTimeoutNotWrittenSayingDefaultChanged", IDC_BOOTMENU)
        .Selected(1)
        .Failing("WritePrivateProfileStringA", 2)
        .Does({Write("default", k2000Path), Write("timeout", "-1"),
               Box(kTextOnlyDefaultWritten, kAppName, "0x10")})
        .Leaves(BootIni("30", k2000Path)),
    Command("BootMenuWithNothingSelectedStopsWhenTimeoutNotWritten", IDC_BOOTMENU)
        .Selected(LB_ERR)
        .Failing("WritePrivateProfileStringA", 1)
        .Does({Write("timeout", "-1"), Box(kTextNotWritten, kAppName, "0x10")}),
};

class DialogCommandTest : public BootFileTest, public ::testing::WithParamInterface<CommandCase> {};

// Every command is the dialog's own: the procedure says it handled it.
TEST_P(DialogCommandTest, DoesExactlyThis) {
  const CommandCase& c = GetParam();
  WriteBootFile(kBootIni);
  HWND dialog = stand_in::DialogWindow();
  ASSERT_EQ(SelectDlgProc(dialog, WM_INITDIALOG, 0, 0), TRUE);
  stand_in::ClearCalls();
  stand_in::SetCurSel(c.selection);
  if (c.fails) stand_in::FailCall(c.fails, c.failsAt);
  EXPECT_EQ(SelectDlgProc(dialog, WM_COMMAND, c.command, 0), TRUE);
  EXPECT_EQ(Actions(), c.actions);
  EXPECT_EQ(ReadBootFile(), c.file);
}

INSTANTIATE_TEST_SUITE_P(Commands, DialogCommandTest, ::testing::ValuesIn(kCommands),
                         [](const auto& info) { return std::string(info.param.name); });

// WM_COMMANDs that are no command of the dialog: a list notification, a button id with a
// notification code, an id the dialog does not have.
struct NoCommandCase {
  const char* name;
  WPARAM command;  // WM_COMMAND's whole wParam
};

void PrintTo(const NoCommandCase& c, std::ostream* os) { *os << c.name; }

const NoCommandCase kNoCommands[] = {
    {"ListDoubleClick", MAKEWPARAM(IDC_OSLIST, LBN_DBLCLK)},
    {"ListSelectionChange", MAKEWPARAM(IDC_OSLIST, LBN_SELCHANGE)},
    {"ButtonIdWithNotification", MAKEWPARAM(IDOK, 1)},
    {"UnknownId", 4},
};

class DialogNoCommandTest : public BootFileTest,
                            public ::testing::WithParamInterface<NoCommandCase> {};

// Left to the dialog manager: not handled, nothing done, the file as it was, whatever row is
// selected.
TEST_P(DialogNoCommandTest, IsNoCommand) {
  WriteBootFile(kBootIni);
  HWND dialog = stand_in::DialogWindow();
  ASSERT_EQ(SelectDlgProc(dialog, WM_INITDIALOG, 0, 0), TRUE);
  stand_in::ClearCalls();
  stand_in::SetCurSel(1);
  EXPECT_EQ(SelectDlgProc(dialog, WM_COMMAND, GetParam().command, 0), FALSE);
  EXPECT_TRUE(Actions().empty());
  EXPECT_EQ(ReadBootFile(), kBootIni);
}

INSTANTIATE_TEST_SUITE_P(NoCommands, DialogNoCommandTest, ::testing::ValuesIn(kNoCommands),
                         [](const auto& info) { return std::string(info.param.name); });

using DialogTest = BootFileTest;

// One list line per row, in file order, the empty description included.
TEST_F(DialogTest, InitialisationListsEveryRowInOrder) {
  WriteBootFile(kBootIni);
  EXPECT_EQ(SelectDlgProc(stand_in::DialogWindow(), WM_INITDIALOG, 0, 0), TRUE);
  EXPECT_EQ(stand_in::ListLines(), (std::vector<std::string>{"Windows XP", "Windows 2000", ""}));
  EXPECT_EQ(stand_in::CallsOf("SendDlgItemMessageA").front(),
            "SendDlgItemMessageA(dialog, 1002, LB_ADDSTRING, Windows XP)");
  EXPECT_EQ(stand_in::OpenHandleCount(), 0);  // the file is closed before anything is written
}

TEST_F(DialogTest, WithoutBootFileListIsEmptyAndSwitchDoesNothing) {
  HWND dialog = stand_in::DialogWindow();
  SelectDlgProc(dialog, WM_INITDIALOG, 0, 0);
  EXPECT_TRUE(stand_in::ListLines().empty());
  stand_in::SetCurSel(0);
  stand_in::ClearCalls();
  EXPECT_EQ(SelectDlgProc(dialog, WM_COMMAND, IDOK, 0), TRUE);
  EXPECT_TRUE(Actions().empty());
  EXPECT_EQ(ReadBootFile(), kMissing);
}

// Without a boot file the menu cannot be made to ask: the user is told, nothing is created.
TEST_F(DialogTest, WithoutBootFileBootMenuSaysNotWrittenAndStays) {
  HWND dialog = stand_in::DialogWindow();
  SelectDlgProc(dialog, WM_INITDIALOG, 0, 0);
  stand_in::ClearCalls();
  EXPECT_EQ(SelectDlgProc(dialog, WM_COMMAND, IDC_BOOTMENU, 0), TRUE);
  EXPECT_EQ(Actions(), std::vector<std::string>{Box(kTextNotWritten, kAppName, "0x10")});
  EXPECT_EQ(ReadBootFile(), kMissing);
}

TEST_F(DialogTest, AboutTwiceThenCancel) {
  WriteBootFile(kBootIni);
  HWND dialog = stand_in::DialogWindow();
  SelectDlgProc(dialog, WM_INITDIALOG, 0, 0);
  stand_in::ClearCalls();
  SelectDlgProc(dialog, WM_COMMAND, IDC_ABOUT, 0);
  SelectDlgProc(dialog, WM_COMMAND, IDC_ABOUT, 0);
  SelectDlgProc(dialog, WM_COMMAND, IDCANCEL, 0);
  const std::string about = Box(kTextAbout, kCaptionAbout, "0x0");
  EXPECT_EQ(Actions(), (std::vector<std::string>{about, about, kEnd, kQuit}));
}

TEST_F(DialogTest, OtherMessagesAreNotHandled) {
  for (UINT message : {UINT{WM_CLOSE}, UINT{WM_DESTROY}, UINT{WM_KEYDOWN}, UINT{0x0400}})
    EXPECT_EQ(SelectDlgProc(stand_in::DialogWindow(), message, IDOK, 0), FALSE) << message;
  EXPECT_TRUE(Actions().empty());
}

// --- The selection window: class, creation, start-up failures and the message loop. ---

const HINSTANCE kSelf = reinterpret_cast<HINSTANCE>(static_cast<UINT_PTR>(0x400000));

int RunWindow(int nCmdShow = SW_SHOWNORMAL) {
  g_hInstance = kSelf;
  return RunSelectionWindow(kSelf, nCmdShow);
}

TEST_F(DialogTest, RegistersTheClassAsTheProgramNeedsIt) {
  stand_in::PostToQueue(WM_COMMAND, IDCANCEL, true);
  ASSERT_EQ(RunWindow(), 0);
  const WNDCLASSA& wc = stand_in::RegisteredClass();
  EXPECT_EQ(wc.style, 0u);
  EXPECT_EQ(reinterpret_cast<void*>(wc.lpfnWndProc), reinterpret_cast<void*>(SelectDlgProc));
  EXPECT_EQ(wc.cbClsExtra, 0);
  EXPECT_EQ(wc.cbWndExtra, 30);
  EXPECT_EQ(wc.hInstance, kSelf);
  EXPECT_EQ(wc.hIcon, LoadIconA(kSelf, MAKEINTRESOURCEA(IDI_MAIN)));
  EXPECT_EQ(wc.hCursor, LoadCursorA(nullptr, IDC_ARROW));
  EXPECT_EQ(reinterpret_cast<UINT_PTR>(wc.hbrBackground), 16u);
  EXPECT_EQ(wc.lpszMenuName, nullptr);
  EXPECT_STREQ(wc.lpszClassName, "Brisvane");
  EXPECT_EQ(stand_in::CallsOf("LoadIconA").front(), "LoadIconA(#102)");
  EXPECT_EQ(stand_in::CallsOf("LoadCursorA").front(), "LoadCursorA(#32512)");
}

struct StartupCase {
  const char* name;
  const char* fails;
  std::vector<std::string> calls;
};

void PrintTo(const StartupCase& c, std::ostream* os) { *os << c.name; }

const StartupCase kStartups[] = {
    {"ClassNotRegistered",
     "RegisterClassA",
     {"RegisterClassA(Brisvane)",
      std::string("MessageBoxA(NULL, ") + kTextClassFailed + ", Brisvane, 0x10)"}},
    {"DialogNotCreated",
     "CreateDialogParamA",
     {"RegisterClassA(Brisvane)", "CreateDialogParamA(#101, NULL, 0)",
      std::string("MessageBoxA(NULL, ") + kTextWindowFailed + ", Brisvane, 0x10)"}},
};

class StartupFailureTest : public BootFileTest,
                           public ::testing::WithParamInterface<StartupCase> {};

TEST_P(StartupFailureTest, ToldAndEndsWithZero) {
  stand_in::FailCall(GetParam().fails);
  EXPECT_EQ(RunWindow(), 0);
  EXPECT_EQ(CallsWithout({"LoadIconA", "LoadCursorA"}), GetParam().calls);
}

INSTANTIATE_TEST_SUITE_P(Startup, StartupFailureTest, ::testing::ValuesIn(kStartups),
                         [](const auto& info) { return std::string(info.param.name); });

// The dialog manager sees every message first, with the dialog's handle whichever control
// the message is for (keys go to the focused control, the list); only what it declines is
// translated and dispatched. The list is filled before the window is shown.
TEST_F(DialogTest, LoopHandsEachMessageToTheDialogManagerFirst) {
  WriteBootFile(kBootIni);
  const HWND list = stand_in::DialogItem(IDC_OSLIST);
  stand_in::PostToQueue(WM_KEYDOWN, 0x28, true, list);  // an arrow key: the dialog's own
  stand_in::PostToQueue(WM_CHAR, 'a', false, list);     // declined: translated and dispatched
  stand_in::PostToQueue(WM_COMMAND, IDCANCEL, true);    // Escape, as the dialog manager sends it
  EXPECT_EQ(RunWindow(SW_SHOWDEFAULT), 0);
  const std::vector<std::string> calls = CallsWithout({"ReadFile", "LoadIconA", "LoadCursorA"});
  const std::vector<std::string> expected = {
      "RegisterClassA(Brisvane)",
      "CreateDialogParamA(#101, NULL, 0)",
      "CreateFileA(c:\\boot.ini, 0x80000000, 0, 3)",
      "CloseHandle(file)",
      "SendDlgItemMessageA(dialog, 1002, LB_ADDSTRING, Windows XP)",
      "SendDlgItemMessageA(dialog, 1002, LB_ADDSTRING, Windows 2000)",
      "SendDlgItemMessageA(dialog, 1002, LB_ADDSTRING, )",
      "ShowWindow(dialog, 10)",
      "UpdateWindow(dialog)",
      "GetMessageA(0x100, 0x28)",
      "IsDialogMessageA(dialog, 0x100)",
      "GetMessageA(0x102, 0x61)",
      "IsDialogMessageA(dialog, 0x102)",
      "TranslateMessage(0x102)",
      "DispatchMessageA(0x102)",
      "GetMessageA(0x111, 0x2)",
      "IsDialogMessageA(dialog, 0x111)",
      "EndDialog(dialog, 0)",
      "PostQuitMessage(0)",
      "GetMessageA(WM_QUIT, 0)",
  };
  EXPECT_EQ(calls, expected);
}

// Enter on the list reaches the dialog as IDOK: the switch, from the message loop.
TEST_F(DialogTest, EnterFromTheLoopSwitchesAndRestarts) {
  WriteBootFile(kBootIni);
  stand_in::SetCurSel(1);
  stand_in::PostToQueue(WM_COMMAND, IDOK, true, stand_in::DialogItem(IDC_OSLIST));
  EXPECT_EQ(RunWindow(), 0);
  EXPECT_EQ(Actions(), SwitchedTo(k2000Path));
  EXPECT_EQ(ReadBootFile(), BootIni("0", k2000Path));
}

// GetMessageA's -1 is an error, not a message: the loop ends on it at once instead of
// asking again for ever. (The stand-in answers -1 when the queue runs dry without a quit.)
TEST_F(DialogTest, LoopEndsWhenGetMessageFails) {
  WriteBootFile(kBootIni);
  stand_in::PostToQueue(WM_COMMAND, IDC_ABOUT, true);
  EXPECT_EQ(RunWindow(), 0);
  EXPECT_EQ(stand_in::CallsOf("GetMessageA"),
            (std::vector<std::string>{"GetMessageA(0x111, 0x3EB)", "GetMessageA(blocked)"}));
  EXPECT_TRUE(stand_in::CallsOf("PostQuitMessage").empty());
}

}  // namespace
