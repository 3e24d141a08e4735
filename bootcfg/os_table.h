// The bootable systems named in the boot file, as the dialog lists them: row i is line i.
#pragma once

// One system. Both fields are NUL-terminated byte strings copied from the file unconverted.
// A boot path that fills all 256 bytes is terminated by the first byte of `description`,
// which is then empty: the row's 512 bytes always hold both strings.
struct OsEntry {
  char bootPath[256];     // the line before its first separator; written back as "default"
  char description[256];  // the text between the quotes; the dialog's line
};

const int kMaxOsEntries = 16;
const int kMaxLineChars = 256;

// The rows the dialog lists, filled once at its initialisation and read by its commands later:
// the dialog procedure keeps nothing of its own between messages, so the table is static.
extern OsEntry g_osEntries[kMaxOsEntries];
extern int g_osCount;  // rows in use, 0 to kMaxOsEntries

// Loads the rows after "[operating systems]" up to the first empty line, the end of the
// file or the 16th row, whichever comes first. A missing or unreadable file, or one without
// the header, leaves the table empty. The file is closed again before this returns.
void LoadOsTable();

// Splits one line (at most 256 bytes are looked at) into row.bootPath, the bytes before the
// first '=' or '"', and row.description, the bytes after the second, up to the next one.
// A plain byte after exactly one separator (or three or more) ends the scan.
void ParseOsLine(const char* line, OsEntry& row);
