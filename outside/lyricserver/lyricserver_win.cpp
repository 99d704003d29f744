// lyricserver: the lyric server, answering the engine's queries from a folder
// of LRC files. Users run it for their own collection (installed as
// tools\lyricserver.exe, see lyricserver.txt there); the tests use it as the
// lyric server's stand-in, with the options below the line in its usage text.
// Prints "PORT <n>" once listening, then a line saying what it serves.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "HttpServer_win.h"
#include "LyricLibrary.h"
#include "LyricQuery.h"
#include "shared/Ownership.h"

namespace {

constexpr int kDefaultPort = 8401;

struct Options {
  httpstandin::ServeOptions serve;
  std::string library, queriesPath, requestsPath, proxyAuth;
  lyricserver::AnswerOptions answer;
  int status = 200;
  bool hang = false, cut = false, proxy = false, help = false;
};

const char kUsage[] =
    "usage: lyricserver --library DIR [--port N] [--bind ADDRESS] [--list] [--log FILE]\n"
    "  --library DIR   folder (and subfolders) of \"Artist-Title.lrc\" files; others by their [ar:]/[ti:] tags\n"
    "  --port N        port to listen on (8401; 0 picks a free one)\n"
    "  --bind ADDRESS  address to listen on (127.0.0.1; 0.0.0.0 serves the whole network)\n"
    "  --list          answer automatic searches with the list of matches\n"
    "  --log FILE      append every decoded query to FILE\n"
    "test options: --queries FILE (as --log), --requests FILE (raw requests), --password PW (protected\n"
    "  archives), --status CODE, --hang, --cut, --no-break, --proxy, --proxy-auth USER:PASS,\n"
    "  --none-rcode N (rcode of a none answer; 0 asks the engine to go on with recognition)\n";

lyricserver::LyricLibrary g_library;

// Every wanted file of the folder tree, by the names the code page gives
// them: the engine asks in GBK, so Chinese names must stay GBK here.
bool LoadLibraryFolder(const std::string& folder, lyricserver::LyricLibrary& library, int depth = 0) {
  WIN32_FIND_DATAA found;
  zl::UniqueFind find(FindFirstFileA((folder + "\\*").c_str(), &found));
  if (!find) return false;
  do {
    const std::string name = found.cFileName;
    const std::string path = folder + "\\" + name;
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      // Deep enough for any collection, short of a loop through links.
      if (name != "." && name != ".." && depth < 16) LoadLibraryFolder(path, library, depth + 1);
      continue;
    }
    // Pictures and lyrics are small; anything bigger is not meant for us.
    if (!lyricserver::LyricLibrary::Wanted(name) || found.nFileSizeHigh != 0 || found.nFileSizeLow > (8u << 20))
      continue;
    zl::UniqueHandle file(
        CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) continue;
    std::string data;
    char chunk[64 * 1024];
    DWORD got = 0;
    while (ReadFile(file.Get(), chunk, sizeof chunk, &got, nullptr) && got > 0) data.append(chunk, got);
    library.Add(name, data);
  } while (FindNextFileA(find.Get(), &found));
  return true;
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
  opt.serve.port = kDefaultPort;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    const bool hasValue = i + 1 < argc;
    if (a == "--port" && hasValue) {
      char* end = nullptr;
      const long port = std::strtol(argv[++i], &end, 10);
      if (*end != '\0' || port < 0 || port > 65535) return false;
      opt.serve.port = static_cast<int>(port);
    } else if (a == "--bind" && hasValue) opt.serve.address = argv[++i];
    else if (a == "--library" && hasValue) opt.library = argv[++i];
    else if ((a == "--queries" || a == "--log") && hasValue) opt.queriesPath = argv[++i];
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
    else if (a == "--help" || a == "-h" || a == "/?") opt.help = true;
    else return false;
  }
  return opt.help || (!opt.library.empty() && opt.status >= 100 && opt.status < 1000);
}

}  // namespace

int main(int argc, char** argv) {
  Options opt;
  if (!ParseArgs(argc, argv, opt) || opt.help) {
    std::fputs(kUsage, opt.help ? stdout : stderr);
    return opt.help ? 0 : 2;
  }
  const DWORD attributes = GetFileAttributesA(opt.library.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY) ||
      !LoadLibraryFolder(opt.library, g_library)) {
    std::fprintf(stderr, "lyricserver: cannot read the library folder %s\n", opt.library.c_str());
    return 1;
  }
  return httpstandin::ServeForever(opt.serve, [&opt](SOCKET s, const httpstandin::Request& r) {
    Serve(s, r, opt);
  }, [&opt](int port) {
    std::printf("lyricserver: %u lyrics from %s, serving http://%s:%d/lyric (Ctrl+C stops)\n",
                static_cast<unsigned>(g_library.LyricCount()), opt.library.c_str(), opt.serve.address.c_str(), port);
  });
}
