// Song files carry tags anybody may have written: the names read from any
// bytes, and a rewrite of any file keeps within the file and reads back with
// the names it was asked to write.
#include <string>

#include "FuzzCheck.h"
#include "SongTags.h"
#include "TagDataFile.h"
#include "TestConverter.h"

using namespace tagprobe;

namespace {

SongBytes View(const Bytes& file, uint64_t fileSize) {
  SongBytes v;
  v.head = file.data(), v.headSize = file.size(), v.fileSize = fileSize;
  v.tailSize = file.size() < 128 ? file.size() : 128;
  v.tail = file.data() + file.size() - v.tailSize;
  return v;
}

// A name the code page can hold: printable ASCII and GB2312 characters, at
// most 60 bytes of whole characters.
std::string CleanName(const std::string& raw) {
  std::string out;
  for (size_t i = 0; i < raw.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(raw[i]);
    std::string character;
    if (c >= 0x21 && c <= 0x7E) {
      character = raw.substr(i, 1);
    } else if (c >= 0xB0 && c <= 0xF7 && i + 1 < raw.size()) {
      const unsigned char t = static_cast<unsigned char>(raw[i + 1]);
      if (t >= 0xA1 && t <= 0xFE && !(c == 0xD7 && t >= 0xFA)) character = raw.substr(i, 2);
      ++i;
    }
    if (out.size() + character.size() > 60) break;
    out += character;
  }
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  const bool mp3Name = in.ConsumeBool();
  SongNames wanted;
  wanted.title = CleanName(in.ConsumeRandomLengthString(80));
  wanted.artist = CleanName(in.ConsumeRandomLengthString(80));
  wanted.album = CleanName(in.ConsumeRandomLengthString(80));
  const std::vector<uint8_t> bytes = in.ConsumeRemainingBytes<uint8_t>();
  if (bytes.empty()) return 0;
  const Bytes file(bytes.begin(), bytes.end());
  const TestConverter conv;

  (void)ReadSongNames(View(file, file.size()), conv);
  SongNames fromData;
  (void)DecodeTagData(file.data(), file.size(), fromData);
  FUZZ_CHECK(fromData.title.size() <= 255 && fromData.artist.size() <= 255 && fromData.album.size() <= 255);

  RewritePlan plan;
  std::string why;
  if (!PlanTagRewrite(View(file, file.size()), mp3Name, wanted, conv, plan, why)) return 0;
  FUZZ_CHECK(plan.keepFrom <= plan.keepTo && plan.keepTo <= file.size());
  Bytes rewritten = plan.head;
  rewritten.insert(rewritten.end(), file.begin() + static_cast<std::ptrdiff_t>(plan.keepFrom),
                   file.begin() + static_cast<std::ptrdiff_t>(plan.keepTo));
  rewritten.insert(rewritten.end(), plan.tail.begin(), plan.tail.end());
  FUZZ_CHECK(rewritten.size() == plan.NewSize());
  const SongNames read = ReadSongNames(View(rewritten, rewritten.size()), conv);
  if (!wanted.title.empty()) FUZZ_CHECK(read.title == wanted.title);
  if (!wanted.artist.empty()) FUZZ_CHECK(read.artist == wanted.artist);
  if (!wanted.album.empty()) FUZZ_CHECK(read.album == wanted.album);
  return 0;
}
