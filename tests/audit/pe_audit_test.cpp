// Audits a built Brisvane executable: what it imports, which Windows it will
// load on, and that the resources the dialog code relies on are really in
// it. The compiler, the C runtime and the resource compiler all get a say in
// these, so we look at the file instead of trusting the build scripts.
//
//   BRISVANE_EXE             path of the .exe to audit (tests skip if unset)
//   BRISVANE_EXPECT_MACHINE  "i686" or "x86_64"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <iterator>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "pe_file.h"

namespace {

// ---------------------------------------------------------------------------
// What the executable may import: the system's DLLs only, and from each
// exactly the calls the program makes. There is no C runtime to take its own
// share, so anything more (msvcrt, TLS, critical sections, VirtualProtect,
// LoadLibrary) means start-up code crept back in. Amend here when the
// program's needs change. Every name here is exported by Windows NT 4.0's
// system DLLs; anything added must be too.

struct ImportRule {
  const char* dll;
  std::set<std::string> functions;
};

const ImportRule kImportRules[] = {
    {"KERNEL32.dll",
     {// the entry point
      "GetCommandLineA", "IsDBCSLeadByte", "GetModuleHandleA", "GetStartupInfoA", "ExitProcess",
      // the boot file
      "CreateFileA", "ReadFile", "CloseHandle", "WritePrivateProfileStringA", "GetFileAttributesA",
      "SetFileAttributesA", "GetLastError", "SetLastError",
      // the restart
      "GetCurrentProcess"}},
    {"USER32.dll",
     {"RegisterClassA", "LoadIconA", "LoadCursorA", "CreateDialogParamA", "ShowWindow",
      "UpdateWindow", "GetMessageA", "IsDialogMessageA", "TranslateMessage", "DispatchMessageA",
      "SendDlgItemMessageA", "EndDialog", "PostQuitMessage", "MessageBoxA", "ExitWindowsEx"}},
    {"ADVAPI32.dll", {"OpenProcessToken", "LookupPrivilegeValueA", "AdjustTokenPrivileges"}},
};

// KERNEL32 functions that Windows XP does not have but that toolchains and
// runtimes like to pull in. Importing any of them makes the loader refuse
// to start the program on XP. (GetLogicalProcessorInformation is deliberately
// absent: XP SP3 has it.) The exact list above already shuts them out; this
// names the reason when one comes back.
const std::set<std::string> kKernel32NewerThanXp = {
    "GetTickCount64",
    "InitializeCriticalSectionEx",
    "FlsAlloc",
    "FlsGetValue",
    "FlsSetValue",
    "FlsFree",
    "GetLocaleInfoEx",
    "LCMapStringEx",
    "CompareStringEx",
    "GetUserDefaultLocaleName",
    "LocaleNameToLCID",
    "InitOnceExecuteOnce",
    "InitOnceBeginInitialize",
    "InitOnceComplete",
    "InitializeSRWLock",
    "AcquireSRWLockExclusive",
    "AcquireSRWLockShared",
    "ReleaseSRWLockExclusive",
    "ReleaseSRWLockShared",
    "TryAcquireSRWLockExclusive",
    "TryAcquireSRWLockShared",
    "InitializeConditionVariable",
    "SleepConditionVariableSRW",
    "SleepConditionVariableCS",
    "WakeConditionVariable",
    "WakeAllConditionVariable",
    "CreateEventExA",
    "CreateEventExW",
    "CreateSemaphoreExW",
    "CreateMutexExW",
    "GetSystemTimePreciseAsFileTime",
    "SetThreadStackGuarantee",
    "GetCurrentProcessorNumber",
    "QueryFullProcessImageNameA",
    "QueryFullProcessImageNameW",
    "GetFinalPathNameByHandleA",
    "GetFinalPathNameByHandleW",
    "CreateSymbolicLinkA",
    "CreateSymbolicLinkW",
    "GetErrorMode",
    "SetThreadErrorMode",
    "RaiseFailFastException",
    "GetEnabledXStateFeatures",
    "SetDefaultDllDirectories",
    "GetFileInformationByHandleEx",
    "SetFileInformationByHandle",
    "CancelIoEx",
    "GetQueuedCompletionStatusEx",
    "FlushProcessWriteBuffers",
};

// ---------------------------------------------------------------------------
// Builds we ship.

struct Target {
  const char* name;  // as in BRISVANE_EXPECT_MACHINE
  uint16_t machine;
  bool pe32_plus;
  // The loader of NT 4.0 (4.0) and of XP x64 / Server 2003 (5.2) refuses
  // images that ask for a newer subsystem. The OS version matches it.
  uint16_t subsystem_major;
  uint16_t subsystem_minor;
};

const Target kTargets[] = {
    {"i686", pe::kMachineI386, false, 4, 0},
    {"x86_64", pe::kMachineAmd64, true, 5, 2},
};

constexpr std::size_t kI686SizeLimit = 10240;

// ---------------------------------------------------------------------------
// Window style bits, spelled out because <windows.h> is not available here.

constexpr uint32_t WS_POPUP = 0x80000000;
constexpr uint32_t WS_CHILD = 0x40000000;
constexpr uint32_t WS_VISIBLE = 0x10000000;
constexpr uint32_t WS_CAPTION = 0x00C00000;
constexpr uint32_t WS_BORDER = 0x00800000;
constexpr uint32_t WS_VSCROLL = 0x00200000;
constexpr uint32_t WS_SYSMENU = 0x00080000;
constexpr uint32_t WS_TABSTOP = 0x00010000;
constexpr uint32_t DS_SYSMODAL = 0x0002;
constexpr uint32_t DS_SETFONT = 0x0040;
constexpr uint32_t DS_MODALFRAME = 0x0080;
constexpr uint32_t DS_SETFOREGROUND = 0x0200;
constexpr uint32_t DS_CENTER = 0x0800;
constexpr uint32_t LBS_NOTIFY = 0x0001;
constexpr uint32_t LBS_SORT = 0x0002;
constexpr uint32_t LBS_NOINTEGRALHEIGHT = 0x0100;
constexpr uint32_t BS_TYPEMASK = 0x000F;
constexpr uint32_t BS_DEFPUSHBUTTON = 0x0001;
constexpr uint32_t BS_FLAT = 0x8000;
constexpr uint32_t SS_ICON = 0x0003;

constexpr uint16_t kAtomButton = 0x80;
constexpr uint16_t kAtomStatic = 0x82;
constexpr uint16_t kAtomListBox = 0x83;

constexpr uint16_t kLangJapanese = 1041;

// ---------------------------------------------------------------------------
// The dialog the program is built around.

constexpr uint16_t kDialogId = 101;
constexpr uint16_t kIconId = 102;

constexpr uint32_t kDialogStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT |
                                  DS_CENTER | DS_SETFOREGROUND | DS_SYSMODAL;
constexpr uint32_t kListStyle =
    WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL | WS_TABSTOP | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT;
constexpr uint32_t kButtonStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP;
constexpr uint32_t kIconStyle = WS_CHILD | WS_VISIBLE | SS_ICON;

const char kCaption[] = "どのOSに切り替えますか？";
constexpr uint16_t kFontPoints = 9;
const char kFontFace[] = "ＭＳ Ｐゴシック";  // full-width letters, ASCII space

struct ExpectedItem {
  const char* role;
  uint16_t id;
  uint16_t class_atom;
  const char* class_name;  // the same class when written as a string
  uint32_t style;
  std::array<int, 4> rect;  // x, y, cx, cy in dialog units
  const char* text;         // nullptr: not checked
  uint16_t icon;            // non-zero: the title names this icon instead
};

// In tab order, which is creation order.
const ExpectedItem kDialogItems[] = {
    {"OS list", 1002, kAtomListBox, "ListBox", kListStyle, {5, 5, 170, 30}, nullptr, 0},
    {"switch button", 1, kAtomButton, "Button", kButtonStyle, {5, 40, 61, 25}, "OS切り替え実行", 0},
    {"boot menu button", 3, kAtomButton, "Button", kButtonStyle, {98, 40, 55, 13}, "起動時選択", 0},
    {"cancel button", 2, kAtomButton, "Button", kButtonStyle, {155, 40, 20, 13}, "中止", 0},
    {"icon", 0xFFFF, kAtomStatic, "Static", kIconStyle, {73, 41, 20, 20}, nullptr, kIconId},
    {"about button",
     1003,
     kAtomButton,
     "Button",
     kButtonStyle | BS_FLAT,
     {149, 56, 26, 9},
     "about",
     0},
};

// ---------------------------------------------------------------------------
// Helpers

// ASCII lower case, for DLL and class names, which Windows matches
// without regard to case.
std::string lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

// "0x80C80AC2": styles and machine types read best in hex.
std::string hex(uint32_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08X", value);
  return text;
}

// "a, b, c", or "(none)".
std::string join(const std::set<std::string>& names) {
  std::string out;
  for (const std::string& name : names) out += (out.empty() ? "" : ", ") + name;
  return out.empty() ? "(none)" : out;
}

// Names in `actual` but not `expected` and the other way round, as a
// sentence for a failure message; empty if the sets are equal.
std::string difference(const std::set<std::string>& actual, const std::set<std::string>& expected) {
  std::set<std::string> unexpected, missing;
  std::set_difference(actual.begin(), actual.end(), expected.begin(), expected.end(),
                      std::inserter(unexpected, unexpected.end()));
  std::set_difference(expected.begin(), expected.end(), actual.begin(), actual.end(),
                      std::inserter(missing, missing.end()));
  if (unexpected.empty() && missing.empty()) return "";
  return "unexpected: " + join(unexpected) + "; missing: " + join(missing);
}

// True if a dialog class field names the given predefined class, whether
// the resource compiler wrote it as an atom or as a string.
bool is_class(const pe::NameOrId& value, uint16_t atom, const char* name) {
  return value.named ? lower(pe::ToUtf8(value.name)) == lower(name) : value.id == atom;
}

// Everything read from BRISVANE_EXE, loaded once for all tests.
struct Executable {
  std::string path;
  std::string error;  // set if the headers could not be read
  std::unique_ptr<pe::PeFile> file;
  std::vector<pe::ImportedDll> imports;
  std::string imports_error;
  std::vector<pe::Resource> resources;
  std::string resources_error;
};

// Loads `path` on first use and prints what it is; later calls return the
// same result whatever path they pass.
const Executable& executable(const std::string& path) {
  static const Executable loaded = [&] {
    Executable exe;
    exe.path = path;
    try {
      exe.file = std::make_unique<pe::PeFile>(pe::ReadFileBytes(path));
    } catch (const pe::PeError& e) {
      exe.error = path + ": " + e.what();
      return exe;
    }
    try {
      exe.imports = exe.file->Imports();
    } catch (const pe::PeError& e) {
      exe.imports_error = e.what();
    }
    try {
      exe.resources = exe.file->Resources();
    } catch (const pe::PeError& e) {
      exe.resources_error = e.what();
    }
    const pe::PeFile& f = *exe.file;
    std::cout << "[ audit    ] " << path << ": " << f.FileSize() << " bytes, machine "
              << hex(f.Machine()) << (f.IsPe32Plus() ? " PE32+" : " PE32") << ", subsystem "
              << f.Subsystem() << " " << f.MajorSubsystemVersion() << "."
              << f.MinorSubsystemVersion() << ", OS version " << f.MajorOsVersion() << "."
              << f.MinorOsVersion() << std::endl;
    return exe;
  }();
  return loaded;
}

class Audit : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* path = std::getenv("BRISVANE_EXE");
    if (path == nullptr || *path == '\0')
      GTEST_SKIP() << "BRISVANE_EXE is not set; set it to a built Brisvane .exe (and "
                      "BRISVANE_EXPECT_MACHINE to i686 or x86_64) to audit it";

    const char* machine = std::getenv("BRISVANE_EXPECT_MACHINE");
    const std::string wanted = machine ? machine : "";
    for (const Target& t : kTargets)
      if (wanted == t.name) target_ = &t;
    ASSERT_NE(target_, nullptr) << "BRISVANE_EXPECT_MACHINE is \"" << wanted
                                << "\"; it must be i686 or x86_64";

    exe_ = &executable(path);
    ASSERT_EQ(exe_->error, "");
  }

  const pe::PeFile& file() const { return *exe_->file; }

  // The imports; the test fails if they did not decode.
  const std::vector<pe::ImportedDll>& imports() const {
    EXPECT_EQ(exe_->imports_error, "") << "the import table does not decode";
    return exe_->imports;
  }

  const std::vector<pe::Resource>& resources() const {
    EXPECT_EQ(exe_->resources_error, "") << "the resource directory does not decode";
    return exe_->resources;
  }

  // All functions imported from `dll` (case-insensitive), merged across
  // descriptors; `found` tells whether the DLL is imported at all.
  std::set<std::string> functions_of(const std::string& dll, bool* found = nullptr) const {
    std::set<std::string> functions;
    if (found) *found = false;
    for (const pe::ImportedDll& d : imports()) {
      if (lower(d.name) != lower(dll)) continue;
      if (found) *found = true;
      functions.insert(d.functions.begin(), d.functions.end());
    }
    return functions;
  }

  // The resource with this numeric type, name and language, or nullptr.
  const pe::Resource* find_resource(uint16_t type, uint16_t name, uint16_t language) const {
    for (const pe::Resource& r : resources())
      if (!r.type.named && r.type.id == type && !r.name.named && r.name.id == name &&
          r.language == language)
        return &r;
    return nullptr;
  }

  // Every resource, listed for failure messages.
  std::string resource_list() const {
    std::string out;
    for (const pe::Resource& r : resources())
      out += " " + pe::ToString(r.type) + "/" + pe::ToString(r.name) + "/" +
             std::to_string(r.language);
    return out.empty() ? " (none)" : out;
  }

  const Target* target_ = nullptr;
  const Executable* exe_ = nullptr;
};

// ---------------------------------------------------------------------------
// Headers

TEST_F(Audit, MachineMatchesTheTarget) {
  EXPECT_EQ(hex(file().Machine()), hex(target_->machine)) << "built for the wrong CPU";
  EXPECT_EQ(file().IsPe32Plus(), target_->pe32_plus);
}

TEST_F(Audit, IsAGuiProgramThatTheOldestLoaderWillLoad) {
  EXPECT_EQ(file().Subsystem(), pe::kSubsystemWindowsGui) << "a console window would open with it";
  EXPECT_EQ(file().MajorSubsystemVersion(), target_->subsystem_major);
  EXPECT_EQ(file().MinorSubsystemVersion(), target_->subsystem_minor);
  EXPECT_EQ(file().MajorOsVersion(), target_->subsystem_major);
  EXPECT_EQ(file().MinorOsVersion(), target_->subsystem_minor);
}

// Older loaders ignore both bits; newer ones place the image at random and
// keep its data from running.
TEST_F(Audit, AsksForAddressRandomisationAndNoExecuteData) {
  EXPECT_NE(file().DllCharacteristics() & pe::kDllCharacteristicsDynamicBase, 0)
      << "DYNAMIC_BASE is not set: DllCharacteristics " << hex(file().DllCharacteristics());
  EXPECT_NE(file().DllCharacteristics() & pe::kDllCharacteristicsNxCompat, 0)
      << "NX_COMPAT is not set: DllCharacteristics " << hex(file().DllCharacteristics());
}

// A TLS directory means start-up code the program does not have: its callbacks
// would run before the entry point.
TEST_F(Audit, HasNoThreadLocalStorage) { EXPECT_EQ(file().Directory(pe::kDirectoryTls).rva, 0u); }

TEST_F(Audit, I686BuildFitsTheSizeLimit) {
  const std::size_t size = file().FileSize();
  RecordProperty("file_size", static_cast<int>(size));
  std::cout << "[ audit    ] " << target_->name << " executable size: " << size << " bytes"
            << std::endl;
  for (const pe::Section& section : file().Sections())
    std::cout << "[ audit    ]   " << section.name << ": " << section.virtualSize
              << " bytes in memory, " << section.rawSize << " in the file at " << section.rawOffset
              << ", flags " << hex(section.characteristics) << std::endl;
  if (std::string(target_->name) != "i686")
    GTEST_SKIP() << "the " << kI686SizeLimit << "-byte limit is for the i686 build; this one is "
                 << size << " bytes";
  EXPECT_LE(size, kI686SizeLimit);
}

// Whatever is done for size, every loader must still take the layout: data
// on 512-byte boundaries of the file, and nothing both writable and executable.
TEST_F(Audit, SectionsAreAlignedAndNeverWritableAndExecutable) {
  constexpr uint32_t kWritable = 0x80000000, kExecutable = 0x20000000;
  for (const pe::Section& section : file().Sections()) {
    SCOPED_TRACE(section.name);
    EXPECT_EQ(section.rawOffset % 512, 0u);
    EXPECT_EQ(section.rawSize % 512, 0u);
    EXPECT_NE(section.characteristics & (kWritable | kExecutable), kWritable | kExecutable)
        << "flags " << hex(section.characteristics);
  }
}

// ---------------------------------------------------------------------------
// Imports

TEST_F(Audit, ImportsOnlyTheExpectedDlls) {
  std::set<std::string> actual, expected;
  for (const pe::ImportedDll& d : imports()) actual.insert(lower(d.name));
  for (const ImportRule& rule : kImportRules) expected.insert(lower(rule.dll));
  EXPECT_EQ(difference(actual, expected), "");
}

TEST_F(Audit, ImportsExactlyTheExpectedFunctions) {
  for (const ImportRule& rule : kImportRules) {
    SCOPED_TRACE(rule.dll);
    bool found = false;
    const std::set<std::string> actual = functions_of(rule.dll, &found);
    if (!found) continue;  // reported by ImportsOnlyTheExpectedDlls
    EXPECT_EQ(difference(actual, rule.functions), "");
  }
}

TEST_F(Audit, Kernel32ImportsExistOnWindowsXp) {
  std::set<std::string> too_new, by_ordinal;
  for (const std::string& name : functions_of("KERNEL32.dll")) {
    if (kKernel32NewerThanXp.count(name)) too_new.insert(name);
    if (name[0] == '#') by_ordinal.insert(name);
  }
  EXPECT_TRUE(too_new.empty()) << "missing on Windows XP: " << join(too_new);
  EXPECT_TRUE(by_ordinal.empty()) << "kernel32 ordinals change between Windows versions: "
                                  << join(by_ordinal);
}

TEST_F(Audit, HasNoDelayLoadedImports) {
  // Delay-loaded DLLs bypass the import checks above.
  EXPECT_EQ(file().Directory(pe::kDirectoryDelayImport).rva, 0u);
}

// ---------------------------------------------------------------------------
// Resources

TEST_F(Audit, ResourceTypesAreExactlyDialogIconGroupIconAndVersion) {
  std::set<std::string> actual;
  for (const pe::Resource& r : resources()) actual.insert(pe::ToString(r.type));
  const std::set<std::string> expected = {
      pe::ToString({false, pe::kRtDialog, {}}), pe::ToString({false, pe::kRtIcon, {}}),
      pe::ToString({false, pe::kRtGroupIcon, {}}), pe::ToString({false, pe::kRtVersion, {}})};
  EXPECT_EQ(difference(actual, expected), "") << "resource types by number";
}

class AuditDialog : public Audit {
 protected:
  void SetUp() override {
    Audit::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    const pe::Resource* resource = find_resource(pe::kRtDialog, kDialogId, kLangJapanese);
    ASSERT_NE(resource, nullptr) << "no dialog " << kDialogId << " in language " << kLangJapanese
                                 << "; resources:" << resource_list();
    try {
      dialog_ = pe::DecodeDialog(resource->data);
    } catch (const pe::PeError& e) {
      FAIL() << "dialog " << kDialogId << " does not decode: " << e.what();
    }
  }

  pe::DialogTemplate dialog_;
};

TEST_F(AuditDialog, Header) {
  EXPECT_EQ(hex(dialog_.style), hex(kDialogStyle))
      << "differing bits " << hex(dialog_.style ^ kDialogStyle);
  EXPECT_EQ(dialog_.exStyle, 0u);
  EXPECT_EQ(pe::ToUtf8(dialog_.title), kCaption);
  EXPECT_TRUE(dialog_.hasFont);
  EXPECT_EQ(dialog_.fontPointSize, kFontPoints);
  EXPECT_EQ(pe::ToUtf8(dialog_.fontFace), kFontFace);
}

TEST_F(AuditDialog, ItemsInOrder) {
  const std::size_t expected_count = std::size(kDialogItems);
  ASSERT_EQ(dialog_.items.size(), expected_count);
  for (std::size_t i = 0; i < expected_count; ++i) {
    const pe::DialogItem& item = dialog_.items[i];
    const ExpectedItem& want = kDialogItems[i];
    SCOPED_TRACE("item " + std::to_string(i) + " (" + want.role + ")");

    // A DIALOG stores -1 as 0xFFFF and a DIALOGEX as 0xFFFFFFFF; the low
    // WORD is what both agree on.
    EXPECT_EQ(item.id & 0xFFFF, want.id);
    EXPECT_TRUE(is_class(item.windowClass, want.class_atom, want.class_name))
        << "class is " << pe::ToString(item.windowClass) << ", expected " << want.class_name;
    EXPECT_EQ(hex(item.style), hex(want.style))
        << "differing bits " << hex(item.style ^ want.style);
    EXPECT_EQ((std::array<int, 4>{item.x, item.y, item.cx, item.cy}), want.rect);
    if (want.text) {
      EXPECT_TRUE(item.title.named) << "title is " << pe::ToString(item.title);
      EXPECT_EQ(pe::ToUtf8(item.title.name), want.text);
    }
    if (want.icon) {
      EXPECT_FALSE(item.title.named) << "icon control names \"" << pe::ToString(item.title)
                                     << "\", not icon resource " << want.icon;
      EXPECT_EQ(item.title.id, want.icon);
    }
  }
}

// Checked on their own, whatever the table above says, because either one
// changes what the Enter key or the OS list order does.
TEST_F(AuditDialog, NoDefaultButtonAndNoSortedList) {
  for (const pe::DialogItem& item : dialog_.items) {
    SCOPED_TRACE("item id " + std::to_string(item.id));
    if (is_class(item.windowClass, kAtomButton, "Button")) {
      EXPECT_NE(item.style & BS_TYPEMASK, BS_DEFPUSHBUTTON) << "a button is BS_DEFPUSHBUTTON";
    }
    if (is_class(item.windowClass, kAtomListBox, "ListBox")) {
      EXPECT_EQ(item.style & LBS_SORT, 0u) << "the list has LBS_SORT";
    }
  }
}

TEST_F(Audit, GroupIconHasTheTwoFourBitImages) {
  const pe::Resource* group = find_resource(pe::kRtGroupIcon, kIconId, kLangJapanese);
  ASSERT_NE(group, nullptr) << "no group icon " << kIconId << " in language " << kLangJapanese
                            << "; resources:" << resource_list();
  std::vector<pe::GroupIconEntry> entries;
  try {
    entries = pe::DecodeGroupIcon(group->data);
  } catch (const pe::PeError& e) {
    FAIL() << "group icon does not decode: " << e.what();
  }

  std::multiset<std::pair<unsigned, unsigned>> sizes;
  for (const pe::GroupIconEntry& entry : entries) {
    SCOPED_TRACE("icon image " + std::to_string(entry.iconId));
    sizes.insert({entry.width, entry.height});
    EXPECT_EQ(entry.bitCount, 4u);

    // The directory only describes the images; check the image it
    // points at exists and is what it claims to be.
    const pe::Resource* image = nullptr;
    for (const pe::Resource& r : resources())
      if (!r.type.named && r.type.id == pe::kRtIcon && !r.name.named && r.name.id == entry.iconId)
        image = &r;
    ASSERT_NE(image, nullptr) << "the group icon points at a missing RT_ICON";
    EXPECT_EQ(image->data.size(), entry.bytesInResource);
    ASSERT_GE(image->data.size(), 16u);
    const auto u32 = [&](std::size_t at) {
      return uint32_t{image->data[at]} | uint32_t{image->data[at + 1]} << 8 |
             uint32_t{image->data[at + 2]} << 16 | uint32_t{image->data[at + 3]} << 24;
    };
    ASSERT_EQ(u32(0), 40u) << "the image is not a BITMAPINFOHEADER bitmap";
    EXPECT_EQ(u32(4), entry.width);
    EXPECT_EQ(u32(8), entry.height * 2) << "bitmap height counts the XOR and AND masks";
    EXPECT_EQ(image->data[14] | image->data[15] << 8, 4) << "image bits per pixel";
  }
  const std::multiset<std::pair<unsigned, unsigned>> expected = {{32, 32}, {16, 16}};
  EXPECT_EQ(sizes, expected);
}

TEST_F(Audit, VersionResourceNamesTheProductInJapanese) {
  std::vector<const pe::Resource*> versions;
  for (const pe::Resource& r : resources())
    if (!r.type.named && r.type.id == pe::kRtVersion) versions.push_back(&r);
  ASSERT_EQ(versions.size(), 1u) << "version resources; all resources:" << resource_list();

  pe::VersionInfo info;
  try {
    info = pe::DecodeVersionInfo(versions[0]->data);
  } catch (const pe::PeError& e) {
    FAIL() << "version resource does not decode: " << e.what();
  }

  // VerQueryValue matches block names without regard to case.
  const pe::VersionStringTable* table = nullptr;
  std::string blocks;
  for (const pe::VersionStringTable& t : info.stringTables) {
    blocks += " " + pe::ToUtf8(t.block);
    if (lower(pe::ToUtf8(t.block)) == "041104b0") table = &t;
  }
  ASSERT_NE(table, nullptr) << "no StringFileInfo block 041104B0; blocks:" << blocks;

  std::map<std::string, std::string> strings;
  for (const auto& kv : table->strings) strings[pe::ToUtf8(kv.first)] = pe::ToUtf8(kv.second);
  EXPECT_EQ(strings["ProductName"], "Brisvane");
  EXPECT_EQ(strings["CompanyName"], "Kestrin");
  // The licence's holder, as LICENSE names it.
  EXPECT_EQ(strings["LegalCopyright"], "Copyright (c) 2026 Kestrin");

  ASSERT_EQ(info.translations.size(), 1u);
  EXPECT_EQ(info.translations[0].language, kLangJapanese);
  EXPECT_EQ(info.translations[0].codePage, 1200u) << "Unicode";
}

}  // namespace
