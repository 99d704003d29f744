// A lyric file shared by the user goes into a usage event: line ends become
// the one escape however they were written, and no raw line break is left
// to end the event line early.
#include <string>

#include "FuzzCheck.h"
#include "UploadText.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string file(reinterpret_cast<const char*>(data), size);
  const std::string text = zl::UploadLyricText(file);
  FUZZ_CHECK(text.find('\n') == std::string::npos);
  // A file with CR LF line ends gives the text of the same file with LF
  // (for files whose only CRs end lines).
  std::string lf;
  for (size_t i = 0; i < file.size(); ++i)
    if (!(file[i] == '\r' && i + 1 < file.size() && file[i + 1] == '\n')) lf += file[i];
  if (lf.find('\r') == std::string::npos) FUZZ_CHECK(zl::UploadLyricText(lf) == text);
  LrcItem item{};
  std::memcpy(item.artist, "A", 2);
  FUZZ_CHECK(zl::UploadEventText(item, file).find(text) != std::string::npos);
  return 0;
}
