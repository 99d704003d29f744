#include "OcxControl_win.h"

#include "Channel_win.h"
#include "OcxModule_win.h"
#include "P2PLink_win.h"
#include "ZoLyricOCX.h"
#include "mvcontrol/ControlRules.h"
#include "shared/Logger.h"

namespace mvcontrol {

namespace {

constexpr const char* kWindowClass = "ZoLyricOCXWnd";
constexpr const char* kTag = "ZoLyricOCX";

int ScreenDpi(int axis) {
  zl::WindowDc screen(nullptr);
  const int dpi = screen ? GetDeviceCaps(screen.Get(), axis) : 96;
  return dpi > 0 ? dpi : 96;
}

}  // namespace

bool RegisterControlWindowClass() {
  WNDCLASSA wc{};
  wc.lpfnWndProc = CZoLyricOCXCtrl::WindowProc;
  wc.hInstance = Module();
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  wc.lpszClassName = kWindowClass;
  return RegisterClassA(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

void UnregisterControlWindowClass() { UnregisterClassA(kWindowClass, Module()); }

CZoLyricOCXCtrl::CZoLyricOCXCtrl() {
  ModuleAddRef();
  const int height = kDefaultMovieHeight + kStatusLineHeight;
  m_extent.cx = PixelsToHimetric(kDefaultMovieWidth, ScreenDpi(LOGPIXELSX));
  m_extent.cy = PixelsToHimetric(height, ScreenDpi(LOGPIXELSY));
}

CZoLyricOCXCtrl::~CZoLyricOCXCtrl() {
  DestroyControlWindow();
  ModuleRelease();
}

STDMETHODIMP CZoLyricOCXCtrl::QueryInterface(REFIID iid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (iid == IID_IUnknown || iid == IID_IOleObject)
    *out = static_cast<IOleObject*>(this);
  else if (iid == IID_IOleInPlaceObject || iid == IID_IOleWindow)
    *out = static_cast<IOleInPlaceObject*>(this);
  else if (iid == IID_IOleInPlaceActiveObject)
    *out = static_cast<IOleInPlaceActiveObject*>(this);
  else if (iid == IID_IOleControl)
    *out = static_cast<IOleControl*>(this);
  else if (iid == IID_IViewObject || iid == IID_IViewObject2)
    *out = static_cast<IViewObject2*>(this);
  else if (iid == IID_IDispatch || iid == DIID__DZoLyricOCX)
    *out = static_cast<IDispatch*>(this);
  else if (iid == IID_IPersist || iid == IID_IPersistStreamInit)
    *out = static_cast<IPersistStreamInit*>(this);
  else if (iid == IID_IPersistPropertyBag)
    *out = static_cast<IPersistPropertyBag*>(this);
  else if (iid == IID_IProvideClassInfo)
    *out = static_cast<IProvideClassInfo*>(this);
  else if (iid == IID_ISpecifyPropertyPages)
    *out = static_cast<ISpecifyPropertyPages*>(this);
  else
    return E_NOINTERFACE;
  AddRef();
  return S_OK;
}

STDMETHODIMP_(ULONG) CZoLyricOCXCtrl::AddRef() { return ULONG(InterlockedIncrement(&m_refs)); }

STDMETHODIMP_(ULONG) CZoLyricOCXCtrl::Release() {
  const LONG left = InterlockedDecrement(&m_refs);
  if (left == 0) delete this;
  return ULONG(left);
}

// ---- IOleObject -------------------------------------------------------------

STDMETHODIMP CZoLyricOCXCtrl::SetClientSite(IOleClientSite* site) {
  m_site = zl::ComPtr<IOleClientSite>::Share(site);
  return S_OK;
}

STDMETHODIMP CZoLyricOCXCtrl::GetClientSite(IOleClientSite** site) {
  if (!site) return E_POINTER;
  *site = m_site.Get();
  if (*site) (*site)->AddRef();
  return S_OK;
}

STDMETHODIMP CZoLyricOCXCtrl::Close(DWORD) {
  InPlaceDeactivate();
  if (m_adviseHolder) m_adviseHolder->SendOnClose();
  return S_OK;
}

STDMETHODIMP CZoLyricOCXCtrl::DoVerb(LONG verb, LPMSG, IOleClientSite* site, LONG, HWND, LPCRECT) {
  switch (verb) {
    case OLEIVERB_PRIMARY:
    case OLEIVERB_SHOW:
    case OLEIVERB_UIACTIVATE:
      return InPlaceActivate(site, true);
    case OLEIVERB_INPLACEACTIVATE:
      return InPlaceActivate(site, false);
    case OLEIVERB_HIDE:
      UIDeactivate();
      if (m_window) ShowWindow(m_window.Get(), SW_HIDE);
      return S_OK;
    case OLEIVERB_PROPERTIES:
      ShowPropertyFrame();
      return S_OK;
    default:
      return verb < 0 ? E_NOTIMPL : OLEOBJ_S_INVALIDVERB;
  }
}

STDMETHODIMP CZoLyricOCXCtrl::EnumVerbs(IEnumOLEVERB** verbs) {
  if (verbs) *verbs = nullptr;
  return OLEOBJ_E_NOVERBS;
}

STDMETHODIMP CZoLyricOCXCtrl::GetUserClassID(CLSID* id) {
  if (!id) return E_POINTER;
  *id = CLSID_ZoLyricOCX;
  return S_OK;
}

STDMETHODIMP CZoLyricOCXCtrl::GetUserType(DWORD form, LPOLESTR* type) {
  return OleRegGetUserType(CLSID_ZoLyricOCX, form, type);
}

STDMETHODIMP CZoLyricOCXCtrl::SetExtent(DWORD aspect, SIZEL* size) {
  if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
  if (!size) return E_POINTER;
  m_extent = *size;
  return S_OK;
}

STDMETHODIMP CZoLyricOCXCtrl::GetExtent(DWORD aspect, SIZEL* size) {
  if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
  if (!size) return E_POINTER;
  *size = m_extent;
  return S_OK;
}

STDMETHODIMP CZoLyricOCXCtrl::Advise(IAdviseSink* sink, DWORD* connection) {
  if (!m_adviseHolder) {
    const HRESULT hr = CreateOleAdviseHolder(m_adviseHolder.Put());
    if (FAILED(hr)) return hr;
  }
  return m_adviseHolder->Advise(sink, connection);
}

STDMETHODIMP CZoLyricOCXCtrl::Unadvise(DWORD connection) {
  return m_adviseHolder ? m_adviseHolder->Unadvise(connection) : OLE_E_NOCONNECTION;
}

STDMETHODIMP CZoLyricOCXCtrl::EnumAdvise(IEnumSTATDATA** advise) {
  if (!advise) return E_POINTER;
  *advise = nullptr;
  return m_adviseHolder ? m_adviseHolder->EnumAdvise(advise) : E_FAIL;
}

STDMETHODIMP CZoLyricOCXCtrl::GetMiscStatus(DWORD, DWORD* status) {
  if (!status) return E_POINTER;
  *status = OLEMISC_ACTIVATEWHENVISIBLE | OLEMISC_SETCLIENTSITEFIRST | OLEMISC_INSIDEOUT | OLEMISC_CANTLINKINSIDE |
            OLEMISC_RECOMPOSEONRESIZE;
  return S_OK;
}

// ---- In-place activation ------------------------------------------------------

HRESULT CZoLyricOCXCtrl::InPlaceActivate(IOleClientSite* site, bool uiActivate) {
  if (!m_window) {
    if (site && !m_site) SetClientSite(site);
    if (!m_site) return E_UNEXPECTED;
    if (FAILED(m_site.As(IID_IOleInPlaceSite, m_inPlaceSite))) return E_NOINTERFACE;
    if (m_inPlaceSite->CanInPlaceActivate() != S_OK) {
      m_inPlaceSite.Reset();
      return E_FAIL;
    }
    m_inPlaceSite->OnInPlaceActivate();
    HWND parent = nullptr;
    RECT pos{}, clip{};
    OLEINPLACEFRAMEINFO frameInfo{};
    frameInfo.cb = sizeof frameInfo;
    zl::ComPtr<IOleInPlaceUIWindow> document;
    m_inPlaceSite->GetWindow(&parent);
    m_inPlaceSite->GetWindowContext(m_frame.Put(), document.Put(), &pos, &clip, &frameInfo);
    if (!parent || !CreateControlWindow(parent, pos)) {
      m_inPlaceSite->OnInPlaceDeactivate();
      m_inPlaceSite.Reset();
      m_frame.Reset();
      return E_FAIL;
    }
  }
  if (uiActivate && !m_uiActive) {
    m_uiActive = true;
    m_inPlaceSite->OnUIActivate();
    if (m_frame) m_frame->SetActiveObject(static_cast<IOleInPlaceActiveObject*>(this), L"ZoLyricOCX");
  }
  ShowWindow(m_window.Get(), SW_SHOW);
  return S_OK;
}

STDMETHODIMP CZoLyricOCXCtrl::GetWindow(HWND* window) {
  if (!window) return E_POINTER;
  *window = m_window.Get();
  return m_window ? S_OK : E_FAIL;
}

STDMETHODIMP CZoLyricOCXCtrl::InPlaceDeactivate() {
  if (!m_window) return S_OK;
  UIDeactivate();
  DestroyControlWindow();
  if (m_inPlaceSite) m_inPlaceSite->OnInPlaceDeactivate();
  m_inPlaceSite.Reset();
  m_frame.Reset();
  return S_OK;
}

STDMETHODIMP CZoLyricOCXCtrl::UIDeactivate() {
  if (!m_uiActive) return S_OK;
  m_uiActive = false;
  if (m_frame) m_frame->SetActiveObject(nullptr, nullptr);
  if (m_inPlaceSite) m_inPlaceSite->OnUIDeactivate(FALSE);
  return S_OK;
}

STDMETHODIMP CZoLyricOCXCtrl::SetObjectRects(LPCRECT pos, LPCRECT) {
  if (!pos) return E_POINTER;
  if (m_window) MoveWindow(m_window.Get(), pos->left, pos->top, pos->right - pos->left, pos->bottom - pos->top, TRUE);
  return S_OK;
}

bool CZoLyricOCXCtrl::CreateControlWindow(HWND parent, const RECT& pos) {
  const int width = pos.right - pos.left, height = pos.bottom - pos.top;
  m_window.Reset(CreateWindowExA(0, kWindowClass, "", WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, pos.left, pos.top,
                                 width, height, parent, nullptr, Module(), this));
  if (!m_window) return false;
  const ModulePaths& paths = Paths();
  // NOTE: a server that cannot be started is reported in the text line; the
  // page's browser, which hosts the control, goes on.
  const bool server = EnsureP2PServer(paths.home, paths.logPath);
  m_dialog = std::make_unique<MovieDialog>(paths.logPath, [this](const std::string& command) {
    if (m_channel) m_channel->OnMovieCommand(command, m_dialog.get());
  });
  if (!m_dialog->Create(m_window.Get(), width, height)) {
    LogWrite(paths.logPath.c_str(), LOG_FATAL, kTag, "The movie dialog cannot be made.");
    m_dialog.reset();
    m_window.Reset();
    return false;
  }
  m_channel = Channel::Attach(m_dialog.get());
  m_dialog->ShowMovie(paths.Swf("load.swf"));
  if (!server || !m_channel) {
    m_dialog->ShowStatus(kTextServerError);
    m_dialog->ShowMovie(paths.Swf("ocx_neterror.swf"));
  }
  return true;
}

void CZoLyricOCXCtrl::DestroyControlWindow() {
  if (m_channel) Channel::Detach(m_dialog.get());
  m_channel = nullptr;
  m_dialog.reset();
  if (m_window) SetWindowLongPtrA(m_window.Get(), GWLP_USERDATA, 0);
  m_window.Reset();
}

LRESULT CALLBACK CZoLyricOCXCtrl::WindowProc(HWND window, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE)
    SetWindowLongPtrA(window, GWLP_USERDATA,
                      reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTA*>(lp)->lpCreateParams));
  auto* self = reinterpret_cast<CZoLyricOCXCtrl*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (msg == WM_SIZE && self && self->m_dialog) self->m_dialog->Layout(LOWORD(lp), HIWORD(lp));
  return DefWindowProcA(window, msg, wp, lp);
}

// ---- IOleControl, IViewObject2, persistence ------------------------------------------

STDMETHODIMP CZoLyricOCXCtrl::GetControlInfo(CONTROLINFO* info) {
  if (!info) return E_POINTER;
  info->cb = sizeof *info;
  info->hAccel = nullptr;
  info->cAccel = 0;
  info->dwFlags = 0;
  return S_OK;
}

STDMETHODIMP CZoLyricOCXCtrl::Draw(DWORD aspect, LONG, void*, DVTARGETDEVICE*, HDC, HDC dc, LPCRECTL bounds,
                                   LPCRECTL, BOOL(STDMETHODCALLTYPE*)(ULONG_PTR), ULONG_PTR) {
  if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
  if (!dc || !bounds) return E_INVALIDARG;
  // Outside its window (a print or a design view) the control is its dark face.
  RECT r{bounds->left, bounds->top, bounds->right, bounds->bottom};
  zl::UniqueBrush brush(CreateSolidBrush(RGB(16, 16, 16)));
  FillRect(dc, &r, brush.Get());
  return S_OK;
}

STDMETHODIMP CZoLyricOCXCtrl::SetAdvise(DWORD aspects, DWORD flags, IAdviseSink* sink) {
  m_viewSink = zl::ComPtr<IAdviseSink>::Share(sink);
  m_viewAspects = aspects;
  m_viewFlags = flags;
  return S_OK;
}

STDMETHODIMP CZoLyricOCXCtrl::GetAdvise(DWORD* aspects, DWORD* flags, IAdviseSink** sink) {
  if (aspects) *aspects = m_viewAspects;
  if (flags) *flags = m_viewFlags;
  if (sink) {
    *sink = m_viewSink.Get();
    if (*sink) (*sink)->AddRef();
  }
  return S_OK;
}

STDMETHODIMP CZoLyricOCXCtrl::GetExtent(DWORD aspect, LONG, DVTARGETDEVICE*, LPSIZEL size) {
  return GetExtent(aspect, size);
}

STDMETHODIMP CZoLyricOCXCtrl::GetSizeMax(ULARGE_INTEGER* size) {
  if (!size) return E_POINTER;
  size->QuadPart = 0;
  return S_OK;
}

STDMETHODIMP CZoLyricOCXCtrl::GetPages(CAUUID* pages) {
  if (!pages) return E_POINTER;
  pages->pElems = static_cast<GUID*>(CoTaskMemAlloc(sizeof(GUID)));
  if (!pages->pElems) {
    pages->cElems = 0;
    return E_OUTOFMEMORY;
  }
  pages->cElems = 1;
  pages->pElems[0] = CLSID_ZoLyricOCXPropPage;
  return S_OK;
}

void CZoLyricOCXCtrl::ShowPropertyFrame() {
  IUnknown* self = static_cast<IOleObject*>(this);
  CLSID page = CLSID_ZoLyricOCXPropPage;
  OleCreatePropertyFrame(m_window ? m_window.Get() : nullptr, 0, 0, L"ZoLyricOCX", 1, &self, 1, &page,
                         LOCALE_USER_DEFAULT, 0, nullptr);
}

// ---- The page's methods -----------------------------------------------------------------

void CZoLyricOCXCtrl::PlayChannel(uint32_t sign1, uint32_t sign2) {
  if (m_channel) m_channel->Play(SignPair{sign1, sign2}, m_dialog.get());
}

void CZoLyricOCXCtrl::StopChannel(uint32_t sign1, uint32_t sign2) {
  if (m_channel) m_channel->Stop(SignPair{sign1, sign2}, m_dialog.get());
}

void CZoLyricOCXCtrl::SetWndWidth(uint32_t requested) {
  const int width = int(requested > kMaxControlWidth ? kMaxControlWidth : requested);
  const int height = HeightForWidth(requested);
  m_extent.cx = PixelsToHimetric(width, ScreenDpi(LOGPIXELSX));
  m_extent.cy = PixelsToHimetric(height, ScreenDpi(LOGPIXELSY));
  if (!m_window) return;
  RECT r{};
  GetWindowRect(m_window.Get(), &r);
  MapWindowPoints(nullptr, GetParent(m_window.Get()), reinterpret_cast<POINT*>(&r), 2);
  r.right = r.left + width;
  r.bottom = r.top + height;
  MoveWindow(m_window.Get(), r.left, r.top, width, height, TRUE);
  // The container may place the control anew at its new size.
  if (m_inPlaceSite) m_inPlaceSite->OnPosRectChange(&r);
  if (m_viewSink) m_viewSink->OnViewChange(DVASPECT_CONTENT, -1);
}

}  // namespace mvcontrol
