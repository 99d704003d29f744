#include "shared/TextEncoding.h"

#include <cstdint>
#include <cstring>

namespace zl {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

const unsigned char kUtf8Bom[] = {0xEF, 0xBB, 0xBF};

bool StartsWith(const char* data, size_t size, const unsigned char* mark, size_t n) {
  return size >= n && std::memcmp(data, mark, n) == 0;
}

// One UTF-8 sequence at data[i]: its code point and length; 0 when it is
// not a valid sequence (the caller takes one byte as U+FFFD).
size_t DecodeUtf8(const unsigned char* p, size_t left, char32_t& cp) {
  const unsigned char c = p[0];
  if (c < 0x80) {
    cp = c;
    return 1;
  }
  size_t n;
  char32_t min;
  if (c >= 0xC2 && c <= 0xDF) {
    n = 2, min = 0x80, cp = c & 0x1F;
  } else if (c >= 0xE0 && c <= 0xEF) {
    n = 3, min = 0x800, cp = c & 0x0F;
  } else if (c >= 0xF0 && c <= 0xF4) {
    n = 4, min = 0x10000, cp = c & 0x07;
  } else {
    return 0;
  }
  if (left < n) return 0;
  for (size_t k = 1; k < n; ++k) {
    if ((p[k] & 0xC0) != 0x80) return 0;
    cp = (cp << 6) | (p[k] & 0x3F);
  }
  if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
  return n;
}

void AppendUtf16(std::u16string& out, char32_t cp) {
  if (cp < 0x10000) {
    out.push_back(static_cast<char16_t>(cp));
  } else {
    cp -= 0x10000;
    out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
    out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
  }
}

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

}  // namespace

const char* TextEncodingName(TextEncoding encoding) {
  switch (encoding) {
    case TextEncoding::CodePage: return "code page";
    case TextEncoding::Utf8: return "UTF-8";
    case TextEncoding::Utf8Bom: return "UTF-8 BOM";
    case TextEncoding::Utf16Le: return "UTF-16LE";
    case TextEncoding::Utf16Be: return "UTF-16BE";
  }
  return "code page";
}

TextEncoding DetectTextEncoding(const char* data, size_t size) {
  static const unsigned char le[] = {0xFF, 0xFE}, be[] = {0xFE, 0xFF};
  if (StartsWith(data, size, kUtf8Bom, 3)) return TextEncoding::Utf8Bom;
  if (StartsWith(data, size, le, 2)) return TextEncoding::Utf16Le;
  if (StartsWith(data, size, be, 2)) return TextEncoding::Utf16Be;
  bool ascii = true;
  for (size_t i = 0; i < size && ascii; ++i) ascii = static_cast<unsigned char>(data[i]) < 0x80;
  if (!ascii && IsValidUtf8(data, size)) return TextEncoding::Utf8;
  return TextEncoding::CodePage;
}

size_t ByteOrderMarkLength(TextEncoding encoding) {
  switch (encoding) {
    case TextEncoding::Utf8Bom: return 3;
    case TextEncoding::Utf16Le:
    case TextEncoding::Utf16Be: return 2;
    default: return 0;
  }
}

bool IsValidUtf8(const char* data, size_t size) {
  const unsigned char* p = reinterpret_cast<const unsigned char*>(data);
  for (size_t i = 0; i < size;) {
    if (p[i] < 0x80) {
      ++i;
      continue;
    }
    char32_t cp;
    const size_t n = DecodeUtf8(p + i, size - i, cp);
    if (n == 0) return false;
    i += n;
  }
  return true;
}

std::u16string Utf8ToUtf16(const char* data, size_t size) {
  const unsigned char* p = reinterpret_cast<const unsigned char*>(data);
  std::u16string out;
  out.reserve(size);
  for (size_t i = 0; i < size;) {
    char32_t cp;
    const size_t n = DecodeUtf8(p + i, size - i, cp);
    if (n == 0) {
      AppendUtf16(out, kReplacement);
      ++i;
    } else {
      AppendUtf16(out, cp);
      i += n;
    }
  }
  return out;
}

std::string Utf16ToUtf8(const std::u16string& text) {
  std::string out;
  out.reserve(text.size() * 3);
  for (size_t i = 0; i < text.size(); ++i) {
    char32_t cp = text[i];
    if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      ++i;
    } else if (cp >= 0xD800 && cp <= 0xDFFF) {
      cp = kReplacement;
    }
    AppendUtf8(out, cp);
  }
  return out;
}

std::u16string Utf16FromBytes(const char* data, size_t size, bool bigEndian) {
  const unsigned char* p = reinterpret_cast<const unsigned char*>(data);
  std::u16string out;
  out.reserve(size / 2 + 1);
  for (size_t i = 0; i + 1 < size; i += 2)
    out.push_back(static_cast<char16_t>(bigEndian ? (p[i] << 8) | p[i + 1] : p[i] | (p[i + 1] << 8)));
  if (size % 2) out.push_back(static_cast<char16_t>(kReplacement));
  return out;
}

std::string Utf16ToBytes(const std::u16string& text, bool bigEndian) {
  std::string out;
  out.reserve(text.size() * 2);
  for (char16_t u : text) {
    const char hi = static_cast<char>(u >> 8), lo = static_cast<char>(u & 0xFF);
    out.push_back(bigEndian ? hi : lo);
    out.push_back(bigEndian ? lo : hi);
  }
  return out;
}

std::string UnicodeFileToUtf8(const std::string& bytes, TextEncoding encoding) {
  const size_t skip = bytes.size() >= ByteOrderMarkLength(encoding) ? ByteOrderMarkLength(encoding) : 0;
  const char* body = bytes.data() + skip;
  const size_t size = bytes.size() - skip;
  switch (encoding) {
    case TextEncoding::Utf16Le: return Utf16ToUtf8(Utf16FromBytes(body, size, false));
    case TextEncoding::Utf16Be: return Utf16ToUtf8(Utf16FromBytes(body, size, true));
    default:
      // A valid file comes out as it is; anything broken inside is replaced.
      if (IsValidUtf8(body, size)) return std::string(body, size);
      return Utf16ToUtf8(Utf8ToUtf16(body, size));
  }
}

std::string Utf8ToUnicodeFile(const std::string& utf8, TextEncoding encoding) {
  switch (encoding) {
    case TextEncoding::Utf16Le: return "\xFF\xFE" + Utf16ToBytes(Utf8ToUtf16(utf8), false);
    case TextEncoding::Utf16Be: return "\xFE\xFF" + Utf16ToBytes(Utf8ToUtf16(utf8), true);
    case TextEncoding::Utf8Bom: return "\xEF\xBB\xBF" + utf8;
    default: return utf8;
  }
}

std::string FileTextToCodePage(const std::string& bytes, TextEncoding encoding, const CodePageConverter& codePage) {
  if (encoding == TextEncoding::CodePage) return bytes;
  return codePage.FromUtf16(Utf8ToUtf16(UnicodeFileToUtf8(bytes, encoding)));
}

std::string CodePageToFileText(const std::string& text, TextEncoding encoding, const CodePageConverter& codePage) {
  if (encoding == TextEncoding::CodePage) return text;
  return Utf8ToUnicodeFile(Utf16ToUtf8(codePage.ToUtf16(text)), encoding);
}

std::string Utf8ToCodePage(const std::string& utf8, const CodePageConverter& codePage) {
  return codePage.FromUtf16(Utf8ToUtf16(utf8));
}

std::string CodePageToUtf8(const std::string& text, const CodePageConverter& codePage) {
  return Utf16ToUtf8(codePage.ToUtf16(text));
}

}  // namespace zl
