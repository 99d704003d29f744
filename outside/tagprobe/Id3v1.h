#pragma once
// The 128-byte ID3v1 tag at the end of an MP3 file.
#include <cstddef>
#include <cstdint>

#include "SongNames.h"
#include "TextConverter.h"

namespace tagprobe {

constexpr size_t kId3v1Size = 128;

// `tail` is the last 128 bytes of the file.
bool HasId3v1(const uint8_t* tail, size_t n);
SongNames ReadId3v1(const uint8_t* tail, const TextConverter& conv);
// Puts the non-empty names (GBK, cut to the 30-byte fields without splitting a
// character) into the tag; empty names leave their field alone.
void PatchId3v1(uint8_t* tail, const SongNames& names);

}  // namespace tagprobe
