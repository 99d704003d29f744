// The engine object: what construction derives from the home, and copies.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "EngineHome_win.h"
#include "lyriccore/ZLyric.h"
#include "shared/InstallHome.h"
#include "shared/Ownership.h"

using namespace enginetest;

TEST(EngineObject, ConstructionReadsHomeHostAndSettings) {
  ScopedEngineHome home;
  home.Write("conf.ini", "[LYRIC_FILE]\r\nSaveLrcInOtherPath=0\r\n[LOCAL_LRC]\r\npathnum=1\r\npath0=D:\\lrc\r\n");
  ZLyric engine;
  EXPECT_EQ(std::string(engine.InstallHome()), home.Home());
  EXPECT_EQ(std::string(engine.HostName()), HostPlayerName());  // the test program's own path here
  EXPECT_EQ(engine.Settings().SaveLrcInOtherPath, 0);
  EXPECT_EQ(engine.Settings().LrcSavePath, home.Home() + "\\lyric");
  ASSERT_EQ(engine.Settings().localFolders.size(), 1u);
  EXPECT_TRUE(engine.LocalInfoValid());
  // The product keys exist after construction.
  zl::UniqueRegKey key;
  EXPECT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\ZOLYRIC\\LOGMSG", 0, KEY_READ, key.Put()), ERROR_SUCCESS);
}

TEST(EngineObject, WithoutAHomeEverythingAnswersNothing) {
  ScopedEngineHome home;
  ScopedEngineHome::Unregister();
  ZLyric engine;
  EXPECT_STREQ(engine.InstallHome(), "");
  EXPECT_EQ(engine.Settings().SaveLrcInOtherPath, 1);
  ResultType rt = RESULT_TYPE_LIST;
  std::vector<SearchItem> list;
  Content c{};
  tagUpdateInfo tui{};
  engine.FindResFromLocal(home.Path("nothing.mp3"), "Ar", "Ti", "Al", 128, rt, list, c, tui);
  EXPECT_EQ(rt, RESULT_TYPE_NONE);
  EXPECT_EQ(engine.GetInfoFile(home.Path("nothing.mp3"), "Ar", "Ti"), "");
  // The final names are still the player's.
  EXPECT_STREQ(tui.finalArtist, "Ar");
}

TEST(EngineObject, CopiesCarryTheValuesAndGoTheirOwnWay) {
  ScopedEngineHome home;
  home.Write("x.lrc", "[ti:T]\r\n[00:01]one\r\n[00:02]two\r\n");
  ZLyric engine;
  std::vector<TimeSentence> lines;
  engine.LinkLrcFile(home.Path("x.lrc"), lines);
  ASSERT_EQ(lines.size(), 2u);

  ZLyric copy(engine);
  EXPECT_EQ(copy.CurrentContent().sentences.size(), 2u);
  EXPECT_EQ(copy.StoredContent().sentences.size(), 2u);
  EXPECT_STREQ(copy.CurrentContent().lrc_path, engine.CurrentContent().lrc_path);
  EXPECT_STREQ(copy.InstallHome(), engine.InstallHome());
  copy.UnlinkLrcFile();
  EXPECT_TRUE(copy.CurrentContent().sentences.empty());
  EXPECT_EQ(engine.CurrentContent().sentences.size(), 2u);

  ZLyric assigned;
  assigned = engine;
  EXPECT_EQ(assigned.CurrentContent().sentences.size(), 2u);
  assigned = assigned;  // self-assignment keeps everything
  EXPECT_EQ(assigned.CurrentContent().sentences.size(), 2u);
  std::string text;
  assigned.Lrc2Txt(text);
  EXPECT_EQ(text, "one\r\ntwo\r\n");
}
