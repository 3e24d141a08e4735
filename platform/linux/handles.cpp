#include "handles.h"

#include <unistd.h>

#include "failure.h"
#include "record.h"
#include "stand_in.h"

namespace stand_in {
namespace {

std::vector<OpenFile*> g_open;
HANDLE const g_token = reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(0x70C0));

}  // namespace

HANDLE AddFile(const OpenFile& file) {
  g_open.push_back(new OpenFile(file));
  return g_open.back();
}

OpenFile* FindFile(HANDLE handle) {
  OpenFile* file = nullptr;
  for (OpenFile* f : g_open)
    if (f == handle) file = f;
  return file;
}

bool SharingAllows(const std::string& hostPath, DWORD access, DWORD share) {
  for (const OpenFile* f : g_open) {
    if (f->hostPath != hostPath) continue;
    if ((access & GENERIC_READ) && !(f->share & FILE_SHARE_READ)) return false;
    if ((access & GENERIC_WRITE) && !(f->share & FILE_SHARE_WRITE)) return false;
    if ((f->access & GENERIC_READ) && !(share & FILE_SHARE_READ)) return false;
    if ((f->access & GENERIC_WRITE) && !(share & FILE_SHARE_WRITE)) return false;
  }
  return true;
}

HANDLE ProcessToken() { return g_token; }
bool IsToken(HANDLE handle) { return handle == g_token; }

int OpenHandleCount() { return static_cast<int>(g_open.size()); }

void ResetHandles() {
  for (OpenFile* f : g_open) {
    close(f->fd);
    delete f;
  }
  g_open.clear();
}

}  // namespace stand_in

using namespace stand_in;

BOOL WINAPI CloseHandle(HANDLE handle) {
  Record("CloseHandle", {IsToken(handle) ? "token" : "file"});
  if (IsToken(handle)) return TRUE;
  for (size_t i = 0; i < g_open.size(); ++i) {
    if (g_open[i] != handle) continue;
    close(g_open[i]->fd);
    delete g_open[i];
    g_open.erase(g_open.begin() + static_cast<long>(i));
    return TRUE;
  }
  return Fail(ERROR_INVALID_HANDLE);
}
