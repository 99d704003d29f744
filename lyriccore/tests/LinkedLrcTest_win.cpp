// The linked lyric file: link, unlink, timing shifts and plain text.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "EngineHome_win.h"
#include "lyriccore/ZLyric.h"

using namespace enginetest;

namespace {

const char kUserLrc[] =
    "[ti:T]\r\n[ar:A]\r\n[offset:500]\r\n[00:01.00]one\r\n[00:02.00][00:04.00]two\r\n"
    "[00:03.00]three\r\n";

struct Song {
  ResultType rt = RESULT_TYPE_NONE;
  std::vector<SearchItem> list;
  Content c{};
  tagUpdateInfo tui{};
};

// Fixes the engine's current song (not on disk, so its info file is named
// by the names).
void StartSong(ZLyric& engine, const ScopedEngineHome& h) {
  Song s;
  engine.FindResFromLocal(h.Path("music\\song.ogg"), "Ar", "Ti", "Al", 0, s.rt, s.list, s.c, s.tui);
}

std::string InfoText(ZLyric& engine, const ScopedEngineHome& h) {
  return ReadFileAt(engine.GetInfoFile(h.Path("music\\song.ogg"), "Ar", "Ti"));
}

}  // namespace

TEST(LinkedLrc, LinkParsesAndIsRememberedByTheInfoFile) {
  ScopedEngineHome h;
  h.Write("mine\\user.lrc", kUserLrc);
  ZLyric engine;
  StartSong(engine, h);
  std::vector<TimeSentence> lines(3);
  engine.LinkLrcFile(h.Path("mine\\user.lrc"), lines);
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[0].startTime, 1500);  // the offset applies
  EXPECT_STREQ(lines[3].text, "two");
  EXPECT_EQ(std::string(engine.CurrentContent().lrc_path), h.Path("mine\\user.lrc"));
  EXPECT_STREQ(engine.CurrentContent().tags.ti, "T");
  EXPECT_EQ(std::string(engine.StoredContent().lrc_path), h.Path("mine\\user.lrc"));
  EXPECT_EQ(engine.StoredContent().sentences.size(), 4u);
  EXPECT_NE(InfoText(engine, h).find("\r\nTP=content\r\n\r\nartist=\r\ntitle=\r\n"), std::string::npos);
  EXPECT_NE(InfoText(engine, h).find("\r\nlrc_path=" + h.Path("mine\\user.lrc") + "\r\n"), std::string::npos);

  // The next time the song plays, the link is still there.
  ZLyric next;
  Song s;
  next.FindResFromLocal(h.Path("music/song.ogg"), "Ar", "Ti", "Al", 0, s.rt, s.list, s.c, s.tui);
  EXPECT_EQ(s.rt, RESULT_TYPE_CONTENT);
  EXPECT_EQ(std::string(s.c.lrc_path), h.Path("mine\\user.lrc"));
  EXPECT_EQ(s.c.sentences.size(), 4u);
}

TEST(LinkedLrc, LinkingAMissingFileStillRewritesTheInfoFile) {
  ScopedEngineHome h;
  h.Write("mine\\user.lrc", kUserLrc);
  ZLyric engine;
  StartSong(engine, h);
  std::vector<TimeSentence> lines;
  engine.LinkLrcFile(h.Path("mine\\user.lrc"), lines);
  const std::string before = engine.CurrentContent().lrc_path;
  DeleteFileA(engine.GetInfoFile(h.Path("music\\song.ogg"), "Ar", "Ti").c_str());
  engine.LinkLrcFile(h.Path("mine\\gone.lrc"), lines);
  EXPECT_TRUE(lines.empty());
  EXPECT_EQ(std::string(engine.CurrentContent().lrc_path), before);  // left as it was
  EXPECT_EQ(engine.CurrentContent().sentences.size(), 4u);
  EXPECT_NE(InfoText(engine, h).find("lrc_path=" + before), std::string::npos);
  // A path too long for the record is not linked either.
  engine.LinkLrcFile(h.Path(std::string(300, 'x') + ".lrc"), lines);
  EXPECT_TRUE(lines.empty());
  EXPECT_EQ(std::string(engine.CurrentContent().lrc_path), before);
}

TEST(LinkedLrc, UnlinkDropsTheLyricAndTheInfoFileForgetsIt) {
  ScopedEngineHome h;
  h.Write("mine\\user.lrc", kUserLrc);
  ZLyric engine;
  StartSong(engine, h);
  std::vector<TimeSentence> lines;
  engine.LinkLrcFile(h.Path("mine\\user.lrc"), lines);
  engine.UnlinkLrcFile();
  EXPECT_STREQ(engine.CurrentContent().lrc_path, "");
  EXPECT_TRUE(engine.CurrentContent().sentences.empty());
  EXPECT_EQ(engine.StoredContent().sentences.size(), 4u);  // unchanged
  EXPECT_NE(InfoText(engine, h).find("\r\nlrc_path=\r\n"), std::string::npos);
  ZLyric next;
  Song s;
  next.FindResFromLocal(h.Path("music\\song.ogg"), "Ar", "Ti", "Al", 0, s.rt, s.list, s.c, s.tui);
  EXPECT_EQ(s.rt, RESULT_TYPE_NONE);
  EXPECT_EQ(h.Read("mine\\user.lrc"), kUserLrc);  // the user's file itself stays
}

TEST(LinkedLrc, TwoShiftsOfMinusFiveHundredRewriteTheFile) {
  ScopedEngineHome h;
  h.Write("mine\\user.lrc", kUserLrc);
  ZLyric engine;
  StartSong(engine, h);
  std::vector<TimeSentence> lines;
  engine.LinkLrcFile(h.Path("mine\\user.lrc"), lines);
  engine.AdjustLrcTime(-500, lines);
  engine.AdjustLrcTime(-500, lines);
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[0].startTime, 500);
  EXPECT_EQ(lines[0].endTime, 1500);
  EXPECT_EQ(engine.CurrentContent().sentences[3].startTime, 3500);
  EXPECT_EQ(h.Read("mine\\user.lrc"),
            "[ti:T]\r\n[ar:A]\r\n[al:]\r\n[by:]\r\n[00:00.50]one\r\n[00:01.50]two\r\n[00:02.50]three\r\n"
            "[00:03.50]two\r\n");
  EXPECT_EQ(CountFiles(h.Path("mine"), ".tmp"), 0);
  // Read again, the rewritten file gives the shifted times.
  ZLyric other;
  other.LinkLrcFile(h.Path("mine\\user.lrc"), lines);
  EXPECT_EQ(lines[1].startTime, 1500);
}

TEST(LinkedLrc, AUtf16FileIsShownAndShiftedInItsOwnEncoding) {
  ScopedEngineHome h;
  // UTF-16 LE with its mark; "\xE9" (e acute) is in no GBK character, so
  // whatever the system's code page, the file must keep it as it was.
  const std::u16string text = u"[ti:T]\r\n[ar:A]\r\n[al:]\r\n[by:]\r\n[00:01]<00:01>caf\u00E9 <00:01.50>au lait\r\n";
  std::string bytes = "\xFF\xFE";
  for (char16_t c : text) bytes += std::string{static_cast<char>(c & 0xFF), static_cast<char>(c >> 8)};
  h.Write("mine\\wide.lrc", bytes);
  ZLyric engine;
  StartSong(engine, h);
  std::vector<TimeSentence> lines;
  engine.LinkLrcFile(h.Path("mine\\wide.lrc"), lines);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(std::string(lines[0].text).substr(0, 3), "caf");
  EXPECT_EQ(std::string(lines[0].text).substr(std::string(lines[0].text).size() - 8), " au lait");
  ASSERT_EQ(engine.CurrentContent().words.size(), 1u);
  EXPECT_EQ(engine.CurrentContent().words[0].size(), 2u);
  EXPECT_EQ(engine.CurrentContent().words[0][1].atMs, 500);

  engine.AdjustLrcTime(1000, lines);
  const std::u16string shifted = u"[ti:T]\r\n[ar:A]\r\n[al:]\r\n[by:]\r\n[00:02]<00:02>caf\u00E9 <00:02.50>au lait\r\n";
  std::string expected = "\xFF\xFE";
  for (char16_t c : shifted) expected += std::string{static_cast<char>(c & 0xFF), static_cast<char>(c >> 8)};
  EXPECT_EQ(ReadFileAt(h.Path("mine\\wide.lrc")), expected);
  engine.AdjustLrcTime(-1000, lines);
  EXPECT_EQ(ReadFileAt(h.Path("mine\\wide.lrc")), bytes);
}

TEST(LinkedLrc, ShiftWithoutALinkedFileOnlyMovesTheList) {
  ScopedEngineHome h;
  h.Write("mine\\user.lrc", kUserLrc);
  ZLyric engine;
  std::vector<TimeSentence> lines;
  engine.AdjustLrcTime(300, lines);
  EXPECT_TRUE(lines.empty());
  engine.LinkLrcFile(h.Path("mine\\user.lrc"), lines);
  engine.UnlinkLrcFile();
  engine.AdjustLrcTime(300, lines);
  EXPECT_TRUE(lines.empty());
  EXPECT_EQ(h.Read("mine\\user.lrc"), kUserLrc);
}

TEST(LinkedLrc, AShiftThatCannotBeWrittenLeavesTheFileWhole) {
  ScopedEngineHome h;
  h.Write("mine\\user.lrc", kUserLrc);
  ZLyric engine;
  std::vector<TimeSentence> lines;
  engine.LinkLrcFile(h.Path("mine\\user.lrc"), lines);
  SetFileAttributesA(h.Path("mine\\user.lrc").c_str(), FILE_ATTRIBUTE_READONLY);
  engine.AdjustLrcTime(-500, lines);
  SetFileAttributesA(h.Path("mine\\user.lrc").c_str(), FILE_ATTRIBUTE_NORMAL);
  EXPECT_EQ(lines[0].startTime, 1000);  // memory moved
  EXPECT_EQ(h.Read("mine\\user.lrc"), kUserLrc);
  EXPECT_EQ(CountFiles(h.Path("mine"), ".tmp"), 0);
}

TEST(LinkedLrc, AFileWithoutTimedLinesIsNotRewritten) {
  ScopedEngineHome h;
  const std::string notes = "just some words\r\n[ar:someone]\r\n";
  h.Write("mine\\notes.lrc", notes);
  ZLyric engine;
  std::vector<TimeSentence> lines;
  engine.LinkLrcFile(h.Path("mine\\notes.lrc"), lines);
  EXPECT_TRUE(lines.empty());
  engine.AdjustLrcTime(-500, lines);
  EXPECT_EQ(h.Read("mine\\notes.lrc"), notes);
}

TEST(LinkedLrc, PlainText) {
  ScopedEngineHome h;
  h.Write("mine\\user.lrc", kUserLrc);
  ZLyric engine;
  std::string text = "stale";
  engine.Lrc2Txt(text);
  EXPECT_EQ(text, "");
  std::vector<TimeSentence> lines;
  engine.LinkLrcFile(h.Path("mine\\user.lrc"), lines);
  engine.Lrc2Txt(text);
  EXPECT_EQ(text, "one\r\ntwo\r\nthree\r\ntwo\r\n");
}
