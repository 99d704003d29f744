#pragma once
// The lyric windows the controller runs with: the skinned main window and
// mini window, their repaint timers, their skins and layout files, and the
// main window's docking to the player. Create on the player's UI thread.
#include <atomic>
#include <memory>
#include <string>

#include "controller/LyricWindows.h"
#include "controller/UiDispatcher_win.h"
#include "lyricwindows/MainLyricWindow_win.h"
#include "lyricwindows/MiniLyricWindow_win.h"
#include "lyricwindows/PlayerDocking_win.h"

class SkinnedLyricWindows : public ILyricWindows {
 public:
  SkinnedLyricWindows();
  ~SkinnedLyricWindows() override;

  void Attach(ILyricController* controller) override;
  bool EnsureMainWindow() override;
  bool HasMainWindow() const override { return MainWindow() != nullptr; }
  HWND MainWindow() const override;
  HWND MiniWindow() const override;
  void ShowMainWindow() override;
  void HideMainWindow() override;
  void ShowMiniWindow() override;
  void HideMiniWindow() override;
  bool MiniWindowShown() const override;
  void CloseMainWindow() override;
  void PostMainCommand(unsigned id) override;
  void SetMainTimer(UINT_PTR id, UINT ms) override;
  void KillMainTimer(UINT_PTR id) override;
  void RefreshPlayControls(int playerState) override;
  void PaintLyric(HWND window) override;
  void OnSkinChanged(const char* skinName) override;
  void OnPlayerWindowMessage(PlayerWindowKind kind, HWND window, UINT msg, WPARAM wParam, LPARAM lParam) override;

  // UI thread: the parts, for the MV link's messages and for tests.
  MainLyricWindow* Main() { return m_main.get(); }
  MiniLyricWindow* Mini() { return m_mini.get(); }
  PlayerDocking& Docking() { return m_docking; }
  SkinKind Skin() const { return m_skin; }

 private:
  void ResolvePlayerWindow();
  void CreateMain();

  UiDispatcher m_ui;
  ILyricController* m_owner = nullptr;
  std::unique_ptr<MainLyricWindow> m_main;
  std::unique_ptr<MiniLyricWindow> m_mini;
  PlayerDocking m_docking;
  SkinKind m_skin = SkinKind::Classic;
  std::string m_skinName;
  bool m_skinKnown = false;
};

std::unique_ptr<ILyricWindows> MakeSkinnedLyricWindows();
