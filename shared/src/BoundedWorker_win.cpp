#include "shared/BoundedWorker.h"

#include <atomic>
#include <memory>
#include <utility>
#include <vector>

namespace zl {

struct BoundedWorker::Job {
  std::function<void()> work;
  HMODULE pinned = nullptr;
  std::atomic<bool> started{false};
  std::atomic<bool> returned{false};
};

namespace {

// The module this code is linked into, with a reference of the thread's own.
HMODULE PinThisModule() {
  HMODULE module = nullptr;
  GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS,
                     reinterpret_cast<LPCWSTR>(&PinThisModule), &module);
  return module;
}

}  // namespace

// Friend-free access to the job from the thread entry.
struct WorkerThread {
  static DWORD WINAPI Entry(void* param) {
    auto* job = static_cast<BoundedWorker::Job*>(param);
    job->started.store(true);
    try {
      job->work();
    } catch (...) {
      // Nothing may leave a thread; the caller sees only that it ended.
    }
    job->returned.store(true);
    HMODULE pinned = job->pinned;
    // The job belongs to whoever waits for this thread from here on.
    if (pinned) FreeLibraryAndExitThread(pinned, 0);
    return 0;
  }

  static HANDLE Launch(BoundedWorker::Job* job) {
    job->pinned = PinThisModule();
    HANDLE thread = CreateThread(nullptr, 0, Entry, job, 0, nullptr);
    if (!thread && job->pinned) FreeLibrary(job->pinned);
    return thread;
  }
};

BoundedWorker::~BoundedWorker() {
  if (job_) Stop(nullptr, 0);
}

BoundedWorker::BoundedWorker(BoundedWorker&& other) noexcept
    : job_(std::exchange(other.job_, nullptr)), thread_(std::move(other.thread_)) {}

BoundedWorker& BoundedWorker::operator=(BoundedWorker&& other) noexcept {
  if (this != &other) {
    if (job_) Stop(nullptr, 0);
    job_ = std::exchange(other.job_, nullptr);
    thread_ = std::move(other.thread_);
  }
  return *this;
}

bool BoundedWorker::Start(std::function<void()> work) {
  if (job_) Stop(nullptr, 0);
  auto job = std::make_unique<Job>();
  job->work = std::move(work);
  HANDLE thread = WorkerThread::Launch(job.get());
  if (!thread) return false;
  thread_.Reset(thread);
  job_ = job.release();
  return true;
}

bool BoundedWorker::Ended() const {
  return !job_ || WaitForSingleObject(thread_.Get(), 0) == WAIT_OBJECT_0;
}

bool BoundedWorker::Wait(DWORD ms) {
  return !job_ || WaitForSingleObject(thread_.Get(), ms) == WAIT_OBJECT_0;
}

void BoundedWorker::Forget(bool threadEnded) {
  // NOTE: a thread not seen to end may still use its job: it is left alive.
  if (threadEnded) delete job_;
  job_ = nullptr;
  thread_.Reset();
}

WorkerEnd BoundedWorker::Stop(const std::function<void()>& cancel, DWORD graceMs) {
  if (!job_) return WorkerEnd::NotStarted;
  if (Wait(0)) {
    Forget(true);
    return WorkerEnd::Finished;
  }
  if (cancel) {
    try {
      cancel();
    } catch (...) {
    }
  }
  if (Wait(graceMs)) {
    Forget(true);
    return WorkerEnd::Cancelled;
  }
  // A thread is terminated only inside its work: while it starts or ends it
  // may hold the loader lock, and killing it then would leave every later
  // thread start and module load of the process blocked.
  const ULONGLONG deadline = GetTickCount64() + kTerminationWaitMs;
  while (!job_->started.load() && !Wait(0) && GetTickCount64() < deadline) Sleep(1);
  if (job_->returned.load() || !job_->started.load()) {
    const bool gone = Wait(kTerminationWaitMs);
    Forget(gone);
    return gone ? WorkerEnd::Cancelled : WorkerEnd::Abandoned;
  }
  TerminateThread(thread_.Get(), 1);
  const bool gone = Wait(kTerminationWaitMs);
  Forget(gone);
  return gone ? WorkerEnd::Terminated : WorkerEnd::Abandoned;
}

WorkerEnd BoundedWorker::WaitOrStop(DWORD waitMs, const std::function<void()>& cancel, DWORD graceMs) {
  if (!job_) return WorkerEnd::NotStarted;
  if (Wait(waitMs)) {
    Forget(true);
    return WorkerEnd::Finished;
  }
  return Stop(cancel, graceMs);
}

WorkerEnd RunBounded(std::function<void()> work, DWORD waitMs, const std::function<void()>& cancel,
                     DWORD graceMs) {
  BoundedWorker worker;
  if (!worker.Start(std::move(work))) return WorkerEnd::NotStarted;
  return worker.WaitOrStop(waitMs, cancel, graceMs);
}

namespace {

// The detached threads of this module. Never destroyed: a module being
// unloaded must not run a destructor that waits for threads.
class DetachedList {
 public:
  bool Add(BoundedWorker&& worker) {
    Lock hold(lock_);
    Reap();
    try {
      workers_.push_back(std::move(worker));
    } catch (...) {
      return false;  // the worker left behind is stopped as it goes
    }
    return true;
  }

  std::size_t Drain(DWORD boundMs) {
    std::vector<BoundedWorker> taken;
    {
      Lock hold(lock_);
      taken.swap(workers_);
    }
    const ULONGLONG deadline = GetTickCount64() + boundMs;
    std::size_t ended = 0;
    for (BoundedWorker& w : taken) {
      const ULONGLONG now = GetTickCount64();
      const DWORD left = now >= deadline ? 0 : static_cast<DWORD>(deadline - now);
      const WorkerEnd end = w.WaitOrStop(left, nullptr, 0);
      if (end == WorkerEnd::Terminated || end == WorkerEnd::Abandoned) ++ended;
    }
    return ended;
  }

  std::size_t Running() {
    Lock hold(lock_);
    Reap();
    return workers_.size();
  }

 private:
  void Reap() {
    std::size_t kept = 0;
    for (std::size_t i = 0; i < workers_.size(); ++i) {
      if (workers_[i].Ended()) {
        workers_[i].Stop(nullptr, 0);  // frees the job of a thread that has ended
      } else {
        if (kept != i) workers_[kept] = std::move(workers_[i]);
        ++kept;
      }
    }
    workers_.resize(kept);
  }

  CriticalSection lock_;
  std::vector<BoundedWorker> workers_;
};

DetachedList& Detached() {
  static DetachedList* list = new DetachedList;
  return *list;
}

}  // namespace

bool StartDetached(std::function<void()> work) {
  BoundedWorker worker;
  if (!worker.Start(std::move(work))) return false;
  return Detached().Add(std::move(worker));
}

std::size_t DrainDetached(DWORD boundMs) { return Detached().Drain(boundMs); }

std::size_t DetachedRunning() { return Detached().Running(); }

}  // namespace zl
