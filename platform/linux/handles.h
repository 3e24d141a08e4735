// The stand-in's handle table: the files CreateFileA opened and not yet closed, and the one
// process token OpenProcessToken hands out. CloseHandle (in handles.cpp) takes both.
#pragma once

#include <string>
#include <vector>

#include "win32.h"

namespace stand_in {

struct OpenFile {
  int fd;
  std::string hostPath;
  DWORD access;
  DWORD share;
};

// Enters an open file in the table; its handle.
HANDLE AddFile(const OpenFile& file);

// The open file behind `handle`, or null when the handle is no open file.
OpenFile* FindFile(HANDLE handle);

// Whether an open with `access`/`share` may coexist with every handle already on the file.
bool SharingAllows(const std::string& hostPath, DWORD access, DWORD share);

// The process token's handle.
HANDLE ProcessToken();
bool IsToken(HANDLE handle);

// Closes every file still open.
void ResetHandles();

}  // namespace stand_in
