// Local lookup from files laid out on disk: info files, the resource
// folder, the user's lyric copies and the local lyric folders.
#include <windows.h>

#include <gtest/gtest.h>

#include <ctime>
#include <string>

#include "EngineHome_win.h"
#include "LocalNames.h"
#include "SongBytes.h"
#include "SongSignature.h"
#include "lyriccore/ZLyric.h"
#include "shared/GbkPath.h"

using namespace enginetest;

namespace {

const char kLyric[] = "[ti:Ti]\r\n[ar:Ar]\r\n[00:01.00]one\r\n[00:02.00]two\r\n";
const int32_t kHour = 3600;

int32_t Now() { return static_cast<int32_t>(std::time(nullptr)); }

std::string SongPart(int32_t updTime, const std::string& extra = "") {
  return "[SongFileAtr]\r\nsongPath=ignored\r\ntagArtist=\r\ntagTitle=\r\ntagAlbum=\r\nnKbps=128\r\nunLength=200\r\n"
         "goonrec=0\r\nrecTime=0\r\nhitfrom=fln\r\n" +
         extra + "updTime=" + std::to_string(updTime) + "\r\n";
}

std::string ContentPart(const ScopedEngineHome& h, const std::string& lrcPath = "") {
  return "[Resource]\r\nTP=content\r\n\r\nartist=Ar\r\ntitle=Ti\r\nartist_pic_path=" + h.Res("Artist\\Ar.jpg") +
         "\r\nartist_swf_pic=" + h.Res("Artist\\Ar_swf.jpg") +
         "\r\nartist_swf_signature=12,34\r\nsong_flv_pic_path=" + h.Res("MTV\\Ar-Ti_flv.jpg") +
         "\r\nsong_flv_signature=56,78\r\nlrc_path=" + lrcPath + "\r\nsig=zs\r\npath=/srv/1.zip\r\n";
}

void LayOutResource(const ScopedEngineHome& h, bool withLyric = true) {
  h.Write("Resource\\Artist\\Ar.jpg", "jpg");
  h.Write("Resource\\Artist\\Ar_swf.jpg", "jpg");
  h.Write("Resource\\Artist\\Ar_swf.sig", "12,34");
  h.Write("Resource\\MTV\\Ar-Ti_flv.jpg", "jpg");
  h.Write("Resource\\MTV\\Ar-Ti_flv.sig", "56,78\r\n");
  if (withLyric) h.Write("Resource\\Lyric\\Ar-Ti.lrc", kLyric);
}

// The info file of a song that is not on disk: named by the names hash.
std::string NamesInfo(const std::string& artist, const std::string& title) {
  return "Resource\\info\\" + std::to_string(zl::NamesHash(artist, title)) + ".info";
}

struct Lookup {
  ResultType rt = RESULT_TYPE_LIST;
  std::vector<SearchItem> list;
  Content c{};
  tagUpdateInfo tui{};
};

Lookup Find(ZLyric& engine, const ScopedEngineHome& h, const std::string& song = "music\\absent.mp3") {
  Lookup l;
  engine.FindResFromLocal(h.Path(song), "PA", "PT", "PL", 128, l.rt, l.list, l.c, l.tui);
  return l;
}

}  // namespace

TEST(LocalLookup, FullResourceFromTheInfoFile) {
  ScopedEngineHome h;
  LayOutResource(h);
  h.Write(NamesInfo("PA", "PT"), SongPart(Now() - kHour) + ContentPart(h));
  ZLyric engine;
  const Lookup l = Find(engine, h);
  EXPECT_EQ(l.rt, RESULT_TYPE_CONTENT);
  EXPECT_EQ(engine.GetResState(const_cast<Content&>(l.c)), PRE_SET_FULL);
  EXPECT_EQ(l.c.artist_swf_signature.second, 34u);
  EXPECT_EQ(l.c.song_flv_signature.first, 56u);
  // The lyric is the user's copy in the default save folder, parsed.
  EXPECT_EQ(std::string(l.c.lrc_path), h.Path("lyric\\Ar-Ti.lrc"));
  EXPECT_EQ(h.Read("lyric\\Ar-Ti.lrc"), kLyric);
  ASSERT_EQ(l.c.sentences.size(), 2u);
  EXPECT_STREQ(l.c.sentences[1].text, "two");
  EXPECT_EQ(l.c.sentences[1].endTime, 200000);  // the song length from the info file
  EXPECT_STREQ(l.c.tags.ti, "Ti");
  EXPECT_EQ(engine.CurrentContent().sentences.size(), 2u);
  EXPECT_EQ(engine.StoredZipSig(), "zs");
  EXPECT_EQ(engine.StoredResPath(), "/srv/1.zip");
  EXPECT_EQ(engine.Hitfrom(), "fln");
  const std::string& trace = engine.Trace();
  for (const char* step : {"FindResFromLocal Start:", "ReadInfoFile Start:", "ReadInfoFile End:",
                           "CalculateSig Start:", "FindResFromLocal End:"})
    EXPECT_NE(trace.find(step), std::string::npos) << step;
  EXPECT_EQ(trace.compare(0, 23, "FindResFromLocal Start:"), 0);
}

TEST(LocalLookup, StaleOrFutureInfoAsksTheServer) {
  ScopedEngineHome h;
  LayOutResource(h);
  struct Case {
    int32_t age;
    ResultType expected;
  };
  for (const Case& k : {Case{23 * kHour, RESULT_TYPE_CONTENT}, Case{25 * kHour, RESULT_TYPE_STALE},
                        Case{-kHour, RESULT_TYPE_STALE}}) {
    h.Write(NamesInfo("PA", "PT"), SongPart(Now() - k.age) + ContentPart(h));
    ZLyric engine;
    const Lookup l = Find(engine, h);
    EXPECT_EQ(l.rt, k.expected) << k.age;
    EXPECT_EQ(engine.LocalInfoValid(), k.expected == RESULT_TYPE_CONTENT);
    // The resource read is kept for the server's "still valid" answer.
    EXPECT_EQ(engine.StoredContent().sentences.size(), 2u);
    EXPECT_EQ(l.c.sentences.size(), 2u);
  }
  h.Write("face\\zoc.img", "[Config]\r\nInfoValidInterval=60\r\n");
  h.Write(NamesInfo("PA", "PT"), SongPart(Now() - 2 * kHour) + ContentPart(h));
  ZLyric engine;
  EXPECT_EQ(Find(engine, h).rt, RESULT_TYPE_STALE);
}

TEST(LocalLookup, ResourceWithoutItsLyricIsNothing) {
  ScopedEngineHome h;
  LayOutResource(h, false);
  h.Write(NamesInfo("PA", "PT"), SongPart(Now()) + ContentPart(h, h.Res("Lyric\\Ar-Ti.lrc")));
  ZLyric engine;
  const Lookup l = Find(engine, h);
  EXPECT_EQ(l.rt, RESULT_TYPE_NONE);
  EXPECT_TRUE(engine.LyricMissing());
  EXPECT_TRUE(engine.FilesMissing());
  EXPECT_STREQ(l.c.lrc_path, "");
  // What is there is still handed out.
  EXPECT_EQ(engine.GetResState(const_cast<Content&>(l.c)), PRE_SET_PART);
}

TEST(LocalLookup, MissingPicturesAreFlaggedAndNotHandedOut) {
  ScopedEngineHome h;
  h.Write("Resource\\Lyric\\Ar-Ti.lrc", kLyric);
  h.Write(NamesInfo("PA", "PT"), SongPart(Now()) + ContentPart(h));
  ZLyric engine;
  const Lookup l = Find(engine, h);
  EXPECT_EQ(l.rt, RESULT_TYPE_CONTENT);
  EXPECT_TRUE(engine.FilesMissing());
  EXPECT_FALSE(engine.LyricMissing());
  EXPECT_STREQ(l.c.artist_pic_path, "");
  EXPECT_EQ(l.c.sentences.size(), 2u);
}

TEST(LocalLookup, ListAnswers) {
  ScopedEngineHome h;
  const std::string list =
      "[Resource]\r\nTP=list\r\n\r\nARTIST=A1\r\nSONGNAME=S1\r\nPROVIDER=P1\r\nPATH=/1\r\n\r\n"
      "ARTIST=A2\r\nSONGNAME=S2\r\nPROVIDER=P2\r\nPATH=/2\r\n\r\n";
  h.Write(NamesInfo("PA", "PT"), SongPart(Now()) + list);
  {
    ZLyric engine;
    const Lookup l = Find(engine, h);
    EXPECT_EQ(l.rt, RESULT_TYPE_LIST);
    ASSERT_EQ(l.list.size(), 2u);
    EXPECT_STREQ(l.list[1].artist, "A2");
    EXPECT_STREQ(l.list[1].resPath, "/2");
  }
  h.Write(NamesInfo("PA", "PT"), SongPart(Now() - 25 * kHour) + list);
  ZLyric engine;
  const Lookup l = Find(engine, h);
  EXPECT_EQ(l.rt, RESULT_TYPE_NONE);
  EXPECT_TRUE(l.list.empty());
}

TEST(LocalLookup, DamagedOrMissingInfoIsNothing) {
  ScopedEngineHome h;
  LayOutResource(h);
  ZLyric engine;
  EXPECT_EQ(Find(engine, h).rt, RESULT_TYPE_NONE);  // no info file
  h.Write(NamesInfo("PA", "PT"), SongPart(Now()));   // no [Resource]
  EXPECT_EQ(Find(engine, h).rt, RESULT_TYPE_NONE);
  h.Write(NamesInfo("PA", "PT"), ContentPart(h));  // no [SongFileAtr]
  EXPECT_EQ(Find(engine, h).rt, RESULT_TYPE_NONE);
  h.Write(NamesInfo("PA", "PT"), SongPart(Now()) + "[Resource]\r\n");
  EXPECT_EQ(Find(engine, h).rt, RESULT_TYPE_NONE);
  ResultType rt = RESULT_TYPE_LIST;
  std::vector<SearchItem> list;
  Content c{};
  engine.ReadInfoFile("", rt, list, c);
  EXPECT_EQ(rt, RESULT_TYPE_NONE);
}

TEST(LocalLookup, InfoFileOfASongOnDiskIsKeyedByItsSignature) {
  ScopedEngineHome h;
  const std::string bytes = songbytes::Id3v2Tag("T", "A", "L") + songbytes::AudioFrames(80, 3);
  h.Write("music\\s.mp3", bytes);
  uint32_t h1 = 0, h2 = 0;
  ASSERT_TRUE(zl::FileSignature(zl::FileByteSource(h.Path("music\\s.mp3")), true, h1, h2));
  const std::string expected = h.Res("info\\" + zl::SignatureKey(h1, h2) + ".info");
  ZLyric a, b;
  std::string slashes = h.Path("music\\s.mp3");
  for (char& ch : slashes)
    if (ch == '\\') ch = '/';
  EXPECT_EQ(a.GetInfoFile(slashes, "A", "T"), expected);
  EXPECT_EQ(b.GetInfoFile(h.Path("music\\s.mp3"), "A", "T"), expected);
  // The same song under another name keeps its info file.
  h.Write("music\\renamed.MP3", bytes);
  EXPECT_EQ(b.GetInfoFile(h.Path("music\\renamed.MP3"), "X", "Y"), expected);
  // No file: the names hash; no names either: no info file.
  EXPECT_EQ(b.GetInfoFile(h.Path("music\\gone.mp3"), "A", "T"), h.Path(NamesInfo("A", "T")));
  EXPECT_EQ(b.GetInfoFile(h.Path("music\\gone.mp3"), "", "T"), "");

  // A lookup with '/' finds what one with '\' wrote.
  LayOutResource(h);
  h.Write("Resource\\info\\" + zl::SignatureKey(h1, h2) + ".info", SongPart(Now()) + ContentPart(h));
  Lookup l;
  ZLyric c;
  c.FindResFromLocal(slashes, "", "", "", 0, l.rt, l.list, l.c, l.tui);
  EXPECT_EQ(l.rt, RESULT_TYPE_CONTENT);
  EXPECT_EQ(std::string(c.SongAttributes().songPath), h.Path("music\\s.mp3"));
}

TEST(LocalLookup, PreSetStatesFromTheFilesOnDisk) {
  ScopedEngineHome h;
  ZLyric engine;
  Content c{};
  EXPECT_EQ(engine.Pre_Set("Ar", "Ti", c), PRE_SET_NONE);
  h.Write("Resource\\Artist\\Ar.jpg", "jpg");
  h.Write("Resource\\Artist\\Ar_swf.jpg", "jpg");
  EXPECT_EQ(engine.Pre_Set("Ar", "Ti", c), PRE_SET_NONE);  // no Flash signature yet
  h.Write("Resource\\Artist\\Ar_swf.sig", "12,34");
  EXPECT_EQ(engine.Pre_Set("Ar", "Ti", c), PRE_SET_PART);
  h.Write("Resource\\Lyric\\Ar-Ti.lrc", kLyric);
  h.Write("Resource\\MTV\\Ar-Ti_flv.jpg", "jpg");
  EXPECT_EQ(engine.Pre_Set("Ar", "Ti", c), PRE_SET_PART);  // MV signature missing
  h.Write("Resource\\MTV\\Ar-Ti_flv.sig", "56,78");
  EXPECT_EQ(engine.Pre_Set("Ar", "Ti", c), PRE_SET_FULL);
  EXPECT_EQ(std::string(c.artist_pic_path), h.Res("Artist\\Ar.jpg"));
  EXPECT_EQ(c.sentences.size(), 2u);
  Content other{};
  EXPECT_EQ(engine.Pre_Set("Nobody", "Ti", other), PRE_SET_NONE);
}

TEST(LocalLookup, UserCopyUnderEachLyricFileOption) {
  struct Case {
    const char* conf;
    const char* copy;  // below the home
  };
  const Case cases[] = {
      {"", "lyric\\Ar-Ti.lrc"},
      {"SaveLrcFileAsSongFileName=1\r\n", "lyric\\My Song.lrc"},
      {"SaveLrcInSongPath=1\r\n", "music\\Ar-Ti.lrc"},
      {"SaveLrcInSongPath=1\r\nSaveLrcFileAsSongFileName=1\r\n", "music\\My Song.lrc"},
      {"SaveLrcInOtherPath=0\r\n", "lrc\\Ar-Ti.lrc"},
      {"LrcSavePath=@\\mine\r\n", "mine\\Ar-Ti.lrc"},
  };
  for (const Case& k : cases) {
    ScopedEngineHome h;
    LayOutResource(h);
    std::string conf = std::string("[LYRIC_FILE]\r\n") + k.conf;
    const size_t at = conf.find('@');
    if (at != std::string::npos) conf.replace(at, 1, h.Home());
    h.Write("conf.ini", conf);
    h.Write(NamesInfo("PA", "PT"), SongPart(Now()) + ContentPart(h));
    ZLyric engine;
    const Lookup l = Find(engine, h, "music\\My Song.wma");
    EXPECT_EQ(l.rt, RESULT_TYPE_CONTENT) << k.conf;
    EXPECT_EQ(std::string(l.c.lrc_path), h.Path(k.copy)) << k.conf;
    EXPECT_EQ(h.Read(k.copy), kLyric) << k.conf;
    EXPECT_EQ(CountFiles(zl::PathFolder(h.Path(k.copy)), ".tmp"), 0);
  }
}

TEST(LocalLookup, UserCopyKeepsTheUsersChangesUntilTheResourceIsNewer) {
  ScopedEngineHome h;
  LayOutResource(h);
  h.Write(NamesInfo("PA", "PT"), SongPart(Now()) + ContentPart(h));
  ZLyric engine;
  Find(engine, h);
  const std::string edited = "[00:00.50]one\r\n[00:01.50]two\r\n";
  h.Write("lyric\\Ar-Ti.lrc", edited);
  AgeFile(h.Res("Lyric\\Ar-Ti.lrc"), -3600);
  Lookup l = Find(engine, h);
  EXPECT_EQ(h.Read("lyric\\Ar-Ti.lrc"), edited);
  ASSERT_EQ(l.c.sentences.size(), 2u);
  EXPECT_EQ(l.c.sentences[0].startTime, 500);
  // A fresher resource (a new download) replaces the copy.
  AgeFile(h.Path("lyric\\Ar-Ti.lrc"), -7200);
  l = Find(engine, h);
  EXPECT_EQ(h.Read("lyric\\Ar-Ti.lrc"), kLyric);
  EXPECT_EQ(l.c.sentences[0].startTime, 1000);
}

TEST(LocalLookup, LocalLyricFoldersInListOrder) {
  ScopedEngineHome h;
  h.Write("conf.ini", "[LOCAL_LRC]\r\npathnum=3\r\npath0=" + h.Path("one") + "\r\npath1=\r\npath2=" +
                          h.Path("two") + "\r\n");
  h.Write("two\\Ar-Ti.lrc", "[00:03]two's\r\n");
  ZLyric engine;
  EXPECT_EQ(engine.searchLrcFromResourceDir("Ar", "Ti"), h.Path("two\\Ar-Ti.lrc"));
  h.Write("one\\Ar-Ti.lrc", "[00:03]one's\r\n");
  EXPECT_EQ(engine.searchLrcFromResourceDir("Ar", "Ti"), h.Path("one\\Ar-Ti.lrc"));
  EXPECT_EQ(engine.searchLrcFromResourceDir("Ar", "Other"), "");
  EXPECT_EQ(engine.searchLrcFromResourceDir("", ""), "");
  // A lyric from there makes an info file's resource usable.
  h.Write(NamesInfo("PA", "PT"), SongPart(Now()) + ContentPart(h));
  const Lookup l = Find(engine, h);
  EXPECT_EQ(l.rt, RESULT_TYPE_CONTENT);
  EXPECT_EQ(std::string(l.c.lrc_path), h.Path("one\\Ar-Ti.lrc"));
}

TEST(LocalLookup, InfoFileWrittenAndReadBack) {
  ScopedEngineHome h;
  LayOutResource(h);
  ZLyric engine;
  Lookup first = Find(engine, h);  // fixes the song record: player names PA/PT
  ASSERT_EQ(first.rt, RESULT_TYPE_NONE);
  Content c{};
  engine.Pre_Set("Ar", "Ti", c);
  const std::string info = engine.GetInfoFile(h.Path("music\\absent.mp3"), "PA", "PT");
  ASSERT_TRUE(engine.WriteInfoFile(info, RESULT_TYPE_CONTENT, {}, c));
  const std::string text = ReadFileAt(info);
  const std::string head = "[SongFileAtr]\r\nsongPath=" + h.Path("music\\absent.mp3") +
                           "\r\ntagArtist=PA\r\ntagTitle=PT\r\ntagAlbum=PL\r\nnKbps=128\r\nunLength=0\r\n"
                           "goonrec=0\r\nrecTime=0\r\nhitfrom=\r\nrecArtist=\r\nrecTitle=\r\nrecAlbum=\r\nFP=\r\n"
                           "sig1=0\r\nsig2=0\r\nfinalArtist=PA\r\nfinalTitle=PT\r\nfinalAlbum=PL\r\nupdTime=";
  EXPECT_EQ(text.substr(0, head.size()), head);
  EXPECT_NE(text.find("\r\n[Resource]\r\nTP=content\r\n\r\nartist=\r\ntitle=\r\nartist_pic_path=" +
                      h.Res("Artist\\Ar.jpg") + "\r\n"),
            std::string::npos);
  EXPECT_EQ(CountFiles(h.Res("info"), ".tmp"), 0);

  ResultType rt = RESULT_TYPE_NONE;
  std::vector<SearchItem> list;
  Content back{};
  engine.ReadInfoFile(info, rt, list, back);
  EXPECT_EQ(rt, RESULT_TYPE_CONTENT);
  EXPECT_EQ(std::string(back.song_flv_pic_path), h.Res("MTV\\Ar-Ti_flv.jpg"));
  EXPECT_EQ(back.song_flv_signature.second, 78u);
}

TEST(LocalLookup, AFailedInfoWriteLeavesTheOldFile) {
  ScopedEngineHome h;
  ZLyric engine;
  Find(engine, h);
  const std::string info = engine.GetInfoFile(h.Path("music\\absent.mp3"), "PA", "PT");
  WriteFileAt(info, "old info");
  SetFileAttributesA(info.c_str(), FILE_ATTRIBUTE_READONLY);
  EXPECT_FALSE(engine.WriteInfoFile(info, RESULT_TYPE_NONE, {}, Content{}));
  SetFileAttributesA(info.c_str(), FILE_ATTRIBUTE_NORMAL);
  EXPECT_EQ(ReadFileAt(info), "old info");
  EXPECT_EQ(CountFiles(h.Res("info"), ".tmp"), 0);
}

TEST(LocalLookup, TagAdviceFromTheRecognitionOutcome) {
  ScopedEngineHome h;
  h.Write(NamesInfo("PA", "PT"),
          SongPart(Now(), "recArtist=PA\r\nrecTitle=Recognised\r\n") + "[Resource]\r\n");
  ZLyric engine;
  const Lookup l = Find(engine, h);
  EXPECT_EQ(l.rt, RESULT_TYPE_NONE);
  EXPECT_EQ(l.tui.bUpdate, 1);
  EXPECT_STREQ(l.tui.recTitle, "Recognised");
  EXPECT_STREQ(l.tui.finalTitle, "PT");
}

// ---- Chinese names, as the users' code page 936 gives them -------------------
// "運" ends in the byte '\', which only a GBK-aware reader keeps inside the name.

TEST(LocalLookup, ChineseHomeSongAndLyricCopyBesideIt) {
  ScopedEngineHome h(" 歌词 好運");
  h.Write("log\\lyriccore.txt", "");  // the installer makes the log folder
  const std::string song = "音乐 好運\\周杰倫 - 晴天.mp3";
  const std::string bytes = songbytes::Id3v2Tag("T", "A", "L") + songbytes::AudioFrames(80, 3);
  h.Write(song, bytes);
  h.Write("music\\same.mp3", bytes);
  uint32_t h1 = 0, h2 = 0;
  ASSERT_TRUE(zl::FileSignature(zl::FileByteSource(h.Path("music\\same.mp3")), true, h1, h2));
  LayOutResource(h);
  h.Write("Resource\\info\\" + zl::SignatureKey(h1, h2) + ".info", SongPart(Now()) + ContentPart(h));
  h.Write("conf.ini", "[LYRIC_FILE]\r\nSaveLrcInSongPath=1\r\nSaveLrcFileAsSongFileName=1\r\n");
  // The tag tool in the home is started with the Chinese paths as its arguments.
  const std::string tool = ProgramFolder() + "tagprobe.exe";
  const bool tagTool = FileAt(tool) && CopyFileA(tool.c_str(), h.Path("tagprobe.exe").c_str(), FALSE);
  ZLyric engine;
  const Lookup l = Find(engine, h, song);
  EXPECT_EQ(l.rt, RESULT_TYPE_CONTENT);
  EXPECT_EQ(std::string(engine.SongAttributes().songPath), h.Path(song));
  if (tagTool) {
    EXPECT_STREQ(engine.SongAttributes().tagTitle, "T");
  }
  const std::string copy = h.Path("音乐 好運\\周杰倫 - 晴天.lrc");
  EXPECT_EQ(std::string(l.c.lrc_path), copy);
  EXPECT_TRUE(FileAtUnicodeName(copy));
  EXPECT_EQ(l.c.sentences.size(), 2u);
  EXPECT_TRUE(FileAtUnicodeName(h.Path("log\\lyriccore.txt")));
  EXPECT_NE(h.Read("log\\lyriccore.txt").find("lrc_path:" + copy), std::string::npos);
}

TEST(LocalLookup, ChineseLyricFolders) {
  ScopedEngineHome h;
  h.Write("conf.ini", "[LOCAL_LRC]\r\npathnum=1\r\npath0=" + h.Path("我的 歌词") + "\r\n[LYRIC_FILE]\r\nLrcSavePath=" +
                          h.Path("歌词 好運") + "\r\n");
  h.Write("我的 歌词\\周杰倫-好運 來.lrc", kLyric);
  LayOutResource(h);
  h.Write(NamesInfo("PA", "PT"), SongPart(Now()) + ContentPart(h));
  ZLyric engine;
  EXPECT_EQ(engine.searchLrcFromResourceDir("周杰倫", "好運 來"), h.Path("我的 歌词\\周杰倫-好運 來.lrc"));
  const Lookup l = Find(engine, h);
  EXPECT_EQ(l.rt, RESULT_TYPE_CONTENT);
  EXPECT_EQ(std::string(l.c.lrc_path), h.Path("歌词 好運\\Ar-Ti.lrc"));
  EXPECT_TRUE(FileAtUnicodeName(h.Path("歌词 好運\\Ar-Ti.lrc")));
}
