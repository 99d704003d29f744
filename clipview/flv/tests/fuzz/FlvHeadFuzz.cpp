// The head of a video as the P2P server wrote it: the duration read from
// its metadata stays within the bytes given and within bounds.
#include <vector>

#include "FuzzCheck.h"
#include "flv/FlvRules.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::vector<unsigned char> head(data, data + size);  // exactly what was read
  const unsigned seconds = clipview::FlvHeaderDuration(head.data(), head.size());
  FUZZ_CHECK(seconds <= clipview::kMaxDurationSeconds);
  return 0;
}
