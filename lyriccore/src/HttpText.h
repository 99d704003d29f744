#pragma once
// The engine's HTTP/1.0 exchange as text: URL split, request bytes, status
// line and the header reader. Platform-neutral.
#include <cstddef>
#include <string>

namespace zl {

enum class ConnectionMode { Direct = 0, SystemProxy = 1, ConfiguredProxy = 2 };

struct HttpUrl {
  std::string host;
  unsigned port = 80;
  std::string path = "/";
};

// "[http[s]://]host[:port][/path]". False without a host, with a bad port,
// with another scheme, or with a blank or control character anywhere. https
// is sent as plain HTTP, so its port is 80 too.
bool SplitHttpUrl(const std::string& url, HttpUrl& out);

struct HttpRequestParts {
  bool post = false;
  std::string url;  // as given: sent whole to a proxy
  HttpUrl parsed;
  ConnectionMode mode = ConnectionMode::Direct;
  std::string proxyUser, proxyPassword;
  int rangeStart = 0;
  std::string body;
};

// Request line, headers, blank line and (for POST) the body.
std::string BuildHttpRequest(const HttpRequestParts& req);

// The number in the three characters after the first blank of the status
// line; 0 when there is no blank or no number.
int HttpStatusOf(const std::string& header);
inline bool IsHttpSuccess(int status) { return status == 200 || status == 206 || status == 304; }

// "host:port" of a proxy entry; without ':' the port is 80.
bool SplitProxyEntry(const std::string& entry, std::string& host, unsigned& port);

// What the ConType setting (a decimal number) asks of a request.
enum class ProxyChoice {
  Direct,      // anything but 1, 2 and 3: no proxy, port 80
  System,      // 1: the system's proxy, or direct when it has none
  Configured,  // 2: ProxyServer and ProxyPort with UserName and Password
  Unchanged,   // 3: the mode is left as it was
};
ProxyChoice ProxyChoiceFor(const std::string& conType);

// The system's proxy list as the system gives it ("host:port", or entries
// such as "http=host:port;https=..." separated by ';' or blanks): the host
// and port of its first entry. False when the list names none.
bool SystemProxyEndpoint(const std::string& proxyList, std::string& host, unsigned& port);

// Reads the response header one byte at a time up to the empty line (LF
// after LF; CR does not count). A header longer than the limit fails rather
// than growing without end.
class HttpHeaderReader {
 public:
  explicit HttpHeaderReader(size_t limit = 64 * 1024) : limit_(limit) { header_.reserve(100); }
  enum State { More, Done, TooLong };
  State Feed(char c);
  const std::string& Header() const { return header_; }

 private:
  std::string header_;
  size_t limit_;
  bool lastWasLf_ = false;
};

}  // namespace zl
