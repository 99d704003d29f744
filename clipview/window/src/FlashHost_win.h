#pragma once
// One Flash control inside a host window of the MV dialog: created afresh
// for every page, subscribed to its event interface, given its movie and
// started. Dialog thread only (the control is apartment-threaded).
#include <windows.h>
#include <ocidl.h>

#include <functional>
#include <string>

#include "shared/ControlSite_win.h"
#include "shared/Ownership.h"

namespace clipview {

class FlashHost {
 public:
  // An event of the control: its DISPID and its first argument as text.
  using EventFn = std::function<void(long dispid, const std::string& firstArgument)>;

  FlashHost(HWND host, std::string logPath, EventFn onEvent);
  ~FlashHost();
  FlashHost(const FlashHost&) = delete;
  FlashHost& operator=(const FlashHost&) = delete;

  // (Re)creates the control and plays the movie. False when the page could
  // not be shown (no control, or Movie or Play failed); that is logged and
  // the host stays as it is.
  bool PlayFlash(const std::string& moviePath);
  // Deactivates and releases the control.
  void Destroy();
  // The control to the host's client area.
  void Resize();

  HWND Host() const { return m_host; }
  // The control's automation face (null without a control).
  IDispatch* Dispatch() const { return m_dispatch.Get(); }
  const std::string& Movie() const { return m_movie; }
  bool HasControl() const { return static_cast<bool>(m_object); }

 private:
  bool Subscribe();
  HRESULT Invoke(const wchar_t* name, WORD flags, const wchar_t* text, EXCEPINFO& error);

  HWND m_host;
  std::string m_logPath;
  std::string m_movie;
  zl::ComPtr<zl::ControlSite> m_site;
  zl::ComPtr<IOleObject> m_object;
  zl::ComPtr<IDispatch> m_dispatch;
  zl::ComPtr<IConnectionPoint> m_point;
  DWORD m_cookie = 0;
};

// The Flash control's class identifier.
extern const CLSID CLSID_ShockwaveFlash;
constexpr char kFlashClsidText[] = "{D27CDB6E-AE6D-11cf-96B8-444553540000}";

}  // namespace clipview
