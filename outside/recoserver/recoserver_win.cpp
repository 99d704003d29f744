// recoserver: a stand-in for the recognition server, on 127.0.0.1 only.
//   recoserver.exe --library LIST [--port N] [--requests FILE] [--bodies FILE]
//                  [--empty | --hang | --cut | --code N | --no-tab]
// Prints "PORT <n>" once listening. Every POST body is appended to --bodies
// (one per line) and its decoded line to --requests (or "<undecodable: why>").
// Answers the library's line for the fingerprint: found ("1<TAB>..."), or
// "2" when no song matches. --empty answers with an empty body, --hang
// never answers, --cut closes the connection without answering, --code N
// answers "N<TAB>..." instead of the found line, --no-tab answers "1" alone.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#include "HttpServer_win.h"
#include "RecoLibrary.h"
#include "RecoRequest.h"

namespace {

struct Options {
  int port = 0;
  std::string library, requestsPath, bodiesPath;
  bool empty = false, hang = false, cut = false, noTab = false;
  int code = 0;  // 0: answer from the library
};

recoserver::RecoLibrary g_library;

bool ReadWhole(const std::string& path, std::string& bytes) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  bytes.assign(std::istreambuf_iterator<char>(in), {});
  return true;
}

// The POST has no length: the body ends where its line ends, or when the
// client has been silent for a while.
void ReadRestOfBody(SOCKET client, std::string& body) {
  char buf[4096];
  while (!recoserver::BodyComplete(body) && body.size() < (1u << 20)) {
    fd_set set;
    FD_ZERO(&set);
    FD_SET(client, &set);
    timeval tv{1, 0};
    if (select(0, &set, nullptr, nullptr, &tv) <= 0) return;
    const int n = recv(client, buf, sizeof buf, 0);
    if (n <= 0) return;
    body.append(buf, static_cast<size_t>(n));
  }
}

void Serve(SOCKET client, const httpstandin::Request& r, const Options& opt) {
  std::string body = r.body;
  ReadRestOfBody(client, body);
  httpstandin::AppendToFile(opt.bodiesPath, body + "\n");
  recoserver::RecoRequest request;
  std::string error;
  const bool decoded = r.head.method == "POST" && recoserver::DecodeRecoBody(body, request, error);
  httpstandin::AppendToFile(opt.requestsPath, (decoded ? request.line : "<undecodable: " + error + ">") + "\n");
  if (opt.hang) httpstandin::HangForever();
  if (opt.cut) return;
  if (!decoded) {
    httpstandin::SendAnswer(client, 400, error + "\n");
    return;
  }
  std::string answer;
  if (opt.empty) answer = "";
  else if (opt.noTab) answer = "1\n";
  else if (opt.code) answer = std::to_string(opt.code) + "\t1\tTitle\tArtist\tAlbum\n";
  else answer = g_library.Answer(request);
  httpstandin::SendAnswer(client, 200, answer);
}

bool ParseArgs(int argc, char** argv, Options& opt) {
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    const bool hasValue = i + 1 < argc;
    if (a == "--port" && hasValue) opt.port = std::atoi(argv[++i]);
    else if (a == "--library" && hasValue) opt.library = argv[++i];
    else if (a == "--requests" && hasValue) opt.requestsPath = argv[++i];
    else if (a == "--bodies" && hasValue) opt.bodiesPath = argv[++i];
    else if (a == "--code" && hasValue) opt.code = std::atoi(argv[++i]);
    else if (a == "--empty") opt.empty = true;
    else if (a == "--hang") opt.hang = true;
    else if (a == "--cut") opt.cut = true;
    else if (a == "--no-tab") opt.noTab = true;
    else return false;
  }
  return !opt.library.empty() && opt.port >= 0 && opt.port < 65536;
}

}  // namespace

int main(int argc, char** argv) {
  Options opt;
  if (!ParseArgs(argc, argv, opt)) {
    std::fputs("usage: recoserver --library LIST [--port N] [--requests FILE] [--bodies FILE]\n"
               "       [--empty | --hang | --cut | --code N | --no-tab]\n",
               stderr);
    return 2;
  }
  std::string list, error;
  const size_t slash = opt.library.find_last_of("\\/");
  const std::string folder = slash == std::string::npos ? "" : opt.library.substr(0, slash);
  if (!ReadWhole(opt.library, list) || !g_library.Load(list, folder, ReadWhole, error)) {
    std::fprintf(stderr, "recoserver: cannot use the library %s: %s\n", opt.library.c_str(), error.c_str());
    return 1;
  }
  return httpstandin::ServeForever(opt.port, [&opt](SOCKET s, const httpstandin::Request& r) { Serve(s, r, opt); });
}
