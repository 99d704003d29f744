#include "FlashControl_win.h"

#include <atomic>

#include "shared/Logger.h"

namespace mvcontrol {

namespace {

constexpr const char* kTag = "FlashControl";
// {D27CDB6E-AE6D-11cf-96B8-444553540000}
const CLSID kFlashClsid = {0xD27CDB6E, 0xAE6D, 0x11CF, {0x96, 0xB8, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
// The Flash player's own event interface, when the control does not name its default source.
const IID kFlashEvents = {0xD27CDB6D, 0xAE6D, 0x11CF, {0x96, 0xB8, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};

constexpr DISPID kDispMovie = 102;
constexpr DISPID kDispFlashVars = 170;
constexpr DISPID kDispPlay = 112;
constexpr DISPID kDispFSCommand = 150;

std::wstring Wide(const std::string& s) {
  const int n = MultiByteToWideChar(CP_ACP, 0, s.c_str(), -1, nullptr, 0);
  std::wstring w(n > 0 ? n - 1 : 0, L'\0');
  if (n > 1) MultiByteToWideChar(CP_ACP, 0, s.c_str(), -1, &w[0], n);
  return w;
}

std::string Text(const VARIANT& v) {
  VARIANT text;
  VariantInit(&text);
  std::string s;
  if (SUCCEEDED(VariantChangeType(&text, const_cast<VARIANT*>(&v), 0, VT_BSTR)) && text.bstrVal) {
    const int n = WideCharToMultiByte(CP_ACP, 0, text.bstrVal, -1, nullptr, 0, nullptr, nullptr);
    if (n > 1) {
      s.resize(size_t(n - 1));
      WideCharToMultiByte(CP_ACP, 0, text.bstrVal, -1, &s[0], n, nullptr, nullptr);
    }
  }
  VariantClear(&text);
  return s;
}

}  // namespace

// The control's site in the movie dialog and the receiver of its events.
class FlashSite : public IOleClientSite, public IOleInPlaceSite, public IOleInPlaceFrame, public IDispatch {
 public:
  FlashSite(HWND dialog, FlashControl::CommandFn onCommand) : m_dialog(dialog), m_onCommand(std::move(onCommand)) {}
  virtual ~FlashSite() = default;
  void Detach() { m_onCommand = nullptr; }
  void SetEventsIid(const IID& iid) { m_events = iid; }
  void SetRect(const RECT& r) { m_rect = r; }

  STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (iid == IID_IUnknown || iid == IID_IOleClientSite)
      *out = static_cast<IOleClientSite*>(this);
    else if (iid == IID_IOleInPlaceSite || iid == IID_IOleWindow)
      *out = static_cast<IOleInPlaceSite*>(this);
    else if (iid == IID_IOleInPlaceFrame || iid == IID_IOleInPlaceUIWindow)
      *out = static_cast<IOleInPlaceFrame*>(this);
    else if (iid == IID_IDispatch || (iid == m_events && iid != IID_NULL))
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

  // IOleWindow
  STDMETHODIMP GetWindow(HWND* window) override {
    if (!window) return E_POINTER;
    *window = m_dialog;
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
    if (pos) *pos = m_rect;
    if (clip) *clip = m_rect;
    if (info) {
      info->fMDIApp = FALSE;
      info->hwndFrame = GetAncestor(m_dialog, GA_ROOT);
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

  // IOleInPlaceFrame: no menus, tool space or status text of our own.
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

  // IDispatch: the control's events; only FSCommand(command, args) matters.
  STDMETHODIMP GetTypeInfoCount(UINT* count) override {
    if (count) *count = 0;
    return S_OK;
  }
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*, UINT*) override {
    if (id != kDispFSCommand || !params || params->cArgs < 1 || !m_onCommand) return S_OK;
    // Arguments arrive last first.
    const std::string command = Text(params->rgvarg[params->cArgs - 1]);
    const std::string args = params->cArgs > 1 ? Text(params->rgvarg[params->cArgs - 2]) : std::string();
    // The handler may take the control down: it keeps this site alive meanwhile.
    AddRef();
    const FlashControl::CommandFn handler = m_onCommand;
    handler(command, args);
    Release();
    return S_OK;
  }

 private:
  std::atomic<ULONG> m_refs{1};
  HWND m_dialog;
  FlashControl::CommandFn m_onCommand;
  IID m_events = IID_NULL;
  RECT m_rect{};
};

FlashControl::FlashControl(HWND dialog, int id, std::string logPath, CommandFn onCommand)
    : m_dialog(dialog),
      m_id(id),
      m_logPath(std::move(logPath)),
      m_site(zl::ComPtr<FlashSite>::Attach(new FlashSite(dialog, std::move(onCommand)))) {}

FlashControl::~FlashControl() {
  Destroy();
  m_site->Detach();  // the control may still hold the site: it hears nothing more
}

bool FlashControl::Create(const RECT& rect) {
  Destroy();
  m_site->SetRect(rect);
  HRESULT hr = CoCreateInstance(kFlashClsid, nullptr, CLSCTX_INPROC_SERVER, IID_IOleObject, m_object.PutVoid());
  if (FAILED(hr)) {
    LogWrite(m_logPath.c_str(), LOG_FATAL, kTag, "No Flash control (%08lx).", static_cast<unsigned long>(hr));
    return false;
  }
  m_object->SetClientSite(static_cast<IOleClientSite*>(m_site.Get()));
  zl::ComPtr<IPersistStreamInit> persist;
  if (SUCCEEDED(m_object.As(IID_IPersistStreamInit, persist))) persist->InitNew();
  RECT r = rect;
  hr = m_object->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, static_cast<IOleClientSite*>(m_site.Get()), 0, m_dialog, &r);
  zl::ComPtr<IOleInPlaceObject> inPlace;
  if (FAILED(hr) || FAILED(m_object.As(IID_IDispatch, m_dispatch)) ||
      FAILED(m_object.As(IID_IOleInPlaceObject, inPlace)) || FAILED(inPlace->GetWindow(&m_window)) || !m_window) {
    LogWrite(m_logPath.c_str(), LOG_FATAL, kTag, "The Flash control cannot be shown (%08lx).",
             static_cast<unsigned long>(hr));
    Destroy();
    return false;
  }
  SetWindowLongPtrA(m_window, GWLP_ID, m_id);
  Subscribe();
  return true;
}

void FlashControl::Subscribe() {
  IID events = kFlashEvents;
  zl::ComPtr<IProvideClassInfo2> info;
  if (SUCCEEDED(m_object.As(IID_IProvideClassInfo2, info))) {
    IID named = IID_NULL;
    if (SUCCEEDED(info->GetGUID(GUIDKIND_DEFAULT_SOURCE_DISP_IID, &named))) events = named;
  }
  zl::ComPtr<IConnectionPointContainer> container;
  if (FAILED(m_object.As(IID_IConnectionPointContainer, container)) ||
      FAILED(container->FindConnectionPoint(events, m_point.Put()))) {
    LogWrite(m_logPath.c_str(), LOG_FATAL, kTag, "The Flash control offers no FSCommand.");
    return;
  }
  m_site->SetEventsIid(events);
  if (FAILED(m_point->Advise(static_cast<IDispatch*>(m_site.Get()), &m_cookie))) m_point.Reset();
}

void FlashControl::Destroy() {
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
  m_window = nullptr;
}

void FlashControl::Move(const RECT& rect) {
  m_site->SetRect(rect);
  if (!m_object) return;
  zl::ComPtr<IOleInPlaceObject> inPlace;
  if (SUCCEEDED(m_object.As(IID_IOleInPlaceObject, inPlace))) inPlace->SetObjectRects(&rect, &rect);
}

HRESULT FlashControl::PutText(DISPID id, const std::string& text) {
  VARIANT arg;
  VariantInit(&arg);
  arg.vt = VT_BSTR;
  arg.bstrVal = SysAllocString(Wide(text).c_str());
  DISPID named = DISPID_PROPERTYPUT;
  DISPPARAMS params{&arg, &named, 1, 1};
  const HRESULT hr = m_dispatch->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYPUT, &params, nullptr,
                                        nullptr, nullptr);
  VariantClear(&arg);
  return hr;
}

HRESULT FlashControl::CallPlay() {
  DISPPARAMS none{nullptr, nullptr, 0, 0};
  EXCEPINFO error{};
  const HRESULT hr =
      m_dispatch->Invoke(kDispPlay, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &none, nullptr, &error, nullptr);
  SysFreeString(error.bstrDescription);
  SysFreeString(error.bstrSource);
  SysFreeString(error.bstrHelpFile);
  return hr;
}

bool FlashControl::Load(const std::string& movie, const std::string& flashVars) {
  if (!m_dispatch) return false;
  HRESULT hr = PutText(kDispFlashVars, flashVars);
  if (SUCCEEDED(hr)) hr = PutText(kDispMovie, movie);
  if (SUCCEEDED(hr)) hr = CallPlay();
  if (FAILED(hr)) {
    LogWrite(m_logPath.c_str(), LOG_FATAL, kTag, "Play %s failed (%08lx).", movie.c_str(),
             static_cast<unsigned long>(hr));
    return false;
  }
  InvalidateRect(m_window, nullptr, TRUE);
  return true;
}

}  // namespace mvcontrol
