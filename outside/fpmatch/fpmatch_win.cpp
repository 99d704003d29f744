// fpmatch: a stand-in for the recognition engine.
//   fpmatch.exe HANDOVER_FILE [--hang] [--crash] [--slow MS] [--lie]
// Reads the hand-over file, fingerprints each record's song (its audio part
// only), fills the records and writes the file back. Test behaviours come
// from the options or, since the engine gives none, from the words in
// "fpmatch.options" beside the program: hang (never ends), crash (ends with
// an access-violation code before writing anything), slow MS (waits first),
// lie (writes back a record count far above what the file holds).
// Exit code 0 when every record was filled, 2 when a song could not be read.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "AudioPrint.h"
#include "HandOver.h"

namespace {

struct Options {
  std::string handOver;
  bool hang = false, crash = false, lie = false;
  unsigned long slowMs = 0;
};

bool ReadWhole(const std::string& path, std::string& bytes) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  bytes.assign(std::istreambuf_iterator<char>(in), {});
  return true;
}

bool WriteWhole(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out);
}

void TakeWords(std::istream& in, Options& opt) {
  for (std::string word; in >> word;) {
    if (word == "hang" || word == "--hang") opt.hang = true;
    else if (word == "crash" || word == "--crash") opt.crash = true;
    else if (word == "lie" || word == "--lie") opt.lie = true;
    else if ((word == "slow" || word == "--slow") && in >> word) opt.slowMs = std::strtoul(word.c_str(), nullptr, 10);
  }
}

std::string OptionsFileBesideMe() {
  char path[MAX_PATH];
  const DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string p(path, n);
  return p.substr(0, p.rfind('\\') + 1) + "fpmatch.options";
}

std::string FileNameOf(const std::string& path) {
  const size_t slash = path.find_last_of("\\/");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

int main(int argc, char** argv) {
  Options opt;
  std::string rest;
  for (int i = 1; i < argc; ++i) {
    if (opt.handOver.empty() && argv[i][0] != '-') opt.handOver = argv[i];
    else rest += std::string(argv[i]) + " ";
  }
  if (opt.handOver.empty()) {
    std::fputs("usage: fpmatch HANDOVER_FILE [--hang] [--crash] [--slow MS] [--lie]\n", stderr);
    return 1;
  }
  std::istringstream args(rest);
  TakeWords(args, opt);
  std::ifstream file(OptionsFileBesideMe());
  TakeWords(file, opt);

  if (opt.hang) Sleep(INFINITE);
  if (opt.slowMs) Sleep(opt.slowMs);
  if (opt.crash) TerminateProcess(GetCurrentProcess(), 0xC0000005u);

  std::string bytes;
  std::vector<std::string> records;
  if (!ReadWhole(opt.handOver, bytes) || !fpmatch::ReadHandOver(bytes, records)) {
    std::fprintf(stderr, "fpmatch: %s is not a hand-over file\n", opt.handOver.c_str());
    return 1;
  }
  int rc = 0;
  for (std::string& record : records) {
    const std::string song = fpmatch::SongPathOf(record);
    std::string audio;
    fpmatch::SongPrint print;
    if (!ReadWhole(song, audio) || !fpmatch::PrintSong(audio, print)) {
      std::fprintf(stderr, "fpmatch: no audio in %s\n", song.c_str());
      rc = 2;
      continue;
    }
    fpmatch::FillRecord(record, print, FileNameOf(song));
  }
  std::string out = fpmatch::WriteHandOver(records);
  if (opt.lie) fpmatch::PutLe32(out, 0, 100000);
  if (!WriteWhole(opt.handOver, out)) {
    std::fprintf(stderr, "fpmatch: cannot write %s\n", opt.handOver.c_str());
    return 1;
  }
  return rc;
}
