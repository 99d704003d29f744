#include "p2p/TempFolder.h"

#include <windows.h>

#include "p2p/P2PResource.h"
#include "shared/Logger.h"
#include "shared/Ownership.h"

namespace clipview {

namespace {

bool EnsureFolder(const std::string& folder) {
  if (folder.empty()) return false;
  const DWORD a = GetFileAttributesA(folder.c_str());
  if (a != INVALID_FILE_ATTRIBUTES) return (a & FILE_ATTRIBUTE_DIRECTORY) != 0;
  const size_t slash = folder.find_last_of('\\');
  if (slash != std::string::npos && slash > 2) EnsureFolder(folder.substr(0, slash));
  return CreateDirectoryA(folder.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS;
}

}  // namespace

std::string UserTempFolder() {
  char temp[MAX_PATH + 1];
  const DWORD n = GetTempPathA(sizeof temp, temp);
  return n > 0 && n < sizeof temp ? std::string(temp, n) : std::string();
}

void CleanTempFolder(const std::string& userTemp) {
  if (userTemp.empty()) return;
  const std::string folder = TempFolderPath(userTemp);
  WIN32_FIND_DATAA fd;
  zl::UniqueFind find(FindFirstFileA((folder + "\\*").c_str(), &fd));
  if (find) {
    do {
      if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) DeleteFileA((folder + "\\" + fd.cFileName).c_str());
    } while (FindNextFileA(find.Get(), &fd));
  }
  find.Reset();
  RemoveDirectoryA(folder.c_str());
}

std::string MakeTempPath(const std::string& userTemp, SignPair sign, const std::string& extension,
                         const std::string& logPath) {
  if (userTemp.empty()) {
    LogWrite(logPath.c_str(), LOG_FATAL, "P2PTemp", "Can't Get User Temp Path.");
    return {};
  }
  if (!EnsureFolder(TempFolderPath(userTemp))) {
    LogWrite(logPath.c_str(), LOG_FATAL, "P2PTemp", "Can't Make Temp ZLrc Path.");
    return {};
  }
  return BuildTempPath(userTemp, sign, extension);
}

}  // namespace clipview
