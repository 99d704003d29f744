#include "flv/FlvPlayback.h"


#include "FlvLog.h"
#include "flv/FileHook.h"
#include "flv/FlvRules.h"
#include "shared/Logger.h"
#include "shared/Ownership.h"

namespace clipview {

namespace {

// The file's first bytes, for the duration in its metadata.
size_t ReadHead(const std::string& file, unsigned char (&head)[kFlvHeadBytes]) {
  zl::UniqueHandle f(CreateFileA(file.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                 nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  DWORD n = 0;
  if (!f || !ReadFile(f.Get(), head, sizeof head, &n, nullptr)) return 0;
  return n;
}

}  // namespace

bool FlvPlayback::RealPlayFile(const std::string& file) {
  latest_ = file;
  if (active_) {
    // A nested call (a message taken while the running call opens a file):
    // the running call picks up the newest file.
    LogWrite(kFlvPlayLog, LOG_FATAL, kFlvModule, "bEnter TRUE!!!");
    return true;
  }
  active_ = true;
  stopRequested_ = false;
  std::string current = latest_;
  for (;;) {
    const HRESULT hr = OpenAndRun(current);
    if (FAILED(hr)) {
      LogWrite(kFlvPlayLog, LOG_FATAL, kFlvModule, "Create File Failed");
      TearDown();
      Finish();
      host_.PlaybackFailed();
      return false;
    }
    if (current == latest_) {
      if (stopRequested_) {
        TearDown();
      } else {
        host_.PlaybackStarted();
        LogWrite(kFlvPlayLog, LOG_FATAL, kFlvModule, "播放流程正常结束!!!");
      }
      Finish();
      return true;
    }
    TearDown();  // a newer file was asked for meanwhile
    if (stopRequested_) {
      Finish();
      return true;
    }
    current = latest_;
  }
}

HRESULT FlvPlayback::OpenAndRun(const std::string& file) {
  LogWrite(kFlvPlayLog, LOG_FATAL, kFlvModule, "strFilePath is %s", file.c_str());
  TearDown();
  uint32_t totalSize = 0;
  if (host_.VideoDownloading(totalSize)) FileHookOn(totalSize);
  opened_ = file;
  HRESULT hr = graph_.Create(file.c_str(), host_.VideoWindow());
  if (FAILED(hr)) return hr;
  unsigned char head[kFlvHeadBytes];
  const size_t n = ReadHead(file, head);
  const DurationChoice d = ChooseDuration(graph_.GetDuration(), head, n);
  duration_.seconds = d.seconds;
  duration_.seekable = d.seekable;
  hr = graph_.Run();
  return hr == VFW_S_STATE_INTERMEDIATE ? S_OK : hr;
}

void FlvPlayback::StopPlayback() {
  if (active_) {
    stopRequested_ = true;
    return;
  }
  TearDown();
}

void FlvPlayback::TearDown() {
  // Hook first: a read waiting for data that is not there yet gives up, so
  // the graph can stop.
  FileHookOff();
  graph_.Halt();
  graph_.Clear();
  opened_.clear();
}

void FlvPlayback::Finish() {
  active_ = false;
  stopRequested_ = false;
}

}  // namespace clipview
