#include "mvcontrol/ChannelState.h"

#include <gtest/gtest.h>

using namespace mvcontrol;

namespace {

StatusReport Report(SignPair sign, uint32_t event, uint32_t usable, uint32_t download, uint32_t total = 100000,
                    uint32_t rate = 2048) {
  return {sign, event, usable, download, rate, total};
}

}  // namespace

TEST(Channel, PlayStopsAnActiveChannelFirstEvenTheSameOne) {
  ChannelState s;
  SignPair old{7, 7};
  EXPECT_FALSE(ChannelToStop(s, old));
  s = NewChannel({12, 0});
  EXPECT_TRUE(s.Active());
  s.moviePlaying = s.started = s.copyComplete = true;
  s.copiedBlocks = 5;
  ASSERT_TRUE(ChannelToStop(s, old));
  EXPECT_EQ(old, (SignPair{12, 0}));
  s = NewChannel({12, 0});
  EXPECT_FALSE(s.moviePlaying || s.started || s.copyComplete);
  EXPECT_EQ(s.copiedBlocks, 0u);
}

TEST(Channel, MovieStartsOnceAndFollowsItsCommands) {
  ChannelState s = NewChannel({1, 2});
  EXPECT_TRUE(BeginMovie(s));
  EXPECT_FALSE(BeginMovie(s));
  EXPECT_TRUE(OnMovieCommand(s, "complete"));
  EXPECT_FALSE(s.moviePlaying);
  EXPECT_FALSE(OnMovieCommand(s, "duration"));
  EXPECT_TRUE(s.moviePlaying);
  EXPECT_FALSE(OnMovieCommand(s, "other"));
  EXPECT_TRUE(s.moviePlaying);
}

TEST(Channel, ReportsForAnotherPairOrWithoutAChannelChangeNothing) {
  ChannelState s = NewChannel({12, 0});
  EXPECT_FALSE(PlanStatus(s, Report({12, 1}, 5, 50, 50)).forChannel);
  EXPECT_FALSE(PlanStatus(s, Report({13, 0}, 4, 0, 10)).forChannel);
  EXPECT_FALSE(PlanLookup(s, {0, 12}, 100).forChannel);
  EXPECT_FALSE(PlanStatus(ChannelState(), Report({0, 0}, 5, 50, 50)).forChannel);
  const ReportPlan p = PlanStatus(s, Report({12, 0}, 5, 50, 50));
  EXPECT_TRUE(p.forChannel);
}

TEST(Channel, BufferingShowsTheRateAndStartsPast4Percent) {
  ChannelState s = NewChannel({12, 0});
  ReportPlan p = PlanStatus(s, Report({12, 0}, 5, 4, 4, 100000, 1024));
  EXPECT_EQ(p.text, "缓冲4％ ， 速率1024.00B/S");
  EXPECT_FALSE(p.markStarted || p.play);
  EXPECT_EQ(p.copy.kind, CopyStep::None);

  // 100000 bytes are 7 blocks; 50 % usable is 3 of them.
  p = PlanStatus(s, Report({12, 0}, 5, 50, 5, 100000, 1025));
  EXPECT_EQ(p.text, "缓冲5％ ， 速率1.00KB/S");
  EXPECT_TRUE(p.markStarted && p.play && p.buildVideoFile);
  EXPECT_EQ(p.copy.kind, CopyStep::Blocks);
  EXPECT_EQ(p.copy.start, 0u);
  EXPECT_EQ(p.copy.count, 3u);
  EXPECT_FALSE(p.copy.last);
  EXPECT_FALSE(p.completeAfterCopy);

  s.copiedBlocks = 3;
  p = PlanStatus(s, Report({12, 0}, 5, 50, 60, 100000, 3 * 1048576));
  EXPECT_EQ(p.text, "缓冲60％ ， 速率3.00MB/S");
  EXPECT_EQ(p.copy.kind, CopyStep::None);  // nothing new is usable
  EXPECT_TRUE(p.play);

  p = PlanStatus(s, Report({12, 0}, 5, 100, 99));
  EXPECT_EQ(p.copy.kind, CopyStep::Blocks);
  EXPECT_EQ(p.copy.start, 3u);
  EXPECT_EQ(p.copy.count, 4u);
  EXPECT_TRUE(p.copy.last && p.completeAfterCopy);

  s.copyComplete = true;
  p = PlanStatus(s, Report({12, 0}, 5, 100, 100));
  EXPECT_EQ(p.copy.kind, CopyStep::None);
  EXPECT_FALSE(p.markStarted || p.play);
  EXPECT_FALSE(p.text.empty());
}

TEST(Channel, AServerCountPast100PercentIsCut) {
  ChannelState s = NewChannel({1, 1});
  s.copiedBlocks = 2;
  const ReportPlan p = PlanStatus(s, Report({1, 1}, 5, 250, 300, 100000));
  EXPECT_EQ(p.text, "缓冲100％ ， 速率2.00KB/S");
  EXPECT_EQ(p.copy.count, 5u);
  EXPECT_TRUE(p.copy.last);
}

TEST(Channel, FailuresShowTheServerError) {
  const ChannelState s = NewChannel({3, 4});
  for (const StatusReport& r : {Report({3, 4}, 4, 0, 0), Report({3, 4}, 4, 50, 99), Report({3, 4}, 9, 0, 0),
                                Report({3, 4}, 11, 0, 0)}) {
    const ReportPlan p = PlanStatus(s, r);
    EXPECT_TRUE(p.serverError) << r.event << " " << r.downloadPercent;
    EXPECT_EQ(p.text, "服务器连接错误 -_-~~");
    EXPECT_EQ(p.copy.kind, CopyStep::None);
    EXPECT_FALSE(p.play);
  }
  EXPECT_FALSE(PlanStatus(s, Report({3, 4}, 7, 0, 0)).serverError);  // other events pass by
}

TEST(Channel, CompletionCopiesTheRestOrTheWholeFile) {
  ChannelState s = NewChannel({3, 4});
  ReportPlan p = PlanStatus(s, Report({3, 4}, 4, 100, 100));
  EXPECT_EQ(p.copy.kind, CopyStep::Whole);
  EXPECT_TRUE(p.completeAfterCopy && p.play);
  EXPECT_TRUE(p.text.empty());

  s.copiedBlocks = 2;
  p = PlanStatus(s, Report({3, 4}, 4, 100, 100, 100000));
  EXPECT_EQ(p.copy.kind, CopyStep::Blocks);
  EXPECT_EQ(p.copy.start, 2u);
  EXPECT_EQ(p.copy.count, 5u);
  EXPECT_TRUE(p.copy.last);

  s.copyComplete = true;
  p = PlanStatus(s, Report({3, 4}, 4, 100, 100));
  EXPECT_EQ(p.copy.kind, CopyStep::None);
  EXPECT_TRUE(p.play);
}

TEST(Channel, LookupOfACompleteFileCopiesItUnlessACopyRuns) {
  ChannelState s = NewChannel({5, 6});
  ReportPlan p = PlanLookup(s, {5, 6}, 0);
  EXPECT_TRUE(p.buildVideoFile);
  EXPECT_TRUE(p.text.empty());
  EXPECT_EQ(p.copy.kind, CopyStep::None);

  p = PlanLookup(s, {5, 6}, 100);
  EXPECT_EQ(p.text, "正在播放..");
  EXPECT_EQ(p.copy.kind, CopyStep::Whole);
  EXPECT_TRUE(p.play && p.completeAfterCopy);

  s.copiedBlocks = 1;
  p = PlanLookup(s, {5, 6}, 100);
  EXPECT_EQ(p.text, "正在播放..");
  EXPECT_EQ(p.copy.kind, CopyStep::None);
  EXPECT_FALSE(p.play);

  s = NewChannel({5, 6});
  s.moviePlaying = true;
  p = PlanLookup(s, {5, 6}, 100);
  EXPECT_EQ(p.text, "正在播放..");
  EXPECT_FALSE(p.buildVideoFile || p.play);
}

TEST(Channel, BlockCounts) {
  EXPECT_EQ(BlockCount(0), 0u);
  EXPECT_EQ(BlockCount(1), 1u);
  EXPECT_EQ(BlockCount(16384), 1u);
  EXPECT_EQ(BlockCount(16385), 2u);
  EXPECT_EQ(BlockCount(0xFFFFFFFFu), 262144u);
}
