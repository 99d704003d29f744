#pragma once
// General-purpose plug-ins: every gen_*.dll of a folder, loaded the way the
// player loads them. All calls run on the player's UI thread.
#include <windows.h>

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "shared/Ownership.h"

namespace playerhost {

// The record a plug-in's winampGetGeneralPurposePlugin() returns. The player
// fills the last two fields before it calls init.
struct GenPluginRecord {
  int version;  // kGenPluginVersion
  const char* description;
  int(__cdecl* init)();  // 0: started; anything else: the plug-in is unloaded
  void(__cdecl* config)();
  void(__cdecl* quit)();
  HWND hwndParent;
  HINSTANCE hDllInstance;
};
static_assert(offsetof(GenPluginRecord, version) == 0, "layout");
static_assert(offsetof(GenPluginRecord, description) == sizeof(void*), "layout");
static_assert(offsetof(GenPluginRecord, init) == 2 * sizeof(void*), "layout");
static_assert(offsetof(GenPluginRecord, config) == 3 * sizeof(void*), "layout");
static_assert(offsetof(GenPluginRecord, quit) == 4 * sizeof(void*), "layout");
static_assert(offsetof(GenPluginRecord, hwndParent) == 5 * sizeof(void*), "layout");
static_assert(offsetof(GenPluginRecord, hDllInstance) == 6 * sizeof(void*), "layout");
static_assert(sizeof(GenPluginRecord) == 7 * sizeof(void*), "layout");

constexpr int kGenPluginVersion = 0x10;
constexpr char kGenPluginExport[] = "winampGetGeneralPurposePlugin";

using LogFn = std::function<void(const std::string&)>;

class CGenPlugins {
 public:
  CGenPlugins() = default;
  ~CGenPlugins();
  CGenPlugins(const CGenPlugins&) = delete;
  CGenPlugins& operator=(const CGenPlugins&) = delete;

  // Loads gen_*.dll of `folder` in name order, fills each record and calls
  // its init. A file that is no plug-in is skipped and logged.
  void LoadAll(const std::string& folder, HWND mainWindow, const LogFn& log);

  // Calls every started plug-in's quit, the last loaded first. Once only.
  void QuitAll(const LogFn& log);

  // Frees the libraries, the last loaded first (after QuitAll).
  void UnloadAll();

  // Runs a plug-in's config (the player's preferences do this).
  bool Config(size_t index);

  // File names of the started plug-ins, in load order.
  std::vector<std::string> Names() const;

 private:
  struct Loaded {
    std::string fileName;
    zl::UniqueModule module;
    GenPluginRecord* record = nullptr;
    bool quitDone = false;
  };
  std::vector<Loaded> plugins_;
};

}  // namespace playerhost
