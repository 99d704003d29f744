// Stand-in for the P2P server program ZoSvr.exe. It "downloads" resources
// named by sign pairs from a library folder into its store at a set rate,
// keeping the first 16384 bytes of media files in the transformed form the
// MV window restores, and reports progress to the requester's reply window
// with status and lookup records. Fault modes make it find no peer, report a
// network error, stall, hang or give up halfway.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "ServerOptions.h"
#include "ServerWire.h"
#include "p2pwire/HeadScramble.h"
#include "shared/Ownership.h"

using namespace p2pserver;

namespace {

constexpr const char* kWindowClass = "ZuDiverUdoziz";
constexpr UINT WM_START_JOB = WM_APP + 1;
constexpr UINT_PTR kTickTimer = 1;

struct Job {
  Pair pair;
  std::string reply;
  std::string storePath;
  std::string bytes;  // the resource as the store keeps it
  uint64_t written = 0;
  Fault fault = Fault::None;
  bool silent = false;  // stalled: nothing more is sent
  zl::UniqueHandle out;
};

Options g_options;
std::map<Pair, Job> g_jobs;
std::vector<std::pair<Pair, std::string>> g_pending;  // requests to start

void LogLine(const std::string& line) {
  if (g_options.log.empty()) return;
  if (FILE* f = std::fopen(g_options.log.c_str(), "ab")) {
    std::fprintf(f, "%s\n", line.c_str());
    std::fclose(f);
  }
}

bool SendRecord(const std::string& reply, unsigned long code, const std::string& bytes) {
  HWND target = FindWindowA(reply.c_str(), reply.c_str());
  if (!target) return false;
  COPYDATASTRUCT cds = {code, DWORD(bytes.size()), const_cast<char*>(bytes.data())};
  DWORD_PTR result = 0;
  return SendMessageTimeoutA(target, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&cds), SMTO_NORMAL, 10000, &result) != 0;
}

void SendStatus(const Job& job, uint32_t event, uint32_t download) {
  Status s;
  s.pair = job.pair;
  s.event = event;
  s.total = uint32_t(job.bytes.size());
  s.usable = event == 5 || download == 100 ? UsablePercent(job.written, job.bytes.size()) : 0;
  s.download = download;
  s.rate = g_options.rate;
  s.path = job.storePath;
  const std::string reply = job.reply;  // the job may be gone once the send waits
  SendRecord(reply, 3, EncodeStatus(s));
}

void SendEvent(const Pair& pair, const std::string& reply, uint32_t event) {
  Status s;
  s.pair = pair;
  s.event = event;
  SendRecord(reply, 3, EncodeStatus(s));
}

bool ReadWhole(const std::string& path, std::string& bytes) {
  FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return false;
  char buf[65536];
  size_t n;
  bytes.clear();
  while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) bytes.append(buf, n);
  std::fclose(f);
  return true;
}

// The library file of a pair: "<first>-<second>.<ext>".
bool FindResource(const Pair& p, std::string& path, std::string& name) {
  const std::string folder = g_options.library + "\\";
  WIN32_FIND_DATAA fd;
  zl::UniqueFind find(FindFirstFileA((folder + std::to_string(p.first) + "-" + std::to_string(p.second) + ".*").c_str(), &fd));
  if (!find) return false;
  name = fd.cFileName;
  path = folder + name;
  return true;
}

void StartJob(const Pair& pair, const std::string& reply) {
  const Fault fault = g_options.FaultFor(pair);
  if (fault == Fault::NoPeer) return SendEvent(pair, reply, 9);
  if (fault == Fault::NetworkError) return SendEvent(pair, reply, 11);
  std::string source, name;
  Job job;
  if (!FindResource(pair, source, name) || !ReadWhole(source, job.bytes)) return SendEvent(pair, reply, 9);
  job.pair = pair;
  job.reply = reply;
  job.fault = fault;
  job.storePath = g_options.store + "\\" + name;
  const size_t dot = name.find_last_of('.');
  const std::string ext = dot == std::string::npos ? "" : name.substr(dot + 1);
  if (lstrcmpiA(ext.c_str(), "exe") != 0) {
    const size_t head = job.bytes.size() < p2pwire::kScrambledHeadBytes ? job.bytes.size() : p2pwire::kScrambledHeadBytes;
    p2pwire::ScrambleHead(reinterpret_cast<unsigned char*>(&job.bytes[0]), head);
  }
  // A resource already complete in the store is reported found locally.
  std::string stored;
  if (ReadWhole(job.storePath, stored) && stored == job.bytes) {
    SendRecord(reply, 4, EncodeLookup(pair, job.storePath, 100));
    return;
  }
  job.out.Reset(CreateFileA(job.storePath.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!job.out) return SendEvent(pair, reply, 11);
  const std::string lookup = EncodeLookup(pair, job.storePath, 0);
  g_jobs[pair] = std::move(job);
  SendRecord(reply, 4, lookup);
}

bool Released() {
  if (g_options.releaseEvent.empty()) return false;
  zl::UniqueHandle e(OpenEventA(SYNCHRONIZE, FALSE, g_options.releaseEvent.c_str()));
  return e && WaitForSingleObject(e.Get(), 0) == WAIT_OBJECT_0;
}

// A status goes out by SendMessage, and while it waits the requester's
// cancel can come in and erase the job: each job is looked up again by its
// pair, never held by an iterator across a send.
void Tick() {
  const uint64_t step = std::max<uint64_t>(1, uint64_t(g_options.rate) * g_options.tickMs / 1000);
  std::vector<Pair> pairs;
  for (const auto& entry : g_jobs) pairs.push_back(entry.first);
  for (const Pair& pair : pairs) {
    auto it = g_jobs.find(pair);
    if (it == g_jobs.end()) continue;
    Job& job = it->second;
    const uint64_t total = job.bytes.size();
    uint64_t limit = total;
    if (job.fault == Fault::Stall) limit = total * g_options.stallAt / 100;
    if (job.fault == Fault::FailHalfway) limit = total / 2;
    if (g_options.holdAt <= 100 && !Released()) limit = std::min<uint64_t>(limit, total * g_options.holdAt / 100);
    if (job.silent || job.written >= limit) {
      if (job.fault == Fault::Stall && job.written >= limit) job.silent = true;
      if (job.fault == Fault::FailHalfway && job.written >= limit) {
        const Job ended = std::move(job);
        g_jobs.erase(it);
        SendStatus(ended, 4, DownloadPercent(ended.written, total));
      }
      continue;
    }
    const uint64_t to = std::min(limit, job.written + step);
    DWORD n = 0;
    WriteFile(job.out.Get(), job.bytes.data() + job.written, DWORD(to - job.written), &n, nullptr);
    job.written += n;
    if (job.written >= total) {
      Job done = std::move(job);
      g_jobs.erase(it);
      done.out.Reset();
      SendStatus(done, 4, 100);
      continue;
    }
    SendStatus(job, 5, DownloadPercent(job.written, total));
  }
}

LRESULT CALLBACK ServerProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_COPYDATA: {
      const auto* cds = reinterpret_cast<const COPYDATASTRUCT*>(lp);
      Pair pair;
      std::string reply;
      if (cds && cds->dwData == 1 && ParseRequest(cds->lpData, cds->cbData, pair, reply)) {
        LogLine("REQUEST " + std::to_string(pair.first) + " " + std::to_string(pair.second) + " " + reply);
        if (g_options.FaultFor(pair) == Fault::Hang) Sleep(600000);  // does not answer
        g_pending.emplace_back(pair, reply);
        PostMessageA(hwnd, WM_START_JOB, 0, 0);
      } else if (cds && cds->dwData == 2 && ParseCancel(cds->lpData, cds->cbData, pair)) {
        LogLine("CANCEL " + std::to_string(pair.first) + " " + std::to_string(pair.second));
        g_jobs.erase(pair);
      } else {
        LogLine("BAD " + std::to_string(cds ? cds->dwData : 0) + " " + std::to_string(cds ? cds->cbData : 0));
      }
      return TRUE;
    }
    case WM_START_JOB: {
      auto pending = std::move(g_pending);
      g_pending.clear();
      for (const auto& p : pending) StartJob(p.first, p.second);
      return 0;
    }
    case WM_TIMER:
      if (wp == kTickTimer) Tick();
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcA(hwnd, msg, wp, lp);
}

void ReadIni(const std::string& exePath) {
  const std::string ini = exePath.substr(0, exePath.find_last_of('.')) + ".ini";
  for (const char* key : {"library", "store", "rate", "tick", "fault", "stall-at", "hold-at", "release-event", "log"}) {
    char value[1024];
    if (GetPrivateProfileStringA("server", key, "", value, sizeof value, ini.c_str()) > 0)
      ApplySetting(g_options, key, value);
  }
}

}  // namespace

int main(int argc, char** argv) {
  ReadIni(argv[0] && std::string(argv[0]).find('\\') != std::string::npos ? argv[0] : [] {
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    return std::string(path);
  }());
  std::string error;
  if (!ParseArguments(std::vector<std::string>(argv + 1, argv + argc), g_options, error) || g_options.library.empty() ||
      g_options.store.empty()) {
    std::fprintf(stderr,
                 "%s\nusage: ZoSvr.exe --library DIR --store DIR [--rate BYTES_PER_S] [--tick MS]\n"
                 "  [--fault nopeer|neterror|stall|hang|halfway[@FIRST,SECOND]] [--stall-at PERCENT]\n"
                 "  [--hold-at PERCENT --release-event NAME] [--log FILE]\n"
                 "(the same keys may stand in section [server] of ZoSvr.ini beside the program)\n",
                 error.c_str());
    return 2;
  }
  // One server per desktop, also when two requesters start one at once.
  zl::UniqueHandle single(CreateMutexA(nullptr, FALSE, "ZoSvrStandInSingleInstance"));
  if (GetLastError() == ERROR_ALREADY_EXISTS || FindWindowA(kWindowClass, nullptr)) return 0;
  CreateDirectoryA(g_options.store.c_str(), nullptr);
  WNDCLASSA wc = {};
  wc.lpfnWndProc = ServerProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = kWindowClass;
  RegisterClassA(&wc);
  HWND hwnd = CreateWindowExA(0, kWindowClass, "ZoSvr", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr,
                              wc.hInstance, nullptr);
  if (!hwnd) return 1;
  SetTimer(hwnd, kTickTimer, g_options.tickMs, nullptr);
  std::printf("READY\n");
  std::fflush(stdout);
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return 0;
}
