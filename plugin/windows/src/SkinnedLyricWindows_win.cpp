#include "lyricwindows/SkinnedLyricWindows_win.h"

#include "player/ZoLyricWinamp.h"

namespace {

// Where a mini window without a saved place appears: centred at the top of
// the work area, out of the way of what the user works on.
ViewRect MiniBuiltInPlace(int width, int height) {
  RECT work{0, 0, 800, 600};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  const int left = work.left + (work.right - work.left - width) / 2;
  return ViewRect{left, work.top + 8, left + width, work.top + 8 + height};
}

}  // namespace

SkinnedLyricWindows::SkinnedLyricWindows() = default;

SkinnedLyricWindows::~SkinnedLyricWindows() {
  if (m_main && m_main->Exists()) m_main->SaveLayout();
  if (m_mini && m_mini->Exists()) m_mini->SaveLayout();
  m_main.reset();
  m_mini.reset();
  // Classes a DLL registers outlive it: the next load must not find a
  // class whose procedure lies in an unloaded module.
  UnregisterClassA(kMainWindowClass, LyricWindowsModule());
  UnregisterClassA(kMiniWindowClass, LyricWindowsModule());
}

void SkinnedLyricWindows::Attach(ILyricController* controller) {
  m_owner = controller;
  if (!controller) return;
  m_main = std::make_unique<MainLyricWindow>(*controller, m_docking);
  m_mini = std::make_unique<MiniLyricWindow>(*controller);
  m_main->UseSkin(SkinKind::Classic);
  m_mini->UseSkin(SkinKind::Classic);
  // The mini window is also the message window the MV player looks for: it
  // exists, hidden, from the start.
  m_mini->Create(MiniBuiltInPlace(m_mini->Layout().width, m_mini->Layout().height));
}

void SkinnedLyricWindows::ResolvePlayerWindow() {
  if (m_docking.PlayerWindow() || !m_owner) return;
  if (auto* player = dynamic_cast<CZoLyric_WINAMP*>(m_owner->PlayerControl()))
    m_docking.SetPlayerWindow(player->PlayerWindow());
}

void SkinnedLyricWindows::CreateMain() {
  if (!m_main || m_main->Exists()) return;
  ResolvePlayerWindow();
  const WindowLayout& l = m_main->Layout();
  if (m_main->Create(m_docking.BuiltInPlace(l.width, l.height))) m_docking.Recheck(m_main->Handle());
}

bool SkinnedLyricWindows::EnsureMainWindow() {
  m_ui.Run([this] {
    if (!m_main || m_main->Exists()) return;
    CreateMain();
    if (!MiniWindowShown()) m_main->Show();
  });
  return HasMainWindow();
}

HWND SkinnedLyricWindows::MainWindow() const { return m_main ? m_main->SharedHandle() : nullptr; }
HWND SkinnedLyricWindows::MiniWindow() const { return m_mini ? m_mini->SharedHandle() : nullptr; }

void SkinnedLyricWindows::ShowMainWindow() {
  m_ui.Run([this] {
    CreateMain();
    if (m_main) m_main->Show();
  });
}

void SkinnedLyricWindows::HideMainWindow() {
  m_ui.Run([this] {
    if (m_main) m_main->Hide();
  });
}

void SkinnedLyricWindows::ShowMiniWindow() {
  m_ui.Run([this] {
    if (!m_mini) return;
    if (!m_mini->Exists()) m_mini->Create(MiniBuiltInPlace(m_mini->Layout().width, m_mini->Layout().height));
    if (m_owner) m_mini->SetPlayerState(m_owner->Flags().playerState.load());
    m_mini->Show();
  });
}

void SkinnedLyricWindows::HideMiniWindow() {
  m_ui.Run([this] {
    if (m_mini) m_mini->Hide();
  });
}

bool SkinnedLyricWindows::MiniWindowShown() const {
  const HWND mini = MiniWindow();
  return mini && IsWindowVisible(mini);
}

void SkinnedLyricWindows::CloseMainWindow() {
  if (HWND w = MainWindow()) PostMessageA(w, WM_COMMAND, lyricwin::kCommandClose, 0);
}

void SkinnedLyricWindows::PostMainCommand(unsigned id) {
  if (HWND w = MainWindow()) PostMessageA(w, WM_COMMAND, id, 0);
}

void SkinnedLyricWindows::SetMainTimer(UINT_PTR id, UINT ms) {
  m_ui.Run([this, id, ms] {
    if (HWND w = MainWindow()) SetTimer(w, id, ms, nullptr);
  });
}

void SkinnedLyricWindows::KillMainTimer(UINT_PTR id) {
  m_ui.Run([this, id] {
    if (HWND w = MainWindow()) KillTimer(w, id);
  });
}

void SkinnedLyricWindows::RefreshPlayControls(int playerState) {
  if (HWND mini = MiniWindow()) PostMessageA(mini, MiniLyricWindow::kRefreshControls, static_cast<WPARAM>(playerState), 0);
}

void SkinnedLyricWindows::PaintLyric(HWND window) {
  if (!window) return;
  if (m_main && window == m_main->Handle())
    m_main->PaintLyric();
  else if (m_mini && window == m_mini->Handle())
    m_mini->PaintLyric();
}

void SkinnedLyricWindows::OnSkinChanged(const char* skinName) {
  const std::string name = skinName ? skinName : "";
  m_ui.Run([this, name] {
    if (m_skinKnown && name == m_skinName) return;
    if (m_main && m_main->Exists()) m_main->SaveLayout();
    if (m_mini && m_mini->Exists()) m_mini->SaveLayout();
    m_skin = SkinKindOf(name);
    ResolvePlayerWindow();
    m_docking.SetModern(m_skin == SkinKind::Modern);
    if (m_main) m_main->UseSkin(m_skin);
    if (m_mini) m_mini->UseSkin(m_skin);
    m_skinName = name;
    m_skinKnown = true;
    if (m_main && m_main->Exists()) {
      // Never placed with this skin: beside the player as this skin shows it.
      const WindowLayout& l = m_main->Layout();
      if (!l.hasPosition) m_main->PlaceAt(m_docking.BuiltInPlace(l.width, l.height));
      m_docking.Recheck(m_main->Handle());
    }
  });
}

void SkinnedLyricWindows::OnPlayerWindowMessage(PlayerWindowKind kind, HWND window, UINT msg, WPARAM, LPARAM) {
  m_docking.OnPlayerMessage(kind, window, msg, m_main ? m_main->Handle() : nullptr);
}

std::unique_ptr<ILyricWindows> MakeSkinnedLyricWindows() { return std::make_unique<SkinnedLyricWindows>(); }
