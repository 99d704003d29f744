#pragma once
// Signatures that name a song file: the file signature that keys its info
// file, the names hash used when there is no file, and the song signature
// sent to the lyric server.
#include <cstddef>
#include <cstdint>
#include <string>

namespace zl {

// Random access to the bytes of a song.
class ByteSource {
 public:
  virtual ~ByteSource() = default;
  virtual uint64_t Size() const = 0;
  // Reads up to n bytes at offset; `got` is how many came back. False on a
  // read error (a short read at the end is not one).
  virtual bool ReadAt(uint64_t offset, void* buffer, size_t n, size_t& got) const = 0;
};

// A file opened for reading, with 64-bit offsets.
class FileByteSource : public ByteSource {
 public:
  explicit FileByteSource(const std::string& path);
  ~FileByteSource() override;
  FileByteSource(const FileByteSource&) = delete;
  FileByteSource& operator=(const FileByteSource&) = delete;
  bool IsOpen() const { return file_ != nullptr; }
  uint64_t Size() const override { return size_; }
  bool ReadAt(uint64_t offset, void* buffer, size_t n, size_t& got) const override;

 private:
  void* file_ = nullptr;  // std::FILE*
  uint64_t size_ = 0;
};

// h1 over the even bytes, h2 over the odd ones: h = h * 16777619 ^ byte.
// A last byte without a partner is left out.
void FoldBytePairs(const unsigned char* bytes, size_t n, uint32_t& h1, uint32_t& h2);

// The part of the file that is audio: for an MP3 without its leading ID3v2
// tag and trailing ID3v1 tag. False when nothing is left.
bool SignatureRegion(const ByteSource& song, bool isMp3, uint64_t& begin, uint64_t& end);

// The file signature: the region without its first and last 10240 bytes,
// sampled as ten 1024-byte pieces and its length when still 10240 bytes or
// longer, else taken whole; then folded in byte pairs.
bool FileSignature(const ByteSource& song, bool isMp3, uint32_t& h1, uint32_t& h2);

// The info key of a signature: the 8 bytes of the two words in memory
// order (low byte of h1 first) as 16 upper-case hex digits.
std::string SignatureKey(uint32_t h1, uint32_t h2);

// The hash of artist followed by title (cut to 259 bytes), bytes taken as
// signed values: h = h * 16777619 ^ byte.
uint32_t NamesHash(const std::string& artist, const std::string& title);

// The song signature: after the WMA header objects for a WMA file, skip
// kbps * 4480 bytes, read kbps * 384 and fold them as 64-bit words into two
// 32-bit halves. kbps must be 1 to 1024.
bool SongSignature(const ByteSource& song, bool isWma, uint32_t kbps, uint32_t& sig1, uint32_t& sig2);

// "mp3" after the last '.' of the path, any case.
bool HasMp3Extension(const std::string& path);
// The path ends in "wma", any case.
bool EndsInWma(const std::string& path);

}  // namespace zl
