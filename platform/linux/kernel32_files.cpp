// The file calls (fileapi.h) on real files behind drive-letter paths, with the Win32 rules
// that Brisvane leans on: exclusive opens (share mode 0) keep others out, and the read-only
// attribute is the owner's write bit; hidden, system and archive are kept beside the file.
#include "kernel32_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <map>
#include <string>

#include "failure.h"
#include "handles.h"
#include "record.h"
#include "stand_in.h"

namespace stand_in {
namespace {

// Attributes Linux has no bit for (hidden, system, archive), by host path.
std::map<std::string, DWORD> g_extraAttributes;

const DWORD kExtraAttributeMask =
    FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE;

}  // namespace

bool HiddenOrSystem(const std::string& hostPath) {
  const auto extra = g_extraAttributes.find(hostPath);
  return extra != g_extraAttributes.end() &&
         (extra->second & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
}

void ResetFileAttributes() { g_extraAttributes.clear(); }

}  // namespace stand_in

using namespace stand_in;

HANDLE WINAPI CreateFileA(LPCSTR path, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES,
                          DWORD disposition, DWORD, HANDLE) {
  Record("CreateFileA", {Arg(path), ArgHex(access), Arg(share), Arg(disposition)});
  if (ShouldFail("CreateFileA")) return Fail(ERROR_ACCESS_DENIED), INVALID_HANDLE_VALUE;
  std::string host = HostPath(path);
  if (host.empty()) return Fail(ERROR_PATH_NOT_FOUND), INVALID_HANDLE_VALUE;
  if (!SharingAllows(host, access, share))
    return Fail(ERROR_SHARING_VIOLATION), INVALID_HANDLE_VALUE;
  int flags = (access & GENERIC_WRITE) ? ((access & GENERIC_READ) ? O_RDWR : O_WRONLY) : O_RDONLY;
  if (disposition == OPEN_ALWAYS) flags |= O_CREAT;
  if (disposition == CREATE_ALWAYS) flags |= O_CREAT | O_TRUNC;
  if (disposition == CREATE_NEW) flags |= O_CREAT | O_EXCL;
  int fd = open(host.c_str(), flags, 0666);
  if (fd < 0) return Fail(ErrorFromErrno(errno)), INVALID_HANDLE_VALUE;
  HANDLE handle = AddFile({fd, host, access, share});
  SetLastError(ERROR_SUCCESS);
  return handle;
}

BOOL WINAPI ReadFile(HANDLE handle, LPVOID buffer, DWORD count, LPDWORD bytesRead, LPOVERLAPPED) {
  Record("ReadFile", {Arg(static_cast<long long>(count))});
  if (bytesRead) *bytesRead = 0;
  OpenFile* file = FindFile(handle);
  if (!file) return Fail(ERROR_INVALID_HANDLE);
  if (ShouldFail("ReadFile")) return Fail(ERROR_READ_FAULT);
  long& allowance = ReadAllowance();
  if (allowance == 0 && count > 0) return Fail(ERROR_READ_FAULT);
  DWORD want = count;
  if (allowance > 0 && want > static_cast<DWORD>(allowance)) want = static_cast<DWORD>(allowance);
  ssize_t n = read(file->fd, buffer, want);
  if (n < 0) return Fail(ERROR_READ_FAULT);
  if (allowance > 0) allowance -= n;
  if (bytesRead) *bytesRead = static_cast<DWORD>(n);
  return TRUE;
}

DWORD WINAPI GetFileAttributesA(LPCSTR path) {
  Record("GetFileAttributesA", {Arg(path)});
  if (ShouldFail("GetFileAttributesA")) return Fail(ERROR_ACCESS_DENIED), INVALID_FILE_ATTRIBUTES;
  std::string host = HostPath(path);
  struct stat st;
  if (host.empty() || stat(host.c_str(), &st) != 0)
    return Fail(ERROR_FILE_NOT_FOUND), INVALID_FILE_ATTRIBUTES;
  DWORD attributes = g_extraAttributes[host];
  if (!(st.st_mode & S_IWUSR)) attributes |= FILE_ATTRIBUTE_READONLY;
  return attributes ? attributes : FILE_ATTRIBUTE_NORMAL;
}

BOOL WINAPI SetFileAttributesA(LPCSTR path, DWORD attributes) {
  Record("SetFileAttributesA", {Arg(path), ArgHex(attributes)});
  if (ShouldFail("SetFileAttributesA")) return Fail(ERROR_ACCESS_DENIED);
  std::string host = HostPath(path);
  struct stat st;
  if (host.empty() || stat(host.c_str(), &st) != 0) return Fail(ERROR_FILE_NOT_FOUND);
  mode_t mode = st.st_mode & 07777;
  mode = (attributes & FILE_ATTRIBUTE_READONLY) ? (mode & ~0222u) : (mode | S_IWUSR);
  if (chmod(host.c_str(), mode) != 0) return Fail(ErrorFromErrno(errno));
  g_extraAttributes[host] = attributes & kExtraAttributeMask;
  return TRUE;
}
