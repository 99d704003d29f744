// Messages between the plug-in and ClipView (another process, any code and
// payload): a record is taken only when the payload holds it, a known code
// with its record is never ignored, and what is decoded encodes back to the
// bytes it came from.
#include <cstring>
#include <vector>

#include "FuzzCheck.h"
#include "mvprotocol/MvProtocol.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  const uint64_t code = in.ConsumeBool() ? in.ConsumeIntegralInRange<uint64_t>(0, 13) : in.ConsumeIntegral<uint64_t>();
  const bool null = in.ConsumeIntegralInRange<int>(0, 15) == 0;
  // The payload exactly as long as the sender says: a read past it is a finding.
  const std::vector<uint8_t> payload = in.ConsumeRemainingBytes<uint8_t>();
  const void* p = null ? nullptr : payload.data();
  const size_t n = payload.size();

  const mv::ClipViewMessage m = mv::DecodeClipViewMessage(code, p, n);
  const bool unknown = std::strcmp(mv::ClipViewMessageName(code), "unknown") == 0;
  if (unknown) FUZZ_CHECK(m.ignored);
  if (!m.ignored) {
    FUZZ_CHECK(m.code == code);
    if (code == mv::WM_DOWNLOAD || code == mv::WM_PRE_DOWNLOAD) {
      FUZZ_CHECK(!null && n >= mv::kDownloadRequestBytes);
      uint8_t again[mv::kDownloadRequestBytes];
      mv::EncodeDownloadRequest(m.request, again);
      FUZZ_CHECK(std::memcmp(again, payload.data(), sizeof again) == 0);
    }
    if (code == mv::WM_PLAY) {
      FUZZ_CHECK(!null && n >= mv::kInt32PayloadBytes);
      FUZZ_CHECK(m.video == (std::memcmp(payload.data(), "\0\0\0\0", 4) != 0));
    }
  } else if (!unknown) {
    // Only a record too short for its code is dropped.
    const bool wantsRecord = code == mv::WM_DOWNLOAD || code == mv::WM_PRE_DOWNLOAD || code == mv::WM_PLAY;
    FUZZ_CHECK(wantsRecord);
    FUZZ_CHECK(null || n < (code == mv::WM_PLAY ? mv::kInt32PayloadBytes : mv::kDownloadRequestBytes));
  }

  const mv::PlayerMessage r = mv::DecodePlayerMessage(code, p, n);
  const bool playerUnknown = std::strcmp(mv::PlayerMessageName(code), "unknown") == 0;
  if (playerUnknown) FUZZ_CHECK(r.ignored);
  if (!r.ignored) {
    FUZZ_CHECK(r.code == code);
    if (code == mv::WM_USER_CHOICE) {
      FUZZ_CHECK(!null && n >= mv::kInt32PayloadBytes);
      uint8_t again[mv::kInt32PayloadBytes];
      mv::EncodeInt32(r.choice, again);
      FUZZ_CHECK(std::memcmp(again, payload.data(), sizeof again) == 0);
    }
  } else if (!playerUnknown) {
    FUZZ_CHECK(code == mv::WM_USER_CHOICE && (null || n < mv::kInt32PayloadBytes));
  }
  return 0;
}
