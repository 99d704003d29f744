// tagprobe: the tag tool the lyric engine and the plug-in run.
//   tagprobe.exe G "song" "datafile"   writes the song's names into the data file
//   tagprobe.exe S "datafile" "song"   writes the names of the data file into the song
// Exit code 0 on success, 1 when a file cannot be read or written (a failed
// G leaves no data file, a failed S leaves the song as it was), 2 for a
// command line it does not know.
#include <windows.h>

#include <cstdio>
#include <exception>
#include <string>

#include "SongFile_win.h"
#include "SongTags.h"
#include "TagDataFile.h"
#include "TextConverter_win.h"

namespace tagprobe {
namespace {

int Fail(const std::string& why) {
  std::fprintf(stderr, "tagprobe: %s\n", why.c_str());
  return 1;
}

int GetTags(const std::string& songPath, const std::string& dataPath) {
  std::string why;
  SongContent song;
  {
    zl::UniqueHandle file = OpenForRead(songPath, true, why);
    if (!file || !LoadSong(file.Get(), song, why)) return Fail(why);
  }
  const SongNames names = ReadSongNames(song.View(), Cp936Converter());
  if (!WriteFileReplacing(dataPath, EncodeTagData(names), why)) return Fail(why);
  return 0;
}

int SetTags(const std::string& dataPath, const std::string& songPath) {
  std::string why;
  Bytes data;
  if (!ReadWholeFile(dataPath, sizeof(TagDataRecord), data, why)) return Fail(why);
  SongNames names;
  switch (DecodeTagData(data.data(), data.size(), names)) {
    case TagDataStatus::kMalformed:
      return Fail(dataPath + " is not a tag data file");
    case TagDataStatus::kNoNames:
      return 0;  // nothing to write; the song stays untouched
    case TagDataStatus::kNames:
      break;
  }
  // Nobody may write to the song while the new file is built from it.
  zl::UniqueHandle file = OpenForRead(songPath, false, why);
  SongContent song;
  if (!file || !LoadSong(file.Get(), song, why)) return Fail(why);
  const Cp936Converter conv;
  RewritePlan plan;
  if (!PlanTagRewrite(song.View(), HasMp3Extension(songPath), names, conv, plan, why))
    return Fail(songPath + ": " + why);
  if (!RewriteSong(songPath, std::move(file), plan, why)) return Fail(songPath + ": " + why);
  return 0;
}

int Run(int argc, char** argv) {
  const std::string mode = argc == 4 ? argv[1] : "";
  if (mode == "G" || mode == "g") return GetTags(argv[2], argv[3]);
  if (mode == "S" || mode == "s") return SetTags(argv[2], argv[3]);
  std::fprintf(stderr, "usage: tagprobe G \"song\" \"datafile\"\n       tagprobe S \"datafile\" \"song\"\n");
  return 2;
}

}  // namespace
}  // namespace tagprobe

int main(int argc, char** argv) {
  try {
    return tagprobe::Run(argc, argv);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "tagprobe: %s\n", e.what());
  } catch (...) {
    std::fprintf(stderr, "tagprobe: unexpected failure\n");
  }
  return 1;
}
