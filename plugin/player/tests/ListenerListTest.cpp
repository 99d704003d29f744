#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "player/ListenerList.h"
#include "player/PlayerListener.h"

namespace {

// Records its calls into a shared journal; runs an optional action on OnStop.
class JournalListener : public CPlayerListener {
 public:
  JournalListener(std::string name, std::vector<std::string>* journal)
      : name_(std::move(name)), journal_(journal) {}
  std::function<void()> onStop;
  std::atomic<int> calls{0};

  void OnPlay() override { Note("OnPlay"); }
  void OnPause() override { Note("OnPause"); }
  void OnStop() override {
    Note("OnStop");
    if (onStop) onStop();
  }
  void OnChangeSong() override { Note("OnChangeSong"); }
  void OnWindowMinimize() override { Note("OnWindowMinimize"); }
  void OnWindowMaxmize() override { Note("OnWindowMaxmize"); }
  void OnWindowRestore() override { Note("OnWindowRestore"); }
  void OnPlayerWindowClose() override { Note("OnPlayerWindowClose"); }
  void OnSkinChanged(const char* skin) override { Note(std::string("OnSkinChanged ") + skin); }
  void AttachEventSource(CPlayerEventSource*) override {}
  void SetPlayerControl(CPlayerControlMessage*) override {}
  void SetPlayerQuery(CPlayerQueryMessage*) override {}

 private:
  void Note(const std::string& what) {
    ++calls;
    if (journal_) journal_->push_back(name_ + " " + what);
  }
  std::string name_;
  std::vector<std::string>* journal_;
};

void Stop(CListenerList& list) {
  list.Broadcast([](CPlayerListener& l) { l.OnStop(); });
}

}  // namespace

TEST(ListenerList, ListOrderNoNullNoDuplicates) {
  std::vector<std::string> journal;
  JournalListener a("a", &journal), b("b", &journal);
  CListenerList list;
  EXPECT_FALSE(list.Add(nullptr));
  EXPECT_TRUE(list.Add(&b));
  EXPECT_TRUE(list.Add(&a));
  EXPECT_FALSE(list.Add(&a));
  Stop(list);
  EXPECT_EQ(journal, (std::vector<std::string>{"b OnStop", "a OnStop"}));
  EXPECT_TRUE(list.Remove(&b));
  EXPECT_FALSE(list.Remove(&b));
  list.Clear();
  EXPECT_EQ(list.Size(), 0u);
  Stop(list);
  EXPECT_EQ(journal.size(), 2u);
}

TEST(ListenerList, RemovedDuringABroadcastIsNotCalledAfterwards) {
  std::vector<std::string> journal;
  JournalListener a("a", &journal), b("b", &journal), c("c", &journal);
  CListenerList list;
  list.Add(&a);
  list.Add(&b);
  list.Add(&c);
  // a removes itself and c; b still gets this broadcast.
  a.onStop = [&] {
    list.Remove(&a);
    list.Remove(&c);
  };
  Stop(list);
  EXPECT_EQ(journal, (std::vector<std::string>{"a OnStop", "b OnStop"}));
  EXPECT_EQ(list.Size(), 1u);
}

TEST(ListenerList, AddedDuringABroadcastIsCalledFromTheNextOne) {
  std::vector<std::string> journal;
  JournalListener a("a", &journal), late("late", &journal);
  CListenerList list;
  list.Add(&a);
  a.onStop = [&] { list.Add(&late); };
  Stop(list);
  EXPECT_EQ(journal, (std::vector<std::string>{"a OnStop"}));
  a.onStop = nullptr;
  Stop(list);
  EXPECT_EQ(journal, (std::vector<std::string>{"a OnStop", "a OnStop", "late OnStop"}));
}

TEST(ListenerList, ListChangesOnOtherThreadsWhileBroadcastsRun) {
  CListenerList list;
  JournalListener steady("steady", nullptr);
  list.Add(&steady);
  std::vector<std::unique_ptr<JournalListener>> churn;
  for (int i = 0; i < 16; ++i) churn.emplace_back(new JournalListener("c", nullptr));

  std::atomic<bool> stop{false};
  std::vector<std::thread> changers;
  for (int t = 0; t < 2; ++t) {
    changers.emplace_back([&, t] {
      for (int round = 0; !stop; ++round) {
        for (int i = t; i < 16; i += 2) {
          if (round % 2 == 0) {
            list.Add(churn[i].get());
          } else {
            list.Remove(churn[i].get());
          }
        }
      }
    });
  }
  std::thread broadcaster([&] {
    for (int i = 0; i < 2000; ++i) Stop(list);
  });
  for (int i = 0; i < 2000; ++i) list.Broadcast([](CPlayerListener& l) { l.OnPlay(); });
  broadcaster.join();
  stop = true;
  for (std::thread& t : changers) t.join();
  EXPECT_EQ(steady.calls.load(), 4000);
}
