#include "mvcontrol/BlockCopy.h"

#include <vector>

#include "p2pwire/HeadScramble.h"

namespace mvcontrol {

static_assert(kCopyBlockBytes == p2pwire::kScrambledHeadBytes, "block 0 is exactly the transformed head");

BlockCopyResult CopyBlocks(CopyFiles& files, uint32_t start, uint32_t count, bool last, uint32_t& copiedBlocks) {
  BlockCopyResult result;
  const uint64_t from = uint64_t(start) * kCopyBlockBytes;
  const uint64_t size = files.SourceSize();
  const uint64_t available = size > from ? (size - from + kCopyBlockBytes - 1) / kCopyBlockBytes : 0;
  if (count > available) count = uint32_t(available);
  if (!files.SeekBoth(from)) {
    result.failed = true;
    return result;
  }
  std::vector<unsigned char> block(kCopyBlockBytes);
  bool readAny = false;
  for (uint32_t i = 0; i < count; ++i) {
    const uint64_t index = uint64_t(start) + i;
    const size_t got = files.Read(block.data(), kCopyBlockBytes);
    if (got == 0) break;
    readAny = true;
    if (got < kCopyBlockBytes && !last) {
      // The rest of this block has not arrived: it is copied next time, from
      // its start, so the destination must not hold a part of it.
      files.SeekBoth(index * kCopyBlockBytes);
      break;
    }
    if (index == 0) p2pwire::UnscrambleHead(block.data(), got);
    if (!files.Write(block.data(), got)) {
      result.failed = true;
      break;
    }
    ++result.blocksWritten;
    ++copiedBlocks;
    if (got < kCopyBlockBytes) break;
  }
  result.firstReadEmpty = !readAny && !result.failed;
  return result;
}

BlockCopyResult CopyWholeFile(CopyFiles& files, uint32_t& copiedBlocks) {
  const uint64_t blocks = (files.SourceSize() + kCopyBlockBytes - 1) / kCopyBlockBytes;
  return CopyBlocks(files, 0, blocks > 0xFFFFFFFFu ? 0xFFFFFFFFu : uint32_t(blocks), true, copiedBlocks);
}

}  // namespace mvcontrol
