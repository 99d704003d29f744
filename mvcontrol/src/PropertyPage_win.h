#pragma once
// CZoLyricOCXPropPage, the control's property page: what the process's
// channel is doing (the player movie, the channel's pair, its copy). The
// control has no properties to change, so the page only shows.
#include <windows.h>
#include <ocidl.h>

#include "shared/Ownership.h"

namespace mvcontrol {

class CZoLyricOCXPropPage : public IPropertyPage {
 public:
  CZoLyricOCXPropPage();
  virtual ~CZoLyricOCXPropPage();
  CZoLyricOCXPropPage(const CZoLyricOCXPropPage&) = delete;
  CZoLyricOCXPropPage& operator=(const CZoLyricOCXPropPage&) = delete;

  STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;

  STDMETHODIMP SetPageSite(IPropertyPageSite* site) override;
  STDMETHODIMP Activate(HWND parent, LPCRECT rect, BOOL modal) override;
  STDMETHODIMP Deactivate() override;
  STDMETHODIMP GetPageInfo(PROPPAGEINFO* info) override;
  STDMETHODIMP SetObjects(ULONG count, IUnknown** objects) override;
  STDMETHODIMP Show(UINT command) override;
  STDMETHODIMP Move(LPCRECT rect) override;
  STDMETHODIMP IsPageDirty() override { return S_FALSE; }
  STDMETHODIMP Apply() override { return S_OK; }
  STDMETHODIMP Help(LPCOLESTR) override { return E_NOTIMPL; }
  STDMETHODIMP TranslateAccelerator(MSG* msg) override;

 private:
  void Fill();

  LONG m_refs = 1;
  zl::ComPtr<IPropertyPageSite> m_site;
  zl::ComPtr<IUnknown> m_object;
  zl::UniqueWindow m_dialog;
};

}  // namespace mvcontrol
