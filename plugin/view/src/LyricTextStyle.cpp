#include "view/LyricTextStyle.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "shared/GbkText.h"

namespace {

// conf.ini is user-editable: a size of 0, a negative one, or INT_MIN would
// give a zero line height (the drag tracker divides by it) or overflow.
constexpr int kMinFontHeight = 1;
constexpr int kMaxFontHeight = 1000;

constexpr ViewColor kMiniNormal = 0x8A8132;
constexpr ViewColor kMiniHighlight = 0xFFC864;

int ClampHeight(long long h) {
  return static_cast<int>(std::min<long long>(std::max<long long>(h, kMinFontHeight), kMaxFontHeight));
}

}  // namespace

LyricTextStyle LyricTextStyleFor(const LyricDrawConfig& config, bool mini) {
  LyricTextStyle s{};
  if (mini) {
    s.fontHeight = 14;
    s.lineHeight = 14;
    s.charWidth = 8;
    s.weight = 500;
    s.italic = false;
    s.underline = false;
    zl::CopyGbkBounded(s.face, sizeof s.face, "宋体");
    s.normal = kMiniNormal;
    s.highlight = kMiniHighlight;
    return s;
  }
  const long long fontHeight = config.UserDefineFont ? std::llabs(static_cast<long long>(config.height))
                                                     : static_cast<long long>(config.lyricSize);
  s.fontHeight = ClampHeight(fontHeight);
  s.lineHeight = s.fontHeight + 5;
  s.charWidth = (s.fontHeight + 6) / 2;
  s.weight = config.weight;
  s.italic = config.italic != 0;
  s.underline = config.underline != 0;
  zl::CopyGbkBounded(s.face, sizeof s.face, config.facename, strnlen(config.facename, sizeof config.facename));
  s.normal = config.rgb;
  s.highlight = config.highlightrgb;
  return s;
}

size_t TextBytes(const char* text, size_t limit) { return text ? strnlen(text, limit) : 0; }

int TextLayoutWidth(const char* text, size_t limit, int charWidth) {
  return static_cast<int>(TextBytes(text, limit)) * charWidth;
}

int FixedWidthMeasurer::TextWidth(const char* /*text*/, size_t bytes) const {
  return static_cast<int>(bytes) * m_charWidth;
}
