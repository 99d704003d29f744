// Fingerprint recognition end to end under Wine: the engine with the
// recognition-engine stand-in (fpmatch.exe in the install home), the
// recognition-server stand-in and the lyric-server stand-in.
#include <windows.h>
#include <tlhelp32.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "AudioPrint.h"
#include "ChildProcess_win.h"
#include "EngineHome_win.h"
#include "SongBytes.h"
#include "lyriccore/ZLyric.h"

using namespace enginetest;
using testsupport::ChildProcess;

namespace {

const char kLyric[] = "[ti:Ti]\r\n[ar:Ar]\r\n[00:01.00]one\r\n[00:02.00]two\r\n";

std::vector<std::string> Lines(const std::string& path) {
  std::vector<std::string> lines;
  std::ifstream in(path, std::ios::binary);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

long long MsSince(std::chrono::steady_clock::time_point t0) {
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - t0).count();
}

int RunningFpmatch() {
  zl::UniqueHandle snap(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  PROCESSENTRY32 e{};
  e.dwSize = sizeof e;
  int n = 0;
  for (BOOL ok = Process32First(snap.Get(), &e); ok; ok = Process32Next(snap.Get(), &e))
    n += _stricmp(e.szExeFile, "fpmatch.exe") == 0;
  return n;
}

bool NoFpmatchWithin(DWORD ms) {
  const DWORD end = GetTickCount() + ms;
  while (RunningFpmatch() > 0) {
    if (GetTickCount() > end) return false;
    Sleep(50);
  }
  return true;
}

std::string Hex(uint32_t v) {
  char s[16];
  std::snprintf(s, sizeof s, "%x", static_cast<unsigned>(v));
  return s;
}

class RecognitionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(CopyFileA((ProgramFolder() + "fpmatch.exe").c_str(), home_.Path("fpmatch.exe").c_str(), FALSE));
    lyrics_ = home_.Path("lyrics");
    CreateDirectoryA(lyrics_.c_str(), nullptr);
    CreateDirectoryA(home_.Path("reco").c_str(), nullptr);
    CreateDirectoryA(home_.Path("music").c_str(), nullptr);
    Conf(3);
    WriteFileAt(lyrics_ + "\\Ar-Ti.lrc", kLyric);
    WriteFileAt(lyrics_ + "\\歌手-你好.lrc", kLyric);
    // The songs the player plays carry names the lyric server does not know;
    // the recognition library holds the same audio under other tags.
    song1_ = Song("music\\song1.mp3", "Wrong Title", "Nobody", 11);
    song2_ = Song("music\\song2.mp3", "Wrong Two", "Nobody", 12);
    Song("reco\\lib1.mp3", "Library tags", "Whoever", 11);
    Song("reco\\lib2.mp3", "Library tags 2", "Whoever", 12);
    home_.Write("reco\\library.txt", "lib1.mp3\tTi\tAr\tAl\r\nlib2.mp3\t你好\t歌手\t专辑\r\n");
  }
  void TearDown() override {
    reco_.Kill();
    lyric_.Kill();
  }

  std::string Song(const std::string& relative, const std::string& title, const std::string& artist, unsigned salt) {
    home_.Write(relative, songbytes::Id3v2Tag(title, artist, "Some album") + songbytes::AudioFrames(40, salt) +
                              songbytes::Id3v1Tag(title));
    return home_.Path(relative);
  }
  void Conf(int retrySeconds) {
    home_.Write("conf.ini", "[CONFIG]\r\nRetryTime=" + std::to_string(retrySeconds) + "\r\n[PROXY]\r\nConType=0\r\n");
  }
  void Options(const std::string& words) { home_.Write("fpmatch.options", words); }

  // Both servers, and a configuration image naming them (read by engines
  // made afterwards).
  void Start(const std::string& recoArgs = "") {
    int lyricPort = 0, recoPort = 0;
    queries_ = home_.Path("queries.txt");
    requests_ = home_.Path("reco_requests.txt");
    bodies_ = home_.Path("reco_bodies.txt");
    ASSERT_TRUE(testsupport::StartServer(
        lyric_, "lyricserver.exe", "--library \"" + lyrics_ + "\" --queries \"" + queries_ + "\" --none-rcode 0",
        lyricPort));
    ASSERT_TRUE(testsupport::StartServer(reco_, "recoserver.exe",
                                         "--library \"" + home_.Path("reco\\library.txt") + "\" --requests \"" +
                                             requests_ + "\" --bodies \"" + bodies_ + "\" " + recoArgs,
                                         recoPort));
    home_.Write("face\\zoc.img", "[LyricServer]\r\nlyricsvr=http://127.0.0.1:" + std::to_string(lyricPort) +
                                     "/lyric\r\n[RecoServer]\r\nrecosvr=http://127.0.0.1:" + std::to_string(recoPort) +
                                     "/reco\r\n[Config]\r\nVersion=1.0\r\n");
  }

  struct Found {
    Result r = RESULT_NET_ERR;
    ResultType rt = RESULT_TYPE_STALE;
    std::vector<SearchItem> list;
    Content c{};
    tagUpdateInfo tui{};
  };
  // What the plug-in does for a new song: local, server, and recognition
  // after a "nothing".
  Found Play(ZLyric& engine, const std::string& song, const std::string& title) {
    Found f;
    engine.FindResFromLocal(song, "Nobody", title, "", 128, f.rt, f.list, f.c, f.tui);
    engine.FindResFromServer(f.r, f.rt, f.list, f.c, f.tui);
    if (f.r == RESULT_OK && f.rt == RESULT_TYPE_NONE) engine.FindResByFp(f.r, f.rt, f.list, f.c, f.tui);
    return f;
  }
  // Local lookup, then recognition straight away (the song record as the
  // info file left it).
  Found Recognise(ZLyric& engine, const std::string& song, const std::string& title) {
    Found f;
    engine.FindResFromLocal(song, "Nobody", title, "", 128, f.rt, f.list, f.c, f.tui);
    engine.FindResByFp(f.r, f.rt, f.list, f.c, f.tui);
    return f;
  }
  std::string InfoPath(const std::string& song, const std::string& title) {
    ZLyric probe;
    return probe.GetInfoFile(song, "Nobody", title);
  }
  // An info file that remembers only a recognition outcome.
  void StoredOutcome(const std::string& song, const std::string& title, int goonrec, long long recTime,
                     const std::string& recTitle, const std::string& recArtist) {
    WriteFileAt(InfoPath(song, title), "[SongFileAtr]\r\ngoonrec=" + std::to_string(goonrec) + "\r\nrecTime=" +
                                           std::to_string(recTime) + "\r\nrecArtist=" + recArtist + "\r\nrecTitle=" +
                                           recTitle + "\r\nupdTime=" + std::to_string(std::time(nullptr)) +
                                           "\r\n[Resource]\r\n");
  }
  size_t RecoRequests() const { return Lines(requests_).size(); }
  static bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

  ScopedEngineHome home_;
  std::string lyrics_, queries_, requests_, bodies_, song1_, song2_;
  ChildProcess lyric_, reco_;
};

}  // namespace

TEST_F(RecognitionTest, RecognisedSongIsFoundUnderTheRecognisedNames) {
  Start();
  ZLyric engine;
  const Found f = Play(engine, song1_, "Wrong Title");
  EXPECT_EQ(f.r, RESULT_OK);
  ASSERT_EQ(f.rt, RESULT_TYPE_CONTENT);
  EXPECT_STREQ(f.c.artist, "Ar");
  EXPECT_STREQ(f.c.title, "Ti");
  EXPECT_EQ(f.c.sentences.size(), 2u);
  EXPECT_STREQ(f.tui.recTitle, "Ti");
  EXPECT_STREQ(f.tui.recArtist, "Ar");

  // The request line, byte for byte, from the recognition engine's print of
  // the song's audio.
  const std::string bytes = ReadFileAt(song1_);
  fpmatch::SongPrint print;
  ASSERT_TRUE(fpmatch::PrintSong(bytes, print));
  std::string fp = Hex(print.words[0]);
  for (int i = 1; i < 256; ++i) fp += "%2C" + Hex(print.words[i]);
  const std::string line = "10,1.0,0%09meta=mp3|fpmatch stand-in 1|song1.mp3|" + std::to_string(print.audioStart) +
                           "|" + std::to_string(print.audioBytes) + "|" + std::to_string(bytes.size()) +
                           "||song1.mp3%09sig=" + Hex(print.signature[0]) + "%2C" + Hex(print.signature[1]) +
                           "%09fp=" + fp + "%0D%0A";
  const std::vector<std::string> requests = Lines(requests_);
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0], line);
  EXPECT_STREQ(engine.SongAttributes().FP, fp.c_str());

  // The lyric server was asked under the song's names, then under the recognised ones.
  const std::vector<std::string> queries = Lines(queries_);
  ASSERT_EQ(queries.size(), 2u);
  EXPECT_TRUE(Has(queries[0], "&songname=Wrong%20Title&artist=Nobody&")) << queries[0];
  EXPECT_TRUE(Has(queries[1], "&songname=Ti&artist=Ar&")) << queries[1];
  EXPECT_TRUE(Has(queries[1], "&RecoSn=Ti&RecoArtist=Ar&")) << queries[1];

  const std::string info = ReadFileAt(InfoPath(song1_, "Wrong Title"));
  EXPECT_TRUE(Has(info, "recTitle=Ti\r\n"));
  EXPECT_TRUE(Has(info, "TP=content"));
  EXPECT_EQ(CountFiles(home_.Res("info"), ".fp"), 0);
  for (const char* step : {"FindResByFp Start:", "GetRecTagByFP Start:", "RecoByFP Start:", "CalFp Start:",
                           "CalFp End:", "RecoByFP End:", "GetRecTag End(suc):", "FindResByFp End:"})
    EXPECT_TRUE(Has(engine.Trace(), step)) << step;
}

// The next song is known to the recognition server under Chinese names.
TEST_F(RecognitionTest, PreGetResRecognisesTheNextSong) {
  Start();
  ZLyric engine;
  Result r = RESULT_NET_ERR;
  ResultType rt = RESULT_TYPE_STALE;
  std::vector<SearchItem> list;
  Content c{};
  engine.PreGetRes(song2_, "Nobody", "Wrong Two", "", 128, r, rt, list, c);
  EXPECT_EQ(r, RESULT_OK);
  ASSERT_EQ(rt, RESULT_TYPE_CONTENT);
  EXPECT_STREQ(c.artist, "歌手");
  EXPECT_STREQ(c.title, "你好");
  EXPECT_STREQ(engine.SongAttributes().recTitle, "你好");
  EXPECT_EQ(c.sentences.size(), 2u);
  EXPECT_EQ(RecoRequests(), 1u);
}

TEST_F(RecognitionTest, ValidityIntervalsDecideWhetherToRecognise) {
  Start();
  const long long now = std::time(nullptr), day = 86400;
  {
    // Recognised two days ago: the stored names are searched again.
    StoredOutcome(song1_, "Wrong Title", 0, now - 2 * day, "Ti", "Ar");
    ZLyric engine;
    const Found f = Recognise(engine, song1_, "Wrong Title");
    EXPECT_EQ(RecoRequests(), 0u);
    EXPECT_FALSE(Has(engine.Trace(), "RecoByFP Start:"));
    EXPECT_EQ(f.r, RESULT_OK);
    EXPECT_EQ(f.rt, RESULT_TYPE_CONTENT);
  }
  {
    // Failed two days ago: tried again.
    StoredOutcome(song1_, "Wrong Title", 0, now - 2 * day, "", "");
    ZLyric engine;
    const Found f = Recognise(engine, song1_, "Wrong Title");
    EXPECT_EQ(RecoRequests(), 1u);
    EXPECT_EQ(f.rt, RESULT_TYPE_CONTENT);
  }
  {
    // Failed an hour ago: left alone.
    StoredOutcome(song1_, "Wrong Title", 0, now - 3600, "", "");
    ZLyric engine;
    const Found f = Recognise(engine, song1_, "Wrong Title");
    EXPECT_EQ(RecoRequests(), 1u);
    EXPECT_EQ(f.r, RESULT_FAIL);
    EXPECT_EQ(f.rt, RESULT_TYPE_NONE);
  }
  {
    // A recognition time in the future does not count.
    StoredOutcome(song1_, "Wrong Title", 0, now + day, "Ti", "Ar");
    ZLyric engine;
    Recognise(engine, song1_, "Wrong Title");
    EXPECT_EQ(RecoRequests(), 2u);
    EXPECT_GE(engine.SongAttributes().recTime, now);
    EXPECT_LE(engine.SongAttributes().recTime, std::time(nullptr));
  }
}

TEST_F(RecognitionTest, EmptyAnswerLeavesTheSongToBeTriedAgain) {
  Start("--empty");
  const long long now = std::time(nullptr);
  StoredOutcome(song1_, "Wrong Title", 0, now - 2 * 86400, "", "");
  ZLyric engine;
  const Found f = Recognise(engine, song1_, "Wrong Title");
  EXPECT_EQ(f.r, RESULT_FAIL);
  EXPECT_EQ(f.rt, RESULT_TYPE_NONE);
  EXPECT_EQ(engine.SongAttributes().goonrec, 1);
  EXPECT_EQ(f.tui.bGoon, 1);
  EXPECT_TRUE(Has(engine.Trace(), "GetRecTag End(net timeout):"));
  // The outcome is kept with the song for the next play.
  const std::string info = ReadFileAt(InfoPath(song1_, "Wrong Title"));
  EXPECT_TRUE(Has(info, "goonrec=1\r\n")) << info;
  EXPECT_FALSE(Has(info, "recTime=" + std::to_string(now - 2 * 86400))) << info;
}

TEST_F(RecognitionTest, NotKnownSettlesAndAMalformedAnswerChangesNothing) {
  home_.Write("reco\\library.txt", "lib2.mp3\tTi2\tAr2\tAl2\r\n");
  Start();
  {
    ZLyric engine;
    const Found f = Play(engine, song1_, "Wrong Title");
    EXPECT_EQ(f.r, RESULT_FAIL);
    EXPECT_EQ(f.rt, RESULT_TYPE_NONE);
    EXPECT_EQ(engine.SongAttributes().goonrec, 0);
    EXPECT_TRUE(Has(engine.Trace(), "GetRecTag End(svr no this song):"));
    EXPECT_TRUE(Has(ReadFileAt(InfoPath(song1_, "Wrong Title")), "goonrec=0\r\n"));
  }
  reco_.Kill();
  Start("--no-tab");
  StoredOutcome(song1_, "Wrong Title", 1, 12345, "", "");
  ZLyric engine;
  const Found f = Recognise(engine, song1_, "Wrong Title");
  EXPECT_EQ(f.r, RESULT_FAIL);
  EXPECT_EQ(engine.SongAttributes().goonrec, 1);
  EXPECT_EQ(engine.SongAttributes().recTime, 12345);
  EXPECT_TRUE(Has(engine.Trace(), "GetRecTag End(reco fail):"));
  EXPECT_EQ(engine.RecoTags().back().status, RECO_STATUS_FAILED);
}

TEST_F(RecognitionTest, TenByteLineIsSentAsTheBase64OfTwelve) {
  Start();
  ZLyric engine;
  char buffer[64] = "abcdefghij";
  engine.SendData(buffer, sizeof buffer);
  // The stand-in refuses a line that is no recognition request; each of
  // the three tries carried the same body.
  EXPECT_STREQ(buffer, "");
  EXPECT_EQ(Lines(bodies_), std::vector<std::string>(3, "YWJjZGVmZ2hpaj09"));
}

TEST_F(RecognitionTest, HungServerCostsRetryTimeOnce) {
  Conf(1);
  Start("--hang");
  ZLyric engine;
  const auto t0 = std::chrono::steady_clock::now();
  const Found f = Recognise(engine, song1_, "Wrong Title");
  const long long ms = MsSince(t0);
  EXPECT_LT(ms, 7000);
  EXPECT_EQ(f.r, RESULT_FAIL);
  EXPECT_EQ(engine.SongAttributes().goonrec, 1);
  EXPECT_EQ(RecoRequests(), 1u);
  std::printf("recognition against a hung server with RetryTime 1: %lld ms\n", ms);
}

TEST_F(RecognitionTest, CutConnectionIsTriedThreeTimes) {
  Start("--cut");
  ZLyric engine;
  const Found f = Recognise(engine, song1_, "Wrong Title");
  EXPECT_EQ(f.r, RESULT_FAIL);
  EXPECT_EQ(engine.SongAttributes().goonrec, 1);
  EXPECT_EQ(RecoRequests(), 3u);
}

TEST_F(RecognitionTest, HungRecognitionEngineIsEndedAtItsLimit) {
  Start();
  Options("hang");
  ZLyric engine;
  engine.SetRecognitionEngineLimit(1000);
  const auto t0 = std::chrono::steady_clock::now();
  const Found f = Recognise(engine, song1_, "Wrong Title");
  const long long ms = MsSince(t0);
  EXPECT_LT(ms, 7000);
  EXPECT_EQ(f.r, RESULT_FAIL);
  EXPECT_EQ(f.rt, RESULT_TYPE_NONE);
  EXPECT_EQ(RecoRequests(), 0u);
  EXPECT_TRUE(Has(engine.Trace(), "CalFp End(ended):"));
  EXPECT_TRUE(NoFpmatchWithin(3000));
  EXPECT_EQ(CountFiles(home_.Res("info"), ".fp"), 0);
}

TEST_F(RecognitionTest, TerninateFpmatchEndsItFromAnotherThread) {
  Start();
  Options("hang");
  ZLyric engine;
  engine.SetRecognitionEngineLimit(120000);
  std::atomic<bool> done{false};
  std::thread ender([&] {
    while (!done) {
      Sleep(200);
      engine.TerninateFpmatch();
    }
  });
  const auto t0 = std::chrono::steady_clock::now();
  const Found f = Recognise(engine, song1_, "Wrong Title");
  done = true;
  ender.join();
  EXPECT_LT(MsSince(t0), 15000);
  EXPECT_EQ(f.r, RESULT_FAIL);
  EXPECT_EQ(RecoRequests(), 0u);
  EXPECT_TRUE(NoFpmatchWithin(3000));
  // With nothing running it does nothing.
  engine.TerninateFpmatch();
}

TEST_F(RecognitionTest, CrashedLyingOrSlowRecognitionEngine) {
  Start();
  {
    Options("crash");
    ZLyric engine;
    const Found f = Recognise(engine, song1_, "Wrong Title");
    EXPECT_EQ(f.r, RESULT_FAIL);
    EXPECT_TRUE(Has(engine.Trace(), "RecoByFP End(no fingerprint):"));
    EXPECT_EQ(RecoRequests(), 0u);
  }
  {
    Options("lie");
    ZLyric engine;
    const Found f = Recognise(engine, song1_, "Wrong Title");
    EXPECT_EQ(f.r, RESULT_FAIL);
    EXPECT_TRUE(Has(engine.Trace(), "RecoByFP End(ReadTagInfo fail):"));
    EXPECT_EQ(RecoRequests(), 0u);
  }
  {
    Options("slow 1500");
    ZLyric engine;
    engine.SetRecognitionEngineLimit(20000);
    const Found f = Recognise(engine, song1_, "Wrong Title");
    EXPECT_EQ(f.r, RESULT_OK);
    EXPECT_EQ(f.rt, RESULT_TYPE_CONTENT);
    EXPECT_EQ(RecoRequests(), 1u);
  }
  {
    // Without the program there is nothing to run.
    DeleteFileA(home_.Path("fpmatch.exe").c_str());
    ZLyric engine;
    StoredOutcome(song1_, "Wrong Title", 1, 0, "", "");
    const Found f = Recognise(engine, song1_, "Wrong Title");
    EXPECT_EQ(f.r, RESULT_FAIL);
    EXPECT_TRUE(Has(engine.Trace(), "CalFp End(Fail):"));
  }
}
