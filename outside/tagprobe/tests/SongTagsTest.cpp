#include <gtest/gtest.h>

#include "AsfBytes.h"
#include "SongTags.h"
#include "TestConverter.h"

using namespace tagprobe;

namespace {

SongBytes View(const Bytes& file) {
  SongBytes v;
  v.head = file.data(), v.headSize = file.size(), v.fileSize = file.size();
  v.tailSize = file.size() < 128 ? file.size() : 128;
  v.tail = file.data() + file.size() - v.tailSize;
  return v;
}

bool Plan(const Bytes& file, const SongNames& names, RewritePlan& plan, std::string* why = nullptr, bool mp3 = true) {
  std::string reason;
  const bool ok = PlanTagRewrite(View(file), mp3, names, TestConverter(), plan, reason);
  if (why) *why = reason;
  return ok;
}

// The file the plan describes.
Bytes Apply(const Bytes& file, const RewritePlan& plan) {
  return plan.head +
         Bytes(file.begin() + static_cast<std::ptrdiff_t>(plan.keepFrom),
               file.begin() + static_cast<std::ptrdiff_t>(plan.keepTo)) +
         plan.tail;
}

const Bytes kAudio = AudioFrames(4);

}  // namespace

TEST(Mp3Rewrite, TagGoesInFrontOfAnUntaggedFile) {
  const Bytes file = kAudio;
  RewritePlan plan;
  ASSERT_TRUE(Plan(file, SongNames{"\xC7\xE7\xCC\xEC", "Jay", ""}, plan));
  const Bytes expected = B({'I', 'D', '3', 3, 0, 0, 0, 0, 0, 31}) +
                         B({'T', 'I', 'T', '2', 0, 0, 0, 7, 0, 0, 1, 0xFF, 0xFE, 0x74, 0x66, 0x29, 0x59}) +
                         B({'T', 'P', 'E', '1', 0, 0, 0, 4, 0, 0, 0, 'J', 'a', 'y'});
  EXPECT_EQ(plan.head, expected);
  EXPECT_EQ(plan.keepFrom, 0u);
  EXPECT_EQ(plan.keepTo, file.size());
  EXPECT_TRUE(plan.tail.empty());
}

TEST(Mp3Rewrite, OldFramesStayAndTheAudioIsUntouched) {
  const Bytes oldTag =
      Id3Tag(3, V23Frame("TIT2", B({0, 'O', 'l', 'd'})) + V23Frame("TRCK", B({0, '7'})) +
                    V23Frame("APIC", B({0}) + S("image/jpeg") + B({0, 3, 0, 0xFF, 0xD8, 0xFF})) + Bytes(100, 0));
  const Bytes v1 = Id3v1("Old title", "Old artist", "Old album");
  const Bytes file = oldTag + kAudio + v1;
  RewritePlan plan;
  ASSERT_TRUE(Plan(file, SongNames{"New", "", "\xD2\xB6\xBB\xDD\xC3\xC0"}, plan));
  const Bytes frames = B({'T', 'I', 'T', '2', 0, 0, 0, 4, 0, 0, 0, 'N', 'e', 'w'}) +
                       B({'T', 'A', 'L', 'B', 0, 0, 0, 9, 0, 0, 1, 0xFF, 0xFE, 0xF6, 0x53, 0xE0, 0x60, 0x8E, 0x7F}) +
                       B({'T', 'R', 'C', 'K', 0, 0, 0, 2, 0, 0, 0, '7'}) +
                       B({'A', 'P', 'I', 'C', 0, 0, 0, 17, 0, 0, 0}) + S("image/jpeg") + B({0, 3, 0, 0xFF, 0xD8, 0xFF});
  EXPECT_EQ(plan.head, B({'I', 'D', '3', 3, 0, 0, 0, 0, 0, static_cast<int>(frames.size())}) + frames);
  Bytes newV1 = Id3v1("New", "Old artist", "");
  const Bytes album = B({0xD2, 0xB6, 0xBB, 0xDD, 0xC3, 0xC0});
  std::copy(album.begin(), album.end(), newV1.begin() + 63);
  EXPECT_EQ(plan.tail, newV1);
  EXPECT_EQ(Apply(file, plan), plan.head + kAudio + newV1);
}

TEST(Mp3Rewrite, LongNamesAreCutWholeInTheId3v1Fields) {
  const Bytes file = kAudio + Id3v1("t", "a", "b");
  std::string name = "x";
  for (int i = 0; i < 16; ++i) name += "\xC7\xE7";  // 33 bytes
  RewritePlan plan;
  ASSERT_TRUE(Plan(file, SongNames{name, "", ""}, plan));
  // 30 bytes would end inside a character: 29 go in, then NUL.
  EXPECT_EQ(Bytes(plan.tail.begin() + 3, plan.tail.begin() + 33), S(name.substr(0, 29)) + B({0}));
}

TEST(Mp3Rewrite, Version24TagWithFooterIsReplacedWhole) {
  const Bytes frames = V24Frame("TPE1", B({3, 'O'}));
  const Bytes file =
      Id3Tag(4, frames, 0x10) + S("3DI") + B({4, 0, 0x10, 0, 0, 0, static_cast<int>(frames.size())}) + kAudio;
  RewritePlan plan;
  ASSERT_TRUE(Plan(file, SongNames{"T", "", ""}, plan));
  EXPECT_EQ(plan.keepFrom, 10 + frames.size() + 10);
  EXPECT_EQ(Apply(file, plan), plan.head + kAudio);
}

TEST(Mp3Rewrite, DamagedOrForeignFilesAreLeftAlone) {
  RewritePlan plan;
  std::string why;
  const SongNames names{"T", "", ""};
  // A frame running past the tag.
  EXPECT_FALSE(Plan(Id3Tag(3, S("TIT2") + B({0, 0, 1, 0, 0, 0, 0})) + kAudio, names, plan, &why));
  EXPECT_EQ(why, "the ID3v2 tag is damaged");
  // Size bytes that are not syncsafe.
  EXPECT_FALSE(Plan(S("ID3") + B({3, 0, 0, 0, 0x80, 0, 0}) + kAudio, names, plan, &why));
  // A tag larger than the file.
  EXPECT_FALSE(Plan(Id3Header(3, 0, 100000) + kAudio, names, plan, &why));
  EXPECT_EQ(why, "the ID3v2 tag claims more bytes than the file has");
  // 2.2 compression.
  EXPECT_FALSE(Plan(Id3Tag(2, S("TT2") + B({0, 0, 2, 0, 'x'}), 0x40) + kAudio, names, plan, &why));
  // Neither an MP3 name nor a tag of either kind.
  EXPECT_FALSE(Plan(kAudio, names, plan, &why, false));
  EXPECT_EQ(why, "the file is neither MP3 nor WMA");
}

TEST(WmaRewrite, NewHeaderThenTheDataAsItWas) {
  const Bytes data = AsfObject(GuidData(), Bytes(300, 0x5A));
  const Bytes file = AsfHeaderObject(1, FileProperties(30 + 104 + data.size())) + data;
  RewritePlan plan;
  ASSERT_TRUE(Plan(file, SongNames{"T", "", ""}, plan, nullptr, false));
  EXPECT_EQ(plan.keepFrom, 30u + 104u);
  EXPECT_EQ(plan.keepTo, file.size());
  const Bytes children = FileProperties(30 + 104 + 38 + data.size()) + ContentDescription(U16z(u"T"), {}, {});
  EXPECT_EQ(Apply(file, plan), AsfHeaderObject(2, children) + data);
}

TEST(HeadSize, CoversTheLeadingTagWithinTheFileAndTheCap) {
  const Bytes id3 = Id3Header(3, 0, 1000);
  EXPECT_EQ(HeadSizeWanted(id3.data(), id3.size(), 5000), 1010u);
  EXPECT_EQ(HeadSizeWanted(id3.data(), id3.size(), 600), 600u);
  const Bytes huge = Id3Header(4, 0, 0x0FFFFFFF);
  EXPECT_EQ(HeadSizeWanted(huge.data(), huge.size(), uint64_t{1} << 40), kMaxHeadSize);
  const Bytes asf = GuidHeader() + Le64(5000) + B({0, 0, 0, 0, 1, 2});
  EXPECT_EQ(HeadSizeWanted(asf.data(), asf.size(), 100000), 5000u);
  EXPECT_EQ(HeadSizeWanted(kAudio.data(), kProbeSize, kAudio.size()), kProbeSize);
}

TEST(Mp3Extension, AnyCase) {
  EXPECT_TRUE(HasMp3Extension("C:\\m\\a.MP3"));
  EXPECT_TRUE(HasMp3Extension("a.mp3"));
  EXPECT_FALSE(HasMp3Extension("a.mp3.wav"));
  EXPECT_FALSE(HasMp3Extension("mp3"));
}

// Damaged copies of good files must never read or write outside their bytes.
TEST(Hostile, RandomDamageIsSurvived) {
  const std::vector<Bytes> samples = {
      Id3Tag(3, V23Frame("TIT2", B({1, 0xFF, 0xFE, 'A', 0})) + V23Frame("TALB", B({0, 'x'}), 0x00E0), 0x40) + kAudio,
      Id3Tag(4, V24Frame("TIT2", B({0, 0, 0, 2, 3, 'A'}), 0x0043) + V24Frame("APIC", B({3, 'i', 0, 3, 'd', 0, 1}))),
      Id3Tag(2, S("PIC") + B({0, 0, 6, 0, 'P', 'N', 'G', 3, 0}) + S("TT2") + B({0, 0, 2, 0, 'x'})),
      AsfHeaderObject(3, FileProperties(400) + ContentDescription(U16z(u"T"), U16z(u"A"), {}) +
                             AsfObject(GuidExtendedContent(), Le16(1) + Descriptor(u"WM/AlbumTitle", 0, U16z(u"Al")))),
  };
  uint32_t salt = 12345;
  auto next = [&salt] {
    salt = salt * 1103515245 + 12345;
    return (salt >> 16) & 0x7FFF;
  };
  for (const Bytes& good : samples) {
    for (int round = 0; round < 3000; ++round) {
      Bytes bad = good;
      for (int k = 1 + static_cast<int>(next() % 4); k > 0; --k)
        bad[next() % bad.size()] = static_cast<uint8_t>(next());
      bad.resize(bad.size() - next() % 8);
      ReadSongNames(View(bad), TestConverter());
      RewritePlan plan;
      std::string why;
      if (PlanTagRewrite(View(bad), true, SongNames{"T", "\xD6\xD0", "Al"}, TestConverter(), plan, why)) {
        ASSERT_LE(plan.keepFrom, plan.keepTo);
        ASSERT_LE(plan.keepTo, bad.size());
      }
    }
  }
}
