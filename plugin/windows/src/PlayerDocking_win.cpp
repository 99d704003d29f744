#include "lyricwindows/PlayerDocking_win.h"

#include "player/WinampIpc_win.h"

namespace {
constexpr char kEqualizerTitle[] = "Winamp Equalizer";
constexpr char kPlaylistTitle[] = "Winamp Playlist Editor";

void MoveWindowTo(HWND window, const ViewRect& r) {
  SetWindowPos(window, nullptr, r.left, r.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
struct ModernSearch {
  HWND player;
  HWND found;
};

BOOL CALLBACK FindModern(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<ModernSearch*>(param);
  if (IsWindowVisible(window) && zl::winamp::IsModernMainWindow(search->player, window)) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

// The modern skin's main window among the player's top-level windows; null
// until the player shows it.
HWND FindModernWindow(HWND player) {
  if (!player) return nullptr;
  ModernSearch search{player, nullptr};
  EnumThreadWindows(GetWindowThreadProcessId(player, nullptr), FindModern, reinterpret_cast<LPARAM>(&search));
  return search.found;
}
}  // namespace

ViewRect WindowRectOf(HWND window) {
  RECT r{};
  if (!window || !GetWindowRect(window, &r)) return ViewRect{0, 0, 0, 0};
  return ViewRect{r.left, r.top, r.right, r.bottom};
}

void PlayerDocking::SetModern(bool modern) {
  if (modern == m_modern) return;
  m_modern = modern;
  m_haveLast = false;
  // Its hook reports the modern window too, but a window placed at the
  // switch must already dock to it.
  m_modernWindow = modern ? FindModernWindow(m_player) : nullptr;
}

HWND PlayerDocking::DockWindow() const {
  if (m_modern && m_modernWindow && IsWindow(m_modernWindow)) return m_modernWindow;
  return m_player;
}

PlayerWindows PlayerDocking::Snapshot() const {
  PlayerWindows p;
  p.modern = m_modern;
  const ViewRect main = WindowRectOf(DockWindow());
  p.main = m_modern ? RaisedModernRect(main) : main;
  if (!m_modern) {
    if (HWND eq = FindWindowA(nullptr, kEqualizerTitle)) {
      p.equalizerVisible = IsWindowVisible(eq) != FALSE;
      p.equalizer = WindowRectOf(eq);
    }
    if (HWND pl = FindWindowA(nullptr, kPlaylistTitle)) {
      p.playlistVisible = IsWindowVisible(pl) != FALSE;
      p.playlist = WindowRectOf(pl);
    }
  }
  return p;
}

void PlayerDocking::Recheck(HWND lyric) {
  HWND dock = DockWindow();
  m_state = dock ? AttachmentOf(WindowRectOf(lyric), Snapshot()) : DockState::Free;
  // The player's next move is measured from here.
  m_lastPlayer = WindowRectOf(dock);
  m_haveLast = dock != nullptr;
}

void PlayerDocking::OnLyricMoveEnded(HWND lyric) {
  if (!DockWindow()) {
    m_state = DockState::Free;
    return;
  }
  const PlayerWindows players = Snapshot();
  const ViewRect now = WindowRectOf(lyric);
  m_state = AttachmentOf(now, players);
  if (m_state != DockState::Free) return;
  const Snap snap = SnapLyricWindow(now, players);
  if (!snap.snapped) return;
  MoveWindowTo(lyric, snap.rect);
  m_state = snap.state;
}

void PlayerDocking::OnPlayerMessage(PlayerWindowKind kind, HWND window, UINT msg, HWND lyric) {
  if (kind == PlayerWindowKind::Modern) m_modernWindow = window;
  if (kind == PlayerWindowKind::Main && !m_player) m_player = window;
  if (msg != WM_WINDOWPOSCHANGED || window != DockWindow()) return;
  Follow(window, lyric);
}

void PlayerDocking::Follow(HWND dock, HWND lyric) {
  // A minimised player's place (far off the screen on Windows, the bottom
  // left corner under Wine) is no move of the player: its next real place is
  // measured against the one before the minimise.
  if (IsIconic(dock)) return;
  const ViewRect now = WindowRectOf(dock);
  const bool moved = m_haveLast && (now.left != m_lastPlayer.left || now.top != m_lastPlayer.top);
  const ViewRect before = m_lastPlayer;
  m_lastPlayer = now;
  m_haveLast = true;
  if (!lyric || !IsWindow(lyric)) return;
  // A minimised player reports a position far off the screen: not followed.
  if (moved && m_state != DockState::Free && now.left >= 0 && IsWindowVisible(dock) && IsWindowVisible(lyric))
    MoveWindowTo(lyric, FollowMove(WindowRectOf(lyric), before, now));
  const bool playerTop = (GetWindowLongA(dock, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
  const bool lyricTop = (GetWindowLongA(lyric, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
  if (playerTop != lyricTop)
    SetWindowPos(lyric, playerTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

ViewRect PlayerDocking::BuiltInPlace(int width, int height) const {
  if (HWND dock = DockWindow()) {
    const ViewRect p = m_modern ? RaisedModernRect(WindowRectOf(dock)) : WindowRectOf(dock);
    if (!IsEmpty(p) && p.left >= 0) return ViewRect{p.right, p.top, p.right + width, p.top + height};
  }
  RECT work{0, 0, 800, 600};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  return ViewRect{work.left + 40, work.top + 40, work.left + 40 + width, work.top + 40 + height};
}
