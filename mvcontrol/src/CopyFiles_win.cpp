#include "CopyFiles_win.h"

#include <windows.h>

namespace mvcontrol {

HandleCopyFiles::OpenResult HandleCopyFiles::Open(const std::string& source, const std::string& destination,
                                                   bool fresh) {
  m_source.Reset(CreateFileA(source.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                             FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!m_source) return OpenResult::SourceMissing;
  m_destination.Reset(CreateFileA(destination.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                  fresh ? CREATE_ALWAYS : OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!m_destination) {
    m_source.Reset();
    return OpenResult::DestinationFailed;
  }
  return OpenResult::Opened;
}

bool HandleCopyFiles::SeekBoth(uint64_t offset) {
  LARGE_INTEGER at;
  at.QuadPart = LONGLONG(offset);
  return SetFilePointerEx(m_source.Get(), at, nullptr, FILE_BEGIN) &&
         SetFilePointerEx(m_destination.Get(), at, nullptr, FILE_BEGIN);
}

size_t HandleCopyFiles::Read(unsigned char* buffer, size_t n) {
  size_t total = 0;
  while (total < n) {
    DWORD got = 0;
    if (!ReadFile(m_source.Get(), buffer + total, DWORD(n - total), &got, nullptr) || got == 0) break;
    total += got;
  }
  return total;
}

bool HandleCopyFiles::Write(const unsigned char* buffer, size_t n) {
  DWORD written = 0;
  return WriteFile(m_destination.Get(), buffer, DWORD(n), &written, nullptr) && written == n;
}

uint64_t HandleCopyFiles::SourceSize() {
  LARGE_INTEGER size{};
  return GetFileSizeEx(m_source.Get(), &size) ? uint64_t(size.QuadPart) : 0;
}

}  // namespace mvcontrol
