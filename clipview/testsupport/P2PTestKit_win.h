#pragma once
// The P2P tests' world: an install home with its configuration image, a
// library of resources for the P2P server stand-in, the stand-in itself, a
// window standing in for the MV dialog and a host that records what the
// download manager asks of the window.
#include <windows.h>

#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "ChildProcess_win.h"
#include "MvTestSupport_win.h"
#include "WinTestSupport.h"
#include "p2p/P2PMan.h"

namespace p2ptest {

constexpr SignPair kCodecPair{900, 901};

class RecordingHost : public clipview::P2PManHost {
 public:
  std::atomic<bool> shown{true};
  std::atomic<clipview::UserChoice> choice{clipview::choice_video};
  std::atomic<int> playerPlay{0}, downloadP2P{0};
  bool DialogShown() override { return shown; }
  clipview::UserChoice CurrentChoice() override { return choice; }
  void SendPlayerPlayMsg() override { ++playerPlay; }
  void SendDownloadP2PMsg() override { ++downloadP2P; }
};

class P2PWorld {
 public:
  P2PWorld();
  ~P2PWorld();

  // A library resource "<first>-<second>.<ext>".
  void AddResource(SignPair pair, const std::string& ext, const std::string& bytes);
  std::string StorePath(SignPair pair, const std::string& ext) const;
  // Starts ZoSvr.exe from the install home with these arguments after the
  // library, store, log and tick ones.
  bool StartServer(const std::string& args = "--rate 200000");
  // The server's own settings file, used when the window starts it.
  void WriteServerIni(const std::string& extraLines = "rate=200000\n");
  // Ends every server of this desktop.
  static void KillServers();
  static DWORD ServerProcessId();
  // Lines the server logged ("REQUEST a b reply", "CANCEL a b").
  std::vector<std::string> ServerLog() const;
  int Requests(SignPair pair) const;
  int Cancels(SignPair pair) const;

  clipview::P2PManConfig Config() const;
  std::unique_ptr<clipview::P2PMan> MakeMan(const clipview::P2PManConfig& config);
  // The window's messages seen so far (WM_REFRESH_STATUS, WM_FLV_PLAY, ...).
  int Seen(UINT msg) const;
  bool WaitFor(const std::function<bool()>& done, DWORD ms = 15000) { return mvtest::PumpUntil(done, ms); }

  std::string userTemp;  // ends in a backslash
  zltest::ScopedInstallHome home;
  RecordingHost host;
  mvtest::TestWindow dialog{"p2p dialog", 0, 0, 10, 10, false};
  std::vector<UINT> messages;
  std::vector<WPARAM> commands;

 private:
  static void CleanFolder(const std::string& folder);
  std::string library_, store_, log_;
  testsupport::ChildProcess server_;
};

// Removes the decoder's registry mark (the decoder counts as missing).
void ForgetDecoder();
std::string RandomBytes(size_t n, unsigned start);

}  // namespace p2ptest
