// A content answer of the lyric server of about 100 KB (a lyric of 300 lines
// and three pictures), taken apart as the engine does: the header, the
// archive read and checked in memory, the lyric parsed. Writing the files
// is left out: that is the file system's time, not the engine's. Run the
// program itself; the time per answer is the figure to watch (tens of
// milliseconds would be far too slow).
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "SearchProtocol.h"
#include "ZipArchive.h"
#include "ZipWriter.h"
#include "lyriccore/LrcText.h"

namespace {

std::string Lyric() {
  std::string lyric = "[ti:Ti]\r\n[ar:Ar]\r\n";
  for (int i = 0; i < 300; ++i) {
    char line[64];
    std::snprintf(line, sizeof line, "[%02d:%02d.00]line number %d of the song\r\n", i / 60, i % 60, i);
    lyric += line;
  }
  return lyric;
}

// Picture bytes do not compress; any fixed noise will do.
std::string Picture(uint32_t salt) {
  std::string bytes(30000, '\0');
  for (char& b : bytes) b = static_cast<char>((salt = salt * 1103515245u + 12345u) >> 16);
  return bytes;
}

std::string Answer(const std::string& password) {
  std::string header = "rcode=0\r\nhitfrom=tag\r\nzipsig=1\r\npath=/p\r\n";
  if (!password.empty()) header += "password=" + password + "\r\n";
  return header + "TP=content\r\n\r\n" +
         lyricserver::BuildZip({{"Lyric/Ar-Ti.lrc", Lyric()},
                                {"Artist/Ar.jpg", Picture(1)},
                                {"Artist/Ar_swf.jpg", Picture(2)},
                                {"Artist/Ar_swf.sig", "12,34"},
                                {"MTV/Ar-Ti_flv.jpg", Picture(3)},
                                {"MTV/Ar-Ti_flv.sig", "56,78"}},
                               password);
}

void TakeApart(benchmark::State& state, const std::string& password) {
  const std::string answer = Answer(password);
  size_t sentences = 0;
  for (auto _ : state) {
    zl::SearchAnswer a;
    if (!zl::ParseSearchAnswerHeader(answer.data(), answer.size(), a)) state.SkipWithError("header");
    const zl::ZipContents zip =
        zl::ReadZipFromMemory(answer.data() + a.bodyOffset, answer.size() - a.bodyOffset, a.password);
    if (zip.status != zl::UnpackStatus::Ok || zip.files.empty()) state.SkipWithError("archive");
    LrcTags tags;
    std::vector<TimeSentence> list;
    ParseLrcText(zip.files[0].bytes, tags, list, 0);
    sentences = list.size();
    benchmark::DoNotOptimize(list.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * answer.size()));
  state.counters["answer_bytes"] = static_cast<double>(answer.size());
  state.counters["sentences"] = static_cast<double>(sentences);
}

void BM_ContentAnswer(benchmark::State& state) { TakeApart(state, ""); }
void BM_ProtectedContentAnswer(benchmark::State& state) { TakeApart(state, "s3cret"); }

}  // namespace

BENCHMARK(BM_ContentAnswer)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ProtectedContentAnswer)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
