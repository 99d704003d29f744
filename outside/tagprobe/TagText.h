#pragma once
// Text as ID3 and ASF store it, to and from GBK.
#include <cstddef>
#include <cstdint>
#include <string>

#include "ByteIo.h"
#include "TextConverter.h"

namespace tagprobe {

// ID3v2 text encodings (the byte in front of a text frame's strings).
enum Id3Encoding : uint8_t { kLatin1 = 0, kUtf16Bom = 1, kUtf16Be = 2, kUtf8 = 3 };

std::u16string Utf8ToUtf16(const uint8_t* p, size_t n);
// Little-endian unless `bigEndian`; an odd trailing byte is dropped.
std::u16string Utf16FromBytes(const uint8_t* p, size_t n, bool bigEndian);
void PutUtf16Le(Bytes& out, const std::u16string& s);

// Text in a tag field that names no encoding (ID3v1, ID3v2 "Latin-1"). On the
// users' systems such fields are written in the local code page far more often
// than in real Latin-1, so bytes that form valid GBK are taken as GBK as
// Windows players do; anything else is read as Latin-1.
std::string LegacyTextToGbk(const uint8_t* p, size_t n, const TextConverter& conv);
bool IsValidGbk(const uint8_t* p, size_t n);
// The tool's own GBK rules (it checks the engine, so it shares none of the
// engine's): a lead byte is 0x81-0xFE and takes the next byte with it.
inline bool IsGbkLead(uint8_t c) { return c >= 0x81 && c <= 0xFE; }
// The longest prefix of s[0, n) of at most `limit` bytes that does not end
// between a lead byte and its trail byte.
size_t GbkPrefixLength(const char* s, size_t n, size_t limit);
// s cut so, into a NUL-terminated field of `size` bytes.
void PutGbkField(char* field, size_t size, const std::string& s);
bool IsAscii(const std::string& s);

// The first string of an ID3v2 text frame body (encoding byte first), in GBK,
// without trailing NULs and blanks. Empty for an empty or unknown body.
std::string Id3TextToGbk(const uint8_t* body, size_t n, const TextConverter& conv);

// A UTF-16LE string field as ASF stores it, ended at its first NUL.
std::string AsfTextToGbk(const uint8_t* p, size_t n, const TextConverter& conv);

}  // namespace tagprobe
