#pragma once
// The service's HTTP client: one POST over WinINet on a worker thread,
// bounded by a time-out. Called on the thread of the COM object's user.
#include <string>

#include "PostTarget.h"

namespace logsvr {

// POSTs body to url with the service's agent, headers and HTTP/1.0. True only
// when the server answered 200 within timeoutMs.
bool HttpPostForm(const std::string& url, const std::string& body, unsigned timeoutMs,
                  const ProxySettings& proxy = ProxySettings());

// Where the client logs its steps.
constexpr const char* kHttpLogPath = "c:\\HttpRequest.log";

}  // namespace logsvr
