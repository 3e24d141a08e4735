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
[[noreturn]] void fail(const std::string& message) { throw PeError(message); }

// "0x1a2b", for error messages.
std::string hex(uint64_t value) {
    char text[24];
    std::snprintf(text, sizeof text, "0x%llx", static_cast<unsigned long long>(value));
    return text;
}

// The next DWORD boundary at or after `offset`.
uint64_t align4(uint64_t offset) { return (offset + 3) & ~uint64_t{3}; }

// Little-endian reads from a bounded span. Offsets are 64-bit so that adding
// two 32-bit fields from the file can never wrap; any read that does not fit
// entirely inside the span throws.
class Reader {
public:
    Reader(const uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    std::size_t size() const { return size_; }
    const uint8_t* data() const { return data_; }

    // True if [offset, offset + length) lies inside the span.
    bool has(uint64_t offset, uint64_t length) const {
        return offset <= size_ && length <= size_ - offset;
    }

    // Throws, naming `what`, unless [offset, offset + length) is readable.
    void require(uint64_t offset, uint64_t length, const char* what) const {
        if (!has(offset, length))
            fail(std::string(what) + " at " + hex(offset) + " (" + std::to_string(length) +
                 " bytes) runs past the end of its data (" + std::to_string(size_) + " bytes)");
    }

    uint8_t u8(uint64_t offset, const char* what) const {
        require(offset, 1, what);
        return data_[offset];
    }

    uint16_t u16(uint64_t offset, const char* what) const {
        require(offset, 2, what);
        return static_cast<uint16_t>(data_[offset] | data_[offset + 1] << 8);
    }

    uint32_t u32(uint64_t offset, const char* what) const {
        require(offset, 4, what);
        uint32_t value = 0;
        for (int i = 3; i >= 0; --i) value = value << 8 | data_[offset + i];
        return value;
    }

    uint64_t u64(uint64_t offset, const char* what) const {
        require(offset, 8, what);
        uint64_t value = 0;
        for (int i = 7; i >= 0; --i) value = value << 8 | data_[offset + i];
        return value;
    }

    int16_t i16(uint64_t offset, const char* what) const {
        return static_cast<int16_t>(u16(offset, what));
    }

    // A NUL-terminated 8-bit string of at most max_length characters.
    std::string asciiz(uint64_t offset, std::size_t max_length, const char* what) const {
        std::string text;
        for (uint64_t at = offset;; ++at) {
            uint8_t c = u8(at, what);
            if (c == 0) return text;
            if (text.size() == max_length)
                fail(std::string(what) + " at " + hex(offset) + " is longer than " +
                     std::to_string(max_length) + " characters");
            text.push_back(static_cast<char>(c));
        }
    }

    // A NUL-terminated UTF-16 string; *next is set to just past the NUL.
    std::u16string utf16z(uint64_t offset, uint64_t* next, const char* what) const {
        std::u16string text;
        for (uint64_t at = offset;; at += 2) {
            uint16_t c = u16(at, what);
            if (c == 0) {
                *next = at + 2;
                return text;
            }
            text.push_back(static_cast<char16_t>(c));
        }
    }

private:
    const uint8_t* data_;
    std::size_t size_;
};

}  // namespace

// ---------------------------------------------------------------------------
// Headers

PeFile::PeFile(std::vector<uint8_t> bytes) : bytes_(std::move(bytes)) {
    const Reader file(bytes_.data(), bytes_.size());

    if (file.u16(0, "DOS header") != 0x5A4D) fail("not an MZ executable");
    const uint64_t pe_offset = file.u32(0x3C, "e_lfanew");
    if (file.u32(pe_offset, "PE signature") != 0x00004550)
        fail("no PE signature at " + hex(pe_offset));

    const uint64_t coff = pe_offset + 4;
    machine_ = file.u16(coff, "COFF header");
    const uint16_t section_count = file.u16(coff + 2, "COFF header");
    const uint16_t optional_size = file.u16(coff + 16, "COFF header");

    // Reading the optional header through its own span makes a too-small
    // SizeOfOptionalHeader an error instead of a read into the sections.
    const uint64_t optional_offset = coff + 20;
    file.require(optional_offset, optional_size, "optional header");
    const Reader optional(bytes_.data() + optional_offset, optional_size);

    const uint16_t magic = optional.u16(0, "optional header magic");
    if (magic == 0x10b)
        pe32_plus_ = false;
    else if (magic == 0x20b)
        pe32_plus_ = true;
    else
        fail("unknown optional header magic " + hex(magic));

    // These fields sit at the same place in PE32 and PE32+.
    major_os_version_ = optional.u16(40, "MajorOperatingSystemVersion");
    minor_os_version_ = optional.u16(42, "MinorOperatingSystemVersion");
    major_subsystem_version_ = optional.u16(48, "MajorSubsystemVersion");
    minor_subsystem_version_ = optional.u16(50, "MinorSubsystemVersion");
    size_of_headers_ = optional.u32(60, "SizeOfHeaders");
    subsystem_ = optional.u16(68, "Subsystem");
    dll_characteristics_ = optional.u16(70, "DllCharacteristics");

    const uint64_t count_offset = pe32_plus_ ? 108 : 92;
    const uint32_t directory_count = optional.u32(count_offset, "NumberOfRvaAndSizes");
    optional.require(count_offset + 4, uint64_t{directory_count} * 8, "data directories");
    for (uint32_t i = 0; i < directory_count; ++i) {
        const uint64_t at = count_offset + 4 + uint64_t{i} * 8;
        directories_.push_back({optional.u32(at, "data directory"),
                                optional.u32(at + 4, "data directory")});
    }

    const uint64_t table = optional_offset + optional_size;
    file.require(table, uint64_t{section_count} * 40, "section table");
    for (uint16_t i = 0; i < section_count; ++i) {
        const uint64_t at = table + uint64_t{i} * 40;
        Section section;
        for (int c = 0; c < 8; ++c) {
            const uint8_t ch = file.u8(at + c, "section name");
            if (ch == 0) break;
            section.name.push_back(static_cast<char>(ch));
        }
        section.virtual_size = file.u32(at + 8, "section header");
        section.virtual_address = file.u32(at + 12, "section header");
        section.raw_size = file.u32(at + 16, "section header");
        section.raw_offset = file.u32(at + 20, "section header");
        section.characteristics = file.u32(at + 36, "section header");
        if (section.raw_size != 0 && !file.has(section.raw_offset, section.raw_size))
            fail("section " + section.name + " data (" + hex(section.raw_offset) + " + " +
                 hex(section.raw_size) + ") lies outside the file; is it truncated?");
        sections_.push_back(section);
    }
}

DataDirectory PeFile::data_directory(std::size_t index) const {
    return index < directories_.size() ? directories_[index] : DataDirectory{};
}

std::size_t PeFile::rva_to_offset(uint32_t rva, std::size_t* available) const {
    for (const Section& s : sections_) {
        const uint64_t mapped = s.virtual_size != 0 ? s.virtual_size : s.raw_size;
        if (rva < s.virtual_address || rva - s.virtual_address >= mapped) continue;
        const uint64_t delta = rva - s.virtual_address;
        const uint64_t in_file = std::min<uint64_t>(mapped, s.raw_size);
        if (delta >= in_file)
            fail("RVA " + hex(rva) + " lies in the zero-filled part of section " + s.name);
        if (available) *available = static_cast<std::size_t>(in_file - delta);
        return static_cast<std::size_t>(s.raw_offset + delta);
    }
    const uint64_t headers = std::min<uint64_t>(size_of_headers_, bytes_.size());
    if (rva < headers) {
        if (available) *available = static_cast<std::size_t>(headers - rva);
        return rva;
    }
    fail("RVA " + hex(rva) + " is not backed by any section");
}

// ---------------------------------------------------------------------------
// Imports

namespace {

// The span of file data from `rva` to the end of its section.
Reader span_at(const PeFile& file, uint32_t rva) {
    std::size_t available = 0;
    const std::size_t offset = file.rva_to_offset(rva, &available);
    return Reader(file.bytes().data() + offset, available);
}

}  // namespace

std::vector<ImportedDll> PeFile::imports() const {
    std::vector<ImportedDll> dlls;
    const DataDirectory directory = data_directory(kDirectoryImport);
    if (directory.rva == 0) return dlls;

    const Reader descriptors = span_at(*this, directory.rva);
    const uint64_t thunk_size = pe32_plus_ ? 8 : 4;
    const uint64_t ordinal_flag = pe32_plus_ ? uint64_t{1} << 63 : uint64_t{1} << 31;

    for (uint64_t at = 0;; at += 20) {
        descriptors.require(at, 20, "import descriptor (no terminating entry?)");
        const uint32_t lookup_rva = descriptors.u32(at, "import descriptor");
        const uint32_t name_rva = descriptors.u32(at + 12, "import descriptor");
        const uint32_t address_rva = descriptors.u32(at + 16, "import descriptor");
        // The loader stops at the first entry without a name or an IAT.
        if (name_rva == 0 || address_rva == 0) break;

        ImportedDll dll;
        dll.name = span_at(*this, name_rva).asciiz(0, kMaxImportName, "imported DLL name");

        // Prefer the lookup table: the IAT may be pre-bound to addresses.
        const Reader thunks = span_at(*this, lookup_rva != 0 ? lookup_rva : address_rva);
        for (uint64_t t = 0;; t += thunk_size) {
            const uint64_t thunk = pe32_plus_ ? thunks.u64(t, "import thunk (unterminated?)")
                                              : thunks.u32(t, "import thunk (unterminated?)");
            if (thunk == 0) break;
            if (thunk & ordinal_flag) {
                dll.functions.push_back("#" + std::to_string(thunk & 0xFFFF));
                continue;
            }
            if (thunk > 0x7FFFFFFF) fail("import thunk " + hex(thunk) + " in " + dll.name);
            const Reader hint_name = span_at(*this, static_cast<uint32_t>(thunk));
            hint_name.require(0, 2, "import hint");
            dll.functions.push_back(hint_name.asciiz(2, kMaxImportName, "imported function name"));
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
    ResourceWalker(const PeFile& file, const Reader& section)
        : file_(file), section_(section), budget_(file.file_size()) {}

    // Appends every leaf below the directory at `offset` (relative to the
    // section start) to `out`. `level` is 0 for types, 1 for names, 2 for
    // languages; `path` holds the ids chosen at the levels above.
    void walk(uint32_t offset, int level, NameOrId path[2], std::vector<Resource>& out) {
        // Linkers never share subdirectories, so a second visit means a
        // loop, or a crafted tree that would multiply its leaves.
        if (!visited_.insert(offset).second)
            fail("resource directory at " + hex(offset) + " is reached twice");

        const uint16_t named = section_.u16(uint64_t{offset} + 12, "resource directory");
        const uint16_t numbered = section_.u16(uint64_t{offset} + 14, "resource directory");
        for (uint32_t i = 0; i < uint32_t{named} + numbered; ++i) {
            const uint64_t entry = uint64_t{offset} + 16 + uint64_t{i} * 8;
            const uint32_t name_field = section_.u32(entry, "resource directory entry");
            const uint32_t target = section_.u32(entry + 4, "resource directory entry");
            const NameOrId key = read_key(name_field);
            const bool is_directory = (target & 0x80000000u) != 0;
            const uint32_t target_offset = target & 0x7FFFFFFFu;

            if (level < 2) {
                if (!is_directory)
                    fail("resource " + level_name(level) + " entry " + to_string(key) +
                         " points at data instead of a directory");
                path[level] = key;
                walk(target_offset, level + 1, path, out);
                continue;
            }
            if (is_directory)
                fail("resource language entry " + to_string(key) + " points at a directory");
            if (key.named) fail("resource language entry has a name instead of a number");
            out.push_back(read_leaf(path, key.id, target_offset));
        }
    }

private:
    static std::string level_name(int level) { return level == 0 ? "type" : "name"; }

    NameOrId read_key(uint32_t field) const {
        NameOrId key;
        if (field & 0x80000000u) {
            const uint64_t at = field & 0x7FFFFFFFu;
            const uint16_t length = section_.u16(at, "resource name");
            section_.require(at + 2, uint64_t{length} * 2, "resource name");
            key.named = true;
            for (uint16_t i = 0; i < length; ++i)
                key.name.push_back(static_cast<char16_t>(section_.u16(at + 2 + i * 2, "resource name")));
        } else {
            if (field > 0xFFFF) fail("resource id " + hex(field) + " does not fit in 16 bits");
            key.id = static_cast<uint16_t>(field);
        }
        return key;
    }

    Resource read_leaf(const NameOrId path[2], uint16_t language, uint32_t entry) {
        const uint32_t data_rva = section_.u32(entry, "resource data entry");
        const uint32_t size = section_.u32(uint64_t{entry} + 4, "resource data entry");
        Resource resource;
        resource.type = path[0];
        resource.name = path[1];
        resource.language = language;
        resource.code_page = section_.u32(uint64_t{entry} + 8, "resource data entry");

        const std::string what = "resource " + to_string(path[0]) + "/" + to_string(path[1]) + "/" +
                                 std::to_string(language);
        std::size_t available = 0;
        const std::size_t offset = file_.rva_to_offset(data_rva, &available);
        if (size > available)
            fail(what + " data (" + std::to_string(size) + " bytes) runs past the end of its section");
        // Leaves of a linked file never overlap, so together they cannot
        // hold more than the file does.
        if (size > budget_) fail(what + ": resource data adds up to more than the file size");
        budget_ -= size;
        const auto begin = file_.bytes().begin() + static_cast<std::ptrdiff_t>(offset);
        resource.data.assign(begin, begin + size);
        return resource;
    }

    const PeFile& file_;
    const Reader& section_;
    std::set<uint32_t> visited_;
    std::size_t budget_;
};

}  // namespace

std::vector<Resource> PeFile::resources() const {
    std::vector<Resource> out;
    const DataDirectory directory = data_directory(kDirectoryResource);
    if (directory.rva == 0) return out;

    const Reader section = span_at(*this, directory.rva);
    ResourceWalker walker(*this, section);
    NameOrId path[2];
    walker.walk(0, 0, path, out);
    return out;
}

// ---------------------------------------------------------------------------
// Helpers

std::vector<uint8_t> read_file(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) fail("cannot open " + path);
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) fail("cannot read " + path);
    return bytes;
}

std::string to_utf8(const std::u16string& text) {
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

std::string to_string(const NameOrId& value) {
    return value.named ? to_utf8(value.name) : "#" + std::to_string(value.id);
}

// ---------------------------------------------------------------------------
// Dialogs

namespace {

// A dialog "sz_Or_Ord" field: 0 for none, 0xFFFF then an ordinal, or a
// NUL-terminated string. Advances `at` past it.
NameOrId read_name_or_ordinal(const Reader& r, uint64_t& at, const char* what) {
    NameOrId value;
    const uint16_t first = r.u16(at, what);
    if (first == 0xFFFF) {
        value.id = r.u16(at + 2, what);
        at += 4;
    } else {
        value.named = true;
        value.name = r.utf16z(at, &at, what);
    }
    return value;
}

}  // namespace

DialogTemplate decode_dialog(const std::vector<uint8_t>& data) {
    const Reader r(data.data(), data.size());
    DialogTemplate dialog;
    uint16_t count = 0;
    uint64_t at = 0;

    // user32 tells the two layouts apart by this signature alone.
    dialog.extended = r.u16(0, "dialog header") == 1 && r.u16(2, "dialog header") == 0xFFFF;
    if (dialog.extended) {
        dialog.help_id = r.u32(4, "dialog header");
        dialog.ex_style = r.u32(8, "dialog header");
        dialog.style = r.u32(12, "dialog header");
        count = r.u16(16, "dialog header");
        at = 18;
    } else {
        dialog.style = r.u32(0, "dialog header");
        dialog.ex_style = r.u32(4, "dialog header");
        count = r.u16(8, "dialog header");
        at = 10;
    }
    dialog.x = r.i16(at, "dialog header");
    dialog.y = r.i16(at + 2, "dialog header");
    dialog.cx = r.i16(at + 4, "dialog header");
    dialog.cy = r.i16(at + 6, "dialog header");
    at += 8;

    dialog.menu = read_name_or_ordinal(r, at, "dialog menu");
    dialog.window_class = read_name_or_ordinal(r, at, "dialog class");
    dialog.title = r.utf16z(at, &at, "dialog title");
    if (dialog.style & kDsSetFont) {
        dialog.has_font = true;
        dialog.font_point_size = r.u16(at, "dialog font");
        at += 2;
        if (dialog.extended) {
            dialog.font_weight = r.u16(at, "dialog font");
            dialog.font_italic = r.u8(at + 2, "dialog font");
            dialog.font_charset = r.u8(at + 3, "dialog font");
            at += 4;
        }
        dialog.font_face = r.utf16z(at, &at, "dialog font face");
    }

    for (uint16_t i = 0; i < count; ++i) {
        at = align4(at);
        DialogItem item;
        if (dialog.extended) {
            item.help_id = r.u32(at, "dialog item");
            item.ex_style = r.u32(at + 4, "dialog item");
            item.style = r.u32(at + 8, "dialog item");
            at += 12;
        } else {
            item.style = r.u32(at, "dialog item");
            item.ex_style = r.u32(at + 4, "dialog item");
            at += 8;
        }
        item.x = r.i16(at, "dialog item");
        item.y = r.i16(at + 2, "dialog item");
        item.cx = r.i16(at + 4, "dialog item");
        item.cy = r.i16(at + 6, "dialog item");
        at += 8;
        if (dialog.extended) {
            item.id = r.u32(at, "dialog item id");
            at += 4;
        } else {
            item.id = r.u16(at, "dialog item id");
            at += 2;
        }
        item.window_class = read_name_or_ordinal(r, at, "dialog item class");
        item.title = read_name_or_ordinal(r, at, "dialog item title");

        // Skipped the way Wine's user32 does: the count, then that many
        // bytes rounded down to whole WORDs.
        const uint16_t extra = r.u16(at, "dialog item creation data");
        at += 2;
        r.require(at, extra, "dialog item creation data");
        item.creation_data.assign(data.begin() + static_cast<std::ptrdiff_t>(at),
                                  data.begin() + static_cast<std::ptrdiff_t>(at + extra));
        at += extra & ~1u;
        dialog.items.push_back(std::move(item));
    }
    return dialog;
}

// ---------------------------------------------------------------------------
// Group icons

std::vector<GroupIconEntry> decode_group_icon(const std::vector<uint8_t>& data) {
    const Reader r(data.data(), data.size());
    if (r.u16(0, "icon directory") != 0) fail("icon directory: reserved field is not 0");
    if (r.u16(2, "icon directory") != 1) fail("icon directory: type is not 1 (icon)");
    const uint16_t count = r.u16(4, "icon directory");
    r.require(6, uint64_t{count} * 14, "icon directory entries");

    std::vector<GroupIconEntry> entries;
    for (uint16_t i = 0; i < count; ++i) {
        const uint64_t at = 6 + uint64_t{i} * 14;
        GroupIconEntry entry;
        const uint8_t width = r.u8(at, "icon entry");
        const uint8_t height = r.u8(at + 1, "icon entry");
        entry.width = width == 0 ? 256 : width;
        entry.height = height == 0 ? 256 : height;
        entry.color_count = r.u8(at + 2, "icon entry");
        entry.planes = r.u16(at + 4, "icon entry");
        entry.bit_count = r.u16(at + 6, "icon entry");
        entry.bytes_in_resource = r.u32(at + 8, "icon entry");
        entry.icon_id = r.u16(at + 12, "icon entry");
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
    uint16_t value_length = 0;
    std::u16string key;
    uint64_t value = 0;     // offset of the value
    uint64_t children = 0;  // offset of the first child, at most `end`
};

// Reads the block at `at`, which must end by `limit`.
VersionBlock read_version_block(const std::vector<uint8_t>& data, uint64_t at, uint64_t limit) {
    const Reader whole(data.data(), data.size());
    const uint16_t length = whole.u16(at, "version block");
    if (length < 6) fail("version block at " + hex(at) + " has length " + std::to_string(length));
    if (at + length > limit)
        fail("version block at " + hex(at) + " runs past its parent");

    // Reading through a span that stops at the block's end keeps a key
    // without its NUL from wandering into the next block.
    const Reader r(data.data(), static_cast<std::size_t>(at + length));
    VersionBlock block;
    block.end = at + length;
    block.value_length = r.u16(at + 2, "version block");
    const uint16_t type = r.u16(at + 4, "version block");
    uint64_t key_end = 0;
    block.key = r.utf16z(at + 6, &key_end, "version block key");
    block.value = align4(key_end);
    // Text values are measured in characters, binary ones in bytes.
    const uint64_t value_bytes = type == 1 ? uint64_t{block.value_length} * 2 : block.value_length;
    block.children = std::min(align4(block.value + value_bytes), block.end);
    return block;
}

// Calls visit(child) for every child block of `parent`.
template <typename Visit>
void for_each_child(const std::vector<uint8_t>& data, const VersionBlock& parent, Visit visit) {
    for (uint64_t at = parent.children; at < parent.end;) {
        const VersionBlock child = read_version_block(data, at, parent.end);
        visit(child);
        at = align4(child.end);
    }
}

// The text value of a String block: up to its NUL or the block's end.
std::u16string read_version_text(const std::vector<uint8_t>& data, const VersionBlock& block) {
    std::u16string text;
    const Reader r(data.data(), static_cast<std::size_t>(block.end));
    for (uint64_t at = block.value; r.has(at, 2); at += 2) {
        const uint16_t c = r.u16(at, "version string");
        if (c == 0) break;
        text.push_back(static_cast<char16_t>(c));
    }
    return text;
}

}  // namespace

VersionInfo decode_version_info(const std::vector<uint8_t>& data) {
    const VersionBlock root = read_version_block(data, 0, data.size());
    if (root.key != u"VS_VERSION_INFO")
        fail("version resource root key is \"" + to_utf8(root.key) + "\"");

    VersionInfo info;
    for_each_child(data, root, [&](const VersionBlock& file_info) {
        if (file_info.key == u"StringFileInfo") {
            for_each_child(data, file_info, [&](const VersionBlock& table) {
                VersionStringTable strings;
                strings.block = table.key;
                for_each_child(data, table, [&](const VersionBlock& entry) {
                    strings.strings.emplace_back(entry.key, read_version_text(data, entry));
                });
                info.string_tables.push_back(std::move(strings));
            });
        } else if (file_info.key == u"VarFileInfo") {
            for_each_child(data, file_info, [&](const VersionBlock& var) {
                if (var.key != u"Translation") return;
                const Reader r(data.data(), static_cast<std::size_t>(var.end));
                r.require(var.value, var.value_length, "Translation value");
                for (uint64_t at = var.value; at + 4 <= var.value + var.value_length; at += 4)
                    info.translations.push_back({r.u16(at, "Translation value"),
                                                 r.u16(at + 2, "Translation value")});
            });
        }
    });
    return info;
}

}  // namespace pe
