#include <gtest/gtest.h>
#include <minizip/unzip.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "../LyricLibrary.h"
#include "../LyricQuery.h"
#include "../ZipWriter.h"

using namespace lyricserver;

TEST(LyricQueryDecode, UnscramblesAndSplitsTheArguments) {
  Query q;
  ASSERT_TRUE(DecodeQuery("BR8KH19V", q));
  EXPECT_EQ(q.arguments, "user=0");

  // Long enough for the key to come round again at byte 7.
  ASSERT_TRUE(DecodeQuery(
      "BR8KH19VXkFCX0FSSSU5Ii4gMkMAFR0aCBERFwJRAwIBBB4YAxwZRBELAAlSXEQXFwFRCRgOCVQDAwEKDAQfFVEnCA4JHVYNHRkLFgZNLUpfU"
      "idUAA0bBV9DCBkcHAQFWFQiCQwCMQtPVj4KDg0kAAQFHBlfQzQZAAojAwgXTUocBAVYQxFeDUhQUEAzXwxZBg==",
      q));
  EXPECT_EQ(q.values["user"], "0,1.0,0,WINAMP");
  EXPECT_EQ(q.values["artist"], "A B");
  EXPECT_EQ(q.values["songname"], "Hello");
  EXPECT_EQ(q.values["sig"], "1a2b%2C3c4d");  // escaped twice on the wire
  EXPECT_EQ(q.values["path"], "");
  EXPECT_FALSE(DecodeQuery("not*base64", q));
}

TEST(LyricQueryDecode, UnescapeLeavesLonePercentSigns) {
  EXPECT_EQ(Unescape("A%20B%zz%4"), "A B%zz%4");
  EXPECT_EQ(Unescape("%E4%B8%AD"), "\xE4\xB8\xAD");
  std::string bytes;
  ASSERT_TRUE(Base64Decode(Base64Encode("ab"), bytes));
  EXPECT_EQ(bytes, "ab");
}

TEST(ZipWriterCrc, MatchesTheKnownCheckValue) { EXPECT_EQ(Crc32("123456789"), 0xCBF43926u); }

namespace {
std::string ReadEntry(const std::string& zipPath, const char* name, const char* password) {
  unzFile z = unzOpen(zipPath.c_str());
  if (!z) return "<no archive>";
  std::string out = "<missing>";
  const int open = unzLocateFile(z, name, 1) != UNZ_OK
                       ? UNZ_END_OF_LIST_OF_FILE
                       : (password ? unzOpenCurrentFilePassword(z, password) : unzOpenCurrentFile(z));
  if (open == UNZ_PARAMERROR) out = "<open error -102>";
  if (open == UNZ_OK) {
    out.clear();
    char buf[256];
    int n;
    while ((n = unzReadCurrentFile(z, buf, sizeof buf)) > 0) out.append(buf, static_cast<size_t>(n));
    if (n < 0) out = "<error " + std::to_string(n) + ">";
    if (unzCloseCurrentFile(z) == UNZ_CRCERROR) out = "<crc error>";
  }
  unzClose(z);
  return out;
}

std::string SaveTemp(const std::string& bytes, const char* name) {
  const std::string path = (std::filesystem::temp_directory_path() / name).string();
  std::ofstream(path, std::ios::binary) << bytes;
  return path;
}
}  // namespace

TEST(ZipWriterArchive, AnotherReaderOpensPlainAndProtectedArchives) {
  const std::vector<ZipEntry> entries = {{"Lyric/A-T.lrc", "[00:01]x\r\n"}, {"Artist/A.jpg", std::string(3000, '\xFF')}};
  const std::string plain = SaveTemp(BuildZip(entries), "zl_plain.zip");
  EXPECT_EQ(ReadEntry(plain, "Lyric/A-T.lrc", nullptr), "[00:01]x\r\n");
  EXPECT_EQ(ReadEntry(plain, "Artist/A.jpg", nullptr), std::string(3000, '\xFF'));

  const std::string locked = SaveTemp(BuildZip(entries, "secret"), "zl_locked.zip");
  std::remove(plain.c_str());
  EXPECT_EQ(ReadEntry(locked, "Lyric/A-T.lrc", "secret"), "[00:01]x\r\n");
  EXPECT_NE(ReadEntry(locked, "Lyric/A-T.lrc", "wrong"), "[00:01]x\r\n");
  std::remove(locked.c_str());
}

TEST(LyricLibraryAnswer, ListContentAndNone) {
  LyricLibrary lib;
  lib.Add("Singer-Song.lrc", "[00:01]la\r\n");
  lib.Add("Other-Song.lrc", "[00:02]lo\r\n");
  lib.Add("Singer.jpg", "JPG");
  lib.Add("Singer-Song_flv.sig", "1,2");
  Query q;
  q.values = {{"type", "1"}, {"songname", "song"}, {"artist", ""}};
  const std::string list = lib.Answer(q, {});
  EXPECT_EQ(list.rfind("rcode=0\r\nhitfrom=tag\r\nTP=list\r\n\r\n", 0), 0u) << list;
  EXPECT_NE(list.find("ARTIST=Other\r\nSONGNAME=Song\r\nPROVIDER=standin\r\nPATH=/lyrics/Other-Song\r\n\r\n"),
            std::string::npos);

  q.values = {{"type", "2"}, {"songname", "Song"}, {"artist", "Singer"}, {"req", "full"}};
  const std::string content = lib.Answer(q, {});
  const size_t brk = content.find("\r\n\r\n");
  ASSERT_NE(brk, std::string::npos);
  EXPECT_NE(content.find("TP=content\r\n"), std::string::npos);
  EXPECT_NE(content.find("path=/lyrics/Singer-Song\r\n"), std::string::npos);
  const std::string zip = SaveTemp(content.substr(brk + 4), "zl_answer.zip");
  EXPECT_EQ(ReadEntry(zip, "Lyric/Singer-Song.lrc", nullptr), "[00:01]la\r\n");
  EXPECT_EQ(ReadEntry(zip, "Artist/Singer.jpg", nullptr), "JPG");
  EXPECT_EQ(ReadEntry(zip, "MTV/Singer-Song_flv.sig", nullptr), "1,2");

  // Same resource, same signature; "part" leaves the artist pictures out.
  EXPECT_EQ(lib.Answer(q, {}).substr(0, brk), content.substr(0, brk));
  q.values["req"] = "part";
  const std::string part = lib.Answer(q, {});
  std::remove(zip.c_str());
  const std::string partZip = SaveTemp(part.substr(part.find("\r\n\r\n") + 4), "zl_part.zip");
  EXPECT_EQ(ReadEntry(partZip, "Artist/Singer.jpg", nullptr), "<missing>");
  std::remove(partZip.c_str());

  q.values = {{"type", "2"}, {"songname", "Nothing"}, {"artist", "Nobody"}};
  EXPECT_EQ(lib.Answer(q, {}), "rcode=1\r\nTP=none\r\n\r\n");
  AnswerOptions noBreak;
  noBreak.noHeaderBreak = true;
  EXPECT_EQ(lib.Answer(q, noBreak), "rcode=1\r\nTP=none\r\n");
}
