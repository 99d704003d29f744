#pragma once
// The system code page side of tag text. Tags carry Unicode (or Latin-1)
// while the engine and the hand-over file speak GBK; the conversion itself is
// the platform's, so the tag code takes it from outside.
#include <string>

namespace tagprobe {

class TextConverter {
 public:
  virtual ~TextConverter() = default;
  // Characters GBK cannot hold come out as '?'.
  virtual std::string Utf16ToGbk(const std::u16string& text) const = 0;
  // Bytes that are not GBK come out as U+FFFD.
  virtual std::u16string GbkToUtf16(const std::string& text) const = 0;
};

}  // namespace tagprobe
