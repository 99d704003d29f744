#include "shared/LogEventClient.h"

#include <windows.h>
#include <objbase.h>
#include <oleauto.h>

#include <memory>
#include <string>

#include "ILogSvr.h"
#include "shared/BoundedWorker.h"
#include "shared/Ownership.h"

namespace {

struct EventJob {
  std::string softName, hostName, act, msg;
};

zl::UniqueBstr ToBstr(const std::string& text) {
  const int n = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  zl::UniqueBstr b(SysAllocStringLen(nullptr, static_cast<UINT>(n > 0 ? n : 0)));
  if (b && n > 0) MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), b.Get(), n);
  return b;
}

// The service is free-threaded: joining the multi-threaded apartment lets
// the object be used directly, with no marshalling.
void Post(const EventJob& job) {
  zl::ComInit com(COINIT_MULTITHREADED);
  zl::ComPtr<ILogSvr> svr;
  if (FAILED(CoCreateInstance(CLSID_LogSvr, nullptr, CLSCTX_INPROC_SERVER, IID_ILogSvr, svr.PutVoid()))) return;
  zl::UniqueBstr soft = ToBstr(job.softName), host = ToBstr(job.hostName);
  zl::UniqueBstr act = ToBstr(job.act), msg = ToBstr(job.msg);
  if (svr->Init(soft.Get(), host.Get()) != E_FAIL) svr->LogMsg(act.Get(), msg.Get());
}

}  // namespace

bool PostLogEvent(const char* softName, const char* hostName, const char* act, const char* msg,
                  unsigned long waitMs) {
  std::shared_ptr<EventJob> job;
  try {
    job = std::make_shared<EventJob>();
    job->softName = softName ? softName : "";
    job->hostName = hostName ? hostName : "";
    job->act = act ? act : "";
    job->msg = msg ? msg : "";
  } catch (...) {
    return false;
  }
  auto work = [job] { Post(*job); };
  if (waitMs == kLogEventNoWait) return zl::StartDetached(work);
  zl::BoundedWorker worker;
  if (!worker.Start(work)) return false;
  const DWORD limit = waitMs == kLogEventWaitForever ? INFINITE : static_cast<DWORD>(waitMs);
  // A service call cannot be interrupted from outside; past the caller's
  // limit the thread is given up.
  const zl::WorkerEnd end = worker.WaitOrStop(limit, nullptr, 0);
  return end == zl::WorkerEnd::Finished;
}
