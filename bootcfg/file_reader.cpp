#include "file_reader.h"

FileReader::FileReader(const char* path, DWORD desiredAccess, DWORD creationDisposition)
    : handle(CreateFileA(path, desiredAccess, 0, nullptr, creationDisposition,
                         FILE_ATTRIBUTE_NORMAL, nullptr)) {}

// The invalid handle is the current process's pseudo-handle on Windows: not ours to close.
FileReader::~FileReader() {
  if (handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
}

BOOL FileReader::Read(void* buffer, DWORD count, DWORD* bytesRead) {
  return ReadFile(handle, buffer, count, bytesRead, nullptr);
}

int FileReader::ReadChar(char* dest) {
  DWORD n = 0;
  if (!Read(dest, 1, &n)) return -1;
  return static_cast<int>(n);
}

int FileReader::ReadLine(char* buffer, int maxChars) {
  int count = 0;
  char* pos = buffer;
  int r = ReadChar(pos);
  while (r == 1) {
    if (*pos == '\r') {
      r = ReadChar(pos);
      continue;
    }
    if (*pos == '\n') break;
    if (++count > maxChars) break;  // this byte gives way to the terminator
    ++pos;
    r = ReadChar(pos);
  }
  *pos = '\0';
  return count;
}
