#pragma once
// Fixed-width integers in tag data, read from and appended to byte buffers.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace tagprobe {

using Bytes = std::vector<uint8_t>;

inline uint32_t ReadBe32(const uint8_t* p) {
  return (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | p[3];
}
inline uint32_t ReadBe24(const uint8_t* p) { return (uint32_t{p[0]} << 16) | (uint32_t{p[1]} << 8) | p[2]; }
// 28 bits kept in four bytes of seven; false when a byte has its top bit set.
inline bool ReadSyncsafe32(const uint8_t* p, uint32_t& v) {
  if ((p[0] | p[1] | p[2] | p[3]) & 0x80) return false;
  v = (uint32_t{p[0]} << 21) | (uint32_t{p[1]} << 14) | (uint32_t{p[2]} << 7) | p[3];
  return true;
}
inline uint16_t ReadLe16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
inline uint32_t ReadLe32(const uint8_t* p) {
  return uint32_t{p[0]} | (uint32_t{p[1]} << 8) | (uint32_t{p[2]} << 16) | (uint32_t{p[3]} << 24);
}
inline uint64_t ReadLe64(const uint8_t* p) { return uint64_t{ReadLe32(p)} | (uint64_t{ReadLe32(p + 4)} << 32); }

inline void PutBe32(Bytes& b, uint32_t v) {
  for (int s = 24; s >= 0; s -= 8) b.push_back(static_cast<uint8_t>(v >> s));
}
inline void PutSyncsafe32(Bytes& b, uint32_t v) {
  for (int s = 21; s >= 0; s -= 7) b.push_back(static_cast<uint8_t>((v >> s) & 0x7F));
}
inline void PutLe16(Bytes& b, uint16_t v) {
  b.push_back(static_cast<uint8_t>(v));
  b.push_back(static_cast<uint8_t>(v >> 8));
}
inline void PutLe32(Bytes& b, uint32_t v) {
  for (int s = 0; s < 32; s += 8) b.push_back(static_cast<uint8_t>(v >> s));
}
inline void PutLe64(Bytes& b, uint64_t v) {
  PutLe32(b, static_cast<uint32_t>(v));
  PutLe32(b, static_cast<uint32_t>(v >> 32));
}
inline void SetLe64(uint8_t* p, uint64_t v) {
  for (int i = 0; i < 8; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}
inline void Append(Bytes& b, const uint8_t* p, size_t n) { b.insert(b.end(), p, p + n); }

}  // namespace tagprobe
