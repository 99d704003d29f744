#include "FlashHost_win.h"

#include <atomic>
#include <string>

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

// The control's site in the host window: client site, in-place site and
// frame, and the receiver of the control's events.
class FlashSite : public IOleClientSite, public IOleInPlaceSite, public IOleInPlaceFrame, public IDispatch {
 public:
  FlashSite(HWND host, FlashHost::EventFn onEvent) : m_host(host), m_onEvent(std::move(onEvent)) {}
  virtual ~FlashSite() = default;

  // The host is going: no event reaches it any more.
  void Detach() { m_onEvent = nullptr; }

  STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (iid == IID_IUnknown || iid == IID_IOleClientSite)
      *out = static_cast<IOleClientSite*>(this);
    else if (iid == IID_IOleInPlaceSite || iid == IID_IOleWindow)
      *out = static_cast<IOleInPlaceSite*>(this);
    else if (iid == IID_IOleInPlaceFrame || iid == IID_IOleInPlaceUIWindow)
      *out = static_cast<IOleInPlaceFrame*>(this);
    else if (iid == IID_IDispatch || iid == m_events)
      *out = static_cast<IDispatch*>(this);
    else
      return E_NOINTERFACE;
    AddRef();
    return S_OK;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return ++m_refs; }
  STDMETHODIMP_(ULONG) Release() override {
    const ULONG left = --m_refs;
    if (left == 0) delete this;
    return left;
  }
  void SetEventsIid(const IID& iid) { m_events = iid; }

  // IOleClientSite
  STDMETHODIMP SaveObject() override { return E_NOTIMPL; }
  STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker**) override { return E_NOTIMPL; }
  STDMETHODIMP GetContainer(IOleContainer** container) override {
    if (container) *container = nullptr;
    return E_NOINTERFACE;
  }
  STDMETHODIMP ShowObject() override { return S_OK; }
  STDMETHODIMP OnShowWindow(BOOL) override { return S_OK; }
  STDMETHODIMP RequestNewObjectLayout() override { return E_NOTIMPL; }

  // IOleWindow (shared by the in-place site and the frame)
  STDMETHODIMP GetWindow(HWND* window) override {
    if (!window) return E_POINTER;
    *window = m_host;
    return S_OK;
  }
  STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

  // IOleInPlaceSite
  STDMETHODIMP CanInPlaceActivate() override { return S_OK; }
  STDMETHODIMP OnInPlaceActivate() override { return S_OK; }
  STDMETHODIMP OnUIActivate() override { return S_OK; }
  STDMETHODIMP GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** doc, LPRECT pos, LPRECT clip,
                                LPOLEINPLACEFRAMEINFO info) override {
    if (frame) {
      *frame = this;
      AddRef();
    }
    if (doc) *doc = nullptr;
    RECT r{};
    GetClientRect(m_host, &r);
    if (pos) *pos = r;
    if (clip) *clip = r;
    if (info) {
      info->fMDIApp = FALSE;
      info->hwndFrame = GetAncestor(m_host, GA_ROOT);
      info->haccel = nullptr;
      info->cAccelEntries = 0;
    }
    return S_OK;
  }
  STDMETHODIMP Scroll(SIZE) override { return E_NOTIMPL; }
  STDMETHODIMP OnUIDeactivate(BOOL) override { return S_OK; }
  STDMETHODIMP OnInPlaceDeactivate() override { return S_OK; }
  STDMETHODIMP DiscardUndoState() override { return E_NOTIMPL; }
  STDMETHODIMP DeactivateAndUndo() override { return E_NOTIMPL; }
  STDMETHODIMP OnPosRectChange(LPCRECT) override { return S_OK; }

  // IOleInPlaceUIWindow / IOleInPlaceFrame: no menus, toolbars or borders.
  STDMETHODIMP GetBorder(LPRECT) override { return INPLACE_E_NOTOOLSPACE; }
  STDMETHODIMP RequestBorderSpace(LPCBORDERWIDTHS) override { return INPLACE_E_NOTOOLSPACE; }
  STDMETHODIMP SetBorderSpace(LPCBORDERWIDTHS) override { return S_OK; }
  STDMETHODIMP SetActiveObject(IOleInPlaceActiveObject*, LPCOLESTR) override { return S_OK; }
  STDMETHODIMP InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS) override { return S_OK; }
  STDMETHODIMP SetMenu(HMENU, HOLEMENU, HWND) override { return S_OK; }
  STDMETHODIMP RemoveMenus(HMENU) override { return S_OK; }
  STDMETHODIMP SetStatusText(LPCOLESTR) override { return S_OK; }
  STDMETHODIMP EnableModeless(BOOL) override { return S_OK; }
  STDMETHODIMP TranslateAccelerator(LPMSG, WORD) override { return S_FALSE; }

  // IDispatch: the control's events.
  STDMETHODIMP GetTypeInfoCount(UINT* count) override {
    if (count) *count = 0;
    return S_OK;
  }
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*, UINT*) override {
    std::string first;
    if (params && params->cArgs > 0) {
      // Arguments arrive last first.
      VARIANT text;
      VariantInit(&text);
      if (SUCCEEDED(VariantChangeType(&text, &params->rgvarg[params->cArgs - 1], 0, VT_BSTR))) {
        first = Narrow(text.bstrVal);
        VariantClear(&text);
      }
    }
    if (m_onEvent) m_onEvent(id, first);
    return S_OK;
  }

 private:
  std::atomic<ULONG> m_refs{1};
  HWND m_host;
  FlashHost::EventFn m_onEvent;
  IID m_events = IID_NULL;
};

FlashHost::FlashHost(HWND host, std::string logPath, EventFn onEvent)
    : m_host(host), m_logPath(std::move(logPath)), m_site(new FlashSite(host, std::move(onEvent))) {}

FlashHost::~FlashHost() {
  Destroy();
  m_site->Detach();
  m_site->Release();
}

void FlashHost::Destroy() {
  if (m_point) {
    m_point->Unadvise(m_cookie);
    m_point.Reset();
    m_cookie = 0;
  }
  m_dispatch.Reset();
  if (m_object) {
    zl::ComPtr<IOleInPlaceObject> inPlace;
    if (SUCCEEDED(m_object.As(IID_IOleInPlaceObject, inPlace))) inPlace->InPlaceDeactivate();
    m_object->Close(OLECLOSE_NOSAVE);
    m_object->SetClientSite(nullptr);
    m_object.Reset();
  }
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
  if (FAILED(m_point->Advise(static_cast<IDispatch*>(m_site), &m_cookie))) {
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
  m_object->SetClientSite(static_cast<IOleClientSite*>(m_site));
  zl::ComPtr<IPersistStreamInit> persist;
  if (SUCCEEDED(m_object.As(IID_IPersistStreamInit, persist))) persist->InitNew();
  RECT r{};
  GetClientRect(m_host, &r);
  hr = m_object->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, static_cast<IOleClientSite*>(m_site), 0, m_host, &r);
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
