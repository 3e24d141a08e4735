// A drive C: of a test's own for the Linux stand-in: a fresh temporary folder that the
// stand-in's drive paths lead into, so that nothing of the host outside it is ever touched.
// Free of any test framework, so that the fuzzers share it.
#pragma once

#include <string>

class PrivateDrive {
 public:
  // Makes <TMPDIR, else /tmp>/brisvane-XXXXXX/c; Made() says whether that worked.
  PrivateDrive();
  // Removes the folder with everything still in it.
  ~PrivateDrive();
  PrivateDrive(const PrivateDrive&) = delete;
  PrivateDrive& operator=(const PrivateDrive&) = delete;

  bool Made() const { return !root_.empty(); }

  // Forgets everything the stand-in holds and points its drive paths at this folder.
  void Use() const;

 private:
  std::string root_;
};
