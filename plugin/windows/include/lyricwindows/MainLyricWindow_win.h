#pragma once
// The main lyric window: a frame of eleven skin pieces around the lyric
// area, a close box, a resize corner, docked beside the player.
#include "lyricwindows/ButtonTips_win.h"
#include "lyricwindows/PlayerDocking_win.h"
#include "lyricwindows/SkinnedWindow_win.h"

constexpr char kMainWindowClass[] = "ZoLyricMainWindow";

class MainLyricWindow : public SkinnedWindow {
 public:
  MainLyricWindow(ILyricController& owner, PlayerDocking& docking);
  ~MainLyricWindow() override;

  const MainFrame& Frame() const { return m_frame; }

 protected:
  const char* ClassName() const override { return kMainWindowClass; }
  std::string Title() const override;
  DWORD ExStyle() const override { return WS_EX_TOOLWINDOW; }
  void LayOut(int width, int height) override;
  void PaintFrame(HDC dc, int width, int height) override;
  ViewRect LyricArea() const override { return m_frame.lyricArea; }
  bool MovesWindow(ViewPoint p) const override;
  bool OnButtonDown(ViewPoint p) override;
  bool OnButtonMove(ViewPoint p) override;
  bool OnButtonUp(ViewPoint p) override;
  void OnMouseLeft() override;
  void OnCaptureLost() override;
  void OnMoveEnded() override;
  void OnCreated() override;
  bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  bool InClose(ViewPoint p) const;
  ViewRect CloseRect() const;

  PlayerDocking& m_docking;
  MainFrame m_frame;
  ButtonTips m_tips;
  bool m_closeHover = false;
  bool m_closePressed = false;
};
