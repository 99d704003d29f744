#include "lyricwindows/SkinnedWindow_win.h"

#include <vector>

#include "lyricwindows/LayoutFile_win.h"
#include "settings/SettingsStore.h"
#include "view/LyricViewState.h"

namespace {

BOOL CALLBACK AddWorkArea(HMONITOR monitor, HDC, LPRECT, LPARAM data) {
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (GetMonitorInfoA(monitor, &info)) {
    const RECT& r = info.rcWork;
    reinterpret_cast<std::vector<ViewRect>*>(data)->push_back(ViewRect{r.left, r.top, r.right, r.bottom});
  }
  return TRUE;
}

std::vector<ViewRect> WorkAreas() {
  std::vector<ViewRect> areas;
  EnumDisplayMonitors(nullptr, nullptr, AddWorkArea, reinterpret_cast<LPARAM>(&areas));
  return areas;
}

ViewPoint PointOf(LPARAM lParam) {
  return ViewPoint{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
}

}  // namespace

HINSTANCE LyricWindowsModule() {
  HMODULE module = nullptr;
  GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCSTR>(&LyricWindowsModule), &module);
  return module;
}

SkinnedWindow::SkinnedWindow(ILyricController& owner, LyricWindowKind kind, UINT repaintMs)
    : m_owner(owner),
      m_kind(kind),
      m_repaintMs(repaintMs),
      m_layout(DefaultLayout(kind, SkinKind::Classic)),
      m_draw(owner.Home()),
      m_mouse(m_draw, owner.View(), *this) {
  m_draw.SetLyricStatus(&owner.View());
}

SkinnedWindow::~SkinnedWindow() { Destroy(); }

void SkinnedWindow::Destroy() {
  if (HWND w = m_window.Get()) {
    KillTimer(w, lyricwin::kRepaintTimer);
    m_window.Reset();
  }
}

bool SkinnedWindow::Create(const ViewRect& builtIn) {
  if (m_window) return true;
  const std::string& home = m_owner.Home();
  if (!home.empty()) m_strings.Load(StringTablePath(home));
  WNDCLASSA wc{};
  // A DC of its own: the repaint copies to the window without asking the
  // system for a DC every cycle.
  wc.style = CS_OWNDC;
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = LyricWindowsModule();
  wc.lpszClassName = ClassName();
  RegisterClassA(&wc);  // already registered by an earlier window: fine

  ViewRect place = m_layout.hasPosition
                       ? ViewRect{m_layout.x, m_layout.y, m_layout.x + m_layout.width, m_layout.y + m_layout.height}
                       : ViewRect{builtIn.left, builtIn.top, builtIn.left + m_layout.width,
                                  builtIn.top + m_layout.height};
  place = BringOntoMonitor(place, WorkAreas());
  HWND window = CreateWindowExA(ExStyle(), ClassName(), Title().c_str(), WS_POPUP | WS_CLIPCHILDREN, place.left,
                                place.top, Width(place), Height(place), nullptr, nullptr, LyricWindowsModule(), this);
  // The handle was taken over when the window was being created.
  if (!window) return false;
  RECT client{};
  GetClientRect(window, &client);
  LayOut(client.right, client.bottom);
  OnCreated();
  return true;
}

void SkinnedWindow::Show() {
  HWND w = m_window.Get();
  if (!w) return;
  ShowWindow(w, SW_SHOWNOACTIVATE);
  SetTimer(w, lyricwin::kRepaintTimer, m_repaintMs, nullptr);
}

void SkinnedWindow::Hide() {
  HWND w = m_window.Get();
  if (!w) return;
  KillTimer(w, lyricwin::kRepaintTimer);
  ShowWindow(w, SW_HIDE);
}

bool SkinnedWindow::Visible() const { return m_window && IsWindowVisible(m_window.Get()); }

void SkinnedWindow::UseSkin(SkinKind skin) {
  m_skin = skin;
  WindowLayout layout = DefaultLayout(m_kind, skin);
  const std::string& home = m_owner.Home();
  m_layoutPath = home.empty() ? std::string() : LayoutFilePath(home, m_kind, skin);
  if (!m_layoutPath.empty()) LoadLayoutFile(m_layoutPath, layout);
  BoundMinimumSize(m_kind, skin, layout);
  m_layout = layout;
  m_bitmaps.SetFolder(home.empty() ? std::string() : home + m_layout.facePath);
  if (m_window && m_layout.hasPosition) {
    // The new skin's file says where the window was with that skin.
    const ViewRect saved{m_layout.x, m_layout.y, m_layout.x + m_layout.width, m_layout.y + m_layout.height};
    PlaceAt(saved);
  }
  if (m_window) {
    ResizeTo(m_layout.width, m_layout.height);
    RECT client{};
    GetClientRect(m_window.Get(), &client);
    LayOut(client.right, client.bottom);
    m_draw.RequestFullRepaint();
    Invalidate();
  }
}

bool SkinnedWindow::SaveLayout() {
  if (HWND w = m_window.Get()) {
    RECT r{};
    GetWindowRect(w, &r);
    m_layout.x = r.left;
    m_layout.y = r.top;
    m_layout.width = r.right - r.left;
    m_layout.height = r.bottom - r.top;
    m_layout.hasPosition = true;
  }
  if (m_layoutPath.empty()) return false;
  return SaveLayoutFile(m_layoutPath, m_layout);
}

void SkinnedWindow::PlaceAt(const ViewRect& place) {
  HWND w = m_window.Get();
  if (!w) return;
  const ViewRect r = BringOntoMonitor(place, WorkAreas());
  SetWindowPos(w, nullptr, r.left, r.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void SkinnedWindow::ResizeTo(int width, int height) {
  HWND w = m_window.Get();
  if (!w) return;
  width = std::max(width, m_layout.minWidth);
  height = std::max(height, m_layout.minHeight);
  if (HeightFixed()) height = m_layout.minHeight;
  SetWindowPos(w, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void SkinnedWindow::PaintLyric() {
  HWND w = m_window.Get();
  if (!w) return;
  m_draw.SetDrawConfig(&m_owner.Settings().DrawConfig());
  LyricPaintInput in;
  in.lyricRect = LyricArea();
  in.position = m_mouse.Dragging() ? m_mouse.DragTime() : m_owner.GetPlayPosition();
  in.miniBackground = MiniBackground();
  m_draw.PaintLyric(w, in);
}

void SkinnedWindow::Invalidate() const {
  if (m_window) InvalidateRect(m_window.Get(), nullptr, FALSE);
}

void SkinnedWindow::Invalidate(const ViewRect& r) const {
  if (!m_window) return;
  const RECT rect{r.left, r.top, r.right, r.bottom};
  InvalidateRect(m_window.Get(), &rect, FALSE);
}

int SkinnedWindow::PlayPosition() { return m_owner.GetPlayPosition(); }

void SkinnedWindow::SeekTo(int ms) {
  if (CPlayerControlMessage* control = m_owner.PlayerControl()) control->Control_SetSongTime(ms);
}

void SkinnedWindow::MessageClicked(int code) { m_owner.OnMessageClick(code); }
void SkinnedWindow::StripClicked(int kind) { m_owner.OnStripClick(kind); }

bool SkinnedWindow::OnMessage(UINT, WPARAM, LPARAM, LRESULT&) { return false; }

LRESULT CALLBACK SkinnedWindow::WindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_NCCREATE) {
    auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
    auto* self = static_cast<SkinnedWindow*>(create->lpCreateParams);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    // Messages sent during creation already need the handle.
    self->m_window.Reset(window);
    self->m_shared.store(window);
  }
  auto* self = reinterpret_cast<SkinnedWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (!self) return DefWindowProcA(window, msg, wParam, lParam);
  if (msg == WM_NCDESTROY) {
    SetWindowLongPtrA(window, GWLP_USERDATA, 0);
    self->m_window.Release();
    self->m_shared.store(nullptr);
    return DefWindowProcA(window, msg, wParam, lParam);
  }
  try {
    return self->Handle(msg, wParam, lParam);
  } catch (...) {
    return DefWindowProcA(window, msg, wParam, lParam);
  }
}

void SkinnedWindow::TrackLeave() {
  if (m_tracking) return;
  TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, m_window.Get(), 0};
  m_tracking = TrackMouseEvent(&track) != FALSE;
}

void SkinnedWindow::OnMouse(UINT msg, ViewPoint p) {
  HWND w = m_window.Get();
  RECT client{};
  GetClientRect(w, &client);
  const bool corner = InResizeCorner(client.right, client.bottom, p);
  POINT screen{p.x, p.y};
  ClientToScreen(w, &screen);
  switch (msg) {
    case WM_LBUTTONDOWN:
      if (corner) {
        RECT r{};
        GetWindowRect(w, &r);
        m_resizing = true;
        m_resizeStart = screen;
        m_sizeAtStart = ViewSize{r.right - r.left, r.bottom - r.top};
        SetCapture(w);
        return;
      }
      if (OnButtonDown(p)) {
        SetCapture(w);
        return;
      }
      m_mouse.OnLButtonDown(w, p);
      m_cursor = m_mouse.Cursor();
      return;
    case WM_MOUSEMOVE: {
      TrackLeave();
      if (m_resizing) {
        const ViewSize s = ResizeFromDrag(m_sizeAtStart, screen.x - m_resizeStart.x, screen.y - m_resizeStart.y,
                                          ViewSize{m_layout.minWidth, m_layout.minHeight}, HeightFixed());
        ResizeTo(s.width, s.height);
        return;
      }
      if (OnButtonMove(p)) {
        m_cursor = LoadCursor(nullptr, IDC_ARROW);
        SetCursor(m_cursor);
        return;
      }
      if (corner && !m_mouse.Dragging()) {
        m_cursor = LoadCursor(nullptr, HeightFixed() ? IDC_SIZEWE : IDC_SIZENWSE);
        SetCursor(m_cursor);
        return;
      }
      m_mouse.OnMouseMove(w, p);
      m_cursor = m_mouse.Cursor();
      return;
    }
    case WM_LBUTTONUP:
      if (m_resizing) {
        m_resizing = false;
        if (GetCapture() == w) ReleaseCapture();
        return;
      }
      if (OnButtonUp(p)) {
        if (GetCapture() == w) ReleaseCapture();
        return;
      }
      m_mouse.OnLButtonUp(w, p);
      m_cursor = m_mouse.Cursor();
      return;
    default:
      return;
  }
}

void SkinnedWindow::OnPaint() {
  HWND w = m_window.Get();
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(w, &ps);
  RECT client{};
  GetClientRect(w, &client);
  // The lyric area belongs to the lyric view: the frame never paints over it.
  // The DC is the window's own, so its clipping is put back afterwards.
  const ViewRect lyric = LyricArea();
  const int saved = SaveDC(dc);
  if (!IsEmpty(lyric)) ExcludeClipRect(dc, lyric.left, lyric.top, lyric.right, lyric.bottom);
  PaintFrame(dc, client.right, client.bottom);
  RestoreDC(dc, saved);
  EndPaint(w, &ps);
  if (IsWindowVisible(w) && !IsEmpty(lyric)) {
    m_draw.RequestFullRepaint();
    m_owner.OnTimerPaint(w);
  }
}

LRESULT SkinnedWindow::Handle(UINT msg, WPARAM wParam, LPARAM lParam) {
  HWND w = m_window.Get();
  LRESULT result = 0;
  if (OnMessage(msg, wParam, lParam, result)) return result;
  switch (msg) {
    case WM_TIMER:
      if (wParam == lyricwin::kRepaintTimer)
        m_owner.OnTimerPaint(w);
      else
        m_owner.OnTimer(w, wParam);
      return 0;
    case WM_PAINT:
      OnPaint();
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_SIZE:
      LayOut(LOWORD(lParam), HIWORD(lParam));
      m_draw.RequestFullRepaint();
      Invalidate();
      return 0;
    case WM_NCHITTEST: {
      POINT p{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
      ScreenToClient(w, &p);
      return MovesWindow(ViewPoint{p.x, p.y}) ? HTCAPTION : HTCLIENT;
    }
    case WM_SETCURSOR:
      if (LOWORD(lParam) == HTCLIENT && m_cursor) {
        SetCursor(m_cursor);
        return TRUE;
      }
      break;
    case WM_LBUTTONDOWN:
    case WM_MOUSEMOVE:
    case WM_LBUTTONUP:
      OnMouse(msg, PointOf(lParam));
      return 0;
    case WM_MOUSELEAVE:
      m_tracking = false;
      m_draw.SetHoveredStrip(-1);
      OnMouseLeft();
      return 0;
    case WM_CAPTURECHANGED:
      m_resizing = false;
      m_mouse.OnCaptureLost();
      OnCaptureLost();
      return 0;
    case WM_MOUSEWHEEL:
      m_owner.OnMouseWheel(w, wParam);
      return 0;
    case WM_RBUTTONUP: {
      const ViewPoint p = PointOf(lParam);
      m_owner.OnRButtonUp(w, POINT{p.x, p.y});
      return 0;
    }
    case WM_COMMAND:
      m_owner.OnCommand(w, LOWORD(wParam));
      return 0;
    case WM_EXITSIZEMOVE:
      OnMoveEnded();
      return 0;
    default:
      break;
  }
  return DefWindowProcA(w, msg, wParam, lParam);
}
