#include "AsfHeader.h"

#include <cstring>
#include <string>

#include "TagText.h"

namespace tagprobe {

namespace {

using Guid = uint8_t[16];
// GUIDs as stored: the first three fields little-endian.
constexpr Guid kHeaderGuid = {0x30, 0x26, 0xB2, 0x75, 0x8E, 0x66, 0xCF, 0x11,
                              0xA6, 0xD9, 0x00, 0xAA, 0x00, 0x62, 0xCE, 0x6C};
constexpr Guid kContentDescriptionGuid = {0x33, 0x26, 0xB2, 0x75, 0x8E, 0x66, 0xCF, 0x11,
                                          0xA6, 0xD9, 0x00, 0xAA, 0x00, 0x62, 0xCE, 0x6C};
constexpr Guid kExtendedContentGuid = {0x40, 0xA4, 0xD0, 0xD2, 0x07, 0xE3, 0xD2, 0x11,
                                       0x97, 0xF0, 0x00, 0xA0, 0xC9, 0x5E, 0xA8, 0x50};
constexpr Guid kFilePropertiesGuid = {0xA1, 0xDC, 0xAB, 0x8C, 0x47, 0xA9, 0xCF, 0x11,
                                      0x8E, 0xE4, 0x00, 0xC0, 0x0C, 0x20, 0x53, 0x65};
constexpr size_t kFileSizeAt = 40;        // in the File Properties object, after its file id
constexpr size_t kDescriptionFields = 5;  // title, author, copyright, description, rating
const std::u16string kAlbumName = u"WM/AlbumTitle";

bool IsGuid(const uint8_t* p, const Guid& g) { return std::memcmp(p, g, sizeof(Guid)) == 0; }

// The five strings of a Content Description object, as byte ranges.
struct Description {
  const uint8_t* field[kDescriptionFields] = {};
  uint16_t length[kDescriptionFields] = {};
};

bool ParseDescription(const uint8_t* obj, size_t size, Description& d) {
  const size_t fixed = kAsfObjectHeaderSize + 2 * kDescriptionFields;
  if (size < fixed) return false;
  size_t pos = fixed;
  for (size_t i = 0; i < kDescriptionFields; ++i) {
    d.length[i] = ReadLe16(obj + kAsfObjectHeaderSize + 2 * i);
    if (d.length[i] > size - pos) return false;
    d.field[i] = obj + pos;
    pos += d.length[i];
  }
  return true;
}

struct Descriptor {
  size_t offset = 0, size = 0;  // the whole descriptor within the object
  std::u16string name;
  uint16_t type = 0;
  const uint8_t* value = nullptr;
  uint16_t valueLength = 0;
};

bool ParseDescriptors(const uint8_t* obj, size_t size, std::vector<Descriptor>& list) {
  if (size < kAsfObjectHeaderSize + 2) return false;
  const uint16_t count = ReadLe16(obj + kAsfObjectHeaderSize);
  size_t pos = kAsfObjectHeaderSize + 2;
  for (uint16_t i = 0; i < count; ++i) {
    Descriptor d;
    d.offset = pos;
    if (size - pos < 2) return false;
    const uint16_t nameLen = ReadLe16(obj + pos);
    pos += 2;
    if (size - pos < size_t{nameLen} + 4) return false;
    std::u16string name = Utf16FromBytes(obj + pos, nameLen, false);
    d.name = name.substr(0, name.find(u'\0'));
    pos += nameLen;
    d.type = ReadLe16(obj + pos);
    d.valueLength = ReadLe16(obj + pos + 2);
    pos += 4;
    if (size - pos < d.valueLength) return false;
    d.value = obj + pos;
    pos += d.valueLength;
    d.size = pos - d.offset;
    list.push_back(std::move(d));
  }
  return true;
}

// A string as ASF stores it: UTF-16LE with its terminator; nothing at all
// for an empty one.
Bytes AsfString(const std::string& gbk, const TextConverter& conv) {
  Bytes s;
  if (gbk.empty()) return s;
  PutUtf16Le(s, conv.GbkToUtf16(gbk));
  PutLe16(s, 0);
  return s;
}

void PutObjectHeader(Bytes& out, const Guid& guid, uint64_t size) {
  Append(out, guid, sizeof(Guid));
  PutLe64(out, size);
}

bool BuildDescription(const Description* old, const SongNames& names, const TextConverter& conv, Bytes& out) {
  Bytes fields[kDescriptionFields];
  for (size_t i = 0; i < kDescriptionFields; ++i)
    if (old) fields[i].assign(old->field[i], old->field[i] + old->length[i]);
  if (!names.title.empty()) fields[0] = AsfString(names.title, conv);
  if (!names.artist.empty()) fields[1] = AsfString(names.artist, conv);
  uint64_t size = kAsfObjectHeaderSize + 2 * kDescriptionFields;
  for (const Bytes& f : fields) {
    if (f.size() > 0xFFFF) return false;
    size += f.size();
  }
  PutObjectHeader(out, kContentDescriptionGuid, size);
  for (const Bytes& f : fields) PutLe16(out, static_cast<uint16_t>(f.size()));
  for (const Bytes& f : fields) out.insert(out.end(), f.begin(), f.end());
  return true;
}

bool BuildExtended(const uint8_t* obj, const std::vector<Descriptor>& old, const std::string& album,
                   const TextConverter& conv, Bytes& out) {
  Bytes album16 = AsfString(album, conv);
  if (album16.size() > 0xFFFF) return false;
  Bytes albumDescriptor;
  Bytes name;
  PutUtf16Le(name, kAlbumName);
  PutLe16(name, 0);
  PutLe16(albumDescriptor, static_cast<uint16_t>(name.size()));
  albumDescriptor.insert(albumDescriptor.end(), name.begin(), name.end());
  PutLe16(albumDescriptor, 0);  // a string value
  PutLe16(albumDescriptor, static_cast<uint16_t>(album16.size()));
  albumDescriptor.insert(albumDescriptor.end(), album16.begin(), album16.end());

  Bytes body;
  size_t count = 0;
  bool placed = false;
  for (const Descriptor& d : old) {
    if (d.name == kAlbumName) {
      if (placed) continue;  // one album is enough
      body.insert(body.end(), albumDescriptor.begin(), albumDescriptor.end());
      placed = true;
    } else {
      Append(body, obj + d.offset, d.size);
    }
    ++count;
  }
  if (!placed) {
    body.insert(body.end(), albumDescriptor.begin(), albumDescriptor.end());
    ++count;
  }
  if (count > 0xFFFF) return false;
  PutObjectHeader(out, kExtendedContentGuid, kAsfObjectHeaderSize + 2 + uint64_t{body.size()});
  PutLe16(out, static_cast<uint16_t>(count));
  out.insert(out.end(), body.begin(), body.end());
  return true;
}

}  // namespace

bool ProbeAsf(const uint8_t* p, size_t n, uint64_t& size) {
  if (n < kAsfHeaderObjectSize || !IsGuid(p, kHeaderGuid)) return false;
  size = ReadLe64(p + 16);
  return true;
}

bool ParseAsfHeader(const uint8_t* p, size_t n, AsfHeader& header) {
  header = AsfHeader{};
  if (!ProbeAsf(p, n, header.size)) return false;
  if (header.size < kAsfHeaderObjectSize) return true;
  const size_t end = header.size < n ? static_cast<size_t>(header.size) : n;
  size_t pos = kAsfHeaderObjectSize;
  while (end - pos >= kAsfObjectHeaderSize) {
    const uint64_t size = ReadLe64(p + pos + 16);
    if (size < kAsfObjectHeaderSize || size > end - pos) break;
    header.children.push_back(AsfChild{pos, static_cast<size_t>(size)});
    pos += static_cast<size_t>(size);
  }
  header.complete = pos == header.size;
  return true;
}

SongNames ReadAsfNames(const uint8_t* p, size_t n, const TextConverter& conv) {
  SongNames names;
  AsfHeader header;
  if (!ParseAsfHeader(p, n, header)) return names;
  for (const AsfChild& c : header.children) {
    const uint8_t* obj = p + c.offset;
    Description d;
    std::vector<Descriptor> list;
    if (IsGuid(obj, kContentDescriptionGuid) && ParseDescription(obj, c.size, d)) {
      if (names.title.empty()) names.title = AsfTextToGbk(d.field[0], d.length[0], conv);
      if (names.artist.empty()) names.artist = AsfTextToGbk(d.field[1], d.length[1], conv);
    } else if (IsGuid(obj, kExtendedContentGuid)) {
      // Descriptors before a damaged one are still good.
      ParseDescriptors(obj, c.size, list);
      for (const Descriptor& e : list)
        if (names.album.empty() && e.name == kAlbumName && e.type == 0)
          names.album = AsfTextToGbk(e.value, e.valueLength, conv);
    }
  }
  return names;
}

bool RebuildAsfHeader(const uint8_t* p, size_t n, uint64_t oldFileSize, const SongNames& names,
                      const TextConverter& conv, Bytes& out) {
  AsfHeader header;
  if (!ParseAsfHeader(p, n, header) || !header.complete || header.size > oldFileSize) return false;
  Bytes children;
  size_t count = 0;
  bool haveDescription = false, haveExtended = false;
  size_t filePropertiesAt = SIZE_MAX;
  for (const AsfChild& c : header.children) {
    const uint8_t* obj = p + c.offset;
    if (IsGuid(obj, kContentDescriptionGuid)) {
      if (haveDescription) continue;
      Description d;
      if (!ParseDescription(obj, c.size, d) || !BuildDescription(&d, names, conv, children)) return false;
      haveDescription = true;
    } else if (IsGuid(obj, kExtendedContentGuid) && !names.album.empty()) {
      if (haveExtended) continue;
      std::vector<Descriptor> list;
      if (!ParseDescriptors(obj, c.size, list) || !BuildExtended(obj, list, names.album, conv, children)) return false;
      haveExtended = true;
    } else {
      if (IsGuid(obj, kFilePropertiesGuid) && c.size >= kFileSizeAt + 8) filePropertiesAt = children.size();
      Append(children, obj, c.size);
    }
    ++count;
  }
  if (!haveDescription && (!names.title.empty() || !names.artist.empty())) {
    if (!BuildDescription(nullptr, names, conv, children)) return false;
    ++count;
  }
  if (!haveExtended && !names.album.empty()) {
    if (!BuildExtended(nullptr, {}, names.album, conv, children)) return false;
    ++count;
  }
  const uint64_t newSize = kAsfHeaderObjectSize + uint64_t{children.size()};
  // Broadcast files leave the size unset; only a size that was right is kept right.
  if (filePropertiesAt != SIZE_MAX) {
    uint8_t* fileSize = children.data() + filePropertiesAt + kFileSizeAt;
    if (ReadLe64(fileSize) == oldFileSize) SetLe64(fileSize, oldFileSize - header.size + newSize);
  }
  out.clear();
  PutObjectHeader(out, kHeaderGuid, newSize);
  PutLe32(out, static_cast<uint32_t>(count));
  out.push_back(p[28]);
  out.push_back(p[29]);
  out.insert(out.end(), children.begin(), children.end());
  return true;
}

}  // namespace tagprobe
