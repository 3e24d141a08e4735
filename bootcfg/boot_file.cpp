#include "boot_file.h"

const char kBootFilePath[] = "c:\\boot.ini";
const char kLoaderSection[] = "boot loader";
const char kSystemsHeader[] = "[operating systems]";
const char kTimeoutRestartNow[] = "0";
const char kTimeoutAskAtStart[] = "-1";
const char kTimeoutReset[] = "30";

namespace {

// Setup marks the boot file read-only (with hidden and system), and the profile service
// refuses to write such a file. The attribute is lifted for the one write and the file's
// own attributes are put back afterwards, whether the write worked or not.
BOOL WriteLoaderKey(const char* key, const char* value) {
  const DWORD original = GetFileAttributesA(kBootFilePath);
  // The profile service would create a missing file; a boot.ini made from nothing is read by
  // no loader, and saying it was written would be a lie. So there is nothing to write to.
  if (original == INVALID_FILE_ATTRIBUTES) {
    const DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return FALSE;
  }
  const bool lifted = original != INVALID_FILE_ATTRIBUTES &&
                      (original & FILE_ATTRIBUTE_READONLY) &&
                      SetFileAttributesA(kBootFilePath, original & ~FILE_ATTRIBUTE_READONLY);
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
