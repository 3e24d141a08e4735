#include "private_drive.h"

#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>

#include "platform/linux/stand_in.h"

PrivateDrive::PrivateDrive() {
  const char* tmp = std::getenv("TMPDIR");
  std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/brisvane-XXXXXX";
  if (!mkdtemp(pattern.data())) return;
  if (mkdir((pattern + "/c").c_str(), 0755) != 0) {
    std::error_code ignored;
    std::filesystem::remove_all(pattern, ignored);
    return;
  }
  root_ = pattern;
}

PrivateDrive::~PrivateDrive() {
  if (!Made()) return;
  std::error_code ignored;
  std::filesystem::remove_all(root_, ignored);
}

void PrivateDrive::Use() const {
  stand_in::Reset();
  stand_in::SetDriveRoot(root_);
}
