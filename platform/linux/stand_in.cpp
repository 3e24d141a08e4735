#include "stand_in.h"

#include "failure.h"
#include "handles.h"
#include "kernel32_files.h"
#include "user32.h"

namespace stand_in {

void Reset() {
  ClearCalls();
  ResetFailures();
  SetLastError(ERROR_SUCCESS);
  ResetHandles();
  ResetFileAttributes();
  ResetWindows();
}

}  // namespace stand_in
