#include "HttpPost_win.h"

#include <windows.h>
#include <wininet.h>

#include <memory>
#include <mutex>

#include "shared/Logger.h"
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
  std::mutex lock;  // guards the handles against the closing caller
  HINTERNET session = nullptr;
  HINTERNET connection = nullptr;
  HINTERNET request = nullptr;
  bool abandoned = false;

  // Closing the session makes a blocked WinINet call return at once.
  void CloseAll() {
    std::lock_guard<std::mutex> g(lock);
    abandoned = true;
    for (HINTERNET* h : {&request, &connection, &session}) {
      if (*h) InternetCloseHandle(*h);
      *h = nullptr;
    }
  }
  // Stores a handle unless the caller gave up already.
  bool Keep(HINTERNET& slot, HINTERNET h) {
    std::lock_guard<std::mutex> g(lock);
    if (abandoned) {
      if (h) InternetCloseHandle(h);
      return false;
    }
    slot = h;
    return h != nullptr;
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
  if (!job.Keep(job.session, session)) {
    LogWrite(kHttpLogPath, LOG_WARNING, "HttpClient", "InternetOpen failed: %lu", GetLastError());
    return 1;
  }
  HINTERNET connection = InternetConnectA(job.session, job.url.host.c_str(), static_cast<INTERNET_PORT>(job.url.port),
                                          nullptr, nullptr, INTERNET_SERVICE_HTTP, INTERNET_FLAG_KEEP_CONNECTION, 0);
  if (!job.Keep(job.connection, connection)) {
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
  if (!job.Keep(job.request, request)) {
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

DWORD WINAPI Worker(LPVOID param) {
  std::unique_ptr<std::shared_ptr<PostJob>> job(static_cast<std::shared_ptr<PostJob>*>(param));
  const DWORD rc = Run(**job);
  (*job)->CloseAll();
  return rc;
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
  auto* param = new std::shared_ptr<PostJob>(job);
  zl::UniqueHandle thread(CreateThread(nullptr, 0, Worker, param, 0, nullptr));
  if (!thread) {
    delete param;
    return false;
  }
  if (WaitForSingleObject(thread.Get(), timeoutMs) == WAIT_OBJECT_0) {
    DWORD rc = 1;
    GetExitCodeThread(thread.Get(), &rc);
    return rc == 0;
  }
  LogWrite(kHttpLogPath, LOG_WARNING, "HttpClient", "Request:HTTP request is time out!");
  // Ask first: closing the handles fails the blocked call; terminate only a
  // worker that still does not end.
  job->CloseAll();
  if (WaitForSingleObject(thread.Get(), kGraceAfterTimeoutMs) != WAIT_OBJECT_0) {
    TerminateThread(thread.Get(), 1);
    WaitForSingleObject(thread.Get(), kGraceAfterTimeoutMs);
  }
  return false;
}

}  // namespace logsvr
