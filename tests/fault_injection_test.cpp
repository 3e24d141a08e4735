// Every platform call the program makes, made to fail in turn, against every way of using the
// program: what the user is told, whether a restart is requested, the exit code and the file.
// The boot file is read-only, hidden and system, as Setup leaves it, unless a case says
// otherwise.
#include <string>
#include <vector>

#include "bootcfg/boot_file.h"
#include "platform/linux/control.h"
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
    case Use::kSwitch: return "Switch";
    case Use::kBootMenu: return "BootMenu";
    case Use::kBootMenuNoSelection: return "BootMenuNoSelection";
    case Use::kCancel: return "Cancel";
    case Use::kAbout: return "About";
    case Use::kReset: return "Reset";
  }
  return "?";
}

const Use kAllUses[] = {Use::kSwitch, Use::kBootMenu, Use::kBootMenuNoSelection,
                        Use::kCancel, Use::kAbout, Use::kReset};

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
      << o.attributes << std::dec << ", file:\n" << o.file << "}";
}

class FaultTest : public BootFileTest {
 protected:
  Outcome RunWith(Use use, Fault fault, DWORD attributes = kSetupAttributes) {
    subst::Reset();  // a quit posted by the last run must not end this one's loop
    WriteBootFile(kOriginal);
    EXPECT_TRUE(SetFileAttributesA(kBootFilePath, attributes));
    subst::ClearCalls();
    if (fault.call && std::string(fault.call) == "ReadFile")
      subst::FailReadAfter(fault.nth);
    else if (fault.call)
      subst::FailCall(fault.call, fault.nth);
    subst::SetCurSel(use == Use::kBootMenuNoSelection ? LB_ERR : 1);
    std::string args;
    switch (use) {
      case Use::kSwitch: subst::PostToQueue(WM_COMMAND, IDOK, true); break;
      case Use::kBootMenu:
      case Use::kBootMenuNoSelection: subst::PostToQueue(WM_COMMAND, IDC_BOOTMENU, true); break;
      case Use::kCancel: subst::PostToQueue(WM_COMMAND, IDCANCEL, true); break;
      case Use::kAbout:
        subst::PostToQueue(WM_COMMAND, IDC_ABOUT, true);
        subst::PostToQueue(WM_COMMAND, IDCANCEL, true);
        break;
      case Use::kReset: args = "x"; break;
    }
    Outcome out;
    out.exitCode = WinMain(nullptr, nullptr, &args[0], SW_SHOWDEFAULT);
    for (const auto& call : subst::CallsOf("MessageBoxA")) {
      const size_t open = call.find(", ") + 2;
      out.told.push_back(call.substr(open, call.find(", ", open) - open));
    }
    out.restart = !subst::CallsOf("ExitWindowsEx").empty();
    out.file = ReadBootFile();
    subst::ClearFailures();  // a failure that has not struck must not reach the check
    out.attributes = GetFileAttributesA(kBootFilePath) &
                     (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    return out;
  }
};

struct FaultCase {
  const char* name;
  Use use;
  Fault fault;
  Outcome expected;
  DWORD attributes = kSetupAttributes;  // the boot file's before the run
};

void PrintTo(const FaultCase& c, std::ostream* os) { *os << c.name; }

const std::string kNoRestart = kTextNotWrittenNoRestart;
const std::string kNotWritten = kTextNotWritten;
const std::string kOnlyDefaultNoRestart = kTextOnlyDefaultWrittenNoRestart;
const std::string kOnlyDefault = kTextOnlyDefaultWritten;

const FaultCase kCases[] = {
    // Nothing fails.
    {"SwitchWorks", Use::kSwitch, {}, {{}, true, 0, BootIni("0", k2000Path), kSetupAttributes}},
    {"BootMenuWorks", Use::kBootMenu, {}, {{kTextBootMenuInfo}, false, 0, BootIni("-1", k2000Path), kSetupAttributes}},
    {"BootMenuNoSelectionWorks", Use::kBootMenuNoSelection, {},
     {{kTextBootMenuInfo}, false, 0, BootIni("-1", kXpPath), kSetupAttributes}},
    {"CancelWorks", Use::kCancel, {}, {{}, false, 0, kOriginal, kSetupAttributes}},
    {"AboutWorks", Use::kAbout, {}, {{kTextAbout}, false, 0, kOriginal, kSetupAttributes}},
    {"ResetWorks", Use::kReset, {}, {{}, false, 0, BootIni("30", kXpPath), kSetupAttributes}},
    // The file cannot be read: the list is empty, so the switch has nothing to act on.
    {"UnopenableFileSwitchDoesNothing", Use::kSwitch, {"CreateFileA", 1},
     {{}, false, 0, kOriginal, kSetupAttributes}},
    {"UnopenableFileBootMenuWritesTimeoutOnly", Use::kBootMenu, {"CreateFileA", 1},
     {{kTextBootMenuInfo}, false, 0, BootIni("-1", kXpPath), kSetupAttributes}},
    {"ReadFailsBeforeSystemsSwitchDoesNothing", Use::kSwitch, {"ReadFile", 60},
     {{}, false, 0, kOriginal, kSetupAttributes}},
    {"ReadFailsInFirstSystemSwitchDoesNothing", Use::kSwitch, {"ReadFile", 150},
     {{}, false, 0, kOriginal, kSetupAttributes}},
    // The attributes cannot be read: the write is still made. On a plain file it works, and
    // the user sees the command done; on Setup's file the service refuses it, and the user
    // knows.
    {"AttributesUnreadableOnPlainFileSwitchRestarts", Use::kSwitch, {"GetFileAttributesA", 1},
     {{}, true, 0, BootIni("0", k2000Path), 0}, FILE_ATTRIBUTE_NORMAL},
    {"AttributesUnreadableOnPlainFileBootMenuWorks", Use::kBootMenu, {"GetFileAttributesA", 2},
     {{kTextBootMenuInfo}, false, 0, BootIni("-1", k2000Path), 0}, FILE_ATTRIBUTE_NORMAL},
    {"AttributesUnreadableOnPlainFileResetWorks", Use::kReset, {"GetFileAttributesA", 1},
     {{}, false, 0, BootIni("30", kXpPath), 0}, FILE_ATTRIBUTE_NORMAL},
    // The attributes cannot be read or lifted on Setup's file: the write fails and the user
    // knows.
    {"AttributesUnreadableSwitchStops", Use::kSwitch, {"GetFileAttributesA", 1},
     {{kNoRestart}, false, 0, kOriginal, kSetupAttributes}},
    {"AttributeNotLiftedSwitchStops", Use::kSwitch, {"SetFileAttributesA", 1},
     {{kNoRestart}, false, 0, kOriginal, kSetupAttributes}},
    {"AttributeNotLiftedBootMenuStops", Use::kBootMenu, {"SetFileAttributesA", 1},
     {{kNotWritten}, false, 0, kOriginal, kSetupAttributes}},
    {"AttributeNotLiftedResetExitsOne", Use::kReset, {"SetFileAttributesA", 1},
     {{}, false, 1, kOriginal, kSetupAttributes}},
    // The second write's lift fails after "default" was written: the box says so.
    {"SecondAttributeLiftFailsSwitchSaysDefaultChanged", Use::kSwitch, {"SetFileAttributesA", 3},
     {{kOnlyDefaultNoRestart}, false, 0, BootIni("30", k2000Path), kSetupAttributes}},
    {"SecondAttributeLiftFailsBootMenuSaysDefaultChanged", Use::kBootMenu,
     {"SetFileAttributesA", 3}, {{kOnlyDefault}, false, 0, BootIni("30", k2000Path), kSetupAttributes}},
    // The writes themselves.
    {"DefaultNotWrittenSwitchStops", Use::kSwitch, {"WritePrivateProfileStringA", 1},
     {{kNoRestart}, false, 0, kOriginal, kSetupAttributes}},
    {"TimeoutNotWrittenSwitchSaysDefaultChanged", Use::kSwitch, {"WritePrivateProfileStringA", 2},
     {{kOnlyDefaultNoRestart}, false, 0, BootIni("30", k2000Path), kSetupAttributes}},
    {"DefaultNotWrittenBootMenuStops", Use::kBootMenu, {"WritePrivateProfileStringA", 1},
     {{kNotWritten}, false, 0, kOriginal, kSetupAttributes}},
    {"TimeoutNotWrittenBootMenuSaysDefaultChanged", Use::kBootMenu,
     {"WritePrivateProfileStringA", 2},
     {{kOnlyDefault}, false, 0, BootIni("30", k2000Path), kSetupAttributes}},
    {"TimeoutNotWrittenNoSelectionStops", Use::kBootMenuNoSelection,
     {"WritePrivateProfileStringA", 1}, {{kNotWritten}, false, 0, kOriginal, kSetupAttributes}},
    {"ResetNotWrittenExitsOne", Use::kReset, {"WritePrivateProfileStringA", 1},
     {{}, false, 1, kOriginal, kSetupAttributes}},
    // The privilege steps do not stop the request; a refused request is told.
    {"NoTokenStillRestarts", Use::kSwitch, {"OpenProcessToken", 1},
     {{}, true, 0, BootIni("0", k2000Path), kSetupAttributes}},
    {"NoPrivilegeValueStillRestarts", Use::kSwitch, {"LookupPrivilegeValueA", 1},
     {{}, true, 0, BootIni("0", k2000Path), kSetupAttributes}},
    {"PrivilegeNotAdjustedStillRestarts", Use::kSwitch, {"AdjustTokenPrivileges", 1},
     {{}, true, 0, BootIni("0", k2000Path), kSetupAttributes}},
    {"RestartRefusedIsTold", Use::kSwitch, {"ExitWindowsEx", 1},
     {{kTextRestartRefused}, true, 0, BootIni("0", k2000Path), kSetupAttributes}},
    // Start-up failures end the program before anything is read or written.
    {"ClassNotRegistered", Use::kSwitch, {"RegisterClassA", 1},
     {{kTextClassFailed}, false, 0, kOriginal, kSetupAttributes}},
    {"DialogNotCreated", Use::kSwitch, {"CreateDialogParamA", 1},
     {{kTextWindowFailed}, false, 0, kOriginal, kSetupAttributes}},
};

class FaultTableTest : public FaultTest, public ::testing::WithParamInterface<FaultCase> {};

TEST_P(FaultTableTest, UserSeesExactlyThis) {
  EXPECT_EQ(RunWith(GetParam().use, GetParam().fault, GetParam().attributes),
            GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Faults, FaultTableTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

// Every call failing at every one of its first calls, against every use: whatever happens, a
// restart is requested only with both settings on disk, a failed change is never silent, the
// error box tells what the file really holds, and the attributes come back.
TEST_F(FaultTest, NoFailureEndsInSilentChangeOrRestartAfterFailedWrite) {
  const char* const calls[] = {"CreateFileA", "GetFileAttributesA", "SetFileAttributesA",
                               "WritePrivateProfileStringA", "OpenProcessToken",
                               "LookupPrivilegeValueA", "AdjustTokenPrivileges", "ExitWindowsEx",
                               "RegisterClassA", "CreateDialogParamA", "MessageBoxA", "ReadFile"};
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
        const std::vector<std::string> sets = subst::CallsOf("SetFileAttributesA");
        const bool restoreRefused = std::string(call) == "SetFileAttributesA" &&
                                    nth <= static_cast<int>(sets.size()) &&
                                    sets[nth - 1] == "SetFileAttributesA(c:\\boot.ini, 0x7)";
        EXPECT_EQ(o.attributes, restoreRefused ? 0u : kSetupAttributes);
      }
    }
  }
}

}  // namespace
