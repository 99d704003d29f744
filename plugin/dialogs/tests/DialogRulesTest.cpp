// The lyric dialogs' decisions: countdown, cuts, input checks, notices.
#include <gtest/gtest.h>

#include <cstring>

#include "dialogs/DialogRules.h"

using namespace lyricdlg;

TEST(SelectCountdown, CountsFourteenToZeroThenChoosesFirstOnSixteenthTick) {
  SelectCountdown c;
  c.Start();
  for (int expected = 14; expected >= 0; --expected) {
    ASSERT_EQ(c.Tick(), SelectCountdown::Step::Show);
    EXPECT_EQ(c.Counter(), expected);
  }
  EXPECT_EQ(c.Tick(), SelectCountdown::Step::ChooseFirst);
  EXPECT_EQ(c.Tick(), SelectCountdown::Step::None);
}

TEST(SelectCountdown, StoppedForGood) {
  SelectCountdown c;
  c.Start();
  c.Tick();
  c.Stop();
  EXPECT_EQ(c.Tick(), SelectCountdown::Step::None);
  EXPECT_EQ(CountdownLabel("将在", 7, "秒后"), "将在7秒后");
}

TEST(DialogText, CutKeepsDoubleByteCharactersWhole) {
  std::string hundred(100, 'a');
  EXPECT_FALSE(CutToLimit(hundred, 100));
  std::string longer(101, 'a');
  EXPECT_TRUE(CutToLimit(longer, 100));
  EXPECT_EQ(longer.size(), 100u);
  // 99 ASCII bytes and one GBK character straddling the limit: the whole
  // character goes.
  std::string mixed = std::string(99, 'a') + "\xB8\xE8" + "b";
  EXPECT_TRUE(CutToLimit(mixed, 100));
  EXPECT_EQ(mixed, std::string(99, 'a'));
  EXPECT_EQ(Trim(" \t ab c \r\n"), "ab c");
  EXPECT_EQ(Trim("   "), "");
  EXPECT_EQ(LyricFileName("Ar", "Ti"), "Ar-Ti.lrc");
}

TEST(DialogText, FieldWithoutTerminatorReadsToItsEnd) {
  char field[4];
  std::memcpy(field, "abcd", 4);
  EXPECT_EQ(FieldText(field), "abcd");
}

TEST(SearchInput, LengthsFirstThenTrimmedEmptiness) {
  std::string song(101, 's'), artist = "a";
  EXPECT_STREQ(SearchInputError(song, artist), "SongTooLong");
  song = "s";
  artist = std::string(101, 'a');
  EXPECT_STREQ(SearchInputError(song, artist), "ArtistTooLong");
  song = "  ";
  artist = "\t";
  EXPECT_STREQ(SearchInputError(song, artist), "PleaseInputSearchOption");
  song = " Ti ";
  artist = "";
  EXPECT_EQ(SearchInputError(song, artist), nullptr);
  EXPECT_EQ(song, "Ti");
}

TEST(SearchInput, NoticeForEachOutcome) {
  EXPECT_EQ(NoticeForSearch(RESULT_OK, 2), SearchNotice::None);
  EXPECT_EQ(NoticeForSearch(RESULT_OK, 0), SearchNotice::NothingFound);
  EXPECT_EQ(NoticeForSearch(RESULT_NET_ERR, 0), SearchNotice::NetworkFailed);
  EXPECT_EQ(NoticeForSearch(RESULT_FAIL, 3), SearchNotice::NothingFound);
}

TEST(LyricFilePick, SizeLimitAndSuffix) {
  EXPECT_EQ(LyricFileError("a.lrc", 10240, false), nullptr);
  EXPECT_STREQ(LyricFileError("a.lrc", 10241, false), "SubmitLittleThan10kFile");
  EXPECT_EQ(LyricFileError("C:\\x\\A.LrC", 0, true), nullptr);
  EXPECT_STREQ(LyricFileError("a.txt", 10, true), "SelectLyricFile");
  EXPECT_STREQ(LyricFileError("lrc", 10, true), "SelectLyricFile");
  EXPECT_STREQ(LyricFileError("a.txt", 99999, true), "SelectLyricFile");
}

TEST(UploadInput, ChecksInOrderAndStopsAtFirst) {
  UploadFields f{" ", " ", std::string(101, 'b'), std::string(101, 'u'), ""};
  EXPECT_STREQ(UploadInputError(f), "SongNull");
  f.song = std::string(101, 's');
  EXPECT_STREQ(UploadInputError(f), "ArtistNull");
  f.artist = std::string(101, 'a');
  EXPECT_STREQ(UploadInputError(f), "LyricPathNull");
  f.path = std::string(201, 'p');
  EXPECT_STREQ(UploadInputError(f), "SongTooLong");
  f.song = "s";
  EXPECT_STREQ(UploadInputError(f), "ArtistTooLong");
  f.artist = "a";
  EXPECT_STREQ(UploadInputError(f), "AlbumTooLong");
  f.album = "";
  EXPECT_STREQ(UploadInputError(f), "SubmitTooLong");
  f.uploader = "";
  EXPECT_STREQ(UploadInputError(f), "LyricPathTooLong");
  f.path = std::string(200, 'p');
  EXPECT_EQ(UploadInputError(f), nullptr);
}

TEST(UploadInput, HundredByteSongAcceptedAndCutToItsFieldWithoutSplitting) {
  // 49 GBK characters and one ASCII byte: 99 + 1 = 100 bytes, the last
  // character would straddle the record's 99 text bytes.
  std::string song = "x";
  for (int i = 0; i < 49; ++i) song += "\xB8\xE8";
  song += "y";
  ASSERT_EQ(song.size(), 100u);
  const UploadFields f{song, " Ar ", "", "", "C:\\a.lrc"};
  EXPECT_EQ(UploadInputError(f), nullptr);
  const LrcItem item = MakeUploadItem(f);
  EXPECT_EQ(std::strlen(item.title), 99u);
  EXPECT_EQ(std::string(item.title), song.substr(0, 99));
  EXPECT_STREQ(item.artist, "Ar");
  EXPECT_STREQ(item.lrcPath, "C:\\a.lrc");

  std::string split = std::string(98, 'x') + "\xB8\xE8";
  const LrcItem cut = MakeUploadItem({split, "a", "", "", "p"});
  EXPECT_EQ(std::string(cut.title), std::string(98, 'x'));
}

TEST(AdjustInput, RulesOfTheField) {
  EXPECT_EQ(CheckAdjustInput("-10001").verdict, AdjustInput::Accept);
  EXPECT_EQ(CheckAdjustInput("-10001").value, -10000);
  EXPECT_EQ(CheckAdjustInput("-10001").text, "-10000");
  EXPECT_EQ(CheckAdjustInput("99999").text, "10000");
  EXPECT_EQ(CheckAdjustInput("12a").verdict, AdjustInput::Invalid);
  EXPECT_EQ(CheckAdjustInput("1-2").verdict, AdjustInput::Invalid);
  EXPECT_EQ(CheckAdjustInput("1234567").verdict, AdjustInput::TooLong);
  EXPECT_EQ(CheckAdjustInput("-12345").value, -10000);
  const AdjustInput minus = CheckAdjustInput("-");
  EXPECT_EQ(minus.verdict, AdjustInput::Accept);
  EXPECT_EQ(minus.value, 0);
  EXPECT_EQ(CheckAdjustInput("").verdict, AdjustInput::Accept);
  EXPECT_EQ(CheckAdjustInput("-250").value, -250);
}

TEST(Wheel, NotchIsTwelveHundredMilliseconds) {
  const uintptr_t towardsUser = static_cast<uintptr_t>(static_cast<uint16_t>(-120)) << 16;
  EXPECT_EQ(WheelShiftMs(towardsUser), -1200);
  EXPECT_EQ(WheelShiftMs(static_cast<uintptr_t>(240) << 16 | 0x0008), 2400);
}

TEST(MessageLine, RevokeAndInvitationTexts) {
  EXPECT_EQ(RevokedLyricMessage("Ar", "Ti"), "Ar-Ti");
  EXPECT_EQ(RevokedLyricMessage("", ""), kProductDisplayName);
  EXPECT_EQ(UploadInvitation("Ar", "Ti"), "Ar-Ti,欢迎上传歌词");
  EXPECT_EQ(UploadInvitation("", ""), "欢迎上传歌词");
}

TEST(SearchPrefill, TagsThenEngineNamesThenFileName) {
  std::string title, artist;
  SearchPrefill("T", "A", "FT", "FA", "c:\\m\\x.mp3", title, artist);
  EXPECT_EQ(title + "|" + artist, "T|A");
  SearchPrefill("", "", "FT", "FA", "c:\\m\\x.mp3", title, artist);
  EXPECT_EQ(title + "|" + artist, "FT|FA");
  // The GBK character 0x965C ends in a backslash byte: not a separator.
  SearchPrefill("", "", "", "", "c:\\m\\\x96\x5C" "b.mp3", title, artist);
  EXPECT_EQ(title, "\x96\x5C" "b");
}
