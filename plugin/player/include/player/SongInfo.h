#pragma once
// The player's record of one song, as the player query interface fills it.
#include <cstddef>
#include <cstdint>

struct SongInfo {
  char path[512];    // NUL-terminated; empty: no song
  char title[256];
  char artist[256];
  char album[256];
  int32_t kbps;
  int32_t duration;  // ms
};
static_assert(sizeof(SongInfo) == 1288, "SongInfo is shared by the plug-in's parts");
static_assert(offsetof(SongInfo, path) == 0, "layout");
static_assert(offsetof(SongInfo, title) == 512, "layout");
static_assert(offsetof(SongInfo, artist) == 768, "layout");
static_assert(offsetof(SongInfo, album) == 1024, "layout");
static_assert(offsetof(SongInfo, kbps) == 1280, "layout");
static_assert(offsetof(SongInfo, duration) == 1284, "layout");
