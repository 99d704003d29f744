// CDlgVideoMain: creation, the dialog procedure, the plug-in's requests,
// the private messages and timers, minimise and restore, shutdown.
#include "window/DlgVideoMain_win.h"

#include <cstdarg>
#include <cstdio>

#include "FlashHost_win.h"
#include "SkinButton_win.h"
#include "shared/InstallHome.h"

namespace clipview {
namespace {

constexpr char kTag[] = "CDlgVideoMain";
constexpr char kReceiveTag[] = "Recieve MSG";
constexpr char kDefaultHome[] = "c:\\program files\\ambrel\\lyric";

}  // namespace

CDlgVideoMain::CDlgVideoMain(VideoDlgOptions options, ResourcesFactory makeResources, PlaybackFactory makePlayback)
    : m_options(std::move(options)),
      m_home(m_options.home.empty() ? kDefaultHome : m_options.home),
      m_swfFolder(SwfFolder(m_options.home)),
      m_configPath(m_home + "\\config\\VideoDlgConfig.ini"),
      m_makeResources(std::move(makeResources)),
      m_makePlayback(std::move(makePlayback)),
      m_sender(m_options.commandLine, m_options.logPath) {}

CDlgVideoMain::~CDlgVideoMain() {
  m_pictureFlash.reset();
  m_statusFlash.reset();
  if (m_hWnd) DestroyWindow(m_hWnd);
  // The downloads may still report into the window while they stop.
  m_resources.reset();
  m_playback.reset();
}

std::string CDlgVideoMain::SwfFolder(const std::string& home) {
  return (home.empty() ? std::string(kDefaultHome) : home) + "\\swf\\";
}

void CDlgVideoMain::Log(const char* format, ...) const {
  char text[1024];
  va_list args;
  va_start(args, format);
  std::vsnprintf(text, sizeof text, format, args);
  va_end(args);
  LogWrite(m_options.logPath.c_str(), LOG_KEYINFO, kTag, "%s", text);
}

HWND CDlgVideoMain::Create(HINSTANCE instance) {
  m_settings = LoadVideoDlgSettings(m_configPath);
  m_skin = std::make_unique<SkinImages>(m_home + m_settings.facePath);
  m_hWnd = CreateDialogParamA(instance, MAKEINTRESOURCEA(IDD_VIDEO_MAIN), nullptr, DialogProc,
                              reinterpret_cast<LPARAM>(this));
  if (!m_hWnd) Log("the dialog cannot be created (%lu)", GetLastError());
  return m_hWnd;
}

VideoDlgState CDlgVideoMain::State() const {
  VideoDlgState s;
  s.dlgShow = m_bDlgShow.load();
  s.userChoice = m_enumUserChoice.load();
  s.previousChoice = m_previousChoice;
  s.videoPageActive = m_videoPageActive;
  s.picturePageActive = m_picturePageActive;
  s.videoPlaying = m_videoPlaying;
  s.minimized = m_minimized;
  s.showVideoOnRestore = m_showVideoOnRestore;
  s.paused = m_paused;
  s.userPaused = m_userPaused;
  s.seekable = m_seekable;
  s.playSeconds = m_playSeconds;
  s.durationSeconds = m_durationSeconds;
  s.muted = m_settings.mute;
  s.fullScreen = m_fullScreen;
  s.statusText = m_statusText;
  s.pictureMovie = m_pictureMovie;
  s.statusMovie = m_statusMovie;
  s.pictureHostVisible = m_pictureHost && IsWindowVisible(m_pictureHost);
  s.statusHostVisible = m_statusHost && IsWindowVisible(m_statusHost);
  s.videoWindowVisible = m_video && IsWindowVisible(m_video);
  s.playShown = m_btnPlay && IsWindowVisible(m_btnPlay);
  s.pauseShown = m_btnPause && IsWindowVisible(m_btnPause);
  return s;
}

INT_PTR CALLBACK CDlgVideoMain::DialogProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_INITDIALOG) {
    SetWindowLongPtrA(window, DWLP_USER, lParam);
    auto* self = reinterpret_cast<CDlgVideoMain*>(lParam);
    self->m_hWnd = window;
    self->OnInitDialog();
    return FALSE;
  }
  auto* self = reinterpret_cast<CDlgVideoMain*>(GetWindowLongPtrA(window, DWLP_USER));
  if (!self) return FALSE;
  return self->OnMessage(msg, wParam, lParam);
}

void CDlgVideoMain::OnInitDialog() {
  SetWindowTextA(m_hWnd, m_options.commandLine.c_str());
  m_resources = m_makeResources(m_hWnd, *this);
  m_playback = m_makePlayback(*this);
  CreateChildren();
  PlaceFromSettings();
  if (m_settings.hold) SetWindowPos(m_hWnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  SetTimer(m_hWnd, ID_TIMER_TRIM_MEMORY, m_options.trimMs, nullptr);
  Log("OnInitDialog: %s", m_options.commandLine.c_str());
}

INT_PTR CDlgVideoMain::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_COPYDATA:
      if (lParam) OnCopyData(*reinterpret_cast<const COPYDATASTRUCT*>(lParam));
      SetWindowLongPtrA(m_hWnd, DWLP_MSGRESULT, 0);
      return TRUE;
    case WM_COMMAND:
      OnCommand(LOWORD(wParam), lParam);
      return TRUE;
    case WM_TIMER:
      OnTimer(wParam);
      return TRUE;
    case WM_REFRESH_STATUS:
      OnRefreshStatus();
      return TRUE;
    case WM_SHOW_PICTURES:
      OnShowPictures();
      return TRUE;
    case WM_VIDEO_COMPLETE:
      OnVideoComplete();
      return TRUE;
    case WM_FLV_PLAY:
      OnFLVPlay();
      return TRUE;
    case WM_CODEC_READY:
      if (m_videoPageActive) PostMessageA(m_hWnd, WM_COMMAND, IDC_BTN_VIDEO, kVideoRetry);
      return TRUE;
    case WM_SYSCOMMAND:
      OnSysCommand(wParam);
      return FALSE;  // the system still minimises and restores
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(m_hWnd, &ps);
      Paint(dc);
      EndPaint(m_hWnd, &ps);
      return TRUE;
    }
    case WM_ERASEBKGND:
      SetWindowLongPtrA(m_hWnd, DWLP_MSGRESULT, 1);
      return TRUE;
    case WM_SIZE:
      Relayout();
      return TRUE;
    case WM_GETMINMAXINFO: {
      auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
      info->ptMinTrackSize = POINT{m_settings.minWidth, m_settings.minHeight};
      return TRUE;
    }
    case WM_SETCURSOR:
      if (reinterpret_cast<HWND>(wParam) == m_hWnd && OnSetCursor()) {
        SetWindowLongPtrA(m_hWnd, DWLP_MSGRESULT, TRUE);
        return TRUE;
      }
      return FALSE;
    case WM_LBUTTONDOWN:
      OnLButtonDown(POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))});
      return TRUE;
    case WM_MOUSEMOVE:
      OnMouseMove(POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))}, wParam);
      return TRUE;
    case WM_LBUTTONUP:
      OnLButtonUp();
      return TRUE;
    case WM_LBUTTONDBLCLK:
      OnLButtonDblClk(POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))}, lParam);
      return TRUE;
    case WM_CLOSE:
      OnCommand(IDC_BTN_CLOSE, 0);
      return TRUE;
    case WM_DESTROY:
      KillTimer(m_hWnd, ID_TIMER_FLV_PLAY);
      KillTimer(m_hWnd, ID_TIMER_TRIM_MEMORY);
      if (m_options.endsProgram) PostQuitMessage(0);
      return TRUE;
    case WM_NCDESTROY:
      m_hWnd = nullptr;
      return FALSE;
  }
  return FALSE;
}

void CDlgVideoMain::OnCopyData(const COPYDATASTRUCT& data) {
  LogWrite(m_options.logPath.c_str(), LOG_KEYINFO, kReceiveTag, "%s", mv::ClipViewMessageName(data.dwData));
  if (m_closing) return;
  const mv::ClipViewMessage m = mv::DecodeClipViewMessage(data.dwData, data.lpData, data.cbData);
  if (m.ignored) {
    LogWrite(m_options.logPath.c_str(), LOG_KEYINFO, kReceiveTag, "ignored: code %lu with %lu bytes",
             static_cast<unsigned long>(data.dwData), static_cast<unsigned long>(data.cbData));
    return;
  }
  switch (m.code) {
    case mv::WM_DOWNLOAD:
      m_resources->OnDownload(m.request, m_enumUserChoice);
      PostMessageA(m_hWnd, WM_REFRESH_STATUS, 0, 0);
      break;
    case mv::WM_PRE_DOWNLOAD:
      m_resources->OnPreDownload(m.request);
      break;
    case mv::WM_STOP_DOWNLOAD:
      m_resources->OnStopDownload();
      break;
    case mv::WM_STOP_PRE_DOWNLOAD:
      m_resources->OnStopPreDownload();
      break;
    case mv::WM_PLAY:
      OnPlayMsg(m.video);
      break;
    case mv::WM_STOP:
      OnStopMsg();
      break;
    case mv::WM_START_NEW_SONG:
      OnStartNewSong();
      break;
    case mv::WM_CLOSEWINDOW:
      PostMessageA(m_hWnd, WM_COMMAND, IDOK, 0);
      break;
    case mv::WM_HIDE_WINDOW:
      PostMessageA(m_hWnd, WM_COMMAND, IDC_BTN_CLOSE, 0);
      break;
    case mv::WM_KEEP_ALIVE:
      break;
  }
}

void CDlgVideoMain::OnCommand(unsigned id, LPARAM lParam) {
  switch (id) {
    case IDOK:
      OnShutdown();
      break;
    case IDC_BTN_STOP:
      OnStopButton();
      break;
    case IDC_BTN_VIDEO:
      OnBtnVideo(lParam == kVideoFromPlay || lParam == kVideoRetry ? lParam : 0);
      break;
    case IDC_BTN_PIC:
      OnBtnPic();
      break;
    case IDC_BTN_CLOSE:
      OnHide();
      break;
    case IDC_BTN_MINIMIZE:
      SendMessageA(m_hWnd, WM_SYSCOMMAND, SC_MINIMIZE, 0);
      break;
    case IDC_BTN_HOLD:
      OnHold();
      break;
    case IDC_BTN_MORE:
      OpenBrowserPageAsync(m_options.moreUrl.c_str());
      break;
    case IDC_BTN_FEEDBACK:
      OpenBrowserPageAsync(m_options.feedbackUrl.c_str());
      break;
    case IDC_BTN_PLAY:
      OnPlayButton();
      break;
    case IDC_BTN_MUTE:
      OnMute();
      break;
    case IDC_BTN_NORMAL:
      OnNormalSize();
      break;
    case IDC_BTN_LARGE:
      OnLargeSize();
      break;
    case IDC_BTN_PAUSE:
      OnPauseButton();
      break;
    default:
      break;
  }
}

void CDlgVideoMain::OnTimer(UINT_PTR id) {
  switch (id) {
    case ID_TIMER_FLV_PROGRESS:
    case ID_TIMER_SWF_PROGRESS:
    case ID_TIMER_FLV_CODEC_PROGRESS:
      m_resources->OnTimer(id);
      break;
    case ID_TIMER_FLV_PLAY:
      OnPlayClock();
      break;
    case ID_TIMER_TRIM_MEMORY:
      SetProcessWorkingSetSize(GetCurrentProcess(), static_cast<SIZE_T>(-1), static_cast<SIZE_T>(-1));
      break;
    default:
      break;
  }
}

// ---- The plug-in's requests ----------------------------------------------------------

void CDlgVideoMain::OnPlayMsg(bool video) {
  m_enumUserChoice = video ? mv::choice_video : mv::choice_pic;
  m_resources->OnPlay(video);
  if (!video) {
    if (!m_bDlgShow) ShowAndRaise();
    ShowPage(true, false, false);
    LoadPicturePage();
    SelectTab(false);
  } else if (!m_resources->HasVideo() && m_settings.noVideoShows < kMaxNoVideoFallbacks) {
    ++m_settings.noVideoShows;
    Log("NO mv,need change to pic");
    ShowPage(true, false, false);
    LoadPicturePage();
    SelectTab(false);
    ShowAndRaise();
  } else {
    ShowPage(false, true, false);
    SelectTab(true);
    LoadStatusPage();
    m_bDlgShow = true;
    PostMessageA(m_hWnd, WM_COMMAND, IDC_BTN_VIDEO, kVideoFromPlay);
  }
  m_sender.SendUserChoiceMsg(m_enumUserChoice);
}

void CDlgVideoMain::OnStopMsg() {
  if (m_enumUserChoice != mv::choice_video || !m_bDlgShow || !m_resources->CanPlay()) return;
  m_sender.SendStopPlayerMsg();
  if (m_resources->Video().status == kStatusFinished) {
    m_playback->SetPosition(0);
    m_playSeconds = 0;
    SetTimer(m_hWnd, ID_TIMER_FLV_PLAY, m_options.playClockMs, nullptr);
  }
}

void CDlgVideoMain::OnStartNewSong() {
  m_previousChoice = m_enumUserChoice;
  if (m_enumUserChoice == mv::choice_video) {
    SelectTab(true);
    ShowPage(false, true, false);
  }
  StopVideoPlayback();
  m_playSeconds = 0;
  m_durationSeconds = 0;
  m_seekable = false;
  m_paused = false;
  m_userPaused = false;
  m_statusText = kTextSearching;
  RedrawStatus();
  m_resources->OnStartNewSong();
  if (m_videoPageActive) LoadStatusPage();
}

void CDlgVideoMain::OnHide() {
  ShowWindow(m_hWnd, SW_MINIMIZE);
  m_bDlgShow = false;
  ShowWindow(m_hWnd, SW_HIDE);
  m_sender.SendPlayerPlayMsg();
  m_sender.SendUserChoiceMsg(mv::choice_pic);
  StopVideoPlayback();
}

void CDlgVideoMain::OnShutdown() {
  if (m_closing) return;
  m_closing = true;  // no more messages of the plug-in or the P2P server
  Log("Shutdown");
  RememberPlace();
  SaveVideoDlgSettings(m_configPath, m_settings);
  m_resources->Shutdown();
  if (m_videoPlaying && m_resources->Video().status == kStatusFinished) m_playback->Stop();
  StopVideoPlayback();
  m_pictureFlash.reset();
  m_statusFlash.reset();
  DestroyWindow(m_hWnd);
}

void CDlgVideoMain::OnRefreshStatus() {
  m_statusText = m_resources->StatusText();
  if (m_videoPageActive) {
    RedrawStatus();
    LoadStatusPage();
  }
  if (IsFailedStatus(m_resources->Video().status)) {
    StopVideoPlayback();
    ShowWindow(m_video, SW_HIDE);
    if (m_videoPageActive) ShowWindow(m_statusHost, SW_SHOW);
  }
}

void CDlgVideoMain::OnShowPictures() {
  if (!m_videoPageActive) LoadPicturePage();
}

void CDlgVideoMain::OnVideoComplete() {
  KillTimer(m_hWnd, ID_TIMER_FLV_PLAY);
  m_sender.SendSongCompleteMsg();
}

void CDlgVideoMain::OnSysCommand(WPARAM command) {
  switch (command & 0xFFF0) {
    case SC_MINIMIZE:
      m_minimized = true;
      Log("Window is minimized");
      break;
    case SC_RESTORE:
      m_minimized = false;
      Log("Window is restored");
      if (m_showVideoOnRestore && m_videoPageActive) {
        m_showVideoOnRestore = false;
        Log("Need Show MV");
        PostMessageA(m_hWnd, WM_COMMAND, IDC_BTN_VIDEO, kVideoRetry);
      }
      break;
    default:
      break;
  }
}

// ---- The playback's host face --------------------------------------------------------

bool CDlgVideoMain::VideoDownloading(uint32_t& totalSize) {
  const P2PResource video = m_resources->Video();
  totalSize = video.totalSize;
  return video.status == kStatusDownloading;
}

void CDlgVideoMain::PlaybackStarted() {
  m_videoPlaying = true;
  m_playSeconds = 0;
  m_durationSeconds = m_playback->DurationSeconds();
  m_seekable = m_playback->Seekable();
  m_paused = false;
  m_userPaused = false;
  SetTimer(m_hWnd, ID_TIMER_FLV_PLAY, m_options.playClockMs, nullptr);
  ShowPlayButton(false);
  EnableWindow(m_btnPlay, TRUE);
  EnableWindow(m_btnStop, TRUE);
  ApplyVolume();
  RedrawStatus();
}

void CDlgVideoMain::PlaybackFailed() {
  m_videoPlaying = false;
  m_statusText = "播放文件失败...";
  m_resources->NotifyFlvPlayFailed();
  RedrawStatus();
}

}  // namespace clipview
