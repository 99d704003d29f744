#pragma once
// The engine's own HTTP/1.0 client over Winsock, and the request object that
// runs one exchange on a worker thread under a time-out. A request blocked
// in its worker can be failed at once from another thread with Close().
#include <winsock2.h>

#include <memory>
#include <string>

#include "HttpText.h"
#include "shared/CriticalSection.h"
#include "shared/Ownership.h"

// One exchange on one socket. Used by CHTTPRequest's worker thread; Close()
// may come from any thread.
class GenericHTTPClient {
 public:
  explicit GenericHTTPClient(std::string logPath) : logPath_(std::move(logPath)) {}
  GenericHTTPClient(const GenericHTTPClient&) = delete;
  GenericHTTPClient& operator=(const GenericHTTPClient&) = delete;
  ~GenericHTTPClient() { CloseSocket(); }

  void SetMode(zl::ConnectionMode mode) { mode_ = mode; }
  zl::ConnectionMode Mode() const { return mode_; }
  void SetProxy(const std::string& host, unsigned port, const std::string& user, const std::string& password);
  void SetRangeStart(int start) { rangeStart_ = start; }

  // Connects, sends, reads the header and, on 200/206/304, the body to the
  // end of the connection. False on any failure (logged).
  bool Run(const std::string& url, bool post, const std::string& body);
  // Aborts: the running exchange fails at once and no later one starts.
  void Close();

  const std::string& Header() const { return header_; }
  const std::string& Body() const { return body_; }
  int Status() const { return status_; }

 private:
  bool SendRequest(const std::string& url, bool post, const std::string& body);
  bool GetHeader();
  bool GetContent();
  SOCKET Socket();
  void CloseSocket();

  std::string logPath_;
  zl::ConnectionMode mode_ = zl::ConnectionMode::Direct;
  std::string proxyHost_, proxyUser_, proxyPassword_;
  unsigned proxyPort_ = 80;
  int rangeStart_ = 0;
  zl::CriticalSection socketLock_;
  zl::UniqueSocket socket_;
  bool aborted_ = false;
  std::string header_, body_;
  int status_ = 0;
};

// The engine's request object: proxy settings from Conf.ini, one exchange on
// a worker thread, the answer kept for the caller.
class CHTTPRequest {
 public:
  // confIniPath: the install home's Conf.ini; logPath: the engine's log file.
  CHTTPRequest(const std::string& confIniPath, const std::string& logPath);
  ~CHTTPRequest();
  CHTTPRequest(const CHTTPRequest&) = delete;
  CHTTPRequest& operator=(const CHTTPRequest&) = delete;

  bool Valid() const;

  // postFlag 1: POST with body. timeoutMs -1: no limit. True when the
  // exchange succeeded; the header and body can then be taken.
  bool Request(const std::string& url, int postFlag, long timeoutMs, const std::string& body = std::string());
  // Fails a running request at once (closes its socket).
  void Close();

  // Body bytes and length; a length below 0 means there is no body.
  void GetContent(const char*& data, long& length) const;
  const std::string& ResponseHeader() const { return header_; }

 private:
  void ApplyConType(GenericHTTPClient& client);

  std::string logPath_;
  std::string conType_, proxyServer_, proxyPort_, userName_, password_;
  mutable zl::CriticalSection clientLock_;
  // Shared with the worker thread of a request: a worker that cannot be
  // ended keeps its client alive.
  std::shared_ptr<GenericHTTPClient> client_;
  std::string header_, body_;
  bool haveBody_ = false;
};
