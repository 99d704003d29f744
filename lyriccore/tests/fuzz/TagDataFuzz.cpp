// The tag tool's data file, read after the tool ran: any bytes give names
// that fit their fields, or none.
#include <string>

#include "FuzzCheck.h"
#include "TagData.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  zl::TagNames names;
  if (zl::ParseTagData(bytes, names)) {
    FUZZ_CHECK(size >= zl::kTagDataFileBytes);
    for (const std::string* n : {&names.title, &names.artist, &names.album}) {
      FUZZ_CHECK(n->size() <= 256);
      FUZZ_CHECK(n->find('\0') == std::string::npos);
    }
  } else {
    FUZZ_CHECK(names.title.empty() && names.artist.empty() && names.album.empty());
  }
  return 0;
}
