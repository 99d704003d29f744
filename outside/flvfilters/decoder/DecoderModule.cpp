// COM entry points of the stand-in decoder (ffdshow.ax).
#include <windows.h>
#include <dshow.h>

#include "../dshow/DsModule.h"
#include "ScreenDecoder.h"

static const GUID kSubtypeFsv1 = {0x31565346, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};

static dsbase::FilterRegistration Registration() {
  return {CLSID_FfdshowStandIn, L"ffdshow Video Decoder", MERIT_PREFERRED + 1,
          {&MEDIATYPE_Video, &kSubtypeFsv1},
          {{&MEDIATYPE_Video, &MEDIASUBTYPE_RGB32}, {nullptr, nullptr}}, 1};
}

extern "C" {
STDAPI DllGetClassObject(REFCLSID clsid, REFIID riid, void** ppv) {
  return dsbase::GetClassObject(clsid, CLSID_FfdshowStandIn, CreateScreenDecoder, riid, ppv);
}
STDAPI DllCanUnloadNow() { return dsbase::CanUnloadNow(); }
STDAPI DllRegisterServer() {
  return dsbase::RegisterFilter(Registration(), dsbase::ModulePath(reinterpret_cast<const void*>(&DllRegisterServer)));
}
STDAPI DllUnregisterServer() { return dsbase::UnregisterFilter(CLSID_FfdshowStandIn); }
}
