#include "P2PInterface_win.h"

#include <atomic>
#include <vector>

#include "P2PServer_win.h"
#include "flv/DialogWait.h"
#include "p2p/P2PResource.h"
#include "p2p/TempFolder.h"
#include "p2pwire/P2PRecords.h"
#include "shared/BoundedWorker.h"
#include "shared/InstallHome.h"
#include "shared/Logger.h"

namespace clipview {

namespace {

constexpr const char* kModule = "P2PInterface";
constexpr UINT_PTR kRestartTimer = 1000;
constexpr UINT WM_ARM_RESTART_TIMER = WM_APP + 1;

}  // namespace

struct P2PInterface::Shared {
  P2PLinkSettings settings;
  P2PEvents* owner;
  std::atomic<HWND> window{nullptr};
  std::atomic<bool> closing{false};
  std::atomic<bool> replyEnded{false};
  zl::CriticalSection lock;  // the reply thread's start, the paths left to delete
  zl::BoundedWorker replyThread;
  bool replyStarted = false;
  std::vector<std::string> undeleted;

  const char* Log() const { return settings.logPath.c_str(); }
  HWND EnsureReplyWindow();
  void RunReplyWindow();
  void SendRequest(SignPair sign);
  void OnStatus(const p2pwire::P2PStatusRecord& r, const std::string& path, HWND hwnd);
  void OnLookup(const p2pwire::P2PLookupRecord& r, const std::string& path, HWND hwnd);
  void ReportCopyFailure(SignPair sign);
};

namespace {

LRESULT CALLBACK ReplyProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  auto* s = reinterpret_cast<P2PInterface::Shared*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  switch (msg) {
    case WM_COPYDATA: {
      const auto* cds = reinterpret_cast<const COPYDATASTRUCT*>(lp);
      if (!s || s->closing || !cds) return 0;
      std::string path;
      if (cds->dwData == p2pwire::kCodeStatus) {
        p2pwire::P2PStatusRecord r;
        if (p2pwire::DecodeStatusRecord(cds->lpData, cds->cbData, r, path)) s->OnStatus(r, path, hwnd);
        else LogWrite(s->Log(), LOG_FATAL, kModule, "Bad status record, %lu bytes.", (unsigned long)cds->cbData);
      } else if (cds->dwData == p2pwire::kCodeLookup) {
        p2pwire::P2PLookupRecord r;
        if (p2pwire::DecodeLookupRecord(cds->lpData, cds->cbData, r, path)) s->OnLookup(r, path, hwnd);
        else LogWrite(s->Log(), LOG_FATAL, kModule, "Bad lookup record, %lu bytes.", (unsigned long)cds->cbData);
      }
      return TRUE;
    }
    case WM_ARM_RESTART_TIMER:
      if (s) SetTimer(hwnd, kRestartTimer, s->settings.restartTimerMs, nullptr);
      return 0;
    case WM_TIMER:
      if (wp == kRestartTimer) {
        if (s) LogWrite(s->Log(), LOG_FATAL, kModule, "Restart P2P Server.");
        KillTimer(hwnd, kRestartTimer);
        return 0;
      }
      break;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcA(hwnd, msg, wp, lp);
}

}  // namespace

void P2PInterface::Shared::RunReplyWindow() {
  const char* name = settings.replyWindowName.c_str();
  WNDCLASSA wc = {};
  wc.lpfnWndProc = ReplyProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = name;
  RegisterClassA(&wc);  // already registered by an earlier link of this process: the same procedure
  HWND hwnd = CreateWindowExA(0, name, name, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                              CW_USEDEFAULT, nullptr, nullptr, wc.hInstance, nullptr);
  if (!hwnd) {
    replyEnded = true;
    return;
  }
  SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  window = hwnd;
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  window = nullptr;
  replyEnded = true;
}

HWND P2PInterface::Shared::EnsureReplyWindow() {
  {
    zl::Lock lock(this->lock);
    if (closing) return nullptr;
    if (!replyStarted) {
      replyStarted = true;
      Shared* self = this;  // the interface's destructor ends the thread before this goes
      replyThread.Start([self] { self->RunReplyWindow(); });
    }
  }
  for (int poll = 0; poll < 200; ++poll) {
    if (HWND hwnd = window) return hwnd;
    if (replyEnded) break;
    Sleep(50);
  }
  return window;
}

void P2PInterface::Shared::SendRequest(SignPair sign) {
  HWND server = FindWindowA(p2pwire::kServerWindowClass, nullptr);
  if (!server) {
    EnsureProductKeys();
    StartP2PServer(settings.logPath);
    for (int poll = 0; poll < 100 && !server; ++poll) {
      Sleep(20);
      server = FindWindowA(p2pwire::kServerWindowClass, nullptr);
    }
    if (!server) {
      LogWrite(Log(), LOG_FATAL, kModule, "No P2P Server, Sign %u, %u Dropped.", sign.first, sign.second);
      return;
    }
  }
  p2pwire::P2PRequestRecord record = p2pwire::MakeRequestRecord(sign, settings.replyWindowName.c_str());
  COPYDATASTRUCT cds = {p2pwire::kCodeRequest, sizeof record, &record};
  DWORD_PTR result = 0;
  SetLastError(0);
  if (!SendMessageTimeoutA(server, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&cds), SMTO_NORMAL,
                           settings.sendTimeoutMs, &result) &&
      GetLastError() == ERROR_TIMEOUT) {
    LogWrite(Log(), LOG_FATAL, kModule, "P2P Server Timeout, Sign %u, %u.", sign.first, sign.second);
    RecoverP2PServer(settings.logPath);
  }
}

void P2PInterface::Shared::ReportCopyFailure(SignPair sign) {
  settings.usage.Post("ERROR", "Read P2P File Failed|%u,%u", sign.first, sign.second);
}

void P2PInterface::Shared::OnStatus(const p2pwire::P2PStatusRecord& in, const std::string& path, HWND hwnd) {
  p2pwire::P2PStatusRecord r = in;
  const SignPair sign = r.sign;
  std::string temp;
  switch (r.event) {
    case p2pwire::kEventDone:
      KillTimer(hwnd, kRestartTimer);
      if (r.downloadPercent >= 100) {
        r.usablePercent = 100;
        LogWrite(Log(), LOG_FATAL, kModule, "Sign %u, %u Download Finished.", sign.first, sign.second);
        if (P2PCopyData(r, path, settings.copy, temp)) {
          LogWrite(Log(), LOG_FATAL, kModule, "Sign %u, %u Moved to Temp Dir.", sign.first, sign.second);
          owner->OnP2PProgress(sign, r.totalSize, 100, 100, r.rate);
        } else {
          LogWrite(Log(), LOG_FATAL, kModule, "Sign %u, %u Moved to Temp Dir Failed.", sign.first, sign.second);
          ReportCopyFailure(sign);
          LogWrite(Log(), LOG_FATAL, kModule, "Sign %u, %u Moved to Temp Dir Failed, Send Fail Message.",
                   sign.first, sign.second);
          owner->OnP2PFailed(sign);
        }
      } else if (r.downloadPercent > 0) {
        // Given up halfway: the slot keeps its status until its time-out.
        LogWrite(Log(), LOG_WARNING, kModule, "Sign %u, %u Download Fail.", sign.first, sign.second);
      } else {
        owner->OnP2PError(sign, p2pwire::kEventNoPeer);
      }
      break;
    case p2pwire::kEventProgress:
      if (r.downloadPercent >= 100) KillTimer(hwnd, kRestartTimer);
      else SetTimer(hwnd, kRestartTimer, settings.restartTimerMs, nullptr);
      if (P2PCopyData(r, path, settings.copy, temp)) {
        LogWrite(Log(), LOG_FATAL, kModule, "Sign %u, %u Download %d%s.", sign.first, sign.second,
                 int(r.downloadPercent), "%");
        owner->OnP2PProgress(sign, r.totalSize, r.usablePercent, r.downloadPercent, r.rate);
      } else {
        LogWrite(Log(), LOG_FATAL, kModule, "Sign %u, %u CopyData %d%s Failed.", sign.first, sign.second,
                 int(r.downloadPercent), "%");
        ReportCopyFailure(sign);
      }
      break;
    case p2pwire::kEventNoPeer:
    case p2pwire::kEventNetworkError:
      owner->OnP2PError(sign, r.event);
      break;
    default:
      break;
  }
}

void P2PInterface::Shared::OnLookup(const p2pwire::P2PLookupRecord& r, const std::string& path, HWND hwnd) {
  const SignPair sign = r.sign;
  const std::string temp = MakeTempPath(settings.copy.userTemp, sign, ExtensionOf(path), Log());
  if (r.percent == 100) {
    KillTimer(hwnd, kRestartTimer);
    LogWrite(Log(), LOG_FATAL, kModule, "Find Sign %u, %u local, path is %s.", sign.first, sign.second, path.c_str());
    owner->OnP2PStarted(sign, temp);
    WIN32_FILE_ATTRIBUTE_DATA info = {};
    const bool found = !path.empty() && GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &info) &&
                       !(info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
    p2pwire::P2PStatusRecord whole = {};
    whole.sign = sign;
    whole.usablePercent = whole.downloadPercent = 100;
    whole.totalSize = info.nFileSizeHigh ? 0xFFFFFFFFu : info.nFileSizeLow;
    std::string copied;
    if (found && whole.totalSize > 0 && P2PCopyData(whole, path, settings.copy, copied)) {
      settings.usage.Post("STATISTIC", "Sign:%u, %u File Exist.", sign.first, sign.second);
      owner->OnP2PProgress(sign, whole.totalSize, 100, 100, 0);
    } else {
      ReportCopyFailure(sign);
      owner->OnP2PFailed(sign);
    }
  } else if (!path.empty()) {
    owner->OnP2PStarted(sign, temp);
    LogWrite(Log(), LOG_FATAL, kModule, "Sign %u, %u Start Download, path is %s.", sign.first, sign.second,
             path.c_str());
  }
}

P2PInterface::P2PInterface(P2PLinkSettings settings, P2PEvents& owner) : shared_(std::make_shared<Shared>()) {
  shared_->settings = std::move(settings);
  shared_->owner = &owner;
}

P2PInterface::~P2PInterface() {
  Shared& s = *shared_;
  {
    zl::Lock lock(s.lock);
    s.closing = true;
  }
  if (HWND hwnd = s.window) PostMessageA(hwnd, WM_CLOSE, 0, 0);
  // The reply thread may be sending to the dialog thread (this one) right now.
  if (s.replyThread.Started() && !WaitTakingSentMessages(s.replyThread.Thread(), s.settings.replyStopWaitMs))
    s.replyThread.Stop({}, 0);
  s.replyThread.Wait(0);
}

void P2PInterface::RequestDownload(SignPair sign) {
  LogWrite(shared_->Log(), LOG_FATAL, kModule, "Enter Sign %u, %u Need to Download.", sign.first, sign.second);
  std::shared_ptr<Shared> s = shared_;
  zl::StartDetached([s, sign] {
    HWND reply = s->EnsureReplyWindow();
    if (!reply) {
      LogWrite(s->Log(), LOG_FATAL, kModule, "Create Message Window Error.");
      return;
    }
    LogWrite(s->Log(), LOG_FATAL, kModule, "PlayChannel Sign %u, %u Need to Download.", sign.first, sign.second);
    s->SendRequest(sign);
    LogWrite(s->Log(), LOG_FATAL, kModule, "Sign %u, %u Need to Download.", sign.first, sign.second);
    // The reply thread owns its timers: it is asked to start this one.
    if (sign.first != 0) PostMessageA(reply, WM_ARM_RESTART_TIMER, 0, 0);
  });
}

void P2PInterface::CancelDownload(SignPair sign, const std::string& path) {
  Shared& s = *shared_;
  if (HWND server = FindWindowA(p2pwire::kServerWindowClass, nullptr)) {
    SignPair record = sign;
    COPYDATASTRUCT cds = {p2pwire::kCodeCancel, sizeof record, &record};
    DWORD_PTR result = 0;
    SendMessageTimeoutA(server, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&cds), SMTO_NORMAL,
                        s.settings.cancelTimeoutMs, &result);
  }
  zl::Lock lock(s.lock);
  if (!path.empty() && !DeleteFileA(path.c_str()) && GetLastError() != ERROR_FILE_NOT_FOUND) {
    // The player may still hold it; tried again with every later cancel.
    LogWrite(s.Log(), LOG_FATAL, kModule, "Delete Temp Media File Error, Code is %d.", int(GetLastError()));
    bool known = false;
    for (const auto& p : s.undeleted) known = known || p == path;
    if (!known) s.undeleted.push_back(path);
    return;
  }
  for (size_t i = 0; i < s.undeleted.size();) {
    const char* p = s.undeleted[i].c_str();
    if (DeleteFileA(p) || GetFileAttributesA(p) == INVALID_FILE_ATTRIBUTES)
      s.undeleted.erase(s.undeleted.begin() + long(i));
    else
      ++i;
  }
}

void P2PInterface::SetClosing() { shared_->closing = true; }

HWND P2PInterface::ReplyWindow() const { return shared_->window; }

}  // namespace clipview
