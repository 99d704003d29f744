// The control in the browser stand-in's page, in this process, driven as a
// page's script drives it, against a fake P2P server window of the test or
// the P2P server stand-in, with the Flash stand-in showing its movies.
#include <windows.h>
#include <ole2.h>
#include <olectl.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <memory>

#include "MvTestSupport_win.h"
#include "OcxContainer_win.h"
#include "OcxTestWorld_win.h"
#include "shared/Ownership.h"

using namespace ocxtest;
using ocxhost::ScriptValue;

namespace {

OcxWorld* g_world = nullptr;

// The control reads its install home once per process: one world for all.
class OcxEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    OleInitialize(nullptr);
    g_world = new OcxWorld();
    ASSERT_TRUE(mvtest::Register("Flash.ocx", true));
    ASSERT_TRUE(mvtest::Register("ZoLyricOCX.dll", true));
  }
  void TearDown() override {
    CoFreeUnusedLibraries();
    mvtest::Register("ZoLyricOCX.dll", false);
    delete g_world;
    OleUninitialize();
  }
};
const auto* const g_environment = ::testing::AddGlobalTestEnvironment(new OcxEnvironment);

std::string Text(HWND window) { return window ? ocxhost::WindowText(window) : std::string("(no window)"); }

RECT RectIn(HWND window, HWND parent) {
  RECT r{};
  GetWindowRect(window, &r);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

// While the About box runs its own loop: a picture of it, then OK.
bool g_aboutSeen = false;
void CALLBACK CloseAboutBox(HWND, UINT, UINT_PTR id, DWORD) {
  HWND about = FindWindowA(nullptr, "关于 ZoLyricOCX");
  if (!about) return;
  KillTimer(nullptr, id);
  g_aboutSeen = true;
  mvtest::SaveScreenshot(mvtest::CaptureClient(about), "ocx_about_box");
  PostMessageA(about, WM_COMMAND, IDOK, 0);
}

class OcxControlTest : public ::testing::Test {
 protected:
  void SetUp() override {
    OcxWorld::KillServers();
    scratch = mvtest::ScratchFolder("ocx");
  }
  void TearDown() override {
    page.reset();
    OcxWorld::KillServers();
  }
  // The page's <object> is as large as the control will be, by default.
  void Open(int width = 347, int height = 320) {
    page = std::make_unique<ocxhost::Container>(kControlClsid, 20, 20, width, height);
    ASSERT_TRUE(page->Hosted());
  }
  std::string Status() const { return Text(page->FindChild(202)); }
  std::string Movie() const { return Text(page->FindChild(201)); }
  std::string Page(const char* name) const { return g_world->Home() + "\\swf\\" + name; }
  HRESULT Play(uint32_t first, uint32_t second) {
    return page->Call(kDispPlayChannel, {ScriptValue::Number(long(first)), ScriptValue::Number(long(second))});
  }
  bool WaitFor(const std::function<bool()>& done, DWORD ms = 15000) { return mvtest::PumpUntil(done, ms); }
  // A server file in the scratch folder with the transformed head.
  std::string ServerFile(const std::string& name, const std::string& media) {
    const std::string path = scratch + name;
    WriteBytes(path, AsServerKeepsIt(media));
    return path;
  }

  std::unique_ptr<ocxhost::Container> page;
  std::string scratch;
};

TEST_F(OcxControlTest, SetWndWidthSizesTheControlItsMovieAndItsTextLine) {
  FakeServer server;
  Open(400, 380);
  HWND control = page->ControlWindow();
  ASSERT_NE(control, nullptr);
  RECT before{};
  GetClientRect(control, &before);
  EXPECT_EQ(before.right, 400);  // in place, the control takes its host's size
  EXPECT_EQ(before.bottom, 380);
  EXPECT_EQ(page->Call(kDispSetWndWidth, {ScriptValue::Number(347)}), S_OK);
  RECT r{};
  GetClientRect(control, &r);
  EXPECT_EQ(r.right, 347);
  EXPECT_EQ(r.bottom, 320);
  const RECT flash = RectIn(page->FindChild(201), control);
  EXPECT_EQ(flash.left, 0);
  EXPECT_EQ(flash.top, 0);
  EXPECT_EQ(flash.right, 347);
  EXPECT_EQ(flash.bottom, 300);
  const RECT line = RectIn(page->FindChild(202), control);
  EXPECT_EQ(line.left, 10);
  EXPECT_EQ(line.top, 300);
  EXPECT_EQ(line.bottom, 320);
  zl::ComPtr<IOleObject> object;
  ASSERT_EQ(page->Dispatch()->QueryInterface(IID_IOleObject, object.PutVoid()), S_OK);
  SIZEL extent{};
  ASSERT_EQ(object->GetExtent(DVASPECT_CONTENT, &extent), S_OK);
  EXPECT_EQ(extent.cx, 9181);  // 347 and 320 pixels at 96 dots per inch in 0.01 mm
  EXPECT_EQ(extent.cy, 8467);

  EXPECT_EQ(page->CallByName("SetWndWidth", {ScriptValue::Number(694)}), S_OK);
  GetClientRect(control, &r);
  EXPECT_EQ(r.right, 694);
  EXPECT_EQ(r.bottom, 620);
}

TEST_F(OcxControlTest, PlayChannel2ReadsThePagesTextsAsNumbers) {
  FakeServer server;
  Open();
  EXPECT_EQ(Status(), "");
  EXPECT_EQ(Movie(), Page("load.swf"));
  EXPECT_EQ(page->CallByName("PlayChannel2", {ScriptValue::Text("12"), ScriptValue::Text("x")}), S_OK);
  ASSERT_EQ(server.received.size(), 1u);
  EXPECT_EQ(server.received[0].code, 1u);
  EXPECT_EQ(server.received[0].first, 12u);
  EXPECT_EQ(server.received[0].second, 0u);
  const std::string reply = server.received[0].reply;
  EXPECT_FALSE(reply.empty());
  EXPECT_EQ(reply.find_first_not_of("0123456789"), std::string::npos) << reply;
  EXPECT_NE(FindWindowA(reply.c_str(), reply.c_str()), nullptr);  // class and title
  EXPECT_EQ(Status(), "正在获取数据中，请稍候..");
}

TEST_F(OcxControlTest, AReplyWindowNameAnotherPageHasIsDrawnAgain) {
  FakeServer server;
  // Other browsers' controls that started in this second or the next two
  // drew these numbers.
  std::vector<std::string> taken;
  const time_t now = std::time(nullptr);
  for (time_t t = now; t <= now + 2; ++t) {
    std::srand(unsigned(t));
    const unsigned high = unsigned(std::rand());
    taken.push_back(std::to_string((high << 16) + unsigned(std::rand())));
  }
  std::vector<zl::UniqueWindow> others;
  for (const std::string& name : taken) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = name.c_str();
    RegisterClassA(&wc);
    others.emplace_back(CreateWindowExA(0, name.c_str(), name.c_str(), WS_OVERLAPPED, 0, 0, 0, 0, nullptr, nullptr,
                                        wc.hInstance, nullptr));
    ASSERT_TRUE(others.back());
  }
  Open();
  ASSERT_EQ(Play(1, 2), S_OK);
  ASSERT_EQ(server.received.size(), 1u);
  const std::string reply = server.received[0].reply;
  for (const std::string& name : taken) EXPECT_NE(reply, name);
  EXPECT_NE(FindWindowA(reply.c_str(), reply.c_str()), nullptr);
  page.reset();
  others.clear();
  for (const std::string& name : taken) UnregisterClassA(name.c_str(), GetModuleHandleA(nullptr));
}

TEST_F(OcxControlTest, TheStatusLineShowsBufferingAndTheRate) {
  FakeServer server;
  Open();
  ASSERT_EQ(Play(7, 8), S_OK);
  const std::string source = ServerFile("7-8.flv", Media(100000, 3));
  ASSERT_TRUE(server.Send(3, StatusRecord(7, 8, 5, 0, 1, 1024, 100000, source)));
  EXPECT_EQ(Status(), "缓冲1％ ， 速率1024.00B/S");
  server.Send(3, StatusRecord(7, 8, 5, 0, 2, 1025, 100000, source));
  EXPECT_EQ(Status(), "缓冲2％ ， 速率1.00KB/S");
  server.Send(3, StatusRecord(7, 8, 5, 0, 3, 3 * 1048576 + 524288, 100000, source));
  EXPECT_EQ(Status(), "缓冲3％ ， 速率3.50MB/S");
  server.Send(3, StatusRecord(7, 8, 5, 40, 4, 1048576, 100000, source));
  EXPECT_EQ(Status(), "缓冲4％ ， 速率1024.00KB/S");
  // Up to 4 % nothing is copied or played.
  EXPECT_FALSE(FileExists(VideoFile(7, 8, "flv")));
  EXPECT_EQ(Movie(), Page("load.swf"));
}

TEST_F(OcxControlTest, PlaybackStartsPast4PercentFromTheRestoredHead) {
  FakeServer server;
  Open();
  page->Call(kDispSetWndWidth, {ScriptValue::Number(347)});
  ASSERT_EQ(Play(21, 22), S_OK);
  const std::string media = Media(100000, 5);  // 7 blocks
  const std::string source = ServerFile("21-22.flv", media.substr(0, 50000));
  const std::string video = VideoFile(21, 22, "flv");
  server.Send(3, StatusRecord(21, 22, 5, 45, 4, 40000, 100000, source));
  EXPECT_FALSE(FileExists(video));
  server.Send(3, StatusRecord(21, 22, 5, 45, 5, 40000, 100000, source));
  EXPECT_EQ(Status(), "缓冲5％ ， 速率39.06KB/S");
  EXPECT_EQ(ReadBytes(video), media.substr(0, 3 * 16384));  // 45 % of 7 blocks
  EXPECT_EQ(Movie(), Page("player.swf") + "?videoFile=" + video);
  mvtest::PumpFor(200);
  mvtest::SaveScreenshot(mvtest::CaptureClient(page->Frame()), "ocx_playing_in_container");

  // The rest arrives and the download completes.
  ServerFile("21-22.flv", media);
  server.Send(3, StatusRecord(21, 22, 4, 100, 100, 40000, 100000, source));
  EXPECT_EQ(ReadBytes(video), media);
  EXPECT_EQ(Movie(), Page("player.swf") + "?videoFile=" + video);  // still the same play
}

TEST_F(OcxControlTest, AStatusReportForAnotherPairChangesNothing) {
  FakeServer server;
  Open();
  ASSERT_EQ(Play(12, 0), S_OK);
  const std::string media = Media(40000, 9);
  const std::string source = ServerFile("any.flv", media);
  const std::string status = Status(), movie = Movie();
  server.Send(3, StatusRecord(13, 0, 5, 100, 50, 1000, 40000, source));
  server.Send(3, StatusRecord(12, 1, 4, 100, 100, 1000, 40000, source));
  server.Send(3, StatusRecord(0, 12, 4, 0, 30, 0, 0, ""));
  server.Send(4, LookupRecord(13, 0, source, 100));
  EXPECT_EQ(Status(), status);
  EXPECT_EQ(Movie(), movie);
  for (auto pair : {std::make_pair(13u, 0u), std::make_pair(12u, 1u), std::make_pair(12u, 0u)})
    EXPECT_FALSE(FileExists(VideoFile(pair.first, pair.second, "flv")));
  // Malformed records change nothing either.
  std::string shortRecord = StatusRecord(12, 0, 4, 100, 100, 0, 40000, source);
  shortRecord.pop_back();
  server.Send(3, shortRecord);
  std::string unterminated = StatusRecord(12, 0, 4, 100, 100, 0, 40000, source);
  unterminated.replace(36, 260, std::string(260, 'a'));
  server.Send(3, unterminated);
  EXPECT_EQ(Status(), status);
  EXPECT_FALSE(FileExists(VideoFile(12, 0, "flv")));

  server.Send(3, StatusRecord(12, 0, 4, 100, 100, 1000, 40000, source));
  EXPECT_EQ(ReadBytes(VideoFile(12, 0, "flv")), media);
}

TEST_F(OcxControlTest, PlayChannelWithThePlayingPairStopsAndRestartsIt) {
  FakeServer server;
  Open();
  ASSERT_EQ(Play(31, 32), S_OK);
  const std::string media = Media(60000, 11);
  const std::string source = ServerFile("31-32.flv", media);
  server.Send(3, StatusRecord(31, 32, 5, 50, 50, 1000, 60000, source));
  const std::string video = VideoFile(31, 32, "flv");
  ASSERT_TRUE(FileExists(video));
  ASSERT_EQ(Play(31, 32), S_OK);
  ASSERT_EQ(server.received.size(), 3u);
  EXPECT_EQ(server.received[0].code, 1u);
  EXPECT_EQ(server.received[1].code, 2u);  // the cancel of the playing pair
  EXPECT_EQ(server.received[1].first, 31u);
  EXPECT_EQ(server.received[1].second, 32u);
  EXPECT_EQ(server.received[2].code, 1u);
  EXPECT_EQ(server.received[2].first, 31u);
  EXPECT_EQ(Status(), "正在获取数据中，请稍候..");
  EXPECT_EQ(Movie(), Page("load.swf"));
  EXPECT_FALSE(FileExists(video));  // the copy starts afresh
  server.Send(3, StatusRecord(31, 32, 5, 100, 100, 1000, 60000, source));
  EXPECT_EQ(ReadBytes(video), media);
}

TEST_F(OcxControlTest, StopChannelReleasesTheMovieAndDeletesTheVideo) {
  FakeServer server;
  Open();
  ASSERT_EQ(Play(51, 52), S_OK);
  const std::string source = ServerFile("51-52.flv", Media(50000, 13));
  server.Send(3, StatusRecord(51, 52, 5, 40, 40, 1000, 50000, source));
  const std::string video = VideoFile(51, 52, "flv");
  ASSERT_EQ(Movie(), Page("player.swf") + "?videoFile=" + video);  // the stand-in holds the video open
  EXPECT_EQ(page->CallByName("StopChannel2", {ScriptValue::Text("51"), ScriptValue::Text("52")}), S_OK);
  EXPECT_EQ(Movie(), Page("load.swf"));
  EXPECT_FALSE(FileExists(video));
  EXPECT_EQ(Status(), "您已经停止了MV的播放..");
  ASSERT_EQ(server.received.size(), 2u);
  EXPECT_EQ(server.received[1].code, 2u);
  EXPECT_EQ(server.received[1].first, 51u);
  EXPECT_EQ(server.received[1].second, 52u);
  // The stopped channel hears nothing more.
  server.Send(3, StatusRecord(51, 52, 5, 60, 60, 1000, 50000, source));
  EXPECT_EQ(Status(), "您已经停止了MV的播放..");
  EXPECT_FALSE(FileExists(video));
}

TEST_F(OcxControlTest, TwoControlsOfAProcessShareItsOneChannel) {
  FakeServer server;
  Open();
  ocxhost::Container other(kControlClsid, 420, 20, 347, 320, "OcxPage 2");
  ASSERT_TRUE(other.Hosted());
  ASSERT_EQ(Play(1, 2), S_OK);
  const std::string source = ServerFile("1-2.flv", Media(50000, 37));
  server.Send(3, StatusRecord(1, 2, 5, 40, 40, 1000, 50000, source));
  const std::string first = VideoFile(1, 2, "flv");
  ASSERT_EQ(Movie(), Page("player.swf") + "?videoFile=" + first);
  // The other control's channel replaces the first one's.
  ASSERT_EQ(other.Call(kDispPlayChannel, {ScriptValue::Number(3), ScriptValue::Number(4)}), S_OK);
  ASSERT_EQ(server.received.size(), 3u);
  EXPECT_EQ(server.received[1].code, 2u);
  EXPECT_EQ(server.received[1].first, 1u);
  EXPECT_EQ(server.received[2].first, 3u);
  EXPECT_EQ(server.received[2].reply, server.received[0].reply);
  EXPECT_EQ(Movie(), Page("load.swf"));
  EXPECT_EQ(Status(), "您已经停止了MV的播放..");
  EXPECT_FALSE(FileExists(first));
  EXPECT_EQ(Text(other.FindChild(202)), "正在获取数据中，请稍候..");
  // The first page goes; the channel lives on in the other.
  page.reset();
  server.Send(3, StatusRecord(3, 4, 5, 40, 40, 1000, 50000, source));
  EXPECT_EQ(Text(other.FindChild(202)), "缓冲40％ ， 速率1000.00B/S");
  EXPECT_TRUE(FileExists(VideoFile(3, 4, "flv")));
}

TEST_F(OcxControlTest, BlockCopiesAreBoundedByTheServersFile) {
  FakeServer server;
  Open();
  ASSERT_EQ(Play(41, 42), S_OK);
  const std::string media = Media(40000, 17);
  const std::string source = ServerFile("41-42.flv", media);
  // The record claims 10 MB and 250 % usable; the file holds 40000 bytes.
  server.Send(3, StatusRecord(41, 42, 5, 250, 99, 1000, 10 * 1048576, source));
  EXPECT_EQ(ReadBytes(VideoFile(41, 42, "flv")), media);
  server.Send(3, StatusRecord(41, 42, 4, 100, 100, 1000, 10 * 1048576, source));
  EXPECT_EQ(ReadBytes(VideoFile(41, 42, "flv")), media);
}

TEST_F(OcxControlTest, ACompleteFileIsCopiedWholeAndMissingOnesAreReported) {
  FakeServer server;
  Open();
  ASSERT_EQ(Play(61, 62), S_OK);
  server.Send(4, LookupRecord(61, 62, scratch + "missing.flv", 100));
  EXPECT_EQ(Status(), "flv 文件不存在 -_-~~");
  const std::string empty = ServerFile("empty.flv", "");
  server.Send(4, LookupRecord(61, 62, empty, 100));
  EXPECT_EQ(Status(), "读取flv文件失败 -_-~~");
  const std::string media = Media(70000, 19);
  const std::string source = ServerFile("61-62.flv", media);
  server.Send(4, LookupRecord(61, 62, source, 100));
  EXPECT_EQ(Status(), "正在播放..");
  const std::string video = VideoFile(61, 62, "flv");
  EXPECT_EQ(ReadBytes(video), media);
  EXPECT_EQ(Movie(), Page("player.swf") + "?videoFile=" + video);
}

TEST_F(OcxControlTest, AFailedDownloadShowsTheServerError) {
  FakeServer server;
  Open();
  for (uint32_t event : {4u, 9u, 11u}) {
    ASSERT_EQ(Play(71, event), S_OK);
    server.Send(3, StatusRecord(71, event, event, 0, event == 4 ? 30 : 0, 0, 0, ""));
    EXPECT_EQ(Status(), "服务器连接错误 -_-~~") << event;
    EXPECT_EQ(Movie(), Page("ocx_neterror.swf")) << event;
  }
}

TEST_F(OcxControlTest, TheMoviesCompleteReleasesTheVideo) {
  FakeServer server;
  Open();
  ASSERT_EQ(Play(81, 82), S_OK);
  const std::string media = Media(50000, 23);
  const std::string source = ServerFile("81-82.flv", media);
  server.Send(3, StatusRecord(81, 82, 5, 40, 40, 1000, 50000, source));
  const std::string playing = Page("player.swf") + "?videoFile=" + VideoFile(81, 82, "flv");
  ASSERT_EQ(Movie(), playing);
  // The player movie reports its end: the control lets the video go, and
  // the next report starts the movie again.
  PostMessageA(page->FindChild(201), WM_USER + 0x100, 1, 0);
  ASSERT_TRUE(WaitFor([&] { return Movie() == Page("load.swf"); }, 5000));
  server.Send(3, StatusRecord(81, 82, 4, 100, 100, 1000, 50000, source));
  EXPECT_EQ(Movie(), playing);
}

TEST_F(OcxControlTest, PagesMayNameOnlyLocalFilesOfTheirKind) {
  FakeServer server;
  Open();
  const std::string flv = scratch + "local.flv", swf = scratch + "mine.swf";
  WriteBytes(flv, Media(1000, 29));
  CopyFileA(Page("player.swf").c_str(), swf.c_str(), FALSE);
  WriteBytes(scratch + "mine.flv", Media(10, 1));
  const std::vector<std::string> refusedFlv = {"\\\\server\\share\\a.flv", "//server/share/a.flv",
                                               "http://example.com/a.flv", "file:///" + flv, scratch + "absent.flv",
                                               swf, "local.flv", scratch};
  for (const std::string& path : refusedFlv) {
    EXPECT_EQ(page->Call(kDispSetFlvPath, {ScriptValue::Text(path)}), S_OK);
    EXPECT_EQ(Movie(), Page("load.swf")) << path;
  }
  for (const std::string& path : {std::string("\\\\server\\share\\a.swf"), std::string("//server/a.swf"),
                                  std::string("https://example.com/p.swf"), scratch + "absent.swf",
                                  scratch + "mine.flv", std::string("mine.swf")})
    EXPECT_EQ(page->Call(kDispSetBaseSwfPath, {ScriptValue::Text(path)}), S_OK);
  EXPECT_EQ(page->Call(kDispSetFlvPath, {ScriptValue::Text(flv)}), S_OK);
  EXPECT_EQ(Movie(), Page("player.swf") + "?videoFile=" + flv);  // the default player movie stayed

  page->Call(kDispStopChannel, {ScriptValue::Number(0), ScriptValue::Number(0)});
  EXPECT_EQ(page->CallByName("SetBaseSwfPath", {ScriptValue::Text(swf)}), S_OK);
  EXPECT_EQ(page->CallByName("SetFlvPath", {ScriptValue::Text(flv)}), S_OK);
  EXPECT_EQ(Movie(), swf + "?videoFile=" + flv);
  page->Call(kDispStopChannel, {ScriptValue::Number(0), ScriptValue::Number(0)});
  page->Call(kDispSetBaseSwfPath, {ScriptValue::Text(Page("player.swf"))});
}

TEST_F(OcxControlTest, TheChannelFromTheP2PServerStandIn) {
  const std::string media = Media(300000, 31);
  g_world->AddResource(91, 92, "flv", media);
  ASSERT_TRUE(g_world->StartServer("--rate 600000"));
  Open();
  ASSERT_EQ(Play(91, 92), S_OK);
  const std::string video = VideoFile(91, 92, "flv");
  ASSERT_TRUE(WaitFor([&] { return Status().compare(0, 4, "缓冲") == 0; }));
  ASSERT_TRUE(WaitFor([&] { return ReadBytes(video) == media; }));
  EXPECT_EQ(Movie(), Page("player.swf") + "?videoFile=" + video);

  // Again: the server's store holds the whole file, so the lookup record
  // says so and the control copies it whole at once.
  ASSERT_EQ(Play(91, 92), S_OK);
  ASSERT_TRUE(WaitFor([&] { return Status() == "正在播放.."; }));
  EXPECT_EQ(ReadBytes(video), media);
  EXPECT_EQ(Movie(), Page("player.swf") + "?videoFile=" + video);
  int requests = 0, cancels = 0;
  for (const std::string& line : g_world->ServerLog()) {
    requests += line.compare(0, 14, "REQUEST 91 92 ") == 0;
    cancels += line == "CANCEL 91 92";
  }
  EXPECT_EQ(requests, 2);
  EXPECT_EQ(cancels, 1);
}

TEST_F(OcxControlTest, AboutBoxAndPropertyPage) {
  FakeServer server;
  Open();
  g_aboutSeen = false;
  SetTimer(nullptr, 0, 300, CloseAboutBox);
  EXPECT_EQ(page->Call(DISPID_ABOUTBOX), S_OK);
  EXPECT_TRUE(g_aboutSeen);

  zl::ComPtr<ISpecifyPropertyPages> specify;
  ASSERT_EQ(page->Dispatch()->QueryInterface(IID_ISpecifyPropertyPages, specify.PutVoid()), S_OK);
  CAUUID pages{};
  ASSERT_EQ(specify->GetPages(&pages), S_OK);
  ASSERT_EQ(pages.cElems, 1u);
  zl::ComPtr<IPropertyPage> pageObject;
  ASSERT_EQ(CoCreateInstance(pages.pElems[0], nullptr, CLSCTX_INPROC_SERVER, IID_IPropertyPage, pageObject.PutVoid()),
            S_OK);
  CoTaskMemFree(pages.pElems);
  PROPPAGEINFO info{};
  ASSERT_EQ(pageObject->GetPageInfo(&info), S_OK);
  EXPECT_STREQ(info.pszTitle, L"常规");
  CoTaskMemFree(info.pszTitle);
  ASSERT_EQ(Play(5, 6), S_OK);
  IUnknown* control = page->Dispatch();
  ASSERT_EQ(pageObject->SetObjects(1, &control), S_OK);
  mvtest::TestWindow sheet("property page", 500, 40, 380, 140, true);
  const RECT r{10, 10, 370, 130};
  ASSERT_EQ(pageObject->Activate(sheet.Get(), &r, TRUE), S_OK);
  pageObject->Show(SW_SHOW);
  mvtest::PumpFor(200);
  HWND dialog = GetWindow(sheet.Get(), GW_CHILD);
  EXPECT_EQ(Text(GetDlgItem(dialog, 203)), Page("player.swf"));
  EXPECT_EQ(Text(GetDlgItem(dialog, 204)), "5, 6");
  EXPECT_LE(RectIn(GetDlgItem(dialog, 203), sheet.Get()).right, r.right);  // the page fits what it asks for
  mvtest::SaveScreenshot(mvtest::CaptureClient(sheet.Get()), "ocx_property_page");
  EXPECT_EQ(pageObject->Deactivate(), S_OK);
  pageObject->SetObjects(0, nullptr);
}

TEST(OcxRegistration, RegistersTheClassItsTypeLibraryAndTheSafetyCategories) {
  auto value = [](const std::string& key, const char* name) {
    zl::UniqueRegKey k;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, key.c_str(), 0, KEY_READ, k.Put()) != ERROR_SUCCESS) return std::string("-");
    char text[MAX_PATH] = {};
    DWORD size = sizeof text - 1, type = 0;
    if (RegQueryValueExA(k.Get(), name, nullptr, &type, reinterpret_cast<BYTE*>(text), &size) != ERROR_SUCCESS)
      return std::string("(none)");
    return std::string(text);
  };
  const std::string clsid = std::string("CLSID\\") + kControlClsid;
  const std::string scripting = "{7DD95801-9882-11CF-9FA9-00AA006C42C4}";
  const std::string initializing = "{7DD95802-9882-11CF-9FA9-00AA006C42C4}";
  const std::string typelib = "TypeLib\\{64A940FD-0025-4E02-9E45-F24557DB88C1}\\1.0";
  const std::string dll = mvtest::BesideMe("ZoLyricOCX.dll");

  ASSERT_TRUE(mvtest::Register("ZoLyricOCX.dll", false));
  EXPECT_EQ(value(clsid, nullptr), "-");
  EXPECT_EQ(value(typelib, nullptr), "-");
  EXPECT_EQ(value("ZOLYRICOCX.ZoLyricOCXCtrl.1", nullptr), "-");

  ASSERT_TRUE(mvtest::Register("ZoLyricOCX.dll", true));
  EXPECT_EQ(value(clsid, nullptr), "ZoLyricOCX Control");
  EXPECT_EQ(lstrcmpiA(value(clsid + "\\InprocServer32", nullptr).c_str(), dll.c_str()), 0);
  EXPECT_EQ(value(clsid + "\\InprocServer32", "ThreadingModel"), "Apartment");
  EXPECT_EQ(value(clsid + "\\Control", nullptr), "(none)");  // the key is there
  EXPECT_EQ(value(clsid + "\\MiscStatus\\1", nullptr), "131473");
  EXPECT_EQ(value(clsid + "\\TypeLib", nullptr), "{64A940FD-0025-4E02-9E45-F24557DB88C1}");
  EXPECT_EQ(value(clsid + "\\Implemented Categories\\" + scripting, nullptr), "(none)");
  EXPECT_EQ(value(clsid + "\\Implemented Categories\\" + initializing, nullptr), "(none)");
  EXPECT_EQ(value("Component Categories\\" + scripting, "409"), "Controls that are safely scriptable");
  EXPECT_EQ(value("Component Categories\\" + initializing, "409"),
            "Controls safely initializable from persistent data");
  // Wine writes the library's path in its long form ("\\?\" first).
  std::string libraryPath = value(typelib + "\\0\\win64", nullptr);
  if (libraryPath.compare(0, 4, "\\\\?\\") == 0) libraryPath.erase(0, 4);
  EXPECT_EQ(lstrcmpiA(libraryPath.c_str(), dll.c_str()), 0) << libraryPath;
  EXPECT_NE(value("Interface\\{6F978C08-E36A-426E-B229-30323AB1FC6B}", nullptr), "-");
  EXPECT_EQ(value("ZOLYRICOCX.ZoLyricOCXCtrl.1\\CLSID", nullptr), kControlClsid);
  EXPECT_EQ(value("CLSID\\{56D5549A-2E4A-4DAE-92A7-42215B05D123}\\InprocServer32", "ThreadingModel"), "Apartment");
}

}  // namespace
