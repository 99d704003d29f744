#include "SongTags.h"

#include <algorithm>
#include <set>

#include "AsfHeader.h"
#include "Id3v1.h"
#include "Id3v2.h"
#include "Id3v2Write.h"
#include "TagText.h"

namespace tagprobe {

namespace {

SongNames ReadId3v2Names(const Id3v2Tag& tag, const TextConverter& conv) {
  SongNames names;
  for (const Id3v2Frame& f : tag.frames) {
    if (!f.Readable()) continue;
    const std::string id = FrameIdIn23(tag.header.major, f.id);
    std::string* target = id == "TIT2"   ? &names.title
                          : id == "TPE1" ? &names.artist
                          : id == "TALB" ? &names.album
                                         : nullptr;
    if (target && target->empty()) *target = Id3TextToGbk(f.data.data(), f.data.size(), conv);
  }
  return names;
}

void FillMissing(SongNames& names, const SongNames& more) {
  if (names.title.empty()) names.title = more.title;
  if (names.artist.empty()) names.artist = more.artist;
  if (names.album.empty()) names.album = more.album;
}

// The ID3v1 tag, when the file has one that lies after `audioStart`.
const uint8_t* Id3v1Of(const SongBytes& song, uint64_t audioStart) {
  if (song.fileSize < audioStart + kId3v1Size || !HasId3v1(song.tail, song.tailSize)) return nullptr;
  return song.tail;
}

bool PlanMp3(const SongBytes& song, const SongNames& names, const TextConverter& conv, RewritePlan& plan,
             std::string& why) {
  std::vector<Frame23> frames;
  if (!names.title.empty()) frames.push_back(Frame23{"TIT2", 0, TextFrameBody(names.title, conv)});
  if (!names.artist.empty()) frames.push_back(Frame23{"TPE1", 0, TextFrameBody(names.artist, conv)});
  if (!names.album.empty()) frames.push_back(Frame23{"TALB", 0, TextFrameBody(names.album, conv)});
  std::set<std::string> replaced;
  for (const Frame23& f : frames) replaced.insert(f.id);

  Id3v2Header header;
  uint64_t audioStart = 0;
  switch (ProbeId3v2(song.head, song.headSize, header)) {
    case Id3v2Probe::kBad:
      why = "the ID3v2 header is damaged";
      return false;
    case Id3v2Probe::kAbsent:
      break;
    case Id3v2Probe::kPresent: {
      audioStart = header.TotalSize();
      if (audioStart > song.fileSize) {
        why = "the ID3v2 tag claims more bytes than the file has";
        return false;
      }
      if (audioStart > song.headSize) {
        why = "the ID3v2 tag is too large";
        return false;
      }
      Id3v2Tag tag;
      ParseId3v2(song.head, song.headSize, tag);
      if (!tag.complete || tag.framesLost) {
        why = "the ID3v2 tag is damaged";
        return false;
      }
      for (const Id3v2Frame& f : tag.frames) {
        if (replaced.count(FrameIdIn23(header.major, f.id))) continue;
        Frame23 kept;
        if (ConvertFrameTo23(header.major, f, kept)) frames.push_back(std::move(kept));
      }
      break;
    }
  }
  if (!BuildId3v23Tag(frames, plan.head)) {
    why = "the new tag would be too large";
    return false;
  }
  plan.keepFrom = audioStart;
  plan.keepTo = song.fileSize;
  if (const uint8_t* v1 = Id3v1Of(song, audioStart)) {
    plan.tail.assign(v1, v1 + kId3v1Size);
    PatchId3v1(plan.tail.data(), names);
    plan.keepTo -= kId3v1Size;
  }
  return true;
}

}  // namespace

uint64_t HeadSizeWanted(const uint8_t* probe, size_t n, uint64_t fileSize) {
  uint64_t want = n;
  Id3v2Header header;
  uint64_t asfSize;
  if (ProbeId3v2(probe, n, header) == Id3v2Probe::kPresent)
    want = header.TotalSize();
  else if (ProbeAsf(probe, n, asfSize))
    want = asfSize;
  return std::min({want, fileSize, kMaxHeadSize});
}

SongNames ReadSongNames(const SongBytes& song, const TextConverter& conv) {
  uint64_t asfSize;
  if (ProbeAsf(song.head, song.headSize, asfSize)) return ReadAsfNames(song.head, song.headSize, conv);
  SongNames names;
  Id3v2Tag tag;
  uint64_t audioStart = 0;
  if (ParseId3v2(song.head, song.headSize, tag)) {
    names = ReadId3v2Names(tag, conv);
    // A tag claiming more than the file says nothing about where it ends; an
    // ID3v1 tag at the end is then still worth reading.
    if (tag.header.TotalSize() <= song.fileSize) audioStart = tag.header.TotalSize();
  }
  if (const uint8_t* v1 = Id3v1Of(song, audioStart)) FillMissing(names, ReadId3v1(v1, conv));
  return names;
}

bool PlanTagRewrite(const SongBytes& song, bool mp3Extension, const SongNames& names, const TextConverter& conv,
                    RewritePlan& plan, std::string& why) {
  plan = RewritePlan{};
  uint64_t asfSize;
  if (ProbeAsf(song.head, song.headSize, asfSize)) {
    if (asfSize > song.headSize) {
      why = asfSize > song.fileSize ? "the ASF header claims more bytes than the file has"
                                    : "the ASF header is too large";
      return false;
    }
    if (!RebuildAsfHeader(song.head, song.headSize, song.fileSize, names, conv, plan.head)) {
      why = "the ASF header is damaged";
      return false;
    }
    plan.keepFrom = asfSize;
    plan.keepTo = song.fileSize;
    return true;
  }
  Id3v2Header header;
  if (!mp3Extension && ProbeId3v2(song.head, song.headSize, header) == Id3v2Probe::kAbsent) {
    why = "the file is neither MP3 nor WMA";
    return false;
  }
  return PlanMp3(song, names, conv, plan, why);
}

bool HasMp3Extension(const std::string& path) {
  if (path.size() < 4) return false;
  std::string ext = path.substr(path.size() - 4);
  std::transform(ext.begin(), ext.end(), ext.begin(),
                 [](char c) { return static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c); });
  return ext == ".mp3";
}

}  // namespace tagprobe
