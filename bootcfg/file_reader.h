// A read-only file handed out one byte at a time, for the line-by-line scan of the boot file.
#pragma once

#include "../platform/platform.h"

class FileReader {
 public:
  // Opens `path` without sharing, so nobody else can change the file while it is scanned.
  // A failed open is kept as the invalid handle: every read then fails, and the file looks
  // empty to the caller.
  FileReader(const char* path, DWORD desiredAccess, DWORD creationDisposition);
  ~FileReader();
  FileReader(const FileReader&) = delete;
  FileReader& operator=(const FileReader&) = delete;

  // One ReadFile call; its result is passed back unchanged.
  BOOL Read(void* buffer, DWORD count, DWORD* bytesRead);

  // Reads one byte into dest. Returns 1 when a byte was stored, 0 at the end of the file,
  // -1 when the read failed.
  int ReadChar(char* dest);

  // Reads one line into buffer, which has room for maxChars + 1 bytes. Every CR is dropped,
  // LF ends the line and is not kept. Returns the characters stored: 0 for an empty line or
  // nothing left to read (end of file, failed read), maxChars + 1 when the line was longer:
  // then the buffer holds its first maxChars characters, the next one is lost, and the rest
  // comes back from the next call. The buffer is always NUL-terminated.
  int ReadLine(char* buffer, int maxChars);

 private:
  HANDLE handle;
};
