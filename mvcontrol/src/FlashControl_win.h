#pragma once
// The Flash control inside the movie dialog: created once with the dialog,
// activated in place as the dialog's child (id 201), driven through its
// dispatch members by their fixed DISPIDs, and heard through its event
// interface for FSCommand. UI thread only (the control is apartment-threaded).
#include <windows.h>
#include <ocidl.h>

#include <functional>
#include <string>

#include "shared/ControlSite_win.h"
#include "shared/Ownership.h"

namespace mvcontrol {

class FlashControl {
 public:
  using CommandFn = std::function<void(const std::string& command, const std::string& args)>;

  FlashControl(HWND dialog, int id, std::string logPath, CommandFn onCommand);
  ~FlashControl();
  FlashControl(const FlashControl&) = delete;
  FlashControl& operator=(const FlashControl&) = delete;

  // Creates and shows the control at the rectangle; false (logged) when
  // there is no Flash control or it cannot be shown.
  bool Create(const RECT& rect);
  void Destroy();
  void Move(const RECT& rect);
  HWND Window() const { return m_window; }

  // FlashVars, then Movie, then Play; false when one of them fails.
  bool Load(const std::string& movie, const std::string& flashVars);

 private:
  HRESULT PutText(DISPID id, const std::string& text);
  HRESULT CallPlay();
  void Subscribe();

  HWND m_dialog;
  int m_id;
  std::string m_logPath;
  zl::ComPtr<zl::ControlSite> m_site;
  zl::ComPtr<IOleObject> m_object;
  zl::ComPtr<IDispatch> m_dispatch;
  zl::ComPtr<IConnectionPoint> m_point;
  DWORD m_cookie = 0;
  HWND m_window = nullptr;
};

}  // namespace mvcontrol
