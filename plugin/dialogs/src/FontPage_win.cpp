// The settings dialog's font page: the lyric font, its two colours and the
// background behind the lyric.
#include <windows.h>

#include <commdlg.h>

#include <cstdlib>

#include "DialogIds.h"
#include "SettingsPages_win.h"
#include "dialogs/DialogRules.h"
#include "dialogs/SettingsRules.h"
#include "shared/GbkText.h"

namespace lyricdlg {
namespace {

class FontPage : public SettingsPageBase {
 public:
  using SettingsPageBase::SettingsPageBase;

  void Load(const zl::LyricSettings& v, bool) override {
    m_font = v.font;
    const int radio = m_font.bktype >= 0 && m_font.bktype <= 3 ? m_font.bktype : 0;
    CheckRadioButton(m_window, IDC_FT_BACK_AUTO, IDC_FT_BACK_NONE, IDC_FT_BACK_AUTO + radio);
    ShowFont();
  }

  bool Read(zl::LyricSettings& v) override {
    for (int kind = 0; kind <= 3; ++kind) {
      if (IsChecked(m_window, IDC_FT_BACK_AUTO + kind)) m_font.bktype = kind;
    }
    v.font = m_font;
    return true;
  }

 protected:
  int TemplateId() const override { return IDD_PAGE_FONT; }
  void Init() override {
    m_texts.Apply(m_window, IDC_FT_GROUP, "LyricFont");
    m_texts.Apply(m_window, IDC_FT_TYPE_LABEL, "LyricFontType");
    m_texts.Apply(m_window, IDC_FT_SELECT, "LyricFontSelect");
    m_texts.Apply(m_window, IDC_FT_COLOR_GROUP, "LyricFontColor");
    m_texts.Apply(m_window, IDC_FT_NORMAL, "LyricFontNormalColor");
    m_texts.Apply(m_window, IDC_FT_HIGHLIGHT, "LyricFontHighlightColor");
    m_texts.Apply(m_window, IDC_FT_BACK_GROUP, "LyricFontBackGroup");
    m_texts.Apply(m_window, IDC_FT_BACK_AUTO, "LyricFontAutoBack");
    m_texts.Apply(m_window, IDC_FT_BACK_PIC, "LyricFontPicBack");
    m_texts.Apply(m_window, IDC_FT_BACK_COLOR, "LyricFontColorBack");
    m_texts.Apply(m_window, IDC_FT_BACK_NONE, "LyricFontNoBack");
    m_texts.Apply(m_window, IDC_FT_BROWSE_PIC, "LyricFontBrowsePic");
    m_texts.Apply(m_window, IDC_FT_BACK_COLOR_BUTTON, "LyricFontBackColorButton");
  }

  INT_PTR OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
    if (msg == WM_CTLCOLORSTATIC) return SwatchBrush(reinterpret_cast<HWND>(lParam));
    if (msg != WM_COMMAND || HIWORD(wParam) != BN_CLICKED) return FALSE;
    switch (LOWORD(wParam)) {
      case IDC_FT_SELECT: ChooseLyricFont(); return TRUE;
      case IDC_FT_NORMAL: ChooseColour(m_font.rgb); return TRUE;
      case IDC_FT_HIGHLIGHT: ChooseColour(m_font.highlightrgb); return TRUE;
      case IDC_FT_BACK_COLOR_BUTTON: ChooseColour(m_font.backcolor); return TRUE;
      case IDC_FT_BROWSE_PIC: ChoosePicture(); return TRUE;
      case IDC_FT_BACK_PIC:
        if (m_font.picpath.empty()) {
          m_font.picpath = settingsdlg::DefaultBackgroundPicture(m_home);
          ShowFont();
        }
        return TRUE;
      default: return FALSE;
    }
  }

 private:
  void ShowFont() {
    const int size = m_font.UserDefineFont ? std::abs(m_font.height) : m_font.lyricSize;
    SetItemText(m_window, IDC_FT_TYPE, m_font.facename + ", " + std::to_string(size));
    SetItemText(m_window, IDC_FT_PIC_PATH, m_font.picpath);
    for (int id : {IDC_FT_NORMAL_SWATCH, IDC_FT_HIGHLIGHT_SWATCH, IDC_FT_BACK_SWATCH})
      InvalidateRect(GetDlgItem(m_window, id), nullptr, TRUE);
  }

  INT_PTR SwatchBrush(HWND control) {
    const int id = GetDlgCtrlID(control);
    int colour = 0;
    zl::UniqueBrush* brush = nullptr;
    if (id == IDC_FT_NORMAL_SWATCH) colour = m_font.rgb, brush = &m_brushes[0];
    else if (id == IDC_FT_HIGHLIGHT_SWATCH) colour = m_font.highlightrgb, brush = &m_brushes[1];
    else if (id == IDC_FT_BACK_SWATCH) colour = m_font.backcolor, brush = &m_brushes[2];
    else return FALSE;
    brush->Reset(CreateSolidBrush(static_cast<COLORREF>(colour)));
    return reinterpret_cast<INT_PTR>(brush->Get());
  }

  void ChooseColour(int& colour) {
    CHOOSECOLORA request{};
    request.lStructSize = sizeof request;
    request.hwndOwner = m_window;
    request.rgbResult = static_cast<COLORREF>(colour);
    request.lpCustColors = m_customColours;
    request.Flags = CC_RGBINIT | CC_FULLOPEN;
    if (!ChooseColorA(&request)) return;
    colour = static_cast<int>(request.rgbResult);
    ShowFont();
  }

  void ChooseLyricFont() {
    LOGFONTA font{};
    font.lfHeight = m_font.UserDefineFont ? m_font.height : -m_font.lyricSize;
    font.lfWeight = m_font.weight;
    font.lfItalic = m_font.italic ? TRUE : FALSE;
    font.lfUnderline = m_font.underline ? TRUE : FALSE;
    font.lfStrikeOut = m_font.strikeout ? TRUE : FALSE;
    font.lfCharSet = GB2312_CHARSET;
    zl::CopyGbkBounded(font.lfFaceName, sizeof font.lfFaceName, m_font.facename.c_str());
    CHOOSEFONTA request{};
    request.lStructSize = sizeof request;
    request.hwndOwner = m_window;
    request.lpLogFont = &font;
    request.Flags = CF_SCREENFONTS | CF_INITTOLOGFONTSTRUCT | CF_EFFECTS;
    request.rgbColors = static_cast<COLORREF>(m_font.rgb);
    if (!ChooseFontA(&request)) return;
    m_font.facename = FieldText(font.lfFaceName);
    m_font.height = font.lfHeight;
    m_font.weight = font.lfWeight;
    m_font.italic = font.lfItalic ? 1 : 0;
    m_font.underline = font.lfUnderline ? 1 : 0;
    m_font.strikeout = font.lfStrikeOut ? 1 : 0;
    m_font.UserDefineFont = true;
    ShowFont();
  }

  void ChoosePicture() {
    char file[MAX_PATH] = {};
    const char filter[] = "jpg Files (*.jpg)\0*.jpg\0";
    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = m_window;
    ofn.lpstrFilter = filter;
    ofn.lpstrFile = file;
    ofn.nMaxFile = sizeof file;
    ofn.lpstrDefExt = "jpg";
    ofn.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_EXPLORER;
    if (!GetOpenFileNameA(&ofn)) return;
    m_font.picpath = file;
    CheckRadioButton(m_window, IDC_FT_BACK_AUTO, IDC_FT_BACK_NONE, IDC_FT_BACK_PIC);
    ShowFont();
  }

  zl::LyricFontSettings m_font;
  zl::UniqueBrush m_brushes[3];
  COLORREF m_customColours[16] = {};
};

}  // namespace

std::unique_ptr<SettingsPageBase> MakeFontPage(const DialogTexts& texts, const std::string& home) {
  return std::make_unique<FontPage>(texts, home);
}

}  // namespace lyricdlg
