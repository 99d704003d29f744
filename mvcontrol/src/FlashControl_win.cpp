#include "FlashControl_win.h"

#include <vector>

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

}  // namespace

FlashControl::FlashControl(HWND dialog, int id, std::string logPath, CommandFn onCommand)
    : m_dialog(dialog),
      m_id(id),
      m_logPath(std::move(logPath)),
      m_site(zl::ControlSite::Make(
          dialog, [onCommand = std::move(onCommand)](DISPID event, const std::vector<std::string>& args) {
            // Only FSCommand(command, args) matters.
            if (event != kDispFSCommand || args.empty() || !onCommand) return;
            onCommand(args[0], args.size() > 1 ? args[1] : std::string());
          })) {}

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
  m_dispatch.Reset();
  zl::CloseInPlaceControl(m_object, m_point, m_cookie);
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
