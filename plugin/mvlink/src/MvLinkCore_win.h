#pragma once
// The MV link's state and work, shared by the link object and its receiver
// thread (which owns a reference, so that a receiver that had to be
// abandoned at quit never touches freed memory).
#include <windows.h>

#include <atomic>
#include <cstdint>
#include <string>

#include "controller/LyricController.h"
#include "controller/LyricWindows.h"
#include "mvlink/MvLink_win.h"
#include "mvlink/MvLinkRules.h"
#include "mvprotocol/MvProtocol.h"
#include "shared/Logger.h"

class MvLinkCore {
 public:
  enum class SendResult { Sent, TimedOut, Missing, NoticeOpen };

  // The link posts this to the mini window for work that must not run
  // while ClipView waits for the answer to its own message.
  static constexpr UINT kMsgDeferred = WM_APP + 0x3A5;  // wParam: Deferred
  enum Deferred : WPARAM { kStartP2P = 1, kVideoStarted = 2, kPicturesStarted = 3 };
  static constexpr unsigned kCommandStopPlayer = 203;

  explicit MvLinkCore(const MvLinkOptions& options);

  void Attach(ILyricController* controller) { m_owner.store(controller); }
  ILyricController* Owner() const { return m_owner.load(); }
  const MvLinkTimings& Timings() const { return m_options.timings; }
  const std::string& HostName() const { return m_hostName; }
  const char* ClipViewTitle() const { return mv::ClipViewTitleForHost(m_hostName); }
  std::string MiniTitle() const { return m_hostName + "Mini"; }

  // ---- Sending (any thread) -------------------------------------------------
  HWND FindVideoWindow() const;
  HWND FindOrLaunchVideoWindow();
  static HWND FindFlashNotice();
  SendResult Send(const char* name, mv::ToClipView code, const void* data, DWORD size, bool launch);
  void KillVideo();
  std::atomic<bool> showBusy{false};

  // ---- Receiving (the mini window's thread) ---------------------------------
  bool OnMiniWindowMessage(HWND window, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
  // The plug-in's own mini window (null when there is none).
  HWND MiniWindow() const;
  // One keep-alive to ClipView (the heartbeat's thread); KillVideo on time-out.
  void KeepAlive();
  void ClearSongFlags();

  void Log(const char* tag, const char* format, ...) const ZL_PRINTF_LIKE(3, 4);

 private:
  void OnCopyData(HWND window, const COPYDATASTRUCT& data);
  void OnPlayerStop(HWND window, ILyricController& owner);
  void OnPlayerPlay(ILyricController& owner);
  void ResumePlayer(ILyricController& owner);
  void OnSongComplete(ILyricController& owner);
  void OnVideoCrash();
  void OnDeferred(WPARAM what);
  void ArmPrefetchTimer(ILyricController& owner);
  void KillPrefetchTimer(ILyricController& owner);

  const MvLinkOptions m_options;
  const std::string m_hostName;
  const mvlink::HostKind m_hostKind;
  std::atomic<ILyricController*> m_owner{nullptr};
  std::atomic<bool> m_realPausedByVideo{false};
  // The MV usage events go out once per song.
  std::atomic<bool> m_videoReported{false};
  std::atomic<bool> m_picturesReported{false};
};
