#include "boot_file_bytes.h"

#include <cstdio>

#include "platform/platform.h"

#ifndef _WIN32
#include "platform/linux/stand_in.h"
#endif

namespace boot_file_bytes {
namespace {

const char kBootPath[] = "c:\\boot.ini";

// Windows' profile service keeps files it has parsed in a cache; a test that swaps the file
// underneath must make it look again. The stand-in caches nothing.
void ForgetCachedProfile() {
#ifdef _WIN32
  WritePrivateProfileStringA(nullptr, nullptr, nullptr, kBootPath);
#endif
}

}  // namespace

std::string HostPath() {
#ifdef _WIN32
  return kBootPath;
#else
  return stand_in::HostPath(kBootPath);
#endif
}

bool Write(const std::string& bytes) {
  Remove();
  FILE* f = std::fopen(HostPath().c_str(), "wb");
  if (!f) return false;
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  const bool closed = std::fclose(f) == 0;
  ForgetCachedProfile();
  return written && closed;
}

bool Read(std::string* bytes) {
  bytes->clear();
  FILE* f = std::fopen(HostPath().c_str(), "rb");
  if (!f) return false;
  char chunk[4096];
  size_t n;
  while ((n = std::fread(chunk, 1, sizeof chunk, f)) > 0) bytes->append(chunk, n);
  std::fclose(f);
  return true;
}

void Remove() {
  // The stand-in keeps hidden and system by path: a new file must not inherit them.
  SetFileAttributesA(kBootPath, FILE_ATTRIBUTE_NORMAL);
  std::remove(HostPath().c_str());
  ForgetCachedProfile();
}

}  // namespace boot_file_bytes
