#include "EngineHome_win.h"

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "shared/GbkPath.h"
#include "shared/Ownership.h"

namespace enginetest {

namespace {
const char kKey[] = "SOFTWARE\\ZOLYRIC";
int g_homes = 0;

std::wstring Wide(const std::string& text, UINT codePage) {
  const int n = MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), &wide[0], n);
  return wide;
}

// std::filesystem reads narrow names byte by byte; the A functions read them
// in the process's code page, and so must these helpers.
std::filesystem::path AnsiPath(const std::string& path) { return Wide(path, CP_ACP); }

void SetValue(const std::string& value) {
  zl::UniqueRegKey key;
  RegCreateKeyExA(HKEY_LOCAL_MACHINE, kKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.Put(), nullptr);
  RegSetValueExA(key.Get(), "ZOLYRIC_HOME", 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                 static_cast<DWORD>(value.size() + 1));
}
}  // namespace

ScopedEngineHome::ScopedEngineHome(const std::string& nameTail) {
  zl::UniqueRegKey key;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kKey, 0, KEY_READ, key.Put()) == ERROR_SUCCESS) {
    char value[1024];
    DWORD bytes = sizeof value - 1, type = 0;
    if (RegQueryValueExA(key.Get(), "ZOLYRIC_HOME", nullptr, &type, reinterpret_cast<BYTE*>(value), &bytes) ==
        ERROR_SUCCESS) {
      value[bytes] = '\0';
      hadValue_ = true;
      oldValue_ = value;
    }
  }
  char temp[MAX_PATH];
  GetTempPathA(sizeof temp, temp);
  home_ = std::string(temp) + "zl_engine_" + std::to_string(GetCurrentProcessId()) + "_" + std::to_string(g_homes++) +
          nameTail;
  std::error_code ec;
  std::filesystem::remove_all(AnsiPath(home_), ec);
  std::filesystem::create_directories(AnsiPath(home_ + "\\face"));
  SetValue(home_);
}

ScopedEngineHome::~ScopedEngineHome() {
  if (hadValue_) {
    SetValue(oldValue_);
  } else {
    Unregister();
  }
  std::error_code ec;
  std::filesystem::remove_all(AnsiPath(home_), ec);
}

void ScopedEngineHome::Unregister() {
  zl::UniqueRegKey key;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kKey, 0, KEY_ALL_ACCESS, key.Put()) == ERROR_SUCCESS)
    RegDeleteValueA(key.Get(), "ZOLYRIC_HOME");
}

std::string ScopedEngineHome::Path(const std::string& relative) const { return home_ + "\\" + relative; }

std::string ScopedEngineHome::Res(const std::string& relative) const { return Path("Resource\\" + relative); }

void ScopedEngineHome::Write(const std::string& relative, const std::string& bytes) const {
  WriteFileAt(Path(relative), bytes);
}

std::string ScopedEngineHome::Read(const std::string& relative) const { return ReadFileAt(Path(relative)); }

bool ScopedEngineHome::Exists(const std::string& relative) const { return FileAt(Path(relative)); }

void WriteFileAt(const std::string& path, const std::string& bytes) {
  std::filesystem::create_directories(AnsiPath(path).parent_path());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
}

std::string ReadFileAt(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

bool FileAt(const std::string& path) {
  const DWORD a = GetFileAttributesA(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

void AgeFile(const std::string& path, long long seconds) {
  zl::UniqueHandle f(CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                 OPEN_EXISTING, 0, nullptr));
  FILETIME t;
  GetFileTime(f.Get(), nullptr, nullptr, &t);
  ULARGE_INTEGER v;
  v.LowPart = t.dwLowDateTime;
  v.HighPart = t.dwHighDateTime;
  v.QuadPart += static_cast<ULONGLONG>(seconds * 10000000LL);
  t.dwLowDateTime = v.LowPart;
  t.dwHighDateTime = v.HighPart;
  SetFileTime(f.Get(), nullptr, nullptr, &t);
}

int CountFiles(const std::string& folder, const std::string& suffix) {
  int n = 0;
  std::error_code ec;
  const std::wstring tail = Wide(suffix, CP_ACP);
  for (const auto& entry : std::filesystem::directory_iterator(AnsiPath(folder), ec)) {
    const std::wstring name = entry.path().filename().wstring();
    if (name.size() >= tail.size() && name.compare(name.size() - tail.size(), tail.size(), tail) == 0) ++n;
  }
  return n;
}

bool FileAtUnicodeName(const std::string& gbkPath) {
  const DWORD a = GetFileAttributesW(Wide(gbkPath, 936).c_str());
  return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

std::string ProgramFolder() {
  char path[MAX_PATH];
  const DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
  std::string folder(path, n);
  return zl::PathFolder(folder) + "\\";
}

}  // namespace enginetest
