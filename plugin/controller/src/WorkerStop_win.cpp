#include "controller/WorkerStop_win.h"

bool WaitServingSentMessages(HANDLE handle, DWORD ms) {
  if (!handle) return true;
  const ULONGLONG deadline = GetTickCount64() + ms;
  for (;;) {
    const ULONGLONG now = GetTickCount64();
    const DWORD left = now >= deadline ? 0 : static_cast<DWORD>(deadline - now);
    const DWORD r = MsgWaitForMultipleObjects(1, &handle, FALSE, left, QS_SENDMESSAGE);
    if (r == WAIT_OBJECT_0) return true;
    if (r != WAIT_OBJECT_0 + 1) return false;
    MSG msg;
    PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);  // serves the sent ones
  }
}

zl::WorkerEnd StopWorker(zl::BoundedWorker& worker, const std::function<void()>& cancel, DWORD graceMs) {
  if (!worker.Started()) return zl::WorkerEnd::NotStarted;
  if (!worker.Ended() && cancel) {
    try {
      cancel();
    } catch (...) {
    }
  }
  WaitServingSentMessages(worker.Thread(), graceMs);
  return worker.Stop(nullptr, 0);
}
