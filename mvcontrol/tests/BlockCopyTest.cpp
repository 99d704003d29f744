#include "mvcontrol/BlockCopy.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "p2pwire/HeadScramble.h"

using namespace mvcontrol;

namespace {

// Files in memory; the source can grow as a download would, and writes are
// recorded so that a write past the bytes read shows.
class MemoryFiles : public CopyFiles {
 public:
  std::string source, dest;
  uint64_t readAt = 0, writeAt = 0;
  size_t largestWrite = 0;
  bool failWrites = false;

  bool SeekBoth(uint64_t offset) override {
    readAt = writeAt = offset;
    return true;
  }
  size_t Read(unsigned char* buffer, size_t n) override {
    if (readAt >= source.size()) return 0;
    const size_t got = std::min<size_t>(n, source.size() - size_t(readAt));
    std::memcpy(buffer, source.data() + readAt, got);
    readAt += got;
    return got;
  }
  bool Write(const unsigned char* buffer, size_t n) override {
    if (failWrites) return false;
    if (dest.size() < writeAt + n) dest.resize(size_t(writeAt + n));
    std::memcpy(&dest[size_t(writeAt)], buffer, n);
    writeAt += n;
    largestWrite = std::max(largestWrite, n);
    return true;
  }
  uint64_t SourceSize() override { return source.size(); }
};

std::string Media(size_t n) {
  std::string s(n, '\0');
  unsigned state = 7;
  for (auto& c : s) c = char((state = state * 1103515245u + 12345u) >> 16);
  return s;
}

// The server keeps the first 16384 bytes transformed.
std::string AsServerKeepsIt(std::string media) {
  p2pwire::ScrambleHead(reinterpret_cast<unsigned char*>(&media[0]), std::min<size_t>(media.size(), 16384));
  return media;
}

}  // namespace

TEST(BlockCopy, BlocksArriveInStepsWithTheHeadRestored) {
  const std::string media = Media(50000);  // 3 whole blocks and 848 bytes
  MemoryFiles f;
  f.source = AsServerKeepsIt(media).substr(0, 20000);  // the server has 20000 bytes so far
  uint32_t copied = 0;

  BlockCopyResult r = CopyBlocks(f, 0, 2, false, copied);
  EXPECT_EQ(r.blocksWritten, 1u);  // the second block is short and not the last
  EXPECT_EQ(copied, 1u);
  EXPECT_EQ(f.dest, media.substr(0, 16384));

  f.source = AsServerKeepsIt(media);
  r = CopyBlocks(f, copied, 2, false, copied);
  EXPECT_EQ(r.blocksWritten, 2u);
  EXPECT_EQ(f.dest, media.substr(0, 3 * 16384));

  r = CopyBlocks(f, copied, 1, true, copied);
  EXPECT_EQ(r.blocksWritten, 1u);
  EXPECT_EQ(copied, 4u);
  EXPECT_EQ(f.dest, media);
}

TEST(BlockCopy, CountsFromTheServerAreBoundedByTheSource) {
  const std::string media = Media(40000);
  MemoryFiles f;
  f.source = AsServerKeepsIt(media);
  uint32_t copied = 0;
  // A record claiming a huge file: the copy stops at what the source holds
  // and writes no byte it did not read.
  const BlockCopyResult r = CopyBlocks(f, 0, 0xFFFFFFFFu, true, copied);
  EXPECT_EQ(r.blocksWritten, 3u);
  EXPECT_EQ(copied, 3u);
  EXPECT_EQ(f.dest, media);
  EXPECT_LE(f.largestWrite, size_t(16384));

  // Blocks past the source's end copy nothing.
  uint32_t later = 9;
  const BlockCopyResult past = CopyBlocks(f, 9, 5, true, later);
  EXPECT_EQ(past.blocksWritten, 0u);
  EXPECT_EQ(later, 9u);
  EXPECT_EQ(f.dest, media);
}

TEST(BlockCopy, OnlyBlockZeroIsRestored) {
  const std::string media = Media(3 * 16384);
  MemoryFiles f;
  f.source = AsServerKeepsIt(media);
  f.dest = media.substr(0, 16384);
  uint32_t copied = 1;
  CopyBlocks(f, 1, 2, false, copied);
  EXPECT_EQ(f.dest, media);

  // A head shorter than a block is restored over the bytes there are.
  const std::string small = Media(1000);
  MemoryFiles g;
  g.source = AsServerKeepsIt(small);
  uint32_t none = 0;
  EXPECT_EQ(CopyWholeFile(g, none).blocksWritten, 1u);
  EXPECT_EQ(g.dest, small);
  EXPECT_EQ(g.largestWrite, small.size());
}

TEST(BlockCopy, WholeFileAndItsFailures) {
  const std::string media = Media(16384 * 5 + 1);
  MemoryFiles f;
  f.source = AsServerKeepsIt(media);
  uint32_t copied = 0;
  BlockCopyResult r = CopyWholeFile(f, copied);
  EXPECT_FALSE(r.firstReadEmpty || r.failed);
  EXPECT_EQ(copied, 6u);
  EXPECT_EQ(f.dest, media);

  MemoryFiles empty;
  copied = 0;
  r = CopyWholeFile(empty, copied);
  EXPECT_TRUE(r.firstReadEmpty);
  EXPECT_EQ(copied, 0u);

  MemoryFiles broken;
  broken.source = media;
  broken.failWrites = true;
  copied = 0;
  r = CopyWholeFile(broken, copied);
  EXPECT_TRUE(r.failed);
  EXPECT_EQ(copied, 0u);
}
