// What the file calls keep that the profile service needs too: the attributes Linux has no
// bit for.
#pragma once

#include <string>

namespace stand_in {

// Whether SetFileAttributesA made the file at this host path hidden or system.
bool HiddenOrSystem(const std::string& hostPath);

// Forgets every hidden, system and archive attribute.
void ResetFileAttributes();

}  // namespace stand_in
