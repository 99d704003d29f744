#include "Id3v2Write.h"

#include "TagText.h"

namespace tagprobe {

Bytes TextFrameBody(const std::string& gbk, const TextConverter& conv) {
  Bytes body;
  if (IsAscii(gbk)) {
    body.push_back(kLatin1);
    body.insert(body.end(), gbk.begin(), gbk.end());
  } else {
    body = {kUtf16Bom, 0xFF, 0xFE};
    PutUtf16Le(body, conv.GbkToUtf16(gbk));
  }
  return body;
}

bool BuildId3v23Tag(const std::vector<Frame23>& frames, Bytes& tag) {
  uint64_t size = 0;
  for (const Frame23& f : frames) size += 10 + uint64_t{f.body.size()};
  if (size >= (uint64_t{1} << 28)) return false;
  tag = {'I', 'D', '3', 3, 0, 0};
  PutSyncsafe32(tag, static_cast<uint32_t>(size));
  for (const Frame23& f : frames) {
    tag.insert(tag.end(), f.id.begin(), f.id.end());
    PutBe32(tag, static_cast<uint32_t>(f.body.size()));
    tag.push_back(static_cast<uint8_t>(f.flags >> 8));
    tag.push_back(static_cast<uint8_t>(f.flags));
    tag.insert(tag.end(), f.body.begin(), f.body.end());
  }
  return true;
}

}  // namespace tagprobe
