#include "HttpPost_win.h"

#include <windows.h>
#include <wininet.h>

#include <atomic>
#include <memory>

#include "shared/Logger.h"
#include "shared/BoundedWorker.h"
#include "shared/Ownership.h"

namespace logsvr {

namespace {

constexpr const char* kAgent = "DUDEZE(0.9/;p)";
constexpr DWORD kGraceAfterTimeoutMs = 2000;

// Everything the worker needs; shared so that an abandoned worker never
// touches freed memory.
struct PostJob {
  zl::UrlParts url;
  std::string body;
  ProxySettings proxy;
  zl::CriticalSection lock;  // guards the handles against the closing caller
  zl::UniqueInternet sessionHandle, connectionHandle, requestHandle;
  HINTERNET session = nullptr;  // the worker's view of the handles above
  HINTERNET connection = nullptr;
  HINTERNET request = nullptr;
  bool abandoned = false;
  std::atomic<DWORD> result{1};

  // Closing the session makes a blocked WinINet call return at once.
  void CloseAll() {
    zl::Lock g(lock);
    abandoned = true;
    requestHandle.Reset();
    connectionHandle.Reset();
    sessionHandle.Reset();
  }
  // Stores a handle unless the caller gave up already.
  bool Keep(zl::UniqueInternet& owner, HINTERNET& view, HINTERNET h) {
    zl::UniqueInternet taken(h);
    zl::Lock g(lock);
    if (abandoned || !taken) return false;
    view = h;
    owner = std::move(taken);
    return true;
  }
};

DWORD Run(PostJob& job) {
  const std::string proxyText = WinInetProxyText(job.proxy);
  HINTERNET session = nullptr;
  if (!proxyText.empty())
    session = InternetOpenA(kAgent, INTERNET_OPEN_TYPE_PROXY, proxyText.c_str(), nullptr, 0);
  else
    session = InternetOpenA(kAgent,
                            job.proxy.mode == ProxyMode::Direct ? INTERNET_OPEN_TYPE_DIRECT
                                                                : INTERNET_OPEN_TYPE_PRECONFIG,
                            nullptr, nullptr, 0);
  if (!job.Keep(job.sessionHandle, job.session, session)) {
    LogWrite(kHttpLogPath, LOG_WARNING, "HttpClient", "InternetOpen failed: %lu", GetLastError());
    return 1;
  }
  HINTERNET connection = InternetConnectA(job.session, job.url.host.c_str(), static_cast<INTERNET_PORT>(job.url.port),
                                          nullptr, nullptr, INTERNET_SERVICE_HTTP, INTERNET_FLAG_KEEP_CONNECTION, 0);
  if (!job.Keep(job.connectionHandle, job.connection, connection)) {
    LogWrite(kHttpLogPath, LOG_WARNING, "HttpClient", "InternetConnect failed: %lu", GetLastError());
    return 1;
  }
  if (!job.proxy.user.empty())
    InternetSetOptionA(job.connection, INTERNET_OPTION_PROXY_USERNAME, const_cast<char*>(job.proxy.user.c_str()),
                       static_cast<DWORD>(job.proxy.user.size()));
  if (!job.proxy.password.empty())
    InternetSetOptionA(job.connection, INTERNET_OPTION_PROXY_PASSWORD, const_cast<char*>(job.proxy.password.c_str()),
                       static_cast<DWORD>(job.proxy.password.size()));
  if (InternetAttemptConnect(0) != ERROR_SUCCESS) return 1;

  const char* acceptTypes[] = {"*/*", nullptr};
  const std::string path = job.url.path.empty() ? "/" : job.url.path;
  HINTERNET request = HttpOpenRequestA(job.connection, "POST", path.c_str(), "HTTP/1.0", nullptr, acceptTypes,
                                       INTERNET_FLAG_KEEP_CONNECTION | INTERNET_FLAG_FORMS_SUBMIT, 0);
  if (!job.Keep(job.requestHandle, job.request, request)) {
    LogWrite(kHttpLogPath, LOG_WARNING, "HttpClient", "HttpOpenRequest failed: %lu", GetLastError());
    return 1;
  }
  HttpAddRequestHeadersA(job.request, "Accept: */*\r\n", static_cast<DWORD>(-1), HTTP_ADDREQ_FLAG_REPLACE);
  static const char kContentType[] = "Content-Type: application/x-www-form-urlencoded\r\n";
  if (!HttpSendRequestA(job.request, kContentType, static_cast<DWORD>(sizeof kContentType - 1),
                        const_cast<char*>(job.body.data()), static_cast<DWORD>(job.body.size()))) {
    LogWrite(kHttpLogPath, LOG_WARNING, "HttpClient", "HttpSendRequest failed: %lu", GetLastError());
    return 1;
  }
  DWORD status = 0, size = sizeof status;
  if (!HttpQueryInfoA(job.request, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size, nullptr))
    return 1;
  LogWrite(kHttpLogPath, LOG_DEBUG, "HttpClient", "status %lu", status);
  return status == 200 ? 0 : 1;
}

}  // namespace

bool HttpPostForm(const std::string& url, const std::string& body, unsigned timeoutMs, const ProxySettings& proxy) {
  auto job = std::make_shared<PostJob>();
  if (!SplitPostUrl(url, job->url)) {
    LogWrite(kHttpLogPath, LOG_WARNING, "HttpClient", "bad URL %s", url.c_str());
    return false;
  }
  job->body = body;
  job->proxy = proxy;
  zl::BoundedWorker worker;
  if (!worker.Start([job] {
        job->result.store(Run(*job));
        job->CloseAll();
      }))
    return false;
  if (worker.Wait(timeoutMs)) return job->result.load() == 0;
  LogWrite(kHttpLogPath, LOG_WARNING, "HttpClient", "Request:HTTP request is time out!");
  // Ask first: closing the handles fails the blocked call; terminate only a
  // worker that still does not end.
  worker.Stop([job] { job->CloseAll(); }, kGraceAfterTimeoutMs);
  return false;
}

}  // namespace logsvr
