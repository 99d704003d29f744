#include <gtest/gtest.h>

#include "Id3v2.h"
#include "SongTags.h"
#include "TestBytes.h"
#include "TestConverter.h"

using namespace tagprobe;

namespace {

// 晴天, 周杰伦, 叶惠美 in GBK.
const std::string kTitle = "\xC7\xE7\xCC\xEC", kArtist = "\xD6\xDC\xBD\xDC\xC2\xD7",
                  kAlbum = "\xD2\xB6\xBB\xDD\xC3\xC0";

SongBytes View(const Bytes& file) {
  SongBytes v;
  v.head = file.data(), v.headSize = file.size(), v.fileSize = file.size();
  v.tailSize = file.size() < 128 ? file.size() : 128;
  v.tail = file.data() + file.size() - v.tailSize;
  return v;
}

SongNames Names(const Bytes& file) { return ReadSongNames(View(file), TestConverter()); }

void ExpectNames(const SongNames& n, const std::string& title, const std::string& artist, const std::string& album) {
  EXPECT_EQ(n.title, title);
  EXPECT_EQ(n.artist, artist);
  EXPECT_EQ(n.album, album);
}

}  // namespace

TEST(Id3v2Read, Version23Utf16Frames) {
  const Bytes frames = V23Frame("TIT2", B({1, 0xFF, 0xFE, 0x74, 0x66, 0x29, 0x59})) +
                       V23Frame("TPE1", B({1, 0xFF, 0xFE, 0x68, 0x54, 0x70, 0x67, 0x26, 0x4F, 0, 0})) +
                       V23Frame("TALB", B({1, 0xFE, 0xFF, 0x53, 0xF6, 0x60, 0xE0, 0x7F, 0x8E})) + Bytes(64, 0);
  ExpectNames(Names(Id3Tag(3, frames) + AudioFrames(3)), kTitle, kArtist, kAlbum);
}

TEST(Id3v2Read, Version24Utf8FramesWithSyncsafeSizes) {
  // The 200-byte frame in front makes a plain reading of the sizes go wrong.
  const Bytes frames = V24Frame("TXXX", B({3, 'k', 0}) + Bytes(197, 'v')) +
                       V24Frame("TIT2", B({3, 0xE6, 0x99, 0xB4, 0xE5, 0xA4, 0xA9})) +
                       V24Frame("TPE1", B({3, 0xE5, 0x91, 0xA8, 0xE6, 0x9D, 0xB0, 0xE4, 0xBC, 0xA6, 0})) +
                       V24Frame("TALB", B({3, 0xE5, 0x8F, 0xB6, 0xE6, 0x83, 0xA0, 0xE7, 0xBE, 0x8E}));
  ExpectNames(Names(Id3Tag(4, frames) + AudioFrames(2)), kTitle, kArtist, kAlbum);
}

TEST(Id3v2Read, Version24WithPlainSizesAsSomeWritersDo) {
  // 256 bytes: 00 00 01 00, which read as syncsafe would be 128.
  const Bytes frames = V23Frame("TXXX", B({3, 'k', 0}) + Bytes(253, 'v')) + V23Frame("TIT2", B({3, 'T', 'i'})) +
                       V23Frame("TPE1", B({3, 'A', 'r'}));
  ExpectNames(Names(Id3Tag(4, frames) + AudioFrames(1)), "Ti", "Ar", "");
}

TEST(Id3v2Read, Version22ThreeLetterFrames) {
  const Bytes frames = S("TT2") + B({0, 0, 4, 0, 'O', 'n', 'e'}) + S("TP1") + B({0, 0, 3, 0, 'A', 'r'}) + S("TAL") +
                       B({0, 0, 5, 1, 0xFF, 0xFE, 'X', 0});
  ExpectNames(Names(Id3Tag(2, frames) + AudioFrames(1)), "One", "Ar", "X");
}

TEST(Id3v2Read, TagWideUnsynchronisationOfVersion23) {
  // TIT2 holds 01 FF FE 41 00 (5 bytes); unsynchronised it is stored as 01 FF 00 FE 41 00.
  const Bytes frames =
      S("TIT2") + B({0, 0, 0, 5, 0, 0, 1, 0xFF, 0x00, 0xFE, 0x41, 0x00}) + V23Frame("TPE1", B({0, 'B'}));
  ExpectNames(Names(Id3Tag(3, frames, 0x80) + AudioFrames(1)), "A", "B", "");
}

TEST(Id3v2Read, FrameUnsynchronisationAndDataLengthOfVersion24) {
  const Bytes body = B({0, 0, 0, 5, 1, 0xFF, 0x00, 0xFE, 0x41, 0x00});
  const Bytes frames = V24Frame("TIT2", body, 0x0003) + V24Frame("TPE1", B({0, 'B'}));
  ExpectNames(Names(Id3Tag(4, frames) + AudioFrames(1)), "A", "B", "");
}

TEST(Id3v2Read, ExtendedHeadersAreSkipped) {
  const Bytes title = V23Frame("TIT2", B({0, 'T'}));
  EXPECT_EQ(Names(Id3Tag(3, B({0, 0, 0, 6, 0, 0, 0, 0, 0, 0}) + title, 0x40) + AudioFrames(1)).title, "T");
  EXPECT_EQ(Names(Id3Tag(4, B({0, 0, 0, 6, 1, 0}) + V24Frame("TIT2", B({0, 'T'})), 0x40) + AudioFrames(1)).title, "T");
}

TEST(Id3v2Read, CompressedAndEncryptedFramesAreNotReadAsText) {
  const Bytes frames = V23Frame("TIT2", B({0, 0, 0, 9, 'x', 'x'}), 0x0080) +     // compressed
                       V23Frame("TIT2", B({1, 'x', 'x'}), 0x0040) +              // encrypted
                       V23Frame("TIT2", B({7, 0, 'R', 'e', 'a', 'l'}), 0x0020);  // grouped: id 7
  const Bytes file = Id3Tag(3, frames) + AudioFrames(1);
  Id3v2Tag tag;
  ASSERT_TRUE(ParseId3v2(file.data(), file.size(), tag));
  ASSERT_EQ(tag.frames.size(), 3u);
  EXPECT_TRUE(tag.frames[0].compressed);
  EXPECT_EQ(tag.frames[0].dataLength, 9u);
  EXPECT_EQ(tag.frames[1].encryptionMethod, 1);
  EXPECT_EQ(tag.frames[2].groupId, 7);
  EXPECT_EQ(Names(file).title, "Real");
}

TEST(Id3v1Read, AloneOrFillingWhatId3v2Lacks) {
  const Bytes v1 = Id3v1(kTitle, "Jay Chou", std::string("\xD2\xB6\xBB\xDD\xC3\xC0"));
  ExpectNames(Names(AudioFrames(2) + v1), kTitle, "Jay Chou", kAlbum);
  ExpectNames(Names(Id3Tag(3, V23Frame("TIT2", B({0, 'T'}))) + AudioFrames(2) + v1), "T", "Jay Chou", kAlbum);
}

TEST(Id3v1Read, FullFieldsAndCutCharacters) {
  // 29 bytes of text and the lead byte of a character the writer cut off.
  const std::string cut =
      std::string("\xC7\xE7\xCC\xEC\xC7\xE7\xCC\xEC\xC7\xE7\xCC\xEC\xC7\xE7") + std::string(15, 'a') + "\xCC";
  ASSERT_EQ(cut.size(), 30u);
  const SongNames n = Names(AudioFrames(1) + Id3v1(cut, std::string(30, 'b'), "x  "));
  EXPECT_EQ(n.title, cut.substr(0, 29));
  EXPECT_EQ(n.artist, std::string(30, 'b'));
  EXPECT_EQ(n.album, "x");
}

TEST(Id3v2Hostile, SizesBeyondTheBytesAreNotFollowed) {
  const Bytes title = V23Frame("TIT2", B({0, 'T'}));
  const Bytes v1 = Id3v1("one", "two", "three");
  // A frame that claims more than the tag holds: what came before it counts.
  Bytes file = Id3Tag(3, title + S("TPE1") + B({0x7F, 0xFF, 0xFF, 0xFF, 0, 0, 0, 'x'})) + AudioFrames(1) + v1;
  Id3v2Tag tag;
  ASSERT_TRUE(ParseId3v2(file.data(), file.size(), tag));
  EXPECT_FALSE(tag.complete);
  ExpectNames(Names(file), "T", "two", "three");

  // A tag that claims more than the file: the frames at hand are read.
  file = Id3Header(3, 0, 0x0FFFFFFF) + title;
  ASSERT_TRUE(ParseId3v2(file.data(), file.size(), tag));
  EXPECT_FALSE(tag.complete);
  EXPECT_EQ(Names(file).title, "T");

  // An extended header larger than the tag: no frames.
  file = Id3Tag(3, B({0x7F, 0xFF, 0xFF, 0xFF}) + title, 0x40) + AudioFrames(1) + v1;
  ExpectNames(Names(file), "one", "two", "three");

  // Size bytes that are not syncsafe: the header is not trusted at all.
  file = S("ID3") + B({3, 0, 0, 0x80, 0, 0, 0}) + AudioFrames(1) + v1;
  Id3v2Header header;
  EXPECT_EQ(ProbeId3v2(file.data(), file.size(), header), Id3v2Probe::kBad);
  ExpectNames(Names(file), "one", "two", "three");

  for (const Bytes& tiny : {Bytes{}, S("ID3"), S("TAG"), S("ID3") + B({4, 0, 0, 0, 0, 0, 1})})
    EXPECT_FALSE(Names(tiny).Any());
}

TEST(Id3v2Hostile, ZeroSizedAndGarbageFramesStopOrPassSafely) {
  const Bytes frames = V23Frame("TPE1", B({})) + V23Frame("TIT2", B({0, 'T'})) + S("ab!?") + Bytes(20, 1);
  const Bytes file = Id3Tag(3, frames);
  Id3v2Tag tag;
  ASSERT_TRUE(ParseId3v2(file.data(), file.size(), tag));
  EXPECT_FALSE(tag.complete);
  EXPECT_EQ(Names(file).title, "T");
}
