#pragma once
// Text files as users have them: in the system code page (GBK), or in UTF-8
// or UTF-16, with or without a byte-order mark. Which encoding a file is in
// is decided here from its bytes alone; the conversion between Unicode and
// the code page is the platform's (CodePageConverter).
#include <cstddef>
#include <string>

namespace zl {

enum class TextEncoding {
  CodePage,  // the system code page: bytes used as they are
  Utf8,      // UTF-8 without a byte-order mark
  Utf8Bom,   // UTF-8 after EF BB BF
  Utf16Le,   // UTF-16 little-endian after FF FE
  Utf16Be,   // UTF-16 big-endian after FE FF
};

// "code page", "UTF-8", "UTF-8 BOM", "UTF-16LE", "UTF-16BE".
const char* TextEncodingName(TextEncoding encoding);

// A byte-order mark decides. Without one, text that is valid UTF-8 and not
// plain ASCII is UTF-8; anything else is the code page. (Typical GBK text
// is not valid UTF-8: its lead bytes 0x81-0xFE rarely meet the continuation
// bytes 0x80-0xBF in the order UTF-8 needs, over more than a few words.)
TextEncoding DetectTextEncoding(const char* data, size_t size);
inline TextEncoding DetectTextEncoding(const std::string& bytes) {
  return DetectTextEncoding(bytes.data(), bytes.size());
}

// Bytes of the encoding's byte-order mark (0 for CodePage and Utf8).
size_t ByteOrderMarkLength(TextEncoding encoding);

// Strict UTF-8: shortest forms only, no surrogates, nothing above U+10FFFF.
bool IsValidUtf8(const char* data, size_t size);

// Conversions between UTF-8, UTF-16 and UTF-16 bytes. What is not a
// character (a bad sequence, a lone surrogate, an odd last byte) becomes
// U+FFFD, so nothing is dropped silently.
std::u16string Utf8ToUtf16(const char* data, size_t size);
inline std::u16string Utf8ToUtf16(const std::string& text) { return Utf8ToUtf16(text.data(), text.size()); }
std::string Utf16ToUtf8(const std::u16string& text);
std::u16string Utf16FromBytes(const char* data, size_t size, bool bigEndian);
std::string Utf16ToBytes(const std::u16string& text, bool bigEndian);

// The whole file (byte-order mark included) as UTF-8 without the mark. Only
// for the Unicode encodings; CodePage bytes need the converter.
std::string UnicodeFileToUtf8(const std::string& bytes, TextEncoding encoding);
// UTF-8 text as the bytes of a file in a Unicode encoding, with its mark.
std::string Utf8ToUnicodeFile(const std::string& utf8, TextEncoding encoding);

// The system code page, the one the lyric view draws in.
class CodePageConverter {
 public:
  virtual ~CodePageConverter() = default;
  // Characters the code page cannot hold come out as '?', visibly.
  virtual std::string FromUtf16(const std::u16string& text) const = 0;
  // Bytes that are no character come out as U+FFFD.
  virtual std::u16string ToUtf16(const std::string& text) const = 0;
};

// Windows: the ANSI code page. Elsewhere GBK, which stands in for the
// Chinese Windows the suite is made for.
const CodePageConverter& SystemCodePage();
// GBK (code page 936) whatever the system's code page: for tests and tools
// that must behave alike on every machine.
const CodePageConverter& GbkCodePage();

// A file's bytes as text in the code page: CodePage bytes as they are (no
// conversion at all), the Unicode encodings converted without their mark.
std::string FileTextToCodePage(const std::string& bytes, TextEncoding encoding, const CodePageConverter& codePage);
// Code-page text as the bytes of a file in the encoding, with its mark.
std::string CodePageToFileText(const std::string& text, TextEncoding encoding, const CodePageConverter& codePage);

// UTF-8 text in the code page, and back.
std::string Utf8ToCodePage(const std::string& utf8, const CodePageConverter& codePage);
std::string CodePageToUtf8(const std::string& text, const CodePageConverter& codePage);

}  // namespace zl
