#include "SongSignature.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "SongBytes.h"

using namespace zl;
using namespace songbytes;

namespace {

class MemorySource : public ByteSource {
 public:
  explicit MemorySource(std::string bytes) : bytes_(std::move(bytes)) {}
  uint64_t Size() const override { return bytes_.size(); }
  bool ReadAt(uint64_t offset, void* buffer, size_t n, size_t& got) const override {
    got = offset >= bytes_.size() ? 0 : static_cast<size_t>(std::min<uint64_t>(n, bytes_.size() - offset));
    if (got) std::memcpy(buffer, bytes_.data() + offset, got);
    return true;
  }

 private:
  std::string bytes_;
};

std::pair<uint32_t, uint32_t> Fold(const std::string& bytes) {
  uint32_t h1 = 0, h2 = 0;
  FoldBytePairs(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(), h1, h2);
  return {h1, h2};
}

std::pair<uint32_t, uint32_t> Sig(const std::string& file, bool isMp3) {
  uint32_t h1 = 0, h2 = 0;
  EXPECT_TRUE(FileSignature(MemorySource(file), isMp3, h1, h2));
  return {h1, h2};
}

std::string Pattern(size_t n, unsigned salt) {
  std::string s(n, '\0');
  uint32_t x = salt;
  for (char& c : s) {
    x = x * 1664525u + 1013904223u;
    c = static_cast<char>(x >> 24);
  }
  return s;
}

}  // namespace

TEST(SignatureMaths, PairFoldByHand) {
  EXPECT_EQ(Fold("\x01\x02"), std::make_pair(1u, 2u));
  // (1 * 16777619) ^ 3 and (2 * 16777619) ^ 4.
  EXPECT_EQ(Fold("\x01\x02\x03\x04"), std::make_pair(0x01000190u, 0x02000322u));
  EXPECT_EQ(Fold(std::string("\x01\x02\x03", 3)), std::make_pair(1u, 2u));  // a lone last byte is left out
  // Bytes count unsigned: 0xFF stays 255.
  EXPECT_EQ(Fold("\xFF\x80"), std::make_pair(255u, 128u));
}

TEST(SignatureMaths, KeyIsTheEightBytesInMemoryOrder) {
  EXPECT_EQ(SignatureKey(0x11223344u, 0xAABBCCDDu), "44332211DDCCBBAA");
  EXPECT_EQ(SignatureKey(0, 1), "0000000001000000");
}

TEST(SignatureMaths, NamesHashTakesBytesAsSigned) {
  EXPECT_EQ(NamesHash("a", "b"), 1627429073u);  // (97 * 16777619) ^ 98
  EXPECT_EQ(NamesHash("\xC0", "A"), 0xBFFF9B01u);
  EXPECT_EQ(NamesHash("", ""), 0u);
  // Only the first 259 bytes of artist + title count.
  EXPECT_EQ(NamesHash(std::string(200, 'x'), std::string(59, 'y') + "TAIL"),
            NamesHash(std::string(200, 'x'), std::string(59, 'y')));
}

TEST(FileSignature, SmallFileIsHashedWhole) {
  const std::string file = Pattern(5000, 7);
  EXPECT_EQ(Sig(file, false), Fold(file));
  EXPECT_EQ(Sig(file, true), Fold(file));  // no tags to skip
}

TEST(FileSignature, MiddleSizesDropTheEdges) {
  const std::string f15k = Pattern(15000, 3);  // first 10240 dropped, 4760 left: whole rest
  EXPECT_EQ(Sig(f15k, false), Fold(f15k.substr(10240)));
  // 30720 bytes: both edges dropped, exactly 10240 left: ten adjacent samples.
  const std::string f30k = Pattern(30720, 4);
  std::string buffer = f30k.substr(10240, 10240);
  buffer += std::string("\x00\x28\x00\x00\x00\x00\x00\x00", 8);  // 10240 little-endian
  EXPECT_EQ(Sig(f30k, false), Fold(buffer));
}

TEST(FileSignature, LargeFileIsSampledTenTimesWithItsLength) {
  const std::string file = Pattern(1 << 20, 9);
  const uint64_t length = (1 << 20) - 2 * 10240;  // 1028096
  const uint64_t step = length / 10;
  std::string buffer;
  for (int i = 0; i < 10; ++i) buffer += file.substr(10240 + i * step, 1024);
  for (int b = 0; b < 8; ++b) buffer += static_cast<char>((length >> (8 * b)) & 0xFF);
  EXPECT_EQ(Sig(file, false), Fold(buffer));

  std::string outside = file;
  outside[10240 + 1024 + 5] ^= 0x55;  // between the first two samples
  outside[100] ^= 0x55;               // in the dropped head
  EXPECT_EQ(Sig(outside, false), Sig(file, false));
  std::string inside = file;
  inside[10240 + 3 * step + 10] ^= 0x55;
  EXPECT_NE(Sig(inside, false), Sig(file, false));
}

TEST(FileSignature, Mp3TagsAreLeftOut) {
  const std::string audio = AudioFrames(60, 5);  // about 25 KB
  const std::string tagged = Id3v2Tag("Title", "Artist", "Album") + audio + Id3v1Tag("Title");
  EXPECT_EQ(Sig(tagged, true), Sig(audio, true));
  EXPECT_NE(Sig(tagged, false), Sig(audio, false));  // other files are taken whole
  const std::string small = AudioFrames(5, 6);
  EXPECT_EQ(Sig(Id3v2Tag("t", "a", "l") + small, true), Fold(small));
  EXPECT_EQ(Sig(small + Id3v1Tag("t"), true), Fold(small));
}

TEST(FileSignature, Id3v2HeaderRules) {
  const std::string audio = Pattern(3000, 11);
  const std::string body(100, 'b');
  // Footer flag: ten more bytes belong to the tag.
  EXPECT_EQ(Sig(Id3v2Header(100, 4, 0x10) + body + std::string(10, 'f') + audio, true), Fold(audio));
  // Unsynchronisation, unknown flags or versions: the header is not taken as a tag.
  for (const std::string& head : {Id3v2Header(100, 3, 0x80), Id3v2Header(100, 3, 0x01), Id3v2Header(100, 5),
                                  Id3v2Header(100, 1)}) {
    const std::string file = head + body + audio;
    EXPECT_EQ(Sig(file, true), Fold(file));
  }
  // A tag that claims the whole file or more is not skipped.
  const std::string claims = Id3v2Header(5000) + audio;
  EXPECT_EQ(Sig(claims, true), Fold(claims));
}

TEST(FileSignature, EmptyRegionsFail) {
  uint32_t h1 = 1, h2 = 1;
  EXPECT_FALSE(FileSignature(MemorySource(""), false, h1, h2));
  // An ID3v1 tag and nothing before it but a short ID3v2 tag.
  const std::string onlyTags = Id3v2Header(10) + std::string(10, '\0') + std::string(90, 'x') + Id3v1Tag("t");
  EXPECT_EQ(onlyTags.size(), 238u);
  EXPECT_TRUE(FileSignature(MemorySource(onlyTags), true, h1, h2));  // 90 bytes of audio left
  const std::string nothingLeft = Id3v2Header(90) + std::string(90, '\0') + Id3v1Tag("t");
  EXPECT_FALSE(FileSignature(MemorySource(nothingLeft), true, h1, h2));
  EXPECT_EQ(h1, 0u);
  EXPECT_EQ(h2, 0u);
}

TEST(FileSignature, RealFileThroughTheFileSource) {
  const std::filesystem::path path = std::filesystem::temp_directory_path() / "zl_sig_test.mp3";
  const std::string bytes = Id3v2Tag("T", "A", "L") + AudioFrames(40, 2);
  {
    std::ofstream out(path, std::ios::binary);
    out << bytes;
  }
  {
    const FileByteSource source(path.string());
    ASSERT_TRUE(source.IsOpen());
    EXPECT_EQ(source.Size(), bytes.size());
    uint32_t h1 = 0, h2 = 0;
    ASSERT_TRUE(FileSignature(source, HasMp3Extension(path.string()), h1, h2));
    EXPECT_EQ(std::make_pair(h1, h2), Sig(bytes, true));
  }
  std::filesystem::remove(path);
  EXPECT_FALSE(FileByteSource(path.string()).IsOpen());
}

TEST(SongSignature, FoldsTheWordsAfterTheSkip) {
  std::string file = Pattern(4480, 1);
  std::string window(384, '\0');
  const char words[] = "\x01\x00\x00\x00\x02\x00\x00\x00\x04\x00\x00\x00\x08\x00\x00\x00";
  window.replace(0, 16, words, 16);
  window.replace(376, 8, "\x10\x00\x00\x00\x20\x00\x00\x00", 8);
  file += window + Pattern(1000, 2);
  uint32_t s1 = 0, s2 = 0;
  ASSERT_TRUE(SongSignature(MemorySource(file), false, 1, s1, s2));
  EXPECT_EQ(s1, 0x01u ^ 0x04u ^ 0x10u);
  EXPECT_EQ(s2, 0x02u ^ 0x08u ^ 0x20u);
}

TEST(SongSignature, WmaStartsAfterTheDataObjectHead) {
  std::string window(2 * 384, '\0');
  window.replace(0, 8, "\xAA\x00\x00\x00\xBB\x00\x00\x00", 8);
  window.replace(8, 8, "\x0F\x00\x00\x00\xF0\x00\x00\x00", 8);
  const std::string file = AsfHeaders() + std::string(2 * 4480, 'z') + window;
  uint32_t s1 = 0, s2 = 0;
  ASSERT_TRUE(SongSignature(MemorySource(file), true, 2, s1, s2));
  EXPECT_EQ(s1, 0xAAu ^ 0x0Fu);
  EXPECT_EQ(s2, 0xBBu ^ 0xF0u);
  // Read as another kind of file, the header bytes shift everything.
  ASSERT_TRUE(SongSignature(MemorySource(file), false, 2, s1, s2));
  EXPECT_NE(s1, 0xAAu ^ 0x0Fu);
}

TEST(SongSignature, BitRateAndShortFiles) {
  const std::string file = Pattern(100000, 5);
  uint32_t s1 = 9, s2 = 9;
  EXPECT_FALSE(SongSignature(MemorySource(file), false, 0, s1, s2));
  EXPECT_EQ(s1, 0u);
  EXPECT_FALSE(SongSignature(MemorySource(file), false, 1025, s1, s2));
  // One byte after the skip is not enough; four are (the rest reads as 0).
  EXPECT_FALSE(SongSignature(MemorySource(std::string(4481, 'a')), false, 1, s1, s2));
  ASSERT_TRUE(SongSignature(MemorySource(std::string(4480, 'a') + std::string("\x05\x00\x00\x00", 4)), false, 1, s1, s2));
  EXPECT_EQ(s1, 5u);
  EXPECT_EQ(s2, 0u);
  EXPECT_FALSE(SongSignature(MemorySource(std::string(10, 'a')), true, 1, s1, s2));  // no ASF header
}

TEST(SongSignature, ExtensionRules) {
  EXPECT_TRUE(HasMp3Extension("C:\\a\\b.MP3"));
  EXPECT_TRUE(HasMp3Extension("b.mp3"));
  EXPECT_FALSE(HasMp3Extension("b.mp3x"));
  EXPECT_FALSE(HasMp3Extension("mp3"));
  EXPECT_FALSE(HasMp3Extension("C:\\x.mp3\\song.wav"));
  EXPECT_TRUE(EndsInWma("C:\\x.WmA"));
  EXPECT_TRUE(EndsInWma("songwma"));
  EXPECT_FALSE(EndsInWma("C:\\x.wmv"));
}
