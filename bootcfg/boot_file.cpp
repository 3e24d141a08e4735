#include "boot_file.h"

const char kBootFilePath[] = "c:\\boot.ini";
const char kLoaderSection[] = "boot loader";
const char kSystemsHeader[] = "[operating systems]";
const char kTimeoutRestartNow[] = "0";
const char kTimeoutAskAtStart[] = "-1";
const char kTimeoutReset[] = "30";

namespace {

// Setup leaves the boot file read-only, hidden and system. The profile service refuses a
// read-only file, and one that rewrites the file as a plain new file (CREATE_ALWAYS with
// normal attributes) is refused a hidden or system one as well. So the service is shown a
// plain file for the one write, and the file's own attributes are put back afterwards,
// whether the write worked or not.
const DWORD kSetupAttributes =
    FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;

// Writes key = value in the loader's section. Returns the profile service's answer, or FALSE
// without asking it when the file does not exist. Attributes that cannot be read or lifted
// do not stop the attempt: the service has the last word on whether the file can be written.
BOOL WriteLoaderKey(const char* key, const char* value) {
  const DWORD original = GetFileAttributesA(kBootFilePath);
  // The profile service would create a missing file; a boot.ini made from nothing is read by
  // no loader, and saying it was written would be a lie. So there is nothing to write to.
  if (original == INVALID_FILE_ATTRIBUTES) {
    const DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return FALSE;
  }
  bool lifted = false;
  if (original != INVALID_FILE_ATTRIBUTES && (original & kSetupAttributes)) {
    // No attribute left at all is spelt "normal": that is the only way to say it alone.
    const DWORD plain = original & ~kSetupAttributes;
    lifted = SetFileAttributesA(kBootFilePath, plain ? plain : FILE_ATTRIBUTE_NORMAL);
  }
  const BOOL written = WritePrivateProfileStringA(kLoaderSection, key, value, kBootFilePath);
  if (lifted) {
    const DWORD error = GetLastError();
    SetFileAttributesA(kBootFilePath, original);
    SetLastError(error);
  }
  return written;
}

}  // namespace

BOOL SetDefaultSystem(const char* bootPath) { return WriteLoaderKey("default", bootPath); }

BOOL SetMenuTimeout(const char* value) { return WriteLoaderKey("timeout", value); }
