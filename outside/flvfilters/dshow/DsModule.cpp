#include "DsModule.h"

#include <atomic>

#include "DsBase.h"
#include "shared/Ownership.h"

namespace dsbase {

namespace {

class Factory : public IClassFactory {
 public:
  explicit Factory(CreateFn create) : create_(create) { ++g_objects; }
  virtual ~Factory() { --g_objects; }
  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
    if (riid == IID_IUnknown || riid == IID_IClassFactory) {
      *ppv = static_cast<IClassFactory*>(this);
      AddRef();
      return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return ULONG(++refs_); }
  STDMETHODIMP_(ULONG) Release() override {
    const long n = --refs_;
    if (n == 0) delete this;
    return ULONG(n);
  }
  STDMETHODIMP CreateInstance(IUnknown* outer, REFIID riid, void** ppv) override {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    IBaseFilter* filter = create_();
    if (!filter) return E_OUTOFMEMORY;
    const HRESULT hr = filter->QueryInterface(riid, ppv);
    filter->Release();
    return hr;
  }
  STDMETHODIMP LockServer(BOOL lock) override {
    if (lock) ++g_objects; else --g_objects;
    return S_OK;
  }

 private:
  std::atomic<long> refs_{1};
  CreateFn create_;
};

std::wstring GuidText(const GUID& g) {
  wchar_t text[64];
  StringFromGUID2(g, text, 64);
  return text;
}

LONG SetString(HKEY key, const wchar_t* name, const std::wstring& value) {
  return RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                        DWORD((value.size() + 1) * sizeof(wchar_t)));
}

}  // namespace

HRESULT GetClassObject(REFCLSID wanted, REFCLSID clsid, CreateFn create, REFIID riid, void** ppv) {
  if (!ppv) return E_POINTER;
  *ppv = nullptr;
  if (wanted != clsid) return CLASS_E_CLASSNOTAVAILABLE;
  Factory* f = new Factory(create);
  const HRESULT hr = f->QueryInterface(riid, ppv);
  f->Release();
  return hr;
}

HRESULT CanUnloadNow() { return g_objects == 0 ? S_OK : S_FALSE; }

std::wstring ModulePath(const void* address) {
  HMODULE module = nullptr;
  GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     static_cast<LPCWSTR>(address), &module);
  wchar_t path[MAX_PATH];
  const DWORD n = GetModuleFileNameW(module, path, MAX_PATH);
  return std::wstring(path, n < MAX_PATH ? n : 0);
}

HRESULT RegisterFilter(const FilterRegistration& r, const std::wstring& modulePath) {
  const std::wstring base = L"CLSID\\" + GuidText(r.clsid);
  zl::UniqueRegKey key, server;
  if (RegCreateKeyExW(HKEY_CLASSES_ROOT, base.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, key.Put(), nullptr))
    return E_FAIL;
  SetString(key.Get(), nullptr, r.name);
  if (RegCreateKeyExW(key.Get(), L"InprocServer32", 0, nullptr, 0, KEY_WRITE, nullptr, server.Put(), nullptr))
    return E_FAIL;
  SetString(server.Get(), nullptr, modulePath);
  SetString(server.Get(), L"ThreadingModel", L"Both");
  if (r.merit == 0) return S_OK;  // created by its class identifier only

  zl::ComPtr<IFilterMapper2> mapper;
  HRESULT hr = CoCreateInstance(CLSID_FilterMapper2, nullptr, CLSCTX_INPROC_SERVER, IID_IFilterMapper2,
                                mapper.PutVoid());
  if (FAILED(hr)) return hr;
  REGPINTYPES inTypes = {r.input.major, r.input.minor};
  REGPINTYPES outTypes[2] = {{r.outputs[0].major, r.outputs[0].minor}, {r.outputs[1].major, r.outputs[1].minor}};
  REGFILTERPINS2 pins[3] = {};
  pins[0].dwFlags = 0;
  pins[0].cInstances = 1;
  pins[0].nMediaTypes = 1;
  pins[0].lpMediaType = &inTypes;
  for (int i = 0; i < r.outputCount; ++i) {
    pins[1 + i].dwFlags = REG_PINFLAG_B_OUTPUT;
    pins[1 + i].cInstances = 1;
    pins[1 + i].nMediaTypes = 1;
    pins[1 + i].lpMediaType = &outTypes[i];
  }
  REGFILTER2 rf = {};
  rf.dwVersion = 2;
  rf.dwMerit = r.merit;
  rf.cPins2 = ULONG(1 + r.outputCount);
  rf.rgPins2 = pins;
  return mapper->RegisterFilter(r.clsid, r.name, nullptr, &CLSID_LegacyAmFilterCategory, nullptr, &rf);
}

HRESULT UnregisterFilter(const CLSID& clsid) {
  zl::ComPtr<IFilterMapper2> mapper;
  if (SUCCEEDED(CoCreateInstance(CLSID_FilterMapper2, nullptr, CLSCTX_INPROC_SERVER, IID_IFilterMapper2,
                                 mapper.PutVoid())))
    mapper->UnregisterFilter(&CLSID_LegacyAmFilterCategory, nullptr, clsid);
  const std::wstring base = L"CLSID\\" + GuidText(clsid);
  RegDeleteTreeW(HKEY_CLASSES_ROOT, base.c_str());
  return S_OK;
}

}  // namespace dsbase
