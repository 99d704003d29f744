// Threads started once per process at start-up: the updater (outside the
// system, used only when its library is installed) and the check whether
// the player's last run ended through the plug-in's quit.
#include "PluginHost_win.h"
#include "controller/SongRules.h"
#include "controller/UsageEvents.h"
#include "shared/InstallHome.h"
#include "shared/Logger.h"

namespace {

constexpr char kProductKey[] = "SOFTWARE\\ZOLYRIC";
constexpr char kUpdateLog[] = "c:\\update.txt";
// The updater knows the plug-in by the product key and this tag.
constexpr char kUpdaterProduct[] = "ZOLYRIC";
constexpr char kUpdaterTag[] = "GENP";

using BeginUpdate2Fn = int(WINAPI*)(const char* product, const char* player, const char* tag);

std::string HostProgramPath() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, sizeof path);
  return path;
}

// The flag lives only in an existing product key: without one nothing is
// read or written.
bool ReadFlag(const std::string& name, std::string& value) {
  zl::UniqueRegKey key;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kProductKey, 0, KEY_READ, key.Put()) != ERROR_SUCCESS) return false;
  char text[16] = {};
  DWORD size = sizeof text - 1;
  DWORD type = 0;
  if (RegQueryValueExA(key.Get(), name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(text), &size) !=
          ERROR_SUCCESS ||
      type != REG_SZ) {
    value.clear();
    return true;
  }
  value.assign(text, strnlen(text, size));
  return true;
}

void WriteFlag(const std::string& name, const char* value) {
  zl::UniqueRegKey key;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kProductKey, 0, KEY_SET_VALUE, key.Put()) != ERROR_SUCCESS) return;
  RegSetValueExA(key.Get(), name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value), 2);
}

}  // namespace

void StartUpdateCheck(const std::string& home, const std::string& logPath) {
  const std::string library = home + "\\ZoUpdate.dll";
  if (GetFileAttributesA(library.c_str()) == INVALID_FILE_ATTRIBUTES) return;
  zl::StartDetached([library, logPath] {
    zl::UniqueModule updater(LoadLibraryExA(library.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH));
    auto begin = reinterpret_cast<BeginUpdate2Fn>(
        reinterpret_cast<void*>(updater ? GetProcAddress(updater.Get(), "BeginUpdate2") : nullptr));
    if (!begin) {
      LogWrite(logPath.c_str(), LOG_FATAL, "Update", "%s has no BeginUpdate2", library.c_str());
      return;
    }
    begin(kUpdaterProduct, HostPlayerName().c_str(), kUpdaterTag);
  });
}

void StartLastExitCheck() {
  const PlayerKind kind = PlayerKindFromPath(HostProgramPath());
  if (kind.name.empty()) return;
  zl::StartDetached([kind] {
    std::string value;
    if (!ReadFlag(kind.flag, value)) return;
    if (value == "1") PostPluginMessageAs("ZOLYRIC", kind.name.c_str(), "EVENT", "O:LAST_WRONG_EXIT", 0);
    WriteFlag(kind.flag, "1");
    LogWrite(kUpdateLog, LOG_KEYINFO, "realCheckLastWrongExit", "player:%s", kind.name.c_str());
  });
}

void ClearPlayerRunningFlag() {
  const PlayerKind kind = PlayerKindFromPath(HostProgramPath());
  if (kind.name.empty()) return;
  WriteFlag(kind.flag, "0");
  LogWrite(kUpdateLog, LOG_KEYINFO, "setPlayerRunningTagFalse", "player:%s", kind.name.c_str());
}
