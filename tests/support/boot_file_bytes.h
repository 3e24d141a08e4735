// c:\boot.ini's bytes, reached the way a test reaches them: past the program, straight on the
// file of the drive it sees (natively the stand-in's private drive, under Wine the prefix's
// drive C:). Free of any test framework, so that the fuzzers share it.
#pragma once

#include <string>

namespace boot_file_bytes {

// The file's path on the machine the test runs on; empty when the stand-in has no drive yet.
std::string HostPath();

// Replaces the file with exactly these bytes, as a plain file. False when it cannot be written.
bool Write(const std::string& bytes);

// The file's bytes; false (and no bytes) when there is no file to read.
bool Read(std::string* bytes);

// Removes the file, whatever its attributes.
void Remove();

}  // namespace boot_file_bytes
