// What every fuzz target shares: a private drive C: for the boot file, a reader for the
// input's leading control bytes, and a check that turns a broken promise into a crash that
// libFuzzer (or the replay driver) reports with the input that caused it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#define FUZZ_CHECK(cond, detail)                                           \
  do {                                                                     \
    if (!(cond)) ::fuzz::CheckFailed(__FILE__, __LINE__, #cond, (detail)); \
  } while (0)

namespace fuzz {

[[noreturn]] void CheckFailed(const char* file, int line, const char* condition,
                              const std::string& detail);

// Bytes shown so that control characters, NULs and Shift_JIS bytes stay readable.
std::string Printable(const std::string& bytes);

// Takes control bytes off the front of the input; past its end every byte reads as 0, so a
// short input still makes a complete (if dull) case.
class Input {
 public:
  Input(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  uint8_t Byte();
  uint16_t Word();  // little-endian
  std::string Bytes(size_t count);
  std::string Rest();

 private:
  const uint8_t* data_;
  size_t size_;
};

// Resets the Win32 stand-in and points drive C: at this process's own private drive, made
// on first use and removed at exit, with no boot file on it.
void FreshDrive();

// c:\boot.ini on the private drive.
void WriteBootFile(const std::string& bytes);
void RemoveBootFile();
bool ReadBootFile(std::string* bytes);  // false when there is no file
bool BootFileReadOnly();                // the host file's owner-write bit is clear

// A fresh drive with c:\boot.ini as the case asks for it: `file` unless `missing`, an open
// that fails, reads that fail after `readLimit` bytes when `limited`. Returns the bytes a
// reader can see: none when there is nothing to open, else the file up to the first failing
// read.
std::string PrepareReader(const std::string& file, bool missing, bool openFails, bool limited,
                          size_t readLimit);

}  // namespace fuzz
