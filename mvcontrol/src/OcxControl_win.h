#pragma once
// CZoLyricOCXCtrl, the web control: an in-process ActiveX control that a
// page's script drives through its dispatch interface. It is activated in
// place in the page's window, shows the movie dialog there and plays the
// process's channel in it. UI thread of the page (apartment-threaded).
#include <windows.h>
#include <ocidl.h>
#include <olectl.h>

#include <memory>
#include <string>

#include "MovieDialog_win.h"
#include "shared/Ownership.h"

namespace mvcontrol {

class CZoLyricOCXCtrl : public IOleObject,
                        public IOleInPlaceObject,
                        public IOleInPlaceActiveObject,
                        public IOleControl,
                        public IViewObject2,
                        public IDispatch,
                        public IPersistStreamInit,
                        public IPersistPropertyBag,
                        public IProvideClassInfo,
                        public ISpecifyPropertyPages {
 public:
  CZoLyricOCXCtrl();
  virtual ~CZoLyricOCXCtrl();
  CZoLyricOCXCtrl(const CZoLyricOCXCtrl&) = delete;
  CZoLyricOCXCtrl& operator=(const CZoLyricOCXCtrl&) = delete;

  // IUnknown
  STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;

  // IOleObject
  STDMETHODIMP SetClientSite(IOleClientSite* site) override;
  STDMETHODIMP GetClientSite(IOleClientSite** site) override;
  STDMETHODIMP SetHostNames(LPCOLESTR, LPCOLESTR) override { return S_OK; }
  STDMETHODIMP Close(DWORD saveOption) override;
  STDMETHODIMP SetMoniker(DWORD, IMoniker*) override { return E_NOTIMPL; }
  STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker**) override { return E_NOTIMPL; }
  STDMETHODIMP InitFromData(IDataObject*, BOOL, DWORD) override { return E_NOTIMPL; }
  STDMETHODIMP GetClipboardData(DWORD, IDataObject**) override { return E_NOTIMPL; }
  STDMETHODIMP DoVerb(LONG verb, LPMSG, IOleClientSite* site, LONG, HWND parent, LPCRECT pos) override;
  STDMETHODIMP EnumVerbs(IEnumOLEVERB** verbs) override;
  STDMETHODIMP Update() override { return S_OK; }
  STDMETHODIMP IsUpToDate() override { return S_OK; }
  STDMETHODIMP GetUserClassID(CLSID* id) override;
  STDMETHODIMP GetUserType(DWORD form, LPOLESTR* type) override;
  STDMETHODIMP SetExtent(DWORD aspect, SIZEL* size) override;
  STDMETHODIMP GetExtent(DWORD aspect, SIZEL* size) override;
  STDMETHODIMP Advise(IAdviseSink* sink, DWORD* connection) override;
  STDMETHODIMP Unadvise(DWORD connection) override;
  STDMETHODIMP EnumAdvise(IEnumSTATDATA** advise) override;
  STDMETHODIMP GetMiscStatus(DWORD aspect, DWORD* status) override;
  STDMETHODIMP SetColorScheme(LOGPALETTE*) override { return E_NOTIMPL; }

  // IOleWindow (of the in-place and the in-place active object)
  STDMETHODIMP GetWindow(HWND* window) override;
  STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
  // IOleInPlaceObject
  STDMETHODIMP InPlaceDeactivate() override;
  STDMETHODIMP UIDeactivate() override;
  STDMETHODIMP SetObjectRects(LPCRECT pos, LPCRECT clip) override;
  STDMETHODIMP ReactivateAndUndo() override { return E_NOTIMPL; }
  // IOleInPlaceActiveObject
  STDMETHODIMP TranslateAccelerator(LPMSG) override { return S_FALSE; }
  STDMETHODIMP OnFrameWindowActivate(BOOL) override { return S_OK; }
  STDMETHODIMP OnDocWindowActivate(BOOL) override { return S_OK; }
  STDMETHODIMP ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL) override { return S_OK; }
  STDMETHODIMP EnableModeless(BOOL) override { return S_OK; }

  // IOleControl
  STDMETHODIMP GetControlInfo(CONTROLINFO* info) override;
  STDMETHODIMP OnMnemonic(MSG*) override { return E_NOTIMPL; }
  STDMETHODIMP OnAmbientPropertyChange(DISPID) override { return S_OK; }
  STDMETHODIMP FreezeEvents(BOOL) override { return S_OK; }

  // IViewObject2
  STDMETHODIMP Draw(DWORD aspect, LONG, void*, DVTARGETDEVICE*, HDC, HDC dc, LPCRECTL bounds, LPCRECTL,
                    BOOL(STDMETHODCALLTYPE*)(ULONG_PTR), ULONG_PTR) override;
  STDMETHODIMP GetColorSet(DWORD, LONG, void*, DVTARGETDEVICE*, HDC, LOGPALETTE**) override { return E_NOTIMPL; }
  STDMETHODIMP Freeze(DWORD, LONG, void*, DWORD*) override { return E_NOTIMPL; }
  STDMETHODIMP Unfreeze(DWORD) override { return E_NOTIMPL; }
  STDMETHODIMP SetAdvise(DWORD aspects, DWORD flags, IAdviseSink* sink) override;
  STDMETHODIMP GetAdvise(DWORD* aspects, DWORD* flags, IAdviseSink** sink) override;
  STDMETHODIMP GetExtent(DWORD aspect, LONG, DVTARGETDEVICE*, LPSIZEL size) override;

  // IDispatch: the page's methods (OcxDispatch_win.cpp)
  STDMETHODIMP GetTypeInfoCount(UINT* count) override;
  STDMETHODIMP GetTypeInfo(UINT index, LCID, ITypeInfo** info) override;
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override;
  STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result, EXCEPINFO*,
                      UINT* badArgument) override;

  // IPersist, IPersistStreamInit, IPersistPropertyBag: the control keeps no properties.
  STDMETHODIMP GetClassID(CLSID* id) override { return GetUserClassID(id); }
  STDMETHODIMP IsDirty() override { return S_FALSE; }
  STDMETHODIMP Load(LPSTREAM) override { return S_OK; }
  STDMETHODIMP Save(LPSTREAM, BOOL) override { return S_OK; }
  STDMETHODIMP GetSizeMax(ULARGE_INTEGER* size) override;
  STDMETHODIMP InitNew() override { return S_OK; }
  STDMETHODIMP Load(IPropertyBag*, IErrorLog*) override { return S_OK; }
  STDMETHODIMP Save(IPropertyBag*, BOOL, BOOL) override { return S_OK; }

  // IProvideClassInfo
  STDMETHODIMP GetClassInfo(ITypeInfo** info) override;
  // ISpecifyPropertyPages
  STDMETHODIMP GetPages(CAUUID* pages) override;

  // The page's methods.
  void SetBaseSwfPath(const std::string& path);
  void SetFlvPath(const std::string& path);
  void PlayChannel(uint32_t sign1, uint32_t sign2);
  void StopChannel(uint32_t sign1, uint32_t sign2);
  void SetWndWidth(uint32_t width);
  void AboutBox();

 private:
  friend bool RegisterControlWindowClass();
  HRESULT InPlaceActivate(IOleClientSite* site, bool uiActivate);
  bool CreateControlWindow(HWND parent, const RECT& pos);
  void DestroyControlWindow();
  HRESULT TypeInfoOf(const GUID& guid, ITypeInfo** info);
  void ShowPropertyFrame();
  static LRESULT CALLBACK WindowProc(HWND, UINT, WPARAM, LPARAM);

  LONG m_refs = 1;
  zl::ComPtr<IOleClientSite> m_site;
  zl::ComPtr<IOleInPlaceSite> m_inPlaceSite;
  zl::ComPtr<IOleInPlaceFrame> m_frame;
  zl::ComPtr<IOleAdviseHolder> m_adviseHolder;
  zl::ComPtr<IAdviseSink> m_viewSink;
  DWORD m_viewAspects = 0, m_viewFlags = 0;
  SIZEL m_extent{};  // HIMETRIC
  bool m_uiActive = false;
  zl::UniqueWindow m_window;
  std::unique_ptr<MovieDialog> m_dialog;
  Channel* m_channel = nullptr;  // attached while the window lives
};

// Registers the control window's class (module start).
bool RegisterControlWindowClass();
void UnregisterControlWindowClass();

}  // namespace mvcontrol
