#pragma once
// Building the ID3v2.3 tag that goes in front of the audio.
#include <string>
#include <vector>

#include "ByteIo.h"
#include "Id3v2.h"
#include "TextConverter.h"

namespace tagprobe {

// One frame of a 2.3 tag as it will be stored.
struct Frame23 {
  std::string id;  // four characters
  uint16_t flags = 0;
  Bytes body;
};

// A text frame's body for a GBK name: Latin-1 when the name is plain ASCII
// (every reader gets that right), otherwise UTF-16 with a byte-order mark,
// which every 2.3 reader knows and which holds any character.
Bytes TextFrameBody(const std::string& gbk, const TextConverter& conv);

// Header and frames, no padding and no unsynchronisation. False when the
// frames do not fit into the 28 bits of a tag size.
bool BuildId3v23Tag(const std::vector<Frame23>& frames, Bytes& tag);

// The frame of an older or newer tag as a 2.3 frame. False when it must be
// left out: a frame that asks to be dropped when the tag changes, or one 2.3
// has no form for.
bool ConvertFrameTo23(uint8_t major, const Id3v2Frame& in, Frame23& out);

// The 2.3 name of a frame of the given tag version ("" when there is none).
std::string FrameIdIn23(uint8_t major, const std::string& id);

}  // namespace tagprobe
