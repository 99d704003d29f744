#include "TagText.h"

namespace tagprobe {

namespace {

constexpr char16_t kReplacement = 0xFFFD;

void PutCodePoint(std::u16string& out, uint32_t cp) {
  if (cp >= 0x10000) {
    cp -= 0x10000;
    out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
    out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
  } else {
    out.push_back(static_cast<char16_t>(cp));
  }
}

std::u16string CutAtNul(std::u16string s) {
  const size_t nul = s.find(u'\0');
  if (nul != std::u16string::npos) s.resize(nul);
  if (!s.empty() && s.front() == 0xFEFF) s.erase(0, 1);
  return s;
}

std::string TrimTrailing(std::string s) {
  // A GBK trail byte is never a blank, so this cannot cut a character.
  while (!s.empty() && (s.back() == ' ' || s.back() == '\0')) s.pop_back();
  return s;
}

size_t LengthToNul(const uint8_t* p, size_t n) {
  size_t i = 0;
  while (i < n && p[i] != 0) ++i;
  return i;
}

}  // namespace

std::u16string Utf8ToUtf16(const uint8_t* p, size_t n) {
  std::u16string out;
  size_t i = 0;
  while (i < n) {
    const uint8_t c = p[i];
    size_t len;
    uint32_t cp, min;
    if (c < 0x80) {
      out.push_back(c);
      ++i;
      continue;
    } else if ((c & 0xE0) == 0xC0) {
      len = 2, cp = c & 0x1F, min = 0x80;
    } else if ((c & 0xF0) == 0xE0) {
      len = 3, cp = c & 0x0F, min = 0x800;
    } else if ((c & 0xF8) == 0xF0) {
      len = 4, cp = c & 0x07, min = 0x10000;
    } else {
      out.push_back(kReplacement);
      ++i;
      continue;
    }
    size_t k = 1;
    while (k < len && i + k < n && (p[i + k] & 0xC0) == 0x80) cp = (cp << 6) | (p[i + k++] & 0x3F);
    if (k < len || cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
      out.push_back(kReplacement);
      i += k;
      continue;
    }
    PutCodePoint(out, cp);
    i += len;
  }
  return out;
}

std::u16string Utf16FromBytes(const uint8_t* p, size_t n, bool bigEndian) {
  std::u16string out;
  out.reserve(n / 2);
  for (size_t i = 0; i + 1 < n; i += 2)
    out.push_back(static_cast<char16_t>(bigEndian ? (p[i] << 8) | p[i + 1] : p[i] | (p[i + 1] << 8)));
  return out;
}

void PutUtf16Le(Bytes& out, const std::u16string& s) {
  for (char16_t c : s) PutLe16(out, static_cast<uint16_t>(c));
}

bool IsValidGbk(const uint8_t* p, size_t n) {
  for (size_t i = 0; i < n; ++i) {
    if (p[i] < 0x80) continue;
    if (p[i] == 0x80 || p[i] == 0xFF || i + 1 >= n) return false;
    const uint8_t t = p[++i];
    if (t < 0x40 || t == 0x7F || t == 0xFF) return false;
  }
  return true;
}

size_t GbkPrefixLength(const char* s, size_t n, size_t limit) {
  size_t i = 0;
  while (i < n) {
    const size_t step = IsGbkLead(static_cast<uint8_t>(s[i])) && i + 1 < n ? 2 : 1;
    if (i + step > limit) break;
    i += step;
  }
  return i;
}

void PutGbkField(char* field, size_t size, const std::string& s) {
  if (size == 0) return;
  const size_t n = GbkPrefixLength(s.data(), s.size(), size - 1);
  s.copy(field, n);
  field[n] = '\0';
}

bool IsAscii(const std::string& s) {
  for (char c : s)
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  return true;
}

std::string LegacyTextToGbk(const uint8_t* p, size_t n, const TextConverter& conv) {
  n = LengthToNul(p, n);
  if (IsValidGbk(p, n)) return TrimTrailing(std::string(reinterpret_cast<const char*>(p), n));
  std::u16string wide(p, p + n);  // Latin-1 is the first 256 code points
  return TrimTrailing(conv.Utf16ToGbk(wide));
}

std::string Id3TextToGbk(const uint8_t* body, size_t n, const TextConverter& conv) {
  if (n < 1) return {};
  const uint8_t* p = body + 1;
  size_t len = n - 1;
  std::u16string wide;
  switch (body[0]) {
    case kLatin1:
      return LegacyTextToGbk(p, len, conv);
    case kUtf16Bom: {
      bool bigEndian = false;  // a missing BOM is a common writer bug; Windows writers meant LE
      if (len >= 2 && ((p[0] == 0xFF && p[1] == 0xFE) || (p[0] == 0xFE && p[1] == 0xFF))) {
        bigEndian = p[0] == 0xFE;
        p += 2, len -= 2;
      }
      wide = Utf16FromBytes(p, len, bigEndian);
      break;
    }
    case kUtf16Be:
      wide = Utf16FromBytes(p, len, true);
      break;
    case kUtf8:
      wide = Utf8ToUtf16(p, LengthToNul(p, len));
      break;
    default:
      return {};
  }
  return TrimTrailing(conv.Utf16ToGbk(CutAtNul(std::move(wide))));
}

std::string AsfTextToGbk(const uint8_t* p, size_t n, const TextConverter& conv) {
  return TrimTrailing(conv.Utf16ToGbk(CutAtNul(Utf16FromBytes(p, n, false))));
}

}  // namespace tagprobe
