// The song's info file and what the resource folder holds for it.
#include <windows.h>

#include <cstring>
#include <ctime>

#include "EngineLog.h"
#include "FileOps_win.h"
#include "InfoFile.h"
#include "KeyValueText.h"
#include "LocalNames.h"
#include "ResourceRules.h"
#include "SongSignature.h"
#include "lyriccore/ZLyric.h"
#include "shared/GbkPath.h"
#include "shared/InstallHome.h"

using namespace zl;

namespace {

int32_t Now() { return static_cast<int32_t>(std::time(nullptr)); }

int32_t LengthMs(const SongFileAtr& song) {
  const uint64_t ms = uint64_t{song.unLength} * 1000;
  return ms > INT32_MAX ? INT32_MAX : static_cast<int32_t>(ms);
}

// Reads and parses the lyric at path into the Content; false when it cannot be read.
bool LoadLyric(const std::string& path, int32_t lengthMs, Content& c) {
  // A file in UTF-8 or UTF-16 is shown in the code page; a GBK file as it is.
  if (!ReadLyricFile(path, c.tags, c.sentences, c.words, lengthMs)) return false;
  CopyToField(c.lrc_path, sizeof c.lrc_path, path);
  return true;
}

}  // namespace

std::string ZLyric::GetInfoFile(std::string songPath, std::string artist, std::string title) {
  songPath = NormalizeSongPath(songPath);
  const std::string forWhat = songPath + '\n' + artist + '\n' + title;
  if (!m_strInfoPath.empty() && m_strInfoPathFor == forWhat) return m_strInfoPath;
  // Without an install home there is no resource folder to keep info in.
  if (!m_szInstallHome[0] || !m_szResourceDir[0]) {
    LogWrite(m_szLogFile, kEngineLog, kEngineModule, "GetInfoFile:no resource folder");
    return std::string();
  }
  std::string key;
  if (FileExists(songPath)) {
    const FileByteSource song(songPath);
    uint32_t h1 = 0, h2 = 0;
    if (song.IsOpen() && FileSignature(song, HasMp3Extension(songPath), h1, h2)) key = SignatureKey(h1, h2);
  }
  if (key.empty() && !artist.empty() && !title.empty()) key = std::to_string(NamesHash(artist, title));
  if (key.empty()) {
    LogWrite(m_szLogFile, kEngineLog, kEngineModule, "GetInfoFile:no info file for %s", songPath.c_str());
    return std::string();
  }
  m_strInfoPath = InfoFilePath(m_szResourceDir, key);
  m_strInfoPathFor = forWhat;
  return m_strInfoPath;
}

void ZLyric::ReadInfoFile(std::string infoPath, ResultType& rt, std::vector<SearchItem>& sl, Content& c) {
  rt = RESULT_TYPE_NONE;
  sl.clear();
  ClearContent(c);
  std::string text;
  if (infoPath.empty() || !ReadWholeFile(infoPath, text)) {
    LogWrite(m_szLogFile, kEngineLog, kEngineModule, "ReadInfoFile %s not read", infoPath.c_str());
    return;
  }
  std::string songPart, resourcePart, after;
  if (!SplitInfoFile(text, songPart, resourcePart)) {
    LogWrite(m_szLogFile, LOG_WARNING, kEngineModule, "ReadInfoFile %s format error!", infoPath.c_str());
    return;
  }
  ReadSongAttributes(songPart, m_songFileAtr, m_strHitfrom);
  switch (InfoAnswerType(resourcePart, after)) {
    case RESULT_TYPE_LIST:
      ParseList(after, sl);
      rt = RESULT_TYPE_LIST;
      break;
    case RESULT_TYPE_CONTENT:
      ParseIDInfo(resourcePart, c);
      rt = RESULT_TYPE_CONTENT;
      break;
    default:
      return;
  }
  if (!IsInfoFresh(std::time(nullptr), m_songFileAtr.updTime, ReadConfigInfoValidInterval())) {
    ClearContent(m_content);
    ClearContent(m_storedContent);
    m_bLocalInfoValid = 0;
    LogWrite(m_szLogFile, kEngineLog, kEngineModule, "ReadInfoFile %s is stale (updTime %d)", infoPath.c_str(),
             static_cast<int>(m_songFileAtr.updTime));
  }
}

bool ZLyric::WriteInfoFile(std::string infoPath, ResultType rt, const std::vector<SearchItem>& sl,
                           const Content& c) {
  if (infoPath.empty()) {
    LogWrite(m_szLogFile, kEngineLog, kEngineModule, "WriteInfoFile:no info file");
    return false;
  }
  InfoFileAnswer answer;
  answer.type = rt;
  if (rt == RESULT_TYPE_LIST) answer.list = sl;
  if (rt == RESULT_TYPE_CONTENT) answer.content = c;
  answer.content.sentences.clear();  // not part of the file
  answer.zipSig = m_strZipSig;
  answer.resPath = m_strResPath;
  const int32_t now = Now();
  EnsureFolder(PathFolder(infoPath));
  std::string error;
  if (!ReplaceFileText(infoPath, FormatInfoFile(m_songFileAtr, m_strHitfrom, answer, now), error)) {
    LogWrite(m_szLogFile, kEngineLog, kEngineModule, "open | write error  : %s", error.c_str());
    return false;
  }
  m_songFileAtr.updTime = now;
  return true;
}

void ZLyric::ParseList(const std::string& body, std::vector<SearchItem>& sl) { ParseSearchList(body, sl); }

void ZLyric::ParseIDInfo(const std::string& text, Content& c) {
  m_bFilesMissing = false;
  m_bLrcMissing = false;
  ReadResourceFields(text, c, m_strZipSig, m_strResPath);
  for (char* picture : {c.artist_pic_path, c.artist_swf_pic, c.song_flv_pic_path}) {
    if (!picture[0] || FileExists(picture)) continue;
    LogWrite(m_szLogFile, kEngineLog, kEngineModule, "ParseIDInfo:%s is missing", picture);
    picture[0] = '\0';  // never hand out a picture that is not there
    m_bFilesMissing = true;
  }
  const std::string artist = FieldText(c.artist), title = FieldText(c.title);
  const std::string linked = FieldText(c.lrc_path);
  c.lrc_path[0] = '\0';
  // A file the user linked is remembered by the info file; the resource's
  // own lyric is looked up again by its names.
  const bool isLink = !linked.empty() && FileExists(linked) &&
                      !SamePath(linked, ResourceLyricPath(m_szResourceDir, artist, title)) &&
                      !SamePath(linked, UserLyricCopyPath(m_settings, m_songFileAtr.songPath, artist, title,
                                                          m_szLyricDir));
  const std::string lyric = isLink ? linked : searchLrcFromResourceDir(artist, title);
  if (lyric.empty() || !LoadLyric(lyric, LengthMs(m_songFileAtr), c)) {
    c.lrc_path[0] = '\0';
    m_content.lrc_path[0] = '\0';
    m_bFilesMissing = true;
    m_bLrcMissing = true;
    LogWrite(m_szLogFile, kEngineLog, kEngineModule, "ParseIDInfo:no lyric for %s-%s", artist.c_str(),
             title.c_str());
  }
}

Pre_Set_State ZLyric::Pre_Set(std::string artist, std::string title, Content& c) {
  LogWrite(m_szLogFile, kEngineLog, kEngineModule, "enter Pre_Set:artist:%s,title:%s", artist.c_str(),
           title.c_str());
  const std::string r = m_szInstallHome[0] ? m_szResourceDir : "";
  if (!r.empty()) {
    auto takeIfThere = [](const std::string& path, char* field, size_t size) {
      if (FileExists(path)) CopyToField(field, size, path);
    };
    auto readSig = [](const std::string& path, SignPair& pair) {
      std::string text;
      SignPair read{};
      if (ReadWholeFile(path, text) && ParseSignPair(TrimKeyValue(text), read)) pair = read;
    };
    takeIfThere(ArtistPicturePath(r, artist), c.artist_pic_path, sizeof c.artist_pic_path);
    takeIfThere(ArtistSwfPicturePath(r, artist), c.artist_swf_pic, sizeof c.artist_swf_pic);
    readSig(ArtistSwfSignaturePath(r, artist), c.artist_swf_signature);
    takeIfThere(MvPicturePath(r, artist, title), c.song_flv_pic_path, sizeof c.song_flv_pic_path);
    readSig(MvSignaturePath(r, artist, title), c.song_flv_signature);
    const std::string current = FieldText(c.lrc_path);
    const bool keepLink = !current.empty() && FileExists(current) &&
                          !SamePath(current, ResourceLyricPath(r, artist, title)) &&
                          !SamePath(current, UserLyricCopyPath(m_settings, m_songFileAtr.songPath, artist,
                                                               title, m_szLyricDir));
    const std::string lyric = keepLink ? current : searchLrcFromResourceDir(artist, title);
    if (!lyric.empty() && FileExists(lyric)) LoadLyric(lyric, LengthMs(m_songFileAtr), c);
  }
  LogWrite(m_szLogFile, kEngineLog, kEngineModule,
           "out Pre_Set:c:<artist:%s,title:%s,album:%s,artist_pic_path:%s, artist_swf_pic:%s,"
           "artist_swf_signature:%u,%u,lrc_path:%s,song_flv_pic_path:%s, song_flv_signature:%u,%u>",
           FieldText(c.artist).c_str(), FieldText(c.title).c_str(), FieldText(c.album).c_str(),
           FieldText(c.artist_pic_path).c_str(), FieldText(c.artist_swf_pic).c_str(),
           static_cast<unsigned>(c.artist_swf_signature.first), static_cast<unsigned>(c.artist_swf_signature.second),
           FieldText(c.lrc_path).c_str(), FieldText(c.song_flv_pic_path).c_str(),
           static_cast<unsigned>(c.song_flv_signature.first), static_cast<unsigned>(c.song_flv_signature.second));
  return ResourceStateOf(c);
}

std::string ZLyric::searchLrcFromResourceDir(std::string artist, std::string title) {
  if (artist.empty() && title.empty()) return std::string();
  const std::string resource =
      m_szInstallHome[0] && m_szResourceDir[0] ? ResourceLyricPath(m_szResourceDir, artist, title) : "";
  if (!resource.empty() && FileExists(resource)) {
    const std::string copy = UserLyricCopyPath(m_settings, m_songFileAtr.songPath, artist, title, m_szLyricDir);
    if (SamePath(copy, resource)) return resource;
    // The user's copy is rewritten only when the resource is newer: a copy
    // the user shifted since stays as it is.
    if (FileExists(copy) && !IsOlderThan(copy, resource)) return copy;
    std::string text, error;
    if (!ReadWholeFile(resource, text)) return resource;
    EnsureFolder(PathFolder(copy));
    if (ReplaceFileText(copy, text, error)) return copy;
    LogWrite(m_szLogFile, kEngineLog, kEngineModule, "searchLrcFromResourceDir:copy to %s failed: %s",
             copy.c_str(), error.c_str());
    return resource;
  }
  for (const std::string& candidate : LocalLyricCandidates(m_settings.localFolders, artist, title))
    if (FileExists(candidate)) return candidate;
  return std::string();
}

void ZLyric::FindResFromLocal(std::string songPath, std::string artist, std::string title, std::string album,
                              unsigned int nKbps, ResultType& rt, std::vector<SearchItem>& sl, Content& c,
                              tagUpdateInfo& tui) {
  m_strTrace.clear();
  AddTrace("FindResFromLocal Start:");
  songPath = NormalizeSongPath(songPath);
  LogWrite(m_szLogFile, kEngineLog, kEngineModule,
           "enter FindResFromLocal:songPath:%s,artist:%s,title:%s,album:%s,nKbps:%u", songPath.c_str(),
           artist.c_str(), title.c_str(), album.c_str(), nKbps);
  if (nKbps < 1 || nKbps > 999) nKbps = 0;
  rt = RESULT_TYPE_NONE;
  sl.clear();
  std::memset(&m_songFileAtr, 0, sizeof m_songFileAtr);
  m_strHitfrom.clear();
  ClearContent(c);
  ClearContent(m_content);
  ClearContent(m_storedContent);
  // A new lookup knows nothing stale yet.
  m_bLocalInfoValid = 1;
  m_bFilesMissing = m_bLrcMissing = false;
  m_strResPath.clear();
  m_strZipSig.clear();
  CopyToField(m_songFileAtr.songPath, sizeof m_songFileAtr.songPath, songPath);
  CopyToField(m_songFileAtr.artist, sizeof m_songFileAtr.artist, artist);
  CopyToField(m_songFileAtr.title, sizeof m_songFileAtr.title, title);
  CopyToField(m_songFileAtr.album, sizeof m_songFileAtr.album, album);
  m_songFileAtr.nKbps = nKbps;

  const std::string infoPath = GetInfoFile(songPath, artist, title);
  AddTrace("ReadInfoFile Start:");
  ReadInfoFile(infoPath, rt, sl, c);
  AddTrace("ReadInfoFile End:");

  if (rt == RESULT_TYPE_CONTENT) {
    if (m_bLrcMissing) rt = RESULT_TYPE_NONE;
    else if (!m_bLocalInfoValid) rt = RESULT_TYPE_STALE;
    Pre_Set(FieldText(c.artist), FieldText(c.title), c);
    // What is on disk becomes the engine's current and kept resource.
    m_content = c;
    m_storedContent = c;
  } else if (rt == RESULT_TYPE_LIST && !m_bLocalInfoValid) {
    rt = RESULT_TYPE_NONE;
    sl.clear();
  }

  GetFileTag();
  DecideTUI(tui);
  AddTrace("FindResFromLocal End:");
  LogWrite(m_szLogFile, kEngineLog, kEngineModule, "out FindResFromLocal:rt:%d,sl.length:%d,lrc_path:%s",
           static_cast<int>(rt), static_cast<int>(sl.size()), FieldText(c.lrc_path).c_str());
  if (rt == RESULT_TYPE_CONTENT) PostTrace();
}
