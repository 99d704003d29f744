#include "PluginSoak_win.h"

#include <psapi.h>

#include <random>
#include <string>
#include <vector>

#include "player/WinampIpcCodec.h"

namespace plugintest {

namespace wa = zl::winamp;

size_t ProcessHandles() {
  DWORD count = 0;
  if (GetProcessHandleCount(GetCurrentProcess(), &count) && count) return count;
  // Wine does not count them: probe the handle values it hands out.
  size_t probed = 0;
  for (ULONG_PTR value = 4; value < 0x40000; value += 4) {
    DWORD flags = 0;
    if (GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags)) ++probed;
  }
  return probed;
}

size_t ProcessPrivateBytes() {
  PROCESS_MEMORY_COUNTERS_EX counters{};
  counters.cb = sizeof counters;
  GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters), sizeof counters);
  // The commit charge: PrivateUsage on Windows, which Wine leaves 0 and
  // reports as PagefileUsage (the same value on Windows).
  return counters.PrivateUsage ? counters.PrivateUsage : counters.PagefileUsage;
}

namespace {

// The plug-in shows the playing song's lyric.
bool Settled(PluginTestbed& bed, const std::vector<std::string>& paths) {
  HWND player = bed.Host().MainWindow();
  return WaitFor(
      [&] {
        DWORD_PTR index = 0;
        if (!SendMessageTimeoutA(player, WM_USER, 0, wa::kIpcGetListPosition, SMTO_NORMAL, 2000, &index)) return false;
        const ZoLyricSnapshot s = bed.Snapshot();
        return index < paths.size() && s.status == 5 && paths[index] == s.tagPath;
      },
      20000);
}

}  // namespace

SoakFigures RunSoak(PluginTestbed& bed, unsigned changes, unsigned songs, unsigned randomStart, bool everyQuarter) {
  SoakFigures f;
  std::vector<playerhost::PlaylistEntry> list;
  std::vector<std::string> paths;
  for (unsigned i = 0; i < songs; ++i) {
    const std::string artist = "Artist" + std::to_string(i), title = "Title" + std::to_string(i);
    bed.AddLyric(artist, title, "[00:01.00]line of " + title + "\r\n[00:02.00]second\r\n");
    paths.push_back(bed.AddSong("song" + std::to_string(i) + ".mp3", artist, title));
    list.push_back({paths.back(), title, 240});
  }
  if (!bed.StartServer()) {
    f.responsive = false;
    return f;
  }
  PluginTimings t = FastTimings();
  t.songCheckMs = 10;
  t.changeSongPauseMs = 100;
  if (!bed.Start(list, t)) {
    f.responsive = false;
    return f;
  }
  HWND player = bed.Host().MainWindow();
  std::mt19937 random(randomStart);
  std::uniform_int_distribution<int> pause(0, 50);
  const ULONGLONG start = GetTickCount64();
  bed.Press(wa::kButtonPlay);
  for (unsigned i = 0; i < changes && f.responsive; ++i) {
    DWORD_PTR answer = 0;
    if (!SendMessageTimeoutA(player, WM_COMMAND, wa::kButtonNext, 0, SMTO_NORMAL, 5000, &answer))
      f.responsive = false;
    Sleep(static_cast<DWORD>(pause(random)));
    f.changes = i + 1;
    const bool quarter = changes >= 4 && f.changes % (changes / 4) == 0 && f.changes < changes;
    if (quarter && (everyQuarter || f.quarters.empty())) {
      f.responsive = f.responsive && Settled(bed, paths);
      f.quarters.emplace_back(ProcessHandles(), ProcessPrivateBytes());
      if (f.quarters.size() == 1) {
        f.warmHandles = f.quarters[0].first;
        f.warmPrivateBytes = f.quarters[0].second;
      }
    }
  }
  f.responsive = f.responsive && Settled(bed, paths);
  f.endHandles = ProcessHandles();
  f.endPrivateBytes = ProcessPrivateBytes();
  f.quarters.emplace_back(f.endHandles, f.endPrivateBytes);
  f.seconds = static_cast<double>(GetTickCount64() - start) / 1000.0;
  return f;
}

}  // namespace plugintest
