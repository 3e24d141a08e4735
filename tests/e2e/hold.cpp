// Another program holding a file open without sharing, as an editor or a backup tool may:
// every other open of it fails with a sharing violation until this one lets go.
//   e2e_hold PATH SIGNAL   holds PATH until the file SIGNAL exists (or until killed)
// Prints "held" once the file is held, so that the caller knows when to go on.
#include <windows.h>

#include <cstdio>

int wmain(int argc, wchar_t** argv) {
  if (argc != 3) {
    std::fputs("usage: e2e_hold PATH SIGNAL\n", stderr);
    return 64;
  }
  HANDLE file = CreateFileW(argv[1], GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    std::fprintf(stderr, "e2e_hold: cannot open the file (error %lu)\n", GetLastError());
    return 1;
  }
  std::puts("held");
  std::fflush(stdout);
  while (GetFileAttributesW(argv[2]) == INVALID_FILE_ATTRIBUTES) Sleep(50);
  CloseHandle(file);
  return 0;
}
