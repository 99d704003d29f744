#include "shared/ControlSite_win.h"

namespace zl {

namespace {

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

ComPtr<ControlSite> ControlSite::Make(HWND host, EventFn onEvent) {
  return ComPtr<ControlSite>::Attach(new ControlSite(host, std::move(onEvent)));
}

STDMETHODIMP ControlSite::QueryInterface(REFIID iid, void** out) {
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

STDMETHODIMP_(ULONG) ControlSite::Release() {
  const ULONG left = --m_refs;
  if (left == 0) delete this;
  return left;
}

STDMETHODIMP ControlSite::GetContainer(IOleContainer** container) {
  if (container) *container = nullptr;
  return E_NOINTERFACE;
}

STDMETHODIMP ControlSite::GetWindow(HWND* window) {
  if (!window) return E_POINTER;
  *window = m_host;
  return S_OK;
}

STDMETHODIMP ControlSite::GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** doc, LPRECT pos,
                                           LPRECT clip, LPOLEINPLACEFRAMEINFO info) {
  if (frame) {
    *frame = this;
    AddRef();
  }
  if (doc) *doc = nullptr;
  RECT r = m_rect;
  if (!m_hasRect) GetClientRect(m_host, &r);
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

STDMETHODIMP ControlSite::GetTypeInfoCount(UINT* count) {
  if (count) *count = 0;
  return S_OK;
}

STDMETHODIMP ControlSite::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*, UINT*) {
  if (!m_onEvent) return S_OK;
  std::vector<std::string> args;
  if (params)  // they arrive last first
    for (UINT i = params->cArgs; i > 0; --i) args.push_back(Text(params->rgvarg[i - 1]));
  // The handler may take the control and its owner down: the site and the
  // handler stay alive until it returns.
  AddRef();
  const EventFn handler = m_onEvent;
  handler(id, args);
  Release();
  return S_OK;
}

void CloseInPlaceControl(ComPtr<IOleObject>& object, ComPtr<IConnectionPoint>& events, DWORD& cookie) {
  if (events) {
    events->Unadvise(cookie);
    events.Reset();
    cookie = 0;
  }
  if (!object) return;
  ComPtr<IOleInPlaceObject> inPlace;
  if (SUCCEEDED(object.As(IID_IOleInPlaceObject, inPlace))) inPlace->InPlaceDeactivate();
  object->Close(OLECLOSE_NOSAVE);
  object->SetClientSite(nullptr);
  object.Reset();
}

}  // namespace zl
