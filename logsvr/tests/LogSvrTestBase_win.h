#pragma once
// Shared set-up of the event-log service tests: an install home with a
// configuration image, user file and message set; the service registered
// through regsvr32; a log-server stand-in to post to.
#include <gtest/gtest.h>
#include <windows.h>

#include <ctime>
#include <fstream>
#include <string>

#include "ChildProcess_win.h"
#include "ILogSvr.h"

using testsupport::ChildProcess;

constexpr const char* kHomeKey = "SOFTWARE\\ZOLYRIC";
constexpr const char* kCounters = "SOFTWARE\\ZOLYRIC\\LOGMSG";

inline std::string Slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

inline void WriteText(const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << text;
}

inline std::string SystemDir() {
  char buf[MAX_PATH];
  const UINT n = GetSystemDirectoryA(buf, MAX_PATH);
  return std::string(buf, n);
}

inline bool SetHome(const std::string* home) {
  zl::UniqueRegKey key;
  if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, kHomeKey, 0, nullptr, 0, KEY_WRITE, nullptr, key.Put(), nullptr) !=
      ERROR_SUCCESS)
    return false;
  LONG rc;
  if (home)
    rc = RegSetValueExA(key.Get(), "ZOLYRIC_HOME", 0, REG_SZ, reinterpret_cast<const BYTE*>(home->c_str()),
                        static_cast<DWORD>(home->size() + 1));
  else
    rc = RegDeleteValueA(key.Get(), "ZOLYRIC_HOME");
  return rc == ERROR_SUCCESS || (!home && rc == ERROR_FILE_NOT_FOUND);
}

inline bool ReadCounter(const std::string& name, DWORD& value) {
  DWORD size = sizeof value;
  return RegGetValueA(HKEY_LOCAL_MACHINE, kCounters, name.c_str(), RRF_RT_REG_DWORD, nullptr, &value, &size) ==
         ERROR_SUCCESS;
}

inline void WriteCounter(const std::string& name, DWORD value) {
  zl::UniqueRegKey key;
  ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, kCounters, 0, nullptr, 0, KEY_WRITE, nullptr, key.Put(), nullptr),
            ERROR_SUCCESS);
  RegSetValueExA(key.Get(), name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
}

inline int Regsvr32(const std::string& args) {
  ChildProcess p;
  if (!p.Start("\"" + SystemDir() + "\\regsvr32.exe\" " + args, false)) return -1;
  DWORD rc = 0;
  return p.Wait(30000, &rc) ? static_cast<int>(rc) : -2;
}

inline std::string DllPath() { return testsupport::BesideMe("ZoLogSvr.dll"); }

inline bool RegistryText(HKEY root, const std::string& key, const char* value, std::string& out) {
  char buf[MAX_PATH];
  DWORD size = sizeof buf;
  if (RegGetValueA(root, key.c_str(), value, RRF_RT_REG_SZ, nullptr, buf, &size) != ERROR_SUCCESS) return false;
  out = buf;
  return true;
}

struct Bstr {
  explicit Bstr(const wchar_t* s) : own(s ? SysAllocString(s) : nullptr), b(own.Get()) {}
  zl::UniqueBstr own;
  BSTR b;
};

inline HRESULT CallService(const wchar_t* soft, const wchar_t* source, const wchar_t* act, const wchar_t* msg,
                    HRESULT* initResult = nullptr) {
  zl::ComPtr<ILogSvr> svr;
  HRESULT hr = CoCreateInstance(CLSID_LogSvr, nullptr, CLSCTX_INPROC_SERVER, IID_ILogSvr,
                                svr.PutVoid());
  if (FAILED(hr)) return hr;
  Bstr a(soft), b(source), c(act), d(msg);
  const HRESULT init = svr->Init(a.b, b.b);
  if (initResult) *initResult = init;
  hr = init == E_FAIL ? init : svr->LogMsg(c.b, d.b);
  return hr;
}

inline void SetPostTimeout(DWORD ms) {
  HMODULE dll = GetModuleHandleA("ZoLogSvr.dll");
  ASSERT_NE(dll, nullptr);
  auto set = reinterpret_cast<void(WINAPI*)(DWORD)>(reinterpret_cast<void*>(GetProcAddress(dll, "ZlLogSvrSetPostTimeout")));
  ASSERT_NE(set, nullptr);
  set(ms);
}

// An install home with a configuration image, a user file and a message set.
class LogSvrTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(Regsvr32("/s \"" + DllPath() + "\""), 0);
    home_ = testsupport::TempPath("home");
    CreateDirectoryA(home_.c_str(), nullptr);
    CreateDirectoryA((home_ + "\\face").c_str(), nullptr);
    ASSERT_TRUE(SetHome(&home_));
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, kCounters);
    msgSet_ = SystemDir() + "\\zl_test_msgset.img";
    userFile_ = SystemDir() + "\\zl_test_user.dat";
    WriteText(msgSet_,
              "[LogMsg]\r\nMsgNum=2\r\nMsgName0=PLAY\r\nMsgInterval0=0\r\nMsgDailyTimes0=1\r\n"
              "MsgName1=OFTEN\r\nMsgInterval1=0\r\nMsgDailyTimes1=100\r\n");
    WriteText(userFile_, "123\r\nsecond line\r\n");
    actLog_ = home_ + "\\log\\act.log";
  }
  void TearDown() override {
    server_.Kill();
    SetHome(nullptr);
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, kCounters);
    DeleteFileA(msgSet_.c_str());
    DeleteFileA(userFile_.c_str());
    DeleteFileA(actLog_.c_str());
    DeleteFileA(events_.c_str());
    DeleteFileA(requests_.c_str());
    DeleteFileA((home_ + "\\face\\zoc.img").c_str());
    RemoveDirectoryA((home_ + "\\log").c_str());
    RemoveDirectoryA((home_ + "\\face").c_str());
    RemoveDirectoryA(home_.c_str());
    SetPostTimeout(10000);
  }

  // Starts the stand-in and writes a configuration image that points at it.
  void StartServer(const std::string& extra = "", bool withMsgSet = true) {
    events_ = testsupport::TempPath("events.txt");
    requests_ = testsupport::TempPath("requests.txt");
    int port = 0;
    ASSERT_TRUE(testsupport::StartServer(server_, "logserver.exe",
                                         "--out \"" + events_ + "\" --requests \"" + requests_ + "\" " + extra, port));
    base_ = "http://127.0.0.1:" + std::to_string(port);
    WriteImage(withMsgSet);
  }
  void WriteImage(bool withMsgSet) {
    WriteText(home_ + "\\face\\zoc.img", "[Config]\r\nVersion=2.1.0\r\nuserfile=zl_test_user.dat\r\n" +
                                             std::string(withMsgSet ? "msgset=zl_test_msgset\r\n" : "") +
                                             "[LogServer]\r\nlogsvr=" + base_ + "\r\n");
  }

  std::string home_, msgSet_, userFile_, actLog_, events_, requests_, base_;
  ChildProcess server_;
};

