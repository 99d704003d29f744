#include "P2PCopyData_win.h"

#include <windows.h>

#include <algorithm>
#include <vector>

#include "p2p/P2PResource.h"
#include "p2p/TempFolder.h"
#include "p2pwire/HeadScramble.h"
#include "shared/Logger.h"
#include "shared/Ownership.h"

namespace clipview {

namespace {

constexpr const char* kModule = "P2PInterface";
// Copies go in pieces: a whole video is never held in memory at once.
constexpr DWORD kPieceBytes = 1 << 20;

zl::UniqueHandle OpenDestination(const std::string& path, const CopySettings& s) {
  for (int attempt = 0; attempt < 3; ++attempt) {
    zl::UniqueHandle dest(CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    if (dest) return dest;
    if (attempt == 2) break;  // the last failure is not logged
    LogWrite(s.logPath.c_str(), LOG_FATAL, kModule, "Create Dest File Failed. Error Code is%d", int(GetLastError()));
    Sleep(s.destRetryPauseMs);
  }
  return {};
}

}  // namespace

bool P2PCopyData(const p2pwire::P2PStatusRecord& record, const std::string& sourcePath, const CopySettings& s,
                 std::string& tempPath) {
  const std::string extension = ExtensionOf(sourcePath);
  tempPath = MakeTempPath(s.userTemp, record.sign, extension, s.logPath);
  if (tempPath.empty()) return false;

  zl::UniqueHandle source(CreateFileA(sourcePath.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!source) {
    LogWrite(s.logPath.c_str(), LOG_FATAL, kModule, "Create Source File Failed. Error Code is%d", int(GetLastError()));
    return false;
  }
  zl::UniqueHandle dest = OpenDestination(tempPath, s);
  if (!dest) return false;

  const uint64_t limit = CopyLimit(record.totalSize, record.usablePercent);
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(dest.Get(), &size)) return false;
  uint64_t position = uint64_t(size.QuadPart);
  if (position >= limit || position >= record.totalSize) return true;  // nothing new

  LARGE_INTEGER at;
  at.QuadPart = LONGLONG(position);
  if (!SetFilePointerEx(source.Get(), at, nullptr, FILE_BEGIN))
    LogWrite(s.logPath.c_str(), LOG_FATAL, kModule, "Set Source File Pointer Error.");
  SetFilePointerEx(dest.Get(), at, nullptr, FILE_BEGIN);

  const bool exe = IsExeExtension(extension);
  std::vector<unsigned char> buffer;
  bool wrote = false;
  while (position < limit) {
    const DWORD want = DWORD(std::min<uint64_t>(limit - position, kPieceBytes));
    buffer.resize(want);
    DWORD got = 0;
    if (!ReadFile(source.Get(), buffer.data(), want, &got, nullptr) || got == 0) {
      if (wrote) break;  // the source ends before the limit: what arrived is copied
      LogWrite(s.logPath.c_str(), LOG_FATAL, kModule, "Sign is %u, %u, Read Error %d.", record.sign.first,
               record.sign.second, int(GetLastError()));
      return false;
    }
    p2pwire::UnscrambleHead(buffer.data(), HeadBytesToRestore(position, got, exe));
    DWORD written = 0;
    if (!WriteFile(dest.Get(), buffer.data(), got, &written, nullptr) || written == 0) return wrote;
    wrote = true;
    position += written;
    if (written < got) break;
  }
  return true;
}

}  // namespace clipview
