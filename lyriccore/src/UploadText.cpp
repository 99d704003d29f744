#include "UploadText.h"

#include "KeyValueText.h"

namespace zl {

bool UploadSizeAllowed(int64_t bytes) { return bytes > 0 && bytes <= kUploadLimitBytes; }

std::string UploadLyricText(const std::string& fileText) {
  std::string out;
  out.reserve(fileText.size() + fileText.size() / 8);
  for (size_t i = 0; i < fileText.size(); ++i) {
    const char c = fileText[i];
    if (c == '\r' && i + 1 < fileText.size() && fileText[i + 1] == '\n') continue;
    if (c == '\n') out += "%0D%0A";
    else out += c;
  }
  return out;
}

std::string UploadEventText(const LrcItem& item, const std::string& fileText) {
  return "S:" + FieldText(item.title) + "|AR:" + FieldText(item.artist) + "|AL:" + FieldText(item.album) +
         "|UPLOADER:" + FieldText(item.uploader) + "|C:" + UploadLyricText(fileText);
}

}  // namespace zl
