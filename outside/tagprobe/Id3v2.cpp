#include "Id3v2.h"

#include <algorithm>

namespace tagprobe {

namespace {

bool ValidId(const uint8_t* p, size_t len) {
  for (size_t i = 0; i < len; ++i)
    if (!IsFrameIdChar(p[i])) return false;
  return true;
}

// Where frames may start after the header (and extended header); false when
// an extended header does not fit.
bool FirstFrameOffset(const Id3v2Header& h, const Bytes& body, size_t& offset) {
  offset = 0;
  if (h.major < 3 || !(h.flags & 0x40)) return true;
  if (body.size() < 4) return false;
  uint64_t extSize;
  if (h.major == 3) {
    extSize = uint64_t{4} + ReadBe32(body.data());  // the size excludes itself
  } else {
    uint32_t v;
    if (!ReadSyncsafe32(body.data(), v) || v < 6) return false;
    extSize = v;
  }
  if (extSize > body.size()) return false;
  offset = static_cast<size_t>(extSize);
  return true;
}

// Takes the extra bytes that follow a frame header out of the body.
bool SplitFrameBody(uint8_t major, bool tagUnsync, Id3v2Frame& f) {
  Bytes body = f.stored;
  const uint8_t fmt = static_cast<uint8_t>(f.flags);
  size_t pos = 0;
  auto take = [&](size_t k, uint32_t& v) {
    if (body.size() - pos < k) return false;
    v = 0;
    for (size_t i = 0; i < k; ++i) v = (v << 8) | body[pos + i];
    pos += k;
    return true;
  };
  uint32_t v = 0;
  if (major == 3) {
    f.compressed = fmt & 0x80;
    f.encrypted = fmt & 0x40;
    if (f.compressed) {
      if (!take(4, v)) return false;
      f.hasDataLength = true, f.dataLength = v;
    }
    if (f.encrypted) {
      if (!take(1, v)) return false;
      f.encryptionMethod = static_cast<int>(v);
    }
    if (fmt & 0x20) {
      if (!take(1, v)) return false;
      f.groupId = static_cast<int>(v);
    }
  } else if (major == 4) {
    if ((fmt & 0x02) || tagUnsync) body = RemoveUnsync(body.data(), body.size());
    f.compressed = fmt & 0x08;
    f.encrypted = fmt & 0x04;
    if (fmt & 0x40) {
      if (!take(1, v)) return false;
      f.groupId = static_cast<int>(v);
    }
    if (f.encrypted) {
      if (!take(1, v)) return false;
      f.encryptionMethod = static_cast<int>(v);
    }
    if (fmt & 0x01) {
      if (body.size() - pos < 4 || !ReadSyncsafe32(body.data() + pos, v)) return false;
      pos += 4;
      f.hasDataLength = true, f.dataLength = v;
    }
  }
  f.data.assign(body.begin() + static_cast<std::ptrdiff_t>(pos), body.end());
  return true;
}

// Some writers put plain big-endian sizes into 2.4 frames; take the reading
// that lands on the next frame (or on the end of the frames).
uint32_t FrameSize24(const Bytes& b, size_t at, size_t end) {
  const uint8_t* s = b.data() + at + 4;
  const uint32_t plain = ReadBe32(s);
  uint32_t safe;
  if (!ReadSyncsafe32(s, safe)) return plain;
  if (safe == plain) return safe;
  auto landsWell = [&](uint64_t size) {
    const uint64_t next = at + 10 + size;
    if (next > end) return false;
    if (next == end || b[next] == 0) return true;
    return end - next >= 10 && ValidId(b.data() + next, 4);
  };
  return (!landsWell(safe) && landsWell(plain)) ? plain : safe;
}

}  // namespace

bool IsFrameIdChar(uint8_t c) { return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'); }

Bytes RemoveUnsync(const uint8_t* p, size_t n) {
  Bytes out;
  out.reserve(n);
  for (size_t i = 0; i < n; ++i) {
    out.push_back(p[i]);
    if (p[i] == 0xFF && i + 1 < n && p[i + 1] == 0x00) ++i;
  }
  return out;
}

Id3v2Probe ProbeId3v2(const uint8_t* p, size_t n, Id3v2Header& header) {
  if (n < 3 || p[0] != 'I' || p[1] != 'D' || p[2] != '3') return Id3v2Probe::kAbsent;
  if (n < kId3HeaderSize) return Id3v2Probe::kBad;
  if (p[3] < 2 || p[3] > 4 || p[4] == 0xFF) return Id3v2Probe::kBad;
  uint32_t size;
  if (!ReadSyncsafe32(p + 6, size)) return Id3v2Probe::kBad;
  header.major = p[3];
  header.flags = p[5];
  header.bodySize = size;
  return Id3v2Probe::kPresent;
}

bool ParseId3v2(const uint8_t* p, size_t n, Id3v2Tag& tag) {
  tag = Id3v2Tag{};
  if (ProbeId3v2(p, n, tag.header) != Id3v2Probe::kPresent) return false;
  const Id3v2Header& h = tag.header;
  const size_t atHand = std::min<uint64_t>(h.bodySize, n - kId3HeaderSize);
  bool complete = atHand == h.bodySize;

  const bool tagUnsync = h.flags & 0x80;
  Bytes body = (tagUnsync && h.major < 4) ? RemoveUnsync(p + kId3HeaderSize, atHand)
                                          : Bytes(p + kId3HeaderSize, p + kId3HeaderSize + atHand);
  if (h.major == 2 && (h.flags & 0x40)) {
    // 2.2 compression was never defined; the frames cannot be read.
    tag.framesLost = true;
    tag.complete = complete;
    return true;
  }
  size_t pos;
  if (!FirstFrameOffset(h, body, pos)) return true;  // incomplete, no frames

  const size_t idLen = h.major == 2 ? 3 : 4;
  const size_t headLen = h.major == 2 ? 6 : 10;
  const size_t end = body.size();
  while (pos < end) {
    if (body[pos] == 0) break;  // padding
    if (end - pos < headLen || !ValidId(body.data() + pos, idLen)) {
      complete = false;
      break;
    }
    const uint8_t* fh = body.data() + pos;
    uint32_t size;
    if (h.major == 2) {
      size = ReadBe24(fh + 3);
    } else if (h.major == 3) {
      size = ReadBe32(fh + 4);
    } else {
      size = FrameSize24(body, pos, end);
    }
    if (size > end - pos - headLen) {
      complete = false;
      break;
    }
    Id3v2Frame f;
    f.id.assign(reinterpret_cast<const char*>(fh), idLen);
    if (h.major > 2) f.flags = static_cast<uint16_t>((fh[8] << 8) | fh[9]);
    f.stored.assign(fh + headLen, fh + headLen + size);
    pos += headLen + size;
    if (!SplitFrameBody(h.major, tagUnsync, f)) {
      complete = false;
      continue;
    }
    tag.frames.push_back(std::move(f));
  }
  tag.complete = complete;
  return true;
}

}  // namespace tagprobe
