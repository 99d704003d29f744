#pragma once
// The one way the suite runs work that may hang (Windows builds only).
//
// Start the work on a thread of its own; when its time is up, ask it to stop
// through the caller's cancel action (close its socket or WinINet handle,
// signal its event), wait a short grace, and terminate it only if it still
// runs after that. The work's own objects (its std::function and what that
// captured) are freed only once its thread is seen to have ended; a thread
// that could not be ended keeps them forever, so it never touches freed
// memory. The work must therefore own everything it touches: capture by
// value or by shared_ptr, never references to the caller's stack.
//
// A running worker holds a reference on the module that started it, so a
// DLL is not unmapped under a thread that is still in its code.
#include <windows.h>

#include <cstddef>
#include <functional>

#include "shared/Ownership.h"

namespace zl {

struct WorkerThread;

enum class WorkerEnd {
  NotStarted,  // no thread could be created; the work never ran
  Finished,    // it ended by itself within the wait
  Cancelled,   // it ended after the cancel action, within the grace or as it was being ended
  Terminated,  // it was still running after the grace, was terminated and is gone
  Abandoned,   // terminated but not seen to end: its objects are left alive on purpose
};

// How long a terminated thread is given to be gone before it counts as abandoned.
constexpr DWORD kTerminationWaitMs = 2000;

class BoundedWorker {
 public:
  BoundedWorker() = default;
  // A worker still running is stopped without a cancel action and a grace of 0.
  ~BoundedWorker();
  BoundedWorker(BoundedWorker&& other) noexcept;
  BoundedWorker& operator=(BoundedWorker&& other) noexcept;
  BoundedWorker(const BoundedWorker&) = delete;
  BoundedWorker& operator=(const BoundedWorker&) = delete;

  // Starts the work (a worker still running is stopped first, as by the
  // destructor). False when no thread could be created.
  bool Start(std::function<void()> work);

  bool Started() const { return job_ != nullptr; }
  // True when the thread has ended (or was never started).
  bool Ended() const;
  // Waits at most ms for the thread to end; true when it has.
  bool Wait(DWORD ms);
  // The thread, for waits that also pump messages; null when not started.
  HANDLE Thread() const { return thread_.Get(); }

  // Ask, wait, terminate last: applies cancel (may be empty) when the thread
  // still runs, waits graceMs, then terminates a thread that still runs.
  WorkerEnd Stop(const std::function<void()>& cancel, DWORD graceMs);

  // Waits waitMs for the work; past that, Stop(cancel, graceMs).
  WorkerEnd WaitOrStop(DWORD waitMs, const std::function<void()>& cancel, DWORD graceMs);

 private:
  friend struct WorkerThread;
  struct Job;
  void Forget(bool threadEnded);

  Job* job_ = nullptr;
  UniqueHandle thread_;
};

// Start, wait at most waitMs, then ask, wait graceMs and terminate last.
WorkerEnd RunBounded(std::function<void()> work, DWORD waitMs, const std::function<void()>& cancel,
                     DWORD graceMs);

// Work that nobody waits for (a usage event, a browser page). The threads are
// tracked per module: the module that starts them drains them before it is
// unloaded. False when no thread could be created.
bool StartDetached(std::function<void()> work);

// Waits at most boundMs in all for the detached threads of this module, then
// terminates those still running. Returns how many had to be terminated.
std::size_t DrainDetached(DWORD boundMs);

// How many detached threads of this module are still running.
std::size_t DetachedRunning();

}  // namespace zl
