#include "PositionQuery_win.h"

#include <atomic>
#include <memory>

#include "player/WinampIpc_win.h"
#include "shared/WinHandle.h"

namespace zl {
namespace winamp {
namespace {

// How long a terminated worker is given to be gone before its job is freed.
constexpr DWORD kTerminationWaitMs = 5000;

struct PositionJob {
  HWND player;
  std::atomic<int> answer{0};
};

// Nothing here but the message: the thread may be terminated while it waits
// for the player, and must hold no lock or resource of the process then.
DWORD WINAPI PositionWorker(void* param) {
  auto* job = static_cast<PositionJob*>(param);
  job->answer.store(GetOutputPositionMs(job->player));
  return 0;
}

}  // namespace

PositionOutcome QueryPositionBounded(HWND player, DWORD limitMs, int& positionMs) {
  std::unique_ptr<PositionJob> job(new PositionJob);
  job->player = player;
  zl::UniqueHandle thread(::CreateThread(nullptr, 0, PositionWorker, job.get(), 0, nullptr));
  if (!thread) return PositionOutcome::NoThread;
  if (::WaitForSingleObject(thread.Get(), limitMs) == WAIT_OBJECT_0) {
    positionMs = job->answer.load();
    return PositionOutcome::Answered;
  }
  // A thread blocked inside SendMessage cannot be asked to stop; it is
  // terminated, and its job freed only once it is really gone.
  ::TerminateThread(thread.Get(), 1);
  if (::WaitForSingleObject(thread.Get(), kTerminationWaitMs) != WAIT_OBJECT_0) {
    job.release();  // NOTE: leaked on purpose; the thread may still touch it
  }
  return PositionOutcome::TimedOut;
}

}  // namespace winamp
}  // namespace zl
