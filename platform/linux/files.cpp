// Real files behind drive-letter paths, with the Win32 rules that Brisvane leans on:
// exclusive opens (share mode 0) keep others out, the read-only attribute refuses writes,
// and the profile service edits one key in place and replaces the file in one step. Like a
// profile service that rewrites the file with CreateFile's CREATE_ALWAYS and normal
// attributes, it is refused a file that is hidden or system.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "control.h"
#include "state.h"

namespace subst {
namespace {

struct OpenFile {
  int fd;
  std::string hostPath;
  DWORD access;
  DWORD share;
};

std::string g_driveRoot;
std::vector<OpenFile*> g_open;
// Attributes Linux has no bit for (hidden, system, archive), by host path.
std::map<std::string, DWORD> g_extraAttributes;

const DWORD kExtraAttributeMask =
    FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE;

bool Fail(DWORD error) {
  SetLastError(error);
  return false;
}

DWORD ErrorFromErrno(int e) {
  switch (e) {
    case ENOENT: return ERROR_FILE_NOT_FOUND;
    case ENOTDIR: return ERROR_PATH_NOT_FOUND;
    case EACCES:
    case EPERM:
    case EROFS: return ERROR_ACCESS_DENIED;
    default: return ERROR_WRITE_FAULT;
  }
}

// Whether an open with `access`/`share` may coexist with every handle already on the file.
bool SharingAllows(const std::string& hostPath, DWORD access, DWORD share) {
  for (const OpenFile* f : g_open) {
    if (f->hostPath != hostPath) continue;
    if ((access & GENERIC_READ) && !(f->share & FILE_SHARE_READ)) return false;
    if ((access & GENERIC_WRITE) && !(f->share & FILE_SHARE_WRITE)) return false;
    if ((f->access & GENERIC_READ) && !(share & FILE_SHARE_READ)) return false;
    if ((f->access & GENERIC_WRITE) && !(share & FILE_SHARE_WRITE)) return false;
  }
  return true;
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string Trim(const std::string& s) {
  size_t b = 0, e = s.size();
  while (b < e && IsBlank(s[b])) ++b;
  while (e > b && IsBlank(s[e - 1])) --e;
  return s.substr(b, e - b);
}

bool SameName(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    unsigned char x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
    if (x < 128 && y < 128 && std::tolower(x) == std::tolower(y)) continue;
    if (x != y) return false;
  }
  return true;
}

// A line's text without its CR LF / LF ending.
std::string Body(const std::string& line) {
  size_t n = line.size();
  if (n && line[n - 1] == '\n') --n;
  if (n && line[n - 1] == '\r') --n;
  return line.substr(0, n);
}

// The section name of a header line, or false when the line is no header.
bool SectionName(const std::string& line, std::string* name) {
  std::string t = Trim(Body(line));
  if (t.size() < 2 || t[0] != '[') return false;
  size_t close = t.find(']');
  if (close == std::string::npos) return false;
  *name = Trim(t.substr(1, close - 1));
  return true;
}

bool KeyName(const std::string& line, std::string* name) {
  std::string body = Body(line);
  size_t eq = body.find('=');
  if (eq == std::string::npos) return false;
  *name = Trim(body.substr(0, eq));
  return true;
}

std::vector<std::string> SplitLines(const std::string& bytes) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < bytes.size()) {
    size_t lf = bytes.find('\n', start);
    size_t end = lf == std::string::npos ? bytes.size() : lf + 1;
    lines.push_back(bytes.substr(start, end - start));
    start = end;
  }
  return lines;
}

void EnsureEnded(std::string* line) {
  if (line->empty() || line->back() != '\n') *line += "\r\n";
}

// The file with `key` of `section` set to `value`: the key's line replaced where it stands,
// or added after the section's last non-blank line, or a new section at the end.
std::string SetProfileKey(const std::string& bytes, const std::string& section,
                          const std::string& key, const std::string& value) {
  std::vector<std::string> lines = SplitLines(bytes);
  const std::string entry = key + "=" + value + "\r\n";
  size_t i = 0;
  std::string name;
  for (; i < lines.size(); ++i)
    if (SectionName(lines[i], &name) && SameName(name, section)) break;
  if (i == lines.size()) {
    if (!lines.empty()) EnsureEnded(&lines.back());
    lines.push_back("[" + section + "]\r\n");
    lines.push_back(entry);
  } else {
    size_t lastFilled = i;
    size_t j = i + 1;
    for (; j < lines.size() && !SectionName(lines[j], &name); ++j) {
      if (KeyName(lines[j], &name) && SameName(name, key)) {
        lines[j] = name + "=" + value + "\r\n";  // the key keeps its spelling in the file
        break;
      }
      if (!Trim(Body(lines[j])).empty()) lastFilled = j;
    }
    if (j == lines.size() || SectionName(lines[j], &name)) {
      EnsureEnded(&lines[lastFilled]);
      lines.insert(lines.begin() + static_cast<long>(lastFilled) + 1, entry);
    }
  }
  std::string out;
  for (const auto& l : lines) out += l;
  return out;
}

bool ReadWhole(const std::string& hostPath, std::string* bytes, bool* exists) {
  *exists = false;
  bytes->clear();
  int fd = open(hostPath.c_str(), O_RDONLY);
  if (fd < 0) return errno == ENOENT;
  *exists = true;
  char chunk[4096];
  ssize_t n;
  while ((n = read(fd, chunk, sizeof chunk)) > 0) bytes->append(chunk, static_cast<size_t>(n));
  close(fd);
  return n == 0;
}

// Writes `bytes` to a temporary file beside `hostPath` and renames it over the original, so
// that a reader sees either the old file or the new one, never half of one.
bool ReplaceFile(const std::string& hostPath, const std::string& bytes, mode_t mode) {
  size_t slash = hostPath.rfind('/');
  std::string tmp = hostPath.substr(0, slash + 1) + ".profile-XXXXXX";
  std::vector<char> name(tmp.begin(), tmp.end());
  name.push_back('\0');
  int fd = mkstemp(name.data());
  if (fd < 0) return Fail(ErrorFromErrno(errno));
  bool ok = true;
  size_t done = 0;
  while (ok && done < bytes.size()) {
    ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
    ok = n > 0;
    if (ok) done += static_cast<size_t>(n);
  }
  ok = ok && fchmod(fd, mode) == 0 && fsync(fd) == 0;
  ok = close(fd) == 0 && ok;
  ok = ok && rename(name.data(), hostPath.c_str()) == 0;
  if (!ok) {
    unlink(name.data());
    return Fail(ERROR_WRITE_FAULT);
  }
  return true;
}

}  // namespace

void SetDriveRoot(const std::string& folder) { g_driveRoot = folder; }

std::string HostPath(const char* drivePath) {
  if (!drivePath || g_driveRoot.empty()) return "";
  if (!std::isalpha(static_cast<unsigned char>(drivePath[0])) || drivePath[1] != ':') return "";
  std::string out = g_driveRoot + "/";
  out += static_cast<char>(std::tolower(static_cast<unsigned char>(drivePath[0])));
  for (const char* p = drivePath + 2; *p; ++p) out += (*p == '\\') ? '/' : *p;
  return out;
}

int OpenHandleCount() { return static_cast<int>(g_open.size()); }

void ResetFiles() {
  for (OpenFile* f : g_open) {
    close(f->fd);
    delete f;
  }
  g_open.clear();
  g_extraAttributes.clear();
}

}  // namespace subst

using namespace subst;

HANDLE WINAPI CreateFileA(LPCSTR path, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES,
                          DWORD disposition, DWORD, HANDLE) {
  Record("CreateFileA", {Arg(path), ArgHex(access), Arg(share), Arg(disposition)});
  if (ShouldFail("CreateFileA")) return Fail(ERROR_ACCESS_DENIED), INVALID_HANDLE_VALUE;
  std::string host = HostPath(path);
  if (host.empty()) return Fail(ERROR_PATH_NOT_FOUND), INVALID_HANDLE_VALUE;
  if (!SharingAllows(host, access, share)) return Fail(ERROR_SHARING_VIOLATION), INVALID_HANDLE_VALUE;
  int flags = (access & GENERIC_WRITE) ? ((access & GENERIC_READ) ? O_RDWR : O_WRONLY) : O_RDONLY;
  if (disposition == OPEN_ALWAYS) flags |= O_CREAT;
  if (disposition == CREATE_ALWAYS) flags |= O_CREAT | O_TRUNC;
  if (disposition == CREATE_NEW) flags |= O_CREAT | O_EXCL;
  int fd = open(host.c_str(), flags, 0666);
  if (fd < 0) return Fail(ErrorFromErrno(errno)), INVALID_HANDLE_VALUE;
  g_open.push_back(new OpenFile{fd, host, access, share});
  SetLastError(ERROR_SUCCESS);
  return g_open.back();
}

BOOL WINAPI ReadFile(HANDLE handle, LPVOID buffer, DWORD count, LPDWORD bytesRead, LPOVERLAPPED) {
  Record("ReadFile", {Arg(static_cast<long long>(count))});
  if (bytesRead) *bytesRead = 0;
  OpenFile* file = nullptr;
  for (OpenFile* f : g_open)
    if (f == handle) file = f;
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

BOOL WINAPI CloseHandle(HANDLE handle) {
  Record("CloseHandle", {IsToken(handle) ? "token" : "file"});
  if (IsToken(handle)) return TRUE;
  for (size_t i = 0; i < g_open.size(); ++i) {
    if (g_open[i] != handle) continue;
    close(g_open[i]->fd);
    delete g_open[i];
    g_open.erase(g_open.begin() + static_cast<long>(i));
    return TRUE;
  }
  return Fail(ERROR_INVALID_HANDLE);
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

BOOL WINAPI WritePrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR value, LPCSTR path) {
  Record("WritePrivateProfileStringA", {Arg(section), Arg(key), Arg(value), Arg(path)});
  if (!section && !key && !value) return TRUE;  // cache flush: nothing is cached here
  if (!section || !key || !value) return Fail(ERROR_INVALID_PARAMETER);  // deletions: unused
  if (ShouldFail("WritePrivateProfileStringA")) return Fail(ERROR_ACCESS_DENIED);
  std::string host = HostPath(path);
  if (host.empty()) return Fail(ERROR_PATH_NOT_FOUND);
  if (!SharingAllows(host, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE))
    return Fail(ERROR_SHARING_VIOLATION);
  std::string bytes;
  bool exists;
  if (!ReadWhole(host, &bytes, &exists)) return Fail(ErrorFromErrno(errno));
  mode_t mode = 0644;
  struct stat st;
  if (exists && stat(host.c_str(), &st) == 0) {
    if (!(st.st_mode & S_IWUSR)) return Fail(ERROR_ACCESS_DENIED);
    // CREATE_ALWAYS with FILE_ATTRIBUTE_NORMAL fails on an existing hidden or system file.
    const auto extra = g_extraAttributes.find(host);
    if (extra != g_extraAttributes.end() &&
        (extra->second & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)))
      return Fail(ERROR_ACCESS_DENIED);
    mode = st.st_mode & 07777;
  }
  if (!ReplaceFile(host, SetProfileKey(bytes, section, key, value), mode)) return FALSE;
  SetLastError(ERROR_SUCCESS);
  return TRUE;
}

HANDLE WINAPI GetCurrentProcess(void) { return reinterpret_cast<HANDLE>(static_cast<LONG_PTR>(-1)); }
