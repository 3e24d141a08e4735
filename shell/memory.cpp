// The two library functions GCC may call on its own (to clear or copy a structure) even
// where the source names neither; without a C run time the program brings its own. This file
// is compiled without the loop-to-call pattern matching, which would turn them into calls to
// themselves.
#include <cstddef>

extern "C" void* memset(void* dest, int value, size_t count) {
  unsigned char* d = static_cast<unsigned char*>(dest);
  while (count--) *d++ = static_cast<unsigned char>(value);
  return dest;
}

extern "C" void* memcpy(void* dest, const void* src, size_t count) {
  unsigned char* d = static_cast<unsigned char*>(dest);
  const unsigned char* s = static_cast<const unsigned char*>(src);
  while (count--) *d++ = *s++;
  return dest;
}
