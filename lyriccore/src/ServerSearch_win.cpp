// The lyric server: the one request, its answer, and the public operations
// that drive them.
#include <windows.h>

#include <cstring>
#include <ctime>

#include "EngineLog.h"
#include "FileOps_win.h"
#include "HttpClient_win.h"
#include "KeyValueText.h"
#include "ResourceRules.h"
#include "SearchOutcome.h"
#include "SearchProtocol.h"
#include "ZipUnpack_win.h"
#include "lyriccore/ZLyric.h"
#include "shared/GbkPath.h"
#include "shared/InstallHome.h"
#include "shared/ProductRegistry.h"

using namespace zl;

namespace {

const char kFirstGetValue[] = "FIRST_GET_LYRIC";

SearchItem ItemOf(const std::string& artist, const std::string& title) {
  SearchItem si{};
  CopyToField(si.artist, sizeof si.artist, artist);
  CopyToField(si.title, sizeof si.title, title);
  return si;
}

// The FIRST_GET_LYRIC value is empty (or missing): no answer was had yet.
bool FirstAnswerPending() {
  std::string value;
  return !ReadProductText(nullptr, kFirstGetValue, value) || value.empty();
}

const char* UnpackStatusText(UnpackStatus s) {
  switch (s) {
    case UnpackStatus::Ok: return "ok";
    case UnpackStatus::NotAnArchive: return "not an archive";
    case UnpackStatus::TooLarge: return "too large";
    case UnpackStatus::Corrupt: return "corrupt";
    case UnpackStatus::WriteFailed: return "write failed";
  }
  return "?";
}

}  // namespace

CHTTPRequest* ZLyric::OpenHTTPRequest(CHTTPRequest** handle) {
  const std::string conf = std::string(m_szInstallHome) + "\\Conf.ini";
  zl::Lock lock(m_requestLock);
  // One activity per handle: a second one fails to start instead of
  // freeing the first one's request under it.
  if (*handle) return nullptr;
  *handle = new (std::nothrow) CHTTPRequest(conf, m_szLogFile);
  return *handle;
}

void ZLyric::CloseHTTPRequest(CHTTPRequest** handle) {
  zl::Lock lock(m_requestLock);
  if (!*handle) return;
  (*handle)->Close();
  delete *handle;
  *handle = nullptr;
}

void ZLyric::AbortHTTPRequest(CHTTPRequest** handle, const char* operation) {
  LogWrite(m_szLogFile, kEngineLog, kEngineModule, "enter %s", operation);
  {
    zl::Lock lock(m_requestLock);
    if (*handle) (*handle)->Close();
  }
  LogWrite(m_szLogFile, kEngineLog, kEngineModule, "out %s", operation);
}

void ZLyric::CloseFindGetPreGetConnection() { AbortHTTPRequest(&m_pFindGetRequest, "CloseFindGetPreGetConnection"); }
void ZLyric::CloseUserConnection() { AbortHTTPRequest(&m_pUserRequest, "CloseUserConnection"); }
void ZLyric::CloseUploadLrcConnection() { AbortHTTPRequest(&m_pUploadRequest, "CloseUploadLrcConnection"); }
void ZLyric::CloseReloadLrcConnection() { AbortHTTPRequest(&m_pFindGetRequest, "CloseReloadLrcConnection"); }

void ZLyric::RewriteInfo(ResultType rt, const std::vector<SearchItem>& sl, const Content& c) {
  const SongFileAtr& s = m_songFileAtr;
  WriteInfoFile(GetInfoFile(s.songPath, FieldText(s.artist), FieldText(s.title)), rt, sl, c);
}

void ZLyric::MarkFirstAnswer() {
  if (!FirstAnswerPending()) return;
  if (!WriteProductText(nullptr, kFirstGetValue, "1")) {
    // Without the record the event would go out again on every answer.
    LogWrite(m_szLogFile, kEngineLog, kEngineModule, "FIRST_GET_LYRIC not recorded");
    return;
  }
  PostUsageEvent("FIRST_GET_LYRIC", "", kEventWaitMs);
}

void ZLyric::SearchResFromServer(CHTTPRequest* request, SearchItem si, ResultType reqType, Pre_Set_State state,
                                 Result& r, ResultType& rt, std::vector<SearchItem>& sl, Content& c,
                                 std::string zipsig, std::string recoSn, std::string recoArtist, SearchType st) {
  AddTrace("SearchResFromServer Start:");
  LogWrite(m_szLogFile, kEngineLog, kEngineModule, "SearchResFromServer:para:si:<artist:%s,title:%s,resPath:%s>",
           FieldText(si.artist).c_str(), FieldText(si.title).c_str(), FieldText(si.resPath).c_str());
  LogWrite(m_szLogFile, kEngineLog, kEngineModule, "SearchResFromServer:para:reqType:%d", static_cast<int>(reqType));
  if (!request || !request->Valid()) {
    r = RESULT_FAIL;
    LogWrite(m_szLogFile, kEngineLog, kEngineModule, "SearchResFromServer m_pCHTTPRequest init error!");
    AddTrace("SearchResFromServer End(HTTP Init Error):");
    return;
  }
  char server[260];
  if (!ReadConfigLyricServer(server, sizeof server)) {
    r = RESULT_FAIL;
    LogWrite(m_szLogFile, kEngineLog, kEngineModule, "SearchResFromServer read LyricServer error!");
    AddTrace("SearchResFromServer End(GetLyricServer Error):");
    return;
  }
  if (state == PRE_SET_FULL) {
    // Everything is on disk: there is nothing to ask for.
    LogWrite(m_szLogFile, kEngineLog, kEngineModule, "out SearchResFromServer");
    return;
  }
  SearchQuery q;
  GetUserValues(q.user, q.secondValue);
  char version[260];
  q.version = ReadConfigVersion(version, sizeof version) && version[0] ? version : "0";
  q.host = m_szHostName;
  q.wanted = reqType;
  q.onDisk = state;
  q.title = FieldText(si.title);
  q.artist = FieldText(si.artist);
  q.resPath = FieldText(si.resPath);
  q.zipSig = zipsig;
  q.recoSn = recoSn;
  q.recoArtist = recoArtist;
  q.fileName = PathFileName(FieldText(m_songFileAtr.songPath));
  q.sig1 = m_songFileAtr.sig1;
  q.sig2 = m_songFileAtr.sig2;
  q.searchType = st;
  const std::string arguments = BuildSearchArguments(q);
  LogWrite(m_szLogFile, kEngineLog, kEngineModule, "SearchResFromServer strGetArgu (before base64):%s",
           arguments.c_str());
  const std::string encoded = ScrambleArguments(arguments);
  LogWrite(m_szLogFile, kEngineLog, kEngineModule, "SearchResFromServer strGetArgu (after base64):%s",
           encoded.c_str());
  const std::string url = SearchUrl(server, encoded);
  AddTrace(("HTTP Send Request Start(" + url + "):").c_str());
  const long timeoutMs = static_cast<long>(m_settings.RetryTime) * 1000;
  if (!request->Request(url, 0, timeoutMs)) {
    r = RESULT_NET_ERR;
    LogWrite(m_szLogFile, kEngineLog, kEngineModule, "SearchResFromServer m_pCHTTPRequest Request error!");
    AddTrace("HTTP Send Request End(net wrong):");
    return;
  }
  const char* data = nullptr;
  long length = -1;
  request->GetContent(data, length);
  if (length < 0) {
    r = RESULT_NET_ERR;
    LogWrite(m_szLogFile, kEngineLog, kEngineModule, "SearchResFromServer GetContent Error!");
    AddTrace("HTTP Send Request End(response length < 0):");
    return;
  }
  AddTrace(("HTTP Send Request End(response length" + std::to_string(length) + "):").c_str());
  if (ParseSearchResult(data, length, rt, sl, c)) {
    r = RESULT_OK;
    MarkFirstAnswer();
  } else {
    r = RESULT_FAIL;
  }
  LogWrite(m_szLogFile, kEngineLog, kEngineModule, "out SearchResFromServer:r:%d,rt:%d", static_cast<int>(r),
           static_cast<int>(rt));
}

void ZLyric::SoftSearchResFromServer(CHTTPRequest* request, SearchItem si, ResultType reqType, Result& r,
                                     ResultType& rt, std::vector<SearchItem>& sl, Content& c) {
  std::string zipsig;
  if (SendsStoredResource(m_bLocalInfoValid != 0, m_bFilesMissing)) {
    CopyToField(si.resPath, sizeof si.resPath, m_strResPath);
    zipsig = m_strZipSig;
  }
  // Stale info is checked against the whole resource, so that the server's
  // zip signature can be compared with the stored one.
  const Pre_Set_State state = m_bLocalInfoValid ? ResourceStateOf(m_content) : PRE_SET_NONE;
  SearchResFromServer(request, si, reqType, state, r, rt, sl, c, zipsig, FieldText(m_songFileAtr.recTitle),
                      FieldText(m_songFileAtr.recArtist), SEARCH_AUTOMATIC);
}

void ZLyric::UserSearchResFromServer(CHTTPRequest* request, SearchItem si, ResultType reqType, Result& r,
                                     ResultType& rt, std::vector<SearchItem>& sl, Content& c) {
  SearchResFromServer(request, si, reqType, PRE_SET_NONE, r, rt, sl, c, "", "", "", SEARCH_BY_NAMES);
}

bool ZLyric::ParseSearchResult(const char* data, long length, ResultType& rt, std::vector<SearchItem>& sl,
                               Content& c) {
  LogWrite(m_szLogFile, kEngineLog, kEngineModule, "enter ParseSearchResult:length:%ld", length);
  SearchAnswer a;
  if (!data || length < 0 || !ParseSearchAnswerHeader(data, static_cast<size_t>(length), a)) {
    LogWrite(m_szLogFile, kEngineLog, kEngineModule, "out ParseSearchResult:server returns unformatted bytes");
    return false;
  }
  if (a.hasRcode) m_songFileAtr.goonrec = RcodeSettlesRecognition(a.rcode) ? 0 : 1;
  if (a.hasHitfrom) m_strHitfrom = a.hitfrom;
  if (a.hasRecNames) {
    CopyToField(m_songFileAtr.recTitle, sizeof m_songFileAtr.recTitle, a.rtitle);
    CopyToField(m_songFileAtr.recArtist, sizeof m_songFileAtr.recArtist, a.rartist);
    CopyToField(m_songFileAtr.recAlbum, sizeof m_songFileAtr.recAlbum, a.ralbum);
  }
  m_songFileAtr.recTime = static_cast<int32_t>(std::time(nullptr));
  const char* body = data + a.bodyOffset;
  const size_t bodyLength = static_cast<size_t>(length) - a.bodyOffset;

  if (StoredResourceStillValid(m_bLocalInfoValid != 0, m_bFilesMissing, a.zipSig, m_strZipSig)) {
    c = m_storedContent;
    m_content = m_storedContent;
    m_bLocalInfoValid = 1;
    rt = RESULT_TYPE_CONTENT;
    LogWrite(m_szLogFile, kEngineLog, kEngineModule, "ParseSearchResult:resource is still valid!");
    AddTrace("ParseSearchResult End(local res valid):");
    return true;
  }
  switch (a.kind) {
    case AnswerKind::List:
      rt = RESULT_TYPE_LIST;
      sl.clear();
      ParseList(std::string(body, bodyLength), sl);
      LogWrite(m_szLogFile, kEngineLog, kEngineModule, "out ParseSearchResult:server returns list");
      AddTrace("ParseSearchResult End(list):");
      return true;
    case AnswerKind::Content: {
      const std::string res = m_szResourceDir;
      if (!m_szInstallHome[0] || res.empty()) {
        LogWrite(m_szLogFile, kEngineLog, kEngineModule, "ParseSearchResult:no resource folder");
        return false;
      }
      for (const char* sub : {"Artist", "Lyric", "MTV"}) EnsureFolder(res + sub);
      const UnpackOutcome u = UnpackZipFromMemory(body, bodyLength, res, a.password);
      for (const std::string& name : u.refused)
        LogWrite(m_szLogFile, kEngineLog, kEngineModule, "ParseSearchResult:entry refused:%s", name.c_str());
      if (u.status != UnpackStatus::Ok) {
        // A broken or oversized archive is no answer; nothing of it was kept.
        LogWrite(m_szLogFile, kEngineLog, kEngineModule, "out ParseSearchResult:archive %s (%s)",
                 UnpackStatusText(u.status), u.detail.c_str());
        AddTrace("ParseSearchResult End(unzip error):");
        return false;
      }
      rt = RESULT_TYPE_CONTENT;
      ClearContent(m_content);
      ClearContent(m_storedContent);
      ClearContent(c);
      const ResourceNames names = UnpackedResourceNames(u.hasLyric, u.lyricArtist, u.lyricTitle, a.rartist, a.rtitle);
      const std::string& artist = names.artist;
      const std::string& title = names.title;
      CopyToField(c.artist, sizeof c.artist, artist);
      CopyToField(c.title, sizeof c.title, title);
      CopyToField(c.album, sizeof c.album, a.ralbum);
      m_strZipSig = a.zipSig;
      if (!a.path.empty()) m_strResPath = a.path;
      PostUsageEvent("GETLRC", "S:" + title + "|AR:" + artist + "|" + m_strResPath, 0);
      Pre_Set(artist, title, c);
      m_content = c;
      m_storedContent = c;
      m_bLocalInfoValid = 1;
      m_bFilesMissing = m_bLrcMissing = false;
      LogWrite(m_szLogFile, kEngineLog, kEngineModule, "out ParseSearchResult:server returns content");
      AddTrace("ParseSearchResult End(content):");
      return true;
    }
    case AnswerKind::None:
      rt = RESULT_TYPE_NONE;
      LogWrite(m_szLogFile, kEngineLog, kEngineModule, "out ParseSearchResult:server returns none");
      AddTrace("ParseSearchResult End(none):");
      return true;
    default:
      LogWrite(m_szLogFile, kEngineLog, kEngineModule, "out ParseSearchResult:server returns unformatted bytes");
      return false;
  }
}

void ZLyric::FindResFromServer(Result& r, ResultType& rt, std::vector<SearchItem>& sl, Content& c,
                               tagUpdateInfo& tui) {
  AddTrace("FindResFromServer Start:");
  LogWrite(m_szLogFile, kEngineLog, kEngineModule, "enter FindResFromServer");
  r = RESULT_NET_ERR;
  if (ResourceCompleteLocally(m_bLocalInfoValid != 0, ResourceStateOf(m_content))) {
    r = RESULT_OK;
    rt = RESULT_TYPE_CONTENT;
    c = m_content;
  } else {
    SearchServerByNames(FieldText(m_songFileAtr.finalArtist), FieldText(m_songFileAtr.finalTitle), r, rt, sl, c);
  }
  DecideTUI(tui);
  const FindOutcome settled =
      SettleFindResult(r, m_bLocalInfoValid != 0, ResourceCountOf(c), ResourceCountOf(m_storedContent));
  if (settled.useStoredContent) c = m_storedContent;
  r = settled.result;
  AddTrace("FindResFromServer End:");
  LogWrite(m_szLogFile, kEngineLog, kEngineModule, "out FindResFromServer:r:%d,rt:%d,sl.length:%d",
           static_cast<int>(r), static_cast<int>(rt), static_cast<int>(sl.size()));
  PostTrace();
}

void ZLyric::SearchServerByNames(const std::string& artist, const std::string& title, Result& r, ResultType& rt,
                                 std::vector<SearchItem>& sl, Content& c) {
  CHTTPRequest* request = OpenHTTPRequest(&m_pFindGetRequest);
  SoftSearchResFromServer(request, ItemOf(artist, title), RESULT_TYPE_CONTENT, r, rt, sl, c);
  if (request) CloseHTTPRequest(&m_pFindGetRequest);
  const bool found = AnswerFoundSomething(rt, sl.empty(), c.lrc_path[0] != '\0');
  PostUsageEvent("SEARCHLRC", "S:" + title + "|AR:" + artist + "|REC_S:" + FieldText(m_songFileAtr.recTitle) +
                                  "|REC_AR:" + FieldText(m_songFileAtr.recArtist) + "|" + SearchEventMark(r, found),
                 0);
  if (r == RESULT_OK) RewriteInfo(rt, sl, c);
}

void ZLyric::GetResFromServer(SearchItem si, Result& r, Content& c) {
  AddTrace("GetResFromServer Start:");
  if (ResourceCompleteLocally(m_bLocalInfoValid != 0, ResourceStateOf(m_content))) {
    LogWrite(m_szLogFile, kEngineLog, kEngineModule, "GetResFromServer End(NEED_NO):");
    r = RESULT_OK;
    c = m_content;
    return;
  }
  r = RESULT_NET_ERR;
  ResultType rt = RESULT_TYPE_NONE;
  std::vector<SearchItem> sl;
  CHTTPRequest* request = OpenHTTPRequest(&m_pFindGetRequest);
  SoftSearchResFromServer(request, si, RESULT_TYPE_CONTENT, r, rt, sl, c);
  if (request) CloseHTTPRequest(&m_pFindGetRequest);
  if (r == RESULT_OK) RewriteInfo(rt, sl, c);
  const int count = ResourceCountOf(c);
  LogWrite(m_szLogFile, kEngineLog, kEngineModule, "out GetResFromServer:r:%d,count:%d", static_cast<int>(r), count);
  AddTrace("GetResFromServer End:");
  PostTrace();
}

void ZLyric::UserSearchRes(std::string artist, std::string title, Result& r, std::vector<SearchItem>& sl) {
  LogWrite(m_szLogFile, kEngineLog, kEngineModule, "enter UserSearchRes:artist:%s,title:%s", artist.c_str(),
           title.c_str());
  r = RESULT_NET_ERR;
  sl.clear();
  ResultType rt = RESULT_TYPE_NONE;
  Content c{};
  CHTTPRequest* request = OpenHTTPRequest(&m_pUserRequest);
  UserSearchResFromServer(request, ItemOf(artist, title), RESULT_TYPE_LIST, r, rt, sl, c);
  if (request) CloseHTTPRequest(&m_pUserRequest);
  if (rt != RESULT_TYPE_LIST) sl.clear();
  LogWrite(m_szLogFile, kEngineLog, kEngineModule, "out UserSearchRes,sl.length:%d", static_cast<int>(sl.size()));
  PostUsageEvent("SEARCHLRC", "S:" + title + "|AR:" + artist + "|" + SearchEventMark(r, !sl.empty()), 0);
}

void ZLyric::UserGetRes(SearchItem si, Result& r, Content& c) {
  LogWrite(m_szLogFile, kEngineLog, kEngineModule,
           "UserGetRes:para1:si<artist:%s, title:%s, provider:%s, resPath:%s>", FieldText(si.artist).c_str(),
           FieldText(si.title).c_str(), FieldText(si.provider).c_str(), FieldText(si.resPath).c_str());
  r = RESULT_NET_ERR;
  ResultType rt = RESULT_TYPE_NONE;
  std::vector<SearchItem> sl;
  CHTTPRequest* request = OpenHTTPRequest(&m_pUserRequest);
  UserSearchResFromServer(request, si, RESULT_TYPE_CONTENT, r, rt, sl, c);
  if (request) CloseHTTPRequest(&m_pUserRequest);
  if (r != RESULT_OK || rt != RESULT_TYPE_CONTENT) {
    LogWrite(m_szLogFile, kEngineLog, kEngineModule, "out UserGetRes:r:%d,rt:%d", static_cast<int>(r),
             static_cast<int>(rt));
    return;
  }
  m_bLocalInfoValid = 1;
  RewriteInfo(RESULT_TYPE_CONTENT, sl, c);
  Pre_Set(FieldText(c.artist), FieldText(c.title), c);
  m_content = c;
  LogWrite(m_szLogFile, kEngineLog, kEngineModule, "out UserGetRes:lrc_path:%s", FieldText(c.lrc_path).c_str());
}

void ZLyric::PreGetRes(std::string songPath, std::string artist, std::string title, std::string album, int nKbps,
                       Result& r, ResultType& rt, std::vector<SearchItem>& sl, Content& c) {
  tagUpdateInfo tui{};
  FindResFromLocal(songPath, artist, title, album, nKbps < 0 ? 0u : static_cast<unsigned>(nKbps), rt, sl, c, tui);
  r = RESULT_OK;
  if (rt != RESULT_TYPE_NONE && rt != RESULT_TYPE_STALE) return;
  FindResFromServer(r, rt, sl, c, tui);
  // Only an answer of "nothing" hands over to recognition: after a network
  // failure the local "nothing" still stands in rt.
  if (r == RESULT_OK && rt == RESULT_TYPE_NONE) FindResByFp(r, rt, sl, c, tui);
}

void ZLyric::ReloadLrc(Result& r, Content& c) {
  LogWrite(m_szLogFile, kEngineLog, kEngineModule, "enter ReloadLrc");
  r = RESULT_NET_ERR;
  ResultType rt = RESULT_TYPE_NONE;
  std::vector<SearchItem> sl;
  SearchItem si = ItemOf(FieldText(m_content.artist), FieldText(m_content.title));
  CopyToField(si.resPath, sizeof si.resPath, m_strResPath);
  CHTTPRequest* request = OpenHTTPRequest(&m_pFindGetRequest);
  SearchResFromServer(request, si, RESULT_TYPE_CONTENT, PRE_SET_NONE, r, rt, sl, c, "", "", "", SEARCH_BY_NAMES);
  if (request) CloseHTTPRequest(&m_pFindGetRequest);
  if (r == RESULT_OK) RewriteInfo(rt, sl, c);
  LogWrite(m_szLogFile, kEngineLog, kEngineModule, "out ReloadLrc:r:%d,rt:%d", static_cast<int>(r),
           static_cast<int>(rt));
}
