#include <gtest/gtest.h>

#include "lyricwindows/MiniBar.h"

TEST(MiniBar, ThePlayButtonFollowsThePlayersState) {
  EXPECT_EQ(ActionOf(kMiniPlay, kPlayerStopped), MiniAction::PlayStart);
  EXPECT_STREQ(BitmapStem(kMiniPlay, kPlayerStopped), "playstart");
  EXPECT_EQ(ActionOf(kMiniPlay, kPlayerPaused), MiniAction::Resume);
  EXPECT_STREQ(BitmapStem(kMiniPlay, kPlayerPaused), "play");
  EXPECT_EQ(ActionOf(kMiniPlay, kPlayerPlaying), MiniAction::Pause);
  EXPECT_STREQ(BitmapStem(kMiniPlay, kPlayerPlaying), "pause");
  EXPECT_STREQ(MiniTipKey(kMiniPlay, kPlayerPlaying), "Pause");
  EXPECT_STREQ(MiniTipKey(kMiniSwitch, kPlayerPlaying), "ChangeToFullMode");
}

TEST(MiniBar, LooksOfAButton) {
  EXPECT_EQ(LookOf(kMiniStop, kPlayerStopped, kMiniStop, kMiniStop), ButtonLook::Disabled);
  EXPECT_EQ(LookOf(kMiniStop, kPlayerPlaying, kMiniStop, -1), ButtonLook::Hover);
  EXPECT_EQ(LookOf(kMiniStop, kPlayerPlaying, kMiniStop, kMiniStop), ButtonLook::Pressed);
  EXPECT_EQ(LookOf(kMiniStop, kPlayerPlaying, kMiniNext, kMiniStop), ButtonLook::Normal)
      << "pressed, then the mouse left it";
  EXPECT_EQ(LookOf(kMiniNext, kPlayerPlaying, kMiniNext, kMiniStop), ButtonLook::Normal)
      << "no hover while another button is held";
  ButtonLook f;
  ASSERT_TRUE(FallbackLook(ButtonLook::Pressed, f));  // the video button has no pressed picture
  EXPECT_EQ(f, ButtonLook::Hover);
  EXPECT_FALSE(FallbackLook(ButtonLook::Normal, f));
}

TEST(MiniBar, ButtonsFlankTheLyric) {
  const MiniBarLayout l = LayoutMiniBar(420, 22, MiniBarSizes{10, 6, 18, 16});
  EXPECT_EQ(l.buttons[kMiniPrevious], (ViewRect{10, 3, 28, 19}));
  EXPECT_EQ(l.buttons[kMiniClose], (ViewRect{396, 3, 414, 19}));
  EXPECT_EQ(l.lyricArea, (ViewRect{89, 3, 335, 19}));
  for (int a = 0; a < kMiniButtonCount; ++a) {
    EXPECT_FALSE(Overlaps(l.buttons[a], l.lyricArea)) << a;
    for (int b = a + 1; b < kMiniButtonCount; ++b) EXPECT_FALSE(Overlaps(l.buttons[a], l.buttons[b])) << a << b;
  }
  EXPECT_EQ(MiniButtonAt(l, ViewPoint{397, 10}), kMiniClose);
  EXPECT_EQ(MiniButtonAt(l, ViewPoint{200, 10}), -1);
  EXPECT_TRUE(IsEmpty(LayoutMiniBar(150, 22, MiniBarSizes{10, 6, 18, 16}).lyricArea));
  const std::vector<ControlRecord> records = MiniControlRecords(l, kPlayerPaused, {"a", "b"});
  ASSERT_EQ(records.size(), static_cast<size_t>(kMiniButtonCount));
  EXPECT_STREQ(records[kMiniPlay].text, "play");
  EXPECT_STREQ(records[kMiniPlay].tip, "b");
  EXPECT_EQ(records[kMiniVideo].id, 32862u);
}

TEST(MiniBar, DroppedFilesThePlayerTakes) {
  const std::vector<std::string> dropped = {"C:\\Music\\LOUD SONG.MP3", "C:\\notes.txt", "D:\\lists\\party.m3u",
                                            "C:\\a.wma.bak", "C:\\cover.jpg"};
  const std::vector<std::string> expected = {"C:\\Music\\LOUD SONG.MP3", "D:\\lists\\party.m3u", "C:\\a.wma.bak"};
  EXPECT_EQ(AcceptedDrops(dropped), expected);
  // "歌.MP3" in GBK: the name's own letters are compared without case.
  EXPECT_TRUE(AcceptsDroppedFile("\xB8\xE8.MP3"));
}
