#pragma once
// Song changes at random short intervals against the plug-in in the player
// stand-in: whether it stays responsive and whether its handles and private
// bytes stay steady once warm.
#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

#include "PluginTestbed_win.h"

namespace plugintest {

struct SoakFigures {
  unsigned changes = 0;
  bool responsive = true;  // every button answered and every song settled
  size_t warmHandles = 0, endHandles = 0;
  size_t warmPrivateBytes = 0, endPrivateBytes = 0;
  double seconds = 0;
  // Handles and private bytes at each quarter (after settling), for the record.
  std::vector<std::pair<size_t, size_t>> quarters;
};

// Starts the player with `songs` songs whose lyrics are on the server,
// presses Next `changes` times at random 0-50 ms intervals, and measures
// the process after a quarter of them and at the end (each time once the
// plug-in has settled on the playing song); with everyQuarter also after a
// half and three quarters.
SoakFigures RunSoak(PluginTestbed& bed, unsigned changes, unsigned songs, unsigned randomStart, bool everyQuarter = false);

size_t ProcessHandles();
size_t ProcessPrivateBytes();

}  // namespace plugintest
