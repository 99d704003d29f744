#pragma once
// The mini window: a bar with the player's buttons, the lyric scrolling in
// one line, and its own buttons; files dropped on it go to the player's
// playlist. It is also the plug-in's message window that the MV player
// finds by its title: the MV link sees its messages first.
#include <windows.h>
#include <shellapi.h>

#include "lyricwindows/ButtonTips_win.h"
#include "lyricwindows/MiniBar.h"
#include "lyricwindows/SkinnedWindow_win.h"

constexpr char kMiniWindowClass[] = "ZoLyricMiniWindow";

class MiniLyricWindow : public SkinnedWindow {
 public:
  explicit MiniLyricWindow(ILyricController& owner);
  ~MiniLyricWindow() override;

  // The player's state the play controls show (0 playing, 1 paused, 2 stopped).
  void SetPlayerState(int state);
  int PlayerState() const { return m_playerState; }
  const MiniBarLayout& Bar() const { return m_bar; }
  // Runs a button as a click on it does.
  void Press(MiniButton b);

  // Posted by other threads: wParam is the new player state.
  static constexpr UINT kRefreshControls = WM_APP + 41;

 protected:
  const char* ClassName() const override { return kMiniWindowClass; }
  std::string Title() const override;
  DWORD ExStyle() const override { return WS_EX_TOPMOST | WS_EX_ACCEPTFILES; }
  void LayOut(int width, int height) override;
  void PaintFrame(HDC dc, int width, int height) override;
  ViewRect LyricArea() const override { return m_bar.lyricArea; }
  bool MovesWindow(ViewPoint p) const override;
  bool HeightFixed() const override { return true; }
  ViewColor MiniBackground() const override { return Layout().miniBkColor; }
  bool OnButtonDown(ViewPoint p) override;
  bool OnButtonMove(ViewPoint p) override;
  bool OnButtonUp(ViewPoint p) override;
  void OnMouseLeft() override;
  void OnCaptureLost() override;
  void OnCreated() override;
  bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  void DrawButton(HDC dc, MiniButton b);
  void RefreshTips();
  void InvalidateButton(int b);
  void OnDropFiles(HDROP drop);
  void Log(const char* text);

  MiniBarLayout m_bar{};
  ButtonTips m_tips;
  int m_playerState = kPlayerStopped;
  int m_hover = -1;
  int m_pressed = -1;
};
