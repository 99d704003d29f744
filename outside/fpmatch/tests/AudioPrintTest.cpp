// The stand-in's fingerprint and its hand-over records.
#include <gtest/gtest.h>

#include <string>

#include "AudioPrint.h"
#include "HandOver.h"

using namespace fpmatch;

namespace {

std::string Id3v2(size_t bodyBytes, char fill, unsigned char flags = 0) {
  std::string h = "ID3";
  h += '\x03';
  h += '\0';
  h += static_cast<char>(flags);
  for (int s = 21; s >= 0; s -= 7) h += static_cast<char>((bodyBytes >> s) & 0x7F);
  return h + std::string(bodyBytes, fill) + ((flags & 0x10) ? "3DI" + std::string(7, '\0') : "");
}

std::string Audio(size_t bytes, unsigned salt) {
  std::string out;
  uint32_t x = salt;
  for (size_t i = 0; i < bytes; ++i) out += static_cast<char>((x = x * 1103515245u + 12345u) >> 16);
  return out;
}

std::string Id3v1(const std::string& title) {
  std::string t = "TAG" + title;
  t.resize(128, '\0');
  return t;
}

SongPrint Print(const std::string& bytes) {
  SongPrint p;
  EXPECT_TRUE(PrintSong(bytes, p));
  return p;
}

}  // namespace

TEST(AudioPrint, TagsAtEitherEndDoNotChangeIt) {
  const std::string audio = Audio(20000, 7);
  const SongPrint bare = Print(audio);
  const SongPrint tagged = Print(Id3v2(300, 'a') + audio + Id3v1("one"));
  const SongPrint retagged = Print(Id3v2(900, 'b', 0x10) + audio + Id3v1("two"));
  EXPECT_EQ(AgreeingWords(bare.words, tagged.words), kPrintWords);
  EXPECT_EQ(AgreeingWords(bare.words, retagged.words), kPrintWords);
  EXPECT_EQ(tagged.signature[0], retagged.signature[0]);
  EXPECT_EQ(tagged.signature[1], 20000u);
  EXPECT_EQ(tagged.audioStart, 310);
  EXPECT_EQ(retagged.audioStart, 920);
  EXPECT_EQ(tagged.format, "mp3");
}

TEST(AudioPrint, OtherAudioGivesAnotherPrint) {
  const SongPrint a = Print(Audio(20000, 7));
  const SongPrint b = Print(Audio(20000, 8));
  EXPECT_LT(AgreeingWords(a.words, b.words), 8u);
  EXPECT_NE(a.signature[0], b.signature[0]);
  // One changed byte changes one word only: a near match stays near.
  std::string changed = Audio(20000, 7);
  changed[5000] ^= 1;
  EXPECT_EQ(AgreeingWords(a.words, Print(changed).words), kPrintWords - 1);
}

TEST(AudioPrint, NoAudioNoPrint) {
  SongPrint p;
  EXPECT_FALSE(PrintSong("", p));
  EXPECT_FALSE(PrintSong(Id3v2(50, 'x'), p));
  // A tag claiming more than the file holds leaves no audio either.
  EXPECT_FALSE(PrintSong(Id3v2(50, 'x').substr(0, 30), p));
}

TEST(HandOver, RecordsRoundTripAndFill) {
  std::string record(kRecordBytes, '\0');
  record.replace(kSongPathAt, 10, "C:\\a\\s.mp3");
  const std::string file = WriteHandOver({record, record});
  ASSERT_EQ(file.size(), 4 + 2 * kRecordBytes);
  EXPECT_EQ(file.substr(0, 4), std::string("\x02\0\0\0", 4));
  std::vector<std::string> back;
  ASSERT_TRUE(ReadHandOver(file, back));
  ASSERT_EQ(back.size(), 2u);
  EXPECT_EQ(SongPathOf(back[1]), "C:\\a\\s.mp3");
  const SongPrint p = Print(Audio(5000, 3));
  FillRecord(back[0], p, "s.mp3");
  EXPECT_EQ(ReadLe32(back[0], kPrintAt), p.words[0]);
  EXPECT_EQ(ReadLe32(back[0], kPrintAt + 4 * 255), p.words[255]);
  EXPECT_EQ(ReadLe32(back[0], kSignatureAt + 4), 5000u);
  EXPECT_EQ(ReadLe32(back[0], kMetaNumberAt[0]), 5000u);
  EXPECT_EQ(back[0].substr(kMetaTextAt[2], 6), std::string("s.mp3\0", 6));
  // The song path is left as the engine wrote it.
  EXPECT_EQ(SongPathOf(back[0]), "C:\\a\\s.mp3");
  EXPECT_FALSE(ReadHandOver(file.substr(0, file.size() - 1), back));
  EXPECT_FALSE(ReadHandOver(std::string(4, '\0'), back));
}
