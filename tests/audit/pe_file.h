// A small reader for the PE executables we ship, used by the audit tests to
// look at what the linker and resource compiler really produced.
//
// Everything is read from an in-memory copy of the file and every offset in
// it is treated as hostile: a malformed or truncated file makes the reader
// throw PeError, never read outside the buffer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace pe {

// Thrown for any file or blob that does not decode; the message says where.
class PeError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

constexpr uint16_t kMachineI386 = 0x014c;
constexpr uint16_t kMachineAmd64 = 0x8664;

constexpr uint16_t kSubsystemWindowsGui = 2;

constexpr uint16_t kDllCharacteristicsDynamicBase = 0x0040;
constexpr uint16_t kDllCharacteristicsNxCompat = 0x0100;

constexpr std::size_t kDirectoryImport = 1;
constexpr std::size_t kDirectoryResource = 2;
constexpr std::size_t kDirectoryTls = 9;
constexpr std::size_t kDirectoryDelayImport = 13;

constexpr uint16_t kRtIcon = 3;
constexpr uint16_t kRtDialog = 5;
constexpr uint16_t kRtGroupIcon = 14;
constexpr uint16_t kRtVersion = 16;

struct Section {
  std::string name;  // up to 8 bytes, trailing NULs removed
  uint32_t virtualAddress = 0;
  uint32_t virtualSize = 0;
  uint32_t rawOffset = 0;
  uint32_t rawSize = 0;
  uint32_t characteristics = 0;
};

struct DataDirectory {
  uint32_t rva = 0;
  uint32_t size = 0;
};

struct ImportedDll {
  std::string name;
  // Names as written in the file; imports by ordinal appear as "#N".
  std::vector<std::string> functions;
};

// A resource id or a dialog "sz_Or_Ord" field: either a 16-bit number or a
// string. For dialog fields "absent" is the empty string.
struct NameOrId {
  bool named = false;
  uint16_t id = 0;
  std::u16string name;
};

struct Resource {
  NameOrId type;
  NameOrId name;
  uint16_t language = 0;
  uint32_t codePage = 0;
  std::vector<uint8_t> data;
};

class PeFile {
 public:
  // Decodes the DOS, COFF and optional headers and the section table of
  // `fileBytes`. Throws PeError if any of them is missing, truncated or
  // inconsistent, or if a section's raw data lies outside the file.
  explicit PeFile(std::vector<uint8_t> fileBytes);

  uint16_t Machine() const { return machine; }
  bool IsPe32Plus() const { return pe32Plus; }
  uint16_t Subsystem() const { return subsystem; }
  uint16_t MajorSubsystemVersion() const { return majorSubsystemVersion; }
  uint16_t MinorSubsystemVersion() const { return minorSubsystemVersion; }
  uint16_t MajorOsVersion() const { return majorOsVersion; }
  uint16_t MinorOsVersion() const { return minorOsVersion; }
  uint16_t DllCharacteristics() const { return dllCharacteristics; }
  std::size_t FileSize() const { return bytes.size(); }
  const std::vector<uint8_t>& Bytes() const { return bytes; }
  const std::vector<Section>& Sections() const { return sections; }

  // The data directory at `index`, or {0, 0} when the header has fewer.
  DataDirectory Directory(std::size_t index) const;

  // Maps an RVA to a file offset through the section table and returns
  // how many bytes of file data follow it inside the same section (or
  // inside the headers). Throws PeError if the RVA has no file data.
  std::size_t RvaToOffset(uint32_t rva, std::size_t* available = nullptr) const;

  // The normal (not delay-loaded) import table, in file order. Empty if
  // the file has no import directory. Throws PeError if it is malformed.
  std::vector<ImportedDll> Imports() const;

  // Every leaf of the three-level resource tree (type / name / language)
  // with a copy of its data, in file order. Empty if the file has no
  // resource directory. Throws PeError if the tree is malformed, loops or
  // points outside the file.
  std::vector<Resource> Resources() const;

 private:
  std::vector<uint8_t> bytes;
  uint16_t machine = 0;
  bool pe32Plus = false;
  uint16_t subsystem = 0;
  uint16_t majorSubsystemVersion = 0;
  uint16_t minorSubsystemVersion = 0;
  uint16_t majorOsVersion = 0;
  uint16_t minorOsVersion = 0;
  uint16_t dllCharacteristics = 0;
  uint32_t sizeOfHeaders = 0;
  std::vector<DataDirectory> directories;
  std::vector<Section> sections;
};

// Reads a whole file. Throws PeError if it cannot be opened or read.
std::vector<uint8_t> ReadFileBytes(const std::string& path);

// UTF-16 to UTF-8; unpaired surrogates become U+FFFD.
std::string ToUtf8(const std::u16string& text);

// "#N" for a numeric id, the UTF-8 name otherwise.
std::string ToString(const NameOrId& value);

// ---------------------------------------------------------------------------
// Resource decoders. Each takes the raw bytes of one resource and throws
// PeError if they are truncated or inconsistent.

struct DialogItem {
  uint32_t helpId = 0;  // DIALOGEX only
  uint32_t style = 0;
  uint32_t exStyle = 0;
  int16_t x = 0, y = 0, cx = 0, cy = 0;
  // As stored: a WORD in a DIALOG (so -1 reads 0xFFFF), a DWORD in a
  // DIALOGEX.
  uint32_t id = 0;
  NameOrId windowClass;  // atoms: 0x80 button ... 0x85 combo box
  NameOrId title;        // an ordinal here names a resource, e.g. an icon
  std::vector<uint8_t> creationData;
};

struct DialogTemplate {
  bool extended = false;  // DIALOGEX rather than DIALOG
  uint32_t helpId = 0;    // DIALOGEX only
  uint32_t style = 0;
  uint32_t exStyle = 0;
  int16_t x = 0, y = 0, cx = 0, cy = 0;
  NameOrId menu;
  NameOrId windowClass;
  std::u16string title;
  bool hasFont = false;  // the style has DS_SETFONT
  uint16_t fontPointSize = 0;
  uint16_t fontWeight = 0;  // DIALOGEX only
  uint8_t fontItalic = 0;   // DIALOGEX only
  uint8_t fontCharset = 0;  // DIALOGEX only
  std::u16string fontFace;
  std::vector<DialogItem> items;  // as many as the header's count
};

// Decodes a DIALOG (DLGTEMPLATE) or DIALOGEX (DLGTEMPLATEEX) resource.
DialogTemplate DecodeDialog(const std::vector<uint8_t>& data);

struct GroupIconEntry {
  unsigned width = 0;   // 0 in the file means 256, reported as 256
  unsigned height = 0;  // likewise
  uint8_t colorCount = 0;
  uint16_t planes = 0;
  uint16_t bitCount = 0;
  uint32_t bytesInResource = 0;
  uint16_t iconId = 0;  // name id of the RT_ICON resource
};

// Decodes an RT_GROUP_ICON directory (GRPICONDIR); one entry per image.
std::vector<GroupIconEntry> DecodeGroupIcon(const std::vector<uint8_t>& data);

struct VersionStringTable {
  std::u16string block;  // language and code page, e.g. u"041104B0"
  std::vector<std::pair<std::u16string, std::u16string>> strings;
};

struct VersionTranslation {
  uint16_t language = 0;
  uint16_t codePage = 0;
};

struct VersionInfo {
  std::vector<VersionStringTable> stringTables;
  std::vector<VersionTranslation> translations;
};

// Decodes an RT_VERSION resource (VS_VERSIONINFO): its StringFileInfo
// tables and its VarFileInfo Translation pairs. Unknown blocks are skipped.
VersionInfo DecodeVersionInfo(const std::vector<uint8_t>& data);

}  // namespace pe
