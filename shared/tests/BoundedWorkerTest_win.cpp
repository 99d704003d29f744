#include "shared/BoundedWorker.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <stdexcept>

namespace {

struct Blocker {
  zl::UniqueHandle event{CreateEventA(nullptr, TRUE, FALSE, nullptr)};
  std::atomic<bool> ran{false};
  void Release() { SetEvent(event.Get()); }
};

TEST(BoundedWorker, WorkEndingInTimeIsFinishedAndFreed) {
  auto state = std::make_shared<Blocker>();
  std::weak_ptr<Blocker> watch = state;
  EXPECT_EQ(zl::RunBounded([state] { state->ran = true; }, 5000, nullptr, 0), zl::WorkerEnd::Finished);
  EXPECT_TRUE(state->ran);
  state.reset();
  EXPECT_TRUE(watch.expired());  // the work's captures went with the thread
}

TEST(BoundedWorker, CancelActionEndsABlockedWorkerBeforeAnyTermination) {
  auto state = std::make_shared<Blocker>();
  zl::BoundedWorker worker;
  ASSERT_TRUE(worker.Start([state] {
    WaitForSingleObject(state->event.Get(), INFINITE);
    state->ran = true;
  }));
  EXPECT_FALSE(worker.Wait(50));
  EXPECT_EQ(worker.Stop([state] { state->Release(); }, 5000), zl::WorkerEnd::Cancelled);
  EXPECT_TRUE(state->ran);  // it finished its own way, not cut short
  EXPECT_TRUE(worker.Ended());
}

TEST(BoundedWorker, WorkerIgnoringTheCancelIsTerminatedAfterTheGrace) {
  auto state = std::make_shared<Blocker>();
  std::weak_ptr<Blocker> watch = state;
  std::atomic<int> cancels{0};
  const ULONGLONG start = GetTickCount64();
  const zl::WorkerEnd end = zl::RunBounded([state] { WaitForSingleObject(state->event.Get(), INFINITE); }, 50,
                                           [&cancels] { ++cancels; }, 100);
  EXPECT_EQ(end, zl::WorkerEnd::Terminated);
  EXPECT_EQ(cancels.load(), 1);
  EXPECT_LT(GetTickCount64() - start, 3000u);
  state.reset();
  EXPECT_TRUE(watch.expired());  // gone for sure, so its objects were freed
}

TEST(BoundedWorker, ExceptionInTheWorkStaysInTheThread) {
  EXPECT_EQ(zl::RunBounded([] { throw std::runtime_error("x"); }, 5000, nullptr, 0), zl::WorkerEnd::Finished);
}

TEST(BoundedWorker, DestroyingARunningWorkerEndsIt) {
  auto state = std::make_shared<Blocker>();
  std::weak_ptr<Blocker> watch = state;
  {
    zl::BoundedWorker worker;
    ASSERT_TRUE(worker.Start([state] { WaitForSingleObject(state->event.Get(), INFINITE); }));
  }
  state.reset();
  EXPECT_TRUE(watch.expired());
}

TEST(DetachedWork, DrainWaitsForQuickThreadsAndTerminatesHungOnesWithinItsBound) {
  ASSERT_EQ(zl::DrainDetached(0), 0u);
  auto hung = std::make_shared<Blocker>();
  auto quick = std::make_shared<Blocker>();
  std::atomic<int> done{0};
  for (int i = 0; i < 4; ++i)
    ASSERT_TRUE(zl::StartDetached([quick, &done] {
      WaitForSingleObject(quick->event.Get(), 2000);
      ++done;
    }));
  ASSERT_TRUE(zl::StartDetached([hung] { WaitForSingleObject(hung->event.Get(), INFINITE); }));
  EXPECT_EQ(zl::DetachedRunning(), 5u);
  quick->Release();
  const ULONGLONG start = GetTickCount64();
  EXPECT_EQ(zl::DrainDetached(300), 1u);  // only the hung one had to be ended
  EXPECT_LT(GetTickCount64() - start, 3000u);
  EXPECT_EQ(done.load(), 4);
  EXPECT_EQ(zl::DetachedRunning(), 0u);
}

TEST(DetachedWork, FinishedThreadsAreReapedAsNewOnesStart) {
  for (int i = 0; i < 50; ++i) ASSERT_TRUE(zl::StartDetached([] {}));
  const ULONGLONG deadline = GetTickCount64() + 5000;
  while (zl::DetachedRunning() != 0 && GetTickCount64() < deadline) Sleep(5);
  EXPECT_EQ(zl::DetachedRunning(), 0u);
}

TEST(DetachedWork, UnloadingTheModuleWhileItsWorkRunsKeepsItMappedUntilTheWorkEnds) {
  HMODULE probe = LoadLibraryA("detached_probe.dll");
  ASSERT_NE(probe, nullptr);
  using Start = bool (*)(LONG*, DWORD);
  auto start = reinterpret_cast<Start>(reinterpret_cast<void*>(GetProcAddress(probe, "StartSlowWork")));
  ASSERT_NE(start, nullptr);
  static LONG counter = 0;
  ASSERT_TRUE(start(&counter, 300));
  FreeLibrary(probe);  // the host lets go while the work still runs
  EXPECT_NE(GetModuleHandleA("detached_probe.dll"), nullptr);
  const ULONGLONG deadline = GetTickCount64() + 5000;
  while (GetModuleHandleA("detached_probe.dll") && GetTickCount64() < deadline) Sleep(10);
  EXPECT_EQ(counter, 1);  // the work ran to its end in mapped code
  EXPECT_EQ(GetModuleHandleA("detached_probe.dll"), nullptr);  // and the last reference went with it
}

}  // namespace
