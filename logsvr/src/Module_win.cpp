// The DLL's entry points: class object, unload check and self-registration.
#include <windows.h>
#include <oleauto.h>
#include <olectl.h>

#include <new>
#include <string>

#include "LogSvr_win.h"
#include "shared/Ownership.h"

namespace logsvr {
LONG ModuleRefs();
}

namespace {

HMODULE g_module = nullptr;

constexpr const char* kClsid = "{6753D0C5-8225-4C96-8001-575510CD050D}";
constexpr const char* kAppId = "{F68D3206-1B5E-447D-AEC0-76AC04C3E613}";
constexpr const char* kLibId = "{064A7ACF-189C-419A-8C2B-A0320E55C442}";
constexpr const char* kProgId = "ZoLogSvr.LogSvr.1";
constexpr const char* kIndependentProgId = "ZoLogSvr.LogSvr";
constexpr const char* kClassName = "LogSvr Class";

class ClassFactory : public IClassFactory {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
    if (!ppv) return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IClassFactory)) {
      *ppv = static_cast<IClassFactory*>(this);
      AddRef();
      return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
  }
  // One static factory for the life of the DLL; it counts as a module lock.
  ULONG STDMETHODCALLTYPE AddRef() override {
    logsvr::ModuleAddRef();
    return 2;
  }
  ULONG STDMETHODCALLTYPE Release() override {
    logsvr::ModuleRelease();
    return 1;
  }
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID riid, void** ppv) override {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    // The new object's own reference goes when the caller's is taken.
    auto obj = zl::ComPtr<logsvr::CLogSvr>::Attach(new (std::nothrow) logsvr::CLogSvr());
    if (!obj) return E_OUTOFMEMORY;
    return obj->QueryInterface(riid, ppv);
  }
  HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override {
    if (lock)
      logsvr::ModuleAddRef();
    else
      logsvr::ModuleRelease();
    return S_OK;
  }
};

ClassFactory g_factory;

std::string ModulePath() {
  char path[MAX_PATH];
  const DWORD n = GetModuleFileNameA(g_module, path, MAX_PATH);
  return n > 0 && n < MAX_PATH ? std::string(path, n) : std::string();
}

bool SetKey(const std::string& subKey, const char* valueName, const std::string& value) {
  zl::UniqueRegKey key;
  if (RegCreateKeyExA(HKEY_CLASSES_ROOT, subKey.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, key.Put(), nullptr) !=
      ERROR_SUCCESS)
    return false;
  return RegSetValueExA(key.Get(), valueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                        static_cast<DWORD>(value.size() + 1)) == ERROR_SUCCESS;
}

void DeleteTree(const std::string& subKey) { RegDeleteTreeA(HKEY_CLASSES_ROOT, subKey.c_str()); }

HRESULT TypeLibRegistration(bool doRegister) {
  const std::string path = ModulePath();
  std::wstring wide(path.size() + 1, L'\0');
  const int n = MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, &wide[0], static_cast<int>(wide.size()));
  if (n <= 0) return SELFREG_E_TYPELIB;
  zl::ComPtr<ITypeLib> lib;
  HRESULT hr = LoadTypeLibEx(wide.c_str(), doRegister ? REGKIND_REGISTER : REGKIND_NONE, lib.Put());
  if (FAILED(hr)) return SELFREG_E_TYPELIB;
  if (!doRegister) {
    TLIBATTR* attr = nullptr;
    if (SUCCEEDED(lib->GetLibAttr(&attr))) {
      hr = UnRegisterTypeLib(attr->guid, attr->wMajorVerNum, attr->wMinorVerNum, attr->lcid, attr->syskind);
      lib->ReleaseTLibAttr(attr);
    }
  }
  return SUCCEEDED(hr) ? S_OK : SELFREG_E_TYPELIB;
}

void RemoveClassKeys() {
  DeleteTree(std::string("CLSID\\") + kClsid);
  DeleteTree(kProgId);
  DeleteTree(kIndependentProgId);
  DeleteTree(std::string("AppID\\") + kAppId);
  DeleteTree("AppID\\ZoLogSvr.dll");
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    g_module = instance;
    DisableThreadLibraryCalls(instance);
  }
  return TRUE;
}

extern "C" HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID clsid, REFIID riid, void** ppv) {
  if (!ppv) return E_POINTER;
  *ppv = nullptr;
  if (!IsEqualCLSID(clsid, CLSID_LogSvr)) return CLASS_E_CLASSNOTAVAILABLE;
  return g_factory.QueryInterface(riid, ppv);
}

extern "C" HRESULT STDAPICALLTYPE DllCanUnloadNow() { return logsvr::ModuleRefs() == 0 ? S_OK : S_FALSE; }

extern "C" HRESULT STDAPICALLTYPE DllRegisterServer() {
  const std::string path = ModulePath();
  if (path.empty()) return SELFREG_E_CLASS;
  const std::string clsidKey = std::string("CLSID\\") + kClsid;
  const bool ok = SetKey(clsidKey, nullptr, kClassName) && SetKey(clsidKey, "AppID", kAppId) &&
                  SetKey(clsidKey + "\\InprocServer32", nullptr, path) &&
                  SetKey(clsidKey + "\\InprocServer32", "ThreadingModel", "Free") &&
                  SetKey(clsidKey + "\\ProgID", nullptr, kProgId) &&
                  SetKey(clsidKey + "\\VersionIndependentProgID", nullptr, kIndependentProgId) &&
                  SetKey(clsidKey + "\\TypeLib", nullptr, kLibId) && SetKey(kProgId, nullptr, kClassName) &&
                  SetKey(std::string(kProgId) + "\\CLSID", nullptr, kClsid) &&
                  SetKey(kIndependentProgId, nullptr, kClassName) &&
                  SetKey(std::string(kIndependentProgId) + "\\CLSID", nullptr, kClsid) &&
                  SetKey(std::string(kIndependentProgId) + "\\CurVer", nullptr, kProgId) &&
                  SetKey(std::string("AppID\\") + kAppId, nullptr, "ZoLogSvr") &&
                  SetKey("AppID\\ZoLogSvr.dll", "AppID", kAppId);
  if (!ok) {
    RemoveClassKeys();
    return SELFREG_E_CLASS;
  }
  const HRESULT hr = TypeLibRegistration(true);
  if (FAILED(hr)) RemoveClassKeys();
  return hr;
}

extern "C" HRESULT STDAPICALLTYPE DllUnregisterServer() {
  RemoveClassKeys();
  TypeLibRegistration(false);
  return S_OK;
}

// Test hook: shortens the post time-out so that failure paths run quickly.
extern "C" void WINAPI ZlLogSvrSetPostTimeout(DWORD ms) { logsvr::SetPostTimeoutMs(ms); }
