#pragma once
// CLyric, the lyric controller (Winamp variant): it follows the player's
// events, runs each song's change-song, fetch and pre-fetch threads, and
// owns the settings store, the lyric view state, the lyric windows, the
// dialogs and the MV link.
//
// Threads: OnChangeSong and OnPlay arrive on the song-check thread; OnStop,
// the window events and everything from the lyric windows on the player's
// UI thread. Each song has a change-song, a fetch and a pre-fetch thread.
// Flags are atomic; the song record, the engines and the threads are
// guarded by the controller's locks. Quit() (UI thread) stops every thread
// of the controller before the player object goes; the destructor runs on
// the UI thread after it.
#include <windows.h>

#include <atomic>
#include <memory>
#include <string>

#include "controller/ControllerStats.h"
#include "controller/GetResource.h"
#include "controller/LyricController.h"
#include "controller/LyricDialogs.h"
#include "controller/LyricWindows.h"
#include "controller/MvLink.h"
#include "controller/PluginTimings.h"
#include "player/PlayerListener.h"
#include "player/SongInfo.h"
#include "settings/SettingsStore.h"
#include "shared/BoundedWorker.h"
#include "shared/CriticalSection.h"
#include "shared/Logger.h"
#include "shared/Ownership.h"
#include "view/LyricViewState.h"

class CLyric : public CPlayerListener, public ILyricController {
 public:
  struct Parts {
    std::unique_ptr<ILyricWindows> windows;
    std::unique_ptr<ILyricDialogs> dialogs;
    std::unique_ptr<IMvLink> mv;
  };

  // On the UI thread. Loads the settings, reads the home, posts "StartUp".
  CLyric(Parts parts, const PluginTimings& timings);
  ~CLyric() override;
  CLyric(const CLyric&) = delete;
  CLyric& operator=(const CLyric&) = delete;

  // The plug-in is quitting: no song change starts anything from now on.
  void BeginQuit() { m_quitting.store(true); }
  // Stops every thread of the controller (bounded) and releases the song.
  void Quit();

  // ---- Player events (CPlayerListener) ----------------------------------
  void OnPlay() override;
  void OnPause() override;
  void OnStop() override;
  void OnChangeSong() override;
  void OnWindowMinimize() override;
  void OnWindowMaxmize() override;
  void OnWindowRestore() override;
  void OnPlayerWindowClose() override;
  void OnSkinChanged(const char* skinName) override;
  void AttachEventSource(CPlayerEventSource* source) override;
  void SetPlayerControl(CPlayerControlMessage* control) override;
  void SetPlayerQuery(CPlayerQueryMessage* query) override;

  // 0 sets web mode, 1 clears it, 2 hides the lyric and video windows.
  void SetWebMode(int mode);

  // ---- ILyricController ---------------------------------------------------
  LyricViewState& View() override { return m_view; }
  SettingsStore& Settings() override { return m_settings; }
  MvLinkFlags& Flags() override { return m_flags; }
  const std::string& Home() const override { return m_home; }
  const char* LogPath() const override { return m_logPath.c_str(); }
  bool Closing() const override { return m_closing.load(); }
  CPlayerControlMessage* PlayerControl() override { return m_control.load(); }
  CPlayerQueryMessage* PlayerQuery() override { return m_query.load(); }
  int GetPlayPosition() override;
  void OnTimerPaint(HWND window) override;
  void OnTimer(HWND window, UINT_PTR id) override;
  void OnCommand(HWND window, unsigned id) override;
  void OnMouseWheel(HWND window, WPARAM wParam) override;
  void OnRButtonUp(HWND window, POINT client) override;
  void OnMessageClick(int code) override;
  void OnStripClick(int kind) override;
  std::shared_ptr<ZLyric> CurrentEngine() override;
  void UseUserChoice(const SearchItem& item) override;
  void ReloadLyric() override;
  tagUpdateInfo RecognitionAdvice(bool& foundList) override;
  void AnswerRecognition(bool writeTags, const tagUpdateInfo& names) override;
  bool StartGetP2PResource() override;
  void UpdateResourceStatus() override;
  void EmptyResourceForVideo() override;
  void OnMvStarted(bool video) override;
  bool ViewOffersMv() const override { return m_view.mvItem.load() != 0; }
  bool ViewOffersPictures() const override { return m_view.photosItem.load() != 0; }
  void PostUsageEvent(const char* name, bool wait) override;

  ILyricWindows& Windows() override { return *m_windows; }
  ILyricDialogs& Dialogs() override { return *m_dialogs; }
  IMvLink& MvLink() override { return *m_mv; }

  // ---- For the plug-in shell and tests --------------------------------------
  // One round of the pre-fetch wait, on the song-check thread: once the song
  // is near its end (or the MV link allowed it), the pre-fetch thread starts.
  // The wait has no thread of its own; a thread waiting out every song
  // would cost the player a stack for nothing.
  void PollPreFetch();
  const ControllerStats& Stats() const { return m_stats; }
  const PluginTimings& Timings() const { return m_timings; }
  // The song being fetched.
  SongInfo CurrentSong() const;

 private:
  friend class GetResource;

  // One song's change-song thread and the event that asks it to stop.
  struct ChangeSongJob;
  // One fetch or pre-fetch: its engine and whether it was asked to stop.
  // A pre-fetch also keeps the song's duration and whether its thread was
  // started (it waits for its time without one).
  struct FetchJob {
    std::shared_ptr<ZLyric> engine;
    std::atomic<bool> cancelled{false};
    int durationMs = 0;
    bool started = false;  // under m_threadLock
  };

  void Log(const char* format, ...) const ZL_PRINTF_LIKE(2, 3);
  void Trace(const char* name, bool wait);
  bool IsSupported(const std::string& path) const;

  void StopChangeSongThread();
  void RunChangeSong(std::shared_ptr<ChangeSongJob> job, SongInfo song, bool supported);
  void StartGetResource(const SongInfo& song, std::shared_ptr<ZLyric> engine);
  void RunFetch(std::shared_ptr<FetchJob> job, SongInfo song);
  void StartPreGetResource(const SongInfo& song);
  void RunPreFetch(std::shared_ptr<FetchJob> job);
  void StopGetResource();
  // Stops the running fetch so a user's choice or reload can use its engine;
  // null when there is none or its thread could not be ended.
  std::shared_ptr<FetchJob> StopFetchForUserAction();
  void StopPreGetResource();
  void ReleaseResource();
  void ResumePlayerAfterVideo();
  void WriteTags(const std::string& songPath, const tagUpdateInfo& tui);

  const PluginTimings m_timings;
  std::string m_home;
  std::string m_logPath;
  SettingsStore m_settings;
  LyricViewState m_view;
  MvLinkFlags m_flags;
  ControllerStats m_stats;
  std::unique_ptr<ILyricWindows> m_windows;
  std::unique_ptr<ILyricDialogs> m_dialogs;
  std::unique_ptr<IMvLink> m_mv;
  GetResource m_getResource;

  std::atomic<CPlayerControlMessage*> m_control{nullptr};
  std::atomic<CPlayerQueryMessage*> m_query{nullptr};
  std::atomic<CPlayerEventSource*> m_source{nullptr};

  std::atomic<bool> m_closing{false};
  std::atomic<bool> m_quitting{false};
  std::atomic<bool> m_stopped{false};
  std::atomic<bool> m_updateTags{false};  // the recognition-result dialog's answer
  std::atomic<bool> m_traceEvents{false};
  std::atomic<int> m_durationMs{180000};

  // The sentence the view last stood at, logged as it changes (UI thread,
  // under the draw lock); the position the last repaint asked for.
  void NoteShownLine(const SongInfo& song);
  std::atomic<int> m_lastPosition{0};
  std::string m_shownSong;
  int m_shownLine = 0;

  mutable zl::CriticalSection m_songLock;  // m_song, m_lastSongPath
  SongInfo m_song{};
  std::string m_lastSongPath;

  // Starting and stopping the song's threads; never held while waiting.
  mutable zl::CriticalSection m_threadLock;
  zl::BoundedWorker m_changeSongWorker;
  std::shared_ptr<ChangeSongJob> m_changeSongJob;
  zl::BoundedWorker m_fetchWorker;
  std::shared_ptr<FetchJob> m_fetchJob;
  zl::BoundedWorker m_prefetchWorker;
  std::shared_ptr<FetchJob> m_prefetchJob;
};
