// plugin_bench: the real plug-in in the player stand-in, with the product's
// waits. Prints the time from a song change to the song's lyric in the view
// state (server hit and local hit), then runs the soak of song changes.
//   scripts/wine-run build/win64 build/win64/bin/plugin_bench.exe [CHANGES]
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "PluginSoak_win.h"
#include "PluginTestbed_win.h"
#include "player/WinampIpcCodec.h"

using namespace plugintest;
namespace wa = zl::winamp;

namespace {

constexpr int kSongs = 10;

// Ms from the song change to the lyric in the view, or -1.
long ChangeToReady(PluginTestbed& bed, unsigned button, const std::string& path) {
  const uint32_t before = bed.Snapshot().lastChangeTick;
  bed.Press(button);
  ZoLyricSnapshot s{};
  const bool ready = bed.WaitSnapshot(
      [&](const ZoLyricSnapshot& x) {
        s = x;
        return x.status == 5 && path == x.tagPath && x.lastChangeTick != before && x.lastReadyTick >= x.lastChangeTick;
      },
      20000);
  return ready ? static_cast<long>(s.lastReadyTick - s.lastChangeTick) : -1;
}

void Report(const char* what, std::vector<long> ms) {
  std::sort(ms.begin(), ms.end());
  if (ms.empty() || ms.front() < 0) {
    std::printf("%-28s failed\n", what);
    return;
  }
  long sum = 0;
  for (long m : ms) sum += m;
  std::printf("%-28s median %ld ms, mean %ld ms, max %ld ms (%u runs)\n", what, ms[ms.size() / 2],
              sum / static_cast<long>(ms.size()), ms.back(), static_cast<unsigned>(ms.size()));
}

void Latency() {
  PluginTestbed bed;
  std::vector<playerhost::PlaylistEntry> list;
  for (int i = 0; i < kSongs; ++i) {
    const std::string artist = "Singer" + std::to_string(i), title = "Song" + std::to_string(i);
    bed.AddLyric(artist, title, "[00:01.00]one\r\n[00:02.00]two\r\n[00:03.00]three\r\n");
    list.push_back({bed.AddSong("s" + std::to_string(i) + ".mp3", artist, title), title, 240});
  }
  if (!bed.StartServer() || !bed.Start(list, PluginTimings())) {
    std::puts("cannot start the player with the plug-in");
    return;
  }
  std::vector<long> server, local;
  server.push_back(ChangeToReady(bed, wa::kButtonPlay, list[0].path));
  for (int i = 1; i < kSongs; ++i) server.push_back(ChangeToReady(bed, wa::kButtonNext, list[i].path));
  for (int i = kSongs - 2; i >= 0; --i) local.push_back(ChangeToReady(bed, wa::kButtonPrevious, list[i].path));
  Report("change to lyric, server hit", server);
  Report("change to lyric, local hit", local);
}

}  // namespace

int main(int argc, char** argv) {
  const unsigned changes = argc > 1 ? static_cast<unsigned>(std::strtoul(argv[1], nullptr, 10)) : 10000;
  Latency();
  PluginTestbed bed;
  const SoakFigures f = RunSoak(bed, changes, 5, 20240601, true);
  std::printf("soak: %u changes in %.1f s, %s\n", f.changes, f.seconds, f.responsive ? "responsive" : "NOT RESPONSIVE");
  std::printf("soak: handles %u warm, %u end; private bytes %.1f MB warm, %.1f MB end\n",
              static_cast<unsigned>(f.warmHandles), static_cast<unsigned>(f.endHandles),
              f.warmPrivateBytes / 1048576.0, f.endPrivateBytes / 1048576.0);
  for (size_t i = 0; i < f.quarters.size(); ++i)
    std::printf("soak: after %u%%: %u handles, %.2f MB\n", static_cast<unsigned>(25 * (i + 1)),
                static_cast<unsigned>(f.quarters[i].first), f.quarters[i].second / 1048576.0);
  return f.responsive ? 0 : 1;
}
