// A c:\boot.ini of a test's own. Natively the drive lives in a fresh temporary folder; under
// Wine it is the private prefix's drive C:, never a real system's boot file.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "platform/platform.h"
#include "support/boot_ini.h"

#ifndef _WIN32
#include "support/private_drive.h"
#endif

class BootFileTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Replaces c:\boot.ini with exactly these bytes.
  void WriteBootFile(const std::string& bytes);
  // The file's bytes now, or kMissing when there is no file.
  std::string ReadBootFile();
  void RemoveBootFile();

  static const char kMissing[];

#ifndef _WIN32
 private:
  std::unique_ptr<PrivateDrive> drive_;
#endif
};

// A handle on c:\boot.ini held without sharing, as another program might hold it.
class ExclusiveHold {
 public:
  ExclusiveHold();
  ~ExclusiveHold();
  ExclusiveHold(const ExclusiveHold&) = delete;
  ExclusiveHold& operator=(const ExclusiveHold&) = delete;
  bool Holding() const { return handle_ != INVALID_HANDLE_VALUE; }

 private:
  HANDLE handle_;
};
