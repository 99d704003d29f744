#pragma once
// A lyric controller as the MV link sees it, recording what the link asks
// of it and of the player.
#include <windows.h>

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "controller/LyricController.h"
#include "controller/LyricDialogs.h"
#include "controller/LyricWindows.h"
#include "controller/MvLink.h"
#include "settings/SettingsStore.h"
#include "view/LyricViewState.h"

namespace mvlinktest {

class FakePlayer : public CPlayerControlMessage, public CPlayerQueryMessage {
 public:
  std::atomic<int> playing{1};
  std::atomic<long> status{0};

  std::vector<std::string> Calls() const {
    std::lock_guard<std::mutex> hold(m_lock);
    return m_calls;
  }
  int Count(const std::string& call) const;

  PlayerResult Control_CanPlay(int& canPlay) override { canPlay = 1; return kPlayerOk; }
  PlayerResult Control_Play() override { return Note("Control_Play"); }
  PlayerResult Control_Play_Start() override { return Note("Control_Play_Start"); }
  PlayerResult Control_Pause() override { return Note("Control_Pause"); }
  PlayerResult Control_IsPlaying(int& p) override {
    p = playing.load();
    return kPlayerOk;
  }
  PlayerResult Control_Stop() override { return Note("Control_Stop"); }
  PlayerResult Control_Close() override { return Note("Control_Close"); }
  PlayerResult Control_NextSong() override { return Note("Control_NextSong"); }
  PlayerResult Control_PreviousSong() override { return Note("Control_PreviousSong"); }
  PlayerResult Control_SetSongTime(int) override { return kPlayerOk; }
  PlayerResult Control_SetWindowMinimize() override { return kPlayerOk; }
  PlayerResult Control_Reserved() override { return kPlayerOk; }
  PlayerResult Control_SetWindowRestore() override { return kPlayerOk; }
  PlayerResult Control_AddToPlayList(const std::vector<std::string>&) override { return kPlayerOk; }
  PlayerResult Query_SongInfo(SongInfo&) override { return kPlayerFail; }
  PlayerResult Query_NextSongInfo(SongInfo&) override { return kPlayerFail; }
  PlayerResult Query_SongListInfo(std::vector<std::string>&) override { return kPlayerOk; }
  PlayerResult Query_PlayPosition(int& p) override {
    p = 0;
    return kPlayerOk;
  }
  PlayerResult Query_Reserved1() override { return kPlayerNotImpl; }
  PlayerResult Query_Reserved2() override { return kPlayerNotImpl; }
  PlayerResult Query_Reserved3() override { return kPlayerNotImpl; }
  PlayerResult Query_PlayerStatus() override { return status.load(); }

 private:
  PlayerResult Note(const char* call) {
    std::lock_guard<std::mutex> hold(m_lock);
    m_calls.emplace_back(call);
    return kPlayerOk;
  }
  mutable std::mutex m_lock;
  std::vector<std::string> m_calls;
};

// The lyric windows as the MV link sees them: a main window for timer 3000
// and the mini window (host name + "Mini") that hands the link its messages
// and runs the heartbeat timer, both on a thread of their own (the "user
// interface" of these tests).
class FakeWindows : public ILyricWindows {
 public:
  FakeWindows(const std::string& miniTitle, UINT heartbeatMs);  // 0: no heartbeat
  ~FakeWindows() override;
  std::atomic<int> prefetchArmed{0}, prefetchKilled{0};

  void Attach(ILyricController* controller) override { m_owner = controller; }
  bool EnsureMainWindow() override { return true; }
  bool HasMainWindow() const override { return true; }
  HWND MainWindow() const override { return m_main.load(); }
  HWND MiniWindow() const override { return m_mini.load(); }
  void ShowMainWindow() override {}
  void HideMainWindow() override {}
  void ShowMiniWindow() override {}
  void HideMiniWindow() override {}
  bool MiniWindowShown() const override { return false; }
  void CloseMainWindow() override {}
  void PostMainCommand(unsigned) override {}
  void SetMainTimer(UINT_PTR id, UINT ms) override;
  void KillMainTimer(UINT_PTR id) override;
  void RefreshPlayControls(int) override {}
  void PaintLyric(HWND) override {}
  void OnSkinChanged(const char*) override {}
  void OnPlayerWindowMessage(PlayerWindowKind, HWND, UINT, WPARAM, LPARAM) override {}

 private:
  static LRESULT CALLBACK Proc(HWND, UINT, WPARAM, LPARAM);
  ILyricController* m_owner = nullptr;
  std::atomic<HWND> m_main{nullptr}, m_mini{nullptr};
  std::atomic<DWORD> m_threadId{0};
  std::thread m_thread;
};

class FakeDialogs : public ILyricDialogs {
 public:
  void Attach(ILyricController*) override {}
  void SetEngine(std::shared_ptr<ZLyric>) override {}
  int SelectLyric(const std::vector<SearchItem>&, std::string&) override { return -1; }
  void CancelSelectLyric() override {}
  void CloseSongDialogs() override {}
  void CancelConfirmations() override {}
  void ShowContextMenu(HWND, POINT) override {}
  void OnCommand(HWND, unsigned) override {}
  void ShowSettingsDialog(SettingsPage) override {}
  void OnMessageClick(int) override {}
  void OnMouseWheel(HWND, WPARAM) override {}
  void OnWheelConfirmTimer(HWND) override {}
};

class FakeController : public ILyricController {
 public:
  explicit FakeController(std::string home) : m_home(std::move(home)), m_log(m_home + "\\log\\mvlink.txt") {}

  // The parts the link reaches through the controller; set by the test.
  std::unique_ptr<FakeWindows> windows;
  IMvLink* link = nullptr;
  FakeDialogs dialogs;

  FakePlayer player;
  std::atomic<bool> attached{true};  // the player control is attached
  std::atomic<int> startP2PCalls{0}, updateCalls{0}, emptyForVideoCalls{0}, videoStarted{0}, picturesStarted{0};
  // What StartGetP2PResource does (the real controller sends WM_DOWNLOAD).
  std::function<bool()> onStartP2P;

  LyricViewState& View() override { return m_view; }
  SettingsStore& Settings() override { return m_settings; }
  MvLinkFlags& Flags() override { return m_flags; }
  const std::string& Home() const override { return m_home; }
  const char* LogPath() const override { return m_log.c_str(); }
  bool Closing() const override { return false; }
  ILyricWindows& Windows() override { return *windows; }
  ILyricDialogs& Dialogs() override { return dialogs; }
  IMvLink& MvLink() override { return *link; }
  CPlayerControlMessage* PlayerControl() override { return attached ? &player : nullptr; }
  CPlayerQueryMessage* PlayerQuery() override { return attached ? &player : nullptr; }
  int GetPlayPosition() override { return 0; }
  void OnTimerPaint(HWND) override {}
  // As the controller does with timer 3000.
  void OnTimer(HWND, UINT_PTR id) override {
    if (id != lyricwin::kMvPrefetchTimer) return;
    windows->KillMainTimer(id);
    m_flags.prefetchAllowed.store(true);
  }
  void OnCommand(HWND, unsigned id) override {
    if (id == 203) player.Control_Stop();
  }
  void OnMouseWheel(HWND, WPARAM) override {}
  void OnRButtonUp(HWND, POINT) override {}
  void OnMessageClick(int) override {}
  void OnStripClick(int) override {}
  std::shared_ptr<ZLyric> CurrentEngine() override { return nullptr; }
  void UseUserChoice(const SearchItem&) override {}
  void ReloadLyric() override {}
  tagUpdateInfo RecognitionAdvice(bool& foundList) override {
    foundList = false;
    return tagUpdateInfo{};
  }
  void AnswerRecognition(bool, const tagUpdateInfo&) override {}
  bool StartGetP2PResource() override {
    ++startP2PCalls;
    return onStartP2P ? onStartP2P() : false;
  }
  void UpdateResourceStatus() override { ++updateCalls; }
  void EmptyResourceForVideo() override { ++emptyForVideoCalls; }
  void OnMvStarted(bool video) override { ++(video ? videoStarted : picturesStarted); }
  bool ViewOffersMv() const override { return true; }
  bool ViewOffersPictures() const override { return true; }
  void PostUsageEvent(const char*, bool) override {}

  std::string LogText() const;

 private:
  std::string m_home, m_log;
  LyricViewState m_view;
  SettingsStore m_settings;
  MvLinkFlags m_flags;
};

}  // namespace mvlinktest
