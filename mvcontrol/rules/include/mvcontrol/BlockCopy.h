#pragma once
// The control's copy of the P2P server's file into its own video file, in
// 16 KB blocks, with the file's head restored. The counts come from the
// server's records; the copy is bounded by what the source holds and never
// writes more than it read.
#include <cstddef>
#include <cstdint>

namespace mvcontrol {

constexpr uint32_t kCopyBlockBytes = 16384;

// The two open files of a copy.
class CopyFiles {
 public:
  virtual ~CopyFiles() = default;
  // Positions the source and the destination at the same offset.
  virtual bool SeekBoth(uint64_t offset) = 0;
  // Up to n bytes from the source: fewer at its end, 0 there or on an error.
  virtual size_t Read(unsigned char* buffer, size_t n) = 0;
  // All n bytes to the destination, or false.
  virtual bool Write(const unsigned char* buffer, size_t n) = 0;
  virtual uint64_t SourceSize() = 0;
};

struct BlockCopyResult {
  uint32_t blocksWritten = 0;
  bool firstReadEmpty = false;  // the source had nothing at `start`
  bool failed = false;          // seeking or writing failed
};

// Copies up to `count` blocks from block `start` (both files positioned at
// start × 16384), at most as many as the source holds from there. Block 0
// is restored from the server's transformed head. A short block is written
// (only the bytes read) when `last` is set; otherwise it waits for a later
// copy and the copy ends. `copiedBlocks` grows by one per block written.
BlockCopyResult CopyBlocks(CopyFiles& files, uint32_t start, uint32_t count, bool last, uint32_t& copiedBlocks);

// The whole source from its start: CopyBlocks over all its blocks, the
// last one short if need be.
BlockCopyResult CopyWholeFile(CopyFiles& files, uint32_t& copiedBlocks);

}  // namespace mvcontrol
