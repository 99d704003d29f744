// gen_zlprobe.dll: a general-purpose plug-in that only writes down what the
// player does with it, one line per event, into the file named by the
// environment variable ZL_GENPROBE_LOG. With ZL_GENPROBE_FAIL naming this
// DLL's file, its init reports failure.
//
// The record is written out here on its own (not taken from the stand-in),
// as a plug-in author would.
#include <windows.h>

#include "shared/Ownership.h"

#include <cstddef>
#include <cstdio>
#include <cstring>

namespace {

struct PluginRecord {
  int version;
  const char* description;
  int(__cdecl* init)();
  void(__cdecl* config)();
  void(__cdecl* quit)();
  HWND hwndParent;
  HINSTANCE hDllInstance;
};
#ifdef _WIN64
static_assert(sizeof(PluginRecord) == 56 && offsetof(PluginRecord, hwndParent) == 40 &&
                  offsetof(PluginRecord, hDllInstance) == 48,
              "64-bit layout");
#else
static_assert(sizeof(PluginRecord) == 28 && offsetof(PluginRecord, hwndParent) == 20 &&
                  offsetof(PluginRecord, hDllInstance) == 24,
              "32-bit layout");
#endif

HMODULE g_self = nullptr;

void ModuleName(HMODULE module, char* out, size_t size) {
  char path[MAX_PATH] = {};
  ::GetModuleFileNameA(module, path, sizeof path);
  const char* slash = std::strrchr(path, '\\');
  std::snprintf(out, size, "%s", slash ? slash + 1 : path);
}

// Kernel calls only: this also runs inside DllMain.
void Note(const char* event, const char* detail) {
  char logPath[MAX_PATH];
  const DWORD n = ::GetEnvironmentVariableA("ZL_GENPROBE_LOG", logPath, sizeof logPath);
  if (n == 0 || n >= sizeof logPath) return;
  char name[MAX_PATH];
  ModuleName(g_self, name, sizeof name);
  char line[512];
  const int len = std::snprintf(line, sizeof line, "%s %s%s%s\n", name, event, detail[0] ? " " : "", detail);
  if (len <= 0) return;
  zl::UniqueHandle f(::CreateFileA(logPath, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                   OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!f) return;
  DWORD written = 0;
  ::WriteFile(f.Get(), line, static_cast<DWORD>(len < static_cast<int>(sizeof line) ? len : sizeof line - 1),
              &written, nullptr);
}

int __cdecl Init();
void __cdecl Config();
void __cdecl Quit();

PluginRecord g_record = {0x10, "Probe plug-in", Init, Config, Quit, nullptr, nullptr};

int __cdecl Init() {
  char cls[64] = {};
  ::GetClassNameA(g_record.hwndParent, cls, sizeof cls);
  char self[MAX_PATH], given[MAX_PATH];
  ModuleName(g_self, self, sizeof self);
  ModuleName(g_record.hDllInstance, given, sizeof given);
  const bool uiThread =
      ::GetWindowThreadProcessId(g_record.hwndParent, nullptr) == ::GetCurrentThreadId();
  // The player answers its messages already while it starts its plug-ins.
  const LRESULT listLength = ::SendMessageA(g_record.hwndParent, WM_USER, 0, 124);
  char detail[256];
  std::snprintf(detail, sizeof detail, "class=%s instance=%s ui=%d list=%d", cls, given, uiThread ? 1 : 0,
                static_cast<int>(listLength));
  Note("init", detail);
  char failing[MAX_PATH];
  const DWORD n = ::GetEnvironmentVariableA("ZL_GENPROBE_FAIL", failing, sizeof failing);
  return n > 0 && n < sizeof failing && ::lstrcmpiA(failing, self) == 0 ? 1 : 0;
}

void __cdecl Config() { Note("config", ""); }

void __cdecl Quit() {
  char detail[64];
  std::snprintf(detail, sizeof detail, "window=%d", ::IsWindow(g_record.hwndParent) ? 1 : 0);
  Note("quit", detail);
}

}  // namespace

extern "C" __declspec(dllexport) PluginRecord* __cdecl winampGetGeneralPurposePlugin() {
  return &g_record;
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    g_self = instance;
    ::DisableThreadLibraryCalls(instance);
  } else if (reason == DLL_PROCESS_DETACH) {
    Note("unload", "");
  }
  return TRUE;
}
