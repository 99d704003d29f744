// Fingerprint recognition: the recognition engine program, the request to
// the recognition server, and the search under the recognised names.
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <ctime>
#include <new>
#include <vector>

#include "EngineLog.h"
#include "FileOps_win.h"
#include "HttpClient_win.h"
#include "KeyValueText.h"
#include "RecoProtocol.h"
#include "lyriccore/ZLyric.h"
#include "shared/GbkPath.h"
#include "shared/InstallHome.h"

using namespace zl;

namespace {

// Room for the request line (about 3 KB) and for the answer lines of every
// record a hand-over file may hold.
constexpr int kExchangeBytes = 64 * 1024;
constexpr int kSendTries = 3;
// How long a terminated recognition engine is given to be gone.
constexpr DWORD kEndedEngineWaitMs = 2000;

int32_t Now() { return static_cast<int32_t>(std::time(nullptr)); }

}  // namespace

void ZLyric::TerninateFpmatch() {
  zl::Lock lock(m_requestLock);
  if (!m_hFpmatch || WaitForSingleObject(m_hFpmatch.Get(), 0) != WAIT_TIMEOUT) return;
  TerminateProcess(m_hFpmatch.Get(), 1);
  LogWrite(m_szLogFile, kEngineLog, kEngineModule, "TerninateFpmatch:recognition engine ended");
  // NOTE: the emptied handle tells RecoByFP that the engine did not end by itself.
  m_hFpmatch.Reset();
}

ZLyric::EngineRun ZLyric::RunRecognitionEngine(const std::string& handOverPath) {
  std::string command = "\"" + std::string(m_szFpmatchPath) + "\" \"" + handOverPath + "\" ";
  std::vector<char> line(command.begin(), command.end());
  line.push_back('\0');  // CreateProcessA may write into the command line
  STARTUPINFOA si = {};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESHOWWINDOW;
  si.wShowWindow = SW_HIDE;
  PROCESS_INFORMATION pi = {};
  if (!m_szFpmatchPath[0] ||
      !CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, NORMAL_PRIORITY_CLASS | CREATE_NO_WINDOW, nullptr,
                      m_szInstallHome[0] ? m_szInstallHome : nullptr, &si, &pi)) {
    LogWrite(m_szLogFile, kEngineLog, kEngineModule, "RecoByFP:cannot start %s (%lu)", m_szFpmatchPath,
             GetLastError());
    return EngineRun::NotStarted;
  }
  UniqueHandle process(pi.hProcess);
  UniqueHandle thread(pi.hThread);
  bool shared = false;
  {
    zl::Lock lock(m_requestLock);
    HANDLE copy = nullptr;
    shared = DuplicateHandle(GetCurrentProcess(), process.Get(), GetCurrentProcess(), &copy, 0, FALSE,
                             DUPLICATE_SAME_ACCESS) != 0;
    m_hFpmatch.Reset(shared ? copy : nullptr);
  }
  bool timedOut = false;
  if (WaitForSingleObject(process.Get(), m_fpmatchLimitMs) != WAIT_OBJECT_0) {
    timedOut = true;
    LogWrite(m_szLogFile, LOG_WARNING, kEngineModule, "RecoByFP:recognition engine still runs after %lu ms",
             m_fpmatchLimitMs);
    TerninateFpmatch();
    // Our own handle ends it also when no copy could be shared.
    TerminateProcess(process.Get(), 1);
    WaitForSingleObject(process.Get(), kEndedEngineWaitMs);
  }
  zl::Lock lock(m_requestLock);
  const bool endedElsewhere = shared && !m_hFpmatch;
  m_hFpmatch.Reset();
  return timedOut || endedElsewhere ? EngineRun::Ended : EngineRun::Finished;
}

bool ZLyric::ReadTagInfo(std::string handOverPath) {
  std::string bytes;
  const size_t most = 4 + static_cast<size_t>(kMaxHandOverRecords) * sizeof(RecoTagInfo);
  std::vector<RecoTagInfo> records;
  const bool read = ReadFilePrefix(handOverPath, most, bytes);
  const HandOverRead parsed = read ? ParseHandOverFile(bytes.data(), bytes.size(), records) : HandOverRead::TooShort;
  m_recoTags.clear();
  if (!read || parsed != HandOverRead::Ok) {
    LogWrite(m_szLogFile, kEngineLog, kEngineModule, "ReadTagInfo %s not read (%d, %d bytes)",
             handOverPath.c_str(), static_cast<int>(parsed), static_cast<int>(bytes.size()));
    return false;
  }
  m_recoTags = std::move(records);
  return true;
}

int ZLyric::ParseResult(int count, const char* answer, RecoTagInfo* records) {
  const size_t length = answer ? std::strlen(answer) : 0;
  return ParseRecognitionAnswer(answer, length, records, count);
}

void ZLyric::ConvertStr2Fp(const std::string& text, uint32_t (&out)[256]) { FingerprintWordsFromText(text, out); }

void ZLyric::SendData(char* buffer, int size) {
  if (!buffer || size <= 0) return;
  const std::string line(buffer, strnlen(buffer, static_cast<size_t>(size)));
  buffer[0] = '\0';
  CHTTPRequest* request = OpenHTTPRequest(&m_pFindGetRequest);
  if (!request || !request->Valid() || !m_szRecoServer[0]) {
    LogWrite(m_szLogFile, kEngineLog, kEngineModule, "SendData:no request (%s)",
             m_szRecoServer[0] ? "request object" : "no recognition server");
    if (request) CloseHTTPRequest(&m_pFindGetRequest);
    return;
  }
  const std::string body = RecognitionRequestBody(line);
  const long timeoutMs = static_cast<long>(m_settings.RetryTime) * 1000;
  bool ok = false;
  // NOTE: after a time-out the request object has given up its client, so
  // the remaining tries fail at once: a hung server costs RetryTime once.
  for (int attempt = 0; attempt < kSendTries && !ok; ++attempt) {
    LogWrite(m_szLogFile, kEngineLog, kEngineModule, "Request begin!");
    ok = request->Request(m_szRecoServer, 1, timeoutMs, body);
    LogWrite(m_szLogFile, kEngineLog, kEngineModule, "Request end!");
  }
  if (ok) {
    const char* data = nullptr;
    long length = -1;
    request->GetContent(data, length);
    if (data && length > 0) {
      const size_t n = std::min(static_cast<size_t>(length), static_cast<size_t>(size) - 1);
      std::memcpy(buffer, data, n);
      buffer[n] = '\0';
    }
  }
  CloseHTTPRequest(&m_pFindGetRequest);
}

bool ZLyric::RecoByFP() {
  AddTrace("RecoByFP Start:");
  const SongFileAtr& s = m_songFileAtr;
  const std::string songPath = FieldText(s.songPath);
  std::vector<RecoTagInfo> prepared(1, PrepareRecoTagInfo(songPath, FieldText(s.finalTitle),
                                                          FieldText(s.finalArtist), FieldText(s.finalAlbum)));
  const std::string info = GetInfoFile(songPath, FieldText(s.artist), FieldText(s.title));
  const std::string handOver = info.empty() ? std::string() : info + ".fp";
  if (m_szInstallHome[0]) EnsureFolder(std::string(m_szInstallHome) + "\\Resource\\Info");
  if (handOver.empty()) {
    AddTrace("RecoByFP End(taginfo_dat open error):");
    return false;
  }
  // The hand-over file lives only while the run does, also when writing it failed halfway.
  struct HandOverFile {
    std::string path;
    ~HandOverFile() { DeleteFileA(path.c_str()); }
  } handOverFile{handOver};
  if (!WriteWholeFile(handOver, FormatHandOverFile(prepared))) {
    AddTrace("RecoByFP End(taginfo_dat open error):");
    return false;
  }

  AddTrace("CalFp Start:");
  switch (RunRecognitionEngine(handOver)) {
    case EngineRun::NotStarted:
      AddTrace("CalFp End(Fail):");
      AddTrace("RecoByFP End(fail):");
      return false;
    case EngineRun::Ended:
      AddTrace("CalFp End(ended):");
      AddTrace("RecoByFP End(fail):");
      return false;
    case EngineRun::Finished:
      break;
  }
  AddTrace("CalFp End:");
  if (!ReadTagInfo(handOver)) {
    AddTrace("RecoByFP End(ReadTagInfo fail):");
    return false;
  }
  const RecoTagInfo& last = m_recoTags.back();
  // A recognition engine that died before writing leaves the record as the
  // engine wrote it: there is nothing to ask the server about.
  if (!HasFingerprint(last)) {
    AddTrace("RecoByFP End(no fingerprint):");
    return false;
  }
  std::string userNumber, secondValue;
  GetUserValues(userNumber, secondValue);
  char version[260];
  const std::string userField = userNumber + "," +
                                (ReadConfigVersion(version, sizeof version) && version[0] ? version : "0") + "," +
                                secondValue;
  std::vector<char> exchange;
  std::string fpText, line;
  try {
    fpText = FingerprintText(last.fp);
    line = RecognitionRequestLine(userField, last, std::max<int64_t>(ReadableFileSize(songPath), 0),
                                  PathFileName(songPath));
    exchange.assign(std::max<size_t>(kExchangeBytes, line.size() + 1), '\0');
  } catch (const std::bad_alloc&) {
    AddTrace("RecoByFP End(pszAllFp null):");
    return false;
  }
  std::memcpy(exchange.data(), line.c_str(), line.size() + 1);
  SendData(exchange.data(), static_cast<int>(exchange.size()));
  const int parsed = ParseResult(static_cast<int>(m_recoTags.size()), exchange.data(), m_recoTags.data());
  LogWrite(m_szLogFile, kEngineLog, kEngineModule, "RecoByFP:ParseResult %d, status %d", parsed,
           static_cast<int>(m_recoTags.back().status));
  AddTrace("RecoByFP End:");
  // An empty answer is an outcome too: every record says "no answer", so
  // that the song is tried again next time.
  const bool done = parsed == 1 || parsed == 2;
  if (done) CopyToField(m_songFileAtr.FP, sizeof m_songFileAtr.FP, fpText);
  return done;
}

Result ZLyric::GetRecTagByFP() {
  AddTrace("GetRecTagByFP Start:");
  SongFileAtr& s = m_songFileAtr;
  const int failMinutes = ReadConfigRecFailValidInterval();
  const int successMinutes = ReadConfigRecSucValidInterval();
  const int32_t now = Now();
  LogWrite(m_szLogFile, kEngineLog, kEngineModule, "songFileAtr.goonrec:%d", static_cast<int>(s.goonrec));
  LogWrite(m_szLogFile, kEngineLog, kEngineModule, "songFileAtr.recTime:%d", static_cast<int>(s.recTime));
  LogWrite(m_szLogFile, kEngineLog, kEngineModule, "curTime:%d", static_cast<int>(now));
  m_bRecoStored = false;
  if (RecognitionOutcomeStands(s, now, failMinutes, successMinutes)) return RESULT_OK;
  if (!RecoByFP() || m_recoTags.empty()) {
    LogWrite(m_szLogFile, kEngineLog, kEngineModule, "GetRecTag Recog failed");
    AddTrace("GetRecTag End(reco fail):");
    return RESULT_FAIL;
  }
  m_bRecoStored = true;
  switch (ApplyRecognitionOutcome(s, m_recoTags.back(), now)) {
    case RecoOutcome::Found:
      AddTrace("GetRecTag End(suc):");
      return RESULT_OK;
    case RecoOutcome::NotKnown:
      AddTrace("GetRecTag End(svr no this song):");
      return RESULT_OK;
    case RecoOutcome::NoAnswer:
      AddTrace("GetRecTag End(net timeout):");
      return RESULT_OK;
    case RecoOutcome::Failed:
      break;
  }
  LogWrite(m_szLogFile, kEngineLog, kEngineModule, "GetRecTag Recog failed");
  AddTrace("GetRecTag End(reco fail):");
  return RESULT_FAIL;
}

void ZLyric::FindResByFp(Result& r, ResultType& rt, std::vector<SearchItem>& sl, Content& c, tagUpdateInfo& tui) {
  AddTrace("FindResByFp Start:");
  LogWrite(m_szLogFile, kEngineLog, kEngineModule, "enter FindResByFp");
  GetRecTagByFP();
  if (!m_songFileAtr.recTitle[0]) {
    r = RESULT_FAIL;
    rt = RESULT_TYPE_NONE;
    // The outcome of a run is kept with the song, so that the validity
    // intervals hold across plays.
    if (m_bRecoStored) RewriteInfo(RESULT_TYPE_NONE, std::vector<SearchItem>(), c);
  } else {
    SearchServerByNames(FieldText(m_songFileAtr.recArtist), FieldText(m_songFileAtr.recTitle), r, rt, sl, c);
    if (r != RESULT_OK && m_bRecoStored)
      RewriteInfo(RESULT_TYPE_NONE, std::vector<SearchItem>(), c);
  }
  DecideTUI(tui);
  LogWrite(m_szLogFile, kEngineLog, kEngineModule, "out FindResByFp:r:%d,rt:%d", static_cast<int>(r),
           static_cast<int>(rt));
  AddTrace("FindResByFp End:");
  PostTrace();
}
