#pragma once
// CDlgVideoMain, ClipView's main window: the video page (the FLV graph in
// child dialog 204, or a status page), the picture page (a Flash movie),
// the tabs and skinned buttons, the status line and the bars, and the
// protocol with the plug-in. Everything runs on the dialog's thread.
#include <windows.h>

#include <atomic>
#include <functional>
#include <memory>
#include <string>

#include "flv/FlvPlayback.h"
#include "p2p/P2PMan.h"
#include "shared/Logger.h"
#include "window/PlayerSender_win.h"
#include "window/VideoBackends.h"
#include "window/VideoDlgConfig.h"
#include "window/VideoDlgRules.h"
#include "window/VideoMessages.h"

namespace clipview {

class FlashHost;
class SkinImages;

struct VideoDlgOptions {
  std::string commandLine;  // the window title (Part of the protocol's identities)
  std::string home;         // the install home; empty: "c:\program files\ambrel\lyric"
  std::string logPath;
  UINT playClockMs = 1000;  // timer 7
  UINT trimMs = 1000;       // timer 8
  bool endsProgram = true;  // the end of the window ends the message loop
  // The pages that More and Feedback open.
  std::string moreUrl = "http://mv.ambrel.com/";
  std::string feedbackUrl = "http://bbs.ambrel.com/";
};

// What tests read of the window's state.
struct VideoDlgState {
  bool dlgShow = false;
  int userChoice = mv::choice_pic;
  int previousChoice = mv::choice_pic;
  bool videoPageActive = false;
  bool picturePageActive = false;
  bool videoPlaying = false;
  bool minimized = false;
  bool showVideoOnRestore = false;
  bool paused = false;
  bool userPaused = false;
  bool seekable = false;
  unsigned playSeconds = 0;
  unsigned durationSeconds = 0;
  bool muted = false;
  bool fullScreen = false;
  std::string statusText;
  std::string pictureMovie, statusMovie;  // what each Flash host was last given
  bool pictureHostVisible = false, statusHostVisible = false, videoWindowVisible = false;
  bool playShown = false, pauseShown = false;
};

using PlaybackFactory = std::function<std::unique_ptr<IVideoPlayback>(FlvPlaybackHost&)>;
// The downloads are made once the window exists: they post to it.
using ResourcesFactory = std::function<std::unique_ptr<IVideoResources>(HWND dialog, P2PManHost& host)>;

class CDlgVideoMain : public FlvPlaybackHost, public P2PManHost {
 public:
  CDlgVideoMain(VideoDlgOptions options, ResourcesFactory makeResources, PlaybackFactory makePlayback);
  ~CDlgVideoMain() override;
  CDlgVideoMain(const CDlgVideoMain&) = delete;
  CDlgVideoMain& operator=(const CDlgVideoMain&) = delete;

  // Creates the window, hidden, with neither tab selected. Null on failure.
  HWND Create(HINSTANCE instance);
  HWND Window() const { return m_hWnd; }
  HWND VideoWindow() override { return m_video; }
  VideoDlgState State() const;
  const VideoDlgSettings& Settings() const { return m_settings; }
  PlayerSender& Sender() { return m_sender; }
  static std::string SwfFolder(const std::string& home);

  // ---- FlvPlaybackHost ----
  bool VideoDownloading(uint32_t& totalSize) override;
  void PlaybackStarted() override;
  void PlaybackFailed() override;

  // ---- P2PManHost (also the P2P reply thread) ----
  bool DialogShown() override { return m_bDlgShow.load(); }
  UserChoice CurrentChoice() override { return static_cast<UserChoice>(m_enumUserChoice.load()); }
  void SendPlayerPlayMsg() override { m_sender.SendPlayerPlayMsg(); }
  void SendDownloadP2PMsg() override { m_sender.SendDownloadP2PMsg(); }

 private:
  static INT_PTR CALLBACK DialogProc(HWND, UINT, WPARAM, LPARAM);
  static INT_PTR CALLBACK VideoProc(HWND, UINT, WPARAM, LPARAM);
  INT_PTR OnMessage(UINT msg, WPARAM wParam, LPARAM lParam);
  void OnInitDialog();
  void OnCopyData(const COPYDATASTRUCT& data);
  void OnCommand(unsigned id, LPARAM lParam);
  void OnTimer(UINT_PTR id);
  void Log(const char* format, ...) const ZL_PRINTF_LIKE(2, 3);

  // The plug-in's requests (DlgVideoMain_win.cpp).
  void OnPlayMsg(bool video);
  void OnStopMsg();
  void OnStartNewSong();
  void OnHide();
  void OnShutdown();
  void OnRefreshStatus();
  void OnShowPictures();
  void OnVideoComplete();
  void OnSysCommand(WPARAM command);

  // Pages and playback (DlgVideoPages_win.cpp).
  void OnBtnVideo(LPARAM from);
  void OnBtnPic();
  void OnFLVPlay();
  void LoadPicturePage();
  void LoadStatusPage();
  void ShowPage(bool pictureHost, bool statusHost, bool videoWindow);
  void SelectTab(bool video);
  void ShowAndRaise();
  bool StartVideo();
  void StopVideoPlayback();
  void OnPlayClock();
  void OnStopButton();
  void OnPlayButton();
  void OnPauseButton();
  void OnMute();
  void ApplyVolume();
  void ShowPlayButton(bool play);
  void ToggleFullScreen();

  // Skin, layout and mouse (DlgVideoSkin_win.cpp).
  void CreateChildren();
  void Relayout();
  void Paint(HDC dc);
  void RedrawStatus();
  bool OnSetCursor();
  void OnLButtonDown(POINT p);
  void OnMouseMove(POINT p, WPARAM keys);
  void OnLButtonUp();
  void OnLButtonDblClk(POINT p, LPARAM raw);
  void OnProgressClick(int x);
  void OnVolumeClick(int x);
  void OnHold();
  void OnNormalSize();
  void OnLargeSize();
  void PlaceFromSettings();
  void RememberPlace();

  VideoDlgOptions m_options;
  std::string m_home, m_swfFolder, m_configPath;
  ResourcesFactory m_makeResources;
  std::unique_ptr<IVideoResources> m_resources;
  PlaybackFactory m_makePlayback;
  std::unique_ptr<IVideoPlayback> m_playback;
  PlayerSender m_sender;
  VideoDlgSettings m_settings;
  std::unique_ptr<SkinImages> m_skin;

  HWND m_hWnd = nullptr;
  HWND m_video = nullptr;
  HWND m_pictureHost = nullptr, m_statusHost = nullptr;
  std::unique_ptr<FlashHost> m_pictureFlash, m_statusFlash;
  HWND m_tooltip = nullptr;
  HWND m_btnVideo = nullptr, m_btnPic = nullptr, m_btnHold = nullptr, m_btnMinimize = nullptr,
       m_btnNormal = nullptr, m_btnLarge = nullptr, m_btnClose = nullptr, m_btnPlay = nullptr,
       m_btnPause = nullptr, m_btnStop = nullptr, m_btnMute = nullptr, m_btnMore = nullptr,
       m_btnFeedback = nullptr;

  // Window state. The downloads read the first two from their own thread.
  std::atomic<bool> m_bDlgShow{false};
  std::atomic<int> m_enumUserChoice{mv::choice_pic};
  int m_previousChoice = mv::choice_pic;
  bool m_videoPageActive = false;
  bool m_picturePageActive = false;
  bool m_videoPlaying = false;
  bool m_minimized = false;
  bool m_showVideoOnRestore = false;
  bool m_paused = false;
  bool m_userPaused = false;
  bool m_seekable = false;
  unsigned m_playSeconds = 0;
  unsigned m_durationSeconds = 0;
  bool m_closing = false;
  std::string m_statusText = kTextSearching;
  std::string m_pictureMovie, m_statusMovie;

  // Mouse.
  enum class Drag { None, Resize, Progress, Volume };
  Drag m_drag = Drag::None;
  ResizeZone m_resizeZone = ResizeZone::None;
  POINT m_dragStart{};
  SIZE m_sizeAtStart{};
  unsigned m_progressTarget = 0;

  // Full screen of the video window.
  bool m_fullScreen = false;
  RECT m_videoRect{};
};

}  // namespace clipview
