// LoadOsTable over any boot file, whole or cut short by a failing read: the table must hold
// exactly the rows the file names (row i being line i after the header, 16 at most), the
// file must be left as it was and closed, and a second load must give the same table.
//
// Input: [bit 0: the open fails; bit 1: no file; bit 2: reads fail after the next word's
//        count] [that count, 2 bytes] [file...]
#include <cstring>
#include <string>
#include <vector>

#include "bootcfg/os_table.h"
#include "platform/linux/stand_in.h"
#include "support/harness.h"
#include "support/oracle.h"

namespace {

std::string Field(const char* field, size_t room) {
  return std::string(field, strnlen(field, room));
}

void CheckTable(const std::string& file, const std::vector<fuzz::ExpectedRow>& rows) {
  const auto detail = [&] {
    std::string text = "file " + fuzz::Printable(file) + "\nexpected " +
                       std::to_string(rows.size()) + " rows, loaded " + std::to_string(g_osCount) +
                       ":";
    for (int i = 0; i < g_osCount && i < kMaxOsEntries; ++i)
      text += "\n  " + fuzz::Printable(Field(g_osEntries[i].bootPath, 512)) + " " +
              fuzz::Printable(Field(g_osEntries[i].description, 256));
    return text;
  };
  FUZZ_CHECK(g_osCount == static_cast<int>(rows.size()), detail());
  for (int i = 0; i < g_osCount; ++i) {
    const OsEntry& row = g_osEntries[i];
    // A 256-byte boot path runs on into the description's terminator: read the row whole.
    FUZZ_CHECK(Field(row.bootPath, sizeof(OsEntry)) == rows[i].bootPath, detail());
    FUZZ_CHECK(Field(row.description, sizeof row.description) == rows[i].description, detail());
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::Input input(data, size);
  const uint8_t flags = input.Byte();
  const uint16_t readLimit = input.Word();
  const bool openFails = flags & 1;
  const bool missing = flags & 2;
  const bool limited = flags & 4;
  const std::string file = input.Rest();

  const std::string visible = fuzz::PrepareReader(file, missing, openFails, limited, readLimit);
  const std::vector<fuzz::ExpectedRow> rows = fuzz::ExpectedTable(visible);

  // Leftovers of an earlier load must not show through.
  std::memset(g_osEntries, 0x5A, sizeof g_osEntries);
  g_osCount = -7;
  LoadOsTable();
  CheckTable(file, rows);
  FUZZ_CHECK(stand_in::OpenHandleCount() == 0, "the load left the file open");

  // Only reading happened: the file is unchanged.
  std::string after;
  const bool exists = fuzz::ReadBootFile(&after);
  FUZZ_CHECK(exists == !missing && (missing || after == file),
             "the load changed the file " + fuzz::Printable(file));

  // Loading again reads the file afresh; the failing read stays failed, so only a whole
  // file gives the same table twice.
  if (!limited && !openFails) {
    std::memset(g_osEntries, 0x3C, sizeof g_osEntries);
    LoadOsTable();
    CheckTable(file, rows);
    FUZZ_CHECK(stand_in::OpenHandleCount() == 0, "the second load left the file open");
  }
  return 0;
}
