// The engine against the lyric-server stand-in: queries, answers, archives,
// aborts and the proxy modes, with an install home of the test's own.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "ChildProcess_win.h"
#include "EngineHome_win.h"
#include "ZipWriter.h"
#include "lyriccore/ZLyric.h"

using namespace enginetest;
using testsupport::ChildProcess;

namespace {

const char kLyric[] = "[ti:Ti]\r\n[ar:Ar]\r\n[00:01.00]one\r\n[00:02.00]two\r\n";

std::string Field(const char* f) { return f; }

std::string ReadRegistryFirstGet() {
  char value[32] = {};
  DWORD size = sizeof value - 1;
  if (RegGetValueA(HKEY_LOCAL_MACHINE, "SOFTWARE\\ZOLYRIC", "FIRST_GET_LYRIC", RRF_RT_REG_SZ, nullptr, value,
                   &size) != ERROR_SUCCESS)
    return "<missing>";
  return value;
}

void SetRegistryFirstGet(const char* value) {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\ZOLYRIC", 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                            nullptr),
            ERROR_SUCCESS);
  if (value) RegSetValueExA(key, "FIRST_GET_LYRIC", 0, REG_SZ, reinterpret_cast<const BYTE*>(value),
                            static_cast<DWORD>(strlen(value) + 1));
  else RegDeleteValueA(key, "FIRST_GET_LYRIC");
  RegCloseKey(key);
}

class ServerSearchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    library_ = home_.Path("library");
    CreateDirectoryA(library_.c_str(), nullptr);
    queries_ = home_.Path("queries.txt");
    Conf("[CONFIG]\r\nRetryTime=5\r\n[PROXY]\r\nConType=0\r\n");
  }
  void TearDown() override { server_.Kill(); }

  void Library(const std::string& name, const std::string& bytes) { WriteFileAt(library_ + "\\" + name, bytes); }
  void FullLibrary() {
    Library("Ar-Ti.lrc", kLyric);
    Library("Ar.jpg", "artist jpg");
    Library("Ar_swf.jpg", "swf jpg");
    Library("Ar_swf.sig", "12,34");
    Library("Ar-Ti_flv.jpg", "flv jpg");
    Library("Ar-Ti_flv.sig", "56,78");
  }
  void Conf(const std::string& text) { home_.Write("conf.ini", text); }
  void Start(const std::string& args = "") {
    ASSERT_TRUE(testsupport::StartServer(
        server_, "lyricserver.exe", "--library \"" + library_ + "\" --queries \"" + queries_ + "\" " + args, port_));
    home_.Write("face\\zoc.img", "[LyricServer]\r\nlyricsvr=http://127.0.0.1:" + std::to_string(port_) +
                                     "/lyric\r\n[Config]\r\nVersion=1.0\r\n");
  }
  std::vector<std::string> Queries() const {
    std::vector<std::string> lines;
    std::ifstream in(queries_);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
  }
  // The part of the argument string after the user field (whose host
  // identity is the test program's own path).
  std::string QueryTail(size_t index) const {
    const std::vector<std::string> q = Queries();
    if (index >= q.size()) return "<no query>";
    const size_t amp = q[index].find("&requester=");
    return amp == std::string::npos ? q[index] : q[index].substr(amp);
  }

  struct Found {
    Result r = RESULT_FAIL;
    ResultType rt = RESULT_TYPE_STALE;
    std::vector<SearchItem> list;
    Content c{};
    tagUpdateInfo tui{};
  };
  Found FindFor(ZLyric& engine, const std::string& artist, const std::string& title) {
    Found f;
    engine.FindResFromLocal("music\\absent.mp3", artist, title, "", 128, f.rt, f.list, f.c, f.tui);
    engine.FindResFromServer(f.r, f.rt, f.list, f.c, f.tui);
    return f;
  }
  std::string InfoText(const std::string& artist, const std::string& title) {
    ZLyric probe;
    return ReadFileAt(probe.GetInfoFile("music\\absent.mp3", artist, title));
  }

  ScopedEngineHome home_;
  std::string library_, queries_;
  ChildProcess server_;
  int port_ = 0;
};

}  // namespace

TEST_F(ServerSearchTest, AutomaticSearchSendsEveryValueAndUnpacksTheContent) {
  FullLibrary();
  Start();
  ZLyric engine;
  const Found f = FindFor(engine, "Ar", "Ti");
  EXPECT_EQ(f.r, RESULT_OK);
  EXPECT_EQ(f.rt, RESULT_TYPE_CONTENT);
  ASSERT_EQ(Queries().size(), 1u);
  EXPECT_EQ(Queries()[0].rfind("user=0,1.0,0,", 0), 0u);
  EXPECT_EQ(QueryTail(0),
            "&requester=localhost&type=2&req=full&songname=Ti&artist=Ar&path=&zipsig=&RecoSn=&RecoArtist="
            "&FileName=absent.mp3&sig=0%252C0");
  EXPECT_EQ(Field(f.c.artist), "Ar");
  EXPECT_EQ(Field(f.c.title), "Ti");
  EXPECT_EQ(Field(f.c.artist_pic_path), home_.Res("Artist\\Ar.jpg"));
  EXPECT_EQ(Field(f.c.artist_swf_pic), home_.Res("Artist\\Ar_swf.jpg"));
  EXPECT_EQ(f.c.artist_swf_signature.first, 12u);
  EXPECT_EQ(Field(f.c.song_flv_pic_path), home_.Res("MTV\\Ar-Ti_flv.jpg"));
  EXPECT_EQ(f.c.song_flv_signature.second, 78u);
  EXPECT_FALSE(Field(f.c.lrc_path).empty());
  ASSERT_EQ(f.c.sentences.size(), 2u);
  EXPECT_STREQ(f.c.sentences[1].text, "two");
  EXPECT_EQ(home_.Read("Resource\\Lyric\\Ar-Ti.lrc"), kLyric);
  EXPECT_EQ(home_.Read("Resource\\Artist\\Ar.jpg"), "artist jpg");
  EXPECT_EQ(engine.Hitfrom(), "tag");
  const std::string info = InfoText("Ar", "Ti");
  EXPECT_NE(info.find("TP=content"), std::string::npos);
  EXPECT_NE(info.find("path=/"), std::string::npos);
  const std::string& trace = engine.Trace();
  for (const char* step : {"FindResFromServer Start:", "SearchResFromServer Start:", "HTTP Send Request Start(http",
                           "HTTP Send Request End(response length", "ParseSearchResult End(content):",
                           "FindResFromServer End:"})
    EXPECT_NE(trace.find(step), std::string::npos) << step;
}

TEST_F(ServerSearchTest, UserSearchSendsOnlyTheNamesAndReadsTheList) {
  Library("A B-Ti.lrc", kLyric);
  Start();
  ZLyric engine;
  Result r = RESULT_FAIL;
  std::vector<SearchItem> list;
  engine.UserSearchRes("A B", "Ti", r, list);
  EXPECT_EQ(r, RESULT_OK);
  ASSERT_EQ(list.size(), 1u);
  EXPECT_EQ(Field(list[0].artist), "A B");
  EXPECT_EQ(Field(list[0].title), "Ti");
  EXPECT_EQ(Field(list[0].provider), "standin");
  EXPECT_FALSE(Field(list[0].resPath).empty());
  EXPECT_EQ(QueryTail(0),
            "&requester=localhost&type=1&req=full&songname=Ti&artist=A%20B&path=&zipsig=&RecoSn=&RecoArtist="
            "&FileName=&sig=0%252C0");

  Content c{};
  engine.UserGetRes(list[0], r, c);
  EXPECT_EQ(r, RESULT_OK);
  EXPECT_EQ(QueryTail(1),
            "&requester=localhost&type=2&req=full&songname=Ti&artist=A%20B&path=&zipsig=&RecoSn=&RecoArtist="
            "&FileName=&sig=0%252C0");
  EXPECT_EQ(Field(c.artist), "A B");
  EXPECT_EQ(c.sentences.size(), 2u);
  EXPECT_EQ(home_.Read("Resource\\Lyric\\A B-Ti.lrc"), kLyric);
}

TEST_F(ServerSearchTest, ContentWithPasswordIsDecrypted) {
  FullLibrary();
  Start("--password s3cret");
  ZLyric engine;
  const Found f = FindFor(engine, "Ar", "Ti");
  EXPECT_EQ(f.r, RESULT_OK);
  EXPECT_EQ(f.rt, RESULT_TYPE_CONTENT);
  EXPECT_EQ(f.c.sentences.size(), 2u);
  EXPECT_EQ(home_.Read("Resource\\Lyric\\Ar-Ti.lrc"), kLyric);
  EXPECT_EQ(home_.Read("Resource\\MTV\\Ar-Ti_flv.sig"), "56,78");
}

TEST_F(ServerSearchTest, NoneAnswerAndFirstAnswerRecordedOnce) {
  SetRegistryFirstGet(nullptr);
  Start();
  ZLyric engine;
  Found f = FindFor(engine, "Nobody", "Nothing");
  EXPECT_EQ(f.r, RESULT_OK);
  EXPECT_EQ(f.rt, RESULT_TYPE_NONE);
  EXPECT_EQ(engine.SongAttributes().goonrec, 0);  // rcode 1
  EXPECT_EQ(ReadRegistryFirstGet(), "1");
  EXPECT_NE(engine.Trace().find("ParseSearchResult End(none):"), std::string::npos);
  // Once recorded, it is left as it is.
  SetRegistryFirstGet("kept");
  f = FindFor(engine, "Nobody", "Nothing");
  EXPECT_EQ(f.r, RESULT_OK);
  EXPECT_EQ(ReadRegistryFirstGet(), "kept");
  SetRegistryFirstGet(nullptr);
}

TEST_F(ServerSearchTest, AnswerWithoutHeaderBreakIsNotParsed) {
  SetRegistryFirstGet(nullptr);
  Start("--no-break");
  ZLyric engine;
  const Found f = FindFor(engine, "Nobody", "Nothing");
  EXPECT_EQ(f.r, RESULT_FAIL);
  EXPECT_EQ(ReadRegistryFirstGet(), "<missing>");
}

TEST_F(ServerSearchTest, RedirectIsANetworkFailure) {
  FullLibrary();
  Start("--status 302");
  ZLyric engine;
  const Found f = FindFor(engine, "Ar", "Ti");
  EXPECT_EQ(f.r, RESULT_NET_ERR);
  EXPECT_FALSE(home_.Exists("Resource\\Lyric\\Ar-Ti.lrc"));
}

TEST_F(ServerSearchTest, SilentServerTimesOutAfterRetryTime) {
  Conf("[CONFIG]\r\nRetryTime=1\r\n[PROXY]\r\nConType=0\r\n");
  Start("--hang");
  ZLyric engine;
  const auto t0 = std::chrono::steady_clock::now();
  const Found f = FindFor(engine, "Ar", "Ti");
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - t0).count();
  EXPECT_EQ(f.r, RESULT_NET_ERR);
  EXPECT_LT(ms, 8000);
  EXPECT_NE(engine.Trace().find("HTTP Send Request End(net wrong):"), std::string::npos);
}

TEST_F(ServerSearchTest, CloseFromAnotherThreadAbortsTheRequest) {
  Conf("[CONFIG]\r\nRetryTime=60\r\n[PROXY]\r\nConType=0\r\n");
  Start("--hang");
  ZLyric engine;
  std::atomic<bool> done{false};
  std::thread closer([&] {
    // The request may not have started yet: close until the call returns.
    while (!done) {
      Sleep(200);
      engine.CloseFindGetPreGetConnection();
    }
  });
  const auto t0 = std::chrono::steady_clock::now();
  const Found f = FindFor(engine, "Ar", "Ti");
  done = true;
  closer.join();
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - t0).count();
  EXPECT_EQ(f.r, RESULT_NET_ERR);
  EXPECT_LT(ms, 20000);
  // With nothing running, the close operations do nothing.
  engine.CloseUserConnection();
  engine.CloseUploadLrcConnection();
  engine.CloseReloadLrcConnection();
}

TEST_F(ServerSearchTest, StillValidResourceIsNotUnpackedAgain) {
  FullLibrary();
  Start();
  {
    ZLyric engine;
    ASSERT_EQ(FindFor(engine, "Ar", "Ti").rt, RESULT_TYPE_CONTENT);
  }
  // Make the info stale and mark the unpacked lyric: an unpack would replace it.
  ZLyric probe;
  const std::string infoPath = probe.GetInfoFile("music\\absent.mp3", "Ar", "Ti");
  std::string info = ReadFileAt(infoPath);
  const size_t upd = info.find("updTime=");
  ASSERT_NE(upd, std::string::npos);
  info = info.substr(0, upd) + "updTime=1000\r\n" + info.substr(info.find("\r\n", upd) + 2);
  WriteFileAt(infoPath, info);
  const std::string local = "[00:05.00]local\r\n";
  home_.Write("Resource\\Lyric\\Ar-Ti.lrc", local);
  ZLyric engine;
  const Found f = FindFor(engine, "Ar", "Ti");
  EXPECT_EQ(f.r, RESULT_OK);
  EXPECT_EQ(f.rt, RESULT_TYPE_CONTENT);
  EXPECT_EQ(home_.Read("Resource\\Lyric\\Ar-Ti.lrc"), local);
  EXPECT_NE(engine.Trace().find("ParseSearchResult End(local res valid):"), std::string::npos);
  ASSERT_EQ(Queries().size(), 2u);
  // The stale check sends the stored server path and zip signature.
  EXPECT_NE(QueryTail(1).find("&path=%2F"), std::string::npos);
  EXPECT_EQ(QueryTail(1).find("&zipsig=&"), std::string::npos);
}

TEST_F(ServerSearchTest, ConfiguredProxyWithoutAndWithCredentials) {
  FullLibrary();
  const std::string requests = home_.Path("requests.txt");
  Start("--proxy --requests \"" + requests + "\"");
  Conf("[CONFIG]\r\nRetryTime=5\r\n[PROXY]\r\nConType=2\r\nProxyServer=127.0.0.1\r\nProxyPort=" +
       std::to_string(port_) + "\r\n");
  {
    ZLyric engine;
    EXPECT_EQ(FindFor(engine, "Ar", "Ti").rt, RESULT_TYPE_CONTENT);
  }
  // Through a proxy the request line carries the whole URL.
  std::string sent = ReadFileAt(requests);
  EXPECT_EQ(sent.rfind("GET http://127.0.0.1:" + std::to_string(port_) + "/lyric?", 0), 0u) << sent;
  EXPECT_EQ(sent.find("Proxy-Authorization:"), std::string::npos);
  server_.Kill();
  DeleteFileA(requests.c_str());
  Start("--proxy-auth u:p --requests \"" + requests + "\"");
  Conf("[CONFIG]\r\nRetryTime=5\r\n[PROXY]\r\nConType=2\r\nProxyServer=127.0.0.1\r\nProxyPort=" +
       std::to_string(port_) + "\r\nUserName=u\r\nPassword=p\r\n");
  ZLyric engine;
  Result r = RESULT_FAIL;
  std::vector<SearchItem> list;
  engine.UserSearchRes("Ar", "Ti", r, list);
  EXPECT_EQ(r, RESULT_OK);
  EXPECT_EQ(list.size(), 1u);
  sent = ReadFileAt(requests);
  EXPECT_NE(sent.find("Proxy-Authorization: Basic dTpw\r\n"), std::string::npos) << sent;
}

TEST_F(ServerSearchTest, ChineseNamesTravelAsGbkAndComeBackAsGbkEntryNames) {
  // "運" ends in the byte '\\' and "倫" in one that code page 1252 leaves undefined.
  Library("周杰倫-好運 來.lrc", kLyric);
  Library("周杰倫.jpg", "artist jpg");
  Start();
  ZLyric engine;
  const Found f = FindFor(engine, "周杰倫", "好運 來");
  EXPECT_EQ(f.r, RESULT_OK);
  ASSERT_EQ(f.rt, RESULT_TYPE_CONTENT);
  EXPECT_NE(QueryTail(0).find("&songname=%BA%C3%DF%5C%20%81%ED&artist=%D6%DC%BD%DC%82%90&"), std::string::npos)
      << QueryTail(0);
  EXPECT_EQ(Field(f.c.artist), "周杰倫");
  EXPECT_EQ(Field(f.c.lrc_path), home_.Path("lyric\\周杰倫-好運 來.lrc"));
  EXPECT_EQ(f.c.sentences.size(), 2u);
  // The archive's entries, named in GBK, unpack under the names the user sees.
  EXPECT_TRUE(FileAtUnicodeName(home_.Res("Lyric\\周杰倫-好運 來.lrc")));
  EXPECT_TRUE(FileAtUnicodeName(home_.Res("Artist\\周杰倫.jpg")));
  EXPECT_EQ(home_.Read("Resource\\Lyric\\周杰倫-好運 來.lrc"), kLyric);
}

// ---- Hostile archives, handed to the answer parser directly ----------------

namespace {
std::string ContentAnswer(const std::string& zip, const std::string& extra = "") {
  return "rcode=0\r\nhitfrom=tag\r\nzipsig=abc\r\npath=/x\r\n" + extra + "TP=content\r\n\r\n" + zip;
}
}  // namespace

class HostileArchiveTest : public ::testing::Test {
 protected:
  bool Parse(const std::string& answer) {
    ResultType rt = RESULT_TYPE_STALE;
    std::vector<SearchItem> list;
    Content c{};
    return engine_.ParseSearchResult(answer.data(), static_cast<long>(answer.size()), rt, list, c) &&
           rt == RESULT_TYPE_CONTENT;
  }
  ScopedEngineHome home_;
  ZLyric engine_;
};

TEST_F(HostileArchiveTest, EscapingNamesNeverLeaveTheResourceFolder) {
  const std::string zip = lyricserver::BuildZip({{"..\\x1.lrc", "x"},
                                                 {"a\\..\\..\\x2.lrc", "x"},
                                                 {"../../x3.lrc", "x"},
                                                 {"..", "x"},
                                                 {"C:\\x4.txt", "x"},
                                                 {"\\\\srv\\share\\x5.txt", "x"},
                                                 {"Artist/NUL.jpg", "x"},
                                                 {"Lyric/Ev-Il.lrc", kLyric}});
  EXPECT_TRUE(Parse(ContentAnswer(zip)));
  EXPECT_EQ(home_.Read("Resource\\Lyric\\Ev-Il.lrc"), kLyric);
  for (const char* outside : {"x1.lrc", "x2.lrc", "x3.lrc", "Resource\\..\\x1.lrc"}) EXPECT_FALSE(home_.Exists(outside));
  EXPECT_FALSE(FileAt(home_.Home() + "\\..\\x1.lrc"));
  EXPECT_FALSE(FileAt(home_.Home() + "\\..\\x3.lrc"));
  EXPECT_FALSE(FileAt("C:\\x4.txt") && ReadFileAt("C:\\x4.txt") == "x");
  // Dropped prefixes land inside.
  EXPECT_EQ(home_.Read("Resource\\x4.txt"), "x");
  EXPECT_EQ(home_.Read("Resource\\srv\\share\\x5.txt"), "x");
}

TEST_F(HostileArchiveTest, OversizedArchiveWritesNothing) {
  const std::string zip =
      lyricserver::BuildZip({{"Lyric/Big-One.lrc", kLyric}, {"Artist/Big.jpg", std::string(17u << 20, 'z')}});
  EXPECT_FALSE(Parse(ContentAnswer(zip)));
  EXPECT_FALSE(home_.Exists("Resource\\Lyric\\Big-One.lrc"));
  EXPECT_FALSE(home_.Exists("Resource\\Artist\\Big.jpg"));
  std::vector<lyricserver::ZipEntry> many;
  for (int i = 0; i < 300; ++i) many.push_back({"Artist/m" + std::to_string(i) + ".jpg", "j"});
  EXPECT_FALSE(Parse(ContentAnswer(lyricserver::BuildZip(many))));
  EXPECT_FALSE(home_.Exists("Resource\\Artist\\m0.jpg"));
}

TEST_F(HostileArchiveTest, TruncatedOrCorruptArchiveWritesNothing) {
  const std::string zip = lyricserver::BuildZip({{"Lyric/Cut-One.lrc", kLyric}, {"Artist/Cut.jpg", "jpg bytes"}});
  EXPECT_FALSE(Parse(ContentAnswer(zip.substr(0, zip.size() / 2))));
  EXPECT_FALSE(home_.Exists("Resource\\Lyric\\Cut-One.lrc"));
  // A flipped byte in the second entry's data: its CRC fails, and the first
  // entry is not kept either.
  std::string bad = zip;
  const size_t at = bad.find("jpg bytes");
  ASSERT_NE(at, std::string::npos);
  bad[at] = 'J';
  EXPECT_FALSE(Parse(ContentAnswer(bad)));
  EXPECT_FALSE(home_.Exists("Resource\\Lyric\\Cut-One.lrc"));
  // A wrong password is no better.
  const std::string locked = lyricserver::BuildZip({{"Lyric/Pw-One.lrc", kLyric}}, "right");
  EXPECT_FALSE(Parse(ContentAnswer(locked, "password=wrong\r\n")));
  EXPECT_FALSE(home_.Exists("Resource\\Lyric\\Pw-One.lrc"));
  EXPECT_TRUE(Parse(ContentAnswer(locked, "password=right\r\n")));
  EXPECT_EQ(home_.Read("Resource\\Lyric\\Pw-One.lrc"), kLyric);
}

TEST_F(HostileArchiveTest, BinaryBodyWithNulBytesIsReadByLength) {
  std::string jpg("\xFF\xD8\0\0\0JFIF\0", 10);
  const std::string zip = lyricserver::BuildZip({{"Lyric/Bin-One.lrc", kLyric}, {"Artist/Bin.jpg", jpg}});
  EXPECT_TRUE(Parse(ContentAnswer(zip)));
  EXPECT_EQ(home_.Read("Resource\\Artist\\Bin.jpg"), jpg);
}

// ---- A content answer of about 100 KB ------------------------------------------
// (How fast the engine takes such an answer apart is a benchmark:
// content_answer_bench of the bench preset.)

TEST_F(ServerSearchTest, ContentOfAHundredKilobytesArrivesWhole) {
  std::string lyric = "[ti:Ti]\r\n[ar:Ar]\r\n";
  for (int i = 0; i < 300; ++i) {
    char line[64];
    std::snprintf(line, sizeof line, "[%02d:%02d.00]line number %d of the song\r\n", i / 60, i % 60, i);
    lyric += line;
  }
  auto picture = [](uint32_t salt) {
    std::string bytes(30000, '\0');
    for (char& b : bytes) b = static_cast<char>((salt = salt * 1103515245u + 12345u) >> 16);
    return bytes;
  };
  Library("Ar-Ti.lrc", lyric);
  Library("Ar.jpg", picture(1));
  Library("Ar_swf.jpg", picture(2));
  Library("Ar_swf.sig", "12,34");
  Library("Ar-Ti_flv.jpg", picture(3));
  Library("Ar-Ti_flv.sig", "56,78");
  Start();
  ZLyric engine;
  const Found f = FindFor(engine, "Ar", "Ti");
  EXPECT_EQ(f.r, RESULT_OK);
  ASSERT_EQ(f.rt, RESULT_TYPE_CONTENT);
  EXPECT_EQ(f.c.sentences.size(), 300u);
  EXPECT_EQ(home_.Read("Resource\\Artist\\Ar.jpg"), picture(1));
  EXPECT_EQ(home_.Read("Resource\\MTV\\Ar-Ti_flv.jpg"), picture(3));
}
