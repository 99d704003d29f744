#include "PlayerHost_win.h"

#include <chrono>
#include <cstdio>

#include "GbkChars.h"
#include "HostState_win.h"
#include "PlayerMessages.h"

namespace playerhost {

void HostState::Log(const std::string& line) const {
  if (options.log) {
    options.log(line);
  } else {
    std::fprintf(stderr, "playerhost: %s\n", line.c_str());
    std::fflush(stderr);
  }
}

std::string DefaultPluginFolder() {
  char path[MAX_PATH * 2] = {};
  const DWORD n = ::GetModuleFileNameA(nullptr, path, sizeof path);
  std::string program(path, n < sizeof path ? n : 0);
  const size_t slash = LastSeparator(program);
  return (slash == std::string::npos ? std::string() : program.substr(0, slash + 1)) + "Plugins";
}

CPlayerHost::CPlayerHost() : state_(new HostState) {}

CPlayerHost::~CPlayerHost() { Close(); }

zl::CriticalSection& CPlayerHost::ModelMutex() { return state_->modelMutex; }
PlayerModel& CPlayerHost::Model() { return *state_->model; }

bool CPlayerHost::Start(HostOptions options, std::string& error) {
  if (state_->ui.joinable()) {
    error = "the player is already running";
    return false;
  }
  HostState* s = state_.get();
  s->options = std::move(options);
  s->model.reset(new PlayerModel(s->options.clock, s->options.defaultLengthSec));
  s->model->Clock().SetRepeat(s->options.repeat);
  s->model->SetSkinName(s->options.skinName);
  for (const PlaylistEntry& e : s->options.playlist) s->model->Clock().Append(e);

  std::promise<std::string> ready;
  std::future<std::string> result = ready.get_future();
  s->ui = std::thread(RunPlayerUi, s, std::move(ready));
  error = result.get();
  if (!error.empty()) {
    s->ui.join();
    return false;
  }
  return true;
}

void CPlayerHost::Close() {
  if (!state_->ui.joinable()) return;
  if (HWND main = state_->mainWindow.load()) ::PostMessageA(main, WM_COMMAND, kCmdClose, 0);
  state_->ui.join();
}

void CPlayerHost::WaitClosed() {
  if (state_->ui.joinable()) state_->ui.join();
}

bool CPlayerHost::IsRunning() const { return state_->running.load(); }
HWND CPlayerHost::MainWindow() const { return state_->mainWindow.load(); }
HWND CPlayerHost::EqualizerWindow() const { return state_->equalizerWindow.load(); }
HWND CPlayerHost::PlaylistWindow() const { return state_->playlistWindow.load(); }
HWND CPlayerHost::ModernWindow() const { return state_->modernWindow.load(); }
DWORD CPlayerHost::UiThreadId() const { return state_->uiThreadId.load(); }
bool CPlayerHost::IsHung() const { return state_->hung.load(); }

bool CPlayerHost::Hang(int ms) {
  HWND main = state_->mainWindow.load();
  if (!main || ms <= 0) return false;
  const unsigned before = state_->hangsStarted.load();
  if (!::PostMessageA(main, WM_HOST_HANG, static_cast<WPARAM>(ms), 0)) return false;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (state_->hangsStarted.load() == before) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    ::Sleep(2);
  }
  return true;
}

void CPlayerHost::SetSkinName(const std::string& name) {
  if (HWND main = state_->mainWindow.load()) {
    ::SendMessageA(main, WM_HOST_SET_SKIN, 0, reinterpret_cast<LPARAM>(&name));
  }
}

void CPlayerHost::ShowSecondaryWindows(bool equalizer, bool playlist) {
  if (HWND main = state_->mainWindow.load()) {
    ::SendMessageA(main, WM_HOST_SHOW_WINDOWS, equalizer ? 1 : 0, playlist ? 1 : 0);
  }
}

bool CPlayerHost::ConfigPlugin(size_t index) {
  HWND main = state_->mainWindow.load();
  return main && ::SendMessageA(main, WM_HOST_CONFIG_PLUGIN, index, 0) == 1;
}

std::vector<std::string> CPlayerHost::PluginNames() const {
  zl::Lock lock(state_->namesMutex);
  return state_->pluginNames;
}

}  // namespace playerhost
