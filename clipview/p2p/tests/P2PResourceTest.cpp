// Slot operations, temporary names and the copy plan.
#include <gtest/gtest.h>

#include "p2p/P2PResource.h"

using namespace clipview;

namespace {

TEST(P2PSlot, OperationsMoveTheStatusAsTheServerReports) {
  P2PResource s = MakeSlot("flv");
  SetSlotSign(s, SignPair{1, 2}, "t.flv");
  SlotStarted(s, "x.flv");
  EXPECT_EQ(s.status, kStatusStarted);
  EXPECT_EQ(s.tempPath, "x.flv");
  SlotProgress(s, true, 20000, 4, 10, 300);
  EXPECT_EQ(s.status, kStatusDownloading);
  EXPECT_FALSE(s.playable);
  SlotProgress(s, true, 20000, 5, 10, 300);
  EXPECT_TRUE(s.playable);
  SlotProgress(s, true, 20000, 100, 100, 0);
  EXPECT_EQ(s.status, kStatusFinished);
  P2PResource p = MakeSlot("swf");
  SlotProgress(p, false, 20000, 60, 60, 0);
  EXPECT_FALSE(p.playable);  // only the video slot becomes playable
  for (auto [code, status] : {std::pair{0, kStatusNetworkError}, {1, kStatusFailed}, {2, kStatusNoPeer}}) {
    SlotError(s, code);
    EXPECT_EQ(s.status, status);
    EXPECT_TRUE(IsFailedStatus(s.status));
  }
  SlotCancelled(s);
  EXPECT_FALSE(IsFailedStatus(s.status));
  ResetSlot(s);
  EXPECT_EQ(s.status, kStatusIdle);
  EXPECT_EQ(s.sign.first, 0u);
  EXPECT_EQ(s.extension, "flv");
  SetSlotSign(s, SignPair{3, 4}, "y.flv");
  EXPECT_FALSE(s.playable);
}

TEST(P2PNames, TempFilesKeepThePairsApartAndFitInTheirField) {
  const std::string temp = "C:\\Users\\u\\AppData\\Local\\Temp\\";
  EXPECT_EQ(BuildTempPath(temp, SignPair{1234, 5678}, "flv"), temp + "ZLrc\\1234_5678.flv");
  EXPECT_NE(BuildTempPath(temp, SignPair{1, 23}, "flv"), BuildTempPath(temp, SignPair{12, 3}, "flv"));
  const SignPair widest{4294967295u, 4294967295u};
  EXPECT_EQ(BuildTempPath(std::string(480, 'a') + "\\", widest, "flv").size(), 511u);
  EXPECT_EQ(BuildTempPath(std::string(481, 'a') + "\\", widest, "flv"), "");
  EXPECT_EQ(ExtensionOf("C:\\store\\a.b\\clip.FLV"), "FLV");
  EXPECT_EQ(ExtensionOf("C:\\store\\a.b\\clip"), "");
  EXPECT_TRUE(IsExeExtension("EXE"));
  EXPECT_FALSE(IsExeExtension("exe2"));
  EXPECT_EQ(ReplyWindowName("WinampMTV"), "ZoP2P_ZOLYRIC_WinampMTV");
  EXPECT_EQ(ReplyWindowName(std::string(100, 'x')).size(), 63u);
}

TEST(P2PCopyPlan, UsableBlocksRoundUpToWholeBlocks) {
  EXPECT_EQ(CopyLimit(20000, 50), 16384u);  // two blocks, one usable
  EXPECT_EQ(CopyLimit(20000, 100), 32768u);
  EXPECT_EQ(CopyLimit(20000, 51), 32768u);
  EXPECT_EQ(CopyLimit(20000, 0), 0u);
  EXPECT_EQ(CopyLimit(16384, 100), 16384u);
  EXPECT_EQ(CopyLimit(16385, 1), 16384u);
  EXPECT_EQ(CopyLimit(0, 100), 0u);  // nothing to copy, no wrap-around
  EXPECT_EQ(CopyLimit(0xFFFFFFFFu, 100), 0x100000000ull);
  EXPECT_EQ(CopyLimit(20000, 250), 32768u);
}

TEST(P2PCopyPlan, OnlyTheHeadIsRestoredAndNeverForInstallers) {
  EXPECT_EQ(HeadBytesToRestore(0, 32768, false), 16384u);
  EXPECT_EQ(HeadBytesToRestore(0, 10000, false), 10000u);
  EXPECT_EQ(HeadBytesToRestore(10000, 32768, false), 6384u);
  EXPECT_EQ(HeadBytesToRestore(16384, 100, false), 0u);
  EXPECT_EQ(HeadBytesToRestore(0, 32768, true), 0u);
}

}  // namespace
