// The engine's HTTP exchange: URLs from the configuration and the proxy
// settings, and the header a server sends back. A request built from any URL
// that is accepted has one header, ended once; the header reader stops at
// its limit.
#include <string>

#include "FuzzCheck.h"
#include "HttpText.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  const std::string url = in.ConsumeRandomLengthString(400);
  const std::string user = in.ConsumeRandomLengthString(64);
  const std::string header = in.ConsumeRemainingBytesAsString();

  zl::HttpUrl parsed;
  if (zl::SplitHttpUrl(url, parsed)) {
    FUZZ_CHECK(!parsed.host.empty() && parsed.port > 0 && parsed.port <= 65535);
    zl::HttpRequestParts req;
    req.url = url;
    req.parsed = parsed;
    req.mode = zl::ConnectionMode::Direct;
    const std::string request = zl::BuildHttpRequest(req);
    const size_t end = request.find("\r\n\r\n");
    FUZZ_CHECK(end != std::string::npos && end + 4 == request.size());
    for (size_t i = 0; i < request.size(); ++i) {
      if (request[i] == '\n') FUZZ_CHECK(i > 0 && request[i - 1] == '\r');
      if (request[i] == '\r') FUZZ_CHECK(i + 1 < request.size() && request[i + 1] == '\n');
    }
  }
  std::string host;
  unsigned port = 0;
  if (zl::SplitProxyEntry(user, host, port)) FUZZ_CHECK(!host.empty() && port > 0 && port <= 65535);

  zl::HttpHeaderReader reader(256);
  zl::HttpHeaderReader::State state = zl::HttpHeaderReader::More;
  size_t fed = 0;
  for (char c : header) {
    state = reader.Feed(c);
    ++fed;
    if (state != zl::HttpHeaderReader::More) break;
  }
  FUZZ_CHECK(reader.Header().size() <= 256);
  if (state == zl::HttpHeaderReader::Done) FUZZ_CHECK(reader.Header().back() == '\n');
  (void)zl::HttpStatusOf(reader.Header());
  (void)fed;
  return 0;
}
