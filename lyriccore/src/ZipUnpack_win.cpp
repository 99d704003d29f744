#include "ZipUnpack_win.h"

#include <windows.h>

#include "FileOps_win.h"

namespace zl {

UnpackOutcome UnpackZipFromMemory(const char* data, size_t length, const std::string& folder,
                                  const std::string& password, const UnpackLimits& limits) {
  UnpackOutcome out;
  // Everything is read and checked before the first byte reaches the disk,
  // so a bad archive leaves no half-written file behind.
  ZipContents zip = ReadZipFromMemory(data, length, password, limits, SystemCodePage());
  out.refused = std::move(zip.refused);
  out.status = zip.status;
  out.detail = std::move(zip.detail);
  if (zip.status != UnpackStatus::Ok) return out;

  for (const std::string& f : zip.folders) EnsureFolder(folder + f);
  for (const ZipFileEntry& f : zip.files) {
    const std::string path = folder + f.name;
    const size_t leaf = SongFileName(f.name).size();
    if (leaf < f.name.size()) EnsureFolder(folder + f.name.substr(0, f.name.size() - leaf - 1));
    std::string error;
    if (!ReplaceFileText(path, f.bytes, error)) {
      out.status = UnpackStatus::WriteFailed;
      out.detail = path + ": " + error;
      return out;
    }
    out.written.push_back(f.name);
    std::string artist, title;
    if (LyricNamesFromEntry(f.name, artist, title) && !out.hasLyric) {
      out.hasLyric = true;
      out.lyricArtist = artist;
      out.lyricTitle = title;
    }
  }
  return out;
}

}  // namespace zl
