// The control's dispatch interface: what a page's script may call.
#include <new>

#include "Channel_win.h"
#include "OcxControl_win.h"
#include "OcxModule_win.h"
#include "ZoLyricOCX.h"
#include "mvcontrol/ControlRules.h"
#include "resource.h"
#include "shared/Logger.h"

namespace mvcontrol {

namespace {

constexpr const char* kTag = "ZoLyricOCX";

enum : DISPID {
  kDispSetBaseSwfPath = 198101,
  kDispSetFlvPath = 198102,
  kDispPlayChannel = 198103,
  kDispStopChannel = 198104,
  kDispPlayChannel2 = 198105,
  kDispStopChannel2 = 198106,
  kDispSetWndWidth = 198107,
};

// The string argument at `position` (0 first) in the system code page.
HRESULT TextArgument(DISPPARAMS* params, UINT position, std::string& text, UINT* bad) {
  VARIANT v;
  VariantInit(&v);
  const HRESULT hr = DispGetParam(params, position, VT_BSTR, &v, bad);
  if (FAILED(hr)) return hr;
  text.clear();
  if (v.bstrVal) {
    const int n = WideCharToMultiByte(CP_ACP, 0, v.bstrVal, -1, nullptr, 0, nullptr, nullptr);
    if (n > 1) {
      text.resize(size_t(n - 1));
      WideCharToMultiByte(CP_ACP, 0, v.bstrVal, -1, &text[0], n, nullptr, nullptr);
    }
  }
  VariantClear(&v);
  return S_OK;
}

// An unsigned 32-bit argument; a script's number may come as any numeric
// type, and a negative one wraps as a C caller's would.
HRESULT NumberArgument(DISPPARAMS* params, UINT position, uint32_t& number, UINT* bad) {
  VARIANT v;
  VariantInit(&v);
  const HRESULT hr = DispGetParam(params, position, VT_I8, &v, bad);
  if (FAILED(hr)) return hr;
  number = uint32_t(uint64_t(v.llVal));
  return S_OK;
}

// A file a page names: the form the rules accept, on a drive of this
// machine, and there.
bool IsLocalPageFile(const std::string& path, const char* extension) {
  if (!IsAcceptablePagePath(path, extension)) return false;
  const char root[4] = {path[0], ':', '\\', '\0'};
  const UINT drive = GetDriveTypeA(root);
  if (drive == DRIVE_REMOTE || drive == DRIVE_NO_ROOT_DIR || drive == DRIVE_UNKNOWN) return false;
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

INT_PTR CALLBACK AboutProc(HWND dialog, UINT msg, WPARAM wp, LPARAM) {
  if (msg == WM_INITDIALOG) return TRUE;
  if (msg == WM_COMMAND && (LOWORD(wp) == IDOK || LOWORD(wp) == IDCANCEL)) {
    EndDialog(dialog, LOWORD(wp));
    return TRUE;
  }
  return FALSE;
}

}  // namespace

HRESULT CZoLyricOCXCtrl::TypeInfoOf(const GUID& guid, ITypeInfo** info) {
  if (!info) return E_POINTER;
  *info = nullptr;
  wchar_t path[MAX_PATH];
  const DWORD n = GetModuleFileNameW(Module(), path, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return E_FAIL;
  zl::ComPtr<ITypeLib> library;
  const HRESULT hr = LoadTypeLibEx(path, REGKIND_NONE, library.Put());
  if (FAILED(hr)) return hr;
  return library->GetTypeInfoOfGuid(guid, info);
}

STDMETHODIMP CZoLyricOCXCtrl::GetTypeInfoCount(UINT* count) {
  if (!count) return E_POINTER;
  *count = 1;
  return S_OK;
}

STDMETHODIMP CZoLyricOCXCtrl::GetTypeInfo(UINT index, LCID, ITypeInfo** info) {
  if (index != 0) return DISP_E_BADINDEX;
  return TypeInfoOf(DIID__DZoLyricOCX, info);
}

STDMETHODIMP CZoLyricOCXCtrl::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
  zl::ComPtr<ITypeInfo> info;
  const HRESULT hr = TypeInfoOf(DIID__DZoLyricOCX, info.Put());
  if (FAILED(hr)) return hr;
  return DispGetIDsOfNames(info.Get(), names, count, ids);
}

STDMETHODIMP CZoLyricOCXCtrl::GetClassInfo(ITypeInfo** info) { return TypeInfoOf(CLSID_ZoLyricOCX, info); }

STDMETHODIMP CZoLyricOCXCtrl::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                     EXCEPINFO*, UINT* bad) {
  if (!(flags & DISPATCH_METHOD)) return DISP_E_MEMBERNOTFOUND;
  if (!params) return E_INVALIDARG;
  if (result) VariantInit(result);
  // Nothing thrown may reach the page's script engine.
  try {
    std::string a, b;
    uint32_t x = 0, y = 0;
    HRESULT hr = S_OK;
    switch (id) {
      case kDispSetBaseSwfPath:
      case kDispSetFlvPath:
        if (FAILED(hr = TextArgument(params, 0, a, bad))) return hr;
        id == kDispSetBaseSwfPath ? SetBaseSwfPath(a) : SetFlvPath(a);
        return S_OK;
      case kDispPlayChannel:
      case kDispStopChannel:
        if (FAILED(hr = NumberArgument(params, 0, x, bad)) || FAILED(hr = NumberArgument(params, 1, y, bad))) return hr;
        id == kDispPlayChannel ? PlayChannel(x, y) : StopChannel(x, y);
        return S_OK;
      case kDispPlayChannel2:
      case kDispStopChannel2:
        if (FAILED(hr = TextArgument(params, 0, a, bad)) || FAILED(hr = TextArgument(params, 1, b, bad))) return hr;
        id == kDispPlayChannel2 ? PlayChannel(SignFromText(a), SignFromText(b))
                                : StopChannel(SignFromText(a), SignFromText(b));
        return S_OK;
      case kDispSetWndWidth:
        if (FAILED(hr = NumberArgument(params, 0, x, bad))) return hr;
        SetWndWidth(x);
        return S_OK;
      case DISPID_ABOUTBOX:
        AboutBox();
        return S_OK;
      default:
        return DISP_E_MEMBERNOTFOUND;
    }
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  } catch (...) {
    return E_FAIL;
  }
}

void CZoLyricOCXCtrl::SetBaseSwfPath(const std::string& path) {
  if (!IsLocalPageFile(path, "swf")) {
    LogWrite(Paths().logPath.c_str(), LOG_FATAL, kTag, "SetBaseSwfPath refused %s", path.c_str());
    return;
  }
  SetPlayerMovie(path);
}

void CZoLyricOCXCtrl::SetFlvPath(const std::string& path) {
  if (!IsLocalPageFile(path, "flv")) {
    LogWrite(Paths().logPath.c_str(), LOG_FATAL, kTag, "SetFlvPath refused %s", path.c_str());
    return;
  }
  if (m_channel) m_channel->PlayFile(path, m_dialog.get());
}

void CZoLyricOCXCtrl::AboutBox() {
  DialogBoxParamA(Module(), MAKEINTRESOURCEA(IDD_ABOUTBOX_ZOLYRICOCX), m_window ? m_window.Get() : nullptr,
                  AboutProc, 0);
}

}  // namespace mvcontrol
