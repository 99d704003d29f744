#include "InfoFile.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "TestRecords.h"

using namespace zl;

namespace {

SongFileAtr SampleSong() {
  SongFileAtr s{};
  Set(s.songPath, "C:\\music\\a.mp3");
  Set(s.tagArtist, "TA");
  Set(s.tagTitle, "TT");
  Set(s.tagAlbum, "TL");
  s.nKbps = 128;
  s.unLength = 245;
  s.goonrec = 1;
  s.recTime = 1700000000;
  Set(s.recArtist, "RA");
  Set(s.recTitle, "RT");
  Set(s.recAlbum, "RL");
  Set(s.FP, "1a%2C2b");
  s.sig1 = 4294967295u;
  s.sig2 = 7;
  Set(s.finalArtist, "FA");
  Set(s.finalTitle, "FT");
  Set(s.finalAlbum, "FL");
  s.updTime = 5;  // the writer takes the time it is given instead
  return s;
}

const char kSongPart[] =
    "[SongFileAtr]\r\n"
    "songPath=C:\\music\\a.mp3\r\n"
    "tagArtist=TA\r\n"
    "tagTitle=TT\r\n"
    "tagAlbum=TL\r\n"
    "nKbps=128\r\n"
    "unLength=245\r\n"
    "goonrec=1\r\n"
    "recTime=1700000000\r\n"
    "hitfrom=rec\r\n"
    "recArtist=RA\r\n"
    "recTitle=RT\r\n"
    "recAlbum=RL\r\n"
    "FP=1a%2C2b\r\n"
    "sig1=4294967295\r\n"
    "sig2=7\r\n"
    "finalArtist=FA\r\n"
    "finalTitle=FT\r\n"
    "finalAlbum=FL\r\n"
    "updTime=1700000123\r\n";

SearchItem Item(const char* artist, const char* title, const char* provider, const char* path) {
  SearchItem item{};
  Set(item.artist, artist);
  Set(item.title, title);
  Set(item.provider, provider);
  Set(item.resPath, path);
  return item;
}

}  // namespace

TEST(InfoFileFormat, ContentAnswerIsWrittenByteForByte) {
  InfoFileAnswer a;
  a.type = RESULT_TYPE_CONTENT;
  Set(a.content.artist, "Ar");
  Set(a.content.title, "Ti");
  Set(a.content.artist_pic_path, "R\\Artist\\Ar.jpg");
  Set(a.content.artist_swf_pic, "R\\Artist\\Ar_swf.jpg");
  a.content.artist_swf_signature = {11, 22};
  Set(a.content.song_flv_pic_path, "R\\MTV\\Ar-Ti_flv.jpg");
  a.content.song_flv_signature = {3000000000u, 44};
  Set(a.content.lrc_path, "C:\\lrc\\Ar-Ti.lrc");
  a.zipSig = "abc123";
  a.resPath = "/res/1.zip";
  const std::string expected = std::string(kSongPart) +
                               "[Resource]\r\n"
                               "TP=content\r\n"
                               "\r\n"
                               "artist=Ar\r\n"
                               "title=Ti\r\n"
                               "artist_pic_path=R\\Artist\\Ar.jpg\r\n"
                               "artist_swf_pic=R\\Artist\\Ar_swf.jpg\r\n"
                               "artist_swf_signature=11,22\r\n"
                               "song_flv_pic_path=R\\MTV\\Ar-Ti_flv.jpg\r\n"
                               "song_flv_signature=3000000000,44\r\n"
                               "lrc_path=C:\\lrc\\Ar-Ti.lrc\r\n"
                               "sig=abc123\r\n"
                               "path=/res/1.zip\r\n";
  EXPECT_EQ(FormatInfoFile(SampleSong(), "rec", a, 1700000123), expected);
}

TEST(InfoFileFormat, ListAndNothingAnswers) {
  InfoFileAnswer a;
  a.type = RESULT_TYPE_LIST;
  a.list = {Item("A1", "S1", "P1", "/p/1"), Item("A2", "S2", "", "")};
  EXPECT_EQ(FormatInfoFile(SampleSong(), "rec", a, 1700000123),
            std::string(kSongPart) +
                "[Resource]\r\nTP=list\r\n\r\n"
                "ARTIST=A1\r\nSONGNAME=S1\r\nPROVIDER=P1\r\nPATH=/p/1\r\n\r\n"
                "ARTIST=A2\r\nSONGNAME=S2\r\nPROVIDER=\r\nPATH=\r\n\r\n");
  a.type = RESULT_TYPE_NONE;
  EXPECT_EQ(FormatInfoFile(SampleSong(), "rec", a, 1700000123), std::string(kSongPart) + "[Resource]\r\n");
  a.type = RESULT_TYPE_STALE;  // only lists and contents are recorded
  EXPECT_EQ(FormatInfoFile(SampleSong(), "rec", a, 1700000123), std::string(kSongPart) + "[Resource]\r\n");
}

TEST(InfoFileFormat, LineBreaksInValuesCannotForgeLines) {
  SongFileAtr s = SampleSong();
  Set(s.recTitle, "Evil\r\n[Resource]\r\nTP=list");
  InfoFileAnswer a;
  a.type = RESULT_TYPE_CONTENT;
  Set(a.content.artist, "A\nTP=list");
  const std::string text = FormatInfoFile(s, "rec", a, 1);
  EXPECT_NE(text.find("recTitle=Evil  [Resource]  TP=list\r\n"), std::string::npos);
  EXPECT_NE(text.find("artist=A TP=list\r\n"), std::string::npos);
  std::string songPart, resourcePart, after;
  ASSERT_TRUE(SplitInfoFile(text, songPart, resourcePart));
  EXPECT_EQ(InfoAnswerType(resourcePart, after), RESULT_TYPE_CONTENT);
}

TEST(InfoFileRead, EveryKeyOfTheSongPartExceptPathAndFingerprint) {
  std::string songPart, resourcePart, hitfrom;
  ASSERT_TRUE(SplitInfoFile(std::string(kSongPart) + "[Resource]\r\n", songPart, resourcePart));
  SongFileAtr s{};
  ReadSongAttributes(songPart, s, hitfrom);
  EXPECT_STREQ(s.songPath, "");
  EXPECT_STREQ(s.FP, "");
  EXPECT_STREQ(s.tagArtist, "TA");
  EXPECT_STREQ(s.tagTitle, "TT");
  EXPECT_STREQ(s.tagAlbum, "TL");
  EXPECT_EQ(s.nKbps, 128u);
  EXPECT_EQ(s.unLength, 245u);
  EXPECT_EQ(s.goonrec, 1);
  EXPECT_EQ(s.recTime, 1700000000);
  EXPECT_EQ(hitfrom, "rec");
  EXPECT_STREQ(s.recArtist, "RA");
  EXPECT_STREQ(s.recTitle, "RT");
  EXPECT_STREQ(s.recAlbum, "RL");
  EXPECT_EQ(s.sig1, 4294967295u);
  EXPECT_EQ(s.sig2, 7u);
  EXPECT_STREQ(s.finalArtist, "FA");
  EXPECT_STREQ(s.finalTitle, "FT");
  EXPECT_STREQ(s.finalAlbum, "FL");
  EXPECT_EQ(s.updTime, 1700000123);
  EXPECT_EQ(resourcePart, "\r\n");
}

TEST(InfoFileRead, KeysAndValuesAreTrimmedAndNamesCut) {
  const std::string part = "  tagTitle \t=  spaced out \r\nnKbps=96\nrecArtist=" + std::string(120, 'x') +
                           "\r\nno equals sign here\r\n=orphan\r\n";
  SongFileAtr s{};
  s.nKbps = 320;  // the player's bit rate stands
  std::string hitfrom;
  ReadSongAttributes(part, s, hitfrom);
  EXPECT_STREQ(s.tagTitle, "spaced out");
  EXPECT_EQ(s.nKbps, 320u);
  EXPECT_EQ(std::string(s.recArtist), std::string(99, 'x'));
  SongFileAtr none{};
  ReadSongAttributes(part, none, hitfrom);
  EXPECT_EQ(none.nKbps, 96u);
}

TEST(InfoFileRead, MissingOrMisplacedSectionsAreFormatErrors) {
  std::string a, b;
  EXPECT_FALSE(SplitInfoFile(kSongPart, a, b));
  EXPECT_FALSE(SplitInfoFile("[Resource]\r\nTP=list\r\n", a, b));
  EXPECT_FALSE(SplitInfoFile("[Resource]\r\n[SongFileAtr]\r\n", a, b));
  EXPECT_FALSE(SplitInfoFile("", a, b));
  // A head inside a value is no head.
  EXPECT_FALSE(SplitInfoFile("[SongFileAtr]\r\nsongPath=C:\\[Resource]\r\n", a, b));
  EXPECT_TRUE(SplitInfoFile("[SongFileAtr]\nsongPath=C:\\[Resource]\n[Resource]\nTP=list\n", a, b));
  EXPECT_EQ(a, "\nsongPath=C:\\[Resource]\n");
  EXPECT_EQ(b, "\nTP=list\n");
}

TEST(InfoFileRead, AnswerKindFromTheTypeLine) {
  std::string after;
  EXPECT_EQ(InfoAnswerType("\r\nTP=list\r\n\r\nARTIST=a\r\n", after), RESULT_TYPE_LIST);
  EXPECT_EQ(after, "\r\nARTIST=a\r\n");
  EXPECT_EQ(InfoAnswerType("\r\nTP = content \r\n\r\nartist=a\r\n", after), RESULT_TYPE_CONTENT);
  EXPECT_EQ(InfoAnswerType("\r\nTP=songlist\r\n", after), RESULT_TYPE_LIST);  // "containing"
  EXPECT_EQ(InfoAnswerType("\r\nTP=none\r\n", after), RESULT_TYPE_NONE);
  EXPECT_EQ(InfoAnswerType("\r\n", after), RESULT_TYPE_NONE);
  EXPECT_EQ(InfoAnswerType("artist=list\r\n", after), RESULT_TYPE_NONE);
}

TEST(InfoFileRead, ListBlocksBecomeItemsInOrder) {
  std::vector<SearchItem> list(1);  // appended to
  ParseSearchList(
      "\r\nARTIST=A1\r\nSONGNAME=S1\r\nPROVIDER=P1\r\nPATH=/p/1\r\n\r\n"
      "ARTIST= A2 \nSONGNAME=S2\n\n\r\n"
      "OTHER=x\r\n\r\n"
      "PATH=" +
          std::string(300, 'p'),
      list);
  ASSERT_EQ(list.size(), 4u);
  EXPECT_STREQ(list[1].artist, "A1");
  EXPECT_STREQ(list[1].title, "S1");
  EXPECT_STREQ(list[1].provider, "P1");
  EXPECT_STREQ(list[1].resPath, "/p/1");
  EXPECT_STREQ(list[2].artist, "A2");
  EXPECT_STREQ(list[2].title, "S2");
  EXPECT_STREQ(list[2].provider, "");
  EXPECT_EQ(std::string(list[3].resPath), std::string(259, 'p'));
}

TEST(InfoFileRead, ResourceFieldsFillTheContent) {
  Content c{};
  std::string zipSig, resPath;
  ReadResourceFields(
      "\r\nTP=content\r\n\r\nartist=Ar\r\ntitle=Ti\r\nartist_pic_path=p1\r\nartist_swf_pic=p2\r\n"
      "artist_swf_signature=11,22\r\nsong_flv_pic_path=p3\r\nsong_flv_signature=4294967295,1\r\n"
      "lrc_path=l\r\nsig=zs\r\npath=/x\r\n",
      c, zipSig, resPath);
  EXPECT_STREQ(c.artist, "Ar");
  EXPECT_STREQ(c.title, "Ti");
  EXPECT_STREQ(c.artist_pic_path, "p1");
  EXPECT_STREQ(c.artist_swf_pic, "p2");
  EXPECT_EQ(c.artist_swf_signature.first, 11u);
  EXPECT_EQ(c.artist_swf_signature.second, 22u);
  EXPECT_STREQ(c.song_flv_pic_path, "p3");
  EXPECT_EQ(c.song_flv_signature.first, 4294967295u);
  EXPECT_EQ(c.song_flv_signature.second, 1u);
  EXPECT_STREQ(c.lrc_path, "l");
  EXPECT_EQ(zipSig, "zs");
  EXPECT_EQ(resPath, "/x");
}

TEST(InfoFreshness, DefaultIntervalIsOneDayAndTheFutureIsStale) {
  const int64_t now = 1700000000;
  const int32_t hour = 3600;
  EXPECT_TRUE(IsInfoFresh(now, static_cast<int32_t>(now - 23 * hour), 0));
  EXPECT_FALSE(IsInfoFresh(now, static_cast<int32_t>(now - 25 * hour), 0));
  EXPECT_TRUE(IsInfoFresh(now, static_cast<int32_t>(now - 24 * hour), 0));  // not above the interval
  EXPECT_FALSE(IsInfoFresh(now, static_cast<int32_t>(now + 1), 0));
  EXPECT_TRUE(IsInfoFresh(now, static_cast<int32_t>(now), 0));
  EXPECT_FALSE(IsInfoFresh(now, static_cast<int32_t>(now - 61 * 60), 60));
  EXPECT_TRUE(IsInfoFresh(now, static_cast<int32_t>(now - 59 * 60), 60));
  EXPECT_FALSE(IsInfoFresh(now, static_cast<int32_t>(now - 25 * hour), -5));  // nonsense: one day
}
