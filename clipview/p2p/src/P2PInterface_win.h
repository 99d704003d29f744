#pragma once
// The link to the P2P server program: requests and cancels by WM_COPYDATA,
// and the hidden reply window (with a thread of its own) that receives the
// server's status and lookup records, copies what has arrived and reports
// it to the owner.
#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

#include "P2PCopyData_win.h"
#include "P2PUsage_win.h"
#include "shared/SignPair.h"

namespace clipview {

// What the link reports, on the reply window's thread.
class P2PEvents {
 public:
  virtual ~P2PEvents() = default;
  virtual void OnP2PStarted(SignPair sign, const std::string& tempPath) = 0;
  virtual void OnP2PProgress(SignPair sign, uint32_t totalSize, uint32_t usable, uint32_t download,
                             uint32_t rate) = 0;
  virtual void OnP2PFailed(SignPair sign) = 0;
  virtual void OnP2PError(SignPair sign, uint32_t code) = 0;  // 9: no peer, 11: network error
};

struct P2PLinkSettings {
  std::string replyWindowName;
  std::string logPath;  // p2pinterface.log
  CopySettings copy;
  UsageReporter usage;
  DWORD sendTimeoutMs = 2000;
  DWORD cancelTimeoutMs = 1000;
  DWORD restartTimerMs = 30000;
  DWORD replyStopWaitMs = 5000;
};

class P2PInterface {
 public:
  // `owner` must outlive the interface; after the destructor it hears nothing.
  P2PInterface(P2PLinkSettings settings, P2PEvents& owner);
  ~P2PInterface();
  P2PInterface(const P2PInterface&) = delete;
  P2PInterface& operator=(const P2PInterface&) = delete;

  // Asks the server for `sign` on a short-lived thread (any thread).
  void RequestDownload(SignPair sign);
  // Tells the server to stop and deletes `path` (dialog thread).
  void CancelDownload(SignPair sign, const std::string& path);
  // From now on the reply window ignores what arrives.
  void SetClosing();
  // The reply window once it exists (tests).
  HWND ReplyWindow() const;

  struct Shared;

 private:
  std::shared_ptr<Shared> shared_;
};

}  // namespace clipview
