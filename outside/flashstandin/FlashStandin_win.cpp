// A stand-in for the Shockwave Flash ActiveX control, registered under its
// class identifier in test and demo installs. It is what ClipView and the
// web control need of Flash and no more: the dispatch members Movie,
// FlashVars and Play, an event interface (found through
// IProvideClassInfo2) that fires FSCommand when asked, and a child window
// that shows which movie it plays: the movie's background colour, its file
// name and the text of its Metadata tag. Play fails for a movie that cannot
// be read, as a broken Flash would.
#include <windows.h>
#include <ocidl.h>
#include <olectl.h>

#include <atomic>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "FlashMovie.h"

namespace {

// {D27CDB6E-AE6D-11cf-96B8-444553540000}
const CLSID kClsid = {0xD27CDB6E, 0xAE6D, 0x11CF, {0x96, 0xB8, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
const char kClsidText[] = "{D27CDB6E-AE6D-11cf-96B8-444553540000}";
// The stand-in's own event interface.
// {6A0C3E21-5B1F-4C7A-9E55-2B7F0D1A9C31}
const IID kEventsIid = {0x6A0C3E21, 0x5B1F, 0x4C7A, {0x9E, 0x55, 0x2B, 0x7F, 0x0D, 0x1A, 0x9C, 0x31}};

enum : DISPID {
  kDispMovie = 102,
  kDispFlashVars = 170,
  kDispPlay = 112,
  kDispFireFSCommand = 1000,  // the test's handle: fires FSCommand(command, args)
  kDispFSCommandEvent = 150,
};

HINSTANCE g_module = nullptr;
std::atomic<long> g_objects{0}, g_locks{0};
constexpr char kWindowClass[] = "FlashStandinMovie";

std::string Narrow(const wchar_t* w) {
  if (!w) return "";
  const int n = WideCharToMultiByte(CP_ACP, 0, w, -1, nullptr, 0, nullptr, nullptr);
  std::string s(n > 0 ? n - 1 : 0, '\0');
  if (n > 1) WideCharToMultiByte(CP_ACP, 0, w, -1, &s[0], n, nullptr, nullptr);
  return s;
}

std::wstring Wide(const std::string& s, UINT codePage) {
  const int n = MultiByteToWideChar(codePage, 0, s.c_str(), -1, nullptr, 0);
  std::wstring w(n > 0 ? n - 1 : 0, L'\0');
  if (n > 1) MultiByteToWideChar(codePage, 0, s.c_str(), -1, &w[0], n);
  return w;
}

class Control;

// The control's one connection point: the sinks of its event interface. It
// lives inside the control and shares its reference count.
class EventPoint : public IConnectionPoint {
 public:
  explicit EventPoint(Control& owner) : m_owner(owner) {}
  ~EventPoint() { Clear(); }
  STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;
  STDMETHODIMP GetConnectionInterface(IID* iid) override {
    if (!iid) return E_POINTER;
    *iid = kEventsIid;
    return S_OK;
  }
  STDMETHODIMP GetConnectionPointContainer(IConnectionPointContainer** container) override;
  STDMETHODIMP Advise(IUnknown* sink, DWORD* cookie) override {
    if (!sink || !cookie) return E_POINTER;
    IDispatch* dispatch = nullptr;
    if (FAILED(sink->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&dispatch))))
      return CONNECT_E_CANNOTCONNECT;
    m_sinks.push_back(dispatch);
    *cookie = static_cast<DWORD>(m_sinks.size());
    return S_OK;
  }
  STDMETHODIMP Unadvise(DWORD cookie) override {
    if (cookie == 0 || cookie > m_sinks.size() || !m_sinks[cookie - 1]) return CONNECT_E_NOCONNECTION;
    m_sinks[cookie - 1]->Release();
    m_sinks[cookie - 1] = nullptr;
    return S_OK;
  }
  STDMETHODIMP EnumConnections(IEnumConnections**) override { return E_NOTIMPL; }

  void Clear() {
    for (IDispatch* sink : m_sinks)
      if (sink) sink->Release();
    m_sinks.clear();
  }
  std::vector<IDispatch*> Sinks() const { return m_sinks; }

 private:
  Control& m_owner;
  std::vector<IDispatch*> m_sinks;
};

class Control : public IOleObject,
                public IOleInPlaceObject,
                public IDispatch,
                public IConnectionPointContainer,
                public IProvideClassInfo2,
                public IPersistStreamInit {
 public:
  Control() : m_events(*this) { ++g_objects; }
  virtual ~Control() {
    Close(OLECLOSE_NOSAVE);
    --g_objects;
  }

  // ---- IUnknown ----
  STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (iid == IID_IUnknown || iid == IID_IOleObject)
      *out = static_cast<IOleObject*>(this);
    else if (iid == IID_IOleInPlaceObject || iid == IID_IOleWindow)
      *out = static_cast<IOleInPlaceObject*>(this);
    else if (iid == IID_IDispatch)
      *out = static_cast<IDispatch*>(this);
    else if (iid == IID_IConnectionPointContainer)
      *out = static_cast<IConnectionPointContainer*>(this);
    else if (iid == IID_IProvideClassInfo || iid == IID_IProvideClassInfo2)
      *out = static_cast<IProvideClassInfo2*>(this);
    else if (iid == IID_IPersistStreamInit || iid == IID_IPersist)
      *out = static_cast<IPersistStreamInit*>(this);
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

  // ---- IOleObject ----
  STDMETHODIMP SetClientSite(IOleClientSite* site) override {
    if (m_site) m_site->Release();
    m_site = site;
    if (m_site) m_site->AddRef();
    return S_OK;
  }
  STDMETHODIMP GetClientSite(IOleClientSite** site) override {
    if (!site) return E_POINTER;
    *site = m_site;
    if (m_site) m_site->AddRef();
    return S_OK;
  }
  STDMETHODIMP SetHostNames(LPCOLESTR, LPCOLESTR) override { return S_OK; }
  STDMETHODIMP Close(DWORD) override {
    InPlaceDeactivate();
    m_events.Clear();
    return SetClientSite(nullptr);
  }
  STDMETHODIMP SetMoniker(DWORD, IMoniker*) override { return E_NOTIMPL; }
  STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker**) override { return E_NOTIMPL; }
  STDMETHODIMP InitFromData(IDataObject*, BOOL, DWORD) override { return E_NOTIMPL; }
  STDMETHODIMP GetClipboardData(DWORD, IDataObject**) override { return E_NOTIMPL; }
  STDMETHODIMP DoVerb(LONG verb, LPMSG, IOleClientSite* site, LONG, HWND parent, LPCRECT pos) override {
    if (verb != OLEIVERB_INPLACEACTIVATE && verb != OLEIVERB_SHOW && verb != OLEIVERB_UIACTIVATE &&
        verb != OLEIVERB_PRIMARY)
      return OLEOBJ_S_INVALIDVERB;
    if (m_window) return S_OK;
    if (site && site != m_site) SetClientSite(site);
    IOleInPlaceSite* inPlace = nullptr;
    if (m_site) m_site->QueryInterface(IID_IOleInPlaceSite, reinterpret_cast<void**>(&inPlace));
    if (inPlace) {
      if (inPlace->CanInPlaceActivate() != S_OK) {
        inPlace->Release();
        return E_FAIL;
      }
      inPlace->OnInPlaceActivate();
      HWND siteWindow = nullptr;
      if (SUCCEEDED(inPlace->GetWindow(&siteWindow)) && siteWindow) parent = siteWindow;
    }
    RECT r = pos ? *pos : RECT{0, 0, 100, 100};
    m_window = CreateWindowExA(0, kWindowClass, "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, r.left, r.top,
                               r.right - r.left, r.bottom - r.top, parent, nullptr, g_module, this);
    if (inPlace) inPlace->Release();
    return m_window ? S_OK : E_FAIL;
  }
  STDMETHODIMP EnumVerbs(IEnumOLEVERB**) override { return E_NOTIMPL; }
  STDMETHODIMP Update() override { return S_OK; }
  STDMETHODIMP IsUpToDate() override { return S_OK; }
  STDMETHODIMP GetUserClassID(CLSID* id) override {
    if (!id) return E_POINTER;
    *id = kClsid;
    return S_OK;
  }
  STDMETHODIMP GetUserType(DWORD, LPOLESTR*) override { return E_NOTIMPL; }
  STDMETHODIMP SetExtent(DWORD, SIZEL*) override { return S_OK; }
  STDMETHODIMP GetExtent(DWORD, SIZEL* size) override {
    if (!size) return E_POINTER;
    size->cx = size->cy = 2540;
    return S_OK;
  }
  STDMETHODIMP Advise(IAdviseSink*, DWORD*) override { return E_NOTIMPL; }
  STDMETHODIMP Unadvise(DWORD) override { return E_NOTIMPL; }
  STDMETHODIMP EnumAdvise(IEnumSTATDATA**) override { return E_NOTIMPL; }
  STDMETHODIMP GetMiscStatus(DWORD, DWORD* status) override {
    if (!status) return E_POINTER;
    *status = OLEMISC_RECOMPOSEONRESIZE | OLEMISC_SETCLIENTSITEFIRST | OLEMISC_INSIDEOUT |
              OLEMISC_ACTIVATEWHENVISIBLE;
    return S_OK;
  }
  STDMETHODIMP SetColorScheme(LOGPALETTE*) override { return E_NOTIMPL; }

  // ---- IOleInPlaceObject ----
  STDMETHODIMP GetWindow(HWND* window) override {
    if (!window) return E_POINTER;
    *window = m_window;
    return m_window ? S_OK : E_FAIL;
  }
  STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
  STDMETHODIMP InPlaceDeactivate() override {
    if (!m_window) return S_OK;
    SetWindowLongPtrA(m_window, GWLP_USERDATA, 0);
    DestroyWindow(m_window);
    m_window = nullptr;
    IOleInPlaceSite* inPlace = nullptr;
    if (m_site && SUCCEEDED(m_site->QueryInterface(IID_IOleInPlaceSite, reinterpret_cast<void**>(&inPlace)))) {
      inPlace->OnInPlaceDeactivate();
      inPlace->Release();
    }
    return S_OK;
  }
  STDMETHODIMP UIDeactivate() override { return S_OK; }
  STDMETHODIMP SetObjectRects(LPCRECT pos, LPCRECT) override {
    if (m_window && pos)
      MoveWindow(m_window, pos->left, pos->top, pos->right - pos->left, pos->bottom - pos->top, TRUE);
    return S_OK;
  }
  STDMETHODIMP ReactivateAndUndo() override { return E_NOTIMPL; }

  // ---- IDispatch ----
  STDMETHODIMP GetTypeInfoCount(UINT* count) override {
    if (count) *count = 0;
    return S_OK;
  }
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override {
    HRESULT hr = S_OK;
    for (UINT i = 0; i < count; ++i) {
      const std::wstring name = names[i];
      if (_wcsicmp(name.c_str(), L"Movie") == 0)
        ids[i] = kDispMovie;
      else if (_wcsicmp(name.c_str(), L"FlashVars") == 0)
        ids[i] = kDispFlashVars;
      else if (_wcsicmp(name.c_str(), L"Play") == 0)
        ids[i] = kDispPlay;
      else if (_wcsicmp(name.c_str(), L"FireFSCommand") == 0)
        ids[i] = kDispFireFSCommand;
      else {
        ids[i] = DISPID_UNKNOWN;
        hr = DISP_E_UNKNOWNNAME;
      }
    }
    return hr;
  }
  STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result, EXCEPINFO* excep,
                      UINT*) override {
    switch (id) {
      case kDispMovie:
      case kDispFlashVars: {
        std::string& field = id == kDispMovie ? m_movie : m_flashVars;
        if (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) {
          if (!params || params->cArgs < 1) return DISP_E_BADPARAMCOUNT;
          VARIANT text;
          VariantInit(&text);
          if (FAILED(VariantChangeType(&text, &params->rgvarg[0], 0, VT_BSTR))) return DISP_E_TYPEMISMATCH;
          field = Narrow(text.bstrVal);
          VariantClear(&text);
          if (id == kDispMovie) m_playing = false;
          Refresh();
          return S_OK;
        }
        if (result) {
          VariantInit(result);
          result->vt = VT_BSTR;
          result->bstrVal = SysAllocString(Wide(field, CP_ACP).c_str());
        }
        return S_OK;
      }
      case kDispPlay: {
        std::ifstream in(m_movie, std::ios::binary);
        if (!in) {
          if (excep) {
            ZeroMemory(excep, sizeof *excep);
            excep->scode = E_FAIL;
            excep->bstrDescription = SysAllocString(L"the movie cannot be read");
          }
          return DISP_E_EXCEPTION;
        }
        std::stringstream bytes;
        bytes << in.rdbuf();
        m_look = flashstandin::ReadMovieLook(bytes.str());
        m_playing = true;
        Refresh();
        return S_OK;
      }
      case kDispFireFSCommand: {
        if (!params || params->cArgs < 2) return DISP_E_BADPARAMCOUNT;
        // Arguments arrive last first.
        Fire(params->rgvarg[1], params->rgvarg[0]);
        return S_OK;
      }
      default:
        return DISP_E_MEMBERNOTFOUND;
    }
  }

  // ---- IConnectionPointContainer ----
  STDMETHODIMP EnumConnectionPoints(IEnumConnectionPoints**) override { return E_NOTIMPL; }
  STDMETHODIMP FindConnectionPoint(REFIID iid, IConnectionPoint** point) override {
    if (!point) return E_POINTER;
    *point = nullptr;
    if (iid != kEventsIid) return CONNECT_E_NOCONNECTION;
    *point = &m_events;
    AddRef();
    return S_OK;
  }

  // ---- IProvideClassInfo2 ----
  STDMETHODIMP GetClassInfo(ITypeInfo**) override { return E_NOTIMPL; }
  STDMETHODIMP GetGUID(DWORD kind, GUID* guid) override {
    if (!guid) return E_POINTER;
    if (kind != GUIDKIND_DEFAULT_SOURCE_DISP_IID) return E_INVALIDARG;
    *guid = kEventsIid;
    return S_OK;
  }

  // ---- IPersistStreamInit ----
  STDMETHODIMP GetClassID(CLSID* id) override { return GetUserClassID(id); }
  STDMETHODIMP IsDirty() override { return S_FALSE; }
  STDMETHODIMP Load(LPSTREAM) override { return S_OK; }
  STDMETHODIMP Save(LPSTREAM, BOOL) override { return S_OK; }
  STDMETHODIMP GetSizeMax(ULARGE_INTEGER*) override { return E_NOTIMPL; }
  STDMETHODIMP InitNew() override { return S_OK; }

  void Paint(HWND window, HDC dc) const;

 private:
  void Refresh() {
    if (!m_window) return;
    SetWindowTextA(m_window, m_movie.c_str());
    InvalidateRect(m_window, nullptr, TRUE);
  }
  void Fire(const VARIANT& command, const VARIANT& args) {
    VARIANT pair[2];
    VariantInit(&pair[0]);
    VariantInit(&pair[1]);
    VariantCopy(&pair[1], const_cast<VARIANT*>(&command));
    VariantCopy(&pair[0], const_cast<VARIANT*>(&args));
    DISPPARAMS params{pair, nullptr, 2, 0};
    AddRef();  // a sink may release the control while it is told
    const std::vector<IDispatch*> sinks = m_events.Sinks();
    for (IDispatch* sink : sinks)
      if (sink) sink->Invoke(kDispFSCommandEvent, IID_NULL, 0, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr);
    Release();
    VariantClear(&pair[0]);
    VariantClear(&pair[1]);
  }

  std::atomic<ULONG> m_refs{1};
  EventPoint m_events;
  IOleClientSite* m_site = nullptr;
  HWND m_window = nullptr;
  std::string m_movie, m_flashVars;
  bool m_playing = false;
  flashstandin::MovieLook m_look;
};

void Control::Paint(HWND window, HDC dc) const {
  RECT r;
  GetClientRect(window, &r);
  COLORREF back = RGB(40, 40, 40);
  if (m_playing && m_look.valid)
    back = RGB((m_look.background >> 16) & 0xFF, (m_look.background >> 8) & 0xFF, m_look.background & 0xFF);
  HBRUSH brush = CreateSolidBrush(back);
  FillRect(dc, &r, brush);
  DeleteObject(brush);
  SetBkMode(dc, TRANSPARENT);
  const int luma = (GetRValue(back) * 3 + GetGValue(back) * 6 + GetBValue(back)) / 10;
  SetTextColor(dc, luma > 140 ? RGB(0, 0, 0) : RGB(255, 255, 255));
  std::string name = m_movie.substr(m_movie.find_last_of("\\/") + 1);
  if (name.empty()) name = "(no movie)";
  HFONT big = CreateFontA(-26, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, ANTIALIASED_QUALITY, 0, "Arial");
  HFONT small = CreateFontA(-16, 0, 0, 0, FW_NORMAL, 0, 0, 0, GB2312_CHARSET, 0, 0, ANTIALIASED_QUALITY, 0,
                            "WenQuanYi Micro Hei");
  HGDIOBJ old = SelectObject(dc, big);
  RECT line = r;
  line.bottom = (r.top + r.bottom) / 2;
  DrawTextA(dc, name.c_str(), -1, &line, DT_CENTER | DT_BOTTOM | DT_SINGLELINE);
  SelectObject(dc, small);
  line.top = line.bottom + 6;
  line.bottom = r.bottom;
  std::wstring text = m_playing ? Wide(m_look.label, CP_UTF8) : L"(stopped)";
  if (!m_flashVars.empty()) text += L"\n" + Wide(m_flashVars, CP_ACP);
  text += L"\nFlash stand-in";
  DrawTextW(dc, text.c_str(), -1, &line, DT_CENTER | DT_TOP);
  SelectObject(dc, old);
  DeleteObject(big);
  DeleteObject(small);
}

STDMETHODIMP EventPoint::QueryInterface(REFIID iid, void** out) {
  if (!out) return E_POINTER;
  if (iid == IID_IUnknown || iid == IID_IConnectionPoint) {
    *out = static_cast<IConnectionPoint*>(this);
    AddRef();
    return S_OK;
  }
  *out = nullptr;
  return E_NOINTERFACE;
}
STDMETHODIMP_(ULONG) EventPoint::AddRef() { return m_owner.AddRef(); }
STDMETHODIMP_(ULONG) EventPoint::Release() { return m_owner.Release(); }
STDMETHODIMP EventPoint::GetConnectionPointContainer(IConnectionPointContainer** container) {
  if (!container) return E_POINTER;
  *container = &m_owner;
  m_owner.AddRef();
  return S_OK;
}

LRESULT CALLBACK MovieWindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_NCCREATE)
    SetWindowLongPtrA(window, GWLP_USERDATA,
                      reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams));
  auto* control = reinterpret_cast<Control*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (msg == WM_PAINT) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);
    if (control) control->Paint(window, dc);
    EndPaint(window, &ps);
    return 0;
  }
  if (msg == WM_ERASEBKGND) return 1;
  return DefWindowProcA(window, msg, wParam, lParam);
}

class Factory : public IClassFactory {
 public:
  STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IClassFactory) {
      *out = static_cast<IClassFactory*>(this);
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return 2; }
  STDMETHODIMP_(ULONG) Release() override { return 1; }
  STDMETHODIMP CreateInstance(IUnknown* outer, REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    Control* control = new Control;
    const HRESULT hr = control->QueryInterface(iid, out);
    control->Release();
    return hr;
  }
  STDMETHODIMP LockServer(BOOL lock) override {
    lock ? ++g_locks : --g_locks;
    return S_OK;
  }
};
Factory g_factory;

}  // namespace

extern "C" {

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    g_module = instance;
    DisableThreadLibraryCalls(instance);
    WNDCLASSA wc{};
    wc.lpfnWndProc = MovieWindowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.lpszClassName = kWindowClass;
    RegisterClassA(&wc);
  } else if (reason == DLL_PROCESS_DETACH) {
    UnregisterClassA(kWindowClass, instance);
  }
  return TRUE;
}

STDAPI DllGetClassObject(REFCLSID clsid, REFIID iid, void** out) {
  if (clsid != kClsid) return CLASS_E_CLASSNOTAVAILABLE;
  return g_factory.QueryInterface(iid, out);
}

STDAPI DllCanUnloadNow() { return g_objects == 0 && g_locks == 0 ? S_OK : S_FALSE; }

STDAPI DllRegisterServer() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(g_module, path, sizeof path);
  const std::string key = std::string("CLSID\\") + kClsidText + "\\InprocServer32";
  HKEY k = nullptr;
  if (RegCreateKeyExA(HKEY_CLASSES_ROOT, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &k, nullptr) !=
      ERROR_SUCCESS)
    return SELFREG_E_CLASS;
  RegSetValueExA(k, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(path), static_cast<DWORD>(strlen(path) + 1));
  const char model[] = "Apartment";
  RegSetValueExA(k, "ThreadingModel", 0, REG_SZ, reinterpret_cast<const BYTE*>(model), sizeof model);
  RegCloseKey(k);
  return S_OK;
}

STDAPI DllUnregisterServer() {
  const std::string key = std::string("CLSID\\") + kClsidText;
  RegDeleteKeyA(HKEY_CLASSES_ROOT, (key + "\\InprocServer32").c_str());
  RegDeleteKeyA(HKEY_CLASSES_ROOT, key.c_str());
  return S_OK;
}

}  // extern "C"
