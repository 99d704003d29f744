// ZoLogSvr end to end under Wine: self-registration through regsvr32, then
// Init and LogMsg against the log-server stand-in.
#include "LogSvrTestBase_win.h"

namespace {

class ComEnvironment : public ::testing::Environment {
 public:
  void SetUp() override { CoInitializeEx(nullptr, COINIT_MULTITHREADED); }
  void TearDown() override { CoUninitialize(); }
};
const auto* const g_com = ::testing::AddGlobalTestEnvironment(new ComEnvironment);

}  // namespace

TEST_F(LogSvrTest, Regsvr32RegistersAndUnregistersTheServer) {
  const std::string clsid = "CLSID\\{6753D0C5-8225-4C96-8001-575510CD050D}";
  std::string value;
  ASSERT_TRUE(RegistryText(HKEY_CLASSES_ROOT, clsid + "\\InprocServer32", nullptr, value));
  EXPECT_EQ(_stricmp(value.c_str(), DllPath().c_str()), 0) << value;
  ASSERT_TRUE(RegistryText(HKEY_CLASSES_ROOT, clsid + "\\InprocServer32", "ThreadingModel", value));
  EXPECT_EQ(value, "Free");
  EXPECT_TRUE(RegistryText(HKEY_CLASSES_ROOT, "TypeLib\\{064A7ACF-189C-419A-8C2B-A0320E55C442}\\1.0", nullptr, value));
  EXPECT_TRUE(RegistryText(HKEY_CLASSES_ROOT, "Interface\\{80CF42A1-32A2-4071-A3AC-EFB7E5555F73}", nullptr, value));
  EXPECT_EQ(value, "ILogSvr");

  zl::ComPtr<ILogSvr> svr;
  ASSERT_EQ(CoCreateInstance(CLSID_LogSvr, nullptr, CLSCTX_INPROC_SERVER, IID_ILogSvr,
                             svr.PutVoid()),
            S_OK);
  zl::ComPtr<IUnknown> unk;
  EXPECT_EQ(svr.As(IID_IUnknown, unk), S_OK);
  zl::ComPtr<IDispatch> disp;
  EXPECT_EQ(svr.As(IID_IDispatch, disp), E_NOINTERFACE);

  ASSERT_EQ(Regsvr32("/u /s \"" + DllPath() + "\""), 0);
  EXPECT_FALSE(RegistryText(HKEY_CLASSES_ROOT, clsid + "\\InprocServer32", nullptr, value));
  EXPECT_FALSE(RegistryText(HKEY_CLASSES_ROOT, "TypeLib\\{064A7ACF-189C-419A-8C2B-A0320E55C442}\\1.0", nullptr, value));
}

TEST_F(LogSvrTest, TypeLibraryDescribesTheInterface) {
  zl::ComPtr<ITypeLib> lib;
  ASSERT_EQ(LoadRegTypeLib(LIBID_ZoLogSvrLib, 1, 0, 0, lib.Put()), S_OK);
  zl::ComPtr<ITypeInfo> info;
  ASSERT_EQ(lib->GetTypeInfoOfGuid(IID_ILogSvr, info.Put()), S_OK);
  BSTR names[3] = {};
  UINT count = 0;
  TYPEATTR* attr = nullptr;
  ASSERT_EQ(info->GetTypeAttr(&attr), S_OK);
  EXPECT_EQ(attr->cFuncs, 2);
  FUNCDESC* fd = nullptr;
  ASSERT_EQ(info->GetFuncDesc(0, &fd), S_OK);
  info->GetNames(fd->memid, names, 3, &count);
  EXPECT_EQ(count, 3u);
  EXPECT_STREQ(names[0], L"Init");
  EXPECT_STREQ(names[1], L"SoftName");
  EXPECT_STREQ(names[2], L"bzSoftName");
  for (BSTR& n : names) SysFreeString(n);
  info->ReleaseFuncDesc(fd);
  ASSERT_EQ(info->GetFuncDesc(1, &fd), S_OK);
  info->GetNames(fd->memid, names, 3, &count);
  EXPECT_STREQ(names[0], L"LogMsg");
  for (UINT i = 0; i < count; ++i) SysFreeString(names[i]);
  info->ReleaseFuncDesc(fd);
  info->ReleaseTypeAttr(attr);
}

TEST_F(LogSvrTest, InitFailsWithoutHomeOrName) {
  SetHome(nullptr);
  HRESULT init = S_OK;
  EXPECT_EQ(CallService(L"LYRIC", L"WINAMP", L"PLAY", L"x", &init), E_FAIL);
  EXPECT_EQ(init, E_FAIL);
  ASSERT_TRUE(SetHome(&home_));
  EXPECT_EQ(CallService(L"", L"WINAMP", L"PLAY", L"x", &init), E_FAIL);
  EXPECT_EQ(CallService(nullptr, L"WINAMP", L"PLAY", L"x", &init), E_FAIL);
}

TEST_F(LogSvrTest, WithoutMessageTableEveryActIsOnlyLogged) {
  StartServer("", false);
  HRESULT init = S_OK;
  EXPECT_EQ(CallService(L"LYRIC", L"WINAMP", L"PLAY", L"hello", &init), S_OK);
  EXPECT_EQ(init, S_FALSE);
  const std::string log = Slurp(actLog_);
  EXPECT_NE(log.find("[LogSvr]: Can't Init Real Time Msg Config!"), std::string::npos) << log;
  EXPECT_NE(log.find("[KEYINFO]: |ACT:PLAY|S:WINAMP|hello|SRC:2.1.0"), std::string::npos) << log;
  EXPECT_EQ(Slurp(events_), "");
}

TEST_F(LogSvrTest, SentEventReachesTheServerAndTheActivityLog) {
  StartServer();
  HRESULT init = E_FAIL;
  EXPECT_EQ(CallService(L"LYRIC", L"WINAMP", L"PLAY", L"O:<StartUp>", &init), S_OK);
  EXPECT_EQ(init, S_OK);
  const std::string line = "2%09<SRC:2.1.0|ACT:PLAY|S:WINAMP|O:<StartUp>{second line}|U:123>";
  EXPECT_EQ(Slurp(events_), line + "\n");
  const std::string log = Slurp(actLog_);
  EXPECT_NE(log.find("][KEYINFO]: " + line), std::string::npos) << log;
  EXPECT_EQ(log.rfind(" [", 0), 0u);  // KeyInfo lines have no level label

  const std::string head = Slurp(requests_);
  EXPECT_EQ(head.rfind("POST /music.qn HTTP/1.0\r\n", 0), 0u) << head;
  EXPECT_NE(head.find("User-Agent: DUDEZE(0.9/;p)\r\n"), std::string::npos) << head;
  EXPECT_NE(head.find("Content-Type: application/x-www-form-urlencoded\r\n"), std::string::npos) << head;
  EXPECT_NE(head.find("Accept: */*\r\n"), std::string::npos) << head;

  DWORD times = 0;
  EXPECT_TRUE(ReadCounter("PLAY_TIMES", times));
  EXPECT_EQ(times, 1u);
}

TEST_F(LogSvrTest, SecondSendOnTheSameDayIsOnlyLoggedUntilTheDayChanges) {
  StartServer();
  EXPECT_EQ(CallService(L"LYRIC", L"WINAMP", L"PLAY", L"", nullptr), S_OK);
  EXPECT_EQ(CallService(L"LYRIC", L"WINAMP", L"PLAY", L"", nullptr), S_OK);
  EXPECT_EQ(Slurp(events_), "2%09<SRC:2.1.0|ACT:PLAY|S:WINAMP{second line}|U:123>\n");
  EXPECT_NE(Slurp(actLog_).find("[KEYINFO]: |ACT:PLAY|S:WINAMP|SRC:2.1.0"), std::string::npos);

  // Pretend the last send was yesterday.
  DWORD date = 0, last = 0;
  ASSERT_TRUE(ReadCounter("PLAY_LAST_DATE", date));
  ASSERT_TRUE(ReadCounter("PLAY_LAST_TIME", last));
  WriteCounter("PLAY_LAST_DATE", date - 1);
  WriteCounter("PLAY_LAST_TIME", last - 86400);
  EXPECT_EQ(CallService(L"LYRIC", L"WINAMP", L"PLAY", L"", nullptr), S_OK);
  DWORD times = 0;
  EXPECT_TRUE(ReadCounter("PLAY_TIMES", times));
  EXPECT_EQ(times, 1u);
  EXPECT_TRUE(ReadCounter("PLAY_LAST_DATE", date));
  EXPECT_EQ(Slurp(events_).size(), 2 * std::string("2%09<SRC:2.1.0|ACT:PLAY|S:WINAMP{second line}|U:123>\n").size());
}

TEST_F(LogSvrTest, ClockGoingBackIsRefusedAndResetsTheLastTime) {
  StartServer();
  WriteText(msgSet_, "[LogMsg]\r\nMsgNum=1\r\nMsgName0=PLAY\r\nMsgInterval0=60\r\nMsgDailyTimes0=5\r\n");
  const DWORD future = static_cast<DWORD>(time(nullptr)) + 7200;
  WriteCounter("PLAY_LAST_TIME", future);
  EXPECT_EQ(CallService(L"LYRIC", L"WINAMP", L"PLAY", L"", nullptr), S_OK);
  EXPECT_EQ(Slurp(events_), "");
  DWORD last = 0;
  ASSERT_TRUE(ReadCounter("PLAY_LAST_TIME", last));
  EXPECT_LT(last, future - 3600);
  DWORD times = 0;
  EXPECT_FALSE(ReadCounter("PLAY_TIMES", times));
}

TEST_F(LogSvrTest, FailedPostsReturnSFalse) {
  StartServer("--status 500");
  EXPECT_EQ(CallService(L"LYRIC", L"WINAMP", L"OFTEN", L"a", nullptr), S_FALSE);
  // The counters moved on all the same.
  DWORD times = 0;
  EXPECT_TRUE(ReadCounter("OFTEN_TIMES", times));
  EXPECT_EQ(times, 1u);
}

TEST_F(LogSvrTest, HangingServerFailsWithinTheTimeOut) {
  StartServer("--hang");
  SetPostTimeout(1500);
  const DWORD start = GetTickCount();
  EXPECT_EQ(CallService(L"LYRIC", L"WINAMP", L"OFTEN", L"a", nullptr), S_FALSE);
  EXPECT_LT(GetTickCount() - start, 1500u + 2000u + 1500u);
}

TEST_F(LogSvrTest, UninstallGoesToTheServerNamedInTheMessage) {
  StartServer("", false);
  SetHome(nullptr);  // needs nothing from Init
  EXPECT_EQ(CallService(L"x", L"y", L"uninstall", (std::wstring(base_.begin(), base_.end()) + L";2.0,U9,gone,").c_str(),
                        nullptr),
            E_FAIL);  // Init fails without home: the client stops there
  zl::ComPtr<ILogSvr> svr;
  ASSERT_EQ(CoCreateInstance(CLSID_LogSvr, nullptr, CLSCTX_INPROC_SERVER, IID_ILogSvr,
                             svr.PutVoid()),
            S_OK);
  const std::wstring msg = std::wstring(base_.begin(), base_.end()) + L";2.0,U9,gone,";
  Bstr act(L"UNINSTALL"), text(msg.c_str());
  EXPECT_EQ(svr->LogMsg(act.b, text.b), S_OK);
  EXPECT_EQ(Slurp(events_), "2%09<SRC:2.0|ACT:UNINSTALL{gone}|U:U9>\n");
}

TEST_F(LogSvrTest, UninstallWithoutServerGoesToTheBuiltInLoopbackAddress) {
  ChildProcess builtIn;
  const std::string out = testsupport::TempPath("builtin.txt");
  if (!builtIn.Start("\"" + testsupport::BesideMe("logserver.exe") + "\" --port 8400 --out \"" + out + "\"")) {
    GTEST_SKIP() << "cannot start a server on the built-in port";
  }
  std::string line;
  if (!builtIn.ReadLine(line, 20000) || line != "PORT 8400") GTEST_SKIP() << "built-in port 8400 is taken";
  zl::ComPtr<ILogSvr> svr;
  ASSERT_EQ(CoCreateInstance(CLSID_LogSvr, nullptr, CLSCTX_INPROC_SERVER, IID_ILogSvr,
                             svr.PutVoid()),
            S_OK);
  Bstr act(L"UNINSTALL"), text(L"3.0,U1,");
  EXPECT_EQ(svr->LogMsg(act.b, text.b), S_OK);
  EXPECT_EQ(Slurp(out), "2%09<SRC:3.0|ACT:UNINSTALL{}|U:U1>\n");
  builtIn.Kill();
  DeleteFileA(out.c_str());
}

TEST_F(LogSvrTest, OverlongActivityLogKeepsItsTail) {
  StartServer();
  CreateDirectoryA((home_ + "\\log").c_str(), nullptr);
  std::string big;
  for (int i = 0; big.size() < 307201; ++i) big += "line " + std::to_string(i) + "\n";
  big.resize(307201);
  WriteText(actLog_, big);
  HRESULT init = E_FAIL;
  CallService(L"LYRIC", L"WINAMP", L"NOT_IN_TABLE", L"", &init);
  const std::string after = Slurp(actLog_);
  ASSERT_GE(after.size(), 286720u);
  EXPECT_EQ(after.substr(0, 286720), big.substr(307201 - 286720));

  // At exactly the limit nothing is cut.
  std::string edge(307200, 'e');
  WriteText(actLog_, edge);
  CallService(L"LYRIC", L"WINAMP", L"NOT_IN_TABLE", L"", &init);
  EXPECT_EQ(Slurp(actLog_).substr(0, 307200), edge);
}
