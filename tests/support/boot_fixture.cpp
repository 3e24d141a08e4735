#include "boot_fixture.h"

#include <cstdio>
#include <cstdlib>

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>

#include "platform/linux/control.h"
#endif

const char BootFileTest::kMissing[] = "<missing>";

namespace {

const char kBootPath[] = "c:\\boot.ini";

std::string HostBootPath() {
#ifdef _WIN32
  return kBootPath;
#else
  return subst::HostPath(kBootPath);
#endif
}

// Windows' profile service keeps files it has parsed in a cache; a test that swaps the file
// underneath must make it look again. The stand-in caches nothing.
void ForgetCachedProfile() {
#ifdef _WIN32
  WritePrivateProfileStringA(nullptr, nullptr, nullptr, kBootPath);
#endif
}

}  // namespace

void BootFileTest::SetUp() {
#ifndef _WIN32
  subst::Reset();
  char folder[] = "/tmp/brisvane-test-XXXXXX";
  ASSERT_NE(mkdtemp(folder), nullptr);
  root_ = folder;
  ASSERT_EQ(mkdir((root_ + "/c").c_str(), 0755), 0);
  subst::SetDriveRoot(root_);
#endif
  RemoveBootFile();
#ifndef _WIN32
  subst::ClearCalls();
#endif
}

void BootFileTest::TearDown() {
  RemoveBootFile();
#ifndef _WIN32
  rmdir((root_ + "/c").c_str());
  rmdir(root_.c_str());
  subst::Reset();
#endif
}

void BootFileTest::WriteBootFile(const std::string& bytes) {
  RemoveBootFile();
  FILE* f = std::fopen(HostBootPath().c_str(), "wb");
  ASSERT_NE(f, nullptr);
  ASSERT_EQ(std::fwrite(bytes.data(), 1, bytes.size(), f), bytes.size());
  ASSERT_EQ(std::fclose(f), 0);
  ForgetCachedProfile();
#ifndef _WIN32
  subst::ClearCalls();  // the program's calls are what a test looks at, not the fixture's
#endif
}

std::string BootFileTest::ReadBootFile() {
  FILE* f = std::fopen(HostBootPath().c_str(), "rb");
  if (!f) return kMissing;
  std::string bytes;
  char chunk[4096];
  size_t n;
  while ((n = std::fread(chunk, 1, sizeof chunk, f)) > 0) bytes.append(chunk, n);
  std::fclose(f);
  return bytes;
}

void BootFileTest::RemoveBootFile() {
  SetFileAttributesA(kBootPath, FILE_ATTRIBUTE_NORMAL);
  std::remove(HostBootPath().c_str());
  ForgetCachedProfile();
}

ExclusiveHold::ExclusiveHold()
    : handle_(CreateFileA(kBootPath, GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                          FILE_ATTRIBUTE_NORMAL, nullptr)) {}

ExclusiveHold::~ExclusiveHold() {
  if (Holding()) CloseHandle(handle_);
}
