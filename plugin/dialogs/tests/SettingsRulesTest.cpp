// The settings dialog's decisions: ChangeConf, the retry field, the copy
// back into the store, the about line.
#include <gtest/gtest.h>

#include "dialogs/SettingsRules.h"

using namespace settingsdlg;

TEST(ChangeConf, OnlyTheListedValuesCount) {
  const zl::LyricSettings before;
  zl::LyricSettings after = before;
  after.font.height = -30;
  after.font.bktype = 2;
  after.ProxyServer = "proxy";
  after.usefprecognise = false;
  after.LrcSavePath = "d:\\x";
  EXPECT_FALSE(ConfChanged(before, after));
  for (int which = 0; which < 6; ++which) {
    zl::LyricSettings changed = before;
    switch (which) {
      case 0: changed.ConType = "2"; break;
      case 1: changed.RetryTime = 30; break;
      case 2: changed.UpdateSongInfo = 1; break;
      case 3: changed.SaveLrcFileAsSongFileName = 1; break;
      case 4: changed.SaveLrcInSongPath = 1; break;
      case 5: changed.SaveLrcInOtherPath = 0; break;
    }
    EXPECT_TRUE(ConfChanged(before, changed)) << which;
  }
}

TEST(RetryField, SignedNumberClampedToThePromisedRange) {
  int s = 0;
  EXPECT_TRUE(ParseRetryTime(" 30 ", s));
  EXPECT_EQ(s, 30);
  EXPECT_TRUE(ParseRetryTime("-7", s));
  EXPECT_EQ(s, kRetryMinSeconds);
  EXPECT_TRUE(ParseRetryTime("1000", s));
  EXPECT_EQ(s, kRetryMaxSeconds);
  EXPECT_TRUE(ParseRetryTime("99999999999999999999999", s));
  EXPECT_EQ(s, kRetryMaxSeconds);
  EXPECT_TRUE(ParseRetryTime("-99999999999999999999999", s));
  EXPECT_EQ(s, kRetryMinSeconds);
  s = 42;
  for (const char* bad : {"", " ", "-", "12a", "a12", "1 2", "0x10"}) {
    EXPECT_FALSE(ParseRetryTime(bad, s)) << bad;
    EXPECT_EQ(s, 42);
  }
}

TEST(DialogValues, UsageFlagsStayAsTheStoreHasThem) {
  zl::LyricSettings edited;
  edited.ConType = "0";
  edited.font.lyricSize = 25;
  edited.localFolders = {{"d:\\lrc", false}};
  edited.RightBtn = 3;
  edited.lyricMaybeWrong = 1;
  zl::LyricSettings store;
  store.RightBtn = 9;
  store.lyricMaybeWrong = 20;
  store.wheelTip = true;
  ApplyDialogValues(edited, store);
  EXPECT_EQ(store.ConType, "0");
  EXPECT_EQ(store.font.lyricSize, 25);
  ASSERT_EQ(store.localFolders.size(), 1u);
  EXPECT_EQ(store.RightBtn, 9);
  EXPECT_EQ(store.lyricMaybeWrong, 20);
  EXPECT_TRUE(store.wheelTip);
}

TEST(NetworkPage, RadioFollowsConType) {
  EXPECT_EQ(ConnectionChoice("0"), 0);
  EXPECT_EQ(ConnectionChoice("1"), 1);
  EXPECT_EQ(ConnectionChoice("2"), 2);
  EXPECT_EQ(ConnectionChoice("x"), 2);
  EXPECT_STREQ(ConTypeForChoice(1), "1");
}

TEST(AboutPage, VersionLineAndLinkColour) {
  EXPECT_EQ(AboutVersionLine("ZL_2.1.0", true, 2008, 3), "版本:V2.1.0\t\t发布日期:2008.3");
  EXPECT_EQ(AboutVersionLine("2.1", false, 0, 0), "版本:V\t\t发布日期:");
  EXPECT_EQ(ParseAnchorColor("0,0,255", 7), 0xFF0000u);
  EXPECT_EQ(ParseAnchorColor("128,0,128", 7), 0x800080u);
  EXPECT_EQ(ParseAnchorColor("1,2", 7), 7u);
  EXPECT_EQ(ParseAnchorColor("1,2,300", 7), 7u);
  EXPECT_EQ(ParseAnchorColor("1,2,3x", 7), 7u);
}
