#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "ViewTestUtil.h"
#include "view/LyricViewState.h"

TEST(ViewStateMessage, TextUpTo255BytesIsStored) {
  LyricViewState v;
  const std::string text(255, 'x');
  v.SetMessage(text.c_str(), 1, 6);
  const LyricMessage m = v.Message();
  EXPECT_EQ(std::string(m.text), text);
  EXPECT_EQ(m.isLink, 1);
  EXPECT_EQ(m.code, 6);
}

TEST(ViewStateMessage, LongerTextClearsTheLineAndKeepsTheCode) {
  LyricViewState v;
  v.SetMessage("search", 1, 6);
  v.SetMessage(std::string(256, 'x').c_str(), 1, 9);
  const LyricMessage m = v.Message();
  EXPECT_STREQ(m.text, "");
  EXPECT_EQ(m.isLink, 0);
  EXPECT_EQ(m.code, 6);
}

TEST(ViewStateWelcome, UploadInvitationReplacesTheMessageAfterOneAndAHalfSeconds) {
  LyricViewState v;
  v.SetMessage("未从服务器获得歌词", 0, 7);
  v.SetDelayedWelcome(10000);
  EXPECT_FALSE(v.ApplyDelayedWelcome(11500, "Artist", "Title"));
  EXPECT_EQ(v.Message().code, 7);
  EXPECT_TRUE(v.ApplyDelayedWelcome(11501, "Artist", "Title"));
  const LyricMessage m = v.Message();
  EXPECT_STREQ(m.text, "Artist-Title,欢迎上传歌词");
  EXPECT_EQ(m.isLink, 1);
  EXPECT_EQ(m.code, 9);
  EXPECT_FALSE(v.DelayedWelcome());
  EXPECT_FALSE(v.ApplyDelayedWelcome(20000, "Artist", "Title"));
}

TEST(ViewStateWelcome, NamesComeFromTheTagInfoWithoutAPlayerRecord) {
  LyricViewState v;
  v.SetTagInfo("c:\\a.mp3", "Song", "Singer", "Album");
  v.SetDelayedWelcome(0);
  EXPECT_TRUE(v.ApplyDelayedWelcome(2000, nullptr, nullptr));
  EXPECT_STREQ(v.Message().text, "Singer-Song,欢迎上传歌词");

  LyricViewState empty;
  empty.SetDelayedWelcome(0);
  EXPECT_TRUE(empty.ApplyDelayedWelcome(2000, "", ""));
  EXPECT_STREQ(empty.Message().text, "欢迎上传歌词");
}

TEST(ViewStateWelcome, TickCounterWrapIsNoDelay) {
  LyricViewState v;
  v.SetDelayedWelcome(0xFFFFFF00u);
  EXPECT_FALSE(v.ApplyDelayedWelcome(0x100u, "a", "b"));  // 512 ms later
  EXPECT_TRUE(v.ApplyDelayedWelcome(0x800u, "a", "b"));
}

TEST(ViewStateTags, NamesAreCutToTheirFields) {
  LyricViewState v;
  const std::string longPath(600, 'p');
  const std::string longName(300, 'n');
  v.SetTagInfo(longPath.c_str(), longName.c_str(), longName.c_str(), nullptr);
  const LyricTagInfo t = v.TagInfo();
  EXPECT_EQ(std::string(t.path).size(), 511u);
  EXPECT_EQ(std::string(t.title).size(), 255u);
  EXPECT_EQ(std::string(t.artist).size(), 255u);
  EXPECT_STREQ(t.album, "");
}

TEST(ViewStateLists, SentencesAreCopiedAndANullListChangesNothing) {
  LyricViewState v;
  std::vector<TimeSentence> lyric = Lyric({{0, 1000, "a"}, {1000, 2000, "b"}});
  v.SetLyricSentences(&lyric);
  lyric.clear();
  v.SetLyricSentences(nullptr);
  zl::Lock lock(v.DrawLock());
  ASSERT_EQ(v.Sentences().size(), 2u);
  EXPECT_STREQ(v.Sentences()[1].text, "b");
}

TEST(ViewStateLists, ReplacingWaitsForTheRepaintAndIsTraced) {
  LyricViewState v;
  zl::CriticalSection traceLock;
  std::vector<std::string> trace;
  v.SetLockTrace([&](const char* line) {
    zl::Lock l(traceLock);
    trace.push_back(line);
  });
  const std::vector<TimeSentence> lyric = Lyric({{0, 1000, "a"}});
  std::atomic<bool> done{false};
  std::thread writer;
  {
    zl::Lock repaint(v.DrawLock());
    writer = std::thread([&] {
      v.SetLyricSentences(&lyric);
      done = true;
    });
    // The writer announces itself before it waits for the lock.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    for (;;) {
      {
        zl::Lock l(traceLock);
        if (!trace.empty()) break;
      }
      ASSERT_LT(std::chrono::steady_clock::now(), deadline);
      std::this_thread::yield();
    }
    EXPECT_FALSE(done.load());
    EXPECT_TRUE(v.Sentences().empty());
  }
  writer.join();
  EXPECT_TRUE(done.load());
  EXPECT_EQ(trace, (std::vector<std::string>{"enter draw criticalSection", "enter draw criticalSection1",
                                              "leave draw criticalSection1", "leave draw criticalSection"}));
  zl::Lock lock(v.DrawLock());
  EXPECT_EQ(v.Sentences().size(), 1u);
}

TEST(ViewStateClear, SongChangeForgetsEverything) {
  LyricViewState v;
  const std::vector<TimeSentence> lyric = Lyric({{0, 1000, "a"}});
  v.SetLyricSentences(&lyric);
  v.SetStripItems({StripItem{"p.jpg", "MV", kStripMv}});
  v.SetStatus(LyricViewStatus::LyricReady);
  v.SetMessage("hello", 1, 4);
  v.SetTagInfo("p", "t", "a", "al");
  v.SetBackgroundPicturePath("bk.jpg");
  v.SetDelayedWelcome(5);
  v.adjustMode = 1;
  v.Clear(777);
  EXPECT_EQ(v.Status(), LyricViewStatus::Idle);
  EXPECT_EQ(v.StatusTick(), 777u);
  EXPECT_STREQ(v.Message().text, "");
  EXPECT_STREQ(v.TagInfo().artist, "");
  EXPECT_EQ(v.BackgroundPicturePath(), "");
  EXPECT_FALSE(v.DelayedWelcome());
  EXPECT_EQ(v.adjustMode.load(), 0);
  zl::Lock lock(v.DrawLock());
  EXPECT_TRUE(v.Sentences().empty());
  EXPECT_TRUE(v.Strip().empty());
}
