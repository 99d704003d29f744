#pragma once
// A stand-in for the web browser that hosts an ActiveX control on a page:
// a top-level window with a child of atl.dll's control-hosting window class
// "AtlAxWin" named by the control's class identifier, as an <object> tag
// names it, and a script's calls through the control's IDispatch, by name
// or by DISPID, with the arguments a script passes (texts as BSTR, numbers
// as VT_I4). UI thread only; OLE must be initialised on it.
#include <windows.h>
#include <oaidl.h>

#include <string>
#include <vector>

#include "shared/Ownership.h"

namespace ocxhost {

struct ScriptValue {
  bool isText = false;
  std::string text;  // system code page
  long number = 0;
  static ScriptValue Text(const std::string& t) { return {true, t, 0}; }
  static ScriptValue Number(long n) { return {false, std::string(), n}; }
};

class Container {
 public:
  // The page's window at (x, y) with the control's host at (10, 10) of
  // hostWidth × hostHeight inside it.
  Container(const std::string& classId, int x, int y, int hostWidth, int hostHeight, const char* title = "OcxPage");
  ~Container();
  Container(const Container&) = delete;
  Container& operator=(const Container&) = delete;

  // The control was made and activated in its host.
  bool Hosted() const { return static_cast<bool>(m_dispatch); }
  HWND Frame() const { return m_frame.Get(); }
  HWND Host() const { return m_host; }
  IDispatch* Dispatch() const { return m_dispatch.Get(); }
  // The control's own window inside the host (null when it has none).
  HWND ControlWindow() const;
  // The first window below the host with this control id (0: none).
  HWND FindChild(int controlId) const;

  HRESULT Call(DISPID id, const std::vector<ScriptValue>& args = {});
  HRESULT CallByName(const std::string& name, const std::vector<ScriptValue>& args = {});
  DISPID IdOf(const std::string& name) const;
  // Ends the page: the host window goes and the control with it.
  void Close();

 private:
  zl::UniqueWindow m_frame;
  HWND m_host = nullptr;
  zl::ComPtr<IDispatch> m_dispatch;
};

// Text of a window in the system code page.
std::string WindowText(HWND window);

}  // namespace ocxhost
