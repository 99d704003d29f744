// Archives as the lyric server sends them, read in memory: entry names that
// today's tools mark as UTF-8 arrive in the code page.
#include <gtest/gtest.h>

#include <string>

#include "SearchProtocol.h"
#include "ZipRead.h"
#include "ZipWriter.h"

using namespace zl;

namespace {

// 晴天-周杰伦 in UTF-8 and in GBK.
const std::string kNameUtf8 = "\xE6\x99\xB4\xE5\xA4\xA9-\xE5\x91\xA8\xE6\x9D\xB0\xE4\xBC\xA6";
const std::string kNameGbk = "\xC7\xE7\xCC\xEC-\xD6\xDC\xBD\xDC\xC2\xD7";

ZipContents Read(const std::string& zip) {
  return ReadZipFromMemory(zip.data(), zip.size(), "", UnpackLimits(), GbkCodePage());
}

}  // namespace

TEST(ZipRead, Utf8MarkedNamesArriveInTheCodePage) {
  lyricserver::ZipEntry marked{"Lyric/" + kNameUtf8 + ".lrc", "[00:01]x", true};
  lyricserver::ZipEntry old{"Artist/" + kNameGbk + ".jpg", "jpg", false};
  const ZipContents c = Read(lyricserver::BuildZip({marked, old}));
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

TEST(ZipRead, NamesTheCodePageCannotHoldAreRefused) {
  // An emoji turns into '?', which no file name may hold; the same bytes
  // unmarked are taken as they are (and are no GBK either).
  const std::string smile = "\xF0\x9F\x98\x80";
  const ZipContents c = Read(lyricserver::BuildZip({{"Lyric/a" + smile + ".lrc", "x", true}, {"ok.lrc", "y", true}}));
  ASSERT_EQ(c.status, UnpackStatus::Ok);
  ASSERT_EQ(c.refused.size(), 1u);
  EXPECT_EQ(c.refused[0], "Lyric/a?.lrc");
  ASSERT_EQ(c.files.size(), 1u);
  EXPECT_EQ(c.files[0].name, "ok.lrc");
}
