// The stand-in's windows and message loop (its UI thread).
#include <cstdio>

#include "HostState_win.h"
#include "PlayerMessages.h"

namespace playerhost {
namespace {

constexpr char kMainClass[] = "Winamp v1.x";
constexpr char kEqualizerClass[] = "PlayerHostEqualizer";
constexpr char kPlaylistClass[] = "PlayerHostPlaylist";
constexpr char kModernClass[] = "PlayerHostModernSkin";
constexpr char kEqualizerTitle[] = "Winamp Equalizer";
constexpr char kPlaylistTitle[] = "Winamp Playlist Editor";

// The player's windows are skinned, captionless windows that draw their own
// title strip (which also keeps Wine from waiting on a window manager).
constexpr int kStripHeight = 16;
constexpr UINT kCmdMinimize = 40904;
constexpr UINT kCmdHideWindow = 40905;

constexpr UINT_PTR kRefreshTimer = 1;
constexpr UINT_PTR kHangTimer = 2;
constexpr UINT kRefreshMs = 100;
constexpr int kPlaylistBoxId = 100;

HostState* StateOf(HWND hwnd) {
  return reinterpret_cast<HostState*>(::GetWindowLongPtrA(hwnd, GWLP_USERDATA));
}

std::string WindowText(HWND w) {
  char text[512] = {};
  ::GetWindowTextA(w, text, sizeof text);
  return text;
}

std::string FormatTime(int ms) {
  if (ms < 0) return "--:--";
  char text[32];
  std::snprintf(text, sizeof text, "%02d:%02d", ms / 60000, (ms / 1000) % 60);
  return text;
}

std::string StatusLine(PlayerModel& model) {
  PlaybackClock& clock = model.Clock();
  if (clock.Count() == 0) return "Playlist empty";
  const char* state = "Stopped";
  switch (clock.State()) {
    case PlayState::Playing: state = "Playing"; break;
    case PlayState::Paused: state = "Paused"; break;
    case PlayState::Stopped: break;
  }
  char line[128];
  std::snprintf(line, sizeof line, "%s  %s / %s   [%d/%u]  %s", state,
                FormatTime(clock.PositionMs()).c_str(), FormatTime(clock.LengthSec() * 1000).c_str(),
                clock.Index() + 1, static_cast<unsigned>(clock.Count()),
                model.IsModernSkin() ? "modern skin" : "classic skin");
  return line;
}

void FillPlaylistBox(HostState* s) {
  if (!s->playlistBox) return;
  std::vector<std::string> lines;
  int current = 0;
  {
    zl::Lock lock(s->modelMutex);
    PlaybackClock& clock = s->model->Clock();
    current = clock.Index();
    int n = 1;
    for (const PlaylistEntry& e : clock.Entries()) {
      lines.push_back(std::to_string(n++) + ". " + e.title + "  (" + FormatTime(e.lengthSec * 1000) + ")");
    }
  }
  ::SendMessageA(s->playlistBox, LB_RESETCONTENT, 0, 0);
  for (const std::string& line : lines) {
    ::SendMessageA(s->playlistBox, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
  }
  if (!lines.empty()) ::SendMessageA(s->playlistBox, LB_SETCURSEL, static_cast<WPARAM>(current), 0);
}

// Brings the window title, status line and playlist view up to date.
void Refresh(HostState* s) {
  HWND main = s->mainWindow.load();
  if (!main) return;
  std::string title;
  uint64_t generation;
  {
    zl::Lock lock(s->modelMutex);
    title = s->model->MainWindowTitle();
    generation = s->model->Clock().Generation();
  }
  if (title != s->shownTitle) {
    s->shownTitle = title;
    ::SetWindowTextA(main, title.c_str());
    if (HWND modern = s->modernWindow.load()) {
      ::SetWindowTextA(modern, title.c_str());
      ::InvalidateRect(modern, nullptr, TRUE);
    }
  }
  if (generation != s->shownGeneration) {
    s->shownGeneration = generation;
    FillPlaylistBox(s);
  }
  RECT status = {0, 0, 4000, kStripHeight + 20};
  ::InvalidateRect(main, &status, TRUE);
}

HWND CreateTopLevel(HostState* s, const char* cls, const char* title, int x, int y, int w, int h,
                    bool visible) {
  const DWORD style = WS_POPUP | WS_BORDER | WS_SYSMENU | WS_MINIMIZEBOX | (visible ? WS_VISIBLE : 0);
  return ::CreateWindowExA(0, cls, title, style, x, y, w, h, nullptr, nullptr,
                           ::GetModuleHandleA(nullptr), s);
}

void AddButton(HWND parent, const char* text, UINT id, int x, int y, int w, int h) {
  ::CreateWindowExA(0, "BUTTON", text, WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, x, y, w, h, parent,
                    reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), ::GetModuleHandleA(nullptr),
                    nullptr);
}

// The title strip with the window's text, and a close button at its right.
void AddStripButtons(HWND w, UINT closeId) {
  RECT rc;
  ::GetClientRect(w, &rc);
  AddButton(w, "x", closeId, rc.right - kStripHeight, 0, kStripHeight, kStripHeight);
}

void PaintStrip(HWND hwnd, HDC dc) {
  RECT rc;
  ::GetClientRect(hwnd, &rc);
  rc.bottom = kStripHeight;
  ::FillRect(dc, &rc, ::GetSysColorBrush(COLOR_ACTIVECAPTION));
  const std::string title = WindowText(hwnd);
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, ::GetSysColor(COLOR_CAPTIONTEXT));
  HGDIOBJ old = ::SelectObject(dc, ::GetStockObject(DEFAULT_GUI_FONT));
  ::TextOutA(dc, 4, 1, title.c_str(), static_cast<int>(title.size()));
  ::SelectObject(dc, old);
}

// Dragging the title strip moves the window.
LRESULT HitTest(HWND hwnd, WPARAM wParam, LPARAM lParam) {
  const LRESULT hit = ::DefWindowProcA(hwnd, WM_NCHITTEST, wParam, lParam);
  if (hit != HTCLIENT) return hit;
  POINT pt = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
  ::ScreenToClient(hwnd, &pt);
  return pt.y < kStripHeight ? HTCAPTION : hit;
}

// The modern skin has a main window of its own; the classic windows stay.
void ApplySkin(HostState* s) {
  bool modern;
  {
    zl::Lock lock(s->modelMutex);
    modern = s->model->IsModernSkin();
  }
  HWND existing = s->modernWindow.load();
  if (modern && !existing) {
    HWND w = CreateTopLevel(s, kModernClass, s->shownTitle.empty() ? "Winamp" : s->shownTitle.c_str(),
                            420, 100, 300, 160, s->options.showWindows);
    s->modernWindow = w;
    zl::Lock lock(s->modelMutex);
    s->model->SetModernWindow(reinterpret_cast<uintptr_t>(w));
  } else if (!modern && existing) {
    s->modernWindow = nullptr;
    {
      zl::Lock lock(s->modelMutex);
      s->model->SetModernWindow(0);
    }
    ::DestroyWindow(existing);
  }
}

void ToggleVisible(HWND w) {
  if (w) ::ShowWindow(w, ::IsWindowVisible(w) ? SW_HIDE : SW_SHOWNOACTIVATE);
}

void BeginHang(HostState* s, int ms) {
  s->hung = true;
  ++s->hangsStarted;
  s->Log("not answering for " + std::to_string(ms) + " ms");
  // Sleep, not a wait that pumps: messages sent meanwhile stay unanswered.
  ::Sleep(static_cast<DWORD>(ms));
  s->hung = false;
}

// Closing: plug-ins' quit while every window still exists, then the windows.
void ClosePlayer(HostState* s, HWND main) {
  if (s->closing) return;
  s->closing = true;
  s->plugins.QuitAll([s](const std::string& line) { s->Log(line); });
  ::KillTimer(main, kRefreshTimer);
  ::KillTimer(main, kHangTimer);
  if (HWND w = s->modernWindow.exchange(nullptr)) ::DestroyWindow(w);
  if (HWND w = s->equalizerWindow.exchange(nullptr)) ::DestroyWindow(w);
  if (HWND w = s->playlistWindow.exchange(nullptr)) ::DestroyWindow(w);
  ::DestroyWindow(main);
}

void PaintMain(HostState* s, HWND hwnd) {
  PAINTSTRUCT ps;
  HDC dc = ::BeginPaint(hwnd, &ps);
  PaintStrip(hwnd, dc);
  std::string line;
  {
    zl::Lock lock(s->modelMutex);
    line = StatusLine(*s->model);
  }
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, ::GetSysColor(COLOR_BTNTEXT));
  HGDIOBJ old = ::SelectObject(dc, ::GetStockObject(DEFAULT_GUI_FONT));
  ::TextOutA(dc, 6, kStripHeight + 4, line.c_str(), static_cast<int>(line.size()));
  ::SelectObject(dc, old);
  ::EndPaint(hwnd, &ps);
}

LRESULT OnMainCommand(HostState* s, HWND hwnd, WPARAM wParam, LPARAM lParam) {
  const UINT id = LOWORD(wParam);
  if (id == kCmdClose) {
    // Through WM_CLOSE, so that whoever watches the window sees it close.
    ::SendMessageA(hwnd, WM_CLOSE, 0, 0);
    return 0;
  }
  if (id == kCmdMinimize) {
    ::ShowWindow(hwnd, SW_MINIMIZE);
    return 0;
  }
  if (id == kCmdToggleEqualizer) {
    ToggleVisible(s->equalizerWindow.load());
  } else if (id == kCmdTogglePlaylist) {
    ToggleVisible(s->playlistWindow.load());
  } else if (id == kCmdToggleSkin) {
    {
      zl::Lock lock(s->modelMutex);
      s->model->SetSkinName(s->model->IsModernSkin() ? s->options.skinName : "Winamp Modern");
    }
    ApplySkin(s);
  } else {
    bool handled;
    {
      zl::Lock lock(s->modelMutex);
      handled = s->model->Command(id);
    }
    if (!handled) return ::DefWindowProcA(hwnd, WM_COMMAND, wParam, lParam);
  }
  Refresh(s);
  return 0;
}

void CreateButtons(HWND main) {
  struct Button {
    const char* text;
    UINT id;
  };
  static const Button buttons[] = {
      {"|<", kCmdPrevious}, {">", kCmdPlay},          {"||", kCmdPause},
      {"[]", kCmdStop},     {">|", kCmdNext},         {"EQ", kCmdToggleEqualizer},
      {"PL", kCmdTogglePlaylist}, {"Skin", kCmdToggleSkin},
  };
  int x = 6;
  for (const Button& b : buttons) {
    AddButton(main, b.text, b.id, x, kStripHeight + 24, 34, 24);
    x += 36;
  }
  AddStripButtons(main, kCmdClose);
  RECT rc;
  ::GetClientRect(main, &rc);
  AddButton(main, "_", kCmdMinimize, rc.right - 2 * kStripHeight, 0, kStripHeight, kStripHeight);
}

LRESULT CALLBACK MainProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_NCCREATE) {
    auto* cs = reinterpret_cast<CREATESTRUCTA*>(lParam);
    ::SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
  }
  HostState* s = StateOf(hwnd);
  if (!s) return ::DefWindowProcA(hwnd, msg, wParam, lParam);
  switch (msg) {
    case WM_USER: {
      zl::Lock lock(s->modelMutex);
      return static_cast<LRESULT>(s->model->AnswerUser(wParam, lParam));
    }
    case WM_COMMAND: return OnMainCommand(s, hwnd, wParam, lParam);
    case WM_TIMER:
      if (wParam == kHangTimer) {
        ::KillTimer(hwnd, kHangTimer);
        BeginHang(s, s->options.hangForMs);
      }
      Refresh(s);
      return 0;
    case WM_PAINT: PaintMain(s, hwnd); return 0;
    case WM_NCHITTEST: return HitTest(hwnd, wParam, lParam);
    case WM_HOST_HANG: BeginHang(s, static_cast<int>(wParam)); return 0;
    case WM_HOST_SET_SKIN: {
      {
        zl::Lock lock(s->modelMutex);
        s->model->SetSkinName(*reinterpret_cast<const std::string*>(lParam));
      }
      ApplySkin(s);
      return 0;
    }
    case WM_HOST_SHOW_WINDOWS:
      if (HWND w = s->equalizerWindow.load()) ::ShowWindow(w, wParam ? SW_SHOWNOACTIVATE : SW_HIDE);
      if (HWND w = s->playlistWindow.load()) ::ShowWindow(w, lParam ? SW_SHOWNOACTIVATE : SW_HIDE);
      return 0;
    case WM_HOST_CONFIG_PLUGIN: return s->plugins.Config(wParam) ? 1 : 0;
    case WM_CLOSE: ClosePlayer(s, hwnd); return 0;
    case WM_DESTROY:
      s->mainWindow = nullptr;
      ::PostQuitMessage(0);
      return 0;
    default: return ::DefWindowProcA(hwnd, msg, wParam, lParam);
  }
}

// Equalizer, playlist editor and modern-skin windows: closing one only hides it.
LRESULT CALLBACK SecondaryProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_NCCREATE) {
    auto* cs = reinterpret_cast<CREATESTRUCTA*>(lParam);
    ::SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
  }
  HostState* s = StateOf(hwnd);
  switch (msg) {
    case WM_CLOSE: ::ShowWindow(hwnd, SW_HIDE); return 0;
    case WM_NCHITTEST: return HitTest(hwnd, wParam, lParam);
    case WM_PAINT: {
      PAINTSTRUCT ps;
      PaintStrip(hwnd, ::BeginPaint(hwnd, &ps));
      ::EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_SIZE:
      if (s && s->playlistBox && ::GetParent(s->playlistBox) == hwnd) {
        const int h = HIWORD(lParam) > kStripHeight ? HIWORD(lParam) - kStripHeight : 0;
        ::MoveWindow(s->playlistBox, 0, kStripHeight, LOWORD(lParam), h, TRUE);
      }
      return 0;
    case WM_COMMAND:
      if (LOWORD(wParam) == kCmdHideWindow) {
        ::ShowWindow(hwnd, SW_HIDE);
        return 0;
      }
      // The modern window's buttons are the player's buttons.
      if (s && hwnd == s->modernWindow.load()) {
        if (HWND main = s->mainWindow.load()) return ::SendMessageA(main, WM_COMMAND, wParam, lParam);
      }
      return 0;
    default: return ::DefWindowProcA(hwnd, msg, wParam, lParam);
  }
}

bool RegisterClasses(std::string& error) {
  static std::once_flag once;
  static bool ok = false;
  static DWORD lastError = 0;
  std::call_once(once, [] {
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof wc;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.hCursor = ::LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpfnWndProc = MainProc;
    wc.lpszClassName = kMainClass;
    ok = ::RegisterClassExA(&wc) != 0;
    wc.lpfnWndProc = SecondaryProc;
    for (const char* cls : {kEqualizerClass, kPlaylistClass, kModernClass}) {
      wc.lpszClassName = cls;
      ok = ok && ::RegisterClassExA(&wc) != 0;
    }
    if (!ok) lastError = ::GetLastError();
  });
  if (!ok) error = "cannot register the window classes (error " + std::to_string(lastError) + ")";
  return ok;
}

}  // namespace

void RunPlayerUi(HostState* s, std::promise<std::string> ready) {
  s->uiThreadId = ::GetCurrentThreadId();
  std::string error;
  if (!RegisterClasses(error)) {
    ready.set_value(error);
    return;
  }
  HWND main = CreateTopLevel(s, kMainClass, "Winamp", 100, 100, 300, 72, s->options.showWindows);
  if (!main) {
    ready.set_value("cannot create the main window (error " + std::to_string(::GetLastError()) + ")");
    return;
  }
  s->mainWindow = main;
  CreateButtons(main);
  HWND equalizer = CreateTopLevel(s, kEqualizerClass, kEqualizerTitle, 100, 172, 300, 116, s->options.showWindows);
  s->equalizerWindow = equalizer;
  if (equalizer) AddStripButtons(equalizer, kCmdHideWindow);
  HWND playlist = CreateTopLevel(s, kPlaylistClass, kPlaylistTitle, 100, 288, 300, 200, s->options.showWindows);
  s->playlistWindow = playlist;
  if (playlist) {
    AddStripButtons(playlist, kCmdHideWindow);
    RECT rc;
    ::GetClientRect(playlist, &rc);
    s->playlistBox = ::CreateWindowExA(
        0, "LISTBOX", "", WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_NOINTEGRALHEIGHT, 0, kStripHeight,
        rc.right, rc.bottom - kStripHeight, playlist, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(kPlaylistBoxId)),
        ::GetModuleHandleA(nullptr), nullptr);
  }
  {
    zl::Lock lock(s->modelMutex);
    if (s->options.playAtOnce) s->model->Clock().Play();
  }
  Refresh(s);
  ApplySkin(s);
  ::SetTimer(main, kRefreshTimer, kRefreshMs, nullptr);
  if (s->options.hangForMs > 0) {
    ::SetTimer(main, kHangTimer, static_cast<UINT>(s->options.hangAfterMs), nullptr);
  }
  s->running = true;

  if (s->options.loadPlugins) {
    const std::string folder =
        s->options.pluginFolder.empty() ? DefaultPluginFolder() : s->options.pluginFolder;
    s->plugins.LoadAll(folder, main, [s](const std::string& line) { s->Log(line); });
    zl::Lock lock(s->namesMutex);
    s->pluginNames = s->plugins.Names();
  }
  ready.set_value(std::string());

  MSG msg;
  while (::GetMessageA(&msg, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&msg);
    ::DispatchMessageA(&msg);
  }
  // Only now: a plug-in's code may still be on the stack of a window
  // procedure until the windows are gone.
  s->plugins.UnloadAll();
  s->running = false;
}

}  // namespace playerhost
