#include "app/Startup_win.h"

#include <windows.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <vector>

#include "app/StartupRules.h"
#include "shared/InstallHome.h"
#include "shared/Logger.h"
#include "shared/Ownership.h"
#include "mvprotocol/MvProtocol.h"
#include "window/VideoMessages.h"

namespace clipview {
namespace {

constexpr char kTag[] = "Startup";
constexpr char kFlashServerKey[] = "CLSID\\{D27CDB6E-AE6D-11cf-96B8-444553540000}\\InprocServer32";
constexpr uint64_t kMegabyte = 1024 * 1024;

uint64_t FolderBytes(const std::string& folder) {
  uint64_t total = 0;
  WIN32_FIND_DATAA found{};
  zl::UniqueFind find(FindFirstFileA((folder + "\\*").c_str(), &found));
  if (!find) return 0;
  do {
    const std::string name = found.cFileName;
    if (name == "." || name == "..") continue;
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
      total += FolderBytes(folder + "\\" + name);
    else
      total += (static_cast<uint64_t>(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
  } while (FindNextFileA(find.Get(), &found));
  return total;
}

INT_PTR CALLBACK NoticeProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_INITDIALOG:
      // The plug-in looks for this title and sends nothing while it exists.
      SetWindowTextA(dialog, mv::kFlashNoticeTitle);
      SetWindowLongPtrA(dialog, DWLP_USER, lParam);
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
        EndDialog(dialog, LOWORD(wParam));
        return TRUE;
      }
      break;
    case WM_CLOSE:
      EndDialog(dialog, IDCANCEL);
      return TRUE;
  }
  return FALSE;
}

}  // namespace

std::string FlashControlVersion() {
  HKEY raw = nullptr;
  if (RegOpenKeyExA(HKEY_CLASSES_ROOT, kFlashServerKey, 0, KEY_READ, &raw) != ERROR_SUCCESS) return "";
  zl::UniqueRegKey key(raw);
  char path[MAX_PATH] = {};
  DWORD size = sizeof path - 1;
  DWORD type = 0;
  if (RegQueryValueExA(key.Get(), nullptr, nullptr, &type, reinterpret_cast<BYTE*>(path), &size) != ERROR_SUCCESS ||
      (type != REG_SZ && type != REG_EXPAND_SZ))
    return "";
  DWORD ignored = 0;
  const DWORD infoSize = GetFileVersionInfoSizeA(path, &ignored);
  if (infoSize == 0) return "";
  std::vector<char> info(infoSize);
  if (!GetFileVersionInfoA(path, 0, infoSize, info.data())) return "";
  struct Translation {
    WORD language, codePage;
  }* translations = nullptr;
  UINT bytes = 0;
  if (!VerQueryValueA(info.data(), "\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translations), &bytes) ||
      bytes < sizeof(Translation))
    return "";
  char query[64];
  std::snprintf(query, sizeof query, "\\StringFileInfo\\%04x%04x\\ProductVersion", translations[0].language,
                translations[0].codePage);
  char* text = nullptr;
  UINT length = 0;
  if (!VerQueryValueA(info.data(), query, reinterpret_cast<void**>(&text), &length) || !text) return "";
  return std::string(text, strnlen(text, length));
}

void ShowFlashNotice(const std::string& logPath) {
  LogWrite(logPath.c_str(), LOG_KEYINFO, kTag, "Flash player too old: notice");
  const INT_PTR answer =
      DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_FLASH_NOTICE), nullptr, NoticeProc, 0);
  if (answer != IDOK) return;
  EnsureProductKeys();
  char url[512] = {};
  if (!ReadConfigFlashUpdateUrl(url, sizeof url) || !url[0]) return;
  const std::string awaited = std::string(url) + " - Microsoft Internet Explorer";
  OpenBrowserPage(url, url, awaited.c_str());
}

bool SetP2PShareSpace(const std::string& home, const std::string& logPath) {
  const std::string setup = home + "\\setup.ini";
  if (GetFileAttributesA(setup.c_str()) == INVALID_FILE_ATTRIBUTES) return true;
  ULARGE_INTEGER available{};
  if (!GetDiskFreeSpaceExA((home + "\\").c_str(), &available, nullptr, nullptr)) return false;
  const ShareSpace space = ChooseShareSpace(available.QuadPart / kMegabyte, FolderBytes(home + "\\music") / kMegabyte);
  if (space.warnLowDisk)
    MessageBoxA(nullptr, "安装目录所在磁盘空间太小, 软件可能无法正常运行!", "Ambrel", MB_OK | MB_ICONWARNING);
  std::string text;
  {
    std::ifstream in(setup, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    if (!in.good() && !in.eof()) return false;
    text = bytes.str();
  }
  if (!ReplaceMaxSpaceSize(text, space.megabytes)) return true;
  // The new text goes beside the old file first; only a complete copy replaces it.
  const std::string fresh = setup + ".new";
  {
    std::ofstream out(fresh, std::ios::binary | std::ios::trunc);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    out.flush();
    if (!out) {
      DeleteFileA(fresh.c_str());
      LogWrite(logPath.c_str(), LOG_FATAL, kTag, "setup.ini: the new text cannot be written");
      return false;
    }
  }
  if (!MoveFileExA(fresh.c_str(), setup.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    DeleteFileA(fresh.c_str());
    LogWrite(logPath.c_str(), LOG_FATAL, kTag, "setup.ini cannot be replaced (%lu)", GetLastError());
    return false;
  }
  LogWrite(logPath.c_str(), LOG_KEYINFO, kTag, "MaxSpaceSize %llu", static_cast<unsigned long long>(space.megabytes));
  return true;
}

}  // namespace clipview
