#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>

#include "view/ResourceStatus.h"

namespace {

Content LyricContent(int lines) {
  Content c{};
  std::snprintf(c.artist, sizeof c.artist, "%s", "Singer");
  std::snprintf(c.title, sizeof c.title, "%s", "Song");
  for (int i = 0; i < lines; ++i) {
    TimeSentence s{i * 1000, i * 1000 + 1000, "line"};
    c.sentences.push_back(s);
  }
  return c;
}

ResourceUpdate Ready(const Content& c) {
  ResourceUpdate u;
  u.result = RESULT_OK;
  u.content = &c;
  u.extras.home = "C:\\H";
  return u;
}

}  // namespace

TEST(ResourceStatus, TipsComeInTheOrderNewUsersSeeThem) {
  LyricTipInputs in;
  EXPECT_EQ(ChooseLyricTip(in).code, 2);  // fresh: minimise the player
  in.hasUsedMini = 1;
  EXPECT_EQ(ChooseLyricTip(in).code, 3);  // then the wheel
  in.haswheel = 1;
  for (in.RightBtn = 0; in.RightBtn < 20; ++in.RightBtn) EXPECT_TRUE(ChooseLyricTip(in).countsBackgroundTip);
  EXPECT_EQ(ChooseLyricTip(in).code, 4);  // suggestions welcome
  in.lyricMaybeWrong = 20;
  EXPECT_EQ(ChooseLyricTip(in).code, 6);
  in.miniShown = true;
  EXPECT_STREQ(ChooseLyricTip(in).text, "");
  // The mini window skips the first two tips.
  LyricTipInputs mini;
  mini.miniShown = true;
  mini.RightBtn = 20;
  EXPECT_EQ(ChooseLyricTip(mini).code, 10);
}

TEST(ResourceStatus, LyricWithoutMvHasNoStripAndTheDefaultBackground) {
  LyricViewState view;
  view.SetTagInfo("c:\\a.mp3", "", "", "");
  const Content c = LyricContent(3);
  ResourceUpdate u = Ready(c);
  u.tips.hasUsedMini = u.tips.haswheel = 1;
  EXPECT_TRUE(UpdateViewResourceStatus(view, u));
  EXPECT_EQ(view.Status(), LyricViewStatus::LyricReady);
  EXPECT_EQ(view.Sentences().size(), 3u);
  EXPECT_TRUE(view.Strip().empty());
  EXPECT_EQ(view.mvItem.load(), 0);
  EXPECT_EQ(view.BackgroundPicturePath(), "C:\\H\\face\\defaultbak\\bkground1.jpg");
  EXPECT_STREQ(view.TagInfo().path, "c:\\a.mp3");  // the song's path stays
  EXPECT_STREQ(view.TagInfo().artist, "Singer");
  EXPECT_EQ(view.Message().code, 10);
}

TEST(ResourceStatus, WordTimesTravelWithTheSentences) {
  LyricViewState view;
  Content c = LyricContent(2);
  c.words = {{}, {{0, 0}, {500, 2}}};
  UpdateViewResourceStatus(view, Ready(c));
  ASSERT_EQ(view.Words().size(), 2u);
  EXPECT_EQ(view.Words()[1][1].atMs, 500);
}

TEST(ResourceStatus, MvPictureBringsTheEnabledExtras) {
  LyricViewState view;
  Content c = LyricContent(1);
  std::snprintf(c.song_flv_pic_path, sizeof c.song_flv_pic_path, "%s", "C:\\H\\mv.jpg");
  c.song_flv_signature = {5, 6};
  std::snprintf(c.artist_swf_pic, sizeof c.artist_swf_pic, "%s", "C:\\H\\swf.jpg");  // no signature: not offered
  ResourceUpdate u = Ready(c);
  u.extras.star = u.extras.advert = true;
  UpdateViewResourceStatus(view, u);
  ASSERT_EQ(view.Strip().size(), 3u);
  EXPECT_EQ(view.Strip()[0].caption, "SongMV");
  EXPECT_EQ(view.Strip()[1].kind, kStripStarNews);
  EXPECT_EQ(view.Strip()[2].picturePath, "C:\\H\\face\\ad.jpg");
  EXPECT_EQ(view.mvItem.load(), 1);
  EXPECT_EQ(view.photosItem.load(), 0);
}

TEST(ResourceStatus, FailuresEmptyTheViewAndSayWhy) {
  LyricViewState view;
  const Content c = LyricContent(2);
  UpdateViewResourceStatus(view, Ready(c));
  ResourceUpdate none;
  none.result = RESULT_FAIL;
  none.now = 777;
  UpdateViewResourceStatus(view, none);
  EXPECT_EQ(view.Status(), LyricViewStatus::NoLyricFound);
  EXPECT_TRUE(view.Sentences().empty());
  EXPECT_EQ(view.Message().code, 7);
  EXPECT_TRUE(view.DelayedWelcome());

  ResourceUpdate net;
  net.result = RESULT_NET_ERR;
  UpdateViewResourceStatus(view, net);
  EXPECT_EQ(view.Status(), LyricViewStatus::NetworkFailed);
  EXPECT_STREQ(view.Message().text, "网络连接失败...");
}

TEST(ResourceStatus, RecognisedNamesAndEmptyLyricsAskTheUser) {
  LyricViewState view;
  const Content empty = LyricContent(0);
  ResourceUpdate u = Ready(empty);
  u.recArtist = "A";
  u.recTitle = "T";
  UpdateViewResourceStatus(view, u);
  EXPECT_STREQ(view.Message().text, "A-T,欢迎上传歌词");
  u.recognised = true;
  UpdateViewResourceStatus(view, u);
  EXPECT_STREQ(view.Message().text, "Ambrel识别结果:T-A,点击查看");
  EXPECT_EQ(view.Message().code, 8);

  EmptyViewResourceForVideo(view);
  EXPECT_STREQ(view.Message().text, kMvLoadingMessage);
  EXPECT_TRUE(view.Strip().empty());
}
