// COM entry points of the stand-in splitter (FLVSplitter.ax).
#include <windows.h>
#include <dshow.h>

#include "../dshow/DsModule.h"
#include "FlvSplitter.h"

static dsbase::FilterRegistration Registration() {
  return {CLSID_FlvSplitterStandIn, L"FLV Splitter", 0,  // the player creates it by its class identifier
          {&MEDIATYPE_Stream, &GUID_NULL},
          {{&MEDIATYPE_Video, &GUID_NULL}, {&MEDIATYPE_Audio, &MEDIASUBTYPE_PCM}}, 2};
}

extern "C" {
STDAPI DllGetClassObject(REFCLSID clsid, REFIID riid, void** ppv) {
  return dsbase::GetClassObject(clsid, CLSID_FlvSplitterStandIn, CreateFlvSplitter, riid, ppv);
}
STDAPI DllCanUnloadNow() { return dsbase::CanUnloadNow(); }
STDAPI DllRegisterServer() {
  return dsbase::RegisterFilter(Registration(), dsbase::ModulePath(reinterpret_cast<const void*>(&DllRegisterServer)));
}
STDAPI DllUnregisterServer() { return dsbase::UnregisterFilter(CLSID_FlvSplitterStandIn); }
}
