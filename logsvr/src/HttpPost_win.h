#pragma once
// The service's HTTP client: one POST over WinINet on a worker thread,
// bounded by a time-out. Called on the thread of the COM object's user.
#include <string>

namespace logsvr {

enum class ProxyMode { Preconfigured = 0, Direct = 1, HttpProxy = 2, Socks = 3 };

struct ProxySettings {
  ProxyMode mode = ProxyMode::Preconfigured;
  std::string host;
  unsigned port = 0;
  std::string user, password;
};

// POSTs body to url with the service's agent, headers and HTTP/1.0. True only
// when the server answered 200 within timeoutMs.
bool HttpPostForm(const std::string& url, const std::string& body, unsigned timeoutMs,
                  const ProxySettings& proxy = ProxySettings());

// Where the client logs its steps.
constexpr const char* kHttpLogPath = "c:\\HttpRequest.log";

}  // namespace logsvr
