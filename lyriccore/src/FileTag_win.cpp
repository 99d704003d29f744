// The song's tags through the tag tool, and its song signature.
#include <windows.h>

#include <atomic>
#include <cstdio>

#include "EngineLog.h"
#include "FileOps_win.h"
#include "KeyValueText.h"
#include "LocalNames.h"
#include "SongSignature.h"
#include "TagData.h"
#include "lyriccore/ZLyric.h"
#include "shared/GbkPath.h"

using namespace zl;

namespace {

// The tag tool reads a few frames of one file; one that takes longer than
// this has hung and would hold the fetch for good.
constexpr unsigned long kTagToolWaitMs = 30000;

std::atomic<unsigned> g_dataFileCounter{0};

bool IsMp3OrWma(const std::string& path) {
  std::string ext = PathExtension(path);
  for (char& ch : ext) ch = static_cast<char>(ch >= 'A' && ch <= 'Z' ? ch - 'A' + 'a' : ch);
  return ext == "mp3" || ext == "wma";
}

}  // namespace

bool ZLyric::ReadTagsWithTool(std::string& title, std::string& artist, std::string& album) {
  if (!m_szInstallHome[0]) return false;
  const std::string home = m_szInstallHome;
  const std::string folder = home + "\\Resource\\Info";
  if (!EnsureFolder(folder)) {
    LogWrite(m_szLogFile, kEngineLog, kEngineModule, "GetFileTag:cannot create %s", folder.c_str());
    return false;
  }
  // Fetch and pre-fetch engines may ask at the same time: one file each.
  char name[64];
  std::snprintf(name, sizeof name, "\\tag%lu_%u.dat", GetCurrentProcessId(), ++g_dataFileCounter);
  const std::string dataFile = folder + name;
  DeleteFileA(dataFile.c_str());
  const std::string command =
      "\"" + JoinPath(home, "tagprobe.exe") + "\" G \"" + m_songFileAtr.songPath + "\" \"" + dataFile + "\"";
  const bool ran = RunHiddenAndWait(command, home, kTagToolWaitMs);
  std::string bytes;
  const bool read = ran && ReadWholeFile(dataFile, bytes);
  DeleteFileA(dataFile.c_str());
  if (!ran) {
    LogWrite(m_szLogFile, kEngineLog, kEngineModule, "GetFileTag:tag tool did not run: %s", command.c_str());
    return false;
  }
  TagNames names;
  if (!read || !ParseTagData(bytes, names)) return false;
  title = names.title;
  artist = names.artist;
  album = names.album;
  return true;
}

bool ZLyric::CalculateSig() {
  m_songFileAtr.sig1 = m_songFileAtr.sig2 = 0;
  const std::string path = m_songFileAtr.songPath;
  const FileByteSource song(path);
  return song.IsOpen() &&
         SongSignature(song, EndsInWma(path), m_songFileAtr.nKbps, m_songFileAtr.sig1, m_songFileAtr.sig2);
}

void ZLyric::GetFileTag() {
  SongFileAtr& s = m_songFileAtr;
  LogWrite(m_szLogFile, kEngineLog, kEngineModule, "enter GetFileTag:%s", s.songPath);
  CopyToField(s.tagArtist, sizeof s.tagArtist, FieldText(s.artist));
  CopyToField(s.tagTitle, sizeof s.tagTitle, FieldText(s.title));
  CopyToField(s.tagAlbum, sizeof s.tagAlbum, FieldText(s.album));
  CopyToField(s.finalArtist, sizeof s.finalArtist, FieldText(s.artist));
  CopyToField(s.finalTitle, sizeof s.finalTitle, FieldText(s.title));
  CopyToField(s.finalAlbum, sizeof s.finalAlbum, FieldText(s.album));
  if (!IsMp3OrWma(s.songPath)) {
    LogWrite(m_szLogFile, kEngineLog, kEngineModule, "out GetFileTag:File is neither mp3 nor wma");
    return;
  }
  std::string title, artist, album;
  const bool tagged = ReadTagsWithTool(title, artist, album);
  if (tagged) {
    CopyToField(s.tagArtist, sizeof s.tagArtist, artist);
    CopyToField(s.tagTitle, sizeof s.tagTitle, title);
    CopyToField(s.tagAlbum, sizeof s.tagAlbum, album);
  }
  AddTrace("CalculateSig Start:");
  AddTrace(CalculateSig() ? "CalculateSig End:" : "CalculateSig End(fail):");
  // A name the tags lack is taken from the player.
  if (tagged && s.tagArtist[0]) CopyToField(s.finalArtist, sizeof s.finalArtist, FieldText(s.tagArtist));
  if (tagged && s.tagTitle[0]) CopyToField(s.finalTitle, sizeof s.finalTitle, FieldText(s.tagTitle));
  if (tagged && s.tagAlbum[0]) CopyToField(s.finalAlbum, sizeof s.finalAlbum, FieldText(s.tagAlbum));
  LogWrite(m_szLogFile, kEngineLog, kEngineModule, "out GetFileTag:final artist:%s,title:%s,album:%s",
           s.finalArtist, s.finalTitle, s.finalAlbum);
}
