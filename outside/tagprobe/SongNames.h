#pragma once
// The three names the engine asks about, in GBK.
#include <string>

namespace tagprobe {

struct SongNames {
  std::string title, artist, album;
  bool Any() const { return !title.empty() || !artist.empty() || !album.empty(); }
};

}  // namespace tagprobe
