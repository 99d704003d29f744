#pragma once
// ASF objects built by hand for tests.
#include <string>

#include "TestBytes.h"

namespace tagprobe {

inline Bytes GuidHeader() {
  return B({0x30, 0x26, 0xB2, 0x75, 0x8E, 0x66, 0xCF, 0x11, 0xA6, 0xD9, 0, 0xAA, 0, 0x62, 0xCE, 0x6C});
}
inline Bytes GuidFileProperties() {
  return B({0xA1, 0xDC, 0xAB, 0x8C, 0x47, 0xA9, 0xCF, 0x11, 0x8E, 0xE4, 0, 0xC0, 0x0C, 0x20, 0x53, 0x65});
}
inline Bytes GuidContentDescription() {
  return B({0x33, 0x26, 0xB2, 0x75, 0x8E, 0x66, 0xCF, 0x11, 0xA6, 0xD9, 0, 0xAA, 0, 0x62, 0xCE, 0x6C});
}
inline Bytes GuidExtendedContent() {
  return B({0x40, 0xA4, 0xD0, 0xD2, 0x07, 0xE3, 0xD2, 0x11, 0x97, 0xF0, 0, 0xA0, 0xC9, 0x5E, 0xA8, 0x50});
}
inline Bytes GuidData() {
  return B({0x36, 0x26, 0xB2, 0x75, 0x8E, 0x66, 0xCF, 0x11, 0xA6, 0xD9, 0, 0xAA, 0, 0x62, 0xCE, 0x6C});
}
// Stream Properties, kept as an object the tag code does not know.
inline Bytes GuidStreamProperties() {
  return B({0x91, 0x07, 0xDC, 0xB7, 0xB7, 0xA9, 0xCF, 0x11, 0x8E, 0xE6, 0, 0xC0, 0x0C, 0x20, 0x53, 0x65});
}

inline Bytes Le16(int v) { return B({v & 0xFF, (v >> 8) & 0xFF}); }
inline Bytes Le64(uint64_t v) {
  Bytes b;
  PutLe64(b, v);
  return b;
}

inline Bytes AsfObject(const Bytes& guid, const Bytes& body) { return guid + Le64(24 + body.size()) + body; }

// UTF-16LE with its terminator, as ASF stores strings.
inline Bytes U16z(const std::u16string& s) {
  Bytes b;
  for (char16_t c : s) b = b + Le16(c);
  return b + B({0, 0});
}

inline Bytes FileProperties(uint64_t fileSize) {
  return AsfObject(GuidFileProperties(), Bytes(16, 0x11) + Le64(fileSize) + Bytes(56, 0x22));
}

inline Bytes ContentDescription(const Bytes& title, const Bytes& author, const Bytes& copyright) {
  return AsfObject(GuidContentDescription(),
                   Le16(static_cast<int>(title.size())) + Le16(static_cast<int>(author.size())) +
                       Le16(static_cast<int>(copyright.size())) + Le16(0) + Le16(0) + title + author + copyright);
}

inline Bytes Descriptor(const std::u16string& name, int type, const Bytes& value) {
  const Bytes n = U16z(name);
  return Le16(static_cast<int>(n.size())) + n + Le16(type) + Le16(static_cast<int>(value.size())) + value;
}

inline Bytes AsfHeaderObject(int count, const Bytes& children) {
  return GuidHeader() + Le64(30 + children.size()) + B({count, 0, 0, 0, 1, 2}) + children;
}

}  // namespace tagprobe
