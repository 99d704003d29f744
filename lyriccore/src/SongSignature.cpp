#include "SongSignature.h"

#include <cctype>
#include <cstdio>
#include <cstring>
#include <vector>

#include "shared/GbkPath.h"

namespace zl {

namespace {

constexpr uint32_t kPrime = 16777619u;
constexpr uint64_t kEdgeBytes = 10240;
constexpr uint64_t kSampleBytes = 1024;
constexpr int kSamples = 10;
constexpr size_t kId3HeaderBytes = 10;
constexpr uint64_t kId3v1Bytes = 128;
constexpr size_t kNamesLimit = 259;
constexpr uint32_t kSkipPerKbps = 4480;
constexpr uint32_t kReadPerKbps = 384;
constexpr size_t kAsfObjectHead = 16 + 8;  // object id, 64-bit size

std::FILE* AsFile(void* f) { return static_cast<std::FILE*>(f); }

bool SeekTo(std::FILE* f, uint64_t offset) {
#ifdef _WIN32
  return _fseeki64(f, static_cast<__int64>(offset), SEEK_SET) == 0;
#else
  return fseeko(f, static_cast<off_t>(offset), SEEK_SET) == 0;
#endif
}

bool SizeOf(std::FILE* f, uint64_t& size) {
#ifdef _WIN32
  if (_fseeki64(f, 0, SEEK_END) != 0) return false;
  const __int64 end = _ftelli64(f);
#else
  if (fseeko(f, 0, SEEK_END) != 0) return false;
  const off_t end = ftello(f);
#endif
  if (end < 0) return false;
  size = static_cast<uint64_t>(end);
  return true;
}

bool ReadExactly(const ByteSource& s, uint64_t offset, void* buffer, size_t n) {
  size_t got = 0;
  return s.ReadAt(offset, buffer, n, got) && got == n;
}

uint32_t Le32(const unsigned char* p) {
  return uint32_t{p[0]} | (uint32_t{p[1]} << 8) | (uint32_t{p[2]} << 16) | (uint32_t{p[3]} << 24);
}

uint64_t Le64(const unsigned char* p) { return uint64_t{Le32(p)} | (uint64_t{Le32(p + 4)} << 32); }

// "ID3", major version 2 to 4, no unknown flags and no unsynchronisation.
bool Id3v2Length(const unsigned char* h, uint64_t& length) {
  if (std::memcmp(h, "ID3", 3) != 0 || h[3] < 2 || h[3] > 4) return false;
  const unsigned char flags = h[5];
  if ((flags & 0x0F) != 0 || (flags & 0x80) != 0) return false;
  const uint64_t size = (uint64_t{h[6] & 0x7Fu} << 21) | (uint64_t{h[7] & 0x7Fu} << 14) |
                        (uint64_t{h[8] & 0x7Fu} << 7) | uint64_t{h[9] & 0x7Fu};
  length = kId3HeaderBytes + size + ((flags & 0x10) ? kId3HeaderBytes : 0);
  return true;
}

bool EqualsNoCase(const std::string& a, const char* b) {
  if (a.size() != std::strlen(b)) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) != b[i]) return false;
  return true;
}

}  // namespace

FileByteSource::FileByteSource(const std::string& path) {
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return;
  if (!SizeOf(f, size_)) {
    std::fclose(f);
    return;
  }
  file_ = f;
}

FileByteSource::~FileByteSource() {
  if (file_) std::fclose(AsFile(file_));
}

bool FileByteSource::ReadAt(uint64_t offset, void* buffer, size_t n, size_t& got) const {
  got = 0;
  if (!file_ || !SeekTo(AsFile(file_), offset)) return false;
  got = std::fread(buffer, 1, n, AsFile(file_));
  return !std::ferror(AsFile(file_));
}

void FoldBytePairs(const unsigned char* bytes, size_t n, uint32_t& h1, uint32_t& h2) {
  for (size_t i = 0; i + 1 < n; i += 2) {
    h1 = (h1 * kPrime) ^ bytes[i];
    h2 = (h2 * kPrime) ^ bytes[i + 1];
  }
}

bool SignatureRegion(const ByteSource& song, bool isMp3, uint64_t& begin, uint64_t& end) {
  const uint64_t size = song.Size();
  begin = 0;
  end = size;
  if (isMp3) {
    unsigned char head[kId3HeaderBytes];
    uint64_t tag = 0;
    if (size >= kId3HeaderBytes && ReadExactly(song, 0, head, sizeof head) && Id3v2Length(head, tag) &&
        tag < size)
      begin = tag;
    unsigned char tail[3];
    if (size > kId3v1Bytes && ReadExactly(song, size - kId3v1Bytes, tail, sizeof tail) &&
        std::memcmp(tail, "TAG", 3) == 0)
      end = size - kId3v1Bytes;
  }
  return begin < end;
}

bool FileSignature(const ByteSource& song, bool isMp3, uint32_t& h1, uint32_t& h2) {
  h1 = h2 = 0;
  uint64_t begin = 0, end = 0;
  if (!SignatureRegion(song, isMp3, begin, end)) return false;
  uint64_t length = end - begin;
  if (length > kEdgeBytes) {
    begin += kEdgeBytes;
    length -= kEdgeBytes;
    if (length > kEdgeBytes) length -= kEdgeBytes;
  }
  std::vector<unsigned char> buffer;
  if (length >= kEdgeBytes) {
    const uint64_t step = length / kSamples;
    buffer.resize(kSamples * kSampleBytes + 8);
    for (int i = 0; i < kSamples; ++i) {
      if (!ReadExactly(song, begin + i * step, &buffer[i * kSampleBytes], kSampleBytes)) return false;
    }
    for (int b = 0; b < 8; ++b)
      buffer[kSamples * kSampleBytes + b] = static_cast<unsigned char>(length >> (8 * b));
  } else {
    buffer.resize(static_cast<size_t>(length));
    if (!ReadExactly(song, begin, buffer.data(), buffer.size())) return false;
  }
  FoldBytePairs(buffer.data(), buffer.size(), h1, h2);
  return true;
}

std::string SignatureKey(uint32_t h1, uint32_t h2) {
  char key[17];
  const uint32_t words[2] = {h1, h2};
  size_t at = 0;
  for (uint32_t w : words) {
    for (int b = 0; b < 4; ++b) {
      std::snprintf(key + at, sizeof key - at, "%02X", static_cast<unsigned>((w >> (8 * b)) & 0xFF));
      at += 2;
    }
  }
  return std::string(key, 16);
}

uint32_t NamesHash(const std::string& artist, const std::string& title) {
  // A plain byte cut: the hash must not change with the code page's rules.
  const std::string names = (artist + title).substr(0, kNamesLimit);
  uint32_t h = 0;
  for (char c : names) h = (h * kPrime) ^ static_cast<uint32_t>(static_cast<int32_t>(static_cast<signed char>(c)));
  return h;
}

bool SongSignature(const ByteSource& song, bool isWma, uint32_t kbps, uint32_t& sig1, uint32_t& sig2) {
  sig1 = sig2 = 0;
  if (kbps < 1 || kbps > 1024) return false;
  uint64_t start = 0;
  if (isWma) {
    // Reading goes on after the header object and the data object's head.
    unsigned char object[kAsfObjectHead];
    if (!ReadExactly(song, 0, object, sizeof object)) return false;
    const uint64_t headerSize = Le64(object + 16);
    if (!ReadExactly(song, headerSize, object, sizeof object)) return false;
    start = headerSize + kAsfObjectHead;
  }
  std::vector<unsigned char> buffer(size_t{kbps} * kReadPerKbps, 0);
  size_t got = 0;
  if (!song.ReadAt(start + uint64_t{kbps} * kSkipPerKbps, buffer.data(), buffer.size(), got) || got <= 1)
    return false;
  // Bytes past a short read stay 0 and change nothing in the fold.
  uint32_t a = Le32(&buffer[0]), b = Le32(&buffer[4]);
  for (size_t at = 8; at + 8 <= buffer.size(); at += 8) {
    a ^= Le32(&buffer[at]);
    b ^= Le32(&buffer[at + 4]);
  }
  sig1 = a;
  sig2 = b;
  return true;
}

bool HasMp3Extension(const std::string& path) {
  return EqualsNoCase(PathExtension(path), "mp3");
}

bool EndsInWma(const std::string& path) {
  return path.size() >= 3 && EqualsNoCase(path.substr(path.size() - 3), "wma");
}

}  // namespace zl
