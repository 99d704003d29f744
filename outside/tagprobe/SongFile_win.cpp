#include "SongFile_win.h"

#include <algorithm>
#include <cstdio>

namespace tagprobe {

namespace {

std::string SystemError(const char* what) {
  const DWORD code = GetLastError();
  char text[256] = "";
  FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0, text, sizeof text,
                 nullptr);
  size_t n = strnlen(text, sizeof text);
  while (n > 0 && (text[n - 1] == '\r' || text[n - 1] == '\n' || text[n - 1] == ' ')) text[--n] = '\0';
  char out[400];
  snprintf(out, sizeof out, "%s (error %lu: %s)", what, static_cast<unsigned long>(code), text);
  return out;
}

bool ReadAt(HANDLE file, uint64_t offset, uint8_t* buf, size_t n) {
  LARGE_INTEGER at;
  at.QuadPart = static_cast<LONGLONG>(offset);
  if (!SetFilePointerEx(file, at, nullptr, FILE_BEGIN)) return false;
  while (n > 0) {
    DWORD got = 0;
    const DWORD want = static_cast<DWORD>(std::min<size_t>(n, 1u << 20));
    if (!ReadFile(file, buf, want, &got, nullptr) || got == 0) return false;
    buf += got, n -= got;
  }
  return true;
}

bool WriteAll(HANDLE file, const uint8_t* p, size_t n) {
  while (n > 0) {
    DWORD done = 0;
    const DWORD want = static_cast<DWORD>(std::min<size_t>(n, 1u << 20));
    if (!WriteFile(file, p, want, &done, nullptr) || done == 0) return false;
    p += done, n -= done;
  }
  return true;
}

// A new file beside the one it will replace; removed unless it took that
// file's place.
class TempFile {
 public:
  explicit TempFile(const std::string& target) {
    for (int attempt = 0; attempt < 100 && !handle_; ++attempt) {
      char suffix[48];
      snprintf(suffix, sizeof suffix, ".%lu-%d.tagprobe", static_cast<unsigned long>(GetCurrentProcessId()), attempt);
      path_ = target + suffix;
      handle_.Reset(CreateFileA(path_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
      if (!handle_ && GetLastError() != ERROR_FILE_EXISTS) break;
    }
    if (!handle_) path_.clear();  // not ours to delete
  }
  TempFile(const TempFile&) = delete;
  TempFile& operator=(const TempFile&) = delete;
  ~TempFile() {
    handle_.Reset();
    if (!moved_ && !path_.empty()) DeleteFileA(path_.c_str());
  }
  HANDLE Get() const { return handle_.Get(); }
  bool Valid() const { return handle_.Valid(); }
  bool Finish() { return FlushFileBuffers(handle_.Get()) && CloseHandle(handle_.Release()); }
  bool MoveOnto(const std::string& target) {
    moved_ = MoveFileExA(path_.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    return moved_;
  }

 private:
  std::string path_;
  zl::UniqueHandle handle_;
  bool moved_ = false;
};

}  // namespace

SongBytes SongContent::View() const {
  SongBytes v;
  v.head = head.data(), v.headSize = head.size();
  v.tail = tail.data(), v.tailSize = tail.size();
  v.fileSize = fileSize;
  return v;
}

zl::UniqueHandle OpenForRead(const std::string& path, bool shareWrite, std::string& why) {
  const DWORD share = FILE_SHARE_READ | (shareWrite ? FILE_SHARE_WRITE | FILE_SHARE_DELETE : 0);
  zl::UniqueHandle h(CreateFileA(path.c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (!h) why = SystemError(("cannot open " + path).c_str());
  return h;
}

bool LoadSong(HANDLE file, SongContent& song, std::string& why) {
  LARGE_INTEGER size;
  if (!GetFileSizeEx(file, &size) || size.QuadPart < 0) {
    why = SystemError("cannot get the song's size");
    return false;
  }
  song.fileSize = static_cast<uint64_t>(size.QuadPart);
  uint8_t probe[kProbeSize];
  const size_t probeSize = static_cast<size_t>(std::min<uint64_t>(kProbeSize, song.fileSize));
  const size_t tailSize = static_cast<size_t>(std::min<uint64_t>(128, song.fileSize));
  if (!ReadAt(file, 0, probe, probeSize)) {
    why = SystemError("cannot read the song");
    return false;
  }
  song.head.resize(static_cast<size_t>(HeadSizeWanted(probe, probeSize, song.fileSize)));
  song.tail.resize(tailSize);
  if (!ReadAt(file, 0, song.head.data(), song.head.size()) ||
      !ReadAt(file, song.fileSize - tailSize, song.tail.data(), tailSize)) {
    why = SystemError("cannot read the song");
    return false;
  }
  return true;
}

bool ReadWholeFile(const std::string& path, size_t maxSize, Bytes& data, std::string& why) {
  zl::UniqueHandle h = OpenForRead(path, true, why);
  if (!h) return false;
  LARGE_INTEGER size;
  if (!GetFileSizeEx(h.Get(), &size) || size.QuadPart < 0 || static_cast<uint64_t>(size.QuadPart) > maxSize) {
    why = path + " is not a tag data file";
    return false;
  }
  data.resize(static_cast<size_t>(size.QuadPart));
  if (!ReadAt(h.Get(), 0, data.data(), data.size())) {
    why = SystemError(("cannot read " + path).c_str());
    return false;
  }
  return true;
}

bool WriteFileReplacing(const std::string& path, const Bytes& data, std::string& why) {
  TempFile temp(path);
  if (!temp.Valid()) {
    why = SystemError(("cannot create a file beside " + path).c_str());
    return false;
  }
  if (!WriteAll(temp.Get(), data.data(), data.size()) || !temp.Finish()) {
    why = SystemError(("cannot write beside " + path).c_str());
    return false;
  }
  if (!temp.MoveOnto(path)) {
    why = SystemError(("cannot put the file in place of " + path).c_str());
    return false;
  }
  return true;
}

bool RewriteSong(const std::string& path, zl::UniqueHandle original, const RewritePlan& plan, std::string& why) {
  TempFile temp(path);
  if (!temp.Valid()) {
    why = SystemError("cannot create the new song file beside the old one");
    return false;
  }
  bool ok = WriteAll(temp.Get(), plan.head.data(), plan.head.size());
  Bytes chunk(std::min<uint64_t>(plan.keepTo - plan.keepFrom, 1u << 20));
  for (uint64_t at = plan.keepFrom; ok && at < plan.keepTo;) {
    const size_t n = static_cast<size_t>(std::min<uint64_t>(chunk.size(), plan.keepTo - at));
    ok = ReadAt(original.Get(), at, chunk.data(), n) && WriteAll(temp.Get(), chunk.data(), n);
    at += n;
  }
  ok = ok && WriteAll(temp.Get(), plan.tail.data(), plan.tail.size());
  FILETIME created, accessed, written;
  if (ok && GetFileTime(original.Get(), &created, &accessed, &written))
    SetFileTime(temp.Get(), &created, nullptr, nullptr);  // the song keeps its age
  if (!ok || !temp.Finish()) {
    why = SystemError("cannot write the new song file");
    return false;
  }
  original.Reset();
  if (!temp.MoveOnto(path)) {
    why = SystemError("cannot put the new song file in place of the old one");
    return false;
  }
  return true;
}

}  // namespace tagprobe
