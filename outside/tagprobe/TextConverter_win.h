#pragma once
// Conversion through the system's code page 936 tables.
#include "TextConverter.h"

namespace tagprobe {

class Cp936Converter : public TextConverter {
 public:
  std::string Utf16ToGbk(const std::u16string& text) const override;
  std::u16string GbkToUtf16(const std::string& text) const override;
};

}  // namespace tagprobe
