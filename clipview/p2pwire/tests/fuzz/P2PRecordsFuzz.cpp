// Records from the P2P server program (another process, any payload): a
// record is taken only at its exact size with its path ended inside the
// field, and the head transformation undoes itself.
#include <string>
#include <vector>

#include "FuzzCheck.h"
#include "p2pwire/HeadScramble.h"
#include "p2pwire/P2PRecords.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // The payload exactly as long as the sender says: a read past it is a finding.
  const std::vector<uint8_t> payload(data, data + size);
  p2pwire::P2PStatusRecord status{};
  std::string path;
  if (p2pwire::DecodeStatusRecord(payload.data(), payload.size(), status, path)) {
    FUZZ_CHECK(size == sizeof status && path.size() < p2pwire::kSourcePathBytes);
    FUZZ_CHECK(path == std::string(status.sourcePath));
  }
  p2pwire::P2PLookupRecord lookup{};
  if (p2pwire::DecodeLookupRecord(payload.data(), payload.size(), lookup, path)) {
    FUZZ_CHECK(size == sizeof lookup && path.size() < p2pwire::kSourcePathBytes);
    FUZZ_CHECK(path == std::string(lookup.sourcePath));
  }
  std::vector<unsigned char> head(payload.begin(), payload.end());
  p2pwire::UnscrambleHead(head.data(), head.size());
  p2pwire::ScrambleHead(head.data(), head.size());
  FUZZ_CHECK(std::equal(head.begin(), head.end(), payload.begin()));
  const std::string window(reinterpret_cast<const char*>(data), size);
  const p2pwire::P2PRequestRecord request = p2pwire::MakeRequestRecord(SignPair{1, 2}, window.c_str());
  FUZZ_CHECK(FuzzFieldTerminated(request.replyWindow, sizeof request.replyWindow));
  return 0;
}
