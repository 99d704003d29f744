#include "ResourceRules.h"

#include <gtest/gtest.h>

#include "TestRecords.h"

using namespace zl;

namespace {
Content WithPictures() {
  Content c{};
  Set(c.artist_pic_path, "a.jpg");
  Set(c.artist_swf_pic, "a_swf.jpg");
  c.artist_swf_signature = {5, 6};
  return c;
}
}  // namespace

TEST(ResourceRules, StateOfWhatIsThere) {
  EXPECT_EQ(ResourceStateOf(Content{}), PRE_SET_NONE);
  Content c = WithPictures();
  EXPECT_EQ(ResourceStateOf(c), PRE_SET_PART);
  Set(c.lrc_path, "x.lrc");
  Set(c.song_flv_pic_path, "m.jpg");
  EXPECT_EQ(ResourceStateOf(c), PRE_SET_PART);  // MV signature missing
  c.song_flv_signature = {1, 0};
  EXPECT_EQ(ResourceStateOf(c), PRE_SET_FULL);
  c.artist_swf_signature.first = 0;
  EXPECT_EQ(ResourceStateOf(c), PRE_SET_NONE);
}

TEST(ResourceRules, CountOfPresentItems) {
  Content c{};
  EXPECT_EQ(ResourceCountOf(c), 0);
  Set(c.lrc_path, "x.lrc");
  EXPECT_EQ(ResourceCountOf(c), 1);
  c = WithPictures();
  Set(c.lrc_path, "x.lrc");
  Set(c.song_flv_pic_path, "m.jpg");
  c.song_flv_signature = {1, 2};
  EXPECT_EQ(ResourceCountOf(c), 6);
  c.artist_swf_signature = {0, 9};  // a second word alone names nothing
  EXPECT_EQ(ResourceCountOf(c), 5);
}

TEST(ResourceRules, TagUpdateAdvice) {
  SongFileAtr s{};
  Set(s.songPath, "C:\\a.mp3");
  Set(s.finalTitle, "Old");
  Set(s.finalArtist, "Who");
  Set(s.finalAlbum, "Al");
  Set(s.recTitle, "New");
  Set(s.recArtist, "Who");
  Set(s.recAlbum, "RAl");
  tagUpdateInfo info{};
  DecideTagUpdate(s, "rec", info);
  EXPECT_EQ(info.bUpdate, 1);
  EXPECT_EQ(info.bGoon, 0);
  EXPECT_STREQ(info.finalTitle, "Old");
  EXPECT_STREQ(info.recAlbum, "RAl");

  DecideTagUpdate(s, "tag", info);  // the tags matched already
  EXPECT_EQ(info.bUpdate, 0);
  s.goonrec = 1;  // recognition not settled
  DecideTagUpdate(s, "rec", info);
  EXPECT_EQ(info.bUpdate, 0);
  EXPECT_EQ(info.bGoon, 1);
  s.goonrec = 0;
  Set(s.recTitle, "Old");  // nothing new
  DecideTagUpdate(s, "fln", info);
  EXPECT_EQ(info.bUpdate, 0);
  Set(s.recArtist, "Other");
  DecideTagUpdate(s, "fln", info);
  EXPECT_EQ(info.bUpdate, 1);
  Set(s.recTitle, "");
  DecideTagUpdate(s, "fln", info);
  EXPECT_EQ(info.bUpdate, 0);
}

TEST(ResourceRules, NoSongMeansNoAdvice) {
  SongFileAtr s{};
  s.goonrec = 1;
  Set(s.recTitle, "New");
  Set(s.finalTitle, "Old");
  tagUpdateInfo info{};
  info.bUpdate = 1;
  info.bGoon = 7;
  DecideTagUpdate(s, "rec", info);
  EXPECT_EQ(info.bUpdate, 0);
  EXPECT_EQ(info.bGoon, 7);  // left as it was
  EXPECT_STREQ(info.recTitle, "New");
}

TEST(ResourceRules, SignaturePairs) {
  SignPair p{};
  EXPECT_TRUE(ParseSignPair("12,34", p));
  EXPECT_EQ(p.first, 12u);
  EXPECT_EQ(p.second, 34u);
  EXPECT_TRUE(ParseSignPair(" 4294967295 , 1 ", p));
  EXPECT_EQ(p.first, 4294967295u);
  EXPECT_TRUE(ParseSignPair("7", p));
  EXPECT_EQ(p.first, 7u);
  EXPECT_EQ(p.second, 0u);
  EXPECT_FALSE(ParseSignPair("", p));
  EXPECT_FALSE(ParseSignPair("x,y", p));
  EXPECT_EQ(FormatSignPair({4294967295u, 0}), "4294967295,0");
}

TEST(ResourceRules, ClearingAContentEmptiesEverything) {
  Content c = WithPictures();
  c.sentences.resize(3);
  Set(c.tags.ti, "t");
  ClearContent(c);
  EXPECT_STREQ(c.artist_pic_path, "");
  EXPECT_STREQ(c.tags.ti, "");
  EXPECT_EQ(c.artist_swf_signature.first, 0u);
  EXPECT_TRUE(c.sentences.empty());
}
