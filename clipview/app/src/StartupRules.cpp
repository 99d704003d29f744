#include "app/StartupRules.h"

#include <cstdlib>

namespace clipview {

int FlashMajorVersion(const std::string& productVersion) {
  const std::string head = productVersion.substr(0, productVersion.find(','));
  return std::atoi(head.c_str());
}

ShareSpace ChooseShareSpace(uint64_t freeMegabytes, uint64_t musicMegabytes) {
  ShareSpace s;
  if (freeMegabytes < 61) {
    s.warnLowDisk = true;
  } else if (freeMegabytes < 513) {
    s.megabytes = musicMegabytes + freeMegabytes / 2;
  } else {
    s.megabytes = 512;
  }
  return s;
}

bool ReplaceMaxSpaceSize(std::string& text, uint64_t megabytes) {
  static const std::string open = "<MaxSpaceSize>", close = "</MaxSpaceSize>";
  const size_t begin = text.find(open);
  if (begin == std::string::npos) return false;
  const size_t valueAt = begin + open.size();
  const size_t end = text.find(close, valueAt);
  if (end == std::string::npos) return false;
  text.replace(valueAt, end - valueAt, std::to_string(megabytes));
  return true;
}

}  // namespace clipview
