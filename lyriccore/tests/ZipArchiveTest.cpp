// The archive reader against archives written elsewhere: the stand-in's
// writer (stored, optionally protected) and minizip's own (compressed,
// optionally protected).
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "ZipArchive.h"
#include "ZipWriter.h"
#include "minizip/zip.h"
#include "zlib.h"

using namespace zl;

namespace {

const std::string kLyric = "[ti:Ti]\r\n[ar:Ar]\r\n[00:01.00]one\r\n[00:02.00]two\r\n";

// Deflated entries through minizip's writer, by way of a scratch file.
std::string DeflatedZip(const std::vector<lyricserver::ZipEntry>& entries, const char* password) {
  static int counter = 0;
  const std::filesystem::path path =
      std::filesystem::temp_directory_path() / ("zl_ziparchive_" + std::to_string(++counter) + ".zip");
  zipFile zf = zipOpen64(path.string().c_str(), APPEND_STATUS_CREATE);
  if (!zf) return std::string();
  for (const lyricserver::ZipEntry& e : entries) {
    zip_fileinfo info{};
    const uLong crc = crc32(0L, reinterpret_cast<const Bytef*>(e.data.data()), static_cast<uInt>(e.data.size()));
    zipOpenNewFileInZip3_64(zf, e.name.c_str(), &info, nullptr, 0, nullptr, 0, nullptr, Z_DEFLATED, 9, 0, -MAX_WBITS,
                            DEF_MEM_LEVEL, Z_DEFAULT_STRATEGY, password, crc, 0);
    zipWriteInFileInZip(zf, e.data.data(), static_cast<unsigned>(e.data.size()));
    zipCloseFileInZip(zf);
  }
  zipClose(zf, nullptr);
  std::ifstream in(path, std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  in.close();
  std::filesystem::remove(path);
  return bytes;
}

ZipContents Read(const std::string& zip, const std::string& password = "",
                 const UnpackLimits& limits = UnpackLimits()) {
  return ReadZipFromMemory(zip.data(), zip.size(), password, limits);
}

}  // namespace

TEST(ZipArchive, StoredEntriesWithSafeNamesAndFolders) {
  const ZipContents z = Read(lyricserver::BuildZip({{"Lyric/", ""},
                                                    {"Lyric/Ar-Ti.lrc", kLyric},
                                                    {"../evil.txt", "x"},
                                                    {"Artist/Ar.jpg", std::string("\0\xFF", 2)}}));
  ASSERT_EQ(z.status, UnpackStatus::Ok) << z.detail;
  EXPECT_EQ(z.folders, std::vector<std::string>{"Lyric"});
  ASSERT_EQ(z.files.size(), 2u);
  EXPECT_EQ(z.files[0].name, "Lyric\\Ar-Ti.lrc");
  EXPECT_EQ(z.files[0].bytes, kLyric);
  EXPECT_EQ(z.files[1].bytes, std::string("\0\xFF", 2));
  EXPECT_EQ(z.refused, std::vector<std::string>{"../evil.txt"});
}

TEST(ZipArchive, ProtectedStoredEntriesNeedTheRightPassword) {
  const std::string zip = lyricserver::BuildZip({{"Lyric/Pw-One.lrc", kLyric}, {"MTV/Pw-One_flv.sig", "5,6"}}, "right");
  const ZipContents ok = Read(zip, "right");
  ASSERT_EQ(ok.status, UnpackStatus::Ok) << ok.detail;
  ASSERT_EQ(ok.files.size(), 2u);
  EXPECT_EQ(ok.files[0].bytes, kLyric);
  EXPECT_EQ(ok.files[1].bytes, "5,6");
  for (const char* wrong : {"wrong", ""}) {
    const ZipContents bad = Read(zip, wrong);
    EXPECT_EQ(bad.status, UnpackStatus::Corrupt) << wrong;
    EXPECT_TRUE(bad.files.empty());
  }
}

TEST(ZipArchive, ProtectedCompressedEntriesFromMinizipsWriter) {
  std::string big;
  for (int i = 0; i < 2000; ++i) big += "[00:01.00]a line that packs well\r\n";
  const std::string zip = DeflatedZip({{"Lyric/Big-One.lrc", big}, {"Artist/Big.jpg", "jpg"}}, "s3cret");
  ASSERT_FALSE(zip.empty());
  EXPECT_LT(zip.size(), big.size() / 10);  // really compressed
  const ZipContents ok = Read(zip, "s3cret");
  ASSERT_EQ(ok.status, UnpackStatus::Ok) << ok.detail;
  ASSERT_EQ(ok.files.size(), 2u);
  EXPECT_EQ(ok.files[0].bytes, big);
  EXPECT_EQ(ok.files[1].bytes, "jpg");
  EXPECT_EQ(Read(zip, "s3creT").status, UnpackStatus::Corrupt);
  // An answer's password does not disturb entries that are not protected.
  const ZipContents plain = Read(DeflatedZip({{"Lyric/P-Q.lrc", kLyric}}, nullptr), "s3cret");
  ASSERT_EQ(plain.status, UnpackStatus::Ok) << plain.detail;
  EXPECT_EQ(plain.files[0].bytes, kLyric);
}

TEST(ZipArchive, LimitsAndDamageYieldNothing) {
  UnpackLimits small;
  small.maxEntries = 2;
  small.maxEntryBytes = 100;
  small.maxTotalBytes = 150;
  EXPECT_EQ(Read(lyricserver::BuildZip({{"a", "1"}, {"b", "2"}, {"c", "3"}}), "", small).status,
            UnpackStatus::TooLarge);
  EXPECT_EQ(Read(lyricserver::BuildZip({{"a", std::string(101, 'x')}}), "", small).status, UnpackStatus::TooLarge);
  const ZipContents total =
      Read(lyricserver::BuildZip({{"a", std::string(100, 'x')}, {"b", std::string(60, 'y')}}), "", small);
  EXPECT_EQ(total.status, UnpackStatus::TooLarge);
  EXPECT_TRUE(total.files.empty());
  // Compressed entries are held to the same limits.
  const std::string bomb = DeflatedZip({{"a", std::string(5000, 'z')}}, nullptr);
  EXPECT_EQ(Read(bomb, "", small).status, UnpackStatus::TooLarge);

  const std::string zip = lyricserver::BuildZip({{"Lyric/Cut-One.lrc", kLyric}, {"Artist/Cut.jpg", "jpg bytes"}});
  EXPECT_NE(Read(zip.substr(0, zip.size() / 2)).status, UnpackStatus::Ok);
  std::string flipped = zip;
  flipped[flipped.find("jpg bytes")] = 'J';
  const ZipContents crc = Read(flipped);
  EXPECT_EQ(crc.status, UnpackStatus::Corrupt);
  EXPECT_TRUE(crc.files.empty());
  EXPECT_EQ(Read("").status, UnpackStatus::NotAnArchive);
  EXPECT_EQ(Read("not a zip at all").status, UnpackStatus::NotAnArchive);
}

// Entry names that today's tools mark as UTF-8 arrive in the code page.
namespace {

// 晴天-周杰伦 in UTF-8 and in GBK.
const std::string kNameUtf8 = "\xE6\x99\xB4\xE5\xA4\xA9-\xE5\x91\xA8\xE6\x9D\xB0\xE4\xBC\xA6";
const std::string kNameGbk = "\xC7\xE7\xCC\xEC-\xD6\xDC\xBD\xDC\xC2\xD7";

ZipContents ReadAsGbk(const std::string& zip) {
  return ReadZipFromMemory(zip.data(), zip.size(), "", UnpackLimits(), GbkCodePage());
}

}  // namespace

TEST(ZipArchive, Utf8MarkedNamesArriveInTheCodePage) {
  lyricserver::ZipEntry marked{"Lyric/" + kNameUtf8 + ".lrc", "[00:01]x", true};
  lyricserver::ZipEntry old{"Artist/" + kNameGbk + ".jpg", "jpg", false};
  const ZipContents c = ReadAsGbk(lyricserver::BuildZip({marked, old}));
  ASSERT_EQ(c.status, UnpackStatus::Ok);
  ASSERT_EQ(c.files.size(), 2u);
  EXPECT_EQ(c.files[0].name, "Lyric\\" + kNameGbk + ".lrc");
  EXPECT_EQ(c.files[0].bytes, "[00:01]x");
  EXPECT_EQ(c.files[1].name, "Artist\\" + kNameGbk + ".jpg");  // unmarked: the code page already
  std::string artist, title;
  ASSERT_TRUE(LyricNamesFromEntry(c.files[0].name, artist, title));
  EXPECT_EQ(artist, "\xC7\xE7\xCC\xEC");
  EXPECT_EQ(title, "\xD6\xDC\xBD\xDC\xC2\xD7");
}

TEST(ZipArchive, NamesTheCodePageCannotHoldAreRefused) {
  // An emoji turns into '?', which no file name may hold; the same bytes
  // unmarked are taken as they are (and are no GBK either).
  const std::string smile = "\xF0\x9F\x98\x80";
  const ZipContents c = ReadAsGbk(lyricserver::BuildZip({{"Lyric/a" + smile + ".lrc", "x", true}, {"ok.lrc", "y", true}}));
  ASSERT_EQ(c.status, UnpackStatus::Ok);
  ASSERT_EQ(c.refused.size(), 1u);
  EXPECT_EQ(c.refused[0], "Lyric/a?.lrc");
  ASSERT_EQ(c.files.size(), 1u);
  EXPECT_EQ(c.files[0].name, "ok.lrc");
}
