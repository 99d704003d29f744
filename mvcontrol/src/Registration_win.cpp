// Self-registration: the control's class and its property page, the type
// library, and the two categories that mark the control safe for pages.
#include <windows.h>
#include <comcat.h>
#include <olectl.h>

#include <string>

#include "OcxModule_win.h"
#include "ZoLyricOCX.h"
#include "shared/Ownership.h"

namespace {

constexpr const char* kControlClsid = "{D04E2C85-9114-4A46-A04C-9A1DCF98B21E}";
constexpr const char* kPageClsid = "{56D5549A-2E4A-4DAE-92A7-42215B05D123}";
constexpr const char* kLibId = "{64A940FD-0025-4E02-9E45-F24557DB88C1}";
constexpr const char* kProgId = "ZOLYRICOCX.ZoLyricOCXCtrl.1";
constexpr const char* kIndependentProgId = "ZOLYRICOCX.ZoLyricOCXCtrl";
constexpr const char* kControlName = "ZoLyricOCX Control";
constexpr const char* kPageName = "ZoLyricOCX Property Page";
// What a container asks before activating the control (OLEMISC flags).
constexpr const char* kMiscStatus = "131473";

// "Controls that are safely scriptable", "Controls safely initializable from persistent data".
const CATID kSafeForScripting = {0x7DD95801, 0x9882, 0x11CF, {0x9F, 0xA9, 0x00, 0xAA, 0x00, 0x6C, 0x42, 0xC4}};
const CATID kSafeForInitializing = {0x7DD95802, 0x9882, 0x11CF, {0x9F, 0xA9, 0x00, 0xAA, 0x00, 0x6C, 0x42, 0xC4}};

std::string ModulePath() {
  char path[MAX_PATH];
  const DWORD n = GetModuleFileNameA(mvcontrol::Module(), path, MAX_PATH);
  return n > 0 && n < MAX_PATH ? std::string(path, n) : std::string();
}

bool SetKey(const std::string& subKey, const char* valueName, const std::string& value) {
  zl::UniqueRegKey key;
  if (RegCreateKeyExA(HKEY_CLASSES_ROOT, subKey.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, key.Put(), nullptr) !=
      ERROR_SUCCESS)
    return false;
  return RegSetValueExA(key.Get(), valueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                        static_cast<DWORD>(value.size() + 1)) == ERROR_SUCCESS;
}

bool MakeKey(const std::string& subKey) {
  zl::UniqueRegKey key;
  return RegCreateKeyExA(HKEY_CLASSES_ROOT, subKey.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, key.Put(), nullptr) ==
         ERROR_SUCCESS;
}

bool RegisterClasses(const std::string& path) {
  const std::string control = std::string("CLSID\\") + kControlClsid;
  const std::string page = std::string("CLSID\\") + kPageClsid;
  return SetKey(control, nullptr, kControlName) && SetKey(control + "\\InprocServer32", nullptr, path) &&
         SetKey(control + "\\InprocServer32", "ThreadingModel", "Apartment") &&
         SetKey(control + "\\ProgID", nullptr, kProgId) &&
         SetKey(control + "\\VersionIndependentProgID", nullptr, kIndependentProgId) &&
         SetKey(control + "\\TypeLib", nullptr, kLibId) && SetKey(control + "\\Version", nullptr, "1.0") &&
         MakeKey(control + "\\Control") && SetKey(control + "\\MiscStatus", nullptr, "0") &&
         SetKey(control + "\\MiscStatus\\1", nullptr, kMiscStatus) && SetKey(kProgId, nullptr, kControlName) &&
         SetKey(std::string(kProgId) + "\\CLSID", nullptr, kControlClsid) &&
         SetKey(kIndependentProgId, nullptr, kControlName) &&
         SetKey(std::string(kIndependentProgId) + "\\CLSID", nullptr, kControlClsid) &&
         SetKey(std::string(kIndependentProgId) + "\\CurVer", nullptr, kProgId) && SetKey(page, nullptr, kPageName) &&
         SetKey(page + "\\InprocServer32", nullptr, path) &&
         SetKey(page + "\\InprocServer32", "ThreadingModel", "Apartment");
}

void RemoveClasses() {
  RegDeleteTreeA(HKEY_CLASSES_ROOT, (std::string("CLSID\\") + kControlClsid).c_str());
  RegDeleteTreeA(HKEY_CLASSES_ROOT, (std::string("CLSID\\") + kPageClsid).c_str());
  RegDeleteTreeA(HKEY_CLASSES_ROOT, kProgId);
  RegDeleteTreeA(HKEY_CLASSES_ROOT, kIndependentProgId);
}

HRESULT TypeLibRegistration(const std::string& path, bool doRegister) {
  std::wstring wide(path.size() + 1, L'\0');
  if (MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, &wide[0], int(wide.size())) <= 0) return SELFREG_E_TYPELIB;
  zl::ComPtr<ITypeLib> library;
  HRESULT hr = LoadTypeLibEx(wide.c_str(), doRegister ? REGKIND_REGISTER : REGKIND_NONE, library.Put());
  if (FAILED(hr)) return SELFREG_E_TYPELIB;
  if (!doRegister) {
    TLIBATTR* attr = nullptr;
    if (SUCCEEDED(library->GetLibAttr(&attr))) {
      hr = UnRegisterTypeLib(attr->guid, attr->wMajorVerNum, attr->wMinorVerNum, attr->lcid, attr->syskind);
      library->ReleaseTLibAttr(attr);
    }
  }
  return SUCCEEDED(hr) ? S_OK : SELFREG_E_TYPELIB;
}

HRESULT CategoryRegistration(bool doRegister) {
  zl::ComPtr<ICatRegister> categories;
  HRESULT hr = CoCreateInstance(CLSID_StdComponentCategoriesMgr, nullptr, CLSCTX_INPROC_SERVER, IID_ICatRegister,
                                categories.PutVoid());
  if (FAILED(hr)) return hr;
  CATID both[2] = {kSafeForScripting, kSafeForInitializing};
  if (!doRegister) return categories->UnRegisterClassImplCategories(CLSID_ZoLyricOCX, 2, both);
  CATEGORYINFO info[2] = {};
  info[0].catid = kSafeForScripting;
  info[0].lcid = 0x409;
  lstrcpynW(info[0].szDescription, L"Controls that are safely scriptable", 128);
  info[1].catid = kSafeForInitializing;
  info[1].lcid = 0x409;
  lstrcpynW(info[1].szDescription, L"Controls safely initializable from persistent data", 128);
  hr = categories->RegisterCategories(2, info);
  if (SUCCEEDED(hr)) hr = categories->RegisterClassImplCategories(CLSID_ZoLyricOCX, 2, both);
  return hr;
}

}  // namespace

extern "C" HRESULT STDAPICALLTYPE DllRegisterServer() {
  const std::string path = ModulePath();
  if (path.empty()) return SELFREG_E_CLASS;
  zl::ComInit com(COINIT_APARTMENTTHREADED);
  if (!RegisterClasses(path)) {
    RemoveClasses();
    return SELFREG_E_CLASS;
  }
  HRESULT hr = TypeLibRegistration(path, true);
  if (SUCCEEDED(hr) && FAILED(CategoryRegistration(true))) hr = SELFREG_E_CLASS;
  if (FAILED(hr)) {
    CategoryRegistration(false);
    TypeLibRegistration(path, false);
    RemoveClasses();
  }
  return hr;
}

extern "C" HRESULT STDAPICALLTYPE DllUnregisterServer() {
  zl::ComInit com(COINIT_APARTMENTTHREADED);
  CategoryRegistration(false);
  const std::string path = ModulePath();
  if (!path.empty()) TypeLibRegistration(path, false);
  RemoveClasses();
  return S_OK;
}
