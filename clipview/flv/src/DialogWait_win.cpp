#include "flv/DialogWait.h"

namespace clipview {

bool WaitTakingSentMessages(HANDLE thread, DWORD ms) {
  const DWORD began = GetTickCount();
  for (;;) {
    const DWORD spent = GetTickCount() - began;
    if (spent >= ms) return WaitForSingleObject(thread, 0) == WAIT_OBJECT_0;
    const DWORD r = MsgWaitForMultipleObjects(1, &thread, FALSE, ms - spent, QS_SENDMESSAGE);
    if (r == WAIT_OBJECT_0) return true;
    if (r != WAIT_OBJECT_0 + 1) return WaitForSingleObject(thread, 0) == WAIT_OBJECT_0;
    MSG msg;
    PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
  }
}

}  // namespace clipview
