#include "LogSvr_win.h"

#include <ctime>
#include <vector>

#include "ActivityLog.h"
#include "HttpPost_win.h"
#include "LogEvent.h"
#include "MessageSet.h"
#include "RegistryCounters_win.h"
#include "shared/GbkText.h"
#include "shared/InstallHome.h"
#include "shared/Logger.h"
#include "shared/ProductRegistry.h"
#include "shared/ProfileFile.h"
#include "shared/Ownership.h"

namespace logsvr {

namespace {

LONG g_moduleRefs = 0;
LONG g_postTimeoutMs = 10000;

constexpr const char* kModule = "LogSvr";

// BSTR (UTF-16) to the system code page, cut to maxBytes without splitting a character.
std::string Narrow(BSTR text, size_t maxBytes = static_cast<size_t>(-1)) {
  if (!text) return std::string();
  const int wlen = static_cast<int>(SysStringLen(text));
  if (wlen == 0) return std::string();
  const int n = WideCharToMultiByte(CP_ACP, 0, text, wlen, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(n > 0 ? n : 0), '\0');
  if (n > 0) WideCharToMultiByte(CP_ACP, 0, text, wlen, &out[0], n, nullptr, nullptr);
  out.resize(zl::GbkCutLength(out.data(), out.size(), maxBytes));
  return out;
}

// Keeps only the tail of an over-long activity log. The tail goes to a
// temporary file first so that a failed write never loses the log.
void TrimActivityLog(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA attr;
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &attr)) return;
  const uint64_t size = (static_cast<uint64_t>(attr.nFileSizeHigh) << 32) | attr.nFileSizeLow;
  const uint64_t from = ActivityLogKeepFrom(size);
  if (from == 0) return;
  std::vector<char> tail(static_cast<size_t>(size - from));
  {
    zl::UniqueHandle in(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER pos;
    pos.QuadPart = static_cast<LONGLONG>(from);
    DWORD got = 0;
    if (!in || !SetFilePointerEx(in.Get(), pos, nullptr, FILE_BEGIN) ||
        !ReadFile(in.Get(), tail.data(), static_cast<DWORD>(tail.size()), &got, nullptr) || got != tail.size())
      return;
  }
  const std::string temp = path + ".tmp";
  {
    zl::UniqueHandle out(
        CreateFileA(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD put = 0;
    if (!out || !WriteFile(out.Get(), tail.data(), static_cast<DWORD>(tail.size()), &put, nullptr) ||
        put != tail.size()) {
      out.Reset();
      DeleteFileA(temp.c_str());
      return;
    }
  }
  if (!MoveFileExA(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING)) DeleteFileA(temp.c_str());
}

EventIdentity ReadIdentity() {
  EventIdentity id;
  char buf[128];
  if (ReadConfigVersion(buf, 64)) id.version = buf;
  if (ReadUserFileLine(1, buf, 64)) id.userId = buf;
  if (ReadUserFileLine(2, buf, 128)) id.userLine2 = buf;
  return id;
}

std::string LogServerBaseUrl() {
  char buf[260];
  return ReadConfigLogServer(buf, sizeof buf) && buf[0] ? std::string(buf) : std::string(kDefaultLogServerUrl);
}

}  // namespace

void ModuleAddRef() { InterlockedIncrement(&g_moduleRefs); }
void ModuleRelease() { InterlockedDecrement(&g_moduleRefs); }
LONG ModuleRefs() { return g_moduleRefs; }
unsigned PostTimeoutMs() { return static_cast<unsigned>(InterlockedCompareExchange(&g_postTimeoutMs, 0, 0)); }
void SetPostTimeoutMs(unsigned ms) { InterlockedExchange(&g_postTimeoutMs, static_cast<LONG>(ms)); }

CLogSvr::CLogSvr() { ModuleAddRef(); }

CLogSvr::~CLogSvr() { ModuleRelease(); }

HRESULT CLogSvr::QueryInterface(REFIID riid, void** ppv) {
  if (!ppv) return E_POINTER;
  if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_ILogSvr)) {
    *ppv = static_cast<ILogSvr*>(this);
    AddRef();
    return S_OK;
  }
  *ppv = nullptr;
  return E_NOINTERFACE;
}

ULONG CLogSvr::AddRef() { return static_cast<ULONG>(InterlockedIncrement(&refs_)); }

ULONG CLogSvr::Release() {
  const LONG n = InterlockedDecrement(&refs_);
  if (n == 0) delete this;
  return static_cast<ULONG>(n);
}

HRESULT CLogSvr::Init(BSTR SoftName, BSTR bzSoftName) {
  try {
    const std::string soft = Narrow(SoftName);
    if (soft.empty()) return E_FAIL;
    zl::Lock guard(lock_);
    return InitLocked(soft, Narrow(bzSoftName, 63));
  } catch (...) {
    return E_FAIL;
  }
}

HRESULT CLogSvr::InitLocked(const std::string& softName, const std::string& sourceName) {
  source_ = sourceName;
  std::string home;
  if (!ReadInstallHome(home)) return E_FAIL;
  zl::CreateProductKey(zl::kLogMsgSubkey);

  const std::string folder = home + "\\log";
  if (folder.size() + sizeof "\\act.log" > MAX_PATH) {
    LogWrite(kHttpLogPath, LOG_WARNING, kModule, "GetLogFilePath Error! Soft Name is %s.", softName.c_str());
    return E_FAIL;
  }
  activityLog_ = folder + "\\act.log";
  CreateDirectoryA(folder.c_str(), nullptr);
  TrimActivityLog(activityLog_);

  LoadMessageTable();
  if (table_.empty()) {
    LogWriteText(activityLog_.c_str(), LOG_FATAL, kModule, "Can't Init Real Time Msg Config!");
    return S_FALSE;
  }
  LogWriteText(activityLog_.c_str(), LOG_NOTICE, kModule, "Init LogSvr Success.");
  return S_OK;
}

void CLogSvr::LoadMessageTable() {
  table_.clear();
  char msgSet[260];
  char systemDir[MAX_PATH];
  if (!ReadConfigMsgSet(msgSet, sizeof msgSet)) return;
  const UINT n = GetSystemDirectoryA(systemDir, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return;
  const std::string path = MessageSetPath(systemDir, msgSet);
  if (path.empty()) return;
  const ProfileFile file(path);
  table_ = logsvr::LoadMessageTable(
      [&file](const std::string& key) { return file.ReadText("LogMsg", key.c_str(), ""); });
}

HRESULT CLogSvr::LogMsg(BSTR bzAct, BSTR bzMsg) {
  try {
    zl::Lock guard(lock_);
    return LogMsgLocked(Narrow(bzAct), Narrow(bzMsg));
  } catch (...) {
    return E_FAIL;
  }
}

HRESULT CLogSvr::LogMsgLocked(const std::string& act, const std::string& msg) {
  if (IsUninstallAct(act)) return SendUninstall(msg);
  const std::string body = EventBody(act, source_, msg);
  const EventIdentity id = ReadIdentity();
  RegistryCounters counters;
  HRESULT hr = S_OK;
  std::string line;
  if (AllowSend(act, table_, static_cast<uint32_t>(std::time(nullptr)), counters)) {
    line = FormatEvent(kEventSent, body, id);
    if (!PostEvent(line)) hr = S_FALSE;
  } else {
    line = FormatEvent(kEventNotSent, body, id);
  }
  LogWriteText(activityLog_.c_str(), LOG_KEYINFO, "KEYINFO", line.c_str());
  return hr;
}

HRESULT CLogSvr::SendUninstall(const std::string& msg) {
  const UninstallMessage m = ParseUninstallMessage(msg, kDefaultLogServerUrl);
  if (HttpPostForm(m.baseUrl + "/music.qn", EncodeEventLine(FormatUninstallEvent(m)), PostTimeoutMs())) return S_OK;
  LogWriteText(activityLog_.c_str(), LOG_WARNING, kModule, "Send Uninstall Msg to Server Request Error!");
  return S_FALSE;
}

bool CLogSvr::PostEvent(const std::string& line) {
  if (HttpPostForm(LogServerBaseUrl() + "/music.qn", EncodeEventLine(line), PostTimeoutMs())) return true;
  LogWriteText(activityLog_.c_str(), LOG_WARNING, kModule, "Send Msg to Server Request Error!");
  return false;
}

}  // namespace logsvr
