#pragma once
// What the dialog tests share: a UI thread that runs the dialogs (the test
// thread drives them), a controller stand-in that records what the dialogs
// ask of it, and an install home with the string table.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "DialogDriver_win.h"
#include "WinTestSupport.h"
#include "controller/LyricController.h"
#include "controller/MvLink.h"
#include "controller/LyricWindows.h"
#include "dialogs/LyricDialogsFactory_win.h"
#include "lyriccore/ZLyric.h"
#include "settings/SettingsStore.h"
#include "shared/CriticalSection.h"
#include "view/LyricViewState.h"

namespace dlgtest {

// A thread with a window and a message loop, standing in for the player's
// UI thread. Work posted to it runs there; modal dialogs run their own loop.
class UiThread {
 public:
  UiThread();
  // Cancels any dialog still open, then ends the thread.
  ~UiThread();
  UiThread(const UiThread&) = delete;
  UiThread& operator=(const UiThread&) = delete;

  DWORD Id() const { return m_id; }
  HWND Window() const { return m_window; }
  // Runs the work there; Post returns at once, Call waits until it has run.
  void Post(std::function<void()> work);
  bool Call(std::function<void()> work, DWORD ms = kWaitMs);
  // True once every posted work and timer handler has returned.
  bool Idle() const { return m_running.load() == 0; }
  // WM_TIMER of the window goes here.
  std::function<void(HWND, UINT_PTR)> onTimer;

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
  void Loop(HANDLE ready);

  std::thread m_thread;
  DWORD m_id = 0;
  HWND m_window = nullptr;
  std::atomic<int> m_running{0};
};

// The lyric windows as the dialogs see them: which one is the mini window.
class FakeWindows : public ILyricWindows {
 public:
  void Attach(ILyricController*) override {}
  bool EnsureMainWindow() override { return true; }
  bool HasMainWindow() const override { return true; }
  HWND MainWindow() const override { return nullptr; }
  HWND MiniWindow() const override { return mini; }
  void ShowMainWindow() override {}
  void HideMainWindow() override {}
  void ShowMiniWindow() override {}
  void HideMiniWindow() override {}
  bool MiniWindowShown() const override { return miniShown; }
  void CloseMainWindow() override {}
  void PostMainCommand(unsigned) override {}
  void SetMainTimer(UINT_PTR, UINT) override {}
  void KillMainTimer(UINT_PTR) override {}
  void RefreshPlayControls(int) override {}
  void PaintLyric(HWND) override {}
  void OnSkinChanged(const char*) override {}
  void OnPlayerWindowMessage(PlayerWindowKind, HWND, UINT, WPARAM, LPARAM) override {}

  std::atomic<HWND> mini{nullptr};
  std::atomic<bool> miniShown{false};
};

// The controller as the dialogs see it; it records what they ask.
class FakeController : public ILyricController {
 public:
  explicit FakeController(const std::string& home);

  LyricViewState& View() override { return view; }
  SettingsStore& Settings() override { return settings; }
  MvLinkFlags& Flags() override { return flags; }
  const std::string& Home() const override { return home; }
  const char* LogPath() const override { return ""; }
  bool Closing() const override { return false; }
  ILyricWindows& Windows() override { return windows; }
  ILyricDialogs& Dialogs() override { return *dialogs; }
  IMvLink& MvLink() override { return *mv; }
  CPlayerControlMessage* PlayerControl() override { return nullptr; }
  CPlayerQueryMessage* PlayerQuery() override { return nullptr; }
  int GetPlayPosition() override { return 0; }
  void OnTimerPaint(HWND) override {}
  void OnTimer(HWND window, UINT_PTR id) override;
  void OnCommand(HWND window, unsigned id) override;
  void OnMouseWheel(HWND window, WPARAM wParam) override;
  void OnRButtonUp(HWND window, POINT client) override;
  void OnMessageClick(int code) override;
  void OnStripClick(int) override {}
  std::shared_ptr<ZLyric> CurrentEngine() override { return engine; }
  void UseUserChoice(const SearchItem& item) override;
  void ReloadLyric() override { ++reloads; }
  tagUpdateInfo RecognitionAdvice(bool& foundList) override;
  void AnswerRecognition(bool writeTags, const tagUpdateInfo& names) override;
  bool StartGetP2PResource() override { return false; }
  void UpdateResourceStatus() override {}
  void EmptyResourceForVideo() override {}
  void OnMvStarted(bool) override {}
  bool ViewOffersMv() const override { return false; }
  bool ViewOffersPictures() const override { return false; }
  void PostUsageEvent(const char* name, bool wait) override;

  std::vector<std::string> Events();
  std::vector<SearchItem> Chosen();

  std::string home;
  LyricViewState view;
  SettingsStore settings;
  MvLinkFlags flags;
  FakeWindows windows;
  std::unique_ptr<IMvLink> mv;
  std::shared_ptr<ZLyric> engine;
  ILyricDialogs* dialogs = nullptr;
  std::atomic<int> reloads{0};
  tagUpdateInfo advice{};
  bool adviceFoundList = false;
  std::atomic<bool> answered{false};
  tagUpdateInfo answer{};

 private:
  zl::CriticalSection m_lock;
  std::vector<std::string> m_events;
  std::vector<SearchItem> m_chosen;
};

// An install home with the string tables as they are installed, the
// controller stand-in, the dialogs and the UI thread.
class DialogTest : public ::testing::Test {
 protected:
  DialogTest();
  ~DialogTest() override;

  // The installed table's text for a key.
  std::string T(const char* key) const;
  // A lyric file below the home; its path.
  std::string WriteLyric(const std::string& name, const std::string& text) const;
  // An engine with `lyric` linked as the current song's lyric, shown by the view.
  void ShowLinkedLyric(const std::string& lyricPath);
  std::vector<int> ViewStartTimes();
  static std::string ReadFile(const std::string& path);
  // A dialog of the UI thread with the table's caption for the key.
  HWND WaitForDialogCaption(const char* captionKey, HWND except = nullptr);
  // Upload replacement: records the request and answers with uploadResult.
  Result FakeUpload(const LrcItem& item);

  zltest::ScopedInstallHome home_;
  std::unique_ptr<FakeController> ctrl_;
  DialogOptions options_;
  std::unique_ptr<ILyricDialogs> dialogs_;
  std::unique_ptr<UiThread> ui_;
  std::atomic<Result> uploadResult_{RESULT_OK};
  std::atomic<int> uploads_{0};
  LrcItem lastUpload_{};

 private:
  std::string tableText_;
};

}  // namespace dlgtest
