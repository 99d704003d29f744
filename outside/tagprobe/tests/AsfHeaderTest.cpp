#include <gtest/gtest.h>

#include "AsfBytes.h"
#include "AsfHeader.h"
#include "TestConverter.h"

using namespace tagprobe;

namespace {

const Bytes kStream = AsfObject(GuidStreamProperties(), Bytes(30, 0x33));
const Bytes kYear = Descriptor(u"WM/Year", 0, U16z(u"2003"));
const Bytes kData = AsfObject(GuidData(), Bytes(16, 0x11) + Le64(2) + B({1, 1}) + Bytes(400, 0x5A));

// A WMA file: header (file properties, stream, description, extended
// description as given) and a data object.
Bytes Wma(const Bytes& description, const Bytes& extended) {
  const Bytes rest = kStream + description + extended;
  const uint64_t size = 30 + 104 + rest.size() + kData.size();
  const int count = 2 + !description.empty() + !extended.empty();
  return AsfHeaderObject(count, FileProperties(size) + rest) + kData;
}

SongNames Read(const Bytes& file) { return ReadAsfNames(file.data(), file.size(), TestConverter()); }

bool Rebuild(const Bytes& file, const SongNames& names, Bytes& out) {
  return RebuildAsfHeader(file.data(), file.size(), file.size(), names, TestConverter(), out);
}

}  // namespace

TEST(AsfRead, TitleAuthorAndAlbum) {
  const Bytes file = Wma(
      ContentDescription(U16z(u"\x6674\x5929"), U16z(u"\x5468\x6770\x4F26"), U16z(u"(c)")),
      AsfObject(GuidExtendedContent(), Le16(2) + kYear + Descriptor(u"WM/AlbumTitle", 0, U16z(u"\x53F6\x60E0\x7F8E"))));
  const SongNames n = Read(file);
  EXPECT_EQ(n.title, "\xC7\xE7\xCC\xEC");
  EXPECT_EQ(n.artist, "\xD6\xDC\xBD\xDC\xC2\xD7");
  EXPECT_EQ(n.album, "\xD2\xB6\xBB\xDD\xC3\xC0");
}

TEST(AsfHostile, LengthsBeyondTheirObjectAreNotFollowed) {
  // Description lengths larger than the object: the object is not read.
  Bytes cd = ContentDescription(U16z(u"T"), U16z(u"A"), {});
  cd[24] = 0xFF;
  // Two descriptors promised, one present: the first still counts.
  const Bytes ext = AsfObject(GuidExtendedContent(), Le16(2) + Descriptor(u"WM/AlbumTitle", 0, U16z(u"Al")));
  const SongNames n = Read(Wma(cd, ext));
  EXPECT_EQ(n.title, "");
  EXPECT_EQ(n.album, "Al");

  // A child that claims more than the header holds ends the walk.
  Bytes file = Wma(ContentDescription(U16z(u"T"), {}, {}), {});
  file[30 + 104 + 16 + 7] = 0x40;  // stream object size far too large
  EXPECT_EQ(Read(file).title, "");
  Bytes out;
  EXPECT_FALSE(Rebuild(file, SongNames{"x", "", ""}, out));

  // A header object that claims more than the file.
  file = Wma(ContentDescription(U16z(u"T"), {}, {}), {});
  file[16 + 6] = 0x01;
  EXPECT_EQ(Read(file).title, "T");
  EXPECT_FALSE(Rebuild(file, SongNames{"x", "", ""}, out));
}

TEST(AsfWrite, ReplacesTitleAndAuthorKeepingTheRest) {
  const Bytes file = Wma(ContentDescription(U16z(u"Old"), U16z(u"Someone"), U16z(u"(c)")),
                         AsfObject(GuidExtendedContent(), Le16(1) + kYear));
  Bytes header;
  ASSERT_TRUE(Rebuild(file, SongNames{"Sunny", "\xD6\xDC\xBD\xDC\xC2\xD7", ""}, header));
  const Bytes cd = ContentDescription(U16z(u"Sunny"), U16z(u"\x5468\x6770\x4F26"), U16z(u"(c)"));
  const Bytes rest = kStream + cd + AsfObject(GuidExtendedContent(), Le16(1) + kYear);
  const Bytes expected = AsfHeaderObject(4, FileProperties(30 + 104 + rest.size() + kData.size()) + rest);
  EXPECT_EQ(header, expected);
}

TEST(AsfWrite, ReplacesTheAlbumInPlaceAmongOtherDescriptors) {
  const Bytes file =
      Wma(ContentDescription(U16z(u"T"), {}, {}),
          AsfObject(GuidExtendedContent(), Le16(2) + Descriptor(u"WM/AlbumTitle", 0, U16z(u"Old")) + kYear));
  Bytes header;
  ASSERT_TRUE(Rebuild(file, SongNames{"", "", "\xD2\xB6\xBB\xDD\xC3\xC0"}, header));
  const Bytes rest =
      kStream + ContentDescription(U16z(u"T"), {}, {}) +
      AsfObject(GuidExtendedContent(), Le16(2) + Descriptor(u"WM/AlbumTitle", 0, U16z(u"\x53F6\x60E0\x7F8E")) + kYear);
  EXPECT_EQ(header, AsfHeaderObject(4, FileProperties(30 + 104 + rest.size() + kData.size()) + rest));
}

TEST(AsfWrite, AddsTheObjectsAFileLacks) {
  const Bytes file = Wma({}, {});
  Bytes header;
  ASSERT_TRUE(Rebuild(file, SongNames{"T", "A", "Al"}, header));
  const Bytes rest = kStream + ContentDescription(U16z(u"T"), U16z(u"A"), {}) +
                     AsfObject(GuidExtendedContent(), Le16(1) + Descriptor(u"WM/AlbumTitle", 0, U16z(u"Al")));
  EXPECT_EQ(header, AsfHeaderObject(4, FileProperties(30 + 104 + rest.size() + kData.size()) + rest));
}

TEST(AsfWrite, LeavesAnUnsetFileSizeUnset) {
  Bytes file = Wma({}, {});
  for (int i = 0; i < 8; ++i) file[30 + 40 + i] = 0;  // broadcast files carry no size
  Bytes header;
  ASSERT_TRUE(Rebuild(file, SongNames{"T", "", ""}, header));
  EXPECT_EQ(Bytes(header.begin() + 70, header.begin() + 78), Bytes(8, 0));
}
