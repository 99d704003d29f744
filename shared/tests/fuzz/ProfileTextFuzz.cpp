// INI values of the settings and layout files, which users edit by hand:
// numbers, booleans and hex byte records read within their buffers, and
// what is written reads back the same.
#include <string>
#include <vector>

#include "FuzzCheck.h"
#include "shared/ProfileText.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  const int base = in.ConsumeIntegralInRange<int>(0, 17);
  const int def = in.ConsumeIntegral<int>();
  const size_t count = in.ConsumeIntegralInRange<size_t>(0, 64);
  const size_t offset = in.ConsumeIntegralInRange<size_t>(0, 70);
  const std::string section = in.ConsumeRandomLengthString(16);
  const std::string key = in.ConsumeRandomLengthString(16);
  const std::string text = in.ConsumeRemainingBytesAsString();

  (void)zl::ParseProfileInt(text, def, base);
  (void)zl::ParseProfileBool(text, false);
  if (text.empty()) FUZZ_CHECK(zl::ParseProfileInt(text, def, base) == def);

  // The buffer is exactly `count` bytes: a copy past it is a finding.
  std::vector<unsigned char> buffer(count);
  const size_t got = zl::ReadHexRecord(text, count ? buffer.data() : nullptr, count, offset);
  if (count) FUZZ_CHECK(got <= count);
  const size_t available = zl::ReadHexRecord(text, nullptr, 0, offset);
  if (got) FUZZ_CHECK(available >= got);
  if (available) {
    // Whatever reads as a record is written the same way and reads back whole.
    std::vector<unsigned char> all(available + offset);
    FUZZ_CHECK(zl::ReadHexRecord(text, all.data(), all.size(), 0) == all.size());
    const std::string again = zl::EncodeHexRecord(all.data(), all.size());
    std::vector<unsigned char> back(all.size());
    FUZZ_CHECK(zl::ReadHexRecord(again, back.data(), back.size(), 0) == back.size());
    FUZZ_CHECK(back == all);
  }

  const int value = zl::ParseProfileInt(text, def, base);
  const int b = zl::NormalizeProfileBase(base);
  FUZZ_CHECK(zl::ParseProfileInt(zl::FormatProfileInt(value, b), ~value, b) == value);

  std::string found;
  if (zl::FindIniValue(text, section.c_str(), key.c_str(), found)) FUZZ_CHECK(found.size() <= text.size());
  return 0;
}
