#include "FlashHost_win.h"

#include <string>
#include <vector>

#include "shared/Logger.h"

namespace clipview {

// {D27CDB6E-AE6D-11cf-96B8-444553540000}
const CLSID CLSID_ShockwaveFlash = {0xD27CDB6E, 0xAE6D, 0x11CF, {0x96, 0xB8, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};

namespace {

constexpr char kTag[] = "FlashHost";

std::wstring Wide(const std::string& s) {
  const int n = MultiByteToWideChar(CP_ACP, 0, s.c_str(), -1, nullptr, 0);
  std::wstring w(n > 0 ? n - 1 : 0, L'\0');
  if (n > 1) MultiByteToWideChar(CP_ACP, 0, s.c_str(), -1, &w[0], n);
  return w;
}

std::string Narrow(const wchar_t* w) {
  if (!w) return "";
  const int n = WideCharToMultiByte(CP_ACP, 0, w, -1, nullptr, 0, nullptr, nullptr);
  std::string s(n > 0 ? n - 1 : 0, '\0');
  if (n > 1) WideCharToMultiByte(CP_ACP, 0, w, -1, &s[0], n, nullptr, nullptr);
  return s;
}

}  // namespace

FlashHost::FlashHost(HWND host, std::string logPath, EventFn onEvent)
    : m_host(host),
      m_logPath(std::move(logPath)),
      m_site(zl::ControlSite::Make(host, [onEvent = std::move(onEvent)](DISPID id, const std::vector<std::string>& args) {
        if (onEvent) onEvent(id, args.empty() ? std::string() : args[0]);
      })) {}

FlashHost::~FlashHost() {
  Destroy();
  m_site->Detach();  // a control still holding the site must not call back into a gone host
}

void FlashHost::Destroy() {
  m_dispatch.Reset();
  zl::CloseInPlaceControl(m_object, m_point, m_cookie);
  m_movie.clear();
}

void FlashHost::Resize() {
  if (!m_object) return;
  zl::ComPtr<IOleInPlaceObject> inPlace;
  if (FAILED(m_object.As(IID_IOleInPlaceObject, inPlace))) return;
  RECT r{};
  GetClientRect(m_host, &r);
  inPlace->SetObjectRects(&r, &r);
}

bool FlashHost::Subscribe() {
  zl::ComPtr<IProvideClassInfo2> info;
  IID events = IID_NULL;
  if (FAILED(m_object.As(IID_IProvideClassInfo2, info)) ||
      FAILED(info->GetGUID(GUIDKIND_DEFAULT_SOURCE_DISP_IID, &events)))
    return false;
  zl::ComPtr<IConnectionPointContainer> container;
  if (FAILED(m_object.As(IID_IConnectionPointContainer, container))) return false;
  if (FAILED(container->FindConnectionPoint(events, m_point.Put()))) return false;
  m_site->SetEventsIid(events);
  if (FAILED(m_point->Advise(static_cast<IDispatch*>(m_site.Get()), &m_cookie))) {
    m_point.Reset();
    return false;
  }
  return true;
}

HRESULT FlashHost::Invoke(const wchar_t* name, WORD flags, const wchar_t* text, EXCEPINFO& error) {
  DISPID id = DISPID_UNKNOWN;
  LPOLESTR names[1] = {const_cast<LPOLESTR>(name)};
  HRESULT hr = m_dispatch->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
  if (FAILED(hr)) return hr;
  VARIANT arg;
  VariantInit(&arg);
  DISPID named = DISPID_PROPERTYPUT;
  DISPPARAMS params{};
  if (text) {
    arg.vt = VT_BSTR;
    arg.bstrVal = SysAllocString(text);
    params.rgvarg = &arg;
    params.cArgs = 1;
    params.rgdispidNamedArgs = &named;
    params.cNamedArgs = 1;
  }
  UINT badArg = 0;
  hr = m_dispatch->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, nullptr, &error, &badArg);
  VariantClear(&arg);
  if (hr == DISP_E_EXCEPTION && FAILED(error.scode)) hr = error.scode;
  return hr;
}

bool FlashHost::PlayFlash(const std::string& moviePath) {
  Destroy();
  HRESULT hr =
      CoCreateInstance(CLSID_ShockwaveFlash, nullptr, CLSCTX_INPROC_SERVER, IID_IOleObject, m_object.PutVoid());
  if (FAILED(hr)) {
    LogWrite(m_logPath.c_str(), LOG_FATAL, kTag, "PlayFlash: no Flash control (%08lx)", static_cast<unsigned long>(hr));
    return false;
  }
  m_object->SetClientSite(static_cast<IOleClientSite*>(m_site.Get()));
  zl::ComPtr<IPersistStreamInit> persist;
  if (SUCCEEDED(m_object.As(IID_IPersistStreamInit, persist))) persist->InitNew();
  RECT r{};
  GetClientRect(m_host, &r);
  hr = m_object->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, static_cast<IOleClientSite*>(m_site.Get()), 0, m_host, &r);
  if (FAILED(hr) || FAILED(m_object.As(IID_IDispatch, m_dispatch))) {
    LogWrite(m_logPath.c_str(), LOG_FATAL, kTag, "PlayFlash: the control cannot be shown (%08lx)",
             static_cast<unsigned long>(hr));
    Destroy();
    return false;
  }
  if (!Subscribe()) LogWrite(m_logPath.c_str(), LOG_KEYINFO, kTag, "PlayFlash: the control's events are not offered");
  m_movie = moviePath;
  const std::wstring wide = Wide(moviePath);
  EXCEPINFO error{};
  hr = Invoke(L"Movie", DISPATCH_PROPERTYPUT, wide.c_str(), error);
  if (SUCCEEDED(hr)) hr = Invoke(L"Play", DISPATCH_METHOD, nullptr, error);
  const std::string why = Narrow(error.bstrDescription);
  SysFreeString(error.bstrDescription);
  SysFreeString(error.bstrSource);
  SysFreeString(error.bstrHelpFile);
  if (FAILED(hr)) {
    // A page that cannot be shown leaves the host as it is; the window goes on.
    LogWrite(m_logPath.c_str(), LOG_FATAL, kTag, "PlayFlash %s failed (%08lx) %s", moviePath.c_str(),
             static_cast<unsigned long>(hr), why.c_str());
    return false;
  }
  return true;
}

}  // namespace clipview
