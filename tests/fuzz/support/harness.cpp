#include "harness.h"

#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>

#include "platform/linux/stand_in.h"
#include "support/boot_file_bytes.h"
#include "support/private_drive.h"

namespace fuzz {

void CheckFailed(const char* file, int line, const char* condition, const std::string& detail) {
  std::fprintf(stderr, "%s:%d: broken: %s\n%s\n", file, line, condition, detail.c_str());
  std::fflush(stderr);
  std::abort();
}

std::string Printable(const std::string& bytes) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string out = "\"";
  for (unsigned char c : bytes) {
    if (c >= 0x20 && c < 0x7F && c != '\\' && c != '"') {
      out += static_cast<char>(c);
    } else {
      out += "\\x";
      out += kHex[c >> 4];
      out += kHex[c & 15];
    }
  }
  return out + "\"";
}

uint8_t Input::Byte() {
  if (size_ == 0) return 0;
  --size_;
  return *data_++;
}

uint16_t Input::Word() {
  const uint16_t low = Byte();
  return static_cast<uint16_t>(low | (Byte() << 8));
}

std::string Input::Bytes(size_t count) {
  if (count > size_) count = size_;
  std::string out(reinterpret_cast<const char*>(data_), count);
  data_ += count;
  size_ -= count;
  return out;
}

std::string Input::Rest() { return Bytes(size_); }

void FreshDrive() {
  static const PrivateDrive drive;
  if (!drive.Made()) CheckFailed(__FILE__, __LINE__, "drive.Made()", "no temporary folder");
  drive.Use();
  RemoveBootFile();
  stand_in::ClearCalls();
}

void WriteBootFile(const std::string& bytes) {
  if (!boot_file_bytes::Write(bytes))
    CheckFailed(__FILE__, __LINE__, "boot_file_bytes::Write", boot_file_bytes::HostPath());
}

void RemoveBootFile() { boot_file_bytes::Remove(); }

bool ReadBootFile(std::string* bytes) { return boot_file_bytes::Read(bytes); }

bool BootFileReadOnly() {
  struct stat st;
  return stat(boot_file_bytes::HostPath().c_str(), &st) == 0 && !(st.st_mode & S_IWUSR);
}

std::string PrepareReader(const std::string& file, bool missing, bool openFails, bool limited,
                          size_t readLimit) {
  FreshDrive();
  if (!missing) WriteBootFile(file);
  if (openFails) stand_in::FailCall("CreateFileA");
  if (limited) stand_in::FailReadAfter(static_cast<long>(readLimit));
  std::string visible = (missing || openFails) ? "" : file;
  if (limited && visible.size() > readLimit) visible.resize(readLimit);
  return visible;
}

}  // namespace fuzz
