#include <gtest/gtest.h>

#include <cstring>

#include "controller/SongRules.h"

TEST(SongRules, SupportedSongs) {
  EXPECT_EQ(ClassifySong("C:\\m\\a.MP3"), SongSupport::Supported);
  EXPECT_EQ(ClassifySong("C:\\m\\a.wma"), SongSupport::Supported);
  EXPECT_EQ(ClassifySong("C:\\m\\a.Ram"), SongSupport::Supported);
  EXPECT_EQ(ClassifySong("C:\\m\\a.rm"), SongSupport::RmNeedsSize);
  EXPECT_EQ(ClassifySong("C:\\m\\a.flac"), SongSupport::NotSupported);
  EXPECT_EQ(ClassifySong("C:\\m.mp3\\noext"), SongSupport::NotSupported);
  EXPECT_EQ(ClassifySong("http://radio/x.mp3"), SongSupport::NotSupported);
  EXPECT_EQ(ClassifySong(""), SongSupport::NotSupported);
  EXPECT_TRUE(RmSizeSupported(true, 0x2FFFFF));
  EXPECT_FALSE(RmSizeSupported(true, 0x300000));
  EXPECT_FALSE(RmSizeSupported(false, 0));
}

TEST(SongRules, SongCheckComparesWholePathsWithoutCase) {
  std::string last, previous;
  EXPECT_EQ(DecideSongCheck("", last, previous), SongCheckEvent::None);
  EXPECT_EQ(DecideSongCheck("C:\\m\\song.mp3", last, previous), SongCheckEvent::ChangeSong);
  EXPECT_EQ(DecideSongCheck("c:\\M\\SONG.mp3", last, previous), SongCheckEvent::None);
  // A path contained in the last one is another song.
  EXPECT_EQ(DecideSongCheck("C:\\m\\song.mp", last, previous), SongCheckEvent::ChangeSong);
  EXPECT_EQ(last, "C:\\m\\song.mp");
  EXPECT_EQ(previous, "C:\\m\\song.mp3");
  // Double-byte characters whose trail bytes differ only in "case" differ.
  EXPECT_FALSE(SamePath("\xB0\x41.mp3", "\xB0\x61.mp3"));
  EXPECT_TRUE(SamePath("\xB0\x41.MP3", "\xB0\x41.mp3"));
}

TEST(SongRules, StopThenTheSameSongPlaysOnAndAnotherChanges) {
  std::string last = "C:\\a.mp3", previous;
  ApplyStop(last, previous);
  EXPECT_EQ(last, "");
  EXPECT_EQ(DecideSongCheck("C:\\A.MP3", last, previous), SongCheckEvent::Play);
  EXPECT_EQ(previous, "");
  ApplyStop(last, previous);
  EXPECT_EQ(DecideSongCheck("C:\\b.mp3", last, previous), SongCheckEvent::ChangeSong);
}

TEST(SongRules, MvRequestFromTheResult) {
  Content c{};
  c.song_flv_signature = {1, 2};
  c.artist_swf_signature = {3, 4};
  P2PRequest r = DeriveP2PRequest(RESULT_OK, c, true, false);
  EXPECT_EQ(r.flvStatus, 3);
  EXPECT_EQ(r.flv.second, 2u);
  EXPECT_EQ(r.swfStatus, 1);
  EXPECT_EQ(r.swf.first, 0u);
  r = DeriveP2PRequest(RESULT_NET_ERR, c, true, true);
  EXPECT_EQ(r.flvStatus, 10);
  EXPECT_EQ(r.swfStatus, 9);
  r = DeriveP2PRequest(RESULT_FAIL, c, true, true);
  EXPECT_EQ(r.flvStatus, 2);
  EXPECT_EQ(r.swfStatus, 1);
  EXPECT_EQ(r.flv.first, 0u);
}

TEST(SongRules, PrefetchTimingAndUnknownDuration) {
  EXPECT_EQ(SongDuration(0), 180000);
  EXPECT_FALSE(PrefetchDue(SongDuration(0), 60000, false));
  EXPECT_TRUE(PrefetchDue(SongDuration(0), 60001, false));
  EXPECT_TRUE(PrefetchDue(300000, 0, true));
  EXPECT_TRUE(PrefetchDue(100000, 0, false));  // a short song at once
}

TEST(SongRules, PlayLogAndEventTexts) {
  PlayLogNames n{"T", "A", "L", "rt", "ra", "rl"};
  EXPECT_EQ(PlayLogLine("C:\\Music\\Pop\\s.mp3", n, true), "F:Pop\\s.mp3|S<T>AR<A>AL<L>|REC:S<rt>AR<ra>AL<rl>|LRC:<OK>");
  EXPECT_EQ(PlayLogLine("s.mp3", PlayLogNames{}, false), "F:|S<>AR<>AL<>|REC:S<>AR<>AL<>|LRC:<NOT>");
  // A trail byte 0x5C is no separator.
  EXPECT_EQ(LastTwoComponents("C:\\\xB9\x5C\\s.mp3"), "\xB9\x5C\\s.mp3");
  EXPECT_EQ(MvEventText("Ar", "Ti"), "S<Ar>|AR<Ti>");
}

TEST(SongRules, TagHandOver) {
  const std::string bytes = TagHandOverBytes("Title", std::string(300, 'a'), "Album");
  ASSERT_EQ(bytes.size(), 1804u);
  EXPECT_EQ(bytes.substr(0, 4), std::string("\x01\0\0\0", 4));
  EXPECT_EQ(bytes.substr(4, 6), std::string("Title\0", 6));
  EXPECT_EQ(bytes.substr(260, 255), std::string(255, 'a'));
  EXPECT_EQ(bytes[515], '\0');
  EXPECT_EQ(bytes.substr(516, 5), "Album");
  EXPECT_EQ(bytes.find_first_not_of('\0', 521), std::string::npos);
  EXPECT_EQ(TagHandOverPath("C:\\H", "C:\\Program Files\\Winamp\\winamp.exe"), "C:\\H\\update\\tagwinamp.tmp");
  EXPECT_EQ(TagToolCommand("C:\\t.tmp", "D:\\s.mp3"), "tagprobe.exe S \"C:\\t.tmp\" \"D:\\s.mp3\"");
}

TEST(SongRules, PlayerKinds) {
  EXPECT_EQ(PlayerKindFromPath("C:\\Program Files\\Winamp\\winamp.exe").flag, "WINAMP_RUNNING");
  EXPECT_EQ(PlayerKindFromPath("C:\\x\\wmplayer.exe").name, "wmp");
  EXPECT_EQ(PlayerKindFromPath("C:\\x\\realplay.exe").flag, "REAL_RUNNING");
  EXPECT_EQ(PlayerKindFromPath("C:\\x\\playerhost.exe").name, "");
  EXPECT_TRUE(IsModernSkinName("Winamp Modern Big"));
  EXPECT_FALSE(IsModernSkinName("Winamp Moder"));
}
