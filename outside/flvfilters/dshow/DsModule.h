#pragma once
// The COM server side of a stand-in filter DLL: a class factory, the
// in-process server keys and the filter mapper entry that lets a graph
// builder find the filter for a pin's media type.
#include <windows.h>
#include <dshow.h>

#include <string>

namespace dsbase {

using CreateFn = IBaseFilter* (*)();

// DllGetClassObject for one class.
HRESULT GetClassObject(REFCLSID wanted, REFCLSID clsid, CreateFn create, REFIID riid, void** ppv);
HRESULT CanUnloadNow();

// Full path of the module holding `address`.
std::wstring ModulePath(const void* address);

struct PinTypes {
  const GUID* major;
  const GUID* minor;
};

struct FilterRegistration {
  CLSID clsid;
  const wchar_t* name;
  DWORD merit;
  PinTypes input;
  PinTypes outputs[2];
  int outputCount;
};

// HKCR\CLSID\{clsid} with InprocServer32 = modulePath, and the mapper entry
// unless the merit is 0.
HRESULT RegisterFilter(const FilterRegistration& r, const std::wstring& modulePath);
HRESULT UnregisterFilter(const CLSID& clsid);

}  // namespace dsbase
