// Tests of the PE reader on small hand-made files and resource blobs. The
// audit depends on the reader telling the truth about real executables and
// on it failing cleanly, not crashing, on damaged ones; run these under
// AddressSanitizer/UBSan to catch reads that stray outside the buffer.

#include "pe_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <ostream>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

// Overwrite a little-endian field in place; at() keeps a slip in a test
// from writing outside the buffer.
void put16(Bytes& b, std::size_t at, uint16_t v) {
  b.at(at) = v & 0xFF;
  b.at(at + 1) = v >> 8;
}

void put32(Bytes& b, std::size_t at, uint32_t v) {
  put16(b, at, v & 0xFFFF);
  put16(b, at + 2, v >> 16);
}

void put64(Bytes& b, std::size_t at, uint64_t v) {
  put32(b, at, static_cast<uint32_t>(v));
  put32(b, at + 4, static_cast<uint32_t>(v >> 32));
}

// Appends little-endian fields, the way a linker or resource compiler
// writes them.
class Writer {
 public:
  Writer& u8(uint8_t v) {
    bytes.push_back(v);
    return *this;
  }
  Writer& u16(uint16_t v) { return u8(v & 0xFF).u8(v >> 8); }
  Writer& u32(uint32_t v) { return u16(v & 0xFFFF).u16(v >> 16); }
  // A NUL-terminated UTF-16 string.
  Writer& text(const std::u16string& s) {
    for (char16_t c : s) u16(c);
    return u16(0);
  }
  Writer& raw(const Bytes& b) {
    bytes.insert(bytes.end(), b.begin(), b.end());
    return *this;
  }
  Writer& align4() {
    while (bytes.size() % 4) u8(0);
    return *this;
  }
  Bytes bytes;
};

// ---------------------------------------------------------------------------
// A minimal executable: headers in the first 0x200 bytes, then one section
// (RVA 0x1000, 0x400 bytes) holding an import table and a resource tree.

constexpr std::size_t kCoff = 0x44;
constexpr std::size_t kOptional = 0x58;
constexpr uint32_t kSectionRva = 0x1000;
constexpr std::size_t kSectionFile = 0x200;
constexpr std::size_t kSectionSize = 0x400;

constexpr uint32_t kImportRva = 0x1000;
constexpr uint32_t kDllNameRva = 0x1080;
constexpr uint32_t kLookupRva = 0x1100;
constexpr uint32_t kIatRva = 0x1140;
constexpr uint32_t kResourceRva = 0x1200;

struct TestPe {
  bool plus;
  Bytes bytes;

  std::size_t optional_size() const { return plus ? 0xF0 : 0xE0; }
  std::size_t section_header() const { return kOptional + optional_size(); }
  std::size_t directory(std::size_t index) const {
    return kOptional + (plus ? 112 : 96) + index * 8;
  }
  static std::size_t at_rva(uint32_t rva) { return rva - kSectionRva + kSectionFile; }
  // File offset of a spot in the resource tree, given relative to its root.
  static std::size_t at_resource(uint32_t offset) { return at_rva(kResourceRva + offset); }
  // File offset of thunk `i` in the lookup table.
  std::size_t lookup_thunk(int i) const { return at_rva(kLookupRva) + i * (plus ? 8 : 4); }
};

// Overwrites bytes with the characters of `s` (no NUL added).
void put_ascii(Bytes& b, std::size_t at, const std::string& s) {
  for (std::size_t i = 0; i < s.size(); ++i) b.at(at + i) = static_cast<uint8_t>(s[i]);
}

// The whole file, valid, in PE32 or PE32+ form.
TestPe make_pe(bool plus) {
  TestPe pe{plus, Bytes(kSectionFile + kSectionSize, 0)};
  Bytes& b = pe.bytes;

  put16(b, 0, 0x5A4D);
  put32(b, 0x3C, 0x40);
  put32(b, 0x40, 0x00004550);
  put16(b, kCoff, plus ? pe::kMachineAmd64 : pe::kMachineI386);
  put16(b, kCoff + 2, 1);  // sections
  put16(b, kCoff + 16, static_cast<uint16_t>(pe.optional_size()));
  put16(b, kCoff + 18, 0x0102);
  put16(b, kOptional, plus ? 0x20b : 0x10b);
  put16(b, kOptional + 40, 4);  // OS version 4.0
  put16(b, kOptional + 48, 5);  // subsystem version 5.1
  put16(b, kOptional + 50, 1);
  put32(b, kOptional + 60, 0x200);  // SizeOfHeaders
  put16(b, kOptional + 68, pe::kSubsystemWindowsGui);
  put32(b, kOptional + (plus ? 108 : 92), 16);
  put32(b, pe.directory(pe::kDirectoryImport), kImportRva);
  put32(b, pe.directory(pe::kDirectoryImport) + 4, 40);
  put32(b, pe.directory(pe::kDirectoryResource), kResourceRva);
  put32(b, pe.directory(pe::kDirectoryResource) + 4, 0xE0);

  const std::size_t s = pe.section_header();
  put_ascii(b, s, ".data");
  put32(b, s + 8, kSectionSize);
  put32(b, s + 12, kSectionRva);
  put32(b, s + 16, kSectionSize);
  put32(b, s + 20, kSectionFile);

  // Imports: USER32.dll with two functions by name and one by ordinal.
  const std::size_t d = TestPe::at_rva(kImportRva);
  put32(b, d, kLookupRva);
  put32(b, d + 12, kDllNameRva);
  put32(b, d + 16, kIatRva);
  put_ascii(b, TestPe::at_rva(kDllNameRva), "USER32.dll");
  put_ascii(b, TestPe::at_rva(0x10A2), "MessageBoxA");
  put_ascii(b, TestPe::at_rva(0x10C2), "ExitWindowsEx");
  const uint64_t by_ordinal = plus ? (uint64_t{1} << 63 | 5) : (uint64_t{1} << 31 | 5);
  const uint64_t thunks[] = {0x10A0, 0x10C0, by_ordinal};
  for (uint32_t table : {kLookupRva, kIatRva}) {
    for (int i = 0; i < 3; ++i) {
      const std::size_t at = TestPe::at_rva(table) + i * (plus ? 8 : 4);
      if (plus)
        put64(b, at, thunks[i]);
      else
        put32(b, at, static_cast<uint32_t>(thunks[i]));
    }
  }

  // Resources: dialog #101 (language 1041) and type 16 named "ABCD"
  // (language 1033).
  auto r = [](uint32_t offset) { return TestPe::at_resource(offset); };
  put16(b, r(0x00) + 14, 2);
  put32(b, r(0x10), 5);
  put32(b, r(0x14), 0x80000000 | 0x20);
  put32(b, r(0x18), 16);
  put32(b, r(0x1C), 0x80000000 | 0x50);
  put16(b, r(0x20) + 14, 1);
  put32(b, r(0x30), 101);
  put32(b, r(0x34), 0x80000000 | 0x38);
  put16(b, r(0x38) + 14, 1);
  put32(b, r(0x48), 1041);
  put32(b, r(0x4C), 0x80);
  put16(b, r(0x50) + 12, 1);  // one named entry
  put32(b, r(0x60), 0x80000000 | 0xA0);
  put32(b, r(0x64), 0x80000000 | 0x68);
  put16(b, r(0x68) + 14, 1);
  put32(b, r(0x78), 1033);
  put32(b, r(0x7C), 0x90);
  put32(b, r(0x80), kResourceRva + 0xC0);
  put32(b, r(0x84), 8);
  put32(b, r(0x90), kResourceRva + 0xD0);
  put32(b, r(0x94), 4);
  put32(b, r(0x98), 1200);
  put16(b, r(0xA0), 4);
  for (int i = 0; i < 4; ++i) put16(b, r(0xA2) + i * 2, static_cast<uint16_t>(u"ABCD"[i]));
  put_ascii(b, r(0xC0), "DATA1234");
  put_ascii(b, r(0xD0), "VERS");
  return pe;
}

// The bytes of `s`, without a NUL.
Bytes ascii_bytes(const std::string& s) { return Bytes(s.begin(), s.end()); }

// Runs every stage of decoding; returns how far it got before a PeError
// (0: headers, 1: imports, 2: resources, 3: all decoded) and the message.
// Any other exception escapes and fails the calling test.
int decode_all(const Bytes& bytes, std::string* message = nullptr) {
  int stage = 0;
  try {
    pe::PeFile file(bytes);
    stage = 1;
    file.Imports();
    stage = 2;
    file.Resources();
    stage = 3;
  } catch (const pe::PeError& e) {
    if (message) *message = e.what();
  }
  return stage;
}

class PeFileFormats : public ::testing::TestWithParam<bool> {};

INSTANTIATE_TEST_SUITE_P(Both, PeFileFormats, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& param) {
                           return param.param ? "Pe32Plus" : "Pe32";
                         });

TEST_P(PeFileFormats, ReadsTheHeaders) {
  const TestPe built = make_pe(GetParam());
  const pe::PeFile file(built.bytes);
  EXPECT_EQ(file.Machine(), GetParam() ? pe::kMachineAmd64 : pe::kMachineI386);
  EXPECT_EQ(file.IsPe32Plus(), GetParam());
  EXPECT_EQ(file.Subsystem(), pe::kSubsystemWindowsGui);
  EXPECT_EQ(file.MajorSubsystemVersion(), 5);
  EXPECT_EQ(file.MinorSubsystemVersion(), 1);
  EXPECT_EQ(file.MajorOsVersion(), 4);
  EXPECT_EQ(file.MinorOsVersion(), 0);
  EXPECT_EQ(file.FileSize(), built.bytes.size());
  ASSERT_EQ(file.Sections().size(), 1u);
  EXPECT_EQ(file.Sections()[0].name, ".data");
  EXPECT_EQ(file.Directory(pe::kDirectoryResource).rva, kResourceRva);
  EXPECT_EQ(file.Directory(99).rva, 0u);
}

TEST_P(PeFileFormats, ReadsImportsByNameAndByOrdinal) {
  const pe::PeFile file(make_pe(GetParam()).bytes);
  const std::vector<pe::ImportedDll> dlls = file.Imports();
  ASSERT_EQ(dlls.size(), 1u);
  EXPECT_EQ(dlls[0].name, "USER32.dll");
  EXPECT_EQ(dlls[0].functions, (std::vector<std::string>{"MessageBoxA", "ExitWindowsEx", "#5"}));
}

TEST_P(PeFileFormats, FallsBackToTheIatWithoutALookupTable) {
  TestPe built = make_pe(GetParam());
  put32(built.bytes, TestPe::at_rva(kImportRva), 0);
  const pe::PeFile file(built.bytes);
  ASSERT_EQ(file.Imports().size(), 1u);
  EXPECT_EQ(file.Imports()[0].functions.size(), 3u);
}

TEST_P(PeFileFormats, ReadsTheResourceTree) {
  const pe::PeFile file(make_pe(GetParam()).bytes);
  const std::vector<pe::Resource> resources = file.Resources();
  ASSERT_EQ(resources.size(), 2u);

  EXPECT_FALSE(resources[0].type.named);
  EXPECT_EQ(resources[0].type.id, pe::kRtDialog);
  EXPECT_EQ(pe::ToString(resources[0].name), "#101");
  EXPECT_EQ(resources[0].language, 1041);
  EXPECT_EQ(resources[0].data, ascii_bytes("DATA1234"));

  EXPECT_EQ(resources[1].type.id, pe::kRtVersion);
  EXPECT_TRUE(resources[1].name.named);
  EXPECT_EQ(resources[1].name.name, u"ABCD");
  EXPECT_EQ(resources[1].language, 1033);
  EXPECT_EQ(resources[1].codePage, 1200u);
  EXPECT_EQ(resources[1].data, ascii_bytes("VERS"));
}

TEST_P(PeFileFormats, FileWithoutImportsOrResourcesIsEmptyNotAnError) {
  TestPe built = make_pe(GetParam());
  put32(built.bytes, built.directory(pe::kDirectoryImport), 0);
  put32(built.bytes, built.directory(pe::kDirectoryResource), 0);
  const pe::PeFile file(built.bytes);
  EXPECT_TRUE(file.Imports().empty());
  EXPECT_TRUE(file.Resources().empty());
}

TEST_P(PeFileFormats, EveryTruncationIsAnError) {
  const Bytes whole = make_pe(GetParam()).bytes;
  for (std::size_t size = 0; size < whole.size(); ++size) {
    SCOPED_TRACE("first " + std::to_string(size) + " bytes");
    const Bytes prefix(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(size));
    EXPECT_LT(decode_all(prefix), 3);
  }
}

// Every byte overwritten in turn with values that make offsets and counts
// huge, negative-looking or zero. Nothing here asserts a result: the point
// is that only PeError may come out, and the sanitizers see no bad read.
TEST_P(PeFileFormats, CorruptingAnyByteNeverCrashes) {
  const Bytes whole = make_pe(GetParam()).bytes;
  for (std::size_t at = 0; at < whole.size(); ++at) {
    for (uint8_t value : {0x00, 0x7F, 0x80, 0xFF}) {
      Bytes bytes = whole;
      bytes[at] = value;
      try {
        decode_all(bytes);
      } catch (const std::exception& e) {
        ADD_FAILURE() << "byte " << at << " = " << int{value} << ": " << e.what();
      }
    }
  }
}

TEST(PeFile, PE32PlusOrdinalFlagIsBit63) {
  // A PE32 reader would take bit 31 as the ordinal flag; in PE32+ it is a
  // malformed name RVA.
  TestPe built = make_pe(true);
  put64(built.bytes, built.lookup_thunk(0), uint64_t{1} << 31 | 7);
  std::string message;
  EXPECT_EQ(decode_all(built.bytes, &message), 1) << message;
}

TEST(PeFile, MapsRvasThroughTheSectionTable) {
  TestPe built = make_pe(false);
  put32(built.bytes, built.section_header() + 8, 0x800);  // virtual size > raw size
  const pe::PeFile file(built.bytes);

  struct Case {
    uint32_t rva;
    std::size_t offset;
    std::size_t available;
  };
  const Case mapped[] = {
      {0x10, 0x10, 0x1F0},  // inside the headers
      {kSectionRva, kSectionFile, kSectionSize},
      {kSectionRva + 0x3FF, kSectionFile + 0x3FF, 1},
  };
  for (const Case& c : mapped) {
    SCOPED_TRACE(c.rva);
    std::size_t available = 0;
    EXPECT_EQ(file.RvaToOffset(c.rva, &available), c.offset);
    EXPECT_EQ(available, c.available);
  }
  for (uint32_t unmapped : {kSectionRva + 0x400u,  // zero-filled tail of the section
                            kSectionRva + 0x800u, 0x800u, 0xFFFFFFFFu}) {
    SCOPED_TRACE(unmapped);
    EXPECT_THROW(file.RvaToOffset(unmapped), pe::PeError);
  }
}

// ---------------------------------------------------------------------------
// Damaged files: each case breaks one thing and must be reported by the
// stage that reads it, with a message about that thing; the stages before
// it must still work.

enum Stage { kHeaders = 0, kImports = 1, kResources = 2 };

struct Damage {
  const char* name;
  Stage stage;
  const char* message;  // part of the expected error message
  std::function<void(TestPe&)> apply;
};

const Damage kDamages[] = {
    {"NoMzSignature", kHeaders, "not an MZ", [](TestPe& p) { put16(p.bytes, 0, 0x4D5A); }},
    {"PeOffsetPastTheEnd", kHeaders, "PE signature",
     [](TestPe& p) { put32(p.bytes, 0x3C, 0xFFFFFFF0); }},
    {"WrongPeSignature", kHeaders, "no PE signature",
     [](TestPe& p) { put32(p.bytes, 0x40, 0x01004550); }},
    {"UnknownOptionalMagic", kHeaders, "magic",
     [](TestPe& p) { put16(p.bytes, kOptional, 0x107); }},
    {"OptionalHeaderTooSmallForItsFields", kHeaders, "Subsystem",
     [](TestPe& p) { put16(p.bytes, kCoff + 16, 0x40); }},
    {"OptionalHeaderPastTheEnd", kHeaders, "optional header",
     [](TestPe& p) { put16(p.bytes, kCoff + 16, 0xFFFF); }},
    {"MoreDataDirectoriesThanTheHeaderHolds", kHeaders, "data directories",
     [](TestPe& p) { put32(p.bytes, kOptional + (p.plus ? 108 : 92), 0xFFFFFFFF); }},
    {"SectionTablePastTheEnd", kHeaders, "section table",
     [](TestPe& p) { put16(p.bytes, kCoff + 2, 0xFFFF); }},
    {"SectionDataPastTheEnd", kHeaders, "outside the file",
     [](TestPe& p) { put32(p.bytes, p.section_header() + 16, 0x401); }},
    {"SectionDataOffsetWraps", kHeaders, "outside the file",
     [](TestPe& p) { put32(p.bytes, p.section_header() + 20, 0xFFFFFF00); }},

    {"ImportTableOutsideEverySection", kImports, "not backed",
     [](TestPe& p) { put32(p.bytes, p.directory(pe::kDirectoryImport), 0x9000); }},
    {"ImportTableInZeroFilledPart", kImports, "zero-filled",
     [](TestPe& p) {
       put32(p.bytes, p.section_header() + 8, 0x2000);
       put32(p.bytes, p.directory(pe::kDirectoryImport), 0x1800);
     }},
    {"ImportTableCutShortByTheSectionEnd", kImports, "import descriptor",
     [](TestPe& p) { put32(p.bytes, p.directory(pe::kDirectoryImport), kSectionRva + 0x3F0); }},
    {"ImportTableWithoutTerminator", kImports, "import descriptor",
     [](TestPe& p) {
       // Copies of the one descriptor up to the end of the section.
       const auto first = p.bytes.begin() + static_cast<std::ptrdiff_t>(TestPe::at_rva(kImportRva));
       for (uint32_t rva = 0x1300; rva + 20 <= kSectionRva + kSectionSize; rva += 20)
         std::copy_n(first, 20, p.bytes.begin() + static_cast<std::ptrdiff_t>(TestPe::at_rva(rva)));
       put32(p.bytes, p.directory(pe::kDirectoryImport), 0x1300);
     }},
    {"DllNameOutsideTheFile", kImports, "not backed",
     [](TestPe& p) { put32(p.bytes, TestPe::at_rva(kImportRva) + 12, 0xFFFFFF00); }},
    {"DllNameWithoutNul", kImports, "imported DLL name",
     [](TestPe& p) {
       put_ascii(p.bytes, TestPe::at_rva(0x13F0), std::string(16, 'x'));
       put32(p.bytes, TestPe::at_rva(kImportRva) + 12, 0x13F0);
     }},
    {"ThunksWithoutTerminator", kImports, "import thunk",
     [](TestPe& p) {
       const std::size_t width = p.plus ? 8 : 4;
       for (std::size_t at = TestPe::at_rva(0x1300); at < kSectionFile + kSectionSize; at += width)
         put32(p.bytes, at, 0x10A0);
       put32(p.bytes, TestPe::at_rva(kImportRva), 0x1300);
     }},
    {"FunctionNameOutsideTheFile", kImports, "not backed",
     [](TestPe& p) { put32(p.bytes, p.lookup_thunk(1), 0x7FFF0000); }},

    {"DirectoryLoopsToTheRoot", kResources, "reached twice",
     [](TestPe& p) { put32(p.bytes, TestPe::at_resource(0x34), 0x80000000); }},
    {"DirectoryLoopsToItself", kResources, "reached twice",
     [](TestPe& p) { put32(p.bytes, TestPe::at_resource(0x14), 0x80000000); }},
    {"TwoTypesShareASubtree", kResources, "reached twice",
     [](TestPe& p) { put32(p.bytes, TestPe::at_resource(0x1C), 0x80000000 | 0x20); }},
    {"TypeEntryPointsAtData", kResources, "instead of a directory",
     [](TestPe& p) { put32(p.bytes, TestPe::at_resource(0x14), 0x80); }},
    {"LanguageEntryPointsAtADirectory", kResources, "points at a directory",
     [](TestPe& p) { put32(p.bytes, TestPe::at_resource(0x4C), 0x80000000 | 0x38); }},
    {"SubdirectoryOutsideTheSection", kResources, "resource directory",
     [](TestPe& p) { put32(p.bytes, TestPe::at_resource(0x14), 0xFFFFFFF0); }},
    {"EntriesRunPastTheSection", kResources, "resource directory entry",
     [](TestPe& p) {
       // A language directory in the section's last 16 bytes claiming
       // 65535 entries after them.
       put16(p.bytes, TestPe::at_resource(0x1F0) + 14, 0xFFFF);
       put32(p.bytes, TestPe::at_resource(0x64), 0x80000000 | 0x1F0);
     }},
    {"NameRunsPastTheSection", kResources, "resource name",
     [](TestPe& p) { put16(p.bytes, TestPe::at_resource(0xA0), 0xFFFF); }},
    {"IdWiderThan16Bits", kResources, "16 bits",
     [](TestPe& p) { put32(p.bytes, TestPe::at_resource(0x30), 0x12345); }},
    {"DataRunsPastItsSection", kResources, "runs past the end",
     [](TestPe& p) { put32(p.bytes, TestPe::at_resource(0x84), 0xFFFFFFFF); }},
    {"DataOutsideEverySection", kResources, "not backed",
     [](TestPe& p) { put32(p.bytes, TestPe::at_resource(0x80), 0xDEAD0000); }},
    {"DataEntriesOverlapBeyondTheFileSize", kResources, "more than the file size",
     [](TestPe& p) {
       for (uint32_t entry : {0x80u, 0x90u}) {
         put32(p.bytes, TestPe::at_resource(entry), kSectionRva);
         put32(p.bytes, TestPe::at_resource(entry + 4), kSectionSize);
       }
     }},
};

// Names the case in test output instead of dumping its bytes.
void PrintTo(const Damage& damage, std::ostream* out) { *out << damage.name; }

class PeFileDamage : public ::testing::TestWithParam<std::tuple<bool, Damage>> {};

INSTANTIATE_TEST_SUITE_P(All, PeFileDamage,
                         ::testing::Combine(::testing::Bool(), ::testing::ValuesIn(kDamages)),
                         [](const ::testing::TestParamInfo<std::tuple<bool, Damage>>& param) {
                           return std::string(std::get<1>(param.param).name) +
                                  (std::get<0>(param.param) ? "_Pe32Plus" : "_Pe32");
                         });

TEST_P(PeFileDamage, IsReportedByTheStageThatReadsIt) {
  const Damage& damage = std::get<1>(GetParam());
  TestPe built = make_pe(std::get<0>(GetParam()));
  damage.apply(built);
  std::string message;
  EXPECT_EQ(decode_all(built.bytes, &message), damage.stage) << message;
  EXPECT_NE(message.find(damage.message), std::string::npos) << message;
}

// ---------------------------------------------------------------------------
// Dialog templates

constexpr uint32_t kWsPopup = 0x80000000;
constexpr uint32_t kWsChildVisible = 0x50000000;
constexpr uint32_t kDsSetFont = 0x40;

// A DIALOG with two items: a button whose title leaves the next item in
// need of alignment padding (without the font, so does the dialog title),
// and a control with a class name, an ordinal title and creation data.
Bytes classic_dialog(bool with_font) {
  Writer w;
  w.u32(kWsPopup | (with_font ? kDsSetFont : 0)).u32(0x8).u16(2);
  w.u16(10).u16(0xFFFB).u16(200).u16(100);  // y is -5
  w.u16(0xFFFF).u16(7);                     // menu #7
  w.text(u"MyClass").text(u"Title");
  if (with_font) w.u16(9).text(u"ＭＳ Ｐゴシック");
  w.align4().u32(kWsChildVisible | 1).u32(0).u16(5).u16(6).u16(50).u16(14).u16(1);
  w.u16(0xFFFF).u16(0x80).text(u"OK").u16(0);
  w.align4().u32(kWsChildVisible | 3).u32(0x20).u16(1).u16(2).u16(3).u16(4).u16(0xFFFF);
  w.text(u"Static").u16(0xFFFF).u16(102).u16(4).u8(1).u8(2).u8(3).u8(4);
  return w.bytes;
}

// A DIALOGEX with a full font description and one item whose id is -1.
Bytes extended_dialog() {
  Writer w;
  w.u16(1).u16(0xFFFF).u32(77).u32(0x100).u32(kWsPopup | kDsSetFont).u16(1);
  w.u16(0).u16(0).u16(180).u16(70);
  w.u16(0).u16(0).text(u"Ex");
  w.u16(8).u16(700).u8(1).u8(0x80).text(u"MS Shell Dlg");
  w.align4().u32(5).u32(0x200).u32(kWsChildVisible).u16(1).u16(2).u16(30).u16(40);
  w.u32(0xFFFFFFFF).u16(0xFFFF).u16(0x83).text(u"").u16(0);
  return w.bytes;
}

TEST(DecodeDialog, ClassicTemplate) {
  const pe::DialogTemplate d = pe::DecodeDialog(classic_dialog(true));
  EXPECT_FALSE(d.extended);
  EXPECT_EQ(d.style, kWsPopup | kDsSetFont);
  EXPECT_EQ(d.exStyle, 0x8u);
  EXPECT_EQ(d.x, 10);
  EXPECT_EQ(d.y, -5);
  EXPECT_EQ(d.cx, 200);
  EXPECT_EQ(d.cy, 100);
  EXPECT_EQ(pe::ToString(d.menu), "#7");
  EXPECT_EQ(pe::ToString(d.windowClass), "MyClass");
  EXPECT_EQ(pe::ToUtf8(d.title), "Title");
  EXPECT_TRUE(d.hasFont);
  EXPECT_EQ(d.fontPointSize, 9);
  EXPECT_EQ(pe::ToUtf8(d.fontFace), "ＭＳ Ｐゴシック");
  ASSERT_EQ(d.items.size(), 2u);

  const pe::DialogItem& button = d.items[0];
  EXPECT_EQ(button.style, kWsChildVisible | 1);
  EXPECT_EQ(button.id, 1u);
  EXPECT_EQ((std::vector<int>{button.x, button.y, button.cx, button.cy}),
            (std::vector<int>{5, 6, 50, 14}));
  EXPECT_FALSE(button.windowClass.named);
  EXPECT_EQ(button.windowClass.id, 0x80);
  EXPECT_EQ(pe::ToUtf8(button.title.name), "OK");

  const pe::DialogItem& icon = d.items[1];
  EXPECT_EQ(icon.style, kWsChildVisible | 3);
  EXPECT_EQ(icon.exStyle, 0x20u);
  EXPECT_EQ(icon.id, 0xFFFFu);
  EXPECT_EQ(pe::ToString(icon.windowClass), "Static");
  EXPECT_EQ(pe::ToString(icon.title), "#102");
  EXPECT_EQ(icon.creationData, (Bytes{1, 2, 3, 4}));
}

TEST(DecodeDialog, NoFontFieldsWithoutDsSetFont) {
  const pe::DialogTemplate d = pe::DecodeDialog(classic_dialog(false));
  EXPECT_FALSE(d.hasFont);
  ASSERT_EQ(d.items.size(), 2u);
  EXPECT_EQ(d.items[1].id, 0xFFFFu);
}

TEST(DecodeDialog, ExtendedTemplate) {
  const pe::DialogTemplate d = pe::DecodeDialog(extended_dialog());
  EXPECT_TRUE(d.extended);
  EXPECT_EQ(d.helpId, 77u);
  EXPECT_EQ(d.exStyle, 0x100u);
  EXPECT_EQ(d.style, kWsPopup | kDsSetFont);
  EXPECT_EQ(d.cx, 180);
  EXPECT_EQ(pe::ToUtf8(d.title), "Ex");
  EXPECT_EQ(d.fontPointSize, 8);
  EXPECT_EQ(d.fontWeight, 700);
  EXPECT_EQ(d.fontItalic, 1);
  EXPECT_EQ(d.fontCharset, 0x80);
  EXPECT_EQ(pe::ToUtf8(d.fontFace), "MS Shell Dlg");
  ASSERT_EQ(d.items.size(), 1u);
  EXPECT_EQ(d.items[0].helpId, 5u);
  EXPECT_EQ(d.items[0].exStyle, 0x200u);
  EXPECT_EQ(d.items[0].style, kWsChildVisible);
  EXPECT_EQ(d.items[0].id, 0xFFFFFFFFu);
  EXPECT_EQ(d.items[0].windowClass.id, 0x83);
  EXPECT_TRUE(d.items[0].title.named);
  EXPECT_EQ(d.items[0].title.name, u"");
}

// ---------------------------------------------------------------------------
// Group icons

// A GRPICONDIR with a 256x256 32-bit image and a 16x16 4-bit one.
Bytes group_icon() {
  Writer w;
  w.u16(0).u16(1).u16(2);
  w.u8(0).u8(0).u8(0).u8(0).u16(1).u16(32).u32(0x10000).u16(7);  // 256x256
  w.u8(16).u8(16).u8(16).u8(0).u16(1).u16(4).u32(296).u16(8);
  return w.bytes;
}

TEST(DecodeGroupIcon, ReadsEveryEntry) {
  const std::vector<pe::GroupIconEntry> entries = pe::DecodeGroupIcon(group_icon());
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0].width, 256u);
  EXPECT_EQ(entries[0].height, 256u);
  EXPECT_EQ(entries[0].bitCount, 32);
  EXPECT_EQ(entries[0].bytesInResource, 0x10000u);
  EXPECT_EQ(entries[0].iconId, 7);
  EXPECT_EQ(entries[1].width, 16u);
  EXPECT_EQ(entries[1].colorCount, 16);
  EXPECT_EQ(entries[1].planes, 1);
  EXPECT_EQ(entries[1].bitCount, 4);
  EXPECT_EQ(entries[1].bytesInResource, 296u);
  EXPECT_EQ(entries[1].iconId, 8);
}

TEST(DecodeGroupIcon, RejectsWhatIsNotAnIconDirectory) {
  Bytes reserved = group_icon();
  put16(reserved, 0, 1);
  Bytes cursor = group_icon();
  put16(cursor, 2, 2);
  EXPECT_THROW(pe::DecodeGroupIcon(reserved), pe::PeError);
  EXPECT_THROW(pe::DecodeGroupIcon(cursor), pe::PeError);
}

// ---------------------------------------------------------------------------
// Version information

// One VS_VERSIONINFO node: header, key, padding, value, padding, children
// (each starting on a DWORD boundary).
Bytes version_block(const std::u16string& key, uint16_t type, uint16_t value_length,
                    const Bytes& value, const std::vector<Bytes>& children = {}) {
  Writer w;
  w.u16(0).u16(value_length).u16(type).text(key).align4().raw(value);
  for (const Bytes& child : children) w.align4().raw(child);
  put16(w.bytes, 0, static_cast<uint16_t>(w.bytes.size()));
  return w.bytes;
}

// A String node: key = value.
Bytes version_string(const std::u16string& key, const std::u16string& value) {
  return version_block(key, 1, static_cast<uint16_t>(value.size() + 1), Writer().text(value).bytes);
}

// A Var node named Translation holding (language, code page) pairs.
Bytes translation(const std::vector<std::pair<uint16_t, uint16_t>>& pairs) {
  Writer w;
  for (const auto& p : pairs) w.u16(p.first).u16(p.second);
  return version_block(u"Translation", 0, static_cast<uint16_t>(w.bytes.size()), w.bytes);
}

// A version resource laid out like the one the program ships, plus a block
// of a kind the decoder does not know, which it must skip.
Bytes version_info(const Bytes& first_string, const Bytes& var) {
  Writer fixed;
  fixed.u32(0xFEEF04BD).u32(0x10000);
  while (fixed.bytes.size() < 52) fixed.u8(0);
  const Bytes strings = version_block(
      u"StringFileInfo", 1, 0, {},
      {version_block(u"041104B0", 1, 0, {},
                     {first_string, version_string(u"FileDescription", u"OS切り替え")}),
       version_block(u"040904b0", 1, 0, {}, {version_string(u"ProductName", u"Other")})});
  const Bytes vars = version_block(u"VarFileInfo", 1, 0, {}, {var});
  const Bytes unknown = version_block(u"Unknown", 0, 2, {1, 2});
  return version_block(u"VS_VERSION_INFO", 0, 52, fixed.bytes, {strings, unknown, vars});
}

// A valid resource naming the product Brisvane in Japanese.
Bytes good_version_info() {
  return version_info(version_string(u"ProductName", u"Brisvane"),
                      translation({{0x0411, 1200}, {0x0409, 1252}}));
}

TEST(DecodeVersionInfo, ReadsStringTablesAndTranslations) {
  const pe::VersionInfo info = pe::DecodeVersionInfo(good_version_info());
  ASSERT_EQ(info.stringTables.size(), 2u);
  EXPECT_EQ(info.stringTables[0].block, u"041104B0");
  ASSERT_EQ(info.stringTables[0].strings.size(), 2u);
  EXPECT_EQ(info.stringTables[0].strings[0].first, u"ProductName");
  EXPECT_EQ(info.stringTables[0].strings[0].second, u"Brisvane");
  EXPECT_EQ(pe::ToUtf8(info.stringTables[0].strings[1].second), "OS切り替え");
  EXPECT_EQ(info.stringTables[1].block, u"040904b0");
  ASSERT_EQ(info.translations.size(), 2u);
  EXPECT_EQ(info.translations[0].language, 0x0411);
  EXPECT_EQ(info.translations[0].codePage, 1200);
  EXPECT_EQ(info.translations[1].language, 0x0409);
  EXPECT_EQ(info.translations[1].codePage, 1252);
}

TEST(DecodeVersionInfo, RejectsInconsistentBlocks) {
  Bytes zero_length = version_string(u"ProductName", u"Brisvane");
  put16(zero_length, 0, 0);  // would never advance to the next block
  Bytes too_long = translation({{0x0411, 1200}});
  put16(too_long, 0, static_cast<uint16_t>(too_long.size() + 8));
  Bytes value_too_long = translation({{0x0411, 1200}});
  put16(value_too_long, 2, 0x40);
  Bytes wrong_root = good_version_info();
  put16(wrong_root, 6, u'X');

  const struct {
    const char* name;
    Bytes blob;
  } cases[] = {
      {"zero-length block", version_info(zero_length, translation({{0x0411, 1200}}))},
      {"block longer than its parent",
       version_info(version_string(u"ProductName", u"Brisvane"), too_long)},
      {"Translation value past its block",
       version_info(version_string(u"ProductName", u"Brisvane"), value_too_long)},
      {"root is not VS_VERSION_INFO", wrong_root},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_THROW(pe::DecodeVersionInfo(c.blob), pe::PeError);
  }
}

// ---------------------------------------------------------------------------
// Every resource decoder must reject every truncation of a valid blob.

TEST(ResourceDecoders, EveryTruncationIsAnError) {
  const struct {
    const char* name;
    Bytes blob;
    std::function<void(const Bytes&)> decode;
  } cases[] = {
      {"DIALOG", classic_dialog(true), [](const Bytes& b) { pe::DecodeDialog(b); }},
      {"DIALOG without font", classic_dialog(false), [](const Bytes& b) { pe::DecodeDialog(b); }},
      {"DIALOGEX", extended_dialog(), [](const Bytes& b) { pe::DecodeDialog(b); }},
      {"GRPICONDIR", group_icon(), [](const Bytes& b) { pe::DecodeGroupIcon(b); }},
      {"VS_VERSIONINFO", good_version_info(), [](const Bytes& b) { pe::DecodeVersionInfo(b); }},
  };
  for (const auto& c : cases) {
    ASSERT_NO_THROW(c.decode(c.blob)) << c.name;
    for (std::size_t size = 0; size < c.blob.size(); ++size) {
      SCOPED_TRACE(std::string(c.name) + ", first " + std::to_string(size) + " bytes");
      const Bytes prefix(c.blob.begin(), c.blob.begin() + static_cast<std::ptrdiff_t>(size));
      EXPECT_THROW(c.decode(prefix), pe::PeError);
    }
  }
}

// ---------------------------------------------------------------------------

TEST(ToUtf8, EncodesEveryPlaneAndReplacesLoneSurrogates) {
  const struct {
    std::u16string in;
    std::string out;
  } cases[] = {
      {u"OS", "OS"},
      {u"\u00e9", "\xC3\xA9"},
      {u"ゴ", "\xE3\x82\xB4"},
      {u"\xD83D\xDE00", "\xF0\x9F\x98\x80"},  // U+1F600 as a surrogate pair
      {u"\xD83Dx", "\xEF\xBF\xBDx"},          // high surrogate alone
      {u"\xDE00", "\xEF\xBF\xBD"},            // low surrogate alone
  };
  for (const auto& c : cases) EXPECT_EQ(pe::ToUtf8(c.in), c.out);
}

}  // namespace
