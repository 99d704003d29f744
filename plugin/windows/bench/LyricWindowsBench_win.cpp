// What the lyric windows cost the player: the player stand-in runs in this
// process with the real plug-in showing a 300-line lyric while a song plays,
// and this program measures its own CPU time and private memory against the
// same player without the plug-in.
//
//   lyric_windows_bench.exe [SECONDS [ROUNDS]]   (default 60 per phase, one round)
//
// Sets HKLM\SOFTWARE\ZOLYRIC\ZOLYRIC_HOME to a scratch home for its run and
// puts the old value back. Needs beside it: gen_zolyric.dll, LyricCore.dll,
// tagprobe.exe, lyricserver.exe, and the build's face and config folders.
#include <windows.h>
#include <psapi.h>
#include <tlhelp32.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "ChildProcess_win.h"
#include "CpuTimes_win.h"
#include "PlayerHost_win.h"
#include "Screenshot_win.h"

namespace {

std::string Beside(const std::string& name) { return testsupport::BesideMe(name); }

std::string BuildFolder() {
  std::string bin = Beside("");
  bin.pop_back();
  return bin.substr(0, bin.find_last_of('\\'));
}

void Write(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
}

void CopyTree(const std::string& from, const std::string& to) {
  CreateDirectoryA(to.c_str(), nullptr);
  WIN32_FIND_DATAA d;
  HANDLE f = FindFirstFileA((from + "\\*").c_str(), &d);
  if (f == INVALID_HANDLE_VALUE) return;
  do {
    const std::string n = d.cFileName;
    if (n == "." || n == "..") continue;
    if (d.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
      CopyTree(from + "\\" + n, to + "\\" + n);
    else
      CopyFileA((from + "\\" + n).c_str(), (to + "\\" + n).c_str(), FALSE);
  } while (FindNextFileA(f, &d));
  FindClose(f);
}

std::string Syncsafe(uint32_t n) {
  return std::string{static_cast<char>(n >> 21 & 0x7F), static_cast<char>(n >> 14 & 0x7F),
                     static_cast<char>(n >> 7 & 0x7F), static_cast<char>(n & 0x7F)};
}

std::string Frame(const char* id, const std::string& text) {
  const std::string body = std::string(1, '\0') + text;
  const uint32_t n = static_cast<uint32_t>(body.size());
  return std::string(id, 4) + std::string{static_cast<char>(n >> 24), static_cast<char>(n >> 16),
                                          static_cast<char>(n >> 8), static_cast<char>(n)} +
         std::string(2, '\0') + body;
}

// An mp3 file the tag tool reads artist and title from.
std::string TaggedSong(const std::string& artist, const std::string& title) {
  const std::string frames = Frame("TPE1", artist) + Frame("TIT2", title);
  return std::string("ID3\x03\x00\x00", 6) + Syncsafe(static_cast<uint32_t>(frames.size())) + frames +
         std::string(4096, '\0');
}

std::string Lyric300() {
  std::string lrc = "[ti:Bench Song]\r\n[ar:Bench Artist]\r\n";
  char line[128];
  for (int i = 0; i < 300; ++i) {
    const int ms = 5000 + i * 1500;
    std::snprintf(line, sizeof line, "[%02d:%02d.%02d]Line %03d of the benchmark lyric, sung along\r\n", ms / 60000,
                  ms / 1000 % 60, ms % 1000 / 10, i + 1);
    lrc += line;
  }
  return lrc;
}

bool SetHome(const std::string* value, std::string* previous) {
  HKEY key = nullptr;
  if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\ZOLYRIC", 0, nullptr, 0, KEY_READ | KEY_SET_VALUE, nullptr, &key,
                      nullptr) != ERROR_SUCCESS)
    return false;
  if (previous) {
    char buffer[MAX_PATH] = {};
    DWORD size = sizeof buffer;
    if (RegQueryValueExA(key, "ZOLYRIC_HOME", nullptr, nullptr, reinterpret_cast<BYTE*>(buffer), &size) == ERROR_SUCCESS)
      *previous = buffer;
  }
  if (value && !value->empty())
    RegSetValueExA(key, "ZOLYRIC_HOME", 0, REG_SZ, reinterpret_cast<const BYTE*>(value->c_str()),
                   static_cast<DWORD>(value->size() + 1));
  else
    RegDeleteValueA(key, "ZOLYRIC_HOME");
  RegCloseKey(key);
  return true;
}

// Committed private memory of this process, region by region.
double PrivateMegabytes() {
  SIZE_T total = 0;
  MEMORY_BASIC_INFORMATION m;
  for (char* p = nullptr; VirtualQuery(p, &m, sizeof m) == sizeof m; p = static_cast<char*>(m.BaseAddress) + m.RegionSize) {
    if (m.State == MEM_COMMIT && m.Type == MEM_PRIVATE) total += m.RegionSize;
    if (static_cast<char*>(m.BaseAddress) + m.RegionSize < p) break;
  }
  return total / 1048576.0;
}

// The same, counting only the pages that were ever touched. Wine commits a
// thread's whole stack when it starts, where Windows commits the pages a
// thread uses: this is the figure that compares with Windows' private bytes.
double TouchedPrivateMegabytes() {
  std::vector<PSAPI_WORKING_SET_EX_INFORMATION> pages;
  MEMORY_BASIC_INFORMATION m;
  for (char* p = nullptr; VirtualQuery(p, &m, sizeof m) == sizeof m; p = static_cast<char*>(m.BaseAddress) + m.RegionSize) {
    if (m.State == MEM_COMMIT && m.Type == MEM_PRIVATE)
      for (SIZE_T off = 0; off < m.RegionSize; off += 4096) {
        PSAPI_WORKING_SET_EX_INFORMATION info{};
        info.VirtualAddress = static_cast<char*>(m.BaseAddress) + off;
        pages.push_back(info);
      }
    if (static_cast<char*>(m.BaseAddress) + m.RegionSize < p) break;
  }
  if (pages.empty() ||
      !QueryWorkingSetEx(GetCurrentProcess(), pages.data(), static_cast<DWORD>(pages.size() * sizeof pages[0])))
    return -1;
  size_t touched = 0;
  for (const PSAPI_WORKING_SET_EX_INFORMATION& i : pages)
    if (i.VirtualAttributes.Valid) ++touched;
  return touched * 4096 / 1048576.0;
}

// ZL_BENCH_MEMORY=1 lists the committed private allocations of 256 KB and
// more, with the pages of each that were touched, and the thread count.
void ListPrivateAllocations(const char* name) {
  std::map<char*, std::pair<SIZE_T, SIZE_T>> byBase;  // committed, touched
  MEMORY_BASIC_INFORMATION m;
  for (char* p = nullptr; VirtualQuery(p, &m, sizeof m) == sizeof m; p = static_cast<char*>(m.BaseAddress) + m.RegionSize) {
    if (m.State == MEM_COMMIT && m.Type == MEM_PRIVATE) {
      auto& e = byBase[static_cast<char*>(m.AllocationBase)];
      e.first += m.RegionSize;
      for (SIZE_T off = 0; off < m.RegionSize; off += 4096) {
        PSAPI_WORKING_SET_EX_INFORMATION info{};
        info.VirtualAddress = static_cast<char*>(m.BaseAddress) + off;
        if (QueryWorkingSetEx(GetCurrentProcess(), &info, sizeof info) && info.VirtualAttributes.Valid)
          e.second += 4096;
      }
    }
    if (static_cast<char*>(m.BaseAddress) + m.RegionSize < p) break;
  }
  int threads = 0;
  HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
  THREADENTRY32 t{};
  t.dwSize = sizeof t;
  for (BOOL ok = Thread32First(snap, &t); ok; ok = Thread32Next(snap, &t))
    if (t.th32OwnerProcessID == GetCurrentProcessId()) ++threads;
  CloseHandle(snap);
  std::printf("%s: %d threads; private allocations of 256 KB and more:\n", name, threads);
  for (const auto& [base, sizes] : byBase)
    if (sizes.first >= 256 * 1024)
      std::printf("  %p: %8.1f KB committed, %8.1f KB touched\n", static_cast<void*>(base), sizes.first / 1024.0,
                  sizes.second / 1024.0);
}

// CPU seconds of every thread of this process, by thread id.
std::map<DWORD, double> ThreadSeconds() {
  std::map<DWORD, double> out;
  HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
  if (snap == INVALID_HANDLE_VALUE) return out;
  THREADENTRY32 e{};
  e.dwSize = sizeof e;
  for (BOOL ok = Thread32First(snap, &e); ok; ok = Thread32Next(snap, &e)) {
    if (e.th32OwnerProcessID != GetCurrentProcessId()) continue;
    HANDLE t = OpenThread(THREAD_QUERY_INFORMATION, FALSE, e.th32ThreadID);
    if (!t) continue;
    out[e.th32ThreadID] = bench::ThreadCpuSeconds(t);
    CloseHandle(t);
  }
  CloseHandle(snap);
  return out;
}

// This thread owns no window: it only waits, so that it adds nothing to what
// is measured.
void Pump(DWORD ms) { Sleep(ms); }

struct Phase {
  const char* name;
  double cpuPercent;
  double privateMb;
  double touchedMb;
};

enum class Show { MainWindow, MiniWindow, NoWindow };

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  const size_t n = v.size();
  return n == 0 ? 0 : n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

Phase Run(const char* name, const std::string& song, const std::string& plugins, Show show, int seconds) {
  playerhost::HostOptions options;
  options.playlist = {playerhost::PlaylistEntry{song, "Bench Song", 600}};
  options.playAtOnce = true;
  options.loadPlugins = !plugins.empty();
  options.pluginFolder = plugins;
  options.log = [](const std::string&) {};
  playerhost::CPlayerHost host;
  std::string error;
  if (!host.Start(options, error)) {
    std::fprintf(stderr, "%s: player did not start: %s\n", name, error.c_str());
    return Phase{name, -1, -1, -1};
  }
  // The song's lyric is fetched and the intro is over before measuring.
  Pump(12000);
  const bool mini = show == Show::MiniWindow;
  if (mini) {
    PostMessageA(host.MainWindow(), WM_COMMAND, 40904, 0);  // the player's minimise button
    Pump(3000);
  }
  const char* lyricClass = mini ? "ZoLyricMiniWindow" : "ZoLyricMainWindow";
  HWND lyric = FindWindowA(lyricClass, nullptr);
  if (show == Show::NoWindow) {
    // The lyric window's own close command: the rest of the plug-in runs on.
    PostMessageA(lyric, WM_COMMAND, 1, 0);
    Pump(1000);
    lyric = FindWindowA(lyricClass, nullptr);
    std::printf("%s: lyric window %s\n", name, lyric ? "STILL THERE" : "closed");
  } else if (!plugins.empty()) {
    std::printf("%s: lyric window %s\n", name, lyric && IsWindowVisible(lyric) ? "showing" : "NOT SHOWING");
  }
  const std::map<DWORD, double> threads0 = ThreadSeconds();
  const double cpu0 = bench::ProcessCpuSeconds();
  const DWORD t0 = GetTickCount();
  Pump(static_cast<DWORD>(seconds) * 1000);
  const double cpu = bench::ProcessCpuSeconds() - cpu0;
  const double wall = (GetTickCount() - t0) / 1000.0;
  // ZL_BENCH_THREADS=1 lists the threads' shares.
  if (getenv("ZL_BENCH_THREADS")) {
    for (const auto& [id, secs] : ThreadSeconds()) {
      const auto before = threads0.find(id);
      const double d = secs - (before == threads0.end() ? 0 : before->second);
      if (d > 0)
        std::printf("  thread %lu%s: %.3f %%\n", static_cast<unsigned long>(id),
                    id == host.UiThreadId() ? " (player UI)" : id == GetCurrentThreadId() ? " (bench)" : "",
                    100.0 * d / wall);
    }
  }
  if (lyric && show != Show::NoWindow) {
    // The player and the lyric beside it, as a person sees them.
    RECT player{}, window{};
    GetWindowRect(host.MainWindow(), &player);
    GetWindowRect(lyric, &window);
    RECT both{std::min(player.left, window.left), std::min(player.top, window.top),
              std::max(player.right, window.right), std::max(player.bottom, window.bottom)};
    if (mini) both = window;
    both.bottom = std::max(both.bottom, static_cast<LONG>(both.top + 40));
    SaveShot(CaptureScreen(both), mini ? "bench-mini" : "bench-main");
  }
  if (getenv("ZL_BENCH_MEMORY")) ListPrivateAllocations(name);
  const double privateMb = PrivateMegabytes();
  const double touchedMb = TouchedPrivateMegabytes();
  host.Close();
  return Phase{name, 100.0 * cpu / wall, privateMb, touchedMb};
}

// The player in its modern skin with the lyric window docked below its
// raised bottom, as a person sees them; not measured.
void ShootModern(const std::string& song, const std::string& plugins) {
  playerhost::HostOptions options;
  options.playlist = {playerhost::PlaylistEntry{song, "Bench Song", 600}};
  options.playAtOnce = true;
  options.pluginFolder = plugins;
  options.skinName = "Winamp Modern";
  options.log = [](const std::string&) {};
  playerhost::CPlayerHost host;
  std::string error;
  if (!host.Start(options, error)) {
    std::fprintf(stderr, "modern skin: player did not start: %s\n", error.c_str());
    return;
  }
  Pump(12000);
  const HWND lyric = FindWindowA("ZoLyricMainWindow", nullptr);
  const HWND player = host.ModernWindow() ? host.ModernWindow() : host.MainWindow();
  std::printf("plug-in, modern skin: lyric window %s\n", lyric && IsWindowVisible(lyric) ? "showing" : "NOT SHOWING");
  if (lyric) {
    RECT p{}, w{};
    GetWindowRect(player, &p);
    GetWindowRect(lyric, &w);
    std::printf("  player at (%ld, %ld)-(%ld, %ld), lyric window at (%ld, %ld)-(%ld, %ld)\n", p.left, p.top, p.right,
                p.bottom, w.left, w.top, w.right, w.bottom);
    SaveShot(CaptureScreen(RECT{std::min(p.left, w.left), std::min(p.top, w.top), std::max(p.right, w.right),
                                std::max(p.bottom, w.bottom)}),
             "bench-main-modern");
  }
  host.Close();
}

}  // namespace

int main(int argc, char** argv) {
  const int seconds = argc > 1 ? std::atoi(argv[1]) : 60;
  const int rounds = std::max(1, argc > 2 ? std::atoi(argv[2]) : 1);
  char temp[MAX_PATH] = {};
  GetTempPathA(sizeof temp, temp);
  const std::string root = std::string(temp) + "zlbench_" + std::to_string(GetCurrentProcessId());
  const std::string home = root + "\\home", library = root + "\\library", plugins = root + "\\Plugins";
  CreateDirectoryA(root.c_str(), nullptr);
  CreateDirectoryA(home.c_str(), nullptr);
  CopyTree(BuildFolder() + "\\image\\face", home + "\\face");
  CopyTree(BuildFolder() + "\\config", home + "\\config");
  CreateDirectoryA((home + "\\log").c_str(), nullptr);
  CopyFileA(Beside("LyricCore.dll").c_str(), (home + "\\LyricCore.dll").c_str(), FALSE);
  CopyFileA(Beside("tagprobe.exe").c_str(), (home + "\\tagprobe.exe").c_str(), FALSE);
  CreateDirectoryA(library.c_str(), nullptr);
  Write(library + "\\Bench Artist-Bench Song.lrc", Lyric300());
  CreateDirectoryA(plugins.c_str(), nullptr);
  CopyFileA(Beside("gen_zolyric.dll").c_str(), (plugins + "\\gen_zolyric.dll").c_str(), FALSE);
  const std::string song = root + "\\Bench Song.mp3";
  Write(song, TaggedSong("Bench Artist", "Bench Song"));
  Write(home + "\\conf.ini",
        "[PROXY]\r\nConType=0\r\n[CONFIG]\r\nRetryTime=5\r\n[Style]\r\nlyricSize=15\r\n"
        "[LYRIC_FONT]\r\nfacename=Tahoma\r\nrgb=12615680\r\nhighlightrgb=65280\r\n"
        "[BACK_GROUND]\r\nbktype=0\r\nbackpiclum=30\r\n");

  testsupport::ChildProcess server;
  int port = 0;
  if (!testsupport::StartServer(server, "lyricserver.exe", "--library \"" + library + "\"", port)) {
    std::fprintf(stderr, "lyric server stand-in did not start\n");
    return 1;
  }
  Write(home + "\\face\\zoc.img",
        "[LyricServer]\r\nlyricsvr=http://127.0.0.1:" + std::to_string(port) + "/lyric\r\n[Config]\r\nVersion=1.0\r\n");
  std::string previous;
  SetHome(&home, &previous);

  // Under Wine the whole-process figure moves by tenths of a percent from
  // phase to phase; rounds of all four phases give medians that hold still.
  std::printf("phases of %d s each, %d round(s)\n", seconds, rounds);
  std::vector<double> addedMain, addedMini, shareMain, shareMini, addedMb;
  // ZL_BENCH_ONLY=alone|main|mini|closed runs that one phase (for a profiler).
  if (const char* only = getenv("ZL_BENCH_ONLY")) {
    const std::string which = only;
    const Show show = which == "mini" ? Show::MiniWindow : which == "closed" ? Show::NoWindow : Show::MainWindow;
    const Phase p = Run(only, song, which == "alone" ? "" : plugins, show, seconds);
    std::printf("%s: CPU %.3f %% of one core\n", only, p.cpuPercent);
    SetHome(&previous, nullptr);
    server.Kill();
    return 0;
  }
  for (int round = 1; round <= rounds; ++round) {
    const Phase alone = Run("player alone", song, "", Show::NoWindow, seconds);
    const Phase main = Run("plug-in, main window", song, plugins, Show::MainWindow, seconds);
    const Phase mini = Run("plug-in, mini window", song, plugins, Show::MiniWindow, seconds);
    const Phase none = Run("plug-in, window closed", song, plugins, Show::NoWindow, seconds);
    std::printf("round %d\n", round);
    for (const Phase& p : {alone, main, mini, none})
      std::printf("%-22s CPU %6.3f %% of one core, private %7.2f MB committed, %7.2f MB touched\n", p.name,
                  p.cpuPercent, p.privateMb, p.touchedMb);
    std::printf("added by the plug-in: main window %.3f %% CPU, mini window %.3f %% CPU; "
                "private %.2f MB committed, %.2f MB touched\n",
                main.cpuPercent - alone.cpuPercent, mini.cpuPercent - alone.cpuPercent,
                main.privateMb - alone.privateMb, main.touchedMb - alone.touchedMb);
    std::printf("the lyric windows' share: main window %.3f %% CPU, mini window %.3f %% CPU\n",
                main.cpuPercent - none.cpuPercent, mini.cpuPercent - none.cpuPercent);
    addedMain.push_back(main.cpuPercent - alone.cpuPercent);
    addedMini.push_back(mini.cpuPercent - alone.cpuPercent);
    shareMain.push_back(main.cpuPercent - none.cpuPercent);
    shareMini.push_back(mini.cpuPercent - none.cpuPercent);
    addedMb.push_back(main.privateMb - alone.privateMb);
  }
  ShootModern(song, plugins);
  std::printf("medians of %d round(s): added main window %.3f %% CPU, mini window %.3f %% CPU, private %.2f MB; "
              "the windows' share main %.3f %%, mini %.3f %%\n",
              rounds, Median(addedMain), Median(addedMini), Median(addedMb), Median(shareMain), Median(shareMini));

  SetHome(&previous, nullptr);
  server.Kill();
  return 0;
}
