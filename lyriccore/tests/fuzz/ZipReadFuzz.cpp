// The lyric server's archive, read in memory: whatever the bytes, the reader
// stays within its limits, hands out only safe names, and gives everything or
// nothing.
#include <string>

#include "FuzzCheck.h"
#include "SearchProtocol.h"
#include "ZipArchive.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  const std::string password = in.ConsumeRandomLengthString(12);
  zl::UnpackLimits limits;
  limits.maxEntries = in.ConsumeIntegralInRange<uint32_t>(0, 16);
  limits.maxEntryBytes = in.ConsumeIntegralInRange<uint64_t>(0, 1 << 16);
  limits.maxTotalBytes = in.ConsumeIntegralInRange<uint64_t>(0, 1 << 17);
  const std::string zip = in.ConsumeRemainingBytesAsString();

  const zl::ZipContents c = zl::ReadZipFromMemory(zip.data(), zip.size(), password, limits, zl::GbkCodePage());
  if (c.status != zl::UnpackStatus::Ok) {
    FUZZ_CHECK(c.files.empty() && c.folders.empty());
    return 0;
  }
  FUZZ_CHECK(c.files.size() + c.folders.size() + c.refused.size() <= limits.maxEntries);
  uint64_t total = 0;
  for (const zl::ZipFile& f : c.files) {
    FUZZ_CHECK(f.bytes.size() <= limits.maxEntryBytes);
    total += f.bytes.size();
    std::string again;
    bool folder = true;
    FUZZ_CHECK(zl::SafeEntryName(f.name, again, folder) && again == f.name && !folder);
  }
  FUZZ_CHECK(total <= limits.maxTotalBytes);
  return 0;
}
