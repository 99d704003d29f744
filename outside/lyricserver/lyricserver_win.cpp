// lyricserver: a stand-in for the lyric server, on 127.0.0.1 only.
//   lyricserver.exe --library DIR [--port N] [--queries FILE] [--requests FILE]
//                   [--password PW] [--status CODE] [--hang] [--cut] [--no-break] [--list]
//                   [--proxy | --proxy-auth USER:PASS] [--none-rcode N]
// Prints "PORT <n>" once listening. Each GET carries the scrambled query
// after '?'; the decoded argument string is appended to --queries and the raw
// request to --requests. --status answers another HTTP status, --hang never
// answers, --cut closes the connection halfway through the answer, and
// --no-break leaves out the blank line after the answer's own header, --list
// answers every query without a server path with the list of matches. With
// --proxy the server also expects requests in proxy form (absolute URL), and
// with --proxy-auth it requires that Basic Proxy-Authorization. --none-rcode
// gives the rcode of a "none" answer (1 by default; 0 asks the engine to go
// on with fingerprint recognition).
#include <cstdio>
#include <cstdlib>
#include <string>

#include "HttpServer_win.h"
#include "LyricLibrary.h"
#include "LyricQuery.h"
#include "shared/Ownership.h"

namespace {

struct Options {
  int port = 0;
  std::string library, queriesPath, requestsPath, proxyAuth;
  lyricserver::AnswerOptions answer;
  int status = 200;
  bool hang = false, cut = false, proxy = false;
};

lyricserver::LyricLibrary g_library;

// Every file of the folder (not its subfolders), by the names the code page
// gives them: the engine asks in GBK, so Chinese names must stay GBK here.
bool LoadLibraryFolder(const std::string& folder, lyricserver::LyricLibrary& library) {
  WIN32_FIND_DATAA found;
  zl::UniqueFind find(FindFirstFileA((folder + "\\*").c_str(), &found));
  if (!find) return false;
  do {
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
    const std::string path = folder + "\\" + found.cFileName;
    zl::UniqueHandle file(
        CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    std::string data;
    char chunk[64 * 1024];
    DWORD got = 0;
    while (ReadFile(file.Get(), chunk, sizeof chunk, &got, nullptr) && got > 0) data.append(chunk, got);
    library.Add(found.cFileName, data);
  } while (FindNextFileA(find.Get(), &found));
  return GetLastError() == ERROR_NO_MORE_FILES;
}

void Serve(SOCKET client, const httpstandin::Request& r, const Options& opt) {
  httpstandin::AppendToFile(opt.requestsPath, r.rawHead + "----\n");
  if (opt.hang) httpstandin::HangForever();
  std::string target = r.head.target;
  const bool absolute = target.rfind("http://", 0) == 0;
  if (opt.proxy != absolute) {
    httpstandin::SendAnswer(client, 400, opt.proxy ? "proxy form expected\n" : "origin form expected\n");
    return;
  }
  if (absolute) {
    const size_t slash = target.find('/', 7);
    target = slash == std::string::npos ? "/" : target.substr(slash);
  }
  if (!opt.proxyAuth.empty()) {
    auto it = r.head.headers.find("proxy-authorization");
    if (it == r.head.headers.end() || it->second != "Basic " + lyricserver::Base64Encode(opt.proxyAuth)) {
      httpstandin::SendAnswer(client, 407, "proxy credentials missing or wrong\n");
      return;
    }
  }
  if (opt.status != 200) {
    httpstandin::SendAnswer(client, opt.status, "", opt.status == 302 ? "Location: http://127.0.0.1/\r\n" : "");
    return;
  }
  const size_t mark = target.find('?');
  lyricserver::Query q;
  if (r.head.method != "GET" || mark == std::string::npos || !lyricserver::DecodeQuery(target.substr(mark + 1), q)) {
    httpstandin::AppendToFile(opt.queriesPath, "<undecodable>\n");
    httpstandin::SendAnswer(client, 400, "undecodable query\n");
    return;
  }
  httpstandin::AppendToFile(opt.queriesPath, q.arguments + "\n");
  const std::string body = g_library.Answer(q, opt.answer);
  if (opt.cut) {
    // A Content-Length promising more than arrives, then the connection drops.
    httpstandin::SendAll(client, "HTTP/1.0 200 OK\r\nContent-Length: " + std::to_string(body.size()) + "\r\n\r\n" +
                                     body.substr(0, body.size() / 2));
    return;
  }
  httpstandin::SendAnswer(client, 200, body);
}

bool ParseArgs(int argc, char** argv, Options& opt) {
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    const bool hasValue = i + 1 < argc;
    if (a == "--port" && hasValue) opt.port = std::atoi(argv[++i]);
    else if (a == "--library" && hasValue) opt.library = argv[++i];
    else if (a == "--queries" && hasValue) opt.queriesPath = argv[++i];
    else if (a == "--requests" && hasValue) opt.requestsPath = argv[++i];
    else if (a == "--password" && hasValue) opt.answer.password = argv[++i];
    else if (a == "--status" && hasValue) opt.status = std::atoi(argv[++i]);
    else if (a == "--proxy-auth" && hasValue) opt.proxyAuth = argv[++i], opt.proxy = true;
    else if (a == "--proxy") opt.proxy = true;
    else if (a == "--hang") opt.hang = true;
    else if (a == "--cut") opt.cut = true;
    else if (a == "--no-break") opt.answer.noHeaderBreak = true;
    else if (a == "--list") opt.answer.listWithoutPath = true;
    else if (a == "--none-rcode" && hasValue) opt.answer.noneRcode = std::atoi(argv[++i]);
    else return false;
  }
  return !opt.library.empty() && opt.port >= 0 && opt.port < 65536 && opt.status >= 100 && opt.status < 1000;
}

}  // namespace

int main(int argc, char** argv) {
  Options opt;
  if (!ParseArgs(argc, argv, opt)) {
    std::fputs("usage: lyricserver --library DIR [--port N] [--queries FILE] [--requests FILE] [--password PW]\n"
               "       [--status CODE] [--hang] [--cut] [--no-break] [--list] [--proxy | --proxy-auth USER:PASS]\n"
               "       [--none-rcode N]\n",
               stderr);
    return 2;
  }
  if (!LoadLibraryFolder(opt.library, g_library)) {
    std::fprintf(stderr, "lyricserver: cannot read the library folder %s\n", opt.library.c_str());
    return 1;
  }
  return httpstandin::ServeForever(opt.port, [&opt](SOCKET s, const httpstandin::Request& r) { Serve(s, r, opt); });
}
