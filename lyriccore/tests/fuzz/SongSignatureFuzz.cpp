// Song files are the user's, and their tags anybody's: the signatures over a
// file's bytes read only inside the file, and the audio region lies within it.
#include <algorithm>
#include <string>

#include "FuzzCheck.h"
#include "SongSignature.h"

namespace {

// The song in memory; it may claim to be larger than the bytes at hand, as a
// file can shrink while it is read.
class MemorySong : public zl::ByteSource {
 public:
  MemorySong(const uint8_t* data, size_t size, uint64_t claimed) : data_(data), size_(size), claimed_(claimed) {}
  uint64_t Size() const override { return claimed_; }
  bool ReadAt(uint64_t offset, void* buffer, size_t n, size_t& got) const override {
    got = 0;
    if (offset >= size_) return true;
    got = static_cast<size_t>(std::min<uint64_t>(n, size_ - offset));
    std::memcpy(buffer, data_ + offset, got);
    return true;
  }

 private:
  const uint8_t* data_;
  size_t size_;
  uint64_t claimed_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  const bool isMp3 = in.ConsumeBool();
  const bool isWma = in.ConsumeBool();
  const uint32_t kbps = in.ConsumeIntegralInRange<uint32_t>(0, 1100);
  const uint64_t extra = in.ConsumeIntegralInRange<uint64_t>(0, 64);
  const std::string bytes = in.ConsumeRemainingBytesAsString();
  const MemorySong song(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), bytes.size() + extra);

  uint64_t begin = 0, end = 0;
  if (zl::SignatureRegion(song, isMp3, begin, end)) FUZZ_CHECK(begin < end && end <= song.Size());
  uint32_t h1 = 0, h2 = 0;
  (void)zl::FileSignature(song, isMp3, h1, h2);
  uint32_t s1 = 0, s2 = 0;
  if (!zl::SongSignature(song, isWma, kbps, s1, s2)) FUZZ_CHECK(s1 == 0 && s2 == 0);
  return 0;
}
