// logserver: a stand-in for the usage-event log server, on 127.0.0.1 only.
//   logserver.exe [--port N] [--out FILE] [--requests FILE] [--status CODE] [--hang]
// Prints "PORT <n>" once listening. Each POST to /music.qn is decoded and its
// event line appended to --out; --requests receives every raw request.
// --status answers another status; --hang reads requests and never answers.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "EventBody.h"
#include "HttpServer_win.h"

namespace {

struct Options {
  int port = 0;
  std::string outPath, requestsPath;
  int status = 200;
  bool hang = false;
};

void Serve(SOCKET client, const httpstandin::Request& r, const Options& opt) {
  httpstandin::AppendToFile(opt.requestsPath, r.rawHead + r.body + "\n----\n");
  if (opt.hang) httpstandin::HangForever();
  if (r.head.method != "POST" || r.head.target != "/music.qn") {
    httpstandin::SendAnswer(client, 404, "only POST /music.qn\n");
    return;
  }
  std::string line, error;
  if (!logserver::DecodeEventBody(r.body, line, error)) {
    std::fprintf(stderr, "logserver: bad event body: %s\n", error.c_str());
    httpstandin::SendAnswer(client, 400, error + "\n");
    return;
  }
  httpstandin::AppendToFile(opt.outPath, line + "\n");
  httpstandin::SendAnswer(client, opt.status, "OK");
}

bool ParseArgs(int argc, char** argv, Options& opt) {
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    const bool hasValue = i + 1 < argc;
    if (a == "--port" && hasValue) opt.port = std::atoi(argv[++i]);
    else if (a == "--out" && hasValue) opt.outPath = argv[++i];
    else if (a == "--requests" && hasValue) opt.requestsPath = argv[++i];
    else if (a == "--status" && hasValue) opt.status = std::atoi(argv[++i]);
    else if (a == "--hang") opt.hang = true;
    else return false;
  }
  return opt.port >= 0 && opt.port < 65536 && opt.status >= 100 && opt.status < 1000;
}

}  // namespace

int main(int argc, char** argv) {
  Options opt;
  if (!ParseArgs(argc, argv, opt)) {
    std::fputs("usage: logserver [--port N] [--out FILE] [--requests FILE] [--status CODE] [--hang]\n", stderr);
    return 2;
  }
  return httpstandin::ServeForever(opt.port, [&opt](SOCKET s, const httpstandin::Request& r) { Serve(s, r, opt); });
}
