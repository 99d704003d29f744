#include "AudioPrint.h"

#include <limits>

namespace fpmatch {

namespace {

constexpr uint32_t kFnvOffset = 2166136261u;
constexpr uint32_t kFnvPrime = 16777619u;
const char kAsfHeaderGuid[] = "\x30\x26\xB2\x75\x8E\x66\xCF\x11";

uint32_t Fnv1a(const std::string& bytes, size_t begin, size_t end, uint32_t h = kFnvOffset) {
  for (size_t i = begin; i < end; ++i) {
    h ^= static_cast<unsigned char>(bytes[i]);
    h *= kFnvPrime;
  }
  return h;
}

unsigned Byte(const std::string& s, size_t i) { return static_cast<unsigned char>(s[i]); }

int32_t Clamp(size_t v) {
  return v > static_cast<size_t>(std::numeric_limits<int32_t>::max()) ? std::numeric_limits<int32_t>::max()
                                                                      : static_cast<int32_t>(v);
}

}  // namespace

AudioPart FindAudioPart(const std::string& f) {
  AudioPart part;
  part.end = f.size();
  part.format = "audio";
  if (f.size() >= 10 && f.compare(0, 3, "ID3") == 0 && !((Byte(f, 6) | Byte(f, 7) | Byte(f, 8) | Byte(f, 9)) & 0x80)) {
    const size_t body = (Byte(f, 6) << 21) | (Byte(f, 7) << 14) | (Byte(f, 8) << 7) | Byte(f, 9);
    const size_t tag = 10 + body + ((Byte(f, 5) & 0x10) ? 10 : 0);
    part.begin = tag < f.size() ? tag : f.size();
    part.format = "mp3";
  } else if (f.size() >= 24 && f.compare(0, 8, kAsfHeaderGuid, 8) == 0) {
    uint64_t size = 0;
    for (int i = 7; i >= 0; --i) size = (size << 8) | Byte(f, 16 + static_cast<size_t>(i));
    // The data object's own 50-byte head comes before the packets.
    part.begin = size + 50 < f.size() ? static_cast<size_t>(size + 50) : f.size();
    part.format = "wma";
  }
  if (part.end - part.begin >= 128 && f.compare(part.end - 128, 3, "TAG") == 0) {
    part.end -= 128;
    if (part.format == "audio") part.format = "mp3";
  }
  return part;
}

bool PrintSong(const std::string& fileBytes, SongPrint& print) {
  print = SongPrint();
  const AudioPart part = FindAudioPart(fileBytes);
  if (part.end <= part.begin) return false;
  const size_t length = part.end - part.begin;
  for (size_t i = 0; i < kPrintWords; ++i) {
    const size_t from = part.begin + length * i / kPrintWords;
    const size_t to = part.begin + length * (i + 1) / kPrintWords;
    uint32_t w = Fnv1a(fileBytes, from, to, kFnvOffset ^ static_cast<uint32_t>(i * 0x9E3779B9u));
    print.words[i] = w ? w : 1;
  }
  print.signature[0] = Fnv1a(fileBytes, part.begin, part.end);
  print.signature[1] = static_cast<uint32_t>(length);
  print.audioBytes = Clamp(length);
  print.audioStart = Clamp(part.begin);
  print.format = part.format;
  return true;
}

size_t AgreeingWords(const uint32_t (&a)[kPrintWords], const uint32_t (&b)[kPrintWords]) {
  size_t n = 0;
  for (size_t i = 0; i < kPrintWords; ++i) n += a[i] == b[i];
  return n;
}

}  // namespace fpmatch
