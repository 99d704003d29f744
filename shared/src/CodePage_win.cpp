// The code page on Windows: the system's ANSI code page, the one the lyric
// windows draw their text in.
#include <windows.h>

#include "shared/TextEncoding.h"

namespace zl {

namespace {

// The conversion functions count in int; texts are converted in pieces well
// below that, never splitting a character.
constexpr size_t kPiece = 1 << 20;

class WindowsCodePage : public CodePageConverter {
 public:
  explicit WindowsCodePage(UINT codePage) : codePage_(codePage) {}

  std::string FromUtf16(const std::u16string& given) const override {
    const std::u16string text = OneMarkPerCharacter(given);
    std::string out;
    for (size_t at = 0; at < text.size();) {
      size_t n = text.size() - at < kPiece ? text.size() - at : kPiece;
      if (at + n < text.size() && text[at + n - 1] >= 0xD800 && text[at + n - 1] <= 0xDBFF) --n;
      const wchar_t* w = reinterpret_cast<const wchar_t*>(text.data() + at);
      // No best fit: a character the code page lacks shows as '?', not as a
      // look-alike that reads as something else.
      const int need = WideCharToMultiByte(codePage_, WC_NO_BEST_FIT_CHARS, w, static_cast<int>(n), nullptr, 0, "?",
                                           nullptr);
      if (need > 0) {
        const size_t old = out.size();
        out.resize(old + static_cast<size_t>(need));
        WideCharToMultiByte(codePage_, WC_NO_BEST_FIT_CHARS, w, static_cast<int>(n), &out[old], need, "?", nullptr);
      }
      at += n;
    }
    return out;
  }
  std::u16string ToUtf16(const std::string& text) const override {
    std::u16string out;
    for (size_t at = 0; at < text.size();) {
      size_t n = text.size() - at < kPiece ? text.size() - at : kPiece;
      if (at + n < text.size()) {
        // End the piece on a character boundary.
        size_t i = at;
        while (i < at + n) {
          const size_t step = IsDBCSLeadByteEx(codePage_, static_cast<BYTE>(text[i])) ? 2 : 1;
          if (i + step > at + n) break;
          i += step;
        }
        n = i - at;
      }
      const int need = MultiByteToWideChar(codePage_, 0, text.data() + at, static_cast<int>(n), nullptr, 0);
      if (need > 0) {
        const size_t old = out.size();
        out.resize(old + static_cast<size_t>(need));
        MultiByteToWideChar(codePage_, 0, text.data() + at, static_cast<int>(n), reinterpret_cast<wchar_t*>(&out[old]),
                            need);
      }
      at += n;
    }
    return out;
  }

 private:
  // A character beyond the first 65536 (an emoji, say) is two UTF-16 units,
  // and the system would put a '?' for each: one character shows as one '?'.
  std::u16string OneMarkPerCharacter(const std::u16string& text) const {
    if (codePage_ == CP_UTF8) return text;
    std::u16string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
      const bool pair = text[i] >= 0xD800 && text[i] <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
                        text[i + 1] <= 0xDFFF;
      if (!pair) {
        out.push_back(text[i]);
        continue;
      }
      BOOL usedDefault = FALSE;
      char bytes[16];
      WideCharToMultiByte(codePage_, WC_NO_BEST_FIT_CHARS, reinterpret_cast<const wchar_t*>(text.data() + i), 2, bytes,
                          sizeof bytes, "?", &usedDefault);
      if (usedDefault) {
        out.push_back(u'?');
      } else {
        out.push_back(text[i]);
        out.push_back(text[i + 1]);
      }
      ++i;
    }
    return out;
  }

  UINT codePage_;
};

}  // namespace

const CodePageConverter& SystemCodePage() {
  static const WindowsCodePage codePage(CP_ACP);
  return codePage;
}

const CodePageConverter& GbkCodePage() {
  static const WindowsCodePage codePage(936);
  return codePage;
}

}  // namespace zl
