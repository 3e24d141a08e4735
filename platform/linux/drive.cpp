// Drive-letter paths lead to real files below a folder a test picks.
#include <cctype>
#include <string>

#include "stand_in.h"

namespace stand_in {
namespace {

std::string g_driveRoot;

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

}  // namespace stand_in
