// A c:\boot.ini of a test's own. Natively the drive lives in a fresh temporary folder; under
// Wine it is the private prefix's drive C:, never a real system's boot file.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "platform/platform.h"

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

 private:
  std::string root_;
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
