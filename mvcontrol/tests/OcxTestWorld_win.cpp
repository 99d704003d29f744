#include "OcxTestWorld_win.h"

#include <cstdio>
#include <cstring>
#include <fstream>

#include "MvTestSupport_win.h"
#include "p2pwire/HeadScramble.h"
#include "shared/Ownership.h"

namespace ocxtest {

namespace {

void Le32(std::string& s, uint32_t v) {
  for (int i = 0; i < 4; ++i) s += char((v >> (8 * i)) & 0xFF);
}

uint32_t ReadLe32(const unsigned char* p) { return p[0] | p[1] << 8 | p[2] << 16 | uint32_t(p[3]) << 24; }

// A text field of `width` bytes, NUL-filled.
void Field(std::string& s, const std::string& text, size_t width) {
  std::string f = text.substr(0, width - 1);
  f.resize(width, '\0');
  s += f;
}

}  // namespace

OcxWorld::OcxWorld(int parts) {
  KillServers();
  const std::string home = home_.Home();
  library_ = home + "\\library";
  store_ = home + "\\store";
  log_ = home + "\\server.log";
  for (const std::string& d : {library_, store_, home + "\\log", home + "\\swf"}) CreateDirectoryA(d.c_str(), nullptr);
  for (const char* page : {"load.swf", "player.swf", "ocx_neterror.swf"})
    CopyFileA((std::string(ZL_IMAGE_DIR) + "/swf/" + page).c_str(), (home + "\\swf\\" + page).c_str(), FALSE);
  if (!(parts & kNoHook))
    CopyFileA(mvtest::BesideMe("ocx_iohook.dll").c_str(), (home + "\\ocx_iohook.dll").c_str(), FALSE);
  if (parts & kBrokenHook)  // a library without the hook's functions
    CopyFileA(mvtest::BesideMe("Flash.ocx").c_str(), (home + "\\ocx_iohook.dll").c_str(), FALSE);
  if (!(parts & kNoServerProgram)) CopyFileA(mvtest::BesideMe("ZoSvr.exe").c_str(), (home + "\\ZoMV.exe").c_str(), FALSE);
  WriteServerIni(200000);
}

OcxWorld::~OcxWorld() {
  server_.Kill();
  KillServers();
}

void OcxWorld::AddResource(uint32_t first, uint32_t second, const std::string& ext, const std::string& bytes) {
  WriteBytes(library_ + "\\" + std::to_string(first) + "-" + std::to_string(second) + "." + ext, bytes);
}

std::string OcxWorld::StorePath(uint32_t first, uint32_t second, const std::string& ext) const {
  return store_ + "\\" + std::to_string(first) + "-" + std::to_string(second) + "." + ext;
}

void OcxWorld::WriteServerIni(uint32_t rate) {
  WriteBytes(Home() + "\\ZoMV.ini", "[server]\nlibrary=" + library_ + "\nstore=" + store_ + "\nlog=" + log_ +
                                        "\ntick=50\nrate=" + std::to_string(rate) + "\n");
}

bool OcxWorld::StartServer(const std::string& args) {
  const std::string line = "\"" + Home() + "\\ZoMV.exe\" --library \"" + library_ + "\" --store \"" + store_ +
                           "\" --log \"" + log_ + "\" --tick 50 " + args;
  std::string ready;
  return server_.Start(line) && server_.ReadLine(ready, 20000) && ready == "READY";
}

void OcxWorld::KillServers() {
  for (int i = 0; i < 200; ++i) {
    HWND w = FindWindowA("ZuDiverUdoziz", nullptr);
    DWORD pid = 0;
    if (w) GetWindowThreadProcessId(w, &pid);
    if (!pid) return;
    if (pid == GetCurrentProcessId()) return;  // a fake server of this test
    zl::UniqueHandle p(OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid));
    if (p) {
      TerminateProcess(p.Get(), 0);
      WaitForSingleObject(p.Get(), 5000);
    }
    Sleep(20);
  }
}

std::vector<std::string> OcxWorld::ServerLog() const {
  std::vector<std::string> lines;
  std::ifstream in(log_);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

std::string UserTemp() {
  char temp[MAX_PATH + 1];
  const DWORD n = GetTempPathA(sizeof temp, temp);
  return std::string(temp, n);
}

std::string VideoFile(uint32_t first, uint32_t second, const std::string& ext) {
  return UserTemp() + "ZLrc\\ocx" + std::to_string(first) + "_" + std::to_string(second) + "." + ext;
}

std::string Media(size_t n, unsigned state) {
  std::string s(n, '\0');
  for (auto& c : s) c = char((state = state * 1103515245u + 12345u) >> 16);
  return s;
}

std::string AsServerKeepsIt(std::string media) {
  p2pwire::ScrambleHead(reinterpret_cast<unsigned char*>(&media[0]), media.size() < 16384 ? media.size() : 16384);
  return media;
}

bool WriteBytes(const std::string& path, const std::string& bytes) { return mvtest::WriteFileBytes(path, bytes); }
std::string ReadBytes(const std::string& path) { return mvtest::ReadFileBytes(path); }
bool FileExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string StatusRecord(uint32_t first, uint32_t second, uint32_t event, uint32_t usable, uint32_t download,
                         uint32_t rate, uint32_t total, const std::string& source) {
  std::string r;
  Le32(r, first);
  Le32(r, second);
  Le32(r, event);
  Le32(r, usable);
  Le32(r, download);
  Le32(r, rate);
  Le32(r, 0);
  Le32(r, 0);
  Le32(r, total);
  Field(r, source, 260);
  return r;  // 296 bytes
}

std::string LookupRecord(uint32_t first, uint32_t second, const std::string& source, uint32_t percent) {
  std::string r;
  Le32(r, first);
  Le32(r, second);
  Field(r, source, 260);
  Le32(r, percent);
  return r;  // 272 bytes
}

FakeServer::FakeServer() {
  WNDCLASSA wc{};
  wc.lpfnWndProc = Proc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "ZuDiverUdoziz";
  RegisterClassA(&wc);
  window_ = CreateWindowExA(0, wc.lpszClassName, "", WS_OVERLAPPED, 0, 0, 0, 0, nullptr, nullptr, wc.hInstance, this);
}

FakeServer::~FakeServer() {
  if (window_) {
    SetWindowLongPtrA(window_, GWLP_USERDATA, 0);
    DestroyWindow(window_);
  }
  UnregisterClassA("ZuDiverUdoziz", GetModuleHandleA(nullptr));
}

LRESULT CALLBACK FakeServer::Proc(HWND window, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE)
    SetWindowLongPtrA(window, GWLP_USERDATA,
                      reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTA*>(lp)->lpCreateParams));
  auto* self = reinterpret_cast<FakeServer*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (msg == WM_COPYDATA && self && lp) {
    const auto* cds = reinterpret_cast<const COPYDATASTRUCT*>(lp);
    const auto* p = static_cast<const unsigned char*>(cds->lpData);
    Received r{static_cast<unsigned long>(cds->dwData), 0, 0, ""};
    // The request: first, second, 0, then the reply window's name in 64 bytes.
    if (cds->dwData == 1 && cds->cbData == 76 && ReadLe32(p + 8) == 0) {
      r.first = ReadLe32(p);
      r.second = ReadLe32(p + 4);
      r.reply.assign(reinterpret_cast<const char*>(p + 12), strnlen(reinterpret_cast<const char*>(p + 12), 64));
    } else if (cds->dwData == 2 && cds->cbData == 8) {
      r.first = ReadLe32(p);
      r.second = ReadLe32(p + 4);
    } else {
      r.code = 0;  // malformed
    }
    self->received.push_back(r);
    return TRUE;
  }
  return DefWindowProcA(window, msg, wp, lp);
}

std::string FakeServer::LastReply() const {
  for (auto it = received.rbegin(); it != received.rend(); ++it)
    if (it->code == 1) return it->reply;
  return {};
}

bool FakeServer::Send(unsigned long code, const std::string& record) const {
  const std::string reply = LastReply();
  HWND target = FindWindowA(reply.c_str(), reply.c_str());
  if (!target) return false;
  COPYDATASTRUCT cds{code, DWORD(record.size()), const_cast<char*>(record.data())};
  SendMessageA(target, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&cds));
  return true;
}

}  // namespace ocxtest
