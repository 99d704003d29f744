// The module: its entry points for COM, its object count, and its start.
#include "OcxModule_win.h"

#include <new>

#include "OcxControl_win.h"
#include "PropertyPage_win.h"
#include "ZoLyricOCX.h"
#include "shared/CriticalSection.h"
#include "shared/InstallHome.h"
#include "shared/Logger.h"
#include "shared/Ownership.h"

namespace mvcontrol {

namespace {

HMODULE g_module = nullptr;
LONG g_refs = 0;

// The hook library lets the Flash player read a video that is still being
// copied; the control needs all three of its switches.
using HookFn = int(__cdecl*)(int);
using UnhookFn = int(__cdecl*)();
struct HookLibrary {
  zl::UniqueModule module;
  HookFn hookFileIO = nullptr;
  UnhookFn unhookFileIO = nullptr;
  HookFn setHookReadFile = nullptr;
};

zl::CriticalSection g_startLock;
bool g_started = false;
ModulePaths g_paths;
std::string g_playerMovie;
HookLibrary g_hook;

template <typename F>
F Resolve(HMODULE module, const char* name) {
  return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

bool LoadHookLibrary(const std::string& home, const std::string& logPath) {
  HookLibrary hook;
  hook.module.Reset(LoadLibraryA((home + "\\ocx_iohook.dll").c_str()));
  if (hook.module) {
    hook.hookFileIO = Resolve<HookFn>(hook.module.Get(), "HookFileIO");
    hook.unhookFileIO = Resolve<UnhookFn>(hook.module.Get(), "UnhookFileIO");
    hook.setHookReadFile = Resolve<HookFn>(hook.module.Get(), "SetHookReadFile");
  }
  if (!hook.hookFileIO || !hook.unhookFileIO || !hook.setHookReadFile) {
    LogWrite(logPath.c_str(), LOG_FATAL, "ZoLyricOCX", "Load ocx_iohook.dll Failed.");
    return false;  // the library goes with `hook`
  }
  hook.hookFileIO(0);
  g_hook = std::move(hook);
  return true;
}

void DeleteOldVideos(const std::string& userTemp) {
  if (userTemp.empty()) return;
  const std::string folder = userTemp + "ZLrc\\";
  WIN32_FIND_DATAA found;
  zl::UniqueFind find(FindFirstFileA((folder + "ocx*").c_str(), &found));
  if (!find) return;
  do {
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) DeleteFileA((folder + found.cFileName).c_str());
  } while (FindNextFileA(find.Get(), &found));
}

std::string UserTemp() {
  char temp[MAX_PATH + 1];
  const DWORD n = GetTempPathA(sizeof temp, temp);
  return n > 0 && n < sizeof temp ? std::string(temp, n) : std::string();
}

// One factory for each class; the factories count as module locks.
template <typename T>
class Factory : public IClassFactory {
 public:
  STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IClassFactory) {
      *out = static_cast<IClassFactory*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  STDMETHODIMP_(ULONG) AddRef() override {
    ModuleAddRef();
    return 2;
  }
  STDMETHODIMP_(ULONG) Release() override {
    ModuleRelease();
    return 1;
  }
  STDMETHODIMP CreateInstance(IUnknown* outer, REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    // NOTE: without its install home or hook library the control is not
    // made at all; the browser that asked for it goes on.
    if (!StartModule()) return E_FAIL;
    auto object = zl::ComPtr<T>::Attach(new (std::nothrow) T());
    if (!object) return E_OUTOFMEMORY;
    return object->QueryInterface(iid, out);
  }
  STDMETHODIMP LockServer(BOOL lock) override {
    lock ? ModuleAddRef() : ModuleRelease();
    return S_OK;
  }
};

Factory<CZoLyricOCXCtrl> g_controlFactory;
Factory<CZoLyricOCXPropPage> g_pageFactory;

}  // namespace

HMODULE Module() { return g_module; }
void ModuleAddRef() { InterlockedIncrement(&g_refs); }
void ModuleRelease() { InterlockedDecrement(&g_refs); }
long ModuleRefs() { return g_refs; }

bool StartModule() {
  zl::Lock lock(g_startLock);
  if (g_started) return true;
  ModulePaths paths;
  if (!ReadInstallHome(paths.home)) return false;
  paths.logPath = paths.home + "\\log\\zolyricocx.txt";
  paths.userTemp = UserTemp();
  DeleteOldVideos(paths.userTemp);
  if (!LoadHookLibrary(paths.home, paths.logPath)) return false;
  if (!RegisterControlWindowClass()) return false;
  g_playerMovie = paths.Swf("player.swf");
  g_paths = std::move(paths);
  g_started = true;
  return true;
}

const ModulePaths& Paths() { return g_paths; }
const std::string& PlayerMovie() { return g_playerMovie; }
void SetPlayerMovie(const std::string& path) { g_playerMovie = path; }

void StopModule() {
  zl::Lock lock(g_startLock);
  if (!g_started) return;
  g_hook.setHookReadFile(0);
  g_hook.unhookFileIO();
  g_hook = HookLibrary();
  UnregisterControlWindowClass();
  g_started = false;
}

}  // namespace mvcontrol

using namespace mvcontrol;

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    g_module = instance;
    DisableThreadLibraryCalls(instance);
  }
  return TRUE;
}

extern "C" HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID clsid, REFIID iid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (IsEqualCLSID(clsid, CLSID_ZoLyricOCX)) return g_controlFactory.QueryInterface(iid, out);
  if (IsEqualCLSID(clsid, CLSID_ZoLyricOCXPropPage)) return g_pageFactory.QueryInterface(iid, out);
  return CLASS_E_CLASSNOTAVAILABLE;
}

extern "C" HRESULT STDAPICALLTYPE DllCanUnloadNow() {
  if (ModuleRefs() != 0) return S_FALSE;
  // The module goes: the Flash player's reads are no longer hooked.
  StopModule();
  return S_OK;
}
