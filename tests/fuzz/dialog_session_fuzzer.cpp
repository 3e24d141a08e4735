// Whole runs of the program, from WinMain through the message loop to the dialog's commands,
// over any boot file, any selection, any stream of messages and one failing platform call.
// The run's call record is then read back, with the boot file's state followed along it,
// and held against what the user and the file are promised:
//   - a restart is requested only right after "default" = the selected row's boot path and
//     "timeout" = "0" were both written, and never after a failed write;
//   - a failed write is reported in an error box whose text says what the file now holds
//     (nothing of the command, or only its "default"), nothing is written after it, and the
//     dialog stays; without a boot file every write fails, and none is ever made up;
//   - each write is made on a plain file: read-only, hidden and system are lifted for it,
//     unless reading or lifting them is the call that fails;
//   - cancel, About, list notifications and other messages write nothing and restart nothing;
//   - only a loaded row's boot path is ever written, and only the three known timeouts;
//   - the file's attributes are put back (unless putting them back is the call that fails);
//     without a successful write, its bytes are unchanged too;
//   - no handle stays open; the list shows the table's descriptions in table order;
//   - with a command line, nothing is shown and the exit code says whether the reset stuck.
//
// Input: [flags: 1 read-only, 2 hidden, 4 system, 8 no file, 16 command line]
//        [failing call] [which call of it] [selection] [message count]
//        [2 bytes per message] [command line length, command line: with flag 16] [file...]
#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "bootcfg/boot_file.h"
#include "bootcfg/os_table.h"
#include "platform/linux/stand_in.h"
#include "res/resource.h"
#include "res/ui_text.h"
#include "shell/app.h"
#include "support/harness.h"
#include "support/oracle.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int);

namespace {

// make_corpus.py reads these bits out of this file to build the seeds' flags.
enum Flag { kReadOnly = 1, kHidden = 2, kSystem = 4, kMissing = 8, kCommandLine = 16 };

// The calls a run may see fail. The first entry is a run where nothing fails.
// make_corpus.py reads this table out of this file to name the seeds' failing calls.
const char* const kFailable[] = {nullptr,
                                 "WritePrivateProfileStringA",
                                 "SetFileAttributesA",
                                 "GetFileAttributesA",
                                 "ExitWindowsEx",
                                 "OpenProcessToken",
                                 "LookupPrivilegeValueA",
                                 "AdjustTokenPrivileges",
                                 "MessageBoxA",
                                 "CreateFileA",
                                 "ReadFile",
                                 "RegisterClassA",
                                 "CreateDialogParamA"};

// Selections beyond the first few rows: nothing selected, and indexes no row can have.
// make_corpus.py reads this table (its length and where LB_ERR is) for its seeds.
const long kOddSelections[] = {
    LB_ERR,   -2,       fuzz::kExpectedMaxRows,          fuzz::kExpectedMaxRows + 1,
    LONG_MAX, LONG_MIN, static_cast<long>(0x100000000LL)};

// make_corpus.py reads this table out of this file to name the seeds' commands.
const WPARAM kCommands[] = {IDOK,
                            IDCANCEL,
                            IDC_BOOTMENU,
                            IDC_ABOUT,
                            MAKEWPARAM(IDC_OSLIST, LBN_DBLCLK),
                            MAKEWPARAM(IDC_OSLIST, LBN_SELCHANGE),
                            MAKEWPARAM(IDOK, 1),
                            MAKEWPARAM(IDC_BOOTMENU, 1),
                            MAKEWPARAM(IDCANCEL, LBN_DBLCLK),
                            IDC_OSLIST,
                            0};
const UINT kOtherMessages[] = {WM_KEYDOWN, WM_CHAR, WM_LBUTTONDBLCLK, WM_CLOSE, WM_DESTROY};

std::string Hex(unsigned long long n) {
  char text[24];
  std::snprintf(text, sizeof text, "0x%llX", n);
  return text;
}

// A hex argument of the record as a number.
unsigned long FromHex(const std::string& arg) { return std::strtoul(arg.c_str(), nullptr, 16); }

stand_in::Call Box(const char* owner, const char* text, const char* caption, unsigned type) {
  return {"MessageBoxA", {owner, text, caption, Hex(type)}};
}

struct Write {
  std::string key;
  std::string value;
  bool ok;
};

// The calls between two GetMessageA calls: what one message (or the start) made happen.
struct Segment {
  bool isCommand = false;
  WPARAM command = 0;
  std::vector<stand_in::Call> calls;
  std::vector<Write> writes;
  bool restartFailed = false;
  bool fileExisted = true;            // when the segment began
  bool attributesUnreadable = false;  // the made-to-fail GetFileAttributesA is in it
};

bool Has(const Segment& s, const stand_in::Call& call) {
  for (const auto& c : s.calls)
    if (c == call) return true;
  return false;
}

bool HasCallOf(const Segment& s, const std::string& function) {
  for (const auto& c : s.calls)
    if (c.name == function) return true;
  return false;
}

// Where the last call of `function` is; the segment's length when there is none.
size_t LastIndexOf(const Segment& s, const std::string& function) {
  for (size_t i = s.calls.size(); i-- > 0;)
    if (s.calls[i].name == function) return i;
  return s.calls.size();
}

std::vector<stand_in::Call> Boxes(const Segment& s) {
  std::vector<stand_in::Call> out;
  for (const auto& c : s.calls)
    if (c.name == "MessageBoxA") out.push_back(c);
  return out;
}

// Whether the box is an error box of the program's.
bool IsErrorBox(const stand_in::Call& box) {
  return box.args.size() == 4 && box.args[2] == kAppName &&
         box.args[3] == Hex(MB_OK | MB_ICONERROR);
}

// Follows the record call by call with what the stand-in does to the file, so that each
// write is known to have worked or failed without asking the program.
class Run {
 public:
  Run(const char* failing, int failingNth, bool exists, DWORD attributes)
      : failing_(failing ? failing : ""),
        failingNth_(failingNth),
        exists_(exists),
        attributes_(attributes) {}

  std::vector<Segment> Segments(const std::vector<stand_in::Call>& calls) {
    std::vector<Segment> segments(1);
    segments.back().fileExisted = exists_;
    for (const stand_in::Call& call : calls) {
      const std::string& name = call.name;
      const bool fails = Counts(name);
      if (name == "GetMessageA") {
        segments.emplace_back();
        segments.back().fileExisted = exists_;
        // A message taken from the queue: its number and its wParam.
        if (call.args.size() == 2 && call.args[0] == Hex(WM_COMMAND)) {
          segments.back().isCommand = true;
          segments.back().command = FromHex(call.args[1]);
        }
      }
      Segment& segment = segments.back();
      segment.calls.push_back(call);
      if (name == "SetFileAttributesA") {
        const unsigned long attributes = FromHex(call.args.at(1));
        if (!fails && exists_) attributes_ = attributes;
        attributesFailed_ = attributesFailed_ || fails;
        attributesRefused_ = attributesRefused_ || fails;
      } else if (name == "GetFileAttributesA") {
        segment.attributesUnreadable = segment.attributesUnreadable || fails;
        attributesRefused_ = attributesRefused_ || fails;
      } else if (name == "WritePrivateProfileStringA") {
        // The service is shown a plain file, unless the attributes could not be read or
        // lifted for this very write.
        FUZZ_CHECK(!exists_ || !Protected() || attributesRefused_,
                   "a write to a file still read-only, hidden or system: " +
                       fuzz::Printable(stand_in::Render(call)));
        attributesRefused_ = false;
        // The profile service makes a missing file; only a program that could not even
        // tell whether the file is there may get that far.
        FUZZ_CHECK(exists_ || segment.attributesUnreadable,
                   "a write to a missing boot file would make one up: " +
                       fuzz::Printable(stand_in::Render(call)));
        segment.writes.push_back(ParseWrite(call, !fails && !(exists_ && Protected())));
        if (segment.writes.back().ok) {
          if (!exists_) attributes_ = 0;  // made anew, plain
          exists_ = true;
          anyWritten_ = true;
        }
      } else if (name == "ExitWindowsEx") {
        segment.restartFailed = fails;
      }
    }
    return segments;
  }

  bool FailureHit() const { return hit_; }
  // Whether the profile service refuses the file as it is now.
  bool Protected() const {
    return attributes_ & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
  }
  bool AttributesFailed() const { return attributesFailed_; }
  bool AnyWritten() const { return anyWritten_; }

 private:
  // Counts a call of `name`; true when it is the one made to fail.
  bool Counts(const std::string& name) {
    if (name != failing_) return false;
    if (++seen_ != failingNth_) return false;
    hit_ = true;
    return true;
  }

  // The key and value of a write: (section, key, value, file) as the record has them.
  static Write ParseWrite(const stand_in::Call& call, bool ok) {
    FUZZ_CHECK(
        call.args.size() == 4 && call.args[0] == kLoaderSection && call.args[3] == kBootFilePath,
        "a write outside the loader's section of the boot file: " +
            fuzz::Printable(stand_in::Render(call)));
    return {call.args[1], call.args[2], ok};
  }

  std::string failing_;
  int failingNth_;
  int seen_ = 0;
  bool hit_ = false;
  bool exists_;
  DWORD attributes_;
  bool attributesFailed_ = false;
  bool attributesRefused_ = false;  // an attribute call failed since the last write
  bool anyWritten_ = false;
};

// The record without the load's byte-by-byte reads.
std::string Describe(const std::vector<Segment>& segments) {
  std::string text;
  for (const auto& s : segments)
    for (const auto& c : s.calls)
      if (c.name != "ReadFile") text += "\n  " + fuzz::Printable(stand_in::Render(c));
  return text;
}

using Detail = std::function<std::string()>;

void CheckCommand(const Segment& s, long selection, const Detail& detail) {
  const bool rowSelected = selection >= 0 && selection < g_osCount;
  const WPARAM command = s.isCommand ? s.command : 0;
  const bool writes = (command == IDOK && rowSelected) || command == IDC_BOOTMENU;
  // Without a file there is nothing to write to: the first write fails before the profile
  // service is asked.
  bool failed = writes && !s.fileExisted && !s.attributesUnreadable;
  if (failed) FUZZ_CHECK(s.writes.empty(), "written without a boot file" + detail());
  for (size_t i = 0; i < s.writes.size(); ++i) {
    if (!s.writes[i].ok) {
      failed = true;
      FUZZ_CHECK(i + 1 == s.writes.size(), "written on after a failed write" + detail());
    }
    const Write& w = s.writes[i];
    if (w.key == "default") {
      FUZZ_CHECK(rowSelected && w.value == g_osEntries[selection].bootPath,
                 "a default that is not the selected row's boot path" + detail());
    } else {
      FUZZ_CHECK(
          w.key == "timeout" && (w.value == kTimeoutRestartNow || w.value == kTimeoutAskAtStart),
          "an unknown setting written" + detail());
    }
  }
  const bool restart = HasCallOf(s, "ExitWindowsEx");
  const bool closes = HasCallOf(s, "EndDialog") || HasCallOf(s, "PostQuitMessage");
  const std::vector<stand_in::Call> boxes = Boxes(s);

  if (failed) {
    FUZZ_CHECK(!restart, "a restart after a failed write" + detail());
    FUZZ_CHECK(!closes, "the dialog closed after a failed write" + detail());
    FUZZ_CHECK(boxes.size() == 1 && IsErrorBox(boxes[0]),
               "a failed write not reported as an error" + detail());
    // Only "default" on disk when it was written and the write after it failed.
    const bool onlyDefault = s.writes.size() == 2 && s.writes[0].ok && !s.writes[1].ok;
    const char* text = onlyDefault ? kTextOnlyDefaultWritten : kTextNotWritten;
    if (command == IDOK)
      text = onlyDefault ? kTextOnlyDefaultWrittenNoRestart : kTextNotWrittenNoRestart;
    FUZZ_CHECK(boxes[0] == Box("dialog", text, kAppName, MB_OK | MB_ICONERROR),
               "the error box does not say what the file holds" + detail());
    return;
  }

  if (command == IDOK) {
    if (!rowSelected) {
      FUZZ_CHECK(s.writes.empty() && !restart && !closes && boxes.empty(),
                 "switch acted without a selected row" + detail());
      return;
    }
    FUZZ_CHECK(s.writes.size() == 2 && s.writes[0].key == "default" &&
                   s.writes[1].key == "timeout" && s.writes[1].value == kTimeoutRestartNow,
               "switch did not write the selection with no waiting" + detail());
    FUZZ_CHECK(restart &&
                   LastIndexOf(s, "ExitWindowsEx") > LastIndexOf(s, "WritePrivateProfileStringA") &&
                   Has(s, {"ExitWindowsEx", {Hex(EWX_REBOOT | EWX_FORCE), "0"}}),
               "switch wrote both settings but requested no forced restart" + detail());
    FUZZ_CHECK(closes, "switch left the dialog open" + detail());
    if (s.restartFailed) {
      FUZZ_CHECK(boxes.size() == 1 &&
                     boxes[0] == Box("dialog", kTextRestartRefused, kAppName, MB_OK | MB_ICONERROR),
                 "a refused restart not reported" + detail());
    } else {
      FUZZ_CHECK(boxes.empty(), "a box after a successful switch" + detail());
    }
  } else if (command == IDC_BOOTMENU) {
    FUZZ_CHECK(!restart, "choose-at-start-up requested a restart" + detail());
    const size_t expectedWrites = rowSelected ? 2 : 1;
    FUZZ_CHECK(s.writes.size() == expectedWrites && s.writes.back().key == "timeout" &&
                   s.writes.back().value == kTimeoutAskAtStart &&
                   (!rowSelected || s.writes[0].key == "default"),
               "choose-at-start-up wrote the wrong settings" + detail());
    FUZZ_CHECK(closes && boxes.size() == 1 &&
                   boxes[0] == Box("dialog", kTextBootMenuInfo, kCaptionBootMenuInfo, MB_OK),
               "choose-at-start-up did not tell the user and close" + detail());
  } else {
    FUZZ_CHECK(s.writes.empty() && !restart,
               "a write or restart without a command for it" + detail());
    if (command == IDCANCEL) {
      FUZZ_CHECK(closes && boxes.empty(), "cancel did not just close" + detail());
    } else if (command == IDC_ABOUT) {
      FUZZ_CHECK(!closes && boxes.size() == 1 &&
                     boxes[0] == Box("dialog", kTextAbout, kCaptionAbout, MB_OK),
                 "About did not just show its box" + detail());
    } else {
      FUZZ_CHECK(!closes && boxes.empty(), "an unknown message acted" + detail());
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::Input input(data, size);
  const uint8_t flags = input.Byte();
  const char* const failing = kFailable[input.Byte() % std::size(kFailable)];
  const int failingNth = 1 + input.Byte() % 4;
  const uint8_t selectionByte = input.Byte();
  const long selection = selectionByte < 20
                             ? selectionByte
                             : kOddSelections[selectionByte % std::size(kOddSelections)];
  const int messageCount = input.Byte() % 9;
  std::vector<std::pair<uint8_t, uint8_t>> messages;
  for (int i = 0; i < messageCount; ++i) {
    const uint8_t kind = input.Byte();
    messages.emplace_back(kind, input.Byte());
  }
  std::string commandLine;
  if (flags & kCommandLine) commandLine = input.Bytes(input.Byte());
  commandLine.resize(std::min(commandLine.size(), commandLine.find('\0')));
  const std::string file = input.Rest();

  const bool missing = flags & kMissing;
  const DWORD attributes = ((flags & kReadOnly) ? FILE_ATTRIBUTE_READONLY : 0) |
                           ((flags & kHidden) ? FILE_ATTRIBUTE_HIDDEN : 0) |
                           ((flags & kSystem) ? FILE_ATTRIBUTE_SYSTEM : 0);
  fuzz::FreshDrive();
  if (!missing) {
    fuzz::WriteBootFile(file);
    SetFileAttributesA(kBootFilePath, attributes ? attributes : FILE_ATTRIBUTE_NORMAL);
  }
  stand_in::ClearCalls();
  stand_in::SetCurSel(selection);
  for (const auto& m : messages) {
    const bool dialogTakes = m.first & 1;
    switch ((m.first >> 1) & 3) {
      case 0:
      case 1:
        stand_in::PostToQueue(WM_COMMAND, kCommands[m.second % std::size(kCommands)], dialogTakes);
        break;
      case 2:
        stand_in::PostToQueue(WM_COMMAND, MAKEWPARAM(m.second, m.first >> 3), dialogTakes);
        break;
      default:
        stand_in::PostToQueue(kOtherMessages[m.first % std::size(kOtherMessages)], m.second,
                              dialogTakes);
        break;
    }
  }
  if (failing) stand_in::FailCall(failing, failingNth);
  g_osCount = 0;

  std::vector<char> commandLineBuffer(commandLine.begin(), commandLine.end());
  commandLineBuffer.push_back('\0');
  HINSTANCE__ instance = {};
  const int exitCode = WinMain(&instance, nullptr, commandLineBuffer.data(), SW_SHOWNORMAL);

  if (failing) stand_in::FailCall(failing, INT_MAX);  // the checks below call the stand-in too
  Run run(failing, failingNth, !missing, attributes);
  const std::vector<Segment> segments = run.Segments(stand_in::Calls());
  const Detail detail = [&] {
    return "\nflags " + Hex(flags) + ", failing " + (failing ? failing : "nothing") + " #" +
           std::to_string(failingNth) + ", selection " + std::to_string(selection) +
           ", command line " + fuzz::Printable(commandLine) + ", file " + fuzz::Printable(file) +
           "\ncalls:" + Describe(segments);
  };

  FUZZ_CHECK(stand_in::OpenHandleCount() == 0, "a handle left open" + detail());
  if (!commandLine.empty()) {
    // The reset: one write, no window, no box, no restart; the exit code tells the outcome.
    // Without a boot file nothing is written and the reset fails.
    const bool refused = missing && !segments[0].attributesUnreadable;
    FUZZ_CHECK(segments.size() == 1 && segments[0].writes.size() == (refused ? 0u : 1u),
               "the command-line reset wrote something else" + detail());
    FUZZ_CHECK(refused || (segments[0].writes[0].key == "timeout" &&
                           segments[0].writes[0].value == kTimeoutReset),
               "the command-line reset wrote something else" + detail());
    FUZZ_CHECK(!HasCallOf(segments[0], "RegisterClassA") &&
                   !HasCallOf(segments[0], "CreateDialogParamA") &&
                   !HasCallOf(segments[0], "MessageBoxA") &&
                   !HasCallOf(segments[0], "ExitWindowsEx"),
               "the command-line reset showed something or restarted" + detail());
    FUZZ_CHECK(exitCode == (!refused && segments[0].writes[0].ok ? kExitOk : kExitNotWritten),
               "the exit code hides the reset's outcome" + detail());
  } else {
    FUZZ_CHECK(exitCode == 0, "the window's run ended with " + std::to_string(exitCode) + detail());
    FUZZ_CHECK(g_osCount >= 0 && g_osCount <= fuzz::kExpectedMaxRows, "table size" + detail());
    const std::vector<std::string>& lines = stand_in::ListLines();
    bool listMatches = lines.size() == static_cast<size_t>(g_osCount);
    for (size_t i = 0; listMatches && i < lines.size(); ++i)
      listMatches = lines[i] == g_osEntries[i].description;
    FUZZ_CHECK(listMatches, "the list is not the table's descriptions in order" + detail());
    FUZZ_CHECK(segments[0].writes.empty() && !HasCallOf(segments[0], "ExitWindowsEx"),
               "written before any command" + detail());
    if (run.FailureHit() && (std::string(failing) == "RegisterClassA" ||
                             std::string(failing) == "CreateDialogParamA")) {
      const std::vector<stand_in::Call> boxes = Boxes(segments[0]);
      FUZZ_CHECK(segments.size() == 1 && boxes.size() == 1 && boxes[0].args.at(0) == "NULL" &&
                     IsErrorBox(boxes[0]),
                 "a failed start-up not reported, or the loop ran anyway" + detail());
    }
    for (size_t i = 1; i < segments.size(); ++i) CheckCommand(segments[i], selection, detail);
  }

  if (!missing && !run.AttributesFailed()) {
    FUZZ_CHECK(fuzz::BootFileReadOnly() == static_cast<bool>(flags & kReadOnly),
               "the read-only attribute was not restored" + detail());
    FUZZ_CHECK(
        GetFileAttributesA(kBootFilePath) == (attributes ? attributes : FILE_ATTRIBUTE_NORMAL),
        "the file's attributes were not restored" + detail());
  }
  if (!run.AnyWritten()) {
    std::string after;
    const bool exists = fuzz::ReadBootFile(&after);
    FUZZ_CHECK(exists == !missing && (missing || after == file),
               "the file changed without a successful write" + detail());
  }
  return 0;
}
