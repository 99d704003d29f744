#pragma once
// The lyric engine object. The plug-in creates a fresh ZLyric for every
// fetch and every pre-fetch and destroys it when the next one replaces it;
// several may live at once and share only the files on disk.
//
// Threads: one object is used by one fetch at a time (the plug-in
// serialises the operations on it). Only the request handles are guarded,
// so that the close operations can run from the player's UI thread.
// No exception leaves any method: results travel as Result, ResultType,
// Pre_Set_State or booleans.
#include <cstdint>
#include <string>
#include <vector>

#include "lyriccore/Export.h"
#include "lyriccore/LrcText.h"
#include "lyriccore/LyricRecords.h"
#include "shared/CriticalSection.h"
#include "shared/LyricSettings.h"
#include "shared/Ownership.h"

class CHTTPRequest;

class LYRICCORE_API ZLyric {
 public:
  ZLyric();
  ~ZLyric();
  // A copy has every value of the original and a critical section of its
  // own; it owns no request and no running recognition engine.
  ZLyric(const ZLyric& other);
  ZLyric& operator=(const ZLyric& other);

  // ---- Linked lyric file -------------------------------------------------
  // The user chose an LRC file for the current song: it becomes the current
  // lyric (lSen receives it; empty when the file is missing) and the song's
  // info file remembers it.
  void LinkLrcFile(std::string path, std::vector<TimeSentence>& lSen);
  // The user dropped the linked file.
  void UnlinkLrcFile();
  // Shifts the current lyric by intervalTime ms (shifts add up) and rewrites
  // the linked file with the shifted times.
  void AdjustLrcTime(int intervalTime, std::vector<TimeSentence>& lSen);
  // The current lyric as plain text, one line per sentence.
  void Lrc2Txt(std::string& txt);

  // ---- Local lookup --------------------------------------------------------
  // What the info file and the resource folder hold for the song: a
  // resource (rt 1, or 4 when its info is stale), a list (rt 0) or nothing
  // (rt 3). songPath may use '/' or '\'.
  void FindResFromLocal(std::string songPath, std::string artist, std::string title,
                        std::string album, unsigned int nKbps, ResultType& rt,
                        std::vector<SearchItem>& sl, Content& c, tagUpdateInfo& tui);

  // The internal steps of the lookup (exported; the plug-in does not call them).
  // The song's info file: keyed by the song file's signature, else by a hash
  // of the names; "" when neither can be had.
  std::string GetInfoFile(std::string songPath, std::string artist, std::string title);
  void ReadInfoFile(std::string infoPath, ResultType& rt, std::vector<SearchItem>& sl, Content& c);
  // Writes the info file whole (through a temporary file, so a failed write
  // leaves the old one). rt LIST writes sl, CONTENT writes c, anything else
  // "no resource".
  bool WriteInfoFile(std::string infoPath, ResultType rt, const std::vector<SearchItem>& sl,
                     const Content& c);
  // Fills c from the resource folder's files for the names; returns what is there.
  Pre_Set_State Pre_Set(std::string artist, std::string title, Content& c);
  // Tags of the current song (through the tag tool), its song signature and
  // final names.
  void GetFileTag();
  // The user's copy of the resource lyric for the names (made when needed),
  // else a match in the local lyric folders; "" when there is none.
  std::string searchLrcFromResourceDir(std::string artist, std::string title);
  // A candidate list and a resource description, as recorded in info files
  // and sent by the server.
  void ParseList(const std::string& body, std::vector<SearchItem>& sl);
  void ParseIDInfo(const std::string& text, Content& c);

  // ---- Lyric server ----------------------------------------------------------
  // The automatic search for the current song (after FindResFromLocal): a
  // resource, a list or nothing; the info file is rewritten with the answer.
  void FindResFromServer(Result& r, ResultType& rt, std::vector<SearchItem>& sl, Content& c,
                         tagUpdateInfo& tui);
  // Fetches a candidate picked from a list.
  void GetResFromServer(SearchItem si, Result& r, Content& c);
  // Looks ahead for the next song: local lookup, then the server.
  void PreGetRes(std::string songPath, std::string artist, std::string title, std::string album, int nKbps,
                 Result& r, ResultType& rt, std::vector<SearchItem>& sl, Content& c);
  // The user's search by names, and the user's pick from its list.
  void UserSearchRes(std::string artist, std::string title, Result& r, std::vector<SearchItem>& sl);
  void UserGetRes(SearchItem si, Result& r, Content& c);
  // Fetches the current song's resource again.
  void ReloadLrc(Result& r, Content& c);

  // ---- Fingerprint recognition -------------------------------------------------
  // After the lyric server had nothing under the song's names: recognises
  // the song by its sound (unless a stored outcome still holds), then asks
  // the lyric server again under the recognised names and rewrites the info
  // file. Result 2 with ResultType 3 when recognition gave no title.
  // Runs on the caller's worker thread; the recognition engine is ended
  // when it runs past its limit, the request after RetryTime.
  void FindResByFp(Result& r, ResultType& rt, std::vector<SearchItem>& sl, Content& c, tagUpdateInfo& tui);
  // Ends a running recognition engine (exit code 1). Any thread.
  void TerninateFpmatch();

  // The internal steps of recognition (exported; the plug-in does not call them).
  // Decides whether to recognise, recognises, stores the outcome in the song
  // record; RESULT_FAIL when a run failed.
  Result GetRecTagByFP();
  // One run: hand-over file, recognition engine, request, answer.
  bool RecoByFP();
  // buffer: the request line (NUL-terminated) on entry; the server's answer,
  // NUL-terminated and cut to size - 1 bytes, on return; empty when no
  // answer came.
  void SendData(char* buffer, int size);
  // The answer into the records: 1 when no record failed, 0 when one did,
  // 2 for an empty answer.
  int ParseResult(int count, const char* answer, RecoTagInfo* records);
  // The records the recognition engine wrote back; false when the file
  // cannot be read or is not a hand-over file.
  bool ReadTagInfo(std::string handOverPath);
  // A fingerprint text (hex words joined by %2C) into its 256 words.
  void ConvertStr2Fp(const std::string& text, uint32_t (&out)[256]);
  // The longest the recognition engine may run, in ms (two minutes unless set).
  void SetRecognitionEngineLimit(unsigned long ms) { m_fpmatchLimitMs = ms; }
  const std::vector<RecoTagInfo>& RecoTags() const { return m_recoTags; }

  // ---- Upload -------------------------------------------------------------------
  // Shares a lyric file with the song's names as the usage event UPLOADLRC:
  // RESULT_OK when the event was handed to the sender (it is not waited
  // for), RESULT_FAIL when the file is empty, unreadable or above 10000 bytes.
  Result UploadLrc(const LrcItem& item);

  // Each aborts its running request from another thread (it then ends with
  // Result 0); nothing happens when none runs.
  void CloseFindGetPreGetConnection();
  void CloseUserConnection();
  void CloseUploadLrcConnection();
  void CloseReloadLrcConnection();

  // The one request to the lyric server and its answer (exported; the
  // plug-in does not call them). request is owned by the caller.
  void SearchResFromServer(CHTTPRequest* request, SearchItem si, ResultType reqType, Pre_Set_State state,
                           Result& r, ResultType& rt, std::vector<SearchItem>& sl, Content& c,
                           std::string zipsig, std::string recoSn, std::string recoArtist, SearchType st);
  void SoftSearchResFromServer(CHTTPRequest* request, SearchItem si, ResultType reqType, Result& r,
                               ResultType& rt, std::vector<SearchItem>& sl, Content& c);
  void UserSearchResFromServer(CHTTPRequest* request, SearchItem si, ResultType reqType, Result& r,
                               ResultType& rt, std::vector<SearchItem>& sl, Content& c);
  // The answer as bytes and their number (it may hold NUL bytes). False
  // when it is not in the server's format.
  bool ParseSearchResult(const char* data, long length, ResultType& rt, std::vector<SearchItem>& sl,
                         Content& c);
  // Under the request lock: closes, destroys and clears the handle.
  void CloseHTTPRequest(CHTTPRequest** handle);

  void DecideTUI(tagUpdateInfo& tui);
  Pre_Set_State GetResState(Content& c);
  int GetResNum(Content& c);

  // ---- State for callers and tests -----------------------------------------
  const SongFileAtr& SongAttributes() const { return m_songFileAtr; }
  const std::string& Hitfrom() const { return m_strHitfrom; }
  const Content& CurrentContent() const { return m_content; }
  const Content& StoredContent() const { return m_storedContent; }
  const std::string& Trace() const { return m_strTrace; }
  const zl::LyricSettings& Settings() const { return m_settings; }
  const char* HostName() const { return m_szHostName; }
  const char* InstallHome() const { return m_szInstallHome; }
  bool LocalInfoValid() const { return m_bLocalInfoValid != 0; }
  bool FilesMissing() const { return m_bFilesMissing; }
  bool LyricMissing() const { return m_bLrcMissing; }
  const std::string& StoredZipSig() const { return m_strZipSig; }
  const std::string& StoredResPath() const { return m_strResPath; }

 private:
  // Appends "<label><local time>->\n" to the trace.
  void AddTrace(const char* label);
  // Posts the trace as LRCGETPRO while pub.img allows it.
  void PostTrace();
  // Hands a usage event to the event-log service on a thread of its own;
  // waits for it up to waitMs (0: not at all).
  void PostUsageEvent(const std::string& name, const std::string& text, unsigned long waitMs);
  // The user number and the user file's second value, "0" when missing.
  void GetUserValues(std::string& userNumber, std::string& secondValue) const;
  // The song signature from the song file and its bit rate.
  bool CalculateSig();
  // Runs the tag tool for the current song; false when it gave no names.
  bool ReadTagsWithTool(std::string& title, std::string& artist, std::string& album);
  // The info file of the current song, rewritten with the current Content.
  void RewriteInfoWithCurrentContent();
  void CopyFrom(const ZLyric& other);
  // Under the request lock: a new request object in *handle (null when it
  // could not be made).
  CHTTPRequest* OpenHTTPRequest(CHTTPRequest** handle);
  // Under the request lock: aborts the request in *handle, if any.
  void AbortHTTPRequest(CHTTPRequest** handle, const char* operation);
  // The info file of the current song, rewritten with an answer.
  void RewriteInfo(ResultType rt, const std::vector<SearchItem>& sl, const Content& c);
  // On the first answer ever: records it and posts FIRST_GET_LYRIC.
  void MarkFirstAnswer();
  // The automatic search under the given names with the find/get request,
  // its SEARCHLRC event and, on an answer, the rewritten info file.
  void SearchServerByNames(const std::string& artist, const std::string& title, Result& r, ResultType& rt,
                           std::vector<SearchItem>& sl, Content& c);
  // Runs the recognition engine on the hand-over file within its limit.
  enum class EngineRun { NotStarted, Finished, Ended };
  EngineRun RunRecognitionEngine(const std::string& handOverPath);

  // The request trace, posted as LRCGETPRO at the end of a find path.
  std::string m_strTrace;
  SongFileAtr m_songFileAtr;
  char m_szRecoServer[260];
  char m_szFpmatchPath[260];
  char m_szResourceDir[260];
  char m_szInstallHome[260];
  char m_szLyricDir[260];
  char m_szHostName[260];
  char m_szLogFile[260];
  zl::LyricSettings m_settings;
  // Each owned by the engine while its request runs (guarded by m_requestLock).
  CHTTPRequest* m_pFindGetRequest;
  CHTTPRequest* m_pUserRequest;
  CHTTPRequest* m_pUploadRequest;
  // Cleared when the info file's answer is stale: the server is to be asked.
  int m_bLocalInfoValid;
  Content m_content;        // the current song's resource
  Content m_storedContent;  // the resource kept for pre-fetch and reload
  std::string m_strHitfrom;
  zl::CriticalSection m_requestLock;
  // The recognition engine while it runs (guarded by m_requestLock); a copy
  // of the handle that RecoByFP waits on, so that TerninateFpmatch can end
  // and close it from another thread.
  zl::UniqueHandle m_hFpmatch;
  unsigned long m_fpmatchLimitMs;
  std::vector<RecoTagInfo> m_recoTags;  // the records of the last run
  bool m_bRecoStored;                   // the last GetRecTagByFP stored a run's outcome

  // What the last info file or answer told about the resource.
  std::string m_strInfoPath;     // the current song's info file, once fixed
  std::string m_strInfoPathFor;  // the song path and names it was fixed for
  std::string m_strResPath;      // the resource's path on the server
  std::string m_strZipSig;       // the resource's zip signature
  bool m_bFilesMissing;
  bool m_bLrcMissing;
};
