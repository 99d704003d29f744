// The recognition result: the names the fingerprint gave, editable, and the
// switch for writing them into the song's tags automatically.
#include "DialogCommon_win.h"
#include "DialogIds.h"
#include "LyricDialogBoxes_win.h"
#include "shared/GbkText.h"

namespace lyricdlg {
namespace {

class RecognitionDialog : public ModalDialog {
 public:
  RecognitionDialog(const std::string& home, tagUpdateInfo& names, bool& autoWrite, const DialogWatch& watch)
      : m_texts(home), m_names(names), m_autoWrite(autoWrite), m_watch(watch) {}

 protected:
  INT_PTR OnMessage(UINT msg, WPARAM wParam, LPARAM) override {
    if (msg == WM_INITDIALOG) {
      Init();
      return TRUE;
    }
    if (msg != WM_COMMAND) return FALSE;
    if (LOWORD(wParam) == IDOK) {
      Take(IDC_RC_TITLE, m_names.recTitle);
      Take(IDC_RC_ARTIST, m_names.recArtist);
      Take(IDC_RC_ALBUM, m_names.recAlbum);
      m_autoWrite = IsChecked(m_window, IDC_RC_AUTO);
      EndDialog(m_window, IDOK);
    } else if (LOWORD(wParam) == IDCANCEL) {
      EndDialog(m_window, IDCANCEL);
    }
    return TRUE;
  }
  void OnClosing() override {
    if (m_watch) m_watch(nullptr);
  }

 private:
  void Init() {
    m_texts.Apply(m_window, 0, "RecognitionResult");
    m_texts.Apply(m_window, IDC_RC_PROMPT, "RecognisedSongIs");
    m_texts.Apply(m_window, IDC_RC_TITLE_LABEL, "SongName");
    m_texts.Apply(m_window, IDC_RC_ARTIST_LABEL, "Artist");
    m_texts.Apply(m_window, IDC_RC_ALBUM_LABEL, "Album");
    m_texts.Apply(m_window, IDC_RC_AUTO, "AutoWriteRecognisedTags");
    m_texts.Apply(m_window, IDOK, "Submit");
    m_texts.Apply(m_window, IDCANCEL, "Cancel");
    Put(IDC_RC_TITLE, m_names.recTitle);
    Put(IDC_RC_ARTIST, m_names.recArtist);
    Put(IDC_RC_ALBUM, m_names.recAlbum);
    SetChecked(m_window, IDC_RC_AUTO, m_autoWrite);
    if (m_watch) m_watch(m_window);
  }
  template <size_t N>
  void Put(int id, const char (&field)[N]) {
    SendDlgItemMessageA(m_window, id, EM_LIMITTEXT, N - 1, 0);
    SetItemText(m_window, id, FieldText(field));
  }
  template <size_t N>
  void Take(int id, char (&field)[N]) {
    const std::string text = Trim(GetItemText(m_window, id));
    zl::CopyGbkBounded(field, N, text.data(), text.size());
  }

  DialogTexts m_texts;
  tagUpdateInfo& m_names;
  bool& m_autoWrite;
  DialogWatch m_watch;
};

}  // namespace

bool RunRecognitionDialog(HWND owner, const std::string& home, tagUpdateInfo& names, bool& autoWrite,
                          const DialogWatch& watch) {
  RecognitionDialog dialog(home, names, autoWrite, watch);
  return dialog.Run(owner, IDD_RECOGNITION) == IDOK;
}

}  // namespace lyricdlg
