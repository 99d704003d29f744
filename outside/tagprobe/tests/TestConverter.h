#pragma once
// The real code page conversion of each platform: Windows' own tables, or
// glibc's iconv on the native build.
#ifdef _WIN32
#include "TextConverter_win.h"
namespace tagprobe {
using TestConverter = Cp936Converter;
}
#else
#include <iconv.h>

#include <cerrno>

#include "TextConverter.h"

namespace tagprobe {

class TestConverter : public TextConverter {
 public:
  std::string Utf16ToGbk(const std::u16string& text) const override {
    std::string out;
    Convert("GBK", "UTF-16LE", reinterpret_cast<const char*>(text.data()), text.size() * 2, 2, "?", out);
    return out;
  }
  std::u16string GbkToUtf16(const std::string& text) const override {
    std::string bytes;
    Convert("UTF-16LE", "GBK", text.data(), text.size(), 1, "\xFD\xFF", bytes);
    std::u16string out;
    for (size_t i = 0; i + 1 < bytes.size(); i += 2)
      out.push_back(static_cast<char16_t>(static_cast<uint8_t>(bytes[i]) | (static_cast<uint8_t>(bytes[i + 1]) << 8)));
    return out;
  }

 private:
  // Skips `unit` input bytes and puts `replacement` for what cannot be converted.
  static void Convert(const char* to, const char* from, const char* in, size_t n, size_t unit, const char* replacement,
                      std::string& out) {
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) return;
    char* src = const_cast<char*>(in);
    while (n > 0) {
      char buf[256];
      char* dst = buf;
      size_t room = sizeof buf;
      const size_t r = iconv(cd, &src, &n, &dst, &room);
      out.append(buf, static_cast<size_t>(dst - buf));
      if (r == static_cast<size_t>(-1) && errno != E2BIG) {
        const size_t skip = n < unit ? n : unit;
        src += skip, n -= skip;
        out += replacement;
      }
    }
    iconv_close(cd);
  }
};

}  // namespace tagprobe
#endif
