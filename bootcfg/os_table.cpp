#include "os_table.h"

#include <cstddef>

#include "boot_file.h"
#include "file_reader.h"

static_assert(sizeof(OsEntry) == 512, "a row is 512 bytes");
static_assert(offsetof(OsEntry, description) == sizeof(OsEntry::bootPath),
              "a full boot path is terminated by the description's first byte");

OsEntry g_osEntries[kMaxOsEntries];
int g_osCount;

namespace {

// True when the two strings hold the same bytes. (The program has no C library to ask.)
bool SameBytes(const char* a, const char* b) {
  while (*a != '\0' && *a == *b) ++a, ++b;
  return *a == *b;
}

}  // namespace

void ParseOsLine(const char* line, OsEntry& row) {
  // The row is addressed as its 512 bytes so that a 256-byte boot path's terminator, which
  // falls on the description's first byte, is a write inside the object, not past an array.
  unsigned char* const bytes = reinterpret_cast<unsigned char*>(&row);
  unsigned char* const description = bytes + offsetof(OsEntry, description);
  size_t pathLen = 0, descLen = 0;
  int sep = 0;
  for (int i = 0; i < kMaxLineChars; ++i) {
    const unsigned char c = static_cast<unsigned char>(line[i]);
    if (c == '\0') break;
    if (c == '=' || c == '"') {
      ++sep;
    } else if (sep == 0) {
      bytes[pathLen++] = c;
    } else if (sep == 2) {
      description[descLen++] = c;
    } else {
      break;
    }
  }
  bytes[pathLen] = '\0';
  description[descLen] = '\0';
}

void LoadOsTable() {
  g_osCount = 0;
  FileReader file(kBootFilePath, GENERIC_READ, OPEN_EXISTING);
  char line[kMaxLineChars + 1];
  do {
    if (file.ReadLine(line, kMaxLineChars) == 0) return;
  } while (!SameBytes(line, kSystemsHeader));
  // More rows than the table holds end the load: row i must stay line i of the list.
  while (g_osCount < kMaxOsEntries && file.ReadLine(line, kMaxLineChars) != 0)
    ParseOsLine(line, g_osEntries[g_osCount++]);
}
