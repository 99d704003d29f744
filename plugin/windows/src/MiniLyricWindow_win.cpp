#include "lyricwindows/MiniLyricWindow_win.h"

#include <shellapi.h>

#include "shared/InstallHome.h"
#include "controller/MvLink.h"
#include "mvlink/MvLink_win.h"
#include "shared/Logger.h"

namespace {

constexpr char kLogTag[] = "MiniWnd";
constexpr char kMidPiece[] = "Mid.bmp";

}  // namespace

MiniLyricWindow::MiniLyricWindow(ILyricController& owner)
    : SkinnedWindow(owner, LyricWindowKind::Mini, kRepaintMiniMs) {
  m_playerState = owner.Flags().playerState.load();
}

MiniLyricWindow::~MiniLyricWindow() {
  m_tips.Destroy();
  Destroy();
}

void MiniLyricWindow::Log(const char* text) { LogWrite(Owner().LogPath(), LOG_KEYINFO, kLogTag, "%s", text); }

void MiniLyricWindow::LayOut(int width, int height) {
  MiniBarSizes sizes{10, 6, 18, 16};
  int h = 0;
  Bitmaps().SizeOf("Left.bmp", sizes.leftWidth, h);
  Bitmaps().SizeOf("Right.bmp", sizes.rightWidth, h);
  Bitmaps().SizeOf("playstart-normal.bmp", sizes.buttonWidth, sizes.buttonHeight);
  m_bar = LayoutMiniBar(width, height, sizes);
  WindowLayout& l = MutableLayout();
  l.leftBmpWidth = sizes.leftWidth;
  l.bitmaps.clear();
  for (auto [name, r] : {std::pair<const char*, ViewRect>{"Left.bmp", m_bar.left}, {kMidPiece, m_bar.mid},
                         {"Right.bmp", m_bar.right}}) {
    FrameBitmapRecord rec{};
    SetRecordText(rec.name, name);
    rec.left = r.left;
    rec.top = r.top;
    rec.right = r.right;
    rec.bottom = r.bottom;
    rec.flag = 1;
    l.bitmaps.push_back(rec);
  }
  RefreshTips();
}

void MiniLyricWindow::RefreshTips() {
  std::vector<std::string> tips;
  for (int b = 0; b < kMiniButtonCount; ++b) tips.push_back(Text(MiniTipKey(static_cast<MiniButton>(b), m_playerState)));
  MutableLayout().controls = MiniControlRecords(m_bar, m_playerState, tips);
  if (!Handle()) return;
  for (int b = 0; b < kMiniButtonCount; ++b) m_tips.Set(static_cast<unsigned>(b), m_bar.buttons[b], tips[static_cast<size_t>(b)]);
}

void MiniLyricWindow::OnCreated() {
  m_tips.Create(Handle());
  RefreshTips();
  SetTimer(Handle(), kMvHeartbeatTimer, kMvHeartbeatMs, nullptr);
}

void MiniLyricWindow::SetPlayerState(int state) {
  if (state == m_playerState) return;
  m_playerState = state;
  RefreshTips();
  for (MiniButton b : {kMiniPlay, kMiniStop, kMiniPrevious, kMiniNext}) InvalidateButton(b);
}

void MiniLyricWindow::InvalidateButton(int b) {
  if (b >= 0 && b < kMiniButtonCount) Invalidate(m_bar.buttons[b]);
}

void MiniLyricWindow::DrawButton(HDC dc, MiniButton b) {
  ButtonLook look = LookOf(b, m_playerState, m_hover, m_pressed);
  const std::string stem = BitmapStem(b, m_playerState);
  // A look the skin has no picture for shows as the nearest one it has.
  while (!Bitmaps().Draw(dc, stem + LookSuffix(look) + ".bmp", m_bar.buttons[b])) {
    ButtonLook fallback;
    if (!FallbackLook(look, fallback)) break;
    look = fallback;
  }
}

void MiniLyricWindow::PaintFrame(HDC dc, int width, int height) {
  const WindowLayout& l = Layout();
  zl::UniqueBrush body(CreateSolidBrush(l.bkColor));
  const RECT all{0, 0, width, height};
  FillRect(dc, &all, body.Get());
  Bitmaps().Draw(dc, "Left.bmp", m_bar.left);
  Bitmaps().Draw(dc, kMidPiece, m_bar.mid);
  Bitmaps().Draw(dc, "Right.bmp", m_bar.right);
  const ViewRect& a = m_bar.lyricArea;
  if (!IsEmpty(a)) {
    zl::UniqueBrush border(CreateSolidBrush(l.listBorderColor));
    const RECT frame{a.left - 1, a.top - 1, a.right + 1, a.bottom + 1};
    FrameRect(dc, &frame, border.Get());
  }
  for (int b = 0; b < kMiniButtonCount; ++b) DrawButton(dc, static_cast<MiniButton>(b));
}

bool MiniLyricWindow::MovesWindow(ViewPoint p) const {
  if (MiniButtonAt(m_bar, p) >= 0) return false;
  const ViewRect& a = m_bar.lyricArea;
  if (p.x >= a.left && p.x < a.right && p.y >= a.top && p.y < a.bottom) return false;
  RECT client{};
  GetClientRect(Handle(), &client);
  return !InResizeCorner(client.right, client.bottom, p);
}

bool MiniLyricWindow::OnButtonDown(ViewPoint p) {
  const int b = MiniButtonAt(m_bar, p);
  if (b < 0) return false;
  if (MiniButtonEnabled(static_cast<MiniButton>(b), m_playerState)) {
    m_pressed = b;
    m_hover = b;
    InvalidateButton(b);
  }
  return true;
}

bool MiniLyricWindow::OnButtonMove(ViewPoint p) {
  const int b = MiniButtonAt(m_bar, p);
  if (b != m_hover) {
    InvalidateButton(m_hover);
    m_hover = b;
    InvalidateButton(b);
  }
  return b >= 0 || m_pressed >= 0;
}

bool MiniLyricWindow::OnButtonUp(ViewPoint p) {
  if (m_pressed < 0) return MiniButtonAt(m_bar, p) >= 0;
  const int pressed = m_pressed;
  m_pressed = -1;
  InvalidateButton(pressed);
  if (MiniButtonAt(m_bar, p) == pressed) Press(static_cast<MiniButton>(pressed));
  return true;
}

void MiniLyricWindow::OnMouseLeft() {
  const int hover = m_hover;
  m_hover = -1;
  InvalidateButton(hover);
}

void MiniLyricWindow::OnCaptureLost() {
  const int pressed = m_pressed;
  m_pressed = -1;
  InvalidateButton(pressed);
}

void MiniLyricWindow::Press(MiniButton b) {
  if (!MiniButtonEnabled(b, m_playerState)) return;
  CPlayerControlMessage* control = Owner().PlayerControl();
  const MiniAction action = ActionOf(b, m_playerState);
  int canPlay = 0;
  switch (action) {
    case MiniAction::PlayStart:
    case MiniAction::Resume:
      if (!control || control->Control_CanPlay(canPlay) != kPlayerOk || !canPlay) {
        Log("Can not play.");
        return;
      }
      if (action == MiniAction::PlayStart)
        control->Control_Play_Start();
      else
        control->Control_Play();
      SetPlayerState(kPlayerPlaying);
      return;
    case MiniAction::Pause:
      if (control) control->Control_Pause();
      SetPlayerState(kPlayerPaused);
      return;
    case MiniAction::Stop:
      if (control) control->Control_Stop();
      SetPlayerState(kPlayerStopped);
      return;
    case MiniAction::Previous:
      if (control) control->Control_PreviousSong();
      return;
    case MiniAction::Next:
      if (control) control->Control_NextSong();
      return;
    case MiniAction::Video:
      Owner().OnCommand(Handle(), kMiniButtonIds[kMiniVideo]);
      return;
    case MiniAction::Switch:
      // Restoring the player brings the main window back (its restore event).
      if (control) control->Control_SetWindowRestore();
      return;
    case MiniAction::Minimize:
      ShowWindow(Handle(), SW_MINIMIZE);
      return;
    case MiniAction::Close:
      Hide();
      Owner().PostUsageEvent("HideMini", true);
      return;
    default:
      return;
  }
}

void MiniLyricWindow::OnDropFiles(HDROP drop) {
  std::vector<std::string> names;
  const UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
  for (UINT i = 0; i < count; ++i) {
    const UINT length = DragQueryFileA(drop, i, nullptr, 0);
    std::string name(length + 1, '\0');
    const UINT got = DragQueryFileA(drop, i, &name[0], length + 1);
    name.resize(got);
    names.push_back(std::move(name));
  }
  DragFinish(drop);
  const std::vector<std::string> accepted = AcceptedDrops(names);
  CPlayerControlMessage* control = Owner().PlayerControl();
  if (accepted.empty() || !control) return;
  control->Control_AddToPlayList(accepted);
  control->Control_Stop();
  control->Control_Play_Start();
}

bool MiniLyricWindow::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  // What ClipView sends, KillVideo's notice and the heartbeat go to the MV link.
  if (Owner().MvLink().OnMiniWindowMessage(Handle(), msg, wParam, lParam, result)) return true;
  switch (msg) {
    case kRefreshControls:
      SetPlayerState(static_cast<int>(wParam));
      result = 0;
      return true;
    case WM_DROPFILES:
      OnDropFiles(reinterpret_cast<HDROP>(wParam));
      result = 0;
      return true;
    case WM_CLOSE:
      Hide();
      result = 0;
      return true;
    default:
      return false;
  }
}

// The MV player finds the plug-in by this title.
std::string MiniLyricWindow::Title() const { return MvLinkMiniWindowTitle(); }
