#include "boot_fixture.h"

#include "support/boot_file_bytes.h"

#ifndef _WIN32
#include "platform/linux/stand_in.h"
#endif

const char BootFileTest::kMissing[] = "<missing>";

namespace {

const char kBootPath[] = "c:\\boot.ini";

}  // namespace

void BootFileTest::SetUp() {
#ifndef _WIN32
  drive_ = std::make_unique<PrivateDrive>();
  ASSERT_TRUE(drive_->Made());
  drive_->Use();
#endif
  RemoveBootFile();
#ifndef _WIN32
  stand_in::ClearCalls();
#endif
}

void BootFileTest::TearDown() {
  RemoveBootFile();
#ifndef _WIN32
  drive_.reset();
  stand_in::Reset();
#endif
}

void BootFileTest::WriteBootFile(const std::string& bytes) {
  ASSERT_TRUE(boot_file_bytes::Write(bytes)) << boot_file_bytes::HostPath();
#ifndef _WIN32
  stand_in::ClearCalls();  // the program's calls are what a test looks at, not the fixture's
#endif
}

std::string BootFileTest::ReadBootFile() {
  std::string bytes;
  return boot_file_bytes::Read(&bytes) ? bytes : kMissing;
}

void BootFileTest::RemoveBootFile() { boot_file_bytes::Remove(); }

ExclusiveHold::ExclusiveHold()
    : handle_(CreateFileA(kBootPath, GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                          nullptr)) {}

ExclusiveHold::~ExclusiveHold() {
  if (Holding()) CloseHandle(handle_);
}
