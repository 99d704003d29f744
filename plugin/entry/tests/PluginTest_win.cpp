// The road of one song through the real plug-in inside the player stand-in:
// song changes, fetches from the lyric-server stand-in and from the local
// store, the view state that results, and how threads end.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "PluginSoak_win.h"
#include "PluginTestbed_win.h"
#include "Screenshot_win.h"
#include "player/WinampIpcCodec.h"

using namespace plugintest;
namespace wa = zl::winamp;

namespace {

const char kLyric[] = "[ti:T]\r\n[ar:A]\r\n[00:01.00]first line\r\n[00:03.00]second line\r\n";
constexpr int kIdle = 0, kNetworkFailed = 3, kNoLyricFound = 4, kReady = 5, kNotSupported = 6;

struct PluginTest : testing::Test {
  PluginTestbed bed;

  playerhost::PlaylistEntry Song(const std::string& file, const std::string& artist, const std::string& title,
                                 int lengthSec = 240) {
    return {bed.AddSong(file, artist, title), title, lengthSec};
  }
  // The view shows a ready lyric for this song.
  bool ReadyFor(const std::string& path, DWORD ms = 15000) {
    return bed.WaitSnapshot(
        [&](const ZoLyricSnapshot& s) { return s.status == kReady && path == s.tagPath; }, ms);
  }
};

}  // namespace

TEST_F(PluginTest, ServerHitThenLocalHitOfTheSameSong) {
  bed.AddLyric("A", "T", kLyric);
  ASSERT_TRUE(bed.StartServer());
  const auto first = Song("a.mp3", "A", "T");
  const auto second = Song("flac.flac", "B", "U");
  ASSERT_TRUE(bed.Start({first, second}));
  bed.Press(wa::kButtonPlay);
  ASSERT_TRUE(ReadyFor(first.path));
  ZoLyricSnapshot s = bed.Snapshot();
  EXPECT_EQ(s.sentenceCount, 2u);
  EXPECT_STREQ(s.firstSentence, "first line");
  EXPECT_EQ(bed.Queries().size(), 1u);  // the zip content came from the server

  // An unsupported song: no fetch, no request.
  bed.Press(wa::kButtonNext);
  ASSERT_TRUE(bed.WaitSnapshot([&](const ZoLyricSnapshot& x) { return x.status == kNotSupported; }));
  EXPECT_STREQ(bed.Snapshot().message, "不支持该歌曲歌词显示");
  EXPECT_EQ(bed.Snapshot().fetches, 1u);

  // Back to the first song: the store has it now.
  bed.Press(wa::kButtonPrevious);
  ASSERT_TRUE(ReadyFor(first.path));
  EXPECT_EQ(bed.Snapshot().sentenceCount, 2u);
  EXPECT_EQ(bed.Queries().size(), 1u);
  EXPECT_EQ(bed.Snapshot().terminations, 0u);
}

TEST_F(PluginTest, LogsEachLyricLineTheViewMovesTo) {
  bed.AddLyric("A", "T", kLyric);
  ASSERT_TRUE(bed.StartServer());
  const auto song = Song("a.mp3", "A", "T");
  ASSERT_TRUE(bed.Start({song}));
  bed.Press(wa::kButtonPlay);
  ASSERT_TRUE(ReadyFor(song.path));
  auto logged = [&](const char* line) {
    return WaitFor([&] { return bed.LyricLog().find(line) != std::string::npos; }, 5000);
  };
  bed.clock += 1500;
  EXPECT_TRUE(logged("Lyric line 1 of 2 at 1500 ms: first line")) << bed.LyricLog();
  bed.clock += 2000;
  EXPECT_TRUE(logged("Lyric line 2 of 2 at 3500 ms: second line")) << bed.LyricLog();
}

// Lyric files as editors write them today reach the window as the user's
// code page, word times taken out of the shown text.
TEST_F(PluginTest, LyricsInUtf8Utf16AndEnhancedLrcShowAsTheirText) {
  const std::string utf8 = u8"[00:05.00]月亮代表我的心\r\n[00:09.00]你问我爱你有多深\r\n";
  std::string utf16le = "\xFF\xFE";
  for (char16_t c : std::u16string(u"[00:05.00]月亮代表我的心\r\n[00:09.00]你问我爱你有多深\r\n")) {
    utf16le += static_cast<char>(c & 0xFF);
    utf16le += static_cast<char>(c >> 8);
  }
  const std::string enhanced =
      u8"[00:05.00]<00:05.00>月亮<00:06.00>代表<00:07.00>我的心\r\n[00:09.00]<00:09.00>你问<00:10.00>我爱你\r\n";
  // The installed colours, and the karaoke fill that follows the word times.
  WriteFile(bed.Home() + "\\conf.ini",
            "[CONFIG]\r\nRetryTime=5\r\n[PROXY]\r\nConType=0\r\n[Style]\r\nIsKalaOk=1\r\n"
            "[LYRIC_FONT]\r\nfacename=宋体\r\nheight=-14\r\nrgb=12615680\r\nhighlightrgb=65280\r\n");
  bed.AddLyric("A", "T", utf8);
  bed.AddLyric("B", "U", utf16le);
  bed.AddLyric("C", "V", enhanced);
  ASSERT_TRUE(bed.StartServer());
  const auto a = Song("a.mp3", "A", "T"), b = Song("b.mp3", "B", "U"), c = Song("c.mp3", "C", "V");
  ASSERT_TRUE(bed.Start({a, b, c}, FastTimings(), "", true));
  bed.Press(wa::kButtonPlay);
  for (const auto* song : {&a, &b, &c}) {
    if (song != &a) bed.Press(wa::kButtonNext);
    ASSERT_TRUE(ReadyFor(song->path)) << song->path;
    const ZoLyricSnapshot s = bed.Snapshot();
    EXPECT_EQ(s.sentenceCount, 2u) << song->path;
    EXPECT_STREQ(s.firstSentence, "月亮代表我的心") << song->path;
  }
  bed.clock += 6500;  // after the intro, inside the enhanced line's second word
  HWND lyric = FindWindowA("ZoLyricMainWindow", nullptr);
  ASSERT_NE(lyric, nullptr);
  ASSERT_TRUE(WaitFor([&] { return bed.LyricLog().find("Lyric line 1 of 2 at 6500 ms") != std::string::npos; }, 5000));
  Sleep(3000);  // the view scrolls to the line over several repaints
  EXPECT_TRUE(SaveShot(CaptureWindow(lyric), "plugin-enhanced-lrc"));
}

TEST_F(PluginTest, ListAnswerTakesTheChosenCandidate) {
  bed.AddLyric("A", "T", kLyric);
  bed.AddLyric("Other", "T", "[00:01.00]other\r\n");
  ASSERT_TRUE(bed.StartServer("--list"));
  const auto song = Song("t.mp3", "", "T");  // no artist: both match
  ASSERT_TRUE(bed.Start({song}));
  bed.Press(wa::kButtonPlay);
  ASSERT_TRUE(ReadyFor(song.path));
  EXPECT_STREQ(bed.Snapshot().firstSentence, "first line");  // the first candidate
  const auto queries = bed.Queries();
  ASSERT_EQ(queries.size(), 2u);
  EXPECT_NE(queries[1].find("path=%2F"), std::string::npos) << queries[1];  // fetched by its server path
}

TEST_F(PluginTest, NothingOnTheServerAndNoRecognitionSaysSo) {
  ASSERT_TRUE(bed.StartServer());
  const auto song = Song("n.mp3", "Nobody", "Nothing");
  ASSERT_TRUE(bed.Start({song}));
  bed.Press(wa::kButtonPlay);
  // The server knows nothing and no recognition engine is installed.
  ASSERT_TRUE(bed.WaitSnapshot([](const ZoLyricSnapshot& s) { return s.status == kNoLyricFound; }));
  const ZoLyricSnapshot s = bed.Snapshot();
  EXPECT_EQ(s.sentenceCount, 0u);
  EXPECT_TRUE(s.messageCode == 7 || s.messageCode == 9) << s.messageCode;  // 9: the upload invitation came after it
}

TEST_F(PluginTest, SongUnknownByItsTagsGetsItsLyricThroughRecognition) {
  bed.AddLyric("Ar", "Ti", kLyric);
  ASSERT_TRUE(bed.StartServer("--none-rcode 0"));  // "not known, go on with recognition"
  const auto song = Song("wrong.mp3", "Nobody", "Wrong Title");
  ASSERT_TRUE(bed.StartRecognition("wrong.mp3", "Ti", "Ar"));
  ASSERT_TRUE(bed.Start({song}));
  bed.Press(wa::kButtonPlay);
  ASSERT_TRUE(ReadyFor(song.path, 30000));
  EXPECT_STREQ(bed.Snapshot().firstSentence, "first line");
  const auto queries = bed.Queries();
  ASSERT_EQ(queries.size(), 2u);
  EXPECT_NE(queries[1].find("songname=Ti&artist=Ar&"), std::string::npos) << queries[1];
}

// The context menu's commands, as the lyric window hands them on.
TEST_F(PluginTest, MenuCommandsReachTheEngineThroughTheLyricWindow) {
  bed.AddLyric("A", "T", kLyric);
  ASSERT_TRUE(bed.StartServer());
  const auto song = Song("a.mp3", "A", "T");
  ASSERT_TRUE(bed.Start({song}));
  bed.Press(wa::kButtonPlay);
  ASSERT_TRUE(ReadyFor(song.path));
  HWND lyric = FindWindowA("ZoLyricMainWindow", nullptr);
  ASSERT_NE(lyric, nullptr);
  // The file is read only once the engine is done with it: a reader holding
  // it open would make the engine's replacing write fail.
  const std::string engineLog = bed.Home() + "\\log\\lyriccore.txt";
  auto engineDid = [&](const char* step, size_t times) {
    return WaitFor([&] {
      const std::string text = ReadFile(engineLog);
      size_t n = 0;
      for (size_t at = text.find(step); at != std::string::npos; at = text.find(step, at + 1)) ++n;
      return n >= times;
    }, 5000);
  };
  auto stored = [&] {
    for (const auto& entry : std::filesystem::recursive_directory_iterator(bed.Home()))
      if (entry.path().extension() == ".lrc") return ReadFile(entry.path().string());
    return std::string();
  };
  EXPECT_NE(stored().find("[00:01.00]first line"), std::string::npos);

  PostMessageA(lyric, WM_COMMAND, 32792, 0);  // 0.5 s later
  ASSERT_TRUE(engineDid("out AdjustLrcTime", 1));
  EXPECT_NE(stored().find("[00:01.50]first line"), std::string::npos) << stored();

  PostMessageA(lyric, WM_COMMAND, 32769, 0);  // copy the lyric
  std::string copied;
  EXPECT_TRUE(WaitFor([&] {
    if (!OpenClipboard(nullptr)) return false;
    if (HANDLE text = GetClipboardData(CF_TEXT)) {
      if (const char* p = static_cast<const char*>(GlobalLock(text))) {
        copied = p;
        GlobalUnlock(text);
      }
    }
    CloseClipboard();
    return copied.find("second line") != std::string::npos;
  }, 5000)) << copied;

  const size_t asked = bed.Queries().size();
  PostMessageA(lyric, WM_COMMAND, 32777, 0);  // reset: the server's copy again
  ASSERT_TRUE(engineDid("out ReloadLrc", 1));
  EXPECT_EQ(bed.Queries().size(), asked + 1);
  EXPECT_TRUE(ReadyFor(song.path));
  EXPECT_NE(stored().find("[00:01.00]first line"), std::string::npos) << stored();
}

TEST_F(PluginTest, NetworkFailureIsShown) {
  const auto song = Song("a.mp3", "A", "T");  // the image names a port nobody listens on
  ASSERT_TRUE(bed.Start({song}));
  bed.Press(wa::kButtonPlay);
  ASSERT_TRUE(bed.WaitSnapshot([&](const ZoLyricSnapshot& s) { return s.status == kNetworkFailed; }));
  EXPECT_STREQ(bed.Snapshot().message, "网络连接失败...");
}

TEST_F(PluginTest, RealMediaFilesUpToThreeMegabytes) {
  ASSERT_TRUE(bed.StartServer());
  const std::string big = bed.Music("big.rm"), small = bed.Music("small.rm");
  WriteFile(big, std::string(0x300000, 'r'));
  WriteFile(small, std::string(0x2FFFFF, 'r'));
  ASSERT_TRUE(bed.Start({{big, "big", 100}, {small, "small", 100}}));
  bed.Press(wa::kButtonPlay);
  ASSERT_TRUE(bed.WaitSnapshot([&](const ZoLyricSnapshot& s) { return s.status == kNotSupported; }));
  bed.Press(wa::kButtonNext);
  ASSERT_TRUE(bed.WaitSnapshot([&](const ZoLyricSnapshot& s) { return s.fetches == 1 && s.viewUpdates == 1; }));
  EXPECT_STREQ(bed.Snapshot().tagPath, small.c_str());
}

TEST_F(PluginTest, StopThenPlayShowsTheKeptLyricWithoutAFetch) {
  bed.AddLyric("A", "T", kLyric);
  ASSERT_TRUE(bed.StartServer());
  const auto song = Song("a.mp3", "A", "T");
  ASSERT_TRUE(bed.Start({song}));
  bed.Press(wa::kButtonPlay);
  ASSERT_TRUE(ReadyFor(song.path));
  bed.Press(wa::kButtonStop);
  ZoLyricSnapshot s = bed.Snapshot();
  EXPECT_EQ(s.status, kIdle);
  EXPECT_EQ(s.sentenceCount, 0u);
  bed.Press(wa::kButtonPlay);
  ASSERT_TRUE(ReadyFor(song.path));
  s = bed.Snapshot();
  EXPECT_EQ(s.sentenceCount, 2u);
  EXPECT_EQ(s.fetches, 1u);
  EXPECT_EQ(s.songChanges, 1u);
}

TEST_F(PluginTest, SecondChangeWithinThePauseEndsTheFirstBeforeItReleasesAnything) {
  bed.AddLyric("B", "U", kLyric);
  ASSERT_TRUE(bed.StartServer());
  PluginTimings t = FastTimings();
  t.changeSongPauseMs = 500;
  const auto a = Song("a.mp3", "A", "T"), b = Song("b.mp3", "B", "U");
  ASSERT_TRUE(bed.Start({a, b}, t));
  bed.Press(wa::kButtonPlay);
  ASSERT_TRUE(bed.WaitSnapshot([](const ZoLyricSnapshot& s) { return s.songChanges == 1; }));
  bed.Press(wa::kButtonNext);
  ASSERT_TRUE(ReadyFor(b.path));
  const ZoLyricSnapshot s = bed.Snapshot();
  EXPECT_EQ(s.songChanges, 2u);
  EXPECT_EQ(s.changeSongCancelled, 1u);
  EXPECT_EQ(s.releases, 1u);  // only the second song's thread released
  EXPECT_EQ(s.fetches, 1u);
  EXPECT_EQ(s.terminations, 0u);
  EXPECT_EQ(bed.Queries().size(), 1u);
}

TEST_F(PluginTest, LateResultOfTheOldSongIsDropped) {
  ASSERT_TRUE(bed.StartServer("--hang"));
  const auto a = Song("a.mp3", "A", "T");
  const std::string b = bed.Music("b.flac");
  WriteFile(b, "x");
  ASSERT_TRUE(bed.Start({a, {b, "b", 100}}));
  bed.Press(wa::kButtonPlay);
  ASSERT_TRUE(WaitFor([&] { return !bed.Requests().empty(); }, 15000));  // A's request hangs
  bed.Press(wa::kButtonNext);
  // B's change clears the view; closing A's connection ends its search,
  // whose result no longer belongs to the song in the view.
  ASSERT_TRUE(bed.WaitSnapshot([](const ZoLyricSnapshot& s) { return s.wrongSongDrops == 1; }));
  ASSERT_TRUE(bed.WaitSnapshot([](const ZoLyricSnapshot& s) { return s.status == kNotSupported; }));
  EXPECT_EQ(bed.Snapshot().terminations, 0u);  // it ended when asked
}

TEST_F(PluginTest, NextEntryIsFetchedAheadNearTheSongsEnd) {
  bed.AddLyric("A", "T", kLyric);
  bed.AddLyric("B", "U", kLyric);
  ASSERT_TRUE(bed.StartServer());
  const auto a = Song("a.mp3", "A", "T", 300), b = Song("b.mp3", "B", "U");
  ASSERT_TRUE(bed.Start({a, b}));
  bed.Press(wa::kButtonPlay);
  ASSERT_TRUE(ReadyFor(a.path));
  Sleep(200);  // many pre-fetch polls: still two minutes and more to go
  EXPECT_EQ(bed.Snapshot().prefetches, 0u);
  bed.clock += 181000;  // 119 s left
  ASSERT_TRUE(bed.WaitSnapshot([](const ZoLyricSnapshot& s) { return s.prefetches == 1; }));
  const auto queries = bed.Queries();
  ASSERT_EQ(queries.size(), 2u);
  EXPECT_NE(queries[1].find("songname=U&artist=B"), std::string::npos) << queries[1];
}

TEST_F(PluginTest, WebStreamAsNextEntryIsNotFetchedAhead) {
  bed.AddLyric("A", "T", kLyric);
  ASSERT_TRUE(bed.StartServer());
  const auto a = Song("a.mp3", "A", "T", 100);  // short: the pre-fetch is due at once
  ASSERT_TRUE(bed.Start({a, {"http://radio.example/live.mp3", "radio", 100}}));
  bed.Press(wa::kButtonPlay);
  ASSERT_TRUE(ReadyFor(a.path));
  ASSERT_TRUE(WaitFor([&] { return bed.LyricLog().find("no valid media ,no pre get resource") != std::string::npos; },
                      15000));
  EXPECT_EQ(bed.Snapshot().prefetches, 0u);
  EXPECT_EQ(bed.Queries().size(), 1u);
}

TEST_F(PluginTest, ModernSkinWindowIsHookedAndUnhooked) {
  // Only a visible window is taken for the modern skin's main window.
  ASSERT_TRUE(bed.Start({Song("a.mp3", "A", "T")}, FastTimings(), "", true));
  EXPECT_EQ(bed.Snapshot().hooked, 1);
  ASSERT_TRUE(bed.Host().ConfigPlugin(0));
  EXPECT_NE(ReadFile(bed.Home() + "\\log\\gen_zolyric.txt").find("Enter Winamp General Plugin Config"),
            std::string::npos);
  bed.Host().SetSkinName("Winamp Modern Big");
  HWND modern = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (modern = bed.Host().ModernWindow()) != nullptr; }, 5000));
  ASSERT_TRUE(bed.WaitSnapshot([](const ZoLyricSnapshot& s) { return s.modernHooked == 1; }, 5000));
  const LONG_PTR hooked = GetWindowLongPtrA(modern, GWLP_WNDPROC);
  bed.Host().SetSkinName("Base");
  ASSERT_TRUE(bed.WaitSnapshot([](const ZoLyricSnapshot& s) { return s.modernHooked == 0; }, 5000));
  if (IsWindow(modern)) {
    EXPECT_NE(GetWindowLongPtrA(modern, GWLP_WNDPROC), hooked);
  }
}

TEST_F(PluginTest, QuitWhileAFetchHangsEndsWithinItsBounds) {
  ASSERT_TRUE(bed.StartServer("--hang"));
  const auto a = Song("a.mp3", "A", "T");
  ASSERT_TRUE(bed.Start({a}));
  bed.Press(wa::kButtonPlay);
  ASSERT_TRUE(WaitFor([&] { return !bed.Requests().empty(); }, 15000));
  const ULONGLONG start = GetTickCount64();
  bed.Close();
  EXPECT_LT(GetTickCount64() - start, 8000u);
  EXPECT_FALSE(bed.Host().IsRunning());
}

TEST_F(PluginTest, WithoutLyricCoreThePluginStaysOffAndThePlayerPlays) {
  DeleteFileA((bed.Home() + "\\LyricCore.dll").c_str());
  ASSERT_TRUE(bed.Start({Song("a.mp3", "A", "T"), Song("b.mp3", "B", "U")}));
  bed.Press(wa::kButtonPlay);
  bed.Press(wa::kButtonNext);
  EXPECT_EQ(SendMessageA(bed.Host().MainWindow(), WM_USER, 0, wa::kIpcIsPlaying), 1);
  const ZoLyricSnapshot s = bed.Snapshot();
  EXPECT_EQ(s.running, 0);
  EXPECT_EQ(s.hooked, 0);
  EXPECT_NE(ReadFile(bed.Home() + "\\log\\gen_zolyric.txt").find("LyricCore.dll cannot be loaded"),
            std::string::npos);
}

TEST_F(PluginTest, QuickSongChangesLeaveNoHandlesOrMemoryBehind) {
  const SoakFigures f = RunSoak(bed, 300, 5, 11);
  ASSERT_TRUE(f.responsive) << "after " << f.changes << " changes";
  EXPECT_EQ(bed.Snapshot().running, 1);
  // Steady once warm: a few handles and a little memory may come and go.
  EXPECT_LE(f.endHandles, f.warmHandles + 20) << f.warmHandles << " -> " << f.endHandles;
  EXPECT_LE(f.endPrivateBytes, f.warmPrivateBytes + 4 * 1024 * 1024) << f.warmPrivateBytes << " -> " << f.endPrivateBytes;
}

TEST_F(PluginTest, WithoutAnInstallHomeThePluginStaysOff) {
  RegDeleteKeyValueA(HKEY_LOCAL_MACHINE, "SOFTWARE\\ZOLYRIC", "ZOLYRIC_HOME");
  ASSERT_TRUE(bed.Start({Song("a.mp3", "A", "T")}));
  bed.Press(wa::kButtonPlay);
  EXPECT_EQ(SendMessageA(bed.Host().MainWindow(), WM_USER, 0, wa::kIpcIsPlaying), 1);
  EXPECT_EQ(bed.Snapshot().running, 0);
  EXPECT_EQ(bed.Snapshot().hooked, 0);
}
