// The controller's construction, its reactions to the player's window
// events and what it offers its windows, dialogs and MV link.
#include "controller/Lyric.h"

#include <cstdarg>
#include <cstdio>
#include <fstream>

#include "controller/SongRules.h"
#include "controller/UsageEvents.h"
#include "shared/InstallHome.h"
#include "view/ResourceStatus.h"

namespace {
constexpr int kMaxMaybeWrongCount = 20;
constexpr unsigned kMenuSongMv = 32774;
constexpr unsigned kMenuArtistPictures = 32775;
constexpr unsigned kMiniSongMv = 32862;
}  // namespace

CLyric::CLyric(Parts parts, const PluginTimings& timings)
    : m_timings(timings),
      m_windows(std::move(parts.windows)),
      m_dialogs(std::move(parts.dialogs)),
      m_mv(std::move(parts.mv)),
      m_getResource(*this) {
  m_settings.LoadSettings();
  if (ReadInstallHome(m_home)) m_logPath = m_home + "\\log\\log_lyric.txt";
  m_settings.Modify([](zl::LyricSettings& s) {
    if (s.lyricMaybeWrong < kMaxMaybeWrongCount) ++s.lyricMaybeWrong;
  });
  m_windows->Attach(this);
  m_dialogs->Attach(this);
  m_mv->Attach(this);
  PostPluginEvent("StartUp", 0);
}

CLyric::~CLyric() {
  Quit();
  const FetchResult r = m_getResource.Current();
  if ((m_settings.Values().autofprecognise || m_updateTags.load()) && r.tui.bUpdate) {
    std::string last;
    {
      zl::Lock hold(m_songLock);
      last = m_lastSongPath;
    }
    WriteTags(last, r.tui);
  }
  m_settings.SaveSettings();
  // The parts go first: they may still call back while they close.
  m_mv.reset();
  m_dialogs.reset();
  m_windows.reset();
}

void CLyric::Log(const char* format, ...) const {
  if (m_logPath.empty()) return;
  char text[1024];
  va_list args;
  va_start(args, format);
  std::vsnprintf(text, sizeof text, format, args);
  va_end(args);
  LogWrite(m_logPath.c_str(), LOG_KEYINFO, "CLyric", "%s", text);
}

void CLyric::Trace(const char* name, bool wait) {
  if (m_traceEvents.load()) PostPluginEvent(name, wait ? m_timings.usageEventWaitMs : 0);
}

void CLyric::PostUsageEvent(const char* name, bool wait) {
  PostPluginEvent(name, wait ? m_timings.usageEventWaitMs : 0);
}

SongInfo CLyric::CurrentSong() const {
  zl::Lock hold(m_songLock);
  return m_song;
}

int CLyric::GetPlayPosition() {
  CPlayerQueryMessage* query = m_query.load();
  int position = 0;
  if (query) query->Query_PlayPosition(position);
  return position;
}

// ---- Player events -----------------------------------------------------------

void CLyric::OnPlay() {
  CPlayerQueryMessage* query = m_query.load();
  Log("OnPlay,%u,%d", static_cast<unsigned>(GetCurrentThreadId()),
      query ? static_cast<int>(query->Query_PlayerStatus()) : 0);
  if (m_view.Status() == LyricViewStatus::NotSupported) {
    Log("RESOURCE_NOT_SUPPORT");
    return;
  }
  m_flags.playerState.store(0);
  m_flags.stoppedByVideo.store(false);
  m_windows->RefreshPlayControls(0);
  if (m_stopped.load()) m_getResource.UpdateResourceStatus();
  if (m_flags.mvEnabled.load()) m_mv->SendStopMsg();
  m_stopped.store(false);
  Log("OnPlay--out");
}

void CLyric::OnPause() {
  Log("OnPause--in");
  m_flags.playerState.store(1);
  m_windows->RefreshPlayControls(1);
  Log("OnPause--out");
}

void CLyric::OnStop() {
  const unsigned id = static_cast<unsigned>(GetCurrentThreadId());
  Log("OnStop,%u,%d", id, m_flags.playerState.load());
  Log("OnStop,%u", id);
  m_flags.playerState.store(2);
  m_stopped.store(true);
  m_windows->RefreshPlayControls(2);
  m_view.SetStatus(LyricViewStatus::Idle);
  if (m_flags.stoppedByVideo.load())
    EmptyViewResourceForVideo(m_view);
  else
    EmptyViewResource(m_view);
  Log("OnStop--out");
}

void CLyric::OnWindowMinimize() {
  if (!m_control.load()) return;
  m_windows->ShowMiniWindow();
  m_settings.Modify([](zl::LyricSettings& s) { s.hasUsedMini = 1; });
  PostUsageEvent("ToMini", true);
  m_view.mini.store(1);
  m_windows->HideMainWindow();
}

void CLyric::OnWindowMaxmize() { OnWindowRestore(); }

void CLyric::OnWindowRestore() {
  if (!m_control.load()) return;
  m_windows->HideMiniWindow();
  PostUsageEvent("ToFull", true);
  m_view.mini.store(0);
  m_windows->ShowMainWindow();
}

void CLyric::OnPlayerWindowClose() {
  m_closing.store(true);
  if (m_flags.mvEnabled.load()) m_mv->SendCloseWindowMsg();
  m_windows->CloseMainWindow();
  ReleaseResource();
  PostUsageEvent("ShutDown", true);
}

void CLyric::OnSkinChanged(const char* skinName) { m_windows->OnSkinChanged(skinName ? skinName : ""); }

void CLyric::AttachEventSource(CPlayerEventSource* source) {
  CPlayerEventSource* old = m_source.exchange(source);
  if (old && old != source) old->RemoveListener(this);
  if (source && source != old) source->AddListener(this);
}

void CLyric::SetPlayerControl(CPlayerControlMessage* control) { m_control.store(control); }
void CLyric::SetPlayerQuery(CPlayerQueryMessage* query) { m_query.store(query); }

void CLyric::SetWebMode(int mode) {
  if (mode == 0) {
    m_flags.webMode.store(true);
  } else if (mode == 1) {
    m_flags.webMode.store(false);
  } else if (mode == 2) {
    if (m_windows->HasMainWindow()) m_windows->HideMainWindow();
    m_mv->SendHideVideoMsg();
  }
}

// ---- From the lyric windows -------------------------------------------------

void CLyric::OnTimerPaint(HWND window) {
  SongInfo song = CurrentSong();
  const bool hasSong = song.path[0] != '\0';
  m_view.ApplyDelayedWelcome(GetTickCount(), hasSong ? song.artist : nullptr, hasSong ? song.title : nullptr);
  std::unique_lock hold(m_view.DrawLock());
  if (!m_closing.load()) m_windows->PaintLyric(window);
}

void CLyric::OnTimer(HWND window, UINT_PTR id) {
  if (id == lyricwin::kMvPrefetchTimer) {
    m_windows->KillMainTimer(id);
    m_flags.prefetchAllowed.store(true);
    Log("flv play timer,预取开始");
  } else if (id == lyricwin::kWheelConfirmTimer) {
    m_dialogs->OnWheelConfirmTimer(window);
  }
}

void CLyric::OnCommand(HWND window, unsigned id) {
  CPlayerControlMessage* control = m_control.load();
  switch (id) {
    case lyricwin::kCommandStopPlayer:
      if (control) control->Control_Stop();
      return;
    case lyricwin::kCommandPlayPlayer:
      if (control) control->Control_Play_Start();
      return;
    case kMenuSongMv:
    case kMiniSongMv:
      m_flags.mvEnabled.store(true);
      m_mv->ShowVideoWindow(0);
      return;
    case kMenuArtistPictures:
      m_flags.mvEnabled.store(true);
      m_mv->ShowVideoWindow(1);
      return;
    default:
      m_dialogs->OnCommand(window, id);
  }
}

void CLyric::OnMouseWheel(HWND window, WPARAM wParam) { m_dialogs->OnMouseWheel(window, wParam); }

void CLyric::OnRButtonUp(HWND window, POINT client) {
  POINT screen = client;
  ClientToScreen(window, &screen);
  m_dialogs->ShowContextMenu(window, screen);
}

void CLyric::OnMessageClick(int code) {
  if (code == 2) {
    if (CPlayerControlMessage* control = m_control.load()) control->Control_SetWindowMinimize();
    m_settings.Modify([](zl::LyricSettings& s) { s.hasUsedMini = 1; });
    return;
  }
  m_dialogs->OnMessageClick(code);
}

void CLyric::OnStripClick(int kind) {
  if (kind == kStripMv || kind == kStripArtistPhotos) {
    m_flags.mvEnabled.store(true);
    m_mv->ShowVideoWindow(kind == kStripMv ? 0 : 1);
    return;
  }
  const LyricTagInfo tags = m_view.TagInfo();
  if (kind == kStripRingBackTone) OpenAdvertPage(tags.title, tags.artist, tags.album);
  if (kind == kStripStarNews) OpenStarPage(tags.title, tags.artist, tags.album);
}

// ---- From the MV link ---------------------------------------------------------

bool CLyric::StartGetP2PResource() { return m_getResource.StartGetP2PResource(); }
void CLyric::UpdateResourceStatus() { m_getResource.UpdateResourceStatus(); }
void CLyric::EmptyResourceForVideo() { EmptyViewResourceForVideo(m_view); }

void CLyric::OnMvStarted(bool video) {
  const FetchResult r = m_getResource.Current();
  const std::string text = MvEventText(r.content.artist, r.content.title);
  if (video)
    PostPluginMessage("MTV", text, m_timings.usageEventWaitMs);
  else
    PostPluginMessage("FLASH", "O:<" + text + ">", m_timings.usageEventWaitMs);
}

// ---- The recognition result ---------------------------------------------------

tagUpdateInfo CLyric::RecognitionAdvice(bool& foundList) {
  const FetchResult r = m_getResource.Current();
  foundList = r.type == RESULT_TYPE_LIST && !r.list.empty();
  return r.tui;
}

void CLyric::AnswerRecognition(bool writeTags, const tagUpdateInfo& names) {
  m_getResource.SetRecognisedNames(names);
  m_updateTags.store(writeTags);
}

// ---- Tags ----------------------------------------------------------------------

void CLyric::WriteTags(const std::string& songPath, const tagUpdateInfo& tui) {
  if (songPath.empty() || m_home.empty()) return;
  char host[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, host, sizeof host);
  const std::string handOver = TagHandOverPath(m_home, host);
  CreateDirectoryA((m_home + "\\update").c_str(), nullptr);
  {
    std::ofstream out(handOver, std::ios::binary | std::ios::trunc);
    out << TagHandOverBytes(tui.recTitle, tui.recArtist, tui.recAlbum);
    if (!out) return;
  }
  zl::UniqueHandle tool(RunProgramHidden(TagToolCommand(handOver, songPath).c_str(), m_home.c_str(), false));
}
