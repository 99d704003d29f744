// The code page away from Windows: GBK through the C library's iconv, so
// that the native build reads and writes lyric text as a Chinese Windows does.
#include <iconv.h>

#include <cerrno>

#include "shared/TextEncoding.h"

namespace zl {

namespace {

class IconvCodePage : public CodePageConverter {
 public:
  std::string FromUtf16(const std::u16string& text) const override {
    const std::string bytes = Utf16ToBytes(text, false);
    std::string out;
    Convert("CP936", "UTF-16LE", bytes, [&bytes](size_t at) {
      // A character GBK lacks is one unit, or two for a surrogate pair.
      const bool pair = at + 3 < bytes.size() && (static_cast<unsigned char>(bytes[at + 1]) & 0xFC) == 0xD8 &&
                        (static_cast<unsigned char>(bytes[at + 3]) & 0xFC) == 0xDC;
      return pair ? size_t{4} : size_t{2};
    }, "?", out);
    return out;
  }
  std::u16string ToUtf16(const std::string& text) const override {
    std::string bytes;
    Convert("UTF-16LE", "CP936", text, [](size_t) { return size_t{1}; }, "\xFD\xFF", bytes);
    return Utf16FromBytes(bytes.data(), bytes.size(), false);
  }

 private:
  template <typename Skip>
  static void Convert(const char* to, const char* from, const std::string& in, Skip skip, const char* replacement,
                      std::string& out) {
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) return;
    char* src = const_cast<char*>(in.data());
    size_t left = in.size();
    while (left > 0) {
      char buf[1024];
      char* dst = buf;
      size_t room = sizeof buf;
      const size_t r = iconv(cd, &src, &left, &dst, &room);
      out.append(buf, static_cast<size_t>(dst - buf));
      if (r == static_cast<size_t>(-1) && errno != E2BIG) {
        size_t n = skip(static_cast<size_t>(src - in.data()));
        if (n > left) n = left;
        src += n, left -= n;
        out += replacement;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
      }
    }
    iconv_close(cd);
  }
};

}  // namespace

const CodePageConverter& SystemCodePage() {
  static const IconvCodePage codePage;
  return codePage;
}

const CodePageConverter& GbkCodePage() { return SystemCodePage(); }

}  // namespace zl
