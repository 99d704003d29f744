#include "OcxContainer_win.h"

namespace ocxhost {

namespace {

constexpr char kFrameClass[] = "OcxPageFrame";

std::wstring Wide(const std::string& s) {
  const int n = MultiByteToWideChar(CP_ACP, 0, s.c_str(), -1, nullptr, 0);
  std::wstring w(n > 0 ? n - 1 : 0, L'\0');
  if (n > 1) MultiByteToWideChar(CP_ACP, 0, s.c_str(), -1, &w[0], n);
  return w;
}

// atl.dll stays loaded for the process, its hosting window class
// registered once: the class would otherwise outlive its code, and a second
// registration fails.
HMODULE AtlLibrary() {
  static HMODULE atl = [] {
    HMODULE module = LoadLibraryA("atl.dll");
    using InitFn = BOOL(WINAPI*)();
    auto init = module ? reinterpret_cast<InitFn>(reinterpret_cast<void*>(GetProcAddress(module, "AtlAxWinInit")))
                       : nullptr;
    return init && init() ? module : nullptr;
  }();
  return atl;
}

struct ChildSearch {
  int id;
  HWND found;
};

BOOL CALLBACK FindById(HWND window, LPARAM p) {
  auto* search = reinterpret_cast<ChildSearch*>(p);
  if (GetDlgCtrlID(window) != search->id) return TRUE;
  search->found = window;
  return FALSE;
}

}  // namespace

std::string WindowText(HWND window) {
  char text[1024] = {};
  GetWindowTextA(window, text, sizeof text);
  return text;
}

Container::Container(const std::string& classId, int x, int y, int hostWidth, int hostHeight, const char* title) {
  HMODULE atl = AtlLibrary();
  if (!atl) return;
  using GetControlFn = HRESULT(WINAPI*)(HWND, IUnknown**);
  auto getControl =
      reinterpret_cast<GetControlFn>(reinterpret_cast<void*>(GetProcAddress(atl, "AtlAxGetControl")));
  if (!getControl) return;

  WNDCLASSA wc{};
  wc.lpfnWndProc = DefWindowProcA;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  wc.lpszClassName = kFrameClass;
  RegisterClassA(&wc);
  m_frame.Reset(CreateWindowExA(0, kFrameClass, title, WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, x, y, hostWidth + 20,
                                hostHeight + 20, nullptr, nullptr, wc.hInstance, nullptr));
  if (!m_frame) return;
  // The window's text names the control, as a page's <object classid=...>.
  m_host = CreateWindowExW(0, L"AtlAxWin", Wide(classId).c_str(), WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 10, 10,
                           hostWidth, hostHeight, m_frame.Get(), nullptr, wc.hInstance, nullptr);
  if (!m_host) return;
  zl::ComPtr<IUnknown> control;
  if (FAILED(getControl(m_host, control.Put())) || !control) return;
  control.As(IID_IDispatch, m_dispatch);
}

Container::~Container() { Close(); }

void Container::Close() {
  m_dispatch.Reset();
  if (m_host) DestroyWindow(m_host);
  m_host = nullptr;
  m_frame.Reset();
}

HWND Container::ControlWindow() const { return m_host ? GetWindow(m_host, GW_CHILD) : nullptr; }

HWND Container::FindChild(int controlId) const {
  ChildSearch search{controlId, nullptr};
  if (m_host) EnumChildWindows(m_host, FindById, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

DISPID Container::IdOf(const std::string& name) const {
  if (!m_dispatch) return DISPID_UNKNOWN;
  std::wstring wide = Wide(name);
  LPOLESTR names[1] = {&wide[0]};
  DISPID id = DISPID_UNKNOWN;
  return SUCCEEDED(m_dispatch->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id)) ? id : DISPID_UNKNOWN;
}

HRESULT Container::CallByName(const std::string& name, const std::vector<ScriptValue>& args) {
  const DISPID id = IdOf(name);
  return id == DISPID_UNKNOWN ? DISP_E_UNKNOWNNAME : Call(id, args);
}

HRESULT Container::Call(DISPID id, const std::vector<ScriptValue>& args) {
  if (!m_dispatch) return E_POINTER;
  // A script engine passes the arguments last first.
  std::vector<VARIANT> values(args.size());
  for (size_t i = 0; i < args.size(); ++i) {
    VARIANT& v = values[args.size() - 1 - i];
    VariantInit(&v);
    if (args[i].isText) {
      v.vt = VT_BSTR;
      v.bstrVal = SysAllocString(Wide(args[i].text).c_str());
    } else {
      v.vt = VT_I4;
      v.lVal = args[i].number;
    }
  }
  DISPPARAMS params{values.empty() ? nullptr : values.data(), nullptr, UINT(values.size()), 0};
  VARIANT result;
  VariantInit(&result);
  EXCEPINFO error{};
  UINT bad = 0;
  const HRESULT hr = m_dispatch->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD | DISPATCH_PROPERTYGET,
                                        &params, &result, &error, &bad);
  VariantClear(&result);
  for (VARIANT& v : values) VariantClear(&v);
  SysFreeString(error.bstrDescription);
  SysFreeString(error.bstrSource);
  SysFreeString(error.bstrHelpFile);
  return hr;
}

}  // namespace ocxhost
