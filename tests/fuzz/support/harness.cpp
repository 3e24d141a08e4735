#include "harness.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "bootcfg/boot_file.h"
#include "platform/linux/control.h"

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

namespace {

std::string g_root;

void RemoveRoot() {
  std::error_code ignored;
  std::filesystem::remove_all(g_root, ignored);
}

std::string HostBootPath() { return subst::HostPath(kBootFilePath); }

}  // namespace

void FreshDrive() {
  subst::Reset();
  if (g_root.empty()) {
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/brisvane-fuzz-XXXXXX";
    if (!mkdtemp(pattern.data())) CheckFailed(__FILE__, __LINE__, "mkdtemp", pattern);
    g_root = pattern;
    if (mkdir((g_root + "/c").c_str(), 0755) != 0)
      CheckFailed(__FILE__, __LINE__, "mkdir", g_root + "/c");
    std::atexit(RemoveRoot);
  }
  subst::SetDriveRoot(g_root);
  RemoveBootFile();
  subst::ClearCalls();
}

void WriteBootFile(const std::string& bytes) {
  RemoveBootFile();
  FILE* f = std::fopen(HostBootPath().c_str(), "wb");
  if (!f) CheckFailed(__FILE__, __LINE__, "fopen", HostBootPath());
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  if (std::fclose(f) != 0 || !written) CheckFailed(__FILE__, __LINE__, "fwrite", HostBootPath());
}

void RemoveBootFile() {
  // The stand-in keeps hidden and system by path; a new file must not inherit them.
  SetFileAttributesA(kBootFilePath, FILE_ATTRIBUTE_NORMAL);
  unlink(HostBootPath().c_str());
}

bool ReadBootFile(std::string* bytes) {
  bytes->clear();
  FILE* f = std::fopen(HostBootPath().c_str(), "rb");
  if (!f) return false;
  char chunk[4096];
  size_t n;
  while ((n = std::fread(chunk, 1, sizeof chunk, f)) > 0) bytes->append(chunk, n);
  std::fclose(f);
  return true;
}

bool BootFileReadOnly() {
  struct stat st;
  return stat(HostBootPath().c_str(), &st) == 0 && !(st.st_mode & S_IWUSR);
}

std::string PrepareReader(const std::string& file, bool missing, bool openFails, bool limited,
                          size_t readLimit) {
  FreshDrive();
  if (!missing) WriteBootFile(file);
  if (openFails) subst::FailCall("CreateFileA");
  if (limited) subst::FailReadAfter(static_cast<long>(readLimit));
  std::string visible = (missing || openFails) ? "" : file;
  if (limited && visible.size() > readLimit) visible.resize(readLimit);
  return visible;
}

}  // namespace fuzz
