#include "shared/LogEventClient.h"

#include <windows.h>
#include <objbase.h>
#include <oleauto.h>

#include <memory>
#include <string>

#include "ILogSvr.h"
#include "shared/Ownership.h"

namespace {

struct EventJob {
  std::string softName, hostName, act, msg;
};

class Bstr {
 public:
  explicit Bstr(const std::string& text) {
    const int n = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    b_ = SysAllocStringLen(nullptr, static_cast<UINT>(n > 0 ? n : 0));
    if (b_ && n > 0) MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), b_, n);
  }
  ~Bstr() { SysFreeString(b_); }
  Bstr(const Bstr&) = delete;
  Bstr& operator=(const Bstr&) = delete;
  BSTR get() const { return b_; }

 private:
  BSTR b_ = nullptr;
};

// The service is free-threaded: joining the multi-threaded apartment lets
// the object be used directly, with no marshalling.
DWORD WINAPI PostThread(LPVOID param) {
  std::unique_ptr<EventJob> job(static_cast<EventJob*>(param));
  const HRESULT co = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
  ILogSvr* svr = nullptr;
  if (SUCCEEDED(CoCreateInstance(CLSID_LogSvr, nullptr, CLSCTX_INPROC_SERVER, IID_ILogSvr,
                                 reinterpret_cast<void**>(&svr)))) {
    Bstr soft(job->softName), host(job->hostName), act(job->act), msg(job->msg);
    if (svr->Init(soft.get(), host.get()) != E_FAIL) svr->LogMsg(act.get(), msg.get());
    svr->Release();
  }
  if (SUCCEEDED(co)) CoUninitialize();
  return 0;
}

}  // namespace

bool PostLogEvent(const char* softName, const char* hostName, const char* act, const char* msg,
                  unsigned long waitMs) {
  auto* job = new (std::nothrow) EventJob;
  if (!job) return false;
  try {
    job->softName = softName ? softName : "";
    job->hostName = hostName ? hostName : "";
    job->act = act ? act : "";
    job->msg = msg ? msg : "";
  } catch (...) {
    delete job;
    return false;
  }
  zl::UniqueHandle thread(CreateThread(nullptr, 0, PostThread, job, 0, nullptr));
  if (!thread) {
    delete job;
    return false;
  }
  if (waitMs == kLogEventNoWait) return true;
  const DWORD limit = waitMs == kLogEventWaitForever ? INFINITE : static_cast<DWORD>(waitMs);
  if (WaitForSingleObject(thread.Get(), limit) == WAIT_OBJECT_0) return true;
  // A service call cannot be interrupted from outside; past the caller's
  // limit the thread is given up.
  TerminateThread(thread.Get(), 1);
  WaitForSingleObject(thread.Get(), 2000);
  return false;
}
