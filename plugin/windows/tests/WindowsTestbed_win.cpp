#include "WindowsTestbed_win.h"

#include <cstdio>

#include "controller/PlainParts_win.h"
#include "view/LyricViewShared.h"

namespace {

// The build folder holds what the installation puts below the home.
std::string BuildFolder() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, sizeof path);
  std::string s(path);
  s = s.substr(0, s.find_last_of('\\'));
  return s.substr(0, s.find_last_of('\\'));
}

void CopyTree(const std::string& from, const std::string& to) {
  CreateDirectoryA(to.c_str(), nullptr);
  WIN32_FIND_DATAA data;
  zl::UniqueFind find(FindFirstFileA((from + "\\*").c_str(), &data));
  if (!find) return;
  do {
    const std::string name = data.cFileName;
    if (name == "." || name == "..") continue;
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
      CopyTree(from + "\\" + name, to + "\\" + name);
    else
      CopyFileA((from + "\\" + name).c_str(), (to + "\\" + name).c_str(), FALSE);
  } while (FindNextFileA(find.Get(), &data));
}

void RemoveTree(const std::string& folder) {
  WIN32_FIND_DATAA data;
  {
    zl::UniqueFind find(FindFirstFileA((folder + "\\*").c_str(), &data));
    if (find) {
      do {
        const std::string name = data.cFileName;
        if (name == "." || name == "..") continue;
        const std::string path = folder + "\\" + name;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
          RemoveTree(path);
        else
          DeleteFileA(path.c_str());
      } while (FindNextFileA(find.Get(), &data));
    }
  }
  RemoveDirectoryA(folder.c_str());
}

}  // namespace

ScratchHome::ScratchHome() {
  char base[MAX_PATH] = {};
  GetTempPathA(sizeof base, base);
  m_path = std::string(base) + "zlwin_" + std::to_string(GetCurrentProcessId()) + "_" + std::to_string(GetTickCount());
  CreateDirectoryA(m_path.c_str(), nullptr);
  CopyTree(BuildFolder() + "\\image\\face", m_path + "\\face");
  CopyTree(BuildFolder() + "\\config", m_path + "\\config");
}

ScratchHome::~ScratchHome() { RemoveTree(m_path); }

FakeController::FakeController(const std::string& home, CZoLyric_WINAMP* player, ILyricWindows* windows)
    : m_home(home),
      m_player(player),
      m_windows(windows),
      m_dialogs(MakePlainLyricDialogs()),
      m_mv(MakePlainMvLink()) {}

void FakeController::OnTimerPaint(HWND window) {
  zl::Lock hold(m_view.DrawLock());
  m_windows->PaintLyric(window);
}

WindowsTestbed::WindowsTestbed(bool showPlayer) {
  ResetLyricViewProcessWide();
  playerhost::HostOptions options;
  options.playlist = {playerhost::PlaylistEntry{"C:\\Music\\Test Song.mp3", "Test Song", 240}};
  options.loadPlugins = false;
  options.showWindows = showPlayer;
  options.log = [](const std::string&) {};
  std::string error;
  if (!m_host.Start(options, error)) std::fprintf(stderr, "player stand-in: %s\n", error.c_str());
  m_player = std::make_unique<CZoLyric_WINAMP>(m_host.MainWindow(), "");
  RestartWindows();
}

WindowsTestbed::~WindowsTestbed() {
  m_windows.reset();
  m_controller.reset();
  m_player.reset();
  m_host.Close();
}

void WindowsTestbed::RestartWindows() {
  m_windows.reset();
  auto windows = std::make_unique<SkinnedLyricWindows>();
  auto controller = std::make_unique<FakeController>(m_home.Path(), m_player.get(), windows.get());
  if (m_controller) {
    // The same settings and lyric go on.
    controller->Settings().Modify([this](zl::LyricSettings& s) { s = m_controller->Settings().Values(); });
  }
  m_controller = std::move(controller);
  m_windows = std::move(windows);
  m_windows->Attach(m_controller.get());
}

void WindowsTestbed::Pump(DWORD ms) {
  PumpUntil([] { return false; }, ms);
}

bool WindowsTestbed::PumpUntil(const std::function<bool()>& done, DWORD ms) {
  const DWORD start = GetTickCount();
  for (;;) {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    if (done()) return true;
    const DWORD spent = GetTickCount() - start;
    if (spent >= ms) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, std::min<DWORD>(ms - spent, 10), QS_ALLINPUT);
  }
}

void WindowsTestbed::UsePlainLook(bool karaoke, int scrollType) {
  m_controller->Settings().Modify([&](zl::LyricSettings& s) {
    s.font.facename = "Tahoma";
    s.font.UserDefineFont = true;
    s.font.height = -16;
    s.font.weight = 700;
    s.font.rgb = 0xC08000;
    s.font.highlightrgb = 0x00FF00;
    s.font.bktype = 2;
    s.font.backcolor = RGB(24, 28, 40);
    s.font.backpiclum = 30;
    s.font.IsKalaOk = karaoke;
    s.font.scrollType = scrollType;
  });
}

std::vector<TimeSentence> WindowsTestbed::TestLyric(int count) {
  std::vector<TimeSentence> lyric;
  for (int i = 0; i < count; ++i) {
    TimeSentence s{};
    s.startTime = 10000 + 4000 * i;
    s.endTime = s.startTime + 4000;
    std::snprintf(s.text, sizeof s.text, "Line %02d of the song", i + 1);
    lyric.push_back(s);
  }
  return lyric;
}

void WindowsTestbed::ShowLyric(const std::vector<TimeSentence>& lyric, const char* message) {
  LyricViewState& view = View();
  view.SetLyricSentences(&lyric);
  view.SetMessage(message, 0, 10);
  view.SetStatus(LyricViewStatus::LyricReady);
}

void WindowsTestbed::PaintAt(HWND window, int position, int cycles) {
  m_controller->position.store(position);
  for (int i = 0; i < cycles; ++i) {
    if (m_windows->Main() && window == m_windows->Main()->Handle()) m_windows->Main()->Draw().RequestFullRepaint();
    if (m_windows->Mini() && window == m_windows->Mini()->Handle()) m_windows->Mini()->Draw().RequestFullRepaint();
    m_controller->OnTimerPaint(window);
    Pump(20);
  }
}

RECT ScreenRectOf(HWND window, const ViewRect& client) {
  POINT a{client.left, client.top};
  POINT b{client.right, client.bottom};
  ClientToScreen(window, &a);
  ClientToScreen(window, &b);
  return RECT{a.x, a.y, b.x, b.y};
}

RECT InWindowShot(HWND window, const ViewRect& client) {
  RECT w{};
  GetWindowRect(window, &w);
  const RECT s = ScreenRectOf(window, client);
  return RECT{s.left - w.left, s.top - w.top, s.right - w.left, s.bottom - w.top};
}
