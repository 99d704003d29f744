#pragma once
// The stand-in recognition engine's fingerprint of a song: computed over the
// audio part of the file only (tags at either end left out), so that
// rewriting the tags leaves it as it was, and songs with other audio get
// other prints. Shared by fpmatch.exe and the recognition-server stand-in,
// which both stand for the same outside service. Platform-neutral.
#include <cstddef>
#include <cstdint>
#include <string>

namespace fpmatch {

constexpr size_t kPrintWords = 256;

// Where the audio lies in the file's bytes: after an ID3v2 tag (with its
// footer) or an ASF header object, before an ID3v1 tag.
struct AudioPart {
  size_t begin = 0;
  size_t end = 0;
  std::string format;  // "mp3", "wma" or "audio"
};
AudioPart FindAudioPart(const std::string& fileBytes);

struct SongPrint {
  uint32_t words[kPrintWords] = {};  // never 0: a 0 word means "not computed"
  uint32_t signature[2] = {};        // FNV-1a of the audio, its length
  int32_t audioBytes = 0;            // clamped to 32 bits
  int32_t audioStart = 0;
  std::string format;
};

// False when the file holds no audio bytes at all.
bool PrintSong(const std::string& fileBytes, SongPrint& print);

// How many of the words agree, place by place.
size_t AgreeingWords(const uint32_t (&a)[kPrintWords], const uint32_t (&b)[kPrintWords]);

}  // namespace fpmatch
