// The settings pages' common part, the network page and the about page.
#include "SettingsPages_win.h"

#include "DialogIds.h"
#include "dialogs/SettingsRules.h"
#include "shared/InstallHome.h"

namespace lyricdlg {

bool SettingsPageBase::Create(HWND parent, const RECT& area) {
  m_window = CreateDialogParamA(ResourceModule(), MAKEINTRESOURCEA(TemplateId()), parent,
                                &SettingsPageBase::Procedure, reinterpret_cast<LPARAM>(this));
  if (!m_window) return false;
  SetWindowPos(m_window, nullptr, area.left, area.top, area.right - area.left, area.bottom - area.top,
               SWP_NOZORDER | SWP_NOACTIVATE);
  return true;
}

INT_PTR CALLBACK SettingsPageBase::Procedure(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_INITDIALOG) {
    SetWindowLongPtrA(window, DWLP_USER, lParam);
    auto* page = reinterpret_cast<SettingsPageBase*>(lParam);
    page->m_window = window;
    try {
      page->Init();
    } catch (...) {
    }
    return TRUE;
  }
  auto* page = reinterpret_cast<SettingsPageBase*>(GetWindowLongPtrA(window, DWLP_USER));
  if (!page) return FALSE;
  INT_PTR handled = FALSE;
  try {
    handled = page->OnMessage(msg, wParam, lParam);
  } catch (...) {
    handled = FALSE;
  }
  if (msg == WM_NCDESTROY) {
    page->m_window = nullptr;
    SetWindowLongPtrA(window, DWLP_USER, 0);
  }
  return handled;
}

namespace {

// The proxy keys and the save path are read back into 128-byte buffers.
constexpr WPARAM kShortTextLimit = 127;

class NetworkPage : public SettingsPageBase {
 public:
  using SettingsPageBase::SettingsPageBase;

  void Load(const zl::LyricSettings& v, bool) override {
    const int choice = settingsdlg::ConnectionChoice(v.ConType);
    CheckRadioButton(m_window, IDC_NW_DIRECT, IDC_NW_OWN, IDC_NW_DIRECT + choice);
    SetItemText(m_window, IDC_NW_SERVER, v.ProxyServer);
    SetItemText(m_window, IDC_NW_PORT, v.ProxyPort);
    SetItemText(m_window, IDC_NW_USER, v.UserName);
    SetItemText(m_window, IDC_NW_PASSWORD, v.Password);
    SetItemText(m_window, IDC_NW_RETRY, std::to_string(v.RetryTime));
    EnableProxyFields();
  }

  bool Read(zl::LyricSettings& v) override {
    int seconds = 0;
    if (!settingsdlg::ParseRetryTime(GetItemText(m_window, IDC_NW_RETRY), seconds)) {
      MessageBeep(MB_ICONWARNING);
      m_fault = GetDlgItem(m_window, IDC_NW_RETRY);
      return false;
    }
    SetItemText(m_window, IDC_NW_RETRY, std::to_string(seconds));
    v.RetryTime = seconds;
    v.ConType = settingsdlg::ConTypeForChoice(Choice());
    v.ProxyServer = GetItemText(m_window, IDC_NW_SERVER);
    v.ProxyPort = GetItemText(m_window, IDC_NW_PORT);
    v.UserName = GetItemText(m_window, IDC_NW_USER);
    v.Password = GetItemText(m_window, IDC_NW_PASSWORD);
    return true;
  }

 protected:
  int TemplateId() const override { return IDD_PAGE_NETWORK; }
  void Init() override {
    m_texts.Apply(m_window, IDC_NW_PROXY_GROUP, "Proxy");
    m_texts.Apply(m_window, IDC_NW_DIRECT, "NotUseProxy");
    m_texts.Apply(m_window, IDC_NW_BROWSER, "UseInternetExplorerProxy");
    m_texts.Apply(m_window, IDC_NW_OWN, "UsePersonalProxy");
    m_texts.Apply(m_window, IDC_NW_SERVER_LABEL, "Server");
    m_texts.Apply(m_window, IDC_NW_PORT_LABEL, "Port");
    m_texts.Apply(m_window, IDC_NW_USER_LABEL, "UserName");
    m_texts.Apply(m_window, IDC_NW_PASSWORD_LABEL, "Password");
    m_texts.Apply(m_window, IDC_NW_TIMEOUT_GROUP, "TimeOutSet");
    m_texts.Apply(m_window, IDC_NW_TIMEOUT_NOTE, "TimeOutSetDescription");
    m_texts.Apply(m_window, IDC_NW_RETRY_LABEL, "RetryWaitTime");
    m_texts.Apply(m_window, IDC_NW_RETRY_RANGE, "SecondWithRange");
    for (int id : {IDC_NW_SERVER, IDC_NW_PORT, IDC_NW_USER, IDC_NW_PASSWORD})
      SendDlgItemMessageA(m_window, id, EM_LIMITTEXT, kShortTextLimit, 0);
    SendDlgItemMessageA(m_window, IDC_NW_RETRY, EM_LIMITTEXT, 11, 0);
  }
  INT_PTR OnMessage(UINT msg, WPARAM wParam, LPARAM) override {
    if (msg == WM_COMMAND && HIWORD(wParam) == BN_CLICKED && LOWORD(wParam) >= IDC_NW_DIRECT &&
        LOWORD(wParam) <= IDC_NW_OWN) {
      EnableProxyFields();
      return TRUE;
    }
    return FALSE;
  }

 private:
  int Choice() const {
    if (IsChecked(m_window, IDC_NW_DIRECT)) return 0;
    if (IsChecked(m_window, IDC_NW_BROWSER)) return 1;
    return 2;
  }
  void EnableProxyFields() {
    const bool own = Choice() == 2;
    for (int id : {IDC_NW_SERVER, IDC_NW_PORT, IDC_NW_USER, IDC_NW_PASSWORD}) EnableItem(m_window, id, own);
  }
};

// The browser's link colours.
uint32_t BrowserColor(const char* value, uint32_t fallback) {
  char text[64] = {};
  DWORD size = sizeof text - 1;
  if (RegGetValueA(HKEY_CURRENT_USER, "Software\\Microsoft\\Internet Explorer\\Settings", value, RRF_RT_REG_SZ,
                   nullptr, text, &size) != ERROR_SUCCESS)
    return fallback;
  return settingsdlg::ParseAnchorColor(text, fallback);
}

class AboutPage : public SettingsPageBase {
 public:
  using SettingsPageBase::SettingsPageBase;
  void Load(const zl::LyricSettings&, bool) override {}
  bool Read(zl::LyricSettings&) override { return true; }

 protected:
  int TemplateId() const override { return IDD_PAGE_ABOUT; }
  void Init() override {
    m_texts.Apply(m_window, IDC_AB_TITLE, "ConfigAbout");
    m_texts.Apply(m_window, IDC_AB_INTRO, "Introduction");
    m_texts.Apply(m_window, IDC_AB_HOME, "AmbrelIndexPage");
    m_texts.Apply(m_window, IDC_AB_FORUM, "LyricForum");
    SetItemText(m_window, IDC_AB_VERSION, VersionLine());
    m_linkColor = BrowserColor("Anchor Color", RGB(0, 0, 255));
    m_visitedColor = BrowserColor("Anchor Color Visited", RGB(128, 0, 128));
    LOGFONTA font{};
    HFONT dialogFont = reinterpret_cast<HFONT>(SendMessageA(m_window, WM_GETFONT, 0, 0));
    if (dialogFont && GetObjectA(dialogFont, sizeof font, &font)) {
      font.lfUnderline = TRUE;
      m_linkFont.Reset(CreateFontIndirectA(&font));
      for (int id : {IDC_AB_HOME, IDC_AB_FORUM})
        SendDlgItemMessageA(m_window, id, WM_SETFONT, reinterpret_cast<WPARAM>(m_linkFont.Get()), FALSE);
    }
  }
  INT_PTR OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
    switch (msg) {
      case WM_CTLCOLORSTATIC: {
        const int id = GetDlgCtrlID(reinterpret_cast<HWND>(lParam));
        if (id != IDC_AB_HOME && id != IDC_AB_FORUM) return FALSE;
        HDC dc = reinterpret_cast<HDC>(wParam);
        const bool visited = id == IDC_AB_HOME ? m_homeVisited : m_forumVisited;
        SetTextColor(dc, visited ? m_visitedColor : m_linkColor);
        SetBkMode(dc, TRANSPARENT);
        return reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_BTNFACE));
      }
      case WM_SETCURSOR: {
        const int id = GetDlgCtrlID(reinterpret_cast<HWND>(wParam));
        if (id != IDC_AB_HOME && id != IDC_AB_FORUM) return FALSE;
        SetCursor(LoadCursorA(nullptr, MAKEINTRESOURCEA(32649)));  // IDC_HAND
        SetWindowLongPtrA(m_window, DWLP_MSGRESULT, TRUE);
        return TRUE;
      }
      case WM_COMMAND:
        if (HIWORD(wParam) == STN_CLICKED && (LOWORD(wParam) == IDC_AB_HOME || LOWORD(wParam) == IDC_AB_FORUM)) {
          const bool home = LOWORD(wParam) == IDC_AB_HOME;
          const std::string url = m_texts(home ? "urlHome" : "urlForum");
          if (!url.empty()) OpenBrowserPageAsync(url.c_str());
          (home ? m_homeVisited : m_forumVisited) = true;
          InvalidateRect(GetDlgItem(m_window, LOWORD(wParam)), nullptr, TRUE);
          return TRUE;
        }
        return FALSE;
      default: return FALSE;
    }
  }

 private:
  std::string VersionLine() const {
    char version[128] = {};
    ReadConfigVersion(version, sizeof version);
    WIN32_FILE_ATTRIBUTE_DATA data{};
    FILETIME local{};
    SYSTEMTIME when{};
    const bool hasDate = !m_home.empty() &&
                         GetFileAttributesExA((m_home + "\\face\\pub.img").c_str(), GetFileExInfoStandard, &data) &&
                         FileTimeToLocalFileTime(&data.ftLastWriteTime, &local) &&
                         FileTimeToSystemTime(&local, &when);
    return settingsdlg::AboutVersionLine(version, hasDate, when.wYear, when.wMonth);
  }

  uint32_t m_linkColor = 0;
  uint32_t m_visitedColor = 0;
  bool m_homeVisited = false;
  bool m_forumVisited = false;
  zl::UniqueFont m_linkFont;
};

}  // namespace

std::unique_ptr<SettingsPageBase> MakeNetworkPage(const DialogTexts& texts, const std::string& home) {
  return std::make_unique<NetworkPage>(texts, home);
}
std::unique_ptr<SettingsPageBase> MakeAboutPage(const DialogTexts& texts, const std::string& home) {
  return std::make_unique<AboutPage>(texts, home);
}

}  // namespace lyricdlg
