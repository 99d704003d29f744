// A module that leaves work running on a detached thread, for the test that
// unloads it while the work still runs.
#include <windows.h>

#include "shared/BoundedWorker.h"

extern "C" __declspec(dllexport) bool StartSlowWork(LONG* counter, DWORD ms) {
  return zl::StartDetached([counter, ms] {
    Sleep(ms);
    InterlockedIncrement(counter);
  });
}
