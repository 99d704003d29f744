#include "PluginHost_win.h"

#include <cstring>

#include "PluginParts_win.h"
#include "controller/UsageEvents.h"
#include "controller/WorkerStop_win.h"
#include "lyriccore/EngineThreads.h"
#include "shared/InstallHome.h"
#include "shared/Logger.h"

namespace {
constexpr char kEqualizerTitle[] = "Winamp Equalizer";
constexpr char kPlaylistTitle[] = "Winamp Playlist Editor";

void Explain(const char* why) {
  OutputDebugStringA("gen_zolyric: ");
  OutputDebugStringA(why);
  OutputDebugStringA("\n");
}
}  // namespace

WindowHook PluginHost::s_main, PluginHost::s_equalizer, PluginHost::s_playlist, PluginHost::s_modern;

PluginHost& PluginHost::Instance() {
  // Never destroyed: a hook left as a pass-through may still reach it.
  static PluginHost* host = new PluginHost;
  return *host;
}

void PluginHost::Log(const char* tag, const char* text) const {
  LogWrite(m_logPath.c_str(), LOG_KEYINFO, tag, "%s", text);
}

bool PluginHost::LoadEngine() {
  // Loading it by its full path first makes the delay-load helper find the
  // module already in the process, whatever the player's DLL search is.
  const std::string path = m_home + "\\LyricCore.dll";
  m_engine.Reset(LoadLibraryExA(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH));
  if (m_engine) return true;
  LogWrite(m_logPath.c_str(), LOG_FATAL, "Init", "LyricCore.dll cannot be loaded from %s (error %lu): plug-in stays off",
           path.c_str(), GetLastError());
  Explain("LyricCore.dll missing in the install home; the plug-in stays off");
  return false;
}

int PluginHost::StartUp(HWND player) {
  if (m_running) return 0;
  if (!ReadInstallHome(m_home)) {
    Explain("no install home registered (HKLM\\SOFTWARE\\ZOLYRIC\\ZOLYRIC_HOME); the plug-in stays off");
    return 0;
  }
  m_logPath = m_home + "\\log\\gen_zolyric.txt";
  Log("Init", "Enter Init");
  if (!LoadEngine()) return 0;
  m_playerWindow = player;

  m_player = std::make_shared<CZoLyric_WINAMP>(player, m_logPath);
  m_controller = std::make_unique<CLyric>(MakePluginParts(m_timings), m_timings);
  m_mvListener = m_controller->MvLink().Listener();

  m_player->AddListener(m_controller.get());
  if (m_mvListener) m_player->AddListener(m_mvListener);
  m_controller->SetPlayerControl(m_player.get());
  m_controller->SetPlayerQuery(m_player.get());
  if (m_mvListener) {
    m_mvListener->SetPlayerControl(m_player.get());
    m_mvListener->SetPlayerQuery(m_player.get());
  }

  // Bounded: a hung event-log service must not freeze the player's start.
  PostPluginEvent("StartUp", m_timings.usageEventWaitMs);

  m_check = std::make_shared<SongCheckState>();
  HookPlayerWindows();
  StartSongCheck();
  StartOncePerProcessThreads();
  m_running = true;
  Log("Init", "OUT Init");
  return 0;
}

void PluginHost::Config() {
  if (!m_logPath.empty()) Log("Config", "Enter Winamp General Plugin Config");
}

void PluginHost::ShutDown() {
  if (!m_running) return;
  Log("QUIT", "enter QUIT");
  m_controller->BeginQuit();
  StopSongCheck();
  m_player->RemoveAllListeners();
  // The controller's threads use the player object: they end before it goes.
  m_controller->Quit();
  m_controller->SetPlayerControl(nullptr);
  m_controller->SetPlayerQuery(nullptr);
  if (m_mvListener) {
    m_mvListener->SetPlayerControl(nullptr);
    m_mvListener->SetPlayerQuery(nullptr);
  }
  m_player.reset();
  PostPluginEvent("ShutDown", m_timings.usageEventWaitMs);
  m_mvListener = nullptr;
  m_controller.reset();
  UnhookPlayerWindows();
  // The player may unload the DLLs next: no thread of ours may be left in
  // them (and the last-exit check has written its flag before it is cleared).
  zl::DrainDetached(m_timings.drainMs);
  ZLyricDrainThreads(m_timings.drainMs);
  ClearPlayerRunningFlag();
  Log("Quit", "out Quit");
  m_check.reset();
  m_running = false;
}

bool PluginHost::Hook(WindowHook& hook, HWND window, WNDPROC proc) {
  if (!window || !IsWindow(window)) return false;
  // The saved procedure is in place before ours can be called.
  hook.saved.store(reinterpret_cast<WNDPROC>(GetWindowLongPtrA(window, GWLP_WNDPROC)));
  hook.window.store(window);
  SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(proc));
  return true;
}

void PluginHost::Unhook(WindowHook& hook, WNDPROC proc) {
  HWND window = hook.window.exchange(nullptr);
  if (!window || !IsWindow(window)) return;
  if (reinterpret_cast<WNDPROC>(GetWindowLongPtrA(window, GWLP_WNDPROC)) == proc) {
    SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(hook.saved.load()));
    return;
  }
  // Someone subclassed the window after us and calls our procedure: it
  // stays (passing everything on) and so must this module.
  HMODULE self = nullptr;
  GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                     reinterpret_cast<LPCSTR>(proc), &self);
}

void PluginHost::HookPlayerWindows() {
  Hook(s_main, m_playerWindow, ClassicWindowHook);
  Hook(s_equalizer, FindWindowA(nullptr, kEqualizerTitle), EqualizerWindowHook);
  Hook(s_playlist, FindWindowA(nullptr, kPlaylistTitle), PlaylistWindowHook);
}

void PluginHost::UnhookPlayerWindows() {
  Unhook(s_main, ClassicWindowHook);
  Unhook(s_equalizer, EqualizerWindowHook);
  Unhook(s_playlist, PlaylistWindowHook);
  Unhook(s_modern, ModernWindowHook);
}

void PluginHost::StartSongCheck() {
  const DWORD uiThread = GetCurrentThreadId();
  m_checkWorker.Start([check = m_check, player = m_player, controller = m_controller.get(), uiThread,
                       timings = m_timings, log = m_logPath] {
    RunSongCheck(check, player, controller, uiThread, timings, log);
  });
}

void PluginHost::StopSongCheck() {
  // A round may be inside OnChangeSong, which waits for the previous song's
  // threads: it gets the time those may take before it is terminated.
  std::shared_ptr<SongCheckState> check = m_check;
  StopWorker(
      m_checkWorker, [check] { SetEvent(check->stop.Get()); }, 4 * m_timings.threadStopGraceMs);
}

void PluginHost::StartOncePerProcessThreads() {
  static std::atomic<bool> started{false};
  if (started.exchange(true)) return;
  StartUpdateCheck(m_home, m_logPath);
  StartLastExitCheck();
}

bool PluginHost::Snapshot(ZoLyricSnapshot& out) {
  if (out.size != sizeof out) return false;
  std::memset(reinterpret_cast<char*>(&out) + sizeof out.size, 0, sizeof out - sizeof out.size);
  out.running = m_running ? 1 : 0;
  out.hooked = s_main.window.load() != nullptr;
  out.modernHooked = s_modern.window.load() != nullptr;
  if (!m_controller) return true;
  LyricViewState& view = m_controller->View();
  out.status = static_cast<int32_t>(view.Status());
  {
    std::unique_lock hold(view.DrawLock());
    out.sentenceCount = static_cast<uint32_t>(view.Sentences().size());
    if (!view.Sentences().empty())
      std::memcpy(out.firstSentence, view.Sentences()[0].text, sizeof out.firstSentence);
    out.stripCount = static_cast<uint32_t>(view.Strip().size());
  }
  const LyricTagInfo tags = view.TagInfo();
  std::memcpy(out.tagPath, tags.path, sizeof out.tagPath);
  const LyricMessage message = view.Message();
  std::memcpy(out.message, message.text, sizeof out.message);
  out.messageCode = message.code;
  const ControllerStats& s = m_controller->Stats();
  out.songChanges = s.songChanges;
  out.changeSongCancelled = s.changeSongCancelled;
  out.releases = s.releases;
  out.fetches = s.fetches;
  out.prefetches = s.prefetches;
  out.viewUpdates = s.viewUpdates;
  out.wrongSongDrops = s.wrongSongDrops;
  out.terminations = s.terminations;
  out.lastChangeTick = s.lastChangeTick;
  out.lastReadyTick = s.lastReadyTick;
  return true;
}
