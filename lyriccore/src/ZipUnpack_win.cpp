#include "ZipUnpack_win.h"

#include "FileOps_win.h"
#include "shared/GbkPath.h"

namespace zl {

UnpackOutcome UnpackZipFromMemory(const char* data, size_t length, const std::string& folder,
                                  const std::string& password, const UnpackLimits& limits) {
  const ZipContents zip = ReadZipFromMemory(data, length, password, limits);
  UnpackOutcome out;
  out.refused = zip.refused;
  out.status = zip.status;
  out.detail = zip.detail;
  if (zip.status != UnpackStatus::Ok) return out;

  for (const std::string& f : zip.folders) EnsureFolder(folder + f);
  for (const ZipFile& f : zip.files) {
    const std::string path = folder + f.name;
    const std::string sub = PathFolder(f.name);
    if (!sub.empty()) EnsureFolder(folder + sub);
    std::string error;
    if (!ReplaceFileText(path, f.bytes, error)) {
      out.status = UnpackStatus::WriteFailed;
      out.detail = path + ": " + error;
      return out;
    }
    out.written.push_back(f.name);
    std::string artist, title;
    if (!out.hasLyric && LyricNamesFromEntry(f.name, artist, title)) {
      out.hasLyric = true;
      out.lyricArtist = artist;
      out.lyricTitle = title;
    }
  }
  return out;
}

}  // namespace zl
