#include "lyricwindows/MainLyricWindow_win.h"

namespace {
const char kProductName[] = "Ambrel歌词";

void Outline(HDC dc, const ViewRect& r, ViewColor color) {
  zl::UniqueBrush brush(CreateSolidBrush(color));
  const RECT rect{r.left, r.top, r.right, r.bottom};
  FrameRect(dc, &rect, brush.Get());
}
}  // namespace

MainLyricWindow::MainLyricWindow(ILyricController& owner, PlayerDocking& docking)
    : SkinnedWindow(owner, LyricWindowKind::Main, kRepaintMainMs), m_docking(docking) {}

// The window goes while this object is whole: its messages reach every part.
MainLyricWindow::~MainLyricWindow() {
  m_tips.Destroy();
  Destroy();
}

std::string MainLyricWindow::Title() const { return kProductName; }

void MainLyricWindow::LayOut(int width, int height) {
  int cw = Skin() == SkinKind::Classic ? 9 : 13;
  int ch = Skin() == SkinKind::Classic ? 9 : 10;
  Bitmaps().SizeOf("close-normal.bmp", cw, ch);
  const std::string tip = Text(kCloseTipKey);
  m_frame = BuildMainFrame(Skin(), width, height, cw, ch, tip.c_str());
  WindowLayout& l = MutableLayout();
  l.bitmaps = m_frame.pieces;
  l.controls.assign(1, m_frame.close);
  if (Handle()) m_tips.Set(0, CloseRect(), tip);
}

ViewRect MainLyricWindow::CloseRect() const {
  const ControlRecord& c = m_frame.close;
  return ViewRect{c.left, c.top, c.right, c.bottom};
}

bool MainLyricWindow::InClose(ViewPoint p) const {
  const ViewRect r = CloseRect();
  return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom;
}

void MainLyricWindow::PaintFrame(HDC dc, int width, int height) {
  const WindowLayout& l = Layout();
  zl::UniqueBrush body(CreateSolidBrush(l.bkColor));
  const RECT all{0, 0, width, height};
  FillRect(dc, &all, body.Get());
  bool complete = true;
  for (const FrameBitmapRecord& piece : m_frame.pieces)
    complete &= Bitmaps().Draw(dc, piece.name, ViewRect{piece.left, piece.top, piece.right, piece.bottom});
  // Without its pictures the frame is still a frame.
  if (!complete) {
    Outline(dc, ViewRect{0, 0, width, height}, l.borderColor);
    const ViewRect& a = m_frame.lyricArea;
    Outline(dc, ViewRect{a.left - 1, a.top - 1, a.right + 1, a.bottom + 1}, l.listBorderColor);
  }
  const char* look = m_closePressed && m_closeHover ? "close-pressed.bmp" : m_closeHover ? "close-hover.bmp"
                                                                                       : "close-normal.bmp";
  const ViewRect close = CloseRect();
  if (!Bitmaps().Draw(dc, look, close) && !Bitmaps().Draw(dc, "close-normal.bmp", close)) {
    zl::UniquePen pen(CreatePen(PS_SOLID, 1, m_closeHover ? 0x5064F0 : 0xCCB8B0));
    zl::SelectedObject select(dc, pen.Get());
    MoveToEx(dc, close.left + 2, close.top + 2, nullptr);
    LineTo(dc, close.right - 2, close.bottom - 2);
    MoveToEx(dc, close.right - 3, close.top + 2, nullptr);
    LineTo(dc, close.left + 1, close.bottom - 2);
  }
}

bool MainLyricWindow::MovesWindow(ViewPoint p) const {
  const ViewRect& t = m_frame.titleBar;
  return p.x >= t.left && p.x < t.right && p.y >= t.top && p.y < t.bottom && !InClose(p);
}

bool MainLyricWindow::OnButtonDown(ViewPoint p) {
  if (!InClose(p)) return false;
  m_closePressed = true;
  m_closeHover = true;
  Invalidate(CloseRect());
  return true;
}

bool MainLyricWindow::OnButtonMove(ViewPoint p) {
  const bool over = InClose(p);
  if (over != m_closeHover) {
    m_closeHover = over;
    Invalidate(CloseRect());
  }
  return over || m_closePressed;
}

bool MainLyricWindow::OnButtonUp(ViewPoint p) {
  if (!m_closePressed) return false;
  m_closePressed = false;
  Invalidate(CloseRect());
  // Closed after the mouse message is done with the window.
  if (InClose(p)) PostMessageA(Handle(), WM_COMMAND, lyricwin::kCommandClose, 0);
  return true;
}

void MainLyricWindow::OnMouseLeft() {
  if (!m_closeHover && !m_closePressed) return;
  m_closeHover = false;
  Invalidate(CloseRect());
}

void MainLyricWindow::OnCaptureLost() {
  if (!m_closePressed) return;
  m_closePressed = false;
  Invalidate(CloseRect());
}

void MainLyricWindow::OnMoveEnded() { m_docking.OnLyricMoveEnded(Handle()); }

void MainLyricWindow::OnCreated() {
  if (m_tips.Create(Handle())) m_tips.Set(0, CloseRect(), Text(kCloseTipKey));
}

bool MainLyricWindow::OnMessage(UINT msg, WPARAM wParam, LPARAM, LRESULT& result) {
  const bool close = (msg == WM_COMMAND && LOWORD(wParam) == lyricwin::kCommandClose) || msg == WM_CLOSE;
  if (!close) return false;
  // Its layout is kept before the window goes; the next song brings it back.
  SaveLayout();
  m_tips.Destroy();
  Destroy();
  result = 0;
  return true;
}
