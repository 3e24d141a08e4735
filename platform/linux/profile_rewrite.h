// The profile service's edit of a file's bytes: one key of one section set, everything else
// kept byte for byte.
#pragma once

#include <string>

namespace stand_in {

// The file with `key` of `section` set to `value`. Section and key names match whatever their
// case (ASCII letters only). A key found keeps its spelling and its line's place, its line
// then ending in CR LF; a missing key is added after the section's last non-blank line; a
// missing section is added at the end, after a CR LF for a last line that had no line end.
std::string SetProfileKey(const std::string& bytes, const std::string& section,
                          const std::string& key, const std::string& value);

}  // namespace stand_in
