// The engine object: construction, copies, host identity, trace and usage events.
#include "lyriccore/ZLyric.h"

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <ctime>

#include "EngineLog.h"
#include "KeyValueText.h"
#include "LyricTexts.h"
#include "ResourceRules.h"
#include "shared/GbkText.h"
#include "shared/InstallHome.h"
#include "shared/LogEventClient.h"

using namespace zl;

namespace {

const char kProductName[] = "LYRIC";

// home + suffix into a path field; left empty when it does not fit, as a
// path cut short would name another place.
void HomePath(char (&field)[260], const char* home, const char* suffix) {
  const int n = std::snprintf(field, sizeof field, "%s%s", home, suffix);
  if (n < 0 || static_cast<size_t>(n) >= sizeof field) field[0] = '\0';
}

}  // namespace

ZLyric::ZLyric()
    : m_songFileAtr(),
      m_szRecoServer(),
      m_szFpmatchPath(),
      m_szResourceDir(),
      m_szInstallHome(),
      m_szLyricDir(),
      m_szHostName(),
      m_szLogFile(),
      m_pFindGetRequest(nullptr),
      m_pUserRequest(nullptr),
      m_pUploadRequest(nullptr),
      m_bLocalInfoValid(1),
      m_content(),
      m_storedContent(),
      m_fpmatchLimitMs(kRecognitionEngineLimitMs),
      m_bRecoStored(false),
      m_bFilesMissing(false),
      m_bLrcMissing(false) {
  EnsureProductKeys();
  ReadInstallHome(m_szInstallHome, sizeof m_szInstallHome);
  HomePath(m_szLyricDir, m_szInstallHome, "\\lrc\\");
  HomePath(m_szFpmatchPath, m_szInstallHome, "\\fpmatch.exe");
  HomePath(m_szResourceDir, m_szInstallHome, "\\Resource\\");
  HomePath(m_szLogFile, m_szInstallHome, "\\log\\lyriccore.txt");
  LogWrite(m_szLogFile, kEngineLog, kEngineModule, "!!!!!!!!!!!!!!enter Constructer");
  CopyGbkBounded(m_szHostName, sizeof m_szHostName, HostPlayerName().c_str());
  if (!ReadConfigRecoServer(m_szRecoServer, sizeof m_szRecoServer))
    LogWrite(m_szLogFile, LOG_WARNING, kEngineModule, "Constructer RecoServer read error!");
  // Without a home there is no conf.ini to read: the defaults hold.
  if (m_szInstallHome[0]) LoadLyricSettingsFile(m_szInstallHome, m_settings);
  else m_settings.LrcSavePath = DefaultLrcSavePath("");
  LogWrite(m_szLogFile, kEngineLog, kEngineModule, "!!!!!!!!!!!!!!Out Constructer");
}

ZLyric::~ZLyric() {
  LogWrite(m_szLogFile, kEngineLog, kEngineModule, "!!!!!!!!!!!!!!enter Destructer");
  // The critical section goes with m_requestLock; a request still running
  // is not waited for.
  LogWrite(m_szLogFile, kEngineLog, kEngineModule, "!!!!!!!!!!!!!!Out Destructer");
}

ZLyric::ZLyric(const ZLyric& other)
    : m_pFindGetRequest(nullptr),
      m_pUserRequest(nullptr),
      m_pUploadRequest(nullptr),
      m_fpmatchLimitMs(kRecognitionEngineLimitMs),
      m_bRecoStored(false) {
  CopyFrom(other);
}

ZLyric& ZLyric::operator=(const ZLyric& other) {
  if (this != &other) CopyFrom(other);
  return *this;
}

void ZLyric::CopyFrom(const ZLyric& o) {
  m_strTrace = o.m_strTrace;
  m_songFileAtr = o.m_songFileAtr;
  std::memcpy(m_szRecoServer, o.m_szRecoServer, sizeof m_szRecoServer);
  std::memcpy(m_szFpmatchPath, o.m_szFpmatchPath, sizeof m_szFpmatchPath);
  std::memcpy(m_szResourceDir, o.m_szResourceDir, sizeof m_szResourceDir);
  std::memcpy(m_szInstallHome, o.m_szInstallHome, sizeof m_szInstallHome);
  std::memcpy(m_szLyricDir, o.m_szLyricDir, sizeof m_szLyricDir);
  std::memcpy(m_szHostName, o.m_szHostName, sizeof m_szHostName);
  std::memcpy(m_szLogFile, o.m_szLogFile, sizeof m_szLogFile);
  m_settings = o.m_settings;
  // NOTE: requests and the recognition engine stay with the object that
  // started them; sharing them would free them twice.
  m_bLocalInfoValid = o.m_bLocalInfoValid;
  m_content = o.m_content;
  m_storedContent = o.m_storedContent;
  m_strHitfrom = o.m_strHitfrom;
  m_strInfoPath = o.m_strInfoPath;
  m_strInfoPathFor = o.m_strInfoPathFor;
  m_strResPath = o.m_strResPath;
  m_strZipSig = o.m_strZipSig;
  m_bFilesMissing = o.m_bFilesMissing;
  m_bLrcMissing = o.m_bLrcMissing;
  m_fpmatchLimitMs = o.m_fpmatchLimitMs;
  m_recoTags = o.m_recoTags;
  m_bRecoStored = o.m_bRecoStored;
}

void ZLyric::DecideTUI(tagUpdateInfo& tui) { DecideTagUpdate(m_songFileAtr, m_strHitfrom, tui); }

Pre_Set_State ZLyric::GetResState(Content& c) { return ResourceStateOf(c); }

int ZLyric::GetResNum(Content& c) { return ResourceCountOf(c); }

void ZLyric::AddTrace(const char* label) {
  SYSTEMTIME st;
  GetLocalTime(&st);
  std::tm t = {};
  t.tm_year = st.wYear - 1900;
  t.tm_mon = st.wMonth - 1;
  t.tm_mday = st.wDay;
  t.tm_hour = st.wHour;
  t.tm_min = st.wMinute;
  t.tm_sec = st.wSecond;
  m_strTrace += TraceLine(label, t, st.wMilliseconds);
}

void ZLyric::PostTrace() {
  if (IsRecentPublish()) PostUsageEvent("LRCGETPRO", m_strTrace, 0);
}

void ZLyric::PostUsageEvent(const std::string& name, const std::string& text, unsigned long waitMs) {
  const std::string act = CutEventName(name);
  const std::string msg = CutEventText(text);
  if (!PostLogEvent(kProductName, m_szHostName, act.c_str(), msg.c_str(), waitMs))
    LogWrite(m_szLogFile, kEngineLog, kEngineModule, "PostUsageEvent %s not sent", act.c_str());
}

void ZLyric::GetUserValues(std::string& userNumber, std::string& secondValue) const {
  char value[260];
  userNumber = ReadUserFileLine(1, value, sizeof value) ? value : "0";
  secondValue = ReadUserFileLine(2, value, sizeof value) ? value : "0";
}
