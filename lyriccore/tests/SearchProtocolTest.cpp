#include "SearchProtocol.h"

#include <gtest/gtest.h>

#include <string>

using namespace zl;

namespace {

SearchQuery Filled(int32_t searchType) {
  SearchQuery q;
  q.user = "7";
  q.version = "1.0";
  q.secondValue = "ab";
  q.host = "winamp";
  q.wanted = RESULT_TYPE_CONTENT;
  q.onDisk = PRE_SET_NONE;
  q.title = "T";
  q.artist = "A B";
  q.resPath = "/r/x.zip";
  q.zipSig = "z1";
  q.recoSn = "R S";
  q.recoArtist = "RA";
  q.fileName = "a b.mp3";
  q.sig1 = 0x1a2b;
  q.sig2 = 0x3c4d;
  q.searchType = searchType;
  return q;
}

SearchAnswer Parse(const std::string& bytes, bool expectHeader = true) {
  SearchAnswer a;
  EXPECT_EQ(ParseSearchAnswerHeader(bytes.data(), bytes.size(), a), expectHeader);
  return a;
}

}  // namespace

TEST(SearchQuery, EscapingKeepsTheUnreservedSetAndEscapedTriples) {
  EXPECT_EQ(EscapeQueryValue("A B"), "A%20B");
  EXPECT_EQ(EscapeQueryValue("az09!'()*-._~"), "az09!'()*-._~");
  EXPECT_EQ(EscapeQueryValue("%2f%41"), "%2f%41");
  EXPECT_EQ(EscapeQueryValue("%"), "%25");
  EXPECT_EQ(EscapeQueryValue("%4"), "%254");
  EXPECT_EQ(EscapeQueryValue("%zz"), "%25zz");
  EXPECT_EQ(EscapeQueryValue("a&b=c,d/e"), "a%26b%3Dc%2Cd%2Fe");
  EXPECT_EQ(EscapeQueryValue(std::string("\xC4\xE3\x01\x7F", 4)), "%C4%E3%01%7F");
  EXPECT_EQ(EscapeQueryValue(std::string("a\0b", 3)), "a%00b");
  EXPECT_EQ(EscapeQueryValue(""), "");
}

TEST(SearchQuery, SigTextJoinsLowerCaseHex) {
  EXPECT_EQ(QuerySigText(0x1a2b, 0x3c4d), "1a2b%252C3c4d");
  EXPECT_EQ(QuerySigText(0, 0), "0%252C0");
  EXPECT_EQ(QuerySigText(0xFFFFFFFFu, 0xABCDEF01u), "ffffffff%252Cabcdef01");
}

TEST(SearchQuery, TypeAndReqValues) {
  EXPECT_STREQ(QueryTypeValue(RESULT_TYPE_LIST), "1");
  EXPECT_STREQ(QueryTypeValue(RESULT_TYPE_CONTENT), "2");
  EXPECT_STREQ(QueryTypeValue(RESULT_TYPE_NONE), "3");
  EXPECT_STREQ(QueryTypeValue(static_cast<ResultType>(9)), "3");
  EXPECT_STREQ(QueryReqValue(PRE_SET_NONE), "full");
  EXPECT_STREQ(QueryReqValue(PRE_SET_PART), "part");
  EXPECT_STREQ(QueryReqValue(static_cast<Pre_Set_State>(7)), "full");
}

TEST(SearchQuery, AutomaticSearchFillsEveryValue) {
  EXPECT_EQ(BuildSearchArguments(Filled(SEARCH_AUTOMATIC)),
            "user=7,1.0,ab,winamp&requester=localhost&type=2&req=full&songname=T&artist=A%20B"
            "&path=%2Fr%2Fx.zip&zipsig=z1&RecoSn=R%20S&RecoArtist=RA&FileName=a%20b.mp3&sig=1a2b%252C3c4d");
}

TEST(SearchQuery, SearchByNamesFillsOnlyTheNames) {
  SearchQuery q = Filled(SEARCH_BY_NAMES);
  q.wanted = RESULT_TYPE_LIST;
  q.onDisk = PRE_SET_PART;
  EXPECT_EQ(BuildSearchArguments(q),
            "user=7,1.0,ab,winamp&requester=localhost&type=1&req=part&songname=T&artist=A%20B"
            "&path=&zipsig=&RecoSn=&RecoArtist=&FileName=&sig=1a2b%252C3c4d");
}

TEST(SearchQuery, RecognitionSearchFillsOnlyTheRecognisedNames) {
  SearchQuery q = Filled(SEARCH_BY_RECOGNITION);
  q.wanted = RESULT_TYPE_NONE;
  EXPECT_EQ(BuildSearchArguments(q),
            "user=7,1.0,ab,winamp&requester=localhost&type=3&req=full&songname=&artist="
            "&path=&zipsig=&RecoSn=R%20S&RecoArtist=RA&FileName=&sig=1a2b%252C3c4d");
}

TEST(SearchQuery, UnknownSearchTypeGivesNoArguments) {
  EXPECT_EQ(BuildSearchArguments(Filled(3)), "");
  EXPECT_EQ(BuildSearchArguments(Filled(-1)), "");
}

TEST(SearchQuery, EmptyValuesStillSendTheirKeys) {
  SearchQuery q;
  q.user = q.version = q.secondValue = "0";
  q.host = "C:\\a b\\x.exe";
  EXPECT_EQ(BuildSearchArguments(q),
            "user=0,0,0,C%3A%5Ca%20b%5Cx.exe&requester=localhost&type=2&req=full&songname=&artist="
            "&path=&zipsig=&RecoSn=&RecoArtist=&FileName=&sig=0%252C0");
}

TEST(SearchQuery, ScrambleCyclesTheKeyAtByteSeven) {
  EXPECT_EQ(ScrambleArguments("user=0"), "BR8KH19V");
  // "AAAAAAAA" XOR "plomberp": byte 7 takes 'p' again.
  EXPECT_EQ(ScrambleArguments("AAAAAAAA"), "MS0uLCMkMzE=");
  EXPECT_EQ(ScrambleArguments(""), "");
}

TEST(SearchQuery, Url) { EXPECT_EQ(SearchUrl("http://h:1/lyric", "QUJD"), "http://h:1/lyric?QUJD"); }

TEST(SearchAnswerHeader, ReadsEveryKey) {
  const SearchAnswer a = Parse(
      "rcode = -1\r\nhitfrom=rec\r\nrtitle= T1 \r\nrartist=\tA1\r\nralbum=Al\r\nzipsig=zs\r\n"
      "path=/p/1.zip\r\npassword=pw=x\r\nTP=content\r\nunknown=1\r\nnoequals\r\n\r\nBODY");
  EXPECT_TRUE(a.hasRcode);
  EXPECT_EQ(a.rcode, -1);
  EXPECT_TRUE(a.hasHitfrom);
  EXPECT_EQ(a.hitfrom, "rec");
  EXPECT_TRUE(a.hasRecNames);
  EXPECT_EQ(a.rtitle, "T1");
  EXPECT_EQ(a.rartist, "A1");
  EXPECT_EQ(a.ralbum, "Al");
  EXPECT_EQ(a.zipSig, "zs");
  EXPECT_EQ(a.path, "/p/1.zip");
  EXPECT_EQ(a.password, "pw=x");
  EXPECT_EQ(a.kind, AnswerKind::Content);
  EXPECT_EQ(a.bodyOffset, 138u);
}

TEST(SearchAnswerHeader, KindsAndMissingKeys) {
  EXPECT_EQ(Parse("TP=list\r\n\r\nARTIST=a\r\n").kind, AnswerKind::List);
  EXPECT_EQ(Parse("TP=none\r\n\r\n").kind, AnswerKind::None);
  EXPECT_EQ(Parse("TP=other\r\n\r\n").kind, AnswerKind::Unknown);
  const SearchAnswer a = Parse("\r\n\r\n");
  EXPECT_EQ(a.kind, AnswerKind::Unknown);
  EXPECT_FALSE(a.hasRcode);
  EXPECT_FALSE(a.hasHitfrom);
  EXPECT_FALSE(a.hasRecNames);
  EXPECT_EQ(a.bodyOffset, 4u);
}

TEST(SearchAnswerHeader, NoBreakIsNotTheFormat) {
  Parse("TP=none\r\n", false);
  Parse("TP=none\r\n\r\r\n", false);
  Parse("", false);
  SearchAnswer a;
  EXPECT_FALSE(ParseSearchAnswerHeader(nullptr, 0, a));
}

TEST(SearchAnswerHeader, BinaryBodyIsHandledByLength) {
  const std::string bytes("TP=content\r\n\r\nPK\x03\x04\0\0\r\n\r\n", 24);
  const SearchAnswer a = Parse(bytes);
  EXPECT_EQ(a.kind, AnswerKind::Content);
  EXPECT_EQ(a.bodyOffset, 14u);
  // A NUL in the header does not end it early either.
  const std::string nul("x\0y=1\r\nTP=none\r\n\r\n", 18);
  EXPECT_EQ(Parse(nul).kind, AnswerKind::None);
}

TEST(SearchAnswerHeader, RcodesThatSettleRecognition) {
  EXPECT_TRUE(RcodeSettlesRecognition(1));
  EXPECT_TRUE(RcodeSettlesRecognition(2));
  EXPECT_TRUE(RcodeSettlesRecognition(-1));
  EXPECT_FALSE(RcodeSettlesRecognition(0));
  EXPECT_FALSE(RcodeSettlesRecognition(3));
}

namespace {
std::string Safe(const std::string& raw, bool* folder = nullptr) {
  std::string safe;
  bool isFolder = false;
  if (!SafeEntryName(raw, safe, isFolder)) return "<refused>";
  if (folder) *folder = isFolder;
  return safe;
}
}  // namespace

TEST(ArchiveEntryName, OrdinaryNamesKeepTheirFolders) {
  EXPECT_EQ(Safe("Lyric/A-T.lrc"), "Lyric\\A-T.lrc");
  EXPECT_EQ(Safe("Artist\\A.jpg"), "Artist\\A.jpg");
  EXPECT_EQ(Safe("./Lyric//A-T.lrc"), "Lyric\\A-T.lrc");
  EXPECT_EQ(Safe("a..b/c..lrc"), "a..b\\c..lrc");
  bool folder = false;
  EXPECT_EQ(Safe("MTV/", &folder), "MTV");
  EXPECT_TRUE(folder);
}

TEST(ArchiveEntryName, EscapingNamesAreRefused) {
  EXPECT_EQ(Safe("..\\x"), "<refused>");
  EXPECT_EQ(Safe("../x"), "<refused>");
  EXPECT_EQ(Safe("a\\..\\..\\x"), "<refused>");
  EXPECT_EQ(Safe("a/../../x"), "<refused>");
  EXPECT_EQ(Safe(".."), "<refused>");
  EXPECT_EQ(Safe("a/.."), "<refused>");
  EXPECT_EQ(Safe("a/.../x"), "<refused>");
  EXPECT_EQ(Safe("a/. ./x"), "<refused>");
  EXPECT_EQ(Safe("ab:c"), "<refused>");
  EXPECT_EQ(Safe("a/b:c"), "<refused>");
  EXPECT_EQ(Safe("A.lrc:stream"), "<refused>");
  EXPECT_EQ(Safe("C:..\\x"), "<refused>");
  EXPECT_EQ(Safe(std::string("a\x01.lrc")), "<refused>");
  EXPECT_EQ(Safe("a?.lrc"), "<refused>");
  EXPECT_EQ(Safe(""), "<refused>");
  EXPECT_EQ(Safe("/"), "<refused>");
  EXPECT_EQ(Safe("./"), "<refused>");
}

TEST(ArchiveEntryName, DeviceNamesAreRefused) {
  EXPECT_EQ(Safe("Artist/Nul.jpg"), "<refused>");
  EXPECT_EQ(Safe("con"), "<refused>");
  EXPECT_EQ(Safe("Lyric/COM1.lrc"), "<refused>");
  EXPECT_EQ(Safe("lpt9 .txt"), "<refused>");
  EXPECT_EQ(Safe("aux/x.lrc"), "<refused>");
  EXPECT_EQ(Safe("Artist/Nully.jpg"), "Artist\\Nully.jpg");
  EXPECT_EQ(Safe("COM10.lrc"), "COM10.lrc");
  EXPECT_EQ(Safe("Lyric/Con-Air.lrc"), "Lyric\\Con-Air.lrc");
}

TEST(ArchiveEntryName, RootDriveAndUncPrefixesAreDropped) {
  EXPECT_EQ(Safe("\\x.lrc"), "x.lrc");
  EXPECT_EQ(Safe("/x.lrc"), "x.lrc");
  EXPECT_EQ(Safe("C:\\Windows\\x.dll"), "Windows\\x.dll");
  EXPECT_EQ(Safe("c:/x"), "x");
  EXPECT_EQ(Safe("\\\\server\\share\\x"), "server\\share\\x");
  EXPECT_EQ(Safe("//server/share/x"), "server\\share\\x");
}

TEST(ArchiveEntryName, DoubleByteTrailBackslashIsNoSeparator) {
  // 0x95 0x5C is one character: the name has no folder and no ".." part.
  EXPECT_EQ(Safe(std::string("Lyric/\x95\x5C-T.lrc")), std::string("Lyric\\\x95\x5C-T.lrc"));
  EXPECT_EQ(Safe(std::string("\x95\x5C..")), std::string("\x95\x5C.."));
}

TEST(ArchiveEntryName, LeadByteWithoutTrailIsRefused) {
  // Windows reads the ':' or '/' after a lone lead byte on its own: a stream
  // name, or a separator that turns "..\x81" into "..".
  EXPECT_EQ(Safe(std::string("aa\\\xCA\\\x81:bb")), "<refused>");
  EXPECT_EQ(Safe(std::string("..\x81/evil.lrc")), "<refused>");
  EXPECT_EQ(Safe(std::string("Lyric/A-T.lrc\x81")), "<refused>");
}

TEST(ArchiveEntryName, LyricNamesFromTheFileName) {
  std::string artist, title;
  EXPECT_TRUE(LyricNamesFromEntry("Lyric\\A B-T-2.lrc", artist, title));
  EXPECT_EQ(artist, "A B");
  EXPECT_EQ(title, "T-2");
  EXPECT_TRUE(LyricNamesFromEntry("NoDash.lrc", artist, title));
  EXPECT_EQ(artist, "NoDash");
  EXPECT_EQ(title, "");
  EXPECT_FALSE(LyricNamesFromEntry("Artist\\A.jpg", artist, title));
  EXPECT_EQ(artist, "");
}

TEST(UnpackLimitsTest, BudgetStopsAtEitherLimit) {
  UnpackLimits limits;
  limits.maxEntries = 2;
  limits.maxEntryBytes = 10;
  limits.maxTotalBytes = 15;
  UnpackBudget budget(limits);
  EXPECT_TRUE(budget.AddEntry());
  EXPECT_TRUE(budget.Take(0, 6));
  EXPECT_TRUE(budget.Take(6, 4));
  EXPECT_FALSE(budget.Take(10, 1));  // entry limit
  EXPECT_TRUE(budget.AddEntry());
  EXPECT_TRUE(budget.Take(0, 5));
  EXPECT_FALSE(budget.Take(5, 1));  // total limit
  EXPECT_EQ(budget.Total(), 15u);
  EXPECT_FALSE(budget.AddEntry());
}

TEST(UnpackLimitsTest, DefaultsAreGenerousForLyricsAndPictures) {
  UnpackBudget budget;
  for (int i = 0; i < 8; ++i) {
    EXPECT_TRUE(budget.AddEntry());
    EXPECT_TRUE(budget.Take(0, 2u << 20));
  }
  EXPECT_FALSE(budget.Take(0, uint64_t{1} << 40));
}
