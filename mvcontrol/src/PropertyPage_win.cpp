#include "PropertyPage_win.h"

#include <string>

#include "Channel_win.h"
#include "OcxModule_win.h"
#include "resource.h"

namespace mvcontrol {

namespace {

constexpr wchar_t kTitle[] = L"常规";
constexpr SIZE kPageSize{360, 120};

INT_PTR CALLBACK PageProc(HWND, UINT msg, WPARAM, LPARAM) { return msg == WM_INITDIALOG; }

}  // namespace

CZoLyricOCXPropPage::CZoLyricOCXPropPage() { ModuleAddRef(); }

CZoLyricOCXPropPage::~CZoLyricOCXPropPage() {
  m_dialog.Reset();
  ModuleRelease();
}

STDMETHODIMP CZoLyricOCXPropPage::QueryInterface(REFIID iid, void** out) {
  if (!out) return E_POINTER;
  if (iid == IID_IUnknown || iid == IID_IPropertyPage) {
    *out = static_cast<IPropertyPage*>(this);
    AddRef();
    return S_OK;
  }
  *out = nullptr;
  return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) CZoLyricOCXPropPage::AddRef() { return ULONG(InterlockedIncrement(&m_refs)); }

STDMETHODIMP_(ULONG) CZoLyricOCXPropPage::Release() {
  const LONG left = InterlockedDecrement(&m_refs);
  if (left == 0) delete this;
  return ULONG(left);
}

STDMETHODIMP CZoLyricOCXPropPage::SetPageSite(IPropertyPageSite* site) {
  m_site = zl::ComPtr<IPropertyPageSite>::Share(site);
  return S_OK;
}

STDMETHODIMP CZoLyricOCXPropPage::Activate(HWND parent, LPCRECT rect, BOOL) {
  m_dialog.Reset(CreateDialogParamA(Module(), MAKEINTRESOURCEA(IDD_PROPPAGE_ZOLYRICOCX), parent, PageProc, 0));
  if (!m_dialog) return E_FAIL;
  if (rect) Move(rect);
  Fill();
  return S_OK;
}

STDMETHODIMP CZoLyricOCXPropPage::Deactivate() {
  m_dialog.Reset();
  return S_OK;
}

STDMETHODIMP CZoLyricOCXPropPage::GetPageInfo(PROPPAGEINFO* info) {
  if (!info) return E_POINTER;
  info->cb = sizeof *info;
  info->pszTitle = static_cast<LPOLESTR>(CoTaskMemAlloc(sizeof kTitle));
  if (info->pszTitle) memcpy(info->pszTitle, kTitle, sizeof kTitle);
  info->size = kPageSize;
  info->pszDocString = nullptr;
  info->pszHelpFile = nullptr;
  info->dwHelpContext = 0;
  return S_OK;
}

STDMETHODIMP CZoLyricOCXPropPage::SetObjects(ULONG count, IUnknown** objects) {
  m_object = zl::ComPtr<IUnknown>::Share(count > 0 && objects ? objects[0] : nullptr);
  Fill();
  return S_OK;
}

STDMETHODIMP CZoLyricOCXPropPage::Show(UINT command) {
  if (m_dialog) ShowWindow(m_dialog.Get(), int(command));
  return S_OK;
}

STDMETHODIMP CZoLyricOCXPropPage::Move(LPCRECT rect) {
  if (!rect) return E_POINTER;
  if (m_dialog) MoveWindow(m_dialog.Get(), rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top, TRUE);
  return S_OK;
}

STDMETHODIMP CZoLyricOCXPropPage::TranslateAccelerator(MSG* msg) {
  return m_dialog && msg && IsDialogMessageA(m_dialog.Get(), msg) ? S_OK : S_FALSE;
}

void CZoLyricOCXPropPage::Fill() {
  if (!m_dialog) return;
  SetDlgItemTextA(m_dialog.Get(), IDC_PAGE_MOVIE, PlayerMovie().c_str());
  const Channel* channel = Channel::Current();
  std::string pair = "无", state = "空闲";
  if (channel && channel->State().Active()) {
    const ChannelState& s = channel->State();
    pair = std::to_string(s.sign.first) + ", " + std::to_string(s.sign.second);
    state = s.copyComplete ? "已全部复制" : s.moviePlaying ? "正在播放" : s.started ? "正在缓冲" : "正在获取数据";
    state += "（" + std::to_string(s.copiedBlocks) + " 块）";
  }
  SetDlgItemTextA(m_dialog.Get(), IDC_PAGE_CHANNEL, pair.c_str());
  SetDlgItemTextA(m_dialog.Get(), IDC_PAGE_STATE, state.c_str());
}

}  // namespace mvcontrol
