// The adjust-time dialog: one signed number of milliseconds with a spin
// control; every change is checked and a refused one is taken back.
#include <windows.h>

#include <commctrl.h>

#include "DialogCommon_win.h"
#include "DialogIds.h"
#include "LyricDialogBoxes_win.h"

namespace lyricdlg {
namespace {

class AdjustTimeDialog : public ModalDialog {
 public:
  explicit AdjustTimeDialog(const std::string& home) : m_texts(home) {}
  int value = 0;

 protected:
  INT_PTR OnMessage(UINT msg, WPARAM wParam, LPARAM) override {
    if (msg == WM_INITDIALOG) {
      Init();
      return TRUE;
    }
    if (msg != WM_COMMAND) return FALSE;
    const int id = LOWORD(wParam);
    if (id == IDC_AT_VALUE && HIWORD(wParam) == EN_CHANGE && !m_quiet) {
      OnChange();
    } else if (id == IDOK || id == IDCANCEL) {
      EndDialog(m_window, id);
    }
    return TRUE;
  }

 private:
  void Init() {
    m_texts.Apply(m_window, 0, "AdjustTime");
    m_texts.Apply(m_window, IDC_AT_PROMPT, "PleaseInputTheAdjustLyricTime");
    m_texts.Apply(m_window, IDC_AT_NOTE, "NegativeMeansAhead");
    m_texts.Apply(m_window, IDC_AT_UNIT, "MilliSecond");
    m_texts.Apply(m_window, IDOK, "Submit");
    m_texts.Apply(m_window, IDCANCEL, "Cancel");
    SendDlgItemMessageA(m_window, IDC_AT_SPIN, UDM_SETRANGE32, static_cast<WPARAM>(-kAdjustLimitMs),
                        static_cast<LPARAM>(kAdjustLimitMs));
    SendDlgItemMessageA(m_window, IDC_AT_SPIN, UDM_SETPOS32, 0, 0);
    Show("0");
  }

  void OnChange() {
    const std::string text = GetItemText(m_window, IDC_AT_VALUE);
    const AdjustInput input = CheckAdjustInput(text);
    if (input.verdict != AdjustInput::Accept) {
      const char* key = input.verdict == AdjustInput::TooLong ? "InputDataTooLong" : "InputDataInvalidate";
      ShowMessage(m_window, m_texts("Warning"), m_texts(key));
      Show(m_previous);
      return;
    }
    value = input.value;
    if (input.text != text) Show(input.text);
    m_previous = input.text;
  }

  void Show(const std::string& text) {
    m_quiet = true;
    SetItemText(m_window, IDC_AT_VALUE, text);
    SendDlgItemMessageA(m_window, IDC_AT_VALUE, EM_SETSEL, text.size(), text.size());
    m_quiet = false;
    m_previous = text;
  }

  DialogTexts m_texts;
  std::string m_previous = "0";
  bool m_quiet = false;
};

}  // namespace

bool RunAdjustTimeDialog(HWND owner, const std::string& home, int& shiftMs) {
  AdjustTimeDialog dialog(home);
  if (dialog.Run(owner, IDD_ADJUST_TIME) != IDOK) return false;
  shiftMs = dialog.value;
  return true;
}

}  // namespace lyricdlg
