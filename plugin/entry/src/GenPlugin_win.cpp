// gen_zolyric.dll: the record Winamp asks a general-purpose plug-in for.
// Each entry hands over to the plug-in host; nothing thrown leaves it.
#include <windows.h>

#include "PluginHost_win.h"
#include "entry/PluginDiagnostics.h"

namespace {

struct GeneralPurposePlugin {
  int version;
  const char* description;
  int(__cdecl* init)();
  void(__cdecl* config)();
  void(__cdecl* quit)();
  HWND hwndParent;      // set by the player before init
  HINSTANCE hDllInstance;
};
static_assert(offsetof(GeneralPurposePlugin, init) == 2 * sizeof(void*), "record layout");
static_assert(offsetof(GeneralPurposePlugin, hwndParent) == 5 * sizeof(void*), "record layout");
static_assert(sizeof(GeneralPurposePlugin) == 7 * sizeof(void*), "record layout");

int __cdecl StartUp();
void __cdecl ConfigEntry();
void __cdecl ShutDown();

GeneralPurposePlugin g_plugin = {0x10, "AmbrelLyrics", StartUp, ConfigEntry, ShutDown, nullptr, nullptr};

int __cdecl StartUp() {
  try {
    return PluginHost::Instance().StartUp(g_plugin.hwndParent);
  } catch (...) {
    return 0;
  }
}

void __cdecl ConfigEntry() {
  try {
    PluginHost::Instance().Config();
  } catch (...) {
  }
}

void __cdecl ShutDown() {
  try {
    PluginHost::Instance().ShutDown();
  } catch (...) {
  }
}

}  // namespace

extern "C" __declspec(dllexport) GeneralPurposePlugin* winampGetGeneralPurposePlugin() { return &g_plugin; }

extern "C" __declspec(dllexport) void __cdecl ZoLyricTestConfigure(const ZoLyricTestOptions* options) {
  PluginHost::Instance().SetTimings(options && options->size == sizeof *options ? options->timings
                                                                                 : PluginTimings());
}

extern "C" __declspec(dllexport) int __cdecl ZoLyricTestSnapshot(ZoLyricSnapshot* snapshot) {
  try {
    return snapshot && PluginHost::Instance().Snapshot(*snapshot) ? 1 : 0;
  } catch (...) {
    return 0;
  }
}
