#pragma once
// Waiting on the dialog thread for a thread that may send messages to the
// dialog's windows meanwhile: messages sent to this thread are taken while
// waiting (posted ones stay queued), so neither side blocks the other.
#include <windows.h>

namespace clipview {

// True when `thread` ended within ms.
bool WaitTakingSentMessages(HANDLE thread, DWORD ms);

}  // namespace clipview
