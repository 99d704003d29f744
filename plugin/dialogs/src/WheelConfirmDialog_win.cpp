// The wheel confirmation: keep the timing shift made with the mouse wheel,
// or undo it; optionally never ask again.
#include "DialogCommon_win.h"
#include "DialogIds.h"
#include "LyricDialogBoxes_win.h"

namespace lyricdlg {
namespace {

class WheelConfirmDialog : public ModalDialog {
 public:
  WheelConfirmDialog(const std::string& home, const DialogWatch& watch) : m_texts(home), m_watch(watch) {}
  bool dontRemind = false;

 protected:
  INT_PTR OnMessage(UINT msg, WPARAM wParam, LPARAM) override {
    if (msg == WM_INITDIALOG) {
      m_texts.Apply(m_window, 0, "AmbrelLyric");
      m_texts.Apply(m_window, IDC_WC_TEXT, "YouJustAdjustLyricWithWheel");
      m_texts.Apply(m_window, IDC_WC_NOT_AGAIN, "NotToMentionLater");
      m_texts.Apply(m_window, IDOK, "Submit");
      m_texts.Apply(m_window, IDCANCEL, "Cancel");
      if (m_watch) m_watch(m_window);
      return TRUE;
    }
    if (msg == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
      dontRemind = IsChecked(m_window, IDC_WC_NOT_AGAIN);
      EndDialog(m_window, LOWORD(wParam));
      return TRUE;
    }
    return FALSE;
  }
  void OnClosing() override {
    if (m_watch) m_watch(nullptr);
  }

 private:
  DialogTexts m_texts;
  DialogWatch m_watch;
};

}  // namespace

WheelAnswer RunWheelConfirmDialog(HWND owner, const std::string& home, const DialogWatch& watch) {
  WheelConfirmDialog dialog(home, watch);
  WheelAnswer answer;
  answer.keep = dialog.Run(owner, IDD_WHEEL_CONFIRM) == IDOK;
  answer.dontRemind = dialog.dontRemind;
  return answer;
}

}  // namespace lyricdlg
