// The profile service (WritePrivateProfileStringA): one key edited in place and the file
// replaced in one step. Like a profile service that rewrites the file with CreateFile's
// CREATE_ALWAYS and normal attributes, it is refused a file that is hidden or system.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <vector>

#include "failure.h"
#include "handles.h"
#include "kernel32_files.h"
#include "profile_rewrite.h"
#include "record.h"
#include "stand_in.h"

namespace stand_in {
namespace {

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
}  // namespace stand_in

using namespace stand_in;

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
    if (HiddenOrSystem(host)) return Fail(ERROR_ACCESS_DENIED);
    mode = st.st_mode & 07777;
  }
  if (!ReplaceFile(host, SetProfileKey(bytes, section, key, value), mode)) return FALSE;
  SetLastError(ERROR_SUCCESS);
  return TRUE;
}
