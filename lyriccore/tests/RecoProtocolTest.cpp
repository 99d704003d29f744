// Fingerprint recognition as bytes: the record, the hand-over file, the
// request line and body, the answer, and the decisions on the song record.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "RecoProtocol.h"
#include "TestRecords.h"

using namespace zl;

namespace {

RecoTagInfo Zeroed() {
  RecoTagInfo r;
  std::memset(&r, 0, sizeof r);
  return r;
}

std::string Bytes(const RecoTagInfo& r) { return std::string(reinterpret_cast<const char*>(&r), sizeof r); }

void PutText(RecoTagInfo& r, size_t offset, const std::string& text) {
  std::memcpy(reinterpret_cast<char*>(&r) + offset, text.c_str(), text.size() + 1);
}

int Parse(const std::string& answer, std::vector<RecoTagInfo>& records) {
  return ParseRecognitionAnswer(answer.data(), answer.size(), records.data(), static_cast<int>(records.size()));
}

}  // namespace

TEST(RecoRecord, PreparedForTheRecognitionEngine) {
  const std::string longPath = "C:\\" + std::string(300, 'p');
  const RecoTagInfo r = PrepareRecoTagInfo(longPath, std::string(200, 't'), "\xC4\xE3" + std::string(126, 'a'),
                                           std::string(300, 'l'));
  const std::string b = Bytes(r);
  EXPECT_EQ(b.substr(2288, 259), longPath.substr(0, 259));
  EXPECT_EQ(b[2288 + 259], '\0');
  EXPECT_EQ(b.substr(8, 127), std::string(127, 't'));
  EXPECT_EQ(b[8 + 127], '\0');
  // 127 bytes would end inside the last double-byte character: one less.
  EXPECT_EQ(std::strlen(r.artist), 127u);
  EXPECT_EQ(b.substr(264, 255), std::string(255, 'l'));
  // The metadata texts and everything else are left for the recognition engine.
  EXPECT_EQ(b.substr(519), std::string(2288 - 519, '\0') + b.substr(2288, 260) + std::string(2720 - 2548, '\0'));
  EXPECT_FALSE(HasFingerprint(r));
}

TEST(RecoHandOver, CountAndRecordsRoundTrip) {
  RecoTagInfo r = Zeroed();
  r.fp[3] = 0x1234;
  const std::string file = FormatHandOverFile({r});
  ASSERT_EQ(file.size(), 4u + 2720u);
  EXPECT_EQ(file.substr(0, 4), std::string("\x01\0\0\0", 4));
  EXPECT_EQ(file.substr(4 + 1256 + 12, 4), std::string("\x34\x12\0\0", 4));
  std::vector<RecoTagInfo> back;
  ASSERT_EQ(ParseHandOverFile(file.data(), file.size(), back), HandOverRead::Ok);
  ASSERT_EQ(back.size(), 1u);
  EXPECT_TRUE(HasFingerprint(back[0]));
  EXPECT_EQ(Bytes(back[0]), Bytes(r));
  // Bytes after the counted records are not looked at.
  const std::string longer = file + "trailing";
  EXPECT_EQ(ParseHandOverFile(longer.data(), longer.size(), back), HandOverRead::Ok);
}

TEST(RecoHandOver, CountIsBoundedAndNothingIsReadPastTheFile) {
  std::vector<RecoTagInfo> back;
  const std::string one = FormatHandOverFile({Zeroed()});
  EXPECT_EQ(ParseHandOverFile(one.data(), 3, back), HandOverRead::TooShort);
  EXPECT_EQ(ParseHandOverFile(nullptr, 0, back), HandOverRead::TooShort);
  // Claims two records, holds one: read from a buffer of exactly that size.
  std::string two = one;
  two[0] = 2;
  std::vector<char> exact(two.begin(), two.end());
  EXPECT_EQ(ParseHandOverFile(exact.data(), exact.size(), back), HandOverRead::Truncated);
  EXPECT_TRUE(back.empty());
  for (int32_t count : {0, -1, kMaxHandOverRecords + 1, 100000, INT32_MIN}) {
    std::string bad = one;
    std::memcpy(&bad[0], &count, 4);
    EXPECT_EQ(ParseHandOverFile(bad.data(), bad.size(), back), HandOverRead::BadCount) << count;
  }
  std::string most(4, '\0');
  std::memcpy(&most[0], &kMaxHandOverRecords, 4);
  most += std::string(kMaxHandOverRecords * 2720u, '\0');
  EXPECT_EQ(ParseHandOverFile(most.data(), most.size(), back), HandOverRead::Ok);
  EXPECT_EQ(back.size(), static_cast<size_t>(kMaxHandOverRecords));
}

TEST(RecoHandOver, TextFieldsComeBackTerminated) {
  std::string file = FormatHandOverFile({Zeroed()});
  std::memset(&file[4], 'A', 2720);
  std::vector<RecoTagInfo> back;
  ASSERT_EQ(ParseHandOverFile(file.data(), file.size(), back), HandOverRead::Ok);
  const RecoTagInfo& r = back[0];
  EXPECT_EQ(std::strlen(r.title), 127u);
  EXPECT_EQ(std::strlen(r.album), 767u);
  EXPECT_EQ(std::strlen(r.field8), 31u);
  EXPECT_EQ(std::strlen(r.songPath), 259u);
  EXPECT_EQ(std::strlen(r.lastField), 127u);
  EXPECT_EQ(RecoMetaText(r, 2), std::string(128, 'A'));
}

TEST(RecoRequest, LineFollowsTheServersFormat) {
  RecoTagInfo r = Zeroed();
  PutText(r, 520, "MP3");
  PutText(r, 648, "engine 2");
  PutText(r, 776, "x|y");
  r.metaNumber1 = 11;  // at 2552
  r.metaNumber2 = -22; // at 2556
  PutText(r, 1032, "f5");
  r.audioSig[0] = 0xab;
  r.audioSig[1] = 0xFFFFFFFF;
  std::string fp;
  for (uint32_t i = 0; i < 256; ++i) {
    r.fp[i] = i * 0x01010101u;
    char hex[16];
    std::snprintf(hex, sizeof hex, "%s%x", i ? "%2C" : "", static_cast<unsigned>(i * 0x01010101u));
    fp += hex;
  }
  EXPECT_EQ(fp.substr(0, 22), "0%2C1010101%2C2020202%");
  EXPECT_EQ(FingerprintText(r.fp), fp);
  EXPECT_EQ(RecognitionRequestLine("7,1.0,abc", r, 3000000000LL, "song.mp3"),
            "17,1.0,abc%09meta=MP3|engine 2|x|y|-22|11|3000000000|f5|song.mp3%09sig=ab%2Cffffffff%09fp=" + fp +
                "%0D%0A");
}

TEST(RecoRequest, BodyIsPaddedBeforeBase64) {
  // 10 bytes go out as the Base64 of 12: two '=' bytes are appended first.
  EXPECT_EQ(RecognitionRequestBody("abcdefghij"), "YWJjZGVmZ2hpaj09");
  EXPECT_EQ(RecognitionRequestBody("abcdefghijk"), "YWJjZGVmZ2hpams9");
  EXPECT_EQ(RecognitionRequestBody("abcdefghi"), "YWJjZGVmZ2hp");
  EXPECT_EQ(RecognitionRequestBody(""), "");
}

TEST(RecoRequest, FingerprintTextBackToWords) {
  uint32_t words[256];
  FingerprintWordsFromText("1a2b%2Cffffffff%2C0%2CABC%2C0x10", words);
  EXPECT_EQ(words[0], 0x1a2bu);
  EXPECT_EQ(words[1], 0xffffffffu);
  EXPECT_EQ(words[2], 0u);
  EXPECT_EQ(words[3], 0xabcu);
  EXPECT_EQ(words[4], 0x10u);
  EXPECT_EQ(words[5], 0u);
  // More than 256 numbers: the rest is not written anywhere.
  std::string many = "1";
  for (int i = 0; i < 400; ++i) many += "%2C2";
  uint32_t guarded[258];
  std::memset(guarded, 0xEE, sizeof guarded);
  FingerprintWordsFromText(many, *reinterpret_cast<uint32_t(*)[256]>(&guarded[1]));
  EXPECT_EQ(guarded[0], 0xEEEEEEEEu);
  EXPECT_EQ(guarded[1], 1u);
  EXPECT_EQ(guarded[256], 2u);
  EXPECT_EQ(guarded[257], 0xEEEEEEEEu);
  // A broken list ends where it breaks.
  FingerprintWordsFromText("5%2Czz%2C6", words);
  EXPECT_EQ(words[0], 5u);
  EXPECT_EQ(words[1], 0u);
  EXPECT_EQ(words[2], 0u);
  RecoTagInfo r = Zeroed();
  for (uint32_t i = 0; i < 256; ++i) r.fp[i] = i * 2654435761u;
  FingerprintWordsFromText(FingerprintText(r.fp), words);
  EXPECT_EQ(std::memcmp(words, r.fp, sizeof words), 0);
}

TEST(RecoAnswer, EmptyAnswerMeansNoAnswer) {
  std::vector<RecoTagInfo> recs(2, Zeroed());
  recs[1].status = RECO_STATUS_FOUND;
  EXPECT_EQ(Parse("", recs), 2);
  EXPECT_EQ(recs[0].status, RECO_STATUS_NO_ANSWER);
  EXPECT_EQ(recs[1].status, RECO_STATUS_NO_ANSWER);
  recs[0].status = 0;
  EXPECT_EQ(Parse(std::string("\0" "1\tx", 4), recs), 2);
  EXPECT_EQ(recs[0].status, RECO_STATUS_NO_ANSWER);
}

TEST(RecoAnswer, FoundLineFillsTheFields) {
  std::vector<RecoTagInfo> recs(1, PrepareRecoTagInfo("C:\\s.mp3", "old title", "old artist", "old album"));
  EXPECT_EQ(Parse("1\t42\tTi\tAr\tAl\tfive\tsix\tseven\teight\t9\tten\r\nextra\n", recs), 1);
  const RecoTagInfo& r = recs[0];
  EXPECT_EQ(r.status, RECO_STATUS_FOUND);
  EXPECT_EQ(r.resultId, 42);
  EXPECT_STREQ(r.title, "Ti");
  EXPECT_STREQ(r.artist, "Ar");
  EXPECT_STREQ(r.album, "Al");
  EXPECT_STREQ(r.field5, "five");
  EXPECT_STREQ(r.field6, "six");
  EXPECT_STREQ(r.field7, "seven");
  EXPECT_STREQ(r.field8, "eight");
  EXPECT_STREQ(r.lastField, "ten");
  EXPECT_STREQ(r.songPath, "C:\\s.mp3");
  // Fields the line lacks are empty, not left from before.
  EXPECT_EQ(Parse("1\t7\tOnly title", recs = {PrepareRecoTagInfo("", "t", "a", "al")}), 1);
  EXPECT_STREQ(recs[0].title, "Only title");
  EXPECT_STREQ(recs[0].artist, "");
  EXPECT_STREQ(recs[0].album, "");
  // Long fields are cut to their size, never inside a double-byte character.
  EXPECT_EQ(Parse("1\t1\t" + std::string(126, 'a') + "\xC4\xE3\t" + std::string(40, 'b'), recs = {Zeroed()}), 1);
  EXPECT_EQ(std::string(recs[0].title), std::string(126, 'a'));
  EXPECT_EQ(std::string(recs[0].artist), std::string(40, 'b'));
}

TEST(RecoAnswer, CodesOtherThanFoundAndNotKnownFail) {
  struct Case {
    const char* answer;
    int32_t status;
    int result;
  } cases[] = {
      {"2\n", RECO_STATUS_NOT_KNOWN, 1},
      {"2\tanything", RECO_STATUS_NOT_KNOWN, 1},
      {"1\n", RECO_STATUS_FAILED, 0},
      {"1 \tTi", RECO_STATUS_FAILED, 0},
      {"3\tTi", RECO_STATUS_FAILED, 0},
      {"-1\tTi", RECO_STATUS_FAILED, 0},
      {"abc", RECO_STATUS_FAILED, 0},
      {"\n1\tTi", RECO_STATUS_FAILED, 0},
      {"12\tTi", RECO_STATUS_FAILED, 0},
  };
  for (const Case& c : cases) {
    std::vector<RecoTagInfo> recs(1, Zeroed());
    EXPECT_EQ(Parse(c.answer, recs), c.result) << c.answer;
    EXPECT_EQ(recs[0].status, c.status) << c.answer;
  }
}

TEST(RecoAnswer, SettledRecordsTakeNoLine) {
  std::vector<RecoTagInfo> recs(4, Zeroed());
  recs[0].status = RECO_STATUS_FOUND;
  recs[2].status = RECO_STATUS_NOT_KNOWN;
  recs[3].status = RECO_STATUS_FAILED;  // tried again
  EXPECT_EQ(Parse("2\n1\t5\tTi\n", recs), 1);
  EXPECT_EQ(recs[0].status, RECO_STATUS_FOUND);
  EXPECT_EQ(recs[1].status, RECO_STATUS_NOT_KNOWN);
  EXPECT_EQ(recs[2].status, RECO_STATUS_NOT_KNOWN);
  EXPECT_EQ(recs[3].status, RECO_STATUS_FOUND);
  EXPECT_STREQ(recs[3].title, "Ti");
  // A record left without a line fails the call.
  std::vector<RecoTagInfo> two(2, Zeroed());
  EXPECT_EQ(Parse("2\n", two), 0);
  EXPECT_EQ(two[0].status, RECO_STATUS_NOT_KNOWN);
  EXPECT_EQ(two[1].status, RECO_STATUS_FAILED);
}

TEST(RecoDecision, StoredOutcomeHoldsForItsInterval) {
  const int64_t now = 1700000000;
  const int64_t day = 86400;
  SongFileAtr s{};
  s.recTime = static_cast<int32_t>(now - 2 * day);
  Set(s.recTitle, "Ti");
  EXPECT_TRUE(RecognitionOutcomeStands(s, now, 0, 0));      // success holds 3 days
  EXPECT_FALSE(RecognitionOutcomeStands(s, now, 0, 60));    // a configured hour
  EXPECT_TRUE(RecognitionOutcomeStands(s, now + day - 1, 0, 0));
  EXPECT_FALSE(RecognitionOutcomeStands(s, now + day, 0, 0));  // three days old
  s.recTitle[0] = '\0';
  EXPECT_FALSE(RecognitionOutcomeStands(s, now, 0, 0));     // failure holds 1 day
  EXPECT_TRUE(RecognitionOutcomeStands(s, now, 3 * 1440, 0));
  s.recTime = static_cast<int32_t>(now - day + 1);
  EXPECT_TRUE(RecognitionOutcomeStands(s, now, 0, 0));
  s.recTime = static_cast<int32_t>(now - day);
  EXPECT_FALSE(RecognitionOutcomeStands(s, now, 0, 0));
  s.recTime = static_cast<int32_t>(now + 60);  // in the future
  Set(s.recTitle, "Ti");
  EXPECT_FALSE(RecognitionOutcomeStands(s, now, 0, 0));
  s.recTime = static_cast<int32_t>(now);
  EXPECT_TRUE(RecognitionOutcomeStands(s, now, 0, 0));
  s.goonrec = 1;
  EXPECT_FALSE(RecognitionOutcomeStands(s, now, 0, 0));
  s.goonrec = 0;
  s.recTime = 0;
  EXPECT_FALSE(RecognitionOutcomeStands(s, now, 0, 0));
}

TEST(RecoDecision, OutcomeStoredInTheSongRecord) {
  SongFileAtr s{};
  s.goonrec = 1;
  RecoTagInfo r = Zeroed();
  r.status = RECO_STATUS_FOUND;
  PutText(r, 8, " \tTi\r\n");
  PutText(r, 136, std::string(150, 'a').substr(0, 127));
  PutText(r, 264, "Al ");
  EXPECT_EQ(ApplyRecognitionOutcome(s, r, 1234), RecoOutcome::Found);
  EXPECT_STREQ(s.recTitle, "Ti");
  EXPECT_EQ(std::string(s.recArtist), std::string(99, 'a'));
  EXPECT_STREQ(s.recAlbum, "Al");
  EXPECT_EQ(s.goonrec, 0);
  EXPECT_EQ(s.recTime, 1234);

  r.status = RECO_STATUS_NO_ANSWER;
  EXPECT_EQ(ApplyRecognitionOutcome(s, r, 1300), RecoOutcome::NoAnswer);
  EXPECT_EQ(s.goonrec, 1);
  EXPECT_STREQ(s.recTitle, "Ti");
  r.status = RECO_STATUS_NOT_KNOWN;
  EXPECT_EQ(ApplyRecognitionOutcome(s, r, 1400), RecoOutcome::NotKnown);
  EXPECT_EQ(s.goonrec, 0);
  s.goonrec = 1;
  r.status = 0;
  EXPECT_EQ(ApplyRecognitionOutcome(s, r, 1500), RecoOutcome::Failed);
  EXPECT_EQ(s.goonrec, 1);
  EXPECT_EQ(s.recTime, 1500);
}
