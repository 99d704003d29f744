// Looking ClipView up, starting it, sending to it and killing it.
#include "MvLinkCore_win.h"

#include <tlhelp32.h>

#include <cstdarg>
#include <cstdio>

#include "shared/InstallHome.h"
#include "shared/Ownership.h"

namespace {

constexpr char kSendTag[] = "Player Send MSG";

// One per plug-in process: two threads must never start two ClipViews.
zl::CriticalSection& LaunchLock() {
  static zl::CriticalSection lock;
  return lock;
}

std::string ResolveHostName(const std::string& given) {
  return given.empty() ? mvlink::LinkHostName(HostPlayerName()) : given;
}

}  // namespace

MvLinkCore::MvLinkCore(const MvLinkOptions& options)
    : m_options(options),
      m_hostName(ResolveHostName(options.hostName)),
      m_hostKind(mvlink::HostKindFromLinkName(m_hostName)) {}

void MvLinkCore::Log(const char* tag, const char* format, ...) const {
  ILyricController* owner = Owner();
  if (!owner) return;
  char text[512];
  va_list args;
  va_start(args, format);
  std::vsnprintf(text, sizeof text, format, args);
  va_end(args);
  LogWrite(owner->LogPath(), LOG_KEYINFO, tag, "%s", text);
}

HWND MvLinkCore::FindVideoWindow() const { return FindWindowA(nullptr, ClipViewTitle()); }

HWND MvLinkCore::FindFlashNotice() { return FindWindowA(nullptr, mv::kFlashNoticeTitle); }

HWND MvLinkCore::FindOrLaunchVideoWindow() {
  zl::Lock hold(LaunchLock());
  HWND window = FindVideoWindow();
  if (!window) {
    ILyricController* owner = Owner();
    if (!owner || owner->Home().empty()) return nullptr;
    EnsureProductKeys();
    const std::string command = m_options.program + " " + ClipViewTitle();
    zl::UniqueHandle process(RunProgramShown(command.c_str(), owner->Home().c_str(), false));
    if (!process) {
      Log(kSendTag, "cannot start %s", command.c_str());
      return nullptr;
    }
  }
  if (FindFlashNotice()) return nullptr;
  window = FindVideoWindow();
  for (uint32_t i = 0; !window && i < m_options.timings.launchRetries; ++i) {
    Sleep(m_options.timings.launchPauseMs);
    // A ClipView that opened the notice instead will not show its window.
    if (FindFlashNotice()) return nullptr;
    window = FindVideoWindow();
  }
  return window;
}

MvLinkCore::SendResult MvLinkCore::Send(const char* name, mv::ToClipView code, const void* data, DWORD size,
                                        bool launch) {
  Log(kSendTag, "%s", name);
  if (FindFlashNotice()) {
    Log(kSendTag, "NoFlash is Already existes");
    return SendResult::NoticeOpen;
  }
  HWND window = launch ? FindOrLaunchVideoWindow() : FindVideoWindow();
  if (!window) {
    Log(kSendTag, "%s failed", name);
    return SendResult::Missing;
  }
  COPYDATASTRUCT copy{};
  copy.dwData = code;
  copy.cbData = size;
  copy.lpData = size ? const_cast<void*>(data) : nullptr;
  const UINT limit = m_options.timings.sendTimeoutMs ? m_options.timings.sendTimeoutMs : mv::SendTimeoutMs(code);
  DWORD_PTR answer = 0;
  SendResult result = SendResult::Sent;
  if (!SendMessageTimeoutA(window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&copy), SMTO_NORMAL, limit, &answer)) {
    result = SendResult::TimedOut;
    // A window that went meanwhile belongs to a ClipView that is ending by
    // itself; only one that is still there but does not answer is hung.
    if (IsWindow(window)) {
      KillVideo();
      Log(kSendTag, "%s timeout", name);
    } else {
      Log(kSendTag, "%s: ClipView has closed", name);
    }
  }
  Log(kSendTag, code == mv::WM_STOP_DOWNLOAD ? "%s out" : "%s return", name);
  return result;
}

HWND MvLinkCore::MiniWindow() const {
  ILyricController* owner = Owner();
  HWND mini = owner ? owner->Windows().MiniWindow() : nullptr;
  return mini ? mini : FindWindowA(nullptr, MiniTitle().c_str());
}

void MvLinkCore::KillVideo() {
  Log(kSendTag, "KillVideo==in");
  if (HWND mini = MiniWindow()) {
    // On the mini window's own thread the crash is handled at once; another
    // thread only posts it: that thread may be a sender the user interface
    // is waiting for.
    if (GetWindowThreadProcessId(mini, nullptr) == GetCurrentThreadId())
      SendMessageA(mini, mv::kVideoCrashMessage, 0, 0);
    else
      PostMessageA(mini, mv::kVideoCrashMessage, 0, 0);
  }
  const DWORD ownPid = GetCurrentProcessId();
  DWORD ownSession = 0;
  if (!ProcessIdToSessionId(ownPid, &ownSession)) {
    Log(kSendTag, "KillVideo: own session unknown (%lu)", GetLastError());
  } else {
    zl::UniqueHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = snapshot && Process32First(snapshot.Get(), &entry); more;
         more = Process32Next(snapshot.Get(), &entry)) {
      DWORD session = 0;
      if (!ProcessIdToSessionId(entry.th32ProcessID, &session)) continue;
      if (!mvlink::ShouldKillProcess(entry.szExeFile, entry.th32ProcessID, session, ownPid, ownSession)) continue;
      zl::UniqueHandle process(OpenProcess(PROCESS_TERMINATE, FALSE, entry.th32ProcessID));
      if (process) TerminateProcess(process.Get(), 0);
    }
  }
  Log(kSendTag, "KillVideo==out");
}
