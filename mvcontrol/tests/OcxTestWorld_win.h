#pragma once
// The web control tests' world: an install home with what the control
// needs (the hook library, the pages, the P2P server program), the Flash
// stand-in and the control registered, the P2P server stand-in or a fake
// server window of the test's own, and records written byte by byte as the
// server sends them.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "ChildProcess_win.h"
#include "WinTestSupport.h"

namespace ocxtest {

constexpr const char* kControlClsid = "{D04E2C85-9114-4A46-A04C-9A1DCF98B21E}";
constexpr DISPID kDispSetBaseSwfPath = 198101, kDispSetFlvPath = 198102, kDispPlayChannel = 198103,
                 kDispStopChannel = 198104, kDispPlayChannel2 = 198105, kDispStopChannel2 = 198106,
                 kDispSetWndWidth = 198107;

class OcxWorld {
 public:
  // A home with ocx_iohook.dll, ZoMV.exe (the P2P server stand-in), its
  // settings (library, store) and the pages; `parts` leaves some out.
  enum Parts { kAll = 0, kNoHook = 1, kNoServerProgram = 2, kBrokenHook = 4 };
  explicit OcxWorld(int parts = kAll);
  ~OcxWorld();

  const std::string& Home() const { return home_.Home(); }
  // A library resource "<first>-<second>.<ext>" of the server stand-in.
  void AddResource(uint32_t first, uint32_t second, const std::string& ext, const std::string& bytes);
  std::string StorePath(uint32_t first, uint32_t second, const std::string& ext) const;
  // The stand-in's settings file, used when the control starts it.
  void WriteServerIni(uint32_t rate);
  // Starts ZoMV.exe with these extra arguments and waits for its window.
  bool StartServer(const std::string& args);
  static void KillServers();
  std::vector<std::string> ServerLog() const;

 private:
  zltest::ScopedInstallHome home_;
  std::string library_, store_, log_;
  testsupport::ChildProcess server_;
};

// What a page's browser sees of the user's temp folder.
std::string UserTemp();
std::string VideoFile(uint32_t first, uint32_t second, const std::string& ext);
std::string Media(size_t n, unsigned state);
// The first 16384 bytes as the P2P server keeps them.
std::string AsServerKeepsIt(std::string media);
bool WriteBytes(const std::string& path, const std::string& bytes);
std::string ReadBytes(const std::string& path);
bool FileExists(const std::string& path);

// The server's records, laid out as the server sends them.
std::string StatusRecord(uint32_t first, uint32_t second, uint32_t event, uint32_t usable, uint32_t download,
                         uint32_t rate, uint32_t total, const std::string& source);
std::string LookupRecord(uint32_t first, uint32_t second, const std::string& source, uint32_t percent);

// A window of the server's class in this process, which notes what the
// control sends and answers as the test says.
class FakeServer {
 public:
  struct Received {
    unsigned long code;
    uint32_t first, second;
    std::string reply;  // the request's reply window name
  };
  FakeServer();
  ~FakeServer();
  std::vector<Received> received;
  // Sends a record to the reply window named in the last request.
  bool Send(unsigned long code, const std::string& record) const;
  std::string LastReply() const;

 private:
  static LRESULT CALLBACK Proc(HWND, UINT, WPARAM, LPARAM);
  HWND window_ = nullptr;
};

}  // namespace ocxtest
