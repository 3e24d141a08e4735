#include "pe_file.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <set>
#include <utility>

namespace pe {
namespace {

// Longest import name we accept. Real names are far shorter; the cap keeps a
// crafted file whose thunks all point at one huge "name" from making us copy
// it thousands of times.
constexpr std::size_t kMaxImportName = 4096;

constexpr uint32_t kDsSetFont = 0x40;

// Every decoding error leaves through here.
[[noreturn]] void Fail(const std::string& message) { throw PeError(message); }

// "0x1a2b", for error messages.
std::string Hex(uint64_t value) {
  char text[24];
  std::snprintf(text, sizeof text, "0x%llx", static_cast<unsigned long long>(value));
  return text;
}

// The next DWORD boundary at or after `offset`.
uint64_t Align4(uint64_t offset) { return (offset + 3) & ~uint64_t{3}; }

// Little-endian reads from a bounded span. Offsets are 64-bit so that adding
// two 32-bit fields from the file can never wrap; any read that does not fit
// entirely inside the span throws.
class Reader {
 public:
  Reader(const uint8_t* start, std::size_t length) : data(start), size(length) {}

  std::size_t Size() const { return size; }
  const uint8_t* Data() const { return data; }

  // True if [offset, offset + length) lies inside the span.
  bool Has(uint64_t offset, uint64_t length) const {
    return offset <= size && length <= size - offset;
  }

  // Throws, naming `what`, unless [offset, offset + length) is readable.
  void Require(uint64_t offset, uint64_t length, const char* what) const {
    if (!Has(offset, length))
      Fail(std::string(what) + " at " + Hex(offset) + " (" + std::to_string(length) +
           " bytes) runs past the end of its data (" + std::to_string(size) + " bytes)");
  }

  uint8_t U8(uint64_t offset, const char* what) const {
    Require(offset, 1, what);
    return data[offset];
  }

  uint16_t U16(uint64_t offset, const char* what) const {
    Require(offset, 2, what);
    return static_cast<uint16_t>(data[offset] | data[offset + 1] << 8);
  }

  uint32_t U32(uint64_t offset, const char* what) const {
    Require(offset, 4, what);
    uint32_t value = 0;
    for (int i = 3; i >= 0; --i) value = value << 8 | data[offset + i];
    return value;
  }

  uint64_t U64(uint64_t offset, const char* what) const {
    Require(offset, 8, what);
    uint64_t value = 0;
    for (int i = 7; i >= 0; --i) value = value << 8 | data[offset + i];
    return value;
  }

  int16_t I16(uint64_t offset, const char* what) const {
    return static_cast<int16_t>(U16(offset, what));
  }

  // A NUL-terminated 8-bit string of at most maxLength characters.
  std::string Asciiz(uint64_t offset, std::size_t maxLength, const char* what) const {
    std::string text;
    for (uint64_t at = offset;; ++at) {
      uint8_t c = U8(at, what);
      if (c == 0) return text;
      if (text.size() == maxLength)
        Fail(std::string(what) + " at " + Hex(offset) + " is longer than " +
             std::to_string(maxLength) + " characters");
      text.push_back(static_cast<char>(c));
    }
  }

  // A NUL-terminated UTF-16 string; *next is set to just past the NUL.
  std::u16string Utf16z(uint64_t offset, uint64_t* next, const char* what) const {
    std::u16string text;
    for (uint64_t at = offset;; at += 2) {
      uint16_t c = U16(at, what);
      if (c == 0) {
        *next = at + 2;
        return text;
      }
      text.push_back(static_cast<char16_t>(c));
    }
  }

 private:
  const uint8_t* data;
  std::size_t size;
};

}  // namespace

// ---------------------------------------------------------------------------
// Headers

PeFile::PeFile(std::vector<uint8_t> fileBytes) : bytes(std::move(fileBytes)) {
  const Reader file(bytes.data(), bytes.size());

  if (file.U16(0, "DOS header") != 0x5A4D) Fail("not an MZ executable");
  const uint64_t peOffset = file.U32(0x3C, "e_lfanew");
  if (file.U32(peOffset, "PE signature") != 0x00004550) Fail("no PE signature at " + Hex(peOffset));

  const uint64_t coff = peOffset + 4;
  machine = file.U16(coff, "COFF header");
  const uint16_t sectionCount = file.U16(coff + 2, "COFF header");
  const uint16_t optionalSize = file.U16(coff + 16, "COFF header");

  // Reading the optional header through its own span makes a too-small
  // SizeOfOptionalHeader an error instead of a read into the sections.
  const uint64_t optionalOffset = coff + 20;
  file.Require(optionalOffset, optionalSize, "optional header");
  const Reader optional(bytes.data() + optionalOffset, optionalSize);

  const uint16_t magic = optional.U16(0, "optional header magic");
  if (magic == 0x10b)
    pe32Plus = false;
  else if (magic == 0x20b)
    pe32Plus = true;
  else
    Fail("unknown optional header magic " + Hex(magic));

  // These fields sit at the same place in PE32 and PE32+.
  majorOsVersion = optional.U16(40, "MajorOperatingSystemVersion");
  minorOsVersion = optional.U16(42, "MinorOperatingSystemVersion");
  majorSubsystemVersion = optional.U16(48, "MajorSubsystemVersion");
  minorSubsystemVersion = optional.U16(50, "MinorSubsystemVersion");
  sizeOfHeaders = optional.U32(60, "SizeOfHeaders");
  subsystem = optional.U16(68, "Subsystem");
  dllCharacteristics = optional.U16(70, "DllCharacteristics");

  const uint64_t countOffset = pe32Plus ? 108 : 92;
  const uint32_t directoryCount = optional.U32(countOffset, "NumberOfRvaAndSizes");
  optional.Require(countOffset + 4, uint64_t{directoryCount} * 8, "data directories");
  for (uint32_t i = 0; i < directoryCount; ++i) {
    const uint64_t at = countOffset + 4 + uint64_t{i} * 8;
    directories.push_back(
        {optional.U32(at, "data directory"), optional.U32(at + 4, "data directory")});
  }

  const uint64_t table = optionalOffset + optionalSize;
  file.Require(table, uint64_t{sectionCount} * 40, "section table");
  for (uint16_t i = 0; i < sectionCount; ++i) {
    const uint64_t at = table + uint64_t{i} * 40;
    Section section;
    for (int c = 0; c < 8; ++c) {
      const uint8_t ch = file.U8(at + c, "section name");
      if (ch == 0) break;
      section.name.push_back(static_cast<char>(ch));
    }
    section.virtualSize = file.U32(at + 8, "section header");
    section.virtualAddress = file.U32(at + 12, "section header");
    section.rawSize = file.U32(at + 16, "section header");
    section.rawOffset = file.U32(at + 20, "section header");
    section.characteristics = file.U32(at + 36, "section header");
    if (section.rawSize != 0 && !file.Has(section.rawOffset, section.rawSize))
      Fail("section " + section.name + " data (" + Hex(section.rawOffset) + " + " +
           Hex(section.rawSize) + ") lies outside the file; is it truncated?");
    sections.push_back(section);
  }
}

DataDirectory PeFile::Directory(std::size_t index) const {
  return index < directories.size() ? directories[index] : DataDirectory{};
}

std::size_t PeFile::RvaToOffset(uint32_t rva, std::size_t* available) const {
  for (const Section& s : sections) {
    const uint64_t mapped = s.virtualSize != 0 ? s.virtualSize : s.rawSize;
    if (rva < s.virtualAddress || rva - s.virtualAddress >= mapped) continue;
    const uint64_t delta = rva - s.virtualAddress;
    const uint64_t inFile = std::min<uint64_t>(mapped, s.rawSize);
    if (delta >= inFile)
      Fail("RVA " + Hex(rva) + " lies in the zero-filled part of section " + s.name);
    if (available) *available = static_cast<std::size_t>(inFile - delta);
    return static_cast<std::size_t>(s.rawOffset + delta);
  }
  const uint64_t headers = std::min<uint64_t>(sizeOfHeaders, bytes.size());
  if (rva < headers) {
    if (available) *available = static_cast<std::size_t>(headers - rva);
    return rva;
  }
  Fail("RVA " + Hex(rva) + " is not backed by any section");
}

// ---------------------------------------------------------------------------
// Imports

namespace {

// The span of file data from `rva` to the end of its section.
Reader SpanAt(const PeFile& file, uint32_t rva) {
  std::size_t available = 0;
  const std::size_t offset = file.RvaToOffset(rva, &available);
  return Reader(file.Bytes().data() + offset, available);
}

}  // namespace

std::vector<ImportedDll> PeFile::Imports() const {
  std::vector<ImportedDll> dlls;
  const DataDirectory directory = Directory(kDirectoryImport);
  if (directory.rva == 0) return dlls;

  const Reader descriptors = SpanAt(*this, directory.rva);
  const uint64_t thunkSize = pe32Plus ? 8 : 4;
  const uint64_t ordinalFlag = pe32Plus ? uint64_t{1} << 63 : uint64_t{1} << 31;

  for (uint64_t at = 0;; at += 20) {
    descriptors.Require(at, 20, "import descriptor (no terminating entry?)");
    const uint32_t lookupRva = descriptors.U32(at, "import descriptor");
    const uint32_t nameRva = descriptors.U32(at + 12, "import descriptor");
    const uint32_t addressRva = descriptors.U32(at + 16, "import descriptor");
    // The loader stops at the first entry without a name or an IAT.
    if (nameRva == 0 || addressRva == 0) break;

    ImportedDll dll;
    dll.name = SpanAt(*this, nameRva).Asciiz(0, kMaxImportName, "imported DLL name");

    // Prefer the lookup table: the IAT may be pre-bound to addresses.
    const Reader thunks = SpanAt(*this, lookupRva != 0 ? lookupRva : addressRva);
    for (uint64_t t = 0;; t += thunkSize) {
      const uint64_t thunk = pe32Plus ? thunks.U64(t, "import thunk (unterminated?)")
                                      : thunks.U32(t, "import thunk (unterminated?)");
      if (thunk == 0) break;
      if (thunk & ordinalFlag) {
        dll.functions.push_back("#" + std::to_string(thunk & 0xFFFF));
        continue;
      }
      if (thunk > 0x7FFFFFFF) Fail("import thunk " + Hex(thunk) + " in " + dll.name);
      const Reader hintName = SpanAt(*this, static_cast<uint32_t>(thunk));
      hintName.Require(0, 2, "import hint");
      dll.functions.push_back(hintName.Asciiz(2, kMaxImportName, "imported function name"));
    }
    dlls.push_back(std::move(dll));
  }
  return dlls;
}

// ---------------------------------------------------------------------------
// Resources

namespace {

// Walks the type / name / language tree of one resource section.
class ResourceWalker {
 public:
  ResourceWalker(const PeFile& peFile, const Reader& resourceSection)
      : file(peFile), section(resourceSection), budget(peFile.FileSize()) {}

  // Appends every leaf below the directory at `offset` (relative to the
  // section start) to `out`. `level` is 0 for types, 1 for names, 2 for
  // languages; `path` holds the ids chosen at the levels above.
  void Walk(uint32_t offset, int level, NameOrId path[2], std::vector<Resource>& out) {
    // Linkers never share subdirectories, so a second visit means a
    // loop, or a crafted tree that would multiply its leaves.
    if (!visited.insert(offset).second)
      Fail("resource directory at " + Hex(offset) + " is reached twice");

    const uint16_t named = section.U16(uint64_t{offset} + 12, "resource directory");
    const uint16_t numbered = section.U16(uint64_t{offset} + 14, "resource directory");
    for (uint32_t i = 0; i < uint32_t{named} + numbered; ++i) {
      const uint64_t entry = uint64_t{offset} + 16 + uint64_t{i} * 8;
      const uint32_t nameField = section.U32(entry, "resource directory entry");
      const uint32_t target = section.U32(entry + 4, "resource directory entry");
      const NameOrId key = ReadKey(nameField);
      const bool isDirectory = (target & 0x80000000u) != 0;
      const uint32_t targetOffset = target & 0x7FFFFFFFu;

      if (level < 2) {
        if (!isDirectory)
          Fail("resource " + LevelName(level) + " entry " + ToString(key) +
               " points at data instead of a directory");
        path[level] = key;
        Walk(targetOffset, level + 1, path, out);
        continue;
      }
      if (isDirectory) Fail("resource language entry " + ToString(key) + " points at a directory");
      if (key.named) Fail("resource language entry has a name instead of a number");
      out.push_back(ReadLeaf(path, key.id, targetOffset));
    }
  }

 private:
  static std::string LevelName(int level) { return level == 0 ? "type" : "name"; }

  NameOrId ReadKey(uint32_t field) const {
    NameOrId key;
    if (field & 0x80000000u) {
      const uint64_t at = field & 0x7FFFFFFFu;
      const uint16_t length = section.U16(at, "resource name");
      section.Require(at + 2, uint64_t{length} * 2, "resource name");
      key.named = true;
      for (uint16_t i = 0; i < length; ++i)
        key.name.push_back(static_cast<char16_t>(section.U16(at + 2 + i * 2, "resource name")));
    } else {
      if (field > 0xFFFF) Fail("resource id " + Hex(field) + " does not fit in 16 bits");
      key.id = static_cast<uint16_t>(field);
    }
    return key;
  }

  Resource ReadLeaf(const NameOrId path[2], uint16_t language, uint32_t entry) {
    const uint32_t dataRva = section.U32(entry, "resource data entry");
    const uint32_t size = section.U32(uint64_t{entry} + 4, "resource data entry");
    Resource resource;
    resource.type = path[0];
    resource.name = path[1];
    resource.language = language;
    resource.codePage = section.U32(uint64_t{entry} + 8, "resource data entry");

    const std::string what =
        "resource " + ToString(path[0]) + "/" + ToString(path[1]) + "/" + std::to_string(language);
    std::size_t available = 0;
    const std::size_t offset = file.RvaToOffset(dataRva, &available);
    if (size > available)
      Fail(what + " data (" + std::to_string(size) + " bytes) runs past the end of its section");
    // Leaves of a linked file never overlap, so together they cannot
    // hold more than the file does.
    if (size > budget) Fail(what + ": resource data adds up to more than the file size");
    budget -= size;
    const auto begin = file.Bytes().begin() + static_cast<std::ptrdiff_t>(offset);
    resource.data.assign(begin, begin + size);
    return resource;
  }

  const PeFile& file;
  const Reader& section;
  std::set<uint32_t> visited;
  std::size_t budget;
};

}  // namespace

std::vector<Resource> PeFile::Resources() const {
  std::vector<Resource> out;
  const DataDirectory directory = Directory(kDirectoryResource);
  if (directory.rva == 0) return out;

  const Reader section = SpanAt(*this, directory.rva);
  ResourceWalker walker(*this, section);
  NameOrId path[2];
  walker.Walk(0, 0, path, out);
  return out;
}

// ---------------------------------------------------------------------------
// Helpers

std::vector<uint8_t> ReadFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) Fail("cannot open " + path);
  std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                             std::istreambuf_iterator<char>());
  if (in.bad()) Fail("cannot read " + path);
  return bytes;
}

std::string ToUtf8(const std::u16string& text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    uint32_t c = text[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      ++i;
    } else if (c >= 0xD800 && c <= 0xDFFF) {
      c = 0xFFFD;
    }
    if (c < 0x80) {
      out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
      out.push_back(static_cast<char>(0xC0 | c >> 6));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
      out.push_back(static_cast<char>(0xE0 | c >> 12));
      out.push_back(static_cast<char>(0x80 | (c >> 6 & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xF0 | c >> 18));
      out.push_back(static_cast<char>(0x80 | (c >> 12 & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (c >> 6 & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
  }
  return out;
}

std::string ToString(const NameOrId& value) {
  return value.named ? ToUtf8(value.name) : "#" + std::to_string(value.id);
}

// ---------------------------------------------------------------------------
// Dialogs

namespace {

// A dialog "sz_Or_Ord" field: 0 for none, 0xFFFF then an ordinal, or a
// NUL-terminated string. Advances `at` past it.
NameOrId ReadNameOrOrdinal(const Reader& r, uint64_t& at, const char* what) {
  NameOrId value;
  const uint16_t first = r.U16(at, what);
  if (first == 0xFFFF) {
    value.id = r.U16(at + 2, what);
    at += 4;
  } else {
    value.named = true;
    value.name = r.Utf16z(at, &at, what);
  }
  return value;
}

}  // namespace

DialogTemplate DecodeDialog(const std::vector<uint8_t>& data) {
  const Reader r(data.data(), data.size());
  DialogTemplate dialog;
  uint16_t count = 0;
  uint64_t at = 0;

  // user32 tells the two layouts apart by this signature alone.
  dialog.extended = r.U16(0, "dialog header") == 1 && r.U16(2, "dialog header") == 0xFFFF;
  if (dialog.extended) {
    dialog.helpId = r.U32(4, "dialog header");
    dialog.exStyle = r.U32(8, "dialog header");
    dialog.style = r.U32(12, "dialog header");
    count = r.U16(16, "dialog header");
    at = 18;
  } else {
    dialog.style = r.U32(0, "dialog header");
    dialog.exStyle = r.U32(4, "dialog header");
    count = r.U16(8, "dialog header");
    at = 10;
  }
  dialog.x = r.I16(at, "dialog header");
  dialog.y = r.I16(at + 2, "dialog header");
  dialog.cx = r.I16(at + 4, "dialog header");
  dialog.cy = r.I16(at + 6, "dialog header");
  at += 8;

  dialog.menu = ReadNameOrOrdinal(r, at, "dialog menu");
  dialog.windowClass = ReadNameOrOrdinal(r, at, "dialog class");
  dialog.title = r.Utf16z(at, &at, "dialog title");
  if (dialog.style & kDsSetFont) {
    dialog.hasFont = true;
    dialog.fontPointSize = r.U16(at, "dialog font");
    at += 2;
    if (dialog.extended) {
      dialog.fontWeight = r.U16(at, "dialog font");
      dialog.fontItalic = r.U8(at + 2, "dialog font");
      dialog.fontCharset = r.U8(at + 3, "dialog font");
      at += 4;
    }
    dialog.fontFace = r.Utf16z(at, &at, "dialog font face");
  }

  for (uint16_t i = 0; i < count; ++i) {
    at = Align4(at);
    DialogItem item;
    if (dialog.extended) {
      item.helpId = r.U32(at, "dialog item");
      item.exStyle = r.U32(at + 4, "dialog item");
      item.style = r.U32(at + 8, "dialog item");
      at += 12;
    } else {
      item.style = r.U32(at, "dialog item");
      item.exStyle = r.U32(at + 4, "dialog item");
      at += 8;
    }
    item.x = r.I16(at, "dialog item");
    item.y = r.I16(at + 2, "dialog item");
    item.cx = r.I16(at + 4, "dialog item");
    item.cy = r.I16(at + 6, "dialog item");
    at += 8;
    if (dialog.extended) {
      item.id = r.U32(at, "dialog item id");
      at += 4;
    } else {
      item.id = r.U16(at, "dialog item id");
      at += 2;
    }
    item.windowClass = ReadNameOrOrdinal(r, at, "dialog item class");
    item.title = ReadNameOrOrdinal(r, at, "dialog item title");

    // Skipped the way Wine's user32 does: the count, then that many
    // bytes rounded down to whole WORDs.
    const uint16_t extra = r.U16(at, "dialog item creation data");
    at += 2;
    r.Require(at, extra, "dialog item creation data");
    item.creationData.assign(data.begin() + static_cast<std::ptrdiff_t>(at),
                             data.begin() + static_cast<std::ptrdiff_t>(at + extra));
    at += extra & ~1u;
    dialog.items.push_back(std::move(item));
  }
  return dialog;
}

// ---------------------------------------------------------------------------
// Group icons

std::vector<GroupIconEntry> DecodeGroupIcon(const std::vector<uint8_t>& data) {
  const Reader r(data.data(), data.size());
  if (r.U16(0, "icon directory") != 0) Fail("icon directory: reserved field is not 0");
  if (r.U16(2, "icon directory") != 1) Fail("icon directory: type is not 1 (icon)");
  const uint16_t count = r.U16(4, "icon directory");
  r.Require(6, uint64_t{count} * 14, "icon directory entries");

  std::vector<GroupIconEntry> entries;
  for (uint16_t i = 0; i < count; ++i) {
    const uint64_t at = 6 + uint64_t{i} * 14;
    GroupIconEntry entry;
    const uint8_t width = r.U8(at, "icon entry");
    const uint8_t height = r.U8(at + 1, "icon entry");
    entry.width = width == 0 ? 256 : width;
    entry.height = height == 0 ? 256 : height;
    entry.colorCount = r.U8(at + 2, "icon entry");
    entry.planes = r.U16(at + 4, "icon entry");
    entry.bitCount = r.U16(at + 6, "icon entry");
    entry.bytesInResource = r.U32(at + 8, "icon entry");
    entry.iconId = r.U16(at + 12, "icon entry");
    entries.push_back(entry);
  }
  return entries;
}

// ---------------------------------------------------------------------------
// Version information

namespace {

// One node of the VS_VERSIONINFO tree: wLength, wValueLength, wType, a
// NUL-terminated key, a DWORD-aligned value, then DWORD-aligned children.
struct VersionBlock {
  uint64_t end = 0;
  uint16_t valueLength = 0;
  std::u16string key;
  uint64_t value = 0;     // offset of the value
  uint64_t children = 0;  // offset of the first child, at most `end`
};

// Reads the block at `at`, which must end by `limit`.
VersionBlock ReadVersionBlock(const std::vector<uint8_t>& data, uint64_t at, uint64_t limit) {
  const Reader whole(data.data(), data.size());
  const uint16_t length = whole.U16(at, "version block");
  if (length < 6) Fail("version block at " + Hex(at) + " has length " + std::to_string(length));
  if (at + length > limit) Fail("version block at " + Hex(at) + " runs past its parent");

  // Reading through a span that stops at the block's end keeps a key
  // without its NUL from wandering into the next block.
  const Reader r(data.data(), static_cast<std::size_t>(at + length));
  VersionBlock block;
  block.end = at + length;
  block.valueLength = r.U16(at + 2, "version block");
  const uint16_t type = r.U16(at + 4, "version block");
  uint64_t keyEnd = 0;
  block.key = r.Utf16z(at + 6, &keyEnd, "version block key");
  block.value = Align4(keyEnd);
  // Text values are measured in characters, binary ones in bytes.
  const uint64_t valueBytes = type == 1 ? uint64_t{block.valueLength} * 2 : block.valueLength;
  block.children = std::min(Align4(block.value + valueBytes), block.end);
  return block;
}

// Calls visit(child) for every child block of `parent`.
template <typename Visit>
void ForEachChild(const std::vector<uint8_t>& data, const VersionBlock& parent, Visit visit) {
  for (uint64_t at = parent.children; at < parent.end;) {
    const VersionBlock child = ReadVersionBlock(data, at, parent.end);
    visit(child);
    at = Align4(child.end);
  }
}

// The text value of a String block: up to its NUL or the block's end.
std::u16string ReadVersionText(const std::vector<uint8_t>& data, const VersionBlock& block) {
  std::u16string text;
  const Reader r(data.data(), static_cast<std::size_t>(block.end));
  for (uint64_t at = block.value; r.Has(at, 2); at += 2) {
    const uint16_t c = r.U16(at, "version string");
    if (c == 0) break;
    text.push_back(static_cast<char16_t>(c));
  }
  return text;
}

}  // namespace

VersionInfo DecodeVersionInfo(const std::vector<uint8_t>& data) {
  const VersionBlock root = ReadVersionBlock(data, 0, data.size());
  if (root.key != u"VS_VERSION_INFO")
    Fail("version resource root key is \"" + ToUtf8(root.key) + "\"");

  VersionInfo info;
  ForEachChild(data, root, [&](const VersionBlock& fileInfo) {
    if (fileInfo.key == u"StringFileInfo") {
      ForEachChild(data, fileInfo, [&](const VersionBlock& table) {
        VersionStringTable strings;
        strings.block = table.key;
        ForEachChild(data, table, [&](const VersionBlock& entry) {
          strings.strings.emplace_back(entry.key, ReadVersionText(data, entry));
        });
        info.stringTables.push_back(std::move(strings));
      });
    } else if (fileInfo.key == u"VarFileInfo") {
      ForEachChild(data, fileInfo, [&](const VersionBlock& var) {
        if (var.key != u"Translation") return;
        const Reader r(data.data(), static_cast<std::size_t>(var.end));
        r.Require(var.value, var.valueLength, "Translation value");
        for (uint64_t at = var.value; at + 4 <= var.value + var.valueLength; at += 4)
          info.translations.push_back(
              {r.U16(at, "Translation value"), r.U16(at + 2, "Translation value")});
      });
    }
  });
  return info;
}

}  // namespace pe
