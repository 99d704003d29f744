// CDlgVideoMain: its children, the skin drawing, the mouse on the window,
// its size and place.
#include "window/DlgVideoMain_win.h"

#include <commctrl.h>

#include "FlashHost_win.h"
#include "SkinButton_win.h"
#include "settings/StringTable.h"

namespace clipview {
namespace {

constexpr char kHostClass[] = "ClipViewFlashHost";

LRESULT CALLBACK HostProc(HWND w, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_SIZE) {
    if (auto* flash = reinterpret_cast<FlashHost*>(GetWindowLongPtrA(w, GWLP_USERDATA))) flash->Resize();
    return 0;
  }
  if (msg == WM_ERASEBKGND) {
    RECT r;
    GetClientRect(w, &r);
    FillRect(reinterpret_cast<HDC>(wParam), &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    return 1;
  }
  return DefWindowProcA(w, msg, wParam, lParam);
}

HWND CreateHost(HWND parent) {
  static bool registered = [] {
    WNDCLASSA wc{};
    wc.lpfnWndProc = HostProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = kHostClass;
    return RegisterClassA(&wc) != 0;
  }();
  (void)registered;
  return CreateWindowExA(0, kHostClass, "", WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, 0, 0, 10, 10, parent,
                         nullptr, GetModuleHandleA(nullptr), nullptr);
}

void Place(HWND w, const SkinRect& r) {
  if (w) MoveWindow(w, r.left, r.top, r.Width(), r.Height(), TRUE);
}

RECT ToRect(const SkinRect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }

}  // namespace

INT_PTR CALLBACK CDlgVideoMain::VideoProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_INITDIALOG) {
    SetWindowLongPtrA(window, DWLP_USER, lParam);
    return FALSE;
  }
  auto* self = reinterpret_cast<CDlgVideoMain*>(GetWindowLongPtrA(window, DWLP_USER));
  if (!self) return FALSE;
  switch (msg) {
    case WM_GRAPH_NOTIFY:
      if (self->m_playback) self->m_playback->OnGraphEvent(self->m_hWnd);
      return TRUE;
    case WM_LBUTTONDBLCLK:
      PostMessageA(self->m_hWnd, WM_LBUTTONDBLCLK, 0, static_cast<LPARAM>(kVideoDoubleClickParam));
      return TRUE;
    case WM_SIZE:
      if (self->m_playback && self->m_videoPlaying) self->m_playback->Resize(window);
      return TRUE;
    case WM_ERASEBKGND: {
      RECT r;
      GetClientRect(window, &r);
      FillRect(reinterpret_cast<HDC>(wParam), &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
      SetWindowLongPtrA(window, DWLP_MSGRESULT, 1);
      return TRUE;
    }
  }
  return FALSE;
}

void CDlgVideoMain::CreateChildren() {
  HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(m_hWnd, GWLP_HINSTANCE));
  m_video = CreateDialogParamA(instance, MAKEINTRESOURCEA(IDD_VIDEO_WINDOW), m_hWnd, VideoProc,
                               reinterpret_cast<LPARAM>(this));
  ShowWindow(m_video, SW_HIDE);
  auto onEvent = [this](long dispid, const std::string& first) {
    Log("Flash event %ld %s", dispid, first.c_str());
  };
  m_pictureHost = CreateHost(m_hWnd);
  m_statusHost = CreateHost(m_hWnd);
  m_pictureFlash = std::make_unique<FlashHost>(m_pictureHost, m_options.logPath, onEvent);
  m_statusFlash = std::make_unique<FlashHost>(m_statusHost, m_options.logPath, onEvent);
  SetWindowLongPtrA(m_pictureHost, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(m_pictureFlash.get()));
  SetWindowLongPtrA(m_statusHost, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(m_statusFlash.get()));

  SkinImages& skin = *m_skin;
  m_btnVideo = CreateSkinButton(m_hWnd, IDC_BTN_VIDEO, "mv", ButtonKind::Tab, skin);
  m_btnPic = CreateSkinButton(m_hWnd, IDC_BTN_PIC, "img", ButtonKind::Tab, skin);
  m_btnHold = CreateSkinButton(m_hWnd, IDC_BTN_HOLD, "lock", ButtonKind::Toggle, skin);
  m_btnMinimize = CreateSkinButton(m_hWnd, IDC_BTN_MINIMIZE, "mini", ButtonKind::Push, skin);
  m_btnNormal = CreateSkinButton(m_hWnd, IDC_BTN_NORMAL, "normal", ButtonKind::Push, skin);
  m_btnLarge = CreateSkinButton(m_hWnd, IDC_BTN_LARGE, "large", ButtonKind::Push, skin);
  m_btnClose = CreateSkinButton(m_hWnd, IDC_BTN_CLOSE, "close", ButtonKind::Push, skin);
  m_btnPlay = CreateSkinButton(m_hWnd, IDC_BTN_PLAY, "play", ButtonKind::Push, skin);
  m_btnPause = CreateSkinButton(m_hWnd, IDC_BTN_PAUSE, "pause", ButtonKind::Push, skin);
  m_btnStop = CreateSkinButton(m_hWnd, IDC_BTN_STOP, "stop", ButtonKind::Push, skin);
  m_btnMute = CreateSkinButton(m_hWnd, IDC_BTN_MUTE, "mute", ButtonKind::Toggle, skin);
  m_btnMore = CreateSkinButton(m_hWnd, IDC_BTN_MORE, "more", ButtonKind::Push, skin);
  m_btnFeedback = CreateSkinButton(m_hWnd, IDC_BTN_FEEDBACK, "fdbk", ButtonKind::Push, skin);
  SetSkinButtonLatched(m_btnHold, m_settings.hold);
  SetSkinButtonLatched(m_btnMute, m_settings.mute);
  ShowWindow(m_settings.isNormalSize ? m_btnNormal : m_btnLarge, SW_HIDE);
  ShowPlayButton(true);
  EnableWindow(m_btnPlay, FALSE);
  EnableWindow(m_btnStop, FALSE);

  StringTable texts;
  texts.Load(StringTablePath(m_home));
  m_tooltip = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                              CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, m_hWnd, nullptr, instance, nullptr);
  const std::pair<HWND, const char*> tips[] = {
      {m_btnVideo, "Video"}, {m_btnPause, "Pause"},      {m_btnClose, "Close"}, {m_btnMinimize, "Minimize"},
      {m_btnHold, "Hold"},   {m_btnMore, "More"},        {m_btnFeedback, "Feedback"}, {m_btnPlay, "Play"},
      {m_btnStop, "Stop"},   {m_btnMute, "Mute"},        {m_btnNormal, "Normal"}, {m_btnLarge, "Large"},
  };
  for (const auto& tip : tips) {
    std::string text = texts.Get(tip.second);
    if (text.empty()) continue;
    TOOLINFOA info{};
    info.cbSize = sizeof info;
    info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    info.hwnd = m_hWnd;
    info.uId = reinterpret_cast<UINT_PTR>(tip.first);
    info.lpszText = &text[0];
    SendMessageA(m_tooltip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&info));
  }
  Relayout();
}

void CDlgVideoMain::Relayout() {
  RECT client;
  GetClientRect(m_hWnd, &client);
  const VideoLayout l = LayoutVideoWindow(client.right, client.bottom);
  if (!m_fullScreen) Place(m_video, l.content);
  Place(m_pictureHost, l.content);
  Place(m_statusHost, l.content);
  Place(m_btnVideo, l.tabVideo);
  Place(m_btnPic, l.tabPicture);
  Place(m_btnHold, l.hold);
  Place(m_btnMinimize, l.minimize);
  Place(m_btnNormal, l.normalLarge);
  Place(m_btnLarge, l.normalLarge);
  Place(m_btnClose, l.close);
  Place(m_btnPlay, l.playPause);
  Place(m_btnPause, l.playPause);
  Place(m_btnStop, l.stop);
  Place(m_btnMute, l.mute);
  Place(m_btnMore, l.more);
  Place(m_btnFeedback, l.feedback);
  InvalidateRect(m_hWnd, nullptr, FALSE);
}

void CDlgVideoMain::Paint(HDC target) {
  RECT client;
  GetClientRect(m_hWnd, &client);
  const int w = client.right, h = client.bottom;
  if (w <= 0 || h <= 0) return;
  zl::UniqueMemoryDc dc(CreateCompatibleDC(target));
  zl::UniqueBitmap canvas(CreateCompatibleBitmap(target, w, h));
  zl::SelectedObject chosen(dc.Get(), canvas.Get());
  zl::UniqueBrush back(CreateSolidBrush(RGB((m_settings.backColor >> 16) & 0xFF, (m_settings.backColor >> 8) & 0xFF,
                                            m_settings.backColor & 0xFF)));
  FillRect(dc.Get(), &client, back.Get());
  using namespace skin;
  SkinImages& s = *m_skin;
  s.Draw(dc.Get(), "top-mid.bmp", RECT{kTopLeftWidth, 0, w - kTopRightWidth, kTopHeight});
  s.Draw(dc.Get(), "top-left.bmp", RECT{0, 0, kTopLeftWidth, kTopHeight});
  s.Draw(dc.Get(), "top-right.bmp", RECT{w - kTopRightWidth, 0, w, kTopHeight});
  s.Draw(dc.Get(), "left-bk.bmp", RECT{0, kTopHeight, kBorder, h - kBottomHeight});
  s.Draw(dc.Get(), "right-bk.bmp", RECT{w - kBorder, kTopHeight, w, h - kBottomHeight});
  s.Draw(dc.Get(), "bottom.bmp", RECT{0, h - kBottomHeight, w, h});
  s.Draw(dc.Get(), "down-line.bmp", RECT{0, h - kBottomHeight, w, h - kBottomHeight + 2});
  const RECT pages{kBorder, kTopHeight, w - kBorder, h - kBottomHeight};
  FillRect(dc.Get(), &pages, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));

  const VideoLayout l = LayoutVideoWindow(w, h);
  // The progress bar: live only while a complete, seekable video plays.
  const P2PResource video = m_resources->Video();
  const bool live = m_videoPlaying && video.status == kStatusFinished && m_seekable && m_durationSeconds > 0;
  const RECT bar = ToRect(l.progress);
  if (live) {
    const int thumb = ProgressThumbLeft(m_playSeconds, m_durationSeconds, bar.left, bar.right - bar.left);
    s.Draw(dc.Get(), "progressbar-left.bmp", RECT{bar.left, bar.top, thumb, bar.bottom});
    s.Draw(dc.Get(), "progressbar-right.bmp", RECT{thumb, bar.top, bar.right, bar.bottom});
    s.Draw(dc.Get(), "progressbar-button.bmp", RECT{thumb, bar.top, thumb + kThumbWidth, bar.bottom});
  } else {
    s.Draw(dc.Get(), "progressbar-disable.bmp", bar);
    s.Draw(dc.Get(), "progressbar-button-disable.bmp", RECT{bar.left, bar.top, bar.left + kThumbWidth, bar.bottom});
  }
  // The volume bar: 4 px per step.
  const RECT vol = ToRect(l.volume);
  s.Draw(dc.Get(), "volume-back.bmp", vol);
  const int filled = m_settings.volumeValue * kVolumePixelsPerStep;
  if (filled > 0) s.DrawPart(dc.Get(), "volume-front.bmp", RECT{vol.left, vol.top, vol.left + filled, vol.bottom}, filled);
  const int knob = vol.left + filled - kVolumeThumbWidth / 2;
  const int knobTop = (vol.top + vol.bottom - kVolumeThumbHeight) / 2;
  s.Draw(dc.Get(), "volume-button.bmp", RECT{knob, knobTop, knob + kVolumeThumbWidth, knobTop + kVolumeThumbHeight});

  // The status line, white on the skin, and the time on its right.
  zl::UniqueFont font(CreateFontA(-12, 0, 0, 0, FW_NORMAL, 0, 0, 0, GB2312_CHARSET, OUT_DEFAULT_PRECIS,
                                  CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, "SimSun"));
  zl::SelectedObject withFont(dc.Get(), font.Get());
  SetBkMode(dc.Get(), TRANSPARENT);
  SetTextColor(dc.Get(), RGB(255, 255, 255));
  RECT status = ToRect(l.statusText);
  DrawTextA(dc.Get(), m_statusText.c_str(), -1, &status, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
  if (live) {
    RECT time = ToRect(l.timeText);
    const std::string text = TimeText(m_playSeconds, m_durationSeconds);
    DrawTextA(dc.Get(), text.c_str(), -1, &time, DT_RIGHT | DT_VCENTER | DT_SINGLELINE);
  }
  withFont.Restore();
  BitBlt(target, 0, 0, w, h, dc.Get(), 0, 0, SRCCOPY);
}

void CDlgVideoMain::RedrawStatus() {
  if (!m_hWnd) return;
  RECT client;
  GetClientRect(m_hWnd, &client);
  RECT panel{0, client.bottom - skin::kBottomHeight, client.right, client.bottom};
  InvalidateRect(m_hWnd, &panel, FALSE);
}

bool CDlgVideoMain::OnSetCursor() {
  POINT p;
  GetCursorPos(&p);
  ScreenToClient(m_hWnd, &p);
  RECT client;
  GetClientRect(m_hWnd, &client);
  switch (ResizeZoneAt(p.x, p.y, client.right, client.bottom)) {
    case ResizeZone::Corner:
      SetCursor(LoadCursor(nullptr, IDC_SIZENWSE));
      return true;
    case ResizeZone::Right:
      SetCursor(LoadCursor(nullptr, IDC_SIZEWE));
      return true;
    case ResizeZone::Bottom:
      SetCursor(LoadCursor(nullptr, IDC_SIZENS));
      return true;
    case ResizeZone::None:
      break;
  }
  const VideoLayout l = LayoutVideoWindow(client.right, client.bottom);
  SkinRect volume = l.volume;
  volume.top -= 3;
  volume.bottom += 3;
  if (l.progress.Contains(p.x, p.y) || volume.Contains(p.x, p.y)) {
    SetCursor(LoadCursor(nullptr, IDC_HAND));
    return true;
  }
  return false;
}

void CDlgVideoMain::OnLButtonDown(POINT p) {
  RECT client;
  GetClientRect(m_hWnd, &client);
  m_resizeZone = ResizeZoneAt(p.x, p.y, client.right, client.bottom);
  const VideoLayout l = LayoutVideoWindow(client.right, client.bottom);
  SkinRect volume = l.volume;
  volume.top -= 3;
  volume.bottom += 3;
  if (m_resizeZone != ResizeZone::None) {
    m_drag = Drag::Resize;
    GetCursorPos(&m_dragStart);
    RECT r;
    GetWindowRect(m_hWnd, &r);
    m_sizeAtStart = SIZE{r.right - r.left, r.bottom - r.top};
  } else if (l.progress.Contains(p.x, p.y)) {
    m_drag = Drag::Progress;
    OnProgressClick(p.x);
  } else if (volume.Contains(p.x, p.y)) {
    m_drag = Drag::Volume;
    OnVolumeClick(p.x);
  } else {
    // Anywhere else the window is moved by its skin.
    ReleaseCapture();
    SendMessageA(m_hWnd, WM_NCLBUTTONDOWN, HTCAPTION, 0);
    return;
  }
  SetCapture(m_hWnd);
}

void CDlgVideoMain::OnMouseMove(POINT p, WPARAM keys) {
  if (!(keys & MK_LBUTTON) || m_drag == Drag::None) return;
  switch (m_drag) {
    case Drag::Resize: {
      POINT now;
      GetCursorPos(&now);
      int width = m_sizeAtStart.cx, height = m_sizeAtStart.cy;
      if (m_resizeZone != ResizeZone::Bottom) width += now.x - m_dragStart.x;
      if (m_resizeZone != ResizeZone::Right) height += now.y - m_dragStart.y;
      if (width < m_settings.minWidth) width = m_settings.minWidth;
      if (height < m_settings.minHeight) height = m_settings.minHeight;
      SetWindowPos(m_hWnd, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
      break;
    }
    case Drag::Progress:
      OnProgressClick(p.x);
      break;
    case Drag::Volume:
      OnVolumeClick(p.x);
      break;
    case Drag::None:
      break;
  }
}

void CDlgVideoMain::OnLButtonUp() {
  if (m_drag == Drag::None) return;
  m_drag = Drag::None;
  ReleaseCapture();
}

void CDlgVideoMain::OnLButtonDblClk(POINT p, LPARAM raw) {
  if (raw == static_cast<LPARAM>(kVideoDoubleClickParam)) {
    ToggleFullScreen();
    return;
  }
  if (p.y >= 0 && p.y < kTopStripHeight)
    PostMessageA(m_hWnd, WM_COMMAND, TopStripCommand(m_settings.isNormalSize), 0);
}

void CDlgVideoMain::OnProgressClick(int x) {
  RECT client;
  GetClientRect(m_hWnd, &client);
  const SkinRect bar = LayoutVideoWindow(client.right, client.bottom).progress;
  const unsigned target = ProgressTarget(x, bar.left, bar.Width(), m_durationSeconds);
  if (target == m_progressTarget) return;
  m_progressTarget = target;
  if (m_videoPlaying && m_resources->Video().status == kStatusFinished) {
    m_playback->SetPosition(static_cast<long>(target));
    m_playSeconds = target;
  }
  RedrawStatus();
}

void CDlgVideoMain::OnVolumeClick(int x) {
  RECT client;
  GetClientRect(m_hWnd, &client);
  const SkinRect bar = LayoutVideoWindow(client.right, client.bottom).volume;
  const int value = VolumeValueFromClick(x, bar.left, bar.right);
  if (value == m_settings.volumeValue) return;
  m_settings.volumeValue = value;
  if (!m_settings.mute) ApplyVolume();
  RedrawStatus();
}

void CDlgVideoMain::OnHold() {
  m_settings.hold = !m_settings.hold;
  SetSkinButtonLatched(m_btnHold, m_settings.hold);
  SetWindowPos(m_hWnd, m_settings.hold ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  SaveVideoDlgSettings(m_configPath, m_settings);
}

void CDlgVideoMain::OnNormalSize() {
  const WindowPlace place = PlaceOnScreen({m_settings.normalX, m_settings.normalY, m_settings.normalWidth,
                                           m_settings.normalHeight},
                                          GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
  SetWindowPos(m_hWnd, nullptr, place.x, place.y, place.width, place.height, SWP_NOZORDER | SWP_NOACTIVATE);
  m_settings.isNormalSize = true;
  ShowWindow(m_btnNormal, SW_HIDE);
  ShowWindow(m_btnLarge, SW_SHOW);
}

void CDlgVideoMain::OnLargeSize() {
  RECT r;
  GetWindowRect(m_hWnd, &r);
  if (m_settings.isNormalSize) {
    m_settings.normalX = r.left;
    m_settings.normalY = r.top;
    m_settings.normalWidth = r.right - r.left;
    m_settings.normalHeight = r.bottom - r.top;
  }
  SetWindowPos(m_hWnd, nullptr, 0, 0, GetSystemMetrics(SM_CXMAXIMIZED) - 6, GetSystemMetrics(SM_CYMAXIMIZED) - 6,
               SWP_NOZORDER | SWP_NOACTIVATE);
  m_settings.isNormalSize = false;
  ShowWindow(m_btnLarge, SW_HIDE);
  ShowWindow(m_btnNormal, SW_SHOW);
}

void CDlgVideoMain::PlaceFromSettings() {
  const WindowPlace place = PlaceOnScreen({m_settings.x, m_settings.y, m_settings.width, m_settings.height},
                                          GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
  SetWindowPos(m_hWnd, nullptr, place.x, place.y, place.width, place.height,
               SWP_NOZORDER | SWP_NOACTIVATE);
  if (m_settings.normalX < 0 || m_settings.normalY < 0) {
    m_settings.normalX = place.x;
    m_settings.normalY = place.y;
  }
}

void CDlgVideoMain::RememberPlace() {
  WINDOWPLACEMENT placement{};
  placement.length = sizeof placement;
  if (!GetWindowPlacement(m_hWnd, &placement)) return;
  const RECT& r = placement.rcNormalPosition;
  m_settings.x = r.left;
  m_settings.y = r.top;
  m_settings.width = r.right - r.left;
  m_settings.height = r.bottom - r.top;
}

}  // namespace clipview
