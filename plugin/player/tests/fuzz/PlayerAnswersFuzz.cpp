// What the player hands back: file names of any length without a NUL where
// one is expected, a skin name buffer filled to the brim, and numbers of any
// size. Nothing is read past what the player gave, and every copy fits.
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "FuzzCheck.h"
#include "player/WinampIpcCodec.h"
#include "shared/GbkText.h"

using namespace zl::winamp;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  const intptr_t a = in.ConsumeIntegral<intptr_t>();
  const intptr_t b = in.ConsumeIntegral<intptr_t>();
  const size_t fieldSize = in.ConsumeIntegralInRange<size_t>(0, 300);
  std::vector<char> name = in.ConsumeRemainingBytes<char>();

  (void)DecodePlayStatus(a);
  FUZZ_CHECK(DurationMsFromSeconds(a) >= 0);
  (void)PositionFromAnswer(a);
  const int next = NextEntryIndex(a, b);
  FUZZ_CHECK(b <= 0 ? next == -1 : (next >= 0 && next < b));

  // The player's text with no NUL in it: a read past its end is a finding.
  if (name.size() >= fieldSize) {
    std::vector<char> field(fieldSize + 1, 'x');
    CopyEntryName(name.data(), field.data(), fieldSize);
    if (fieldSize) {
      const size_t len = strnlen(field.data(), fieldSize);
      FUZZ_CHECK(len < fieldSize);
      FUZZ_CHECK(zl::GbkCutLength(field.data(), len, fieldSize - 1) == len);
    }
    FUZZ_CHECK(field[fieldSize] == 'x');
  }

  char skin[kSkinNameSize];
  std::memset(skin, 'S', sizeof skin);
  if (!name.empty()) std::memcpy(skin, name.data(), std::min(name.size(), sizeof skin));
  const std::string decoded = DecodeSkinName(a, skin);
  FUZZ_CHECK(decoded.size() < kSkinNameSize);

  char path[kEnqueuePathSize];
  const std::string p(name.begin(), name.end());
  if (EncodeEnqueuePath(p, path)) FUZZ_CHECK(std::strlen(path) == p.size() && p.size() < kEnqueuePathSize);
  else FUZZ_CHECK(path[0] == '\0');
  return 0;
}
