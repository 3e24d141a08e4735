// Every platform call the program makes, made to fail in turn, against every way of using the
// program: what the user is told, whether a restart is requested, the exit code and the file.
// The boot file is read-only, hidden and system, as Setup leaves it, unless a case says
// otherwise.
#include <string>
#include <vector>

#include "bootcfg/boot_file.h"
#include "platform/linux/stand_in.h"
#include "res/resource.h"
#include "res/ui_text.h"
#include "support/boot_fixture.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int);

namespace {

using sample::k2000Path;
using sample::kXpPath;

std::string BootIni(const std::string& timeout, const std::string& deflt) {
  return sample::BootIni(timeout, deflt,
                         sample::OsLine(kXpPath, "Windows XP", "/fastdetect") +
                             sample::OsLine(k2000Path, "Windows 2000"));
}

const std::string kOriginal = BootIni("30", kXpPath);
const DWORD kSetupAttributes =
    FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;

// One way of using the program.
enum class Use { kSwitch, kBootMenu, kBootMenuNoSelection, kCancel, kAbout, kReset };

const char* Name(Use use) {
  switch (use) {
    case Use::kSwitch:
      return "Switch";
    case Use::kBootMenu:
      return "BootMenu";
    case Use::kBootMenuNoSelection:
      return "BootMenuNoSelection";
    case Use::kCancel:
      return "Cancel";
    case Use::kAbout:
      return "About";
    case Use::kReset:
      return "Reset";
  }
  return "?";
}

const Use kAllUses[] = {Use::kSwitch, Use::kBootMenu, Use::kBootMenuNoSelection,
                        Use::kCancel, Use::kAbout,    Use::kReset};

struct Fault {
  const char* call;  // nullptr: nothing fails
  int nth;           // which call of it fails; for ReadFile, the byte it fails at
};

struct Outcome {
  std::vector<std::string> told;  // the message boxes' texts, in order
  bool restart;                   // ExitWindowsEx was called
  int exitCode;
  std::string file;
  DWORD attributes;
};

bool operator==(const Outcome& a, const Outcome& b) {
  return a.told == b.told && a.restart == b.restart && a.exitCode == b.exitCode &&
         a.file == b.file && a.attributes == b.attributes;
}

void PrintTo(const Outcome& o, std::ostream* os) {
  *os << "{told:";
  for (const auto& t : o.told) *os << " [" << t << "]";
  *os << ", restart: " << o.restart << ", exit: " << o.exitCode << ", attributes: 0x" << std::hex
      << o.attributes << std::dec << ", file:\n"
      << o.file << "}";
}

class FaultTest : public BootFileTest {
 protected:
  Outcome RunWith(Use use, Fault fault, DWORD attributes = kSetupAttributes) {
    stand_in::Reset();  // a quit posted by the last run must not end this one's loop
    WriteBootFile(kOriginal);
    EXPECT_TRUE(SetFileAttributesA(kBootFilePath, attributes));
    stand_in::ClearCalls();
    if (fault.call && std::string(fault.call) == "ReadFile")
      stand_in::FailReadAfter(fault.nth);
    else if (fault.call)
      stand_in::FailCall(fault.call, fault.nth);
    stand_in::SetCurSel(use == Use::kBootMenuNoSelection ? LB_ERR : 1);
    std::string args;
    switch (use) {
      case Use::kSwitch:
        stand_in::PostToQueue(WM_COMMAND, IDOK, true);
        break;
      case Use::kBootMenu:
      case Use::kBootMenuNoSelection:
        stand_in::PostToQueue(WM_COMMAND, IDC_BOOTMENU, true);
        break;
      case Use::kCancel:
        stand_in::PostToQueue(WM_COMMAND, IDCANCEL, true);
        break;
      case Use::kAbout:
        stand_in::PostToQueue(WM_COMMAND, IDC_ABOUT, true);
        stand_in::PostToQueue(WM_COMMAND, IDCANCEL, true);
        break;
      case Use::kReset:
        args = "x";
        break;
    }
    Outcome out;
    out.exitCode = WinMain(nullptr, nullptr, &args[0], SW_SHOWDEFAULT);
    for (const stand_in::Call& call : stand_in::Calls())
      if (call.name == "MessageBoxA") out.told.push_back(call.args.at(1));  // owner, text, ...
    out.restart = !stand_in::CallsOf("ExitWindowsEx").empty();
    out.file = ReadBootFile();
    stand_in::ClearFailures();  // a failure that has not struck must not reach the check
    out.attributes = GetFileAttributesA(kBootFilePath) &
                     (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    return out;
  }
};

const std::string kNoRestart = kTextNotWrittenNoRestart;
const std::string kNotWritten = kTextNotWritten;
const std::string kOnlyDefaultNoRestart = kTextOnlyDefaultWrittenNoRestart;
const std::string kOnlyDefault = kTextOnlyDefaultWritten;

// One use of the program with one call failing, and what the user must see. Unless a row says
// otherwise, the file is as Setup leaves it, nothing fails, nobody is told anything, no restart
// is asked for, the exit code is 0 and the file stays as it was.
struct FaultCase {
  const char* name = nullptr;
  Use use = Use::kSwitch;
  Fault fault = {nullptr, 0};
  DWORD attributes = kSetupAttributes;  // the boot file's before the run
  Outcome expected = {{}, false, 0, kOriginal, 0};

  // The `nth` call of `call` fails.
  FaultCase& Failing(const char* call, int nth) {
    fault = {call, nth};
    return *this;
  }
  // Reads fail once `bytes` bytes have been read.
  FaultCase& ReadFailingAfter(int bytes) { return Failing("ReadFile", bytes); }
  FaultCase& OnPlainFile() {
    attributes = FILE_ATTRIBUTE_NORMAL;
    return *this;
  }
  FaultCase& Tells(const std::string& text) {
    expected.told.push_back(text);
    return *this;
  }
  FaultCase& Restarts() {
    expected.restart = true;
    return *this;
  }
  FaultCase& ExitsWith(int code) {
    expected.exitCode = code;
    return *this;
  }
  FaultCase& Leaves(const std::string& file) {
    expected.file = file;
    return *this;
  }
};

FaultCase Case(const char* name, Use use) {
  FaultCase c;
  c.name = name;
  c.use = use;
  return c;
}

void PrintTo(const FaultCase& c, std::ostream* os) { *os << c.name; }

const FaultCase kCases[] = {
    // Nothing fails.
    Case("SwitchWorks", Use::kSwitch).Restarts().Leaves(BootIni("0", k2000Path)),
    Case("BootMenuWorks", Use::kBootMenu).Tells(kTextBootMenuInfo).Leaves(BootIni("-1", k2000Path)),
    Case("BootMenuNoSelectionWorks", Use::kBootMenuNoSelection)
        .Tells(kTextBootMenuInfo)
        .Leaves(BootIni("-1", kXpPath)),
    Case("CancelWorks", Use::kCancel),
    Case("AboutWorks", Use::kAbout).Tells(kTextAbout),
    Case("ResetWorks", Use::kReset).Leaves(BootIni("30", kXpPath)),
    // The file cannot be read: the list is empty, so the switch has nothing to act on.
    Case("UnopenableFileSwitchDoesNothing", Use::kSwitch).Failing("CreateFileA", 1),
    Case("UnopenableFileBootMenuWritesTimeoutOnly", Use::kBootMenu)
        .Failing("CreateFileA", 1)
        .Tells(kTextBootMenuInfo)
        .Leaves(BootIni("-1", kXpPath)),
    Case("ReadFailsBeforeSystemsSwitchDoesNothing", Use::kSwitch).ReadFailingAfter(60),
    Case("ReadFailsInFirstSystemSwitchDoesNothing", Use::kSwitch).ReadFailingAfter(150),
    // The attributes cannot be read: the write is still made. On a plain file it works, and
    // the user sees the command done; on Setup's file the service refuses it, and the user
    // knows.
    Case("AttributesUnreadableOnPlainFileSwitchRestarts", Use::kSwitch)
        .OnPlainFile()
        .Failing("GetFileAttributesA", 1)
        .Restarts()
        .Leaves(BootIni("0", k2000Path)),
    Case("AttributesUnreadableOnPlainFileBootMenuWorks", Use::kBootMenu)
        .OnPlainFile()
        .Failing("GetFileAttributesA", 2)
        .Tells(kTextBootMenuInfo)
        .Leaves(BootIni("-1", k2000Path)),
    Case("AttributesUnreadableOnPlainFileResetWorks", Use::kReset)
        .OnPlainFile()
        .Failing("GetFileAttributesA", 1)
        .Leaves(BootIni("30", kXpPath)),
    // The attributes cannot be read or lifted on Setup's file: the write fails and the user
    // knows.
    Case("AttributesUnreadableSwitchStops", Use::kSwitch)
        .Failing("GetFileAttributesA", 1)
        .Tells(kNoRestart),
    Case("AttributeNotLiftedSwitchStops", Use::kSwitch)
        .Failing("SetFileAttributesA", 1)
        .Tells(kNoRestart),
    Case("AttributeNotLiftedBootMenuStops", Use::kBootMenu)
        .Failing("SetFileAttributesA", 1)
        .Tells(kNotWritten),
    Case("AttributeNotLiftedResetExitsOne", Use::kReset)
        .Failing("SetFileAttributesA", 1)
        .ExitsWith(1),
    // The second write's lift fails after "default" was written: the box says so.
    Case("SecondAttributeLiftFailsSwitchSaysDefaultChanged", Use::kSwitch)
        .Failing("SetFileAttributesA", 3)
        .Tells(kOnlyDefaultNoRestart)
        .Leaves(BootIni("30", k2000Path)),
    Case("SecondAttributeLiftFailsBootMenuSaysDefaultChanged", Use::kBootMenu)
        .Failing("SetFileAttributesA", 3)
        .Tells(kOnlyDefault)
        .Leaves(BootIni("30", k2000Path)),
    // The writes themselves.
    Case("DefaultNotWrittenSwitchStops", Use::kSwitch)
        .Failing("WritePrivateProfileStringA", 1)
        .Tells(kNoRestart),
    Case("TimeoutNotWrittenSwitchSaysDefaultChanged", Use::kSwitch)
        .Failing("WritePrivateProfileStringA", 2)
        .Tells(kOnlyDefaultNoRestart)
        .Leaves(BootIni("30", k2000Path)),
    Case("DefaultNotWrittenBootMenuStops", Use::kBootMenu)
        .Failing("WritePrivateProfileStringA", 1)
        .Tells(kNotWritten),
    Case("TimeoutNotWrittenBootMenuSaysDefaultChanged", Use::kBootMenu)
        .Failing("WritePrivateProfileStringA", 2)
        .Tells(kOnlyDefault)
        .Leaves(BootIni("30", k2000Path)),
    Case("TimeoutNotWrittenNoSelectionStops", Use::kBootMenuNoSelection)
        .Failing("WritePrivateProfileStringA", 1)
        .Tells(kNotWritten),
    Case("ResetNotWrittenExitsOne", Use::kReset)
        .Failing("WritePrivateProfileStringA", 1)
        .ExitsWith(1),
    // The privilege steps do not stop the request; a refused request is told.
    Case("NoTokenStillRestarts", Use::kSwitch)
        .Failing("OpenProcessToken", 1)
        .Restarts()
        .Leaves(BootIni("0", k2000Path)),
    Case("NoPrivilegeValueStillRestarts", Use::kSwitch)
        .Failing("LookupPrivilegeValueA", 1)
        .Restarts()
        .Leaves(BootIni("0", k2000Path)),
    Case("PrivilegeNotAdjustedStillRestarts", Use::kSwitch)
        .Failing("AdjustTokenPrivileges", 1)
        .Restarts()
        .Leaves(BootIni("0", k2000Path)),
    Case("RestartRefusedIsTold", Use::kSwitch)
        .Failing("ExitWindowsEx", 1)
        .Tells(kTextRestartRefused)
        .Restarts()
        .Leaves(BootIni("0", k2000Path)),
    // Start-up failures end the program before anything is read or written.
    Case("ClassNotRegistered", Use::kSwitch).Failing("RegisterClassA", 1).Tells(kTextClassFailed),
    Case("DialogNotCreated", Use::kSwitch)
        .Failing("CreateDialogParamA", 1)
        .Tells(kTextWindowFailed),
};

class FaultTableTest : public FaultTest, public ::testing::WithParamInterface<FaultCase> {};

// Whatever fails, the file ends with the read-only, hidden and system attributes it had.
TEST_P(FaultTableTest, UserSeesExactlyThis) {
  const FaultCase& c = GetParam();
  Outcome expected = c.expected;
  expected.attributes = c.attributes & kSetupAttributes;
  EXPECT_EQ(RunWith(c.use, c.fault, c.attributes), expected);
}

INSTANTIATE_TEST_SUITE_P(Faults, FaultTableTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

// Every call failing at every one of its first calls, against every use: whatever happens, a
// restart is requested only with both settings on disk, a failed change is never silent, the
// error box tells what the file really holds, and the attributes come back.
TEST_F(FaultTest, NoFailureEndsInSilentChangeOrRestartAfterFailedWrite) {
  const char* const calls[] = {"CreateFileA",           "GetFileAttributesA",
                               "SetFileAttributesA",    "WritePrivateProfileStringA",
                               "OpenProcessToken",      "LookupPrivilegeValueA",
                               "AdjustTokenPrivileges", "ExitWindowsEx",
                               "RegisterClassA",        "CreateDialogParamA",
                               "MessageBoxA",           "ReadFile"};
  for (Use use : kAllUses) {
    const Outcome clean = RunWith(use, {});
    for (const char* call : calls) {
      for (int nth = 1; nth <= 4; ++nth) {
        const bool isRead = std::string(call) == "ReadFile";
        const Outcome o = RunWith(use, {call, isRead ? nth * 37 : nth});
        SCOPED_TRACE(std::string(Name(use)) + " with " + call + " #" + std::to_string(nth));
        if (o.restart) {
          EXPECT_EQ(o.file, BootIni("0", k2000Path));
        }
        // A change other than the one the command means is never silent.
        if (o.file != clean.file && o.file != kOriginal) {
          EXPECT_TRUE(!o.told.empty() || o.exitCode != 0)
              << "the file changed halfway and nobody was told";
        }
        // "Not written" means the file is as it was; "only the default" means just that.
        for (const std::string& text : o.told) {
          if (text == kNoRestart || text == kNotWritten) {
            EXPECT_EQ(o.file, kOriginal);
          }
          if (text == kOnlyDefaultNoRestart || text == kOnlyDefault) {
            EXPECT_EQ(o.file, BootIni("30", k2000Path));
          }
        }
        // When the system refuses to put the attributes back there is nothing left to do:
        // the file stays plain, as it was for the write.
        const std::vector<std::string> sets = stand_in::CallsOf("SetFileAttributesA");
        const bool restoreRefused = std::string(call) == "SetFileAttributesA" &&
                                    nth <= static_cast<int>(sets.size()) &&
                                    sets[nth - 1] == "SetFileAttributesA(c:\\boot.ini, 0x7)";
        EXPECT_EQ(o.attributes, restoreRefused ? 0u : kSetupAttributes);
      }
    }
  }
}

}  // namespace
