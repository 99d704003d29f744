// The song's tags through the tag tool, and its song signature.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "EngineHome_win.h"
#include "SongBytes.h"
#include "SongSignature.h"
#include "lyriccore/ZLyric.h"

using namespace enginetest;
using namespace songbytes;

namespace {

const SongFileAtr& Lookup(ZLyric& engine, const std::string& song, unsigned kbps = 128) {
  ResultType rt;
  std::vector<SearchItem> list;
  Content c{};
  tagUpdateInfo tui{};
  engine.FindResFromLocal(song, "PA", "PT", "PL", kbps, rt, list, c, tui);
  return engine.SongAttributes();
}

class FileTag : public ::testing::Test {
 protected:
  void SetUp() override {
    tool_ = ProgramFolder() + "tagprobe.exe";
    if (!FileAt(tool_)) GTEST_SKIP() << "tagprobe.exe is not part of this build";
    ASSERT_TRUE(CopyFileA(tool_.c_str(), home_.Path("tagprobe.exe").c_str(), FALSE));
  }
  ScopedEngineHome home_;
  std::string tool_;
};

}  // namespace

TEST_F(FileTag, NamesFromTheTagsBecomeTheFinalNames) {
  const std::string artist = "\xD6\xDC\xBD\xDC\xC2\xD7";  // GBK
  home_.Write("music\\t.mp3", Id3v2Tag("TagTitle", artist, "TagAlbum") + AudioFrames(40, 4));
  ZLyric engine;
  const SongFileAtr& s = Lookup(engine, home_.Path("music\\t.mp3"));
  EXPECT_STREQ(s.tagTitle, "TagTitle");
  EXPECT_EQ(std::string(s.tagArtist), artist);
  EXPECT_STREQ(s.tagAlbum, "TagAlbum");
  EXPECT_STREQ(s.finalTitle, "TagTitle");
  EXPECT_EQ(std::string(s.finalArtist), artist);
  EXPECT_STREQ(s.finalAlbum, "TagAlbum");
  EXPECT_STREQ(s.title, "PT");  // the player's names stay beside them
  EXPECT_EQ(CountFiles(home_.Res("Info"), ".dat"), 0);
}

TEST_F(FileTag, NamesTheTagsLackComeFromThePlayer) {
  home_.Write("music\\part.mp3", Id3v2Tag("OnlyTitle", "", "") + AudioFrames(20, 5));
  home_.Write("music\\bare.mp3", AudioFrames(20, 6));
  ZLyric engine;
  const SongFileAtr& s = Lookup(engine, home_.Path("music\\part.mp3"));
  EXPECT_STREQ(s.finalTitle, "OnlyTitle");
  EXPECT_STREQ(s.finalArtist, "PA");
  EXPECT_STREQ(s.finalAlbum, "PL");
  const SongFileAtr& bare = Lookup(engine, home_.Path("music\\bare.mp3"));
  EXPECT_STREQ(bare.tagTitle, "PT");
  EXPECT_STREQ(bare.finalTitle, "PT");
}

TEST_F(FileTag, OtherFilesAndAMissingToolKeepThePlayersNames) {
  home_.Write("music\\t.ogg", Id3v2Tag("TagTitle", "TagArtist", "TagAlbum") + AudioFrames(20, 4));
  ZLyric engine;
  const SongFileAtr& ogg = Lookup(engine, home_.Path("music\\t.ogg"));
  EXPECT_STREQ(ogg.finalTitle, "PT");
  EXPECT_STREQ(ogg.tagTitle, "PT");
  EXPECT_EQ(ogg.sig1, 0u);  // no song signature either

  DeleteFileA(home_.Path("tagprobe.exe").c_str());
  home_.Write("music\\t.mp3", Id3v2Tag("TagTitle", "TagArtist", "TagAlbum") + AudioFrames(20, 4));
  const SongFileAtr& s = Lookup(engine, home_.Path("music\\t.mp3"));
  EXPECT_STREQ(s.tagArtist, "PA");
  EXPECT_STREQ(s.finalArtist, "PA");
}

TEST_F(FileTag, SongSignatureFromTheFileAndItsBitRate) {
  home_.Write("music\\t.mp3", Id3v2Tag("T", "A", "L") + AudioFrames(60, 8));
  uint32_t sig1 = 0, sig2 = 0;
  ASSERT_TRUE(zl::SongSignature(zl::FileByteSource(home_.Path("music\\t.mp3")), false, 2, sig1, sig2));
  ZLyric engine;
  const SongFileAtr& s = Lookup(engine, home_.Path("music\\t.mp3"), 2);
  EXPECT_EQ(s.sig1, sig1);
  EXPECT_EQ(s.sig2, sig2);
  EXPECT_NE(engine.Trace().find("CalculateSig End:"), std::string::npos);
  // An unknown bit rate gives no signature.
  const SongFileAtr& none = Lookup(engine, home_.Path("music\\t.mp3"), 0);
  EXPECT_EQ(none.sig1, 0u);
  EXPECT_NE(engine.Trace().find("CalculateSig End(fail):"), std::string::npos);
}
