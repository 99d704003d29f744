#include "P2PTestKit_win.h"

#include <cstdio>
#include <fstream>

#include "shared/Ownership.h"

namespace p2ptest {

P2PWorld::P2PWorld() {
  KillServers();
  userTemp = mvtest::ScratchFolder("p2ptemp");
  CleanFolder(userTemp + "ZLrc\\");
  library_ = home.Home() + "\\library";
  store_ = home.Home() + "\\store";
  log_ = home.Home() + "\\server.log";
  CreateDirectoryA(library_.c_str(), nullptr);
  CreateDirectoryA(store_.c_str(), nullptr);
  CreateDirectoryA((home.Home() + "\\log").c_str(), nullptr);
  home.WriteConfigImage("[Config]\r\np2psvr=ZoSvr.exe\r\n[MediaCodec]\r\nflvsig1=900\r\nflvsig2=901\r\n");
  CopyFileA(mvtest::BesideMe("ZoSvr.exe").c_str(), (home.Home() + "\\ZoSvr.exe").c_str(), FALSE);
  WriteServerIni();
  dialog.SetHandler([this](HWND, UINT msg, WPARAM wp, LPARAM, LRESULT&) {
    if (msg >= WM_USER + 100 && msg <= WM_USER + 110) messages.push_back(msg);
    if (msg == WM_COMMAND) commands.push_back(wp);
    return false;
  });
}

P2PWorld::~P2PWorld() { KillServers(); }

void P2PWorld::CleanFolder(const std::string& folder) {
  WIN32_FIND_DATAA fd;
  zl::UniqueFind find(FindFirstFileA((folder + "*").c_str(), &fd));
  if (!find) return;
  do {
    if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) DeleteFileA((folder + fd.cFileName).c_str());
  } while (FindNextFileA(find.Get(), &fd));
}

void P2PWorld::AddResource(SignPair pair, const std::string& ext, const std::string& bytes) {
  mvtest::WriteFileBytes(library_ + "\\" + std::to_string(pair.first) + "-" + std::to_string(pair.second) + "." + ext,
                         bytes);
}

std::string P2PWorld::StorePath(SignPair pair, const std::string& ext) const {
  return store_ + "\\" + std::to_string(pair.first) + "-" + std::to_string(pair.second) + "." + ext;
}

bool P2PWorld::StartServer(const std::string& args) {
  const std::string line = "\"" + home.Home() + "\\ZoSvr.exe\" --library \"" + library_ + "\" --store \"" + store_ +
                           "\" --log \"" + log_ + "\" --tick 50 " + args;
  std::string ready;
  return server_.Start(line) && server_.ReadLine(ready, 20000) && ready == "READY";
}

void P2PWorld::WriteServerIni(const std::string& extraLines) {
  mvtest::WriteFileBytes(home.Home() + "\\ZoSvr.ini", "[server]\nlibrary=" + library_ + "\nstore=" + store_ +
                                                          "\nlog=" + log_ + "\ntick=50\n" + extraLines);
}

DWORD P2PWorld::ServerProcessId() {
  HWND w = FindWindowA("ZuDiverUdoziz", nullptr);
  DWORD pid = 0;
  if (w) GetWindowThreadProcessId(w, &pid);
  return pid;
}

void P2PWorld::KillServers() {
  for (int i = 0; i < 200; ++i) {
    const DWORD pid = ServerProcessId();
    if (!pid) return;
    zl::UniqueHandle p(OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid));
    if (p) {
      TerminateProcess(p.Get(), 0);
      WaitForSingleObject(p.Get(), 5000);
    }
    Sleep(20);
  }
}

std::vector<std::string> P2PWorld::ServerLog() const {
  std::vector<std::string> lines;
  std::ifstream in(log_);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

static int CountLines(const std::vector<std::string>& lines, const std::string& prefix) {
  int n = 0;
  for (const auto& l : lines) n += l.compare(0, prefix.size(), prefix) == 0;
  return n;
}

int P2PWorld::Requests(SignPair p) const {
  return CountLines(ServerLog(), "REQUEST " + std::to_string(p.first) + " " + std::to_string(p.second) + " ");
}

int P2PWorld::Cancels(SignPair p) const {
  return CountLines(ServerLog(), "CANCEL " + std::to_string(p.first) + " " + std::to_string(p.second));
}

clipview::P2PManConfig P2PWorld::Config() const {
  clipview::P2PManConfig c;
  c.commandLine = "P2PTest";
  c.hostName = "WINAMP";
  c.logPath = home.Home() + "\\log\\log_clip_view.txt";
  c.interfaceLogPath = home.Home() + "\\log\\p2pinterface.log";
  c.userTemp = userTemp;
  c.restartTimerMs = 500;
  c.prefetchPollMs = 100;
  return c;
}

std::unique_ptr<clipview::P2PMan> P2PWorld::MakeMan(const clipview::P2PManConfig& config) {
  return std::make_unique<clipview::P2PMan>(dialog.Get(), host, config);
}

int P2PWorld::Seen(UINT msg) const {
  int n = 0;
  for (UINT m : messages) n += m == msg;
  return n;
}

void ForgetDecoder() {
  zl::UniqueRegKey key;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\GNU\\ffdshow", 0, KEY_SET_VALUE, key.Put()) == ERROR_SUCCESS)
    RegDeleteValueA(key.Get(), "flv1");
}

std::string RandomBytes(size_t n, unsigned start) {
  std::string s(n, '\0');
  for (size_t i = 0; i < n; ++i) {
    start = start * 1103515245u + 12345u;
    s[i] = char(start >> 16);
  }
  return s;
}

}  // namespace p2ptest
