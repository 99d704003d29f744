// The plain lyric windows: undecorated top-level windows that run the view's
// layout every repaint and draw its lines with plain GDI.
#include <atomic>
#include <string>

#include "controller/LyricController.h"
#include "controller/PlainParts_win.h"
#include "controller/UiDispatcher_win.h"
#include "settings/SettingsStore.h"
#include "shared/InstallHome.h"
#include "shared/Logger.h"
#include "shared/Ownership.h"
#include "view/DrawLyricLayout.h"

namespace {

constexpr char kClassName[] = "ZoLyricPlainWindow";
constexpr UINT kMainRepaintMs = 300;
constexpr UINT kMiniRepaintMs = 30;

HINSTANCE ThisModule() {
  HMODULE module = nullptr;
  GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCSTR>(&ThisModule), &module);
  return module;
}

class PlainLyricWindows : public ILyricWindows {
 public:
  PlainLyricWindows() {
    WNDCLASSA wc{};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = ThisModule();
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    wc.lpszClassName = kClassName;
    RegisterClassA(&wc);
  }
  ~PlainLyricWindows() override {
    m_main.Reset();
    m_mini.Reset();
    UnregisterClassA(kClassName, ThisModule());
  }

  void Attach(ILyricController* controller) override { m_owner = controller; }

  bool EnsureMainWindow() override {
    m_ui.Run([this] {
      if (m_main) return;
      m_main.Reset(Create("ZoLyric", 420, 100, 320, 260, false));
      if (!m_miniShown.load()) Show(m_main.Get(), kMainRepaintMs);
    });
    return HasMainWindow();
  }
  bool HasMainWindow() const override { return m_mainHandle.load() != nullptr; }
  HWND MainWindow() const override { return m_mainHandle.load(); }
  HWND MiniWindow() const override { return m_miniHandle.load(); }

  void ShowMainWindow() override {
    m_ui.Run([this] {
      if (!m_main) m_main.Reset(Create("ZoLyric", 420, 100, 320, 260, false));
      Show(m_main.Get(), kMainRepaintMs);
    });
  }
  void HideMainWindow() override {
    m_ui.Run([this] { Hide(m_main.Get()); });
  }
  void ShowMiniWindow() override {
    m_ui.Run([this] {
      if (!m_mini) m_mini.Reset(Create((HostPlayerName() + "Mini").c_str(), 420, 40, 300, 48, true));
      Show(m_mini.Get(), kMiniRepaintMs);
      m_miniShown.store(true);
    });
  }
  void HideMiniWindow() override {
    m_ui.Run([this] {
      Hide(m_mini.Get());
      m_miniShown.store(false);
    });
  }
  bool MiniWindowShown() const override { return m_miniShown.load(); }

  void CloseMainWindow() override {
    if (HWND w = m_mainHandle.load()) PostMessageA(w, WM_COMMAND, lyricwin::kCommandClose, 0);
  }
  void PostMainCommand(unsigned id) override {
    if (HWND w = m_mainHandle.load()) PostMessageA(w, WM_COMMAND, id, 0);
  }
  void SetMainTimer(UINT_PTR id, UINT ms) override {
    m_ui.Run([this, id, ms] {
      if (m_main) SetTimer(m_main.Get(), id, ms, nullptr);
    });
  }
  void KillMainTimer(UINT_PTR id) override {
    m_ui.Run([this, id] {
      if (m_main) KillTimer(m_main.Get(), id);
    });
  }
  void RefreshPlayControls(int) override {}

  void PaintLyric(HWND window) override;

  void OnSkinChanged(const char* skinName) override {
    if (m_owner) LogWrite(m_owner->LogPath(), LOG_KEYINFO, "PlainLyricWindows", "skin %s", skinName ? skinName : "");
  }
  void OnPlayerWindowMessage(PlayerWindowKind, HWND, UINT, WPARAM, LPARAM) override {}

 private:
  HWND Create(const char* title, int x, int y, int w, int h, bool mini) {
    HWND window = CreateWindowExA(WS_EX_TOOLWINDOW, kClassName, title, WS_POPUP | WS_CAPTION | WS_THICKFRAME, x, y,
                                  w, h, nullptr, nullptr, ThisModule(), this);
    (mini ? m_miniHandle : m_mainHandle).store(window);
    return window;
  }
  static void Show(HWND window, UINT repaintMs) {
    if (!window) return;
    ShowWindow(window, SW_SHOWNOACTIVATE);
    SetTimer(window, lyricwin::kRepaintTimer, repaintMs, nullptr);
  }
  static void Hide(HWND window) {
    if (!window) return;
    KillTimer(window, lyricwin::kRepaintTimer);
    ShowWindow(window, SW_HIDE);
  }
  HFONT FontFor(const LyricTextStyle& style);
  static LRESULT CALLBACK WindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
  LRESULT Handle(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);

  UiDispatcher m_ui;
  ILyricController* m_owner = nullptr;
  zl::UniqueWindow m_main;
  zl::UniqueWindow m_mini;
  std::atomic<HWND> m_mainHandle{nullptr};
  std::atomic<HWND> m_miniHandle{nullptr};
  std::atomic<bool> m_miniShown{false};
  DrawLyricLayout m_layout;
  zl::UniqueFont m_font;
  std::string m_fontKey;
};

HFONT PlainLyricWindows::FontFor(const LyricTextStyle& style) {
  const std::string key = std::string(style.face) + "/" + std::to_string(style.fontHeight) + "/" +
                          std::to_string(style.weight) + (style.italic ? "i" : "") + (style.underline ? "u" : "");
  if (key != m_fontKey || !m_font) {
    m_font.Reset(CreateFontA(-style.fontHeight, 0, 0, 0, style.weight, style.italic, style.underline, 0,
                             GB2312_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                             DEFAULT_PITCH, style.face));
    m_fontKey = key;
  }
  return m_font.Get();
}

void PlainLyricWindows::PaintLyric(HWND window) {
  if (!m_owner || !window) return;
  RECT client;
  GetClientRect(window, &client);
  LyricViewState& view = m_owner->View();
  m_layout.SetLyricStatus(&view);
  m_layout.SetDrawConfig(&m_owner->Settings().DrawConfig());
  LyricCycleInput in;
  in.hasUpdateRegion = GetUpdateRect(window, nullptr, FALSE) != FALSE;
  in.now = GetTickCount();
  in.lyricRect = {client.left, client.top, client.right, client.bottom};
  in.position = m_owner->GetPlayPosition();
  const LyricFrame& frame = m_layout.RunCycle(in);
  ValidateRect(window, nullptr);
  if (!frame.redraw) return;

  zl::WindowDc screen(window);
  zl::UniqueMemoryDc dc(CreateCompatibleDC(screen.Get()));
  zl::UniqueBitmap bitmap(CreateCompatibleBitmap(screen.Get(), client.right, client.bottom));
  zl::SelectedObject selectBitmap(dc.Get(), bitmap.Get());
  zl::UniqueBrush background(CreateSolidBrush(frame.background));
  FillRect(dc.Get(), &client, background.Get());
  SetBkMode(dc.Get(), TRANSPARENT);
  zl::SelectedObject selectFont(dc.Get(), FontFor(frame.style));
  if (frame.drawText) {
    const TitleLine& title = frame.lines.title;
    if (!IsAllZero(title.rect)) {
      RECT r{title.rect.left, title.rect.top, title.rect.right, title.rect.bottom};
      SetTextColor(dc.Get(), title.color);
      DrawTextA(dc.Get(), frame.message, -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    }
    const std::vector<TimeSentence>& sentences = view.Sentences();
    for (const LyricLinePlacement& line : frame.lines.lines) {
      if (line.index < 1 || static_cast<size_t>(line.index) > sentences.size()) continue;
      RECT r{line.rect.left, line.rect.top, line.rect.right, line.rect.bottom};
      SetTextColor(dc.Get(), line.color);
      const UINT align = frame.oneLine ? DT_LEFT | DT_BOTTOM : DT_CENTER | DT_VCENTER;
      DrawTextA(dc.Get(), sentences[static_cast<size_t>(line.index) - 1].text, -1, &r,
                align | DT_SINGLELINE | DT_NOPREFIX);
    }
  }
  BitBlt(screen.Get(), 0, 0, client.right, client.bottom, dc.Get(), 0, 0, SRCCOPY);
}

LRESULT CALLBACK PlainLyricWindows::WindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* self = reinterpret_cast<PlainLyricWindows*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (!self) return DefWindowProcA(window, msg, wParam, lParam);
  try {
    return self->Handle(window, msg, wParam, lParam);
  } catch (...) {
    return 0;
  }
}

LRESULT PlainLyricWindows::Handle(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (m_owner && window == m_miniHandle.load()) {
    LRESULT result = 0;
    if (m_owner->MvLink().OnMiniWindowMessage(window, msg, wParam, lParam, result)) return result;
  }
  switch (msg) {
    case WM_TIMER:
      if (!m_owner) break;
      if (wParam == lyricwin::kRepaintTimer)
        m_owner->OnTimerPaint(window);
      else
        m_owner->OnTimer(window, wParam);
      return 0;
    case WM_COMMAND:
      if (LOWORD(wParam) == lyricwin::kCommandClose) {
        if (window == m_main.Get()) m_main.Reset();
        return 0;
      }
      if (m_owner) m_owner->OnCommand(window, LOWORD(wParam));
      return 0;
    case WM_MOUSEWHEEL:
      if (m_owner) m_owner->OnMouseWheel(window, wParam);
      return 0;
    case WM_RBUTTONUP:
      if (m_owner) m_owner->OnRButtonUp(window, POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))});
      return 0;
    case WM_PAINT:
      m_layout.RequestFullRepaint();
      ValidateRect(window, nullptr);
      return 0;
    case WM_CLOSE:
      Hide(window);
      return 0;
    case WM_DESTROY:
      if (window == m_mainHandle.load()) m_mainHandle.store(nullptr);
      if (window == m_miniHandle.load()) m_miniHandle.store(nullptr);
      SetWindowLongPtrA(window, GWLP_USERDATA, 0);
      break;
    default:
      break;
  }
  return DefWindowProcA(window, msg, wParam, lParam);
}

}  // namespace

std::unique_ptr<ILyricWindows> MakePlainLyricWindows() { return std::make_unique<PlainLyricWindows>(); }
