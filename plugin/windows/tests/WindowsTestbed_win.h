#pragma once
// The lyric windows on the test's thread, with the player stand-in on a
// thread of its own, a scratch install home holding the generated skins,
// and a controller stand-in whose play position the test sets.
#include <windows.h>

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "PlayerHost_win.h"
#include "controller/LyricController.h"
#include "controller/LyricDialogs.h"
#include "controller/MvLink.h"
#include "lyricwindows/SkinnedLyricWindows_win.h"
#include "player/ZoLyricWinamp.h"
#include "settings/SettingsStore.h"
#include "view/LyricViewState.h"

// A copy of the build's install image in a scratch folder, removed afterwards.
class ScratchHome {
 public:
  ScratchHome();
  ~ScratchHome();
  const std::string& Path() const { return m_path; }

 private:
  std::string m_path;
};

class FakeController : public ILyricController {
 public:
  FakeController(const std::string& home, CZoLyric_WINAMP* player, ILyricWindows* windows);

  LyricViewState& View() override { return m_view; }
  SettingsStore& Settings() override { return m_settings; }
  MvLinkFlags& Flags() override { return m_flags; }
  const std::string& Home() const override { return m_home; }
  const char* LogPath() const override { return ""; }
  bool Closing() const override { return false; }
  ILyricWindows& Windows() override { return *m_windows; }
  ILyricDialogs& Dialogs() override { return *m_dialogs; }
  IMvLink& MvLink() override { return *m_mv; }
  CPlayerControlMessage* PlayerControl() override { return m_player; }
  CPlayerQueryMessage* PlayerQuery() override { return m_player; }
  int GetPlayPosition() override { return position.load(); }
  void OnTimerPaint(HWND window) override;
  void OnTimer(HWND, UINT_PTR id) override { timers.push_back(id); }
  void OnCommand(HWND, unsigned id) override { commands.push_back(id); }
  void OnMouseWheel(HWND, WPARAM) override {}
  void OnRButtonUp(HWND, POINT) override {}
  void OnMessageClick(int code) override { messageClicks.push_back(code); }
  void OnStripClick(int kind) override { stripClicks.push_back(kind); }
  std::shared_ptr<ZLyric> CurrentEngine() override { return nullptr; }
  void UseUserChoice(const SearchItem&) override {}
  void ReloadLyric() override {}
  tagUpdateInfo RecognitionAdvice(bool& foundList) override {
    foundList = false;
    return tagUpdateInfo{};
  }
  void AnswerRecognition(bool, const tagUpdateInfo&) override {}
  bool StartGetP2PResource() override { return false; }
  void UpdateResourceStatus() override {}
  void EmptyResourceForVideo() override {}
  void OnMvStarted(bool) override {}
  bool ViewOffersMv() const override { return false; }
  bool ViewOffersPictures() const override { return false; }
  void PostUsageEvent(const char* name, bool) override { events.push_back(name); }

  std::atomic<int> position{0};
  std::vector<UINT_PTR> timers;
  std::vector<unsigned> commands;
  std::vector<int> messageClicks;
  std::vector<int> stripClicks;
  std::vector<std::string> events;

 private:
  std::string m_home;
  CZoLyric_WINAMP* m_player;
  ILyricWindows* m_windows;
  std::unique_ptr<ILyricDialogs> m_dialogs;
  std::unique_ptr<IMvLink> m_mv;
  LyricViewState m_view;
  SettingsStore m_settings;
  MvLinkFlags m_flags;
};

// One test's world. The player's windows stay where the stand-in puts
// them: main (100, 100) 300 x 72, equalizer below it, playlist below that.
class WindowsTestbed {
 public:
  explicit WindowsTestbed(bool showPlayer = true);
  ~WindowsTestbed();

  playerhost::CPlayerHost& Player() { return m_host; }
  FakeController& Controller() { return *m_controller; }
  SkinnedLyricWindows& Windows() { return *m_windows; }
  LyricViewState& View() { return m_controller->View(); }
  const std::string& Home() const { return m_home.Path(); }

  // A new set of windows on the same home (as after a restart).
  void RestartWindows();

  // Runs the test thread's messages for a while, or until `done`.
  static void Pump(DWORD ms);
  static bool PumpUntil(const std::function<bool()>& done, DWORD ms);

  // The lyric look the screenshots use: a font every prefix has, plain
  // colours, a solid background.
  void UsePlainLook(bool karaoke, int scrollType = 0);
  // `count` lines "Line NN of the song", 4 s each from 10 s on.
  static std::vector<TimeSentence> TestLyric(int count);
  void ShowLyric(const std::vector<TimeSentence>& lyric, const char* message = "");

  // One repaint cycle of a window at `position`, redrawing everything.
  void PaintAt(HWND window, int position, int cycles = 1);

 private:
  ScratchHome m_home;
  playerhost::CPlayerHost m_host;
  std::unique_ptr<CZoLyric_WINAMP> m_player;
  std::unique_ptr<SkinnedLyricWindows> m_windows;
  std::unique_ptr<FakeController> m_controller;
};

// Client rectangle of a frame rectangle, in screen coordinates of the window.
RECT ScreenRectOf(HWND window, const ViewRect& client);
// A rectangle relative to a capture of the whole window.
RECT InWindowShot(HWND window, const ViewRect& client);
