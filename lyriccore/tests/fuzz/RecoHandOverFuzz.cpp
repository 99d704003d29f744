// The hand-over file, written back by the recognition engine (another
// program, possibly confused): the records it gives are bounded and every
// text in them is terminated; records written and read again are the same;
// a fingerprint's text reads back as its words.
#include <string>
#include <vector>

#include "FuzzCheck.h"
#include "RecoProtocol.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<RecoTagInfo> records;
  const zl::HandOverRead read = zl::ParseHandOverFile(reinterpret_cast<const char*>(data), size, records);
  if (read != zl::HandOverRead::Ok) {
    FUZZ_CHECK(records.empty());
  } else {
    FUZZ_CHECK(!records.empty() && records.size() <= static_cast<size_t>(zl::kMaxHandOverRecords));
    FUZZ_CHECK(size >= 4 + records.size() * sizeof(RecoTagInfo));
    for (const RecoTagInfo& r : records) {
      FUZZ_CHECK(FuzzFieldTerminated(r.title, sizeof r.title) && FuzzFieldTerminated(r.artist, sizeof r.artist) &&
                 FuzzFieldTerminated(r.album, sizeof r.album) && FuzzFieldTerminated(r.songPath, sizeof r.songPath) &&
                 FuzzFieldTerminated(r.lastField, sizeof r.lastField));
      for (int i = 0; i < 3; ++i) FUZZ_CHECK(zl::RecoMetaText(r, i).size() <= zl::kRecoMetaTextBytes);
      uint32_t words[256];
      zl::FingerprintWordsFromText(zl::FingerprintText(r.fp), words);
      FUZZ_CHECK(std::memcmp(words, r.fp, sizeof words) == 0);
    }
    const std::string again = zl::FormatHandOverFile(records);
    std::vector<RecoTagInfo> back;
    FUZZ_CHECK(zl::ParseHandOverFile(again.data(), again.size(), back) == zl::HandOverRead::Ok);
    FUZZ_CHECK(back.size() == records.size() &&
               std::memcmp(back.data(), records.data(), records.size() * sizeof(RecoTagInfo)) == 0);
    (void)zl::RecognitionRequestLine("1,2,3", records.back(), static_cast<int64_t>(size), "song.mp3");
  }
  // Any text as a fingerprint: at most 256 words, never a read past them.
  uint32_t words[256];
  zl::FingerprintWordsFromText(std::string(reinterpret_cast<const char*>(data), size), words);
  return 0;
}
