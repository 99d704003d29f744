// The upload dialog: a lyric file with the song's names, sent on a thread
// of its own; the dialog stays open after a failure for another try.
#include "DialogCommon_win.h"
#include "DialogIds.h"
#include "LyricDialogBoxes_win.h"
#include "shared/BoundedWorker.h"

namespace lyricdlg {
namespace {

constexpr UINT_PTR kCloseTimer = 1;

class UploadDialog : public ModalDialog {
 public:
  UploadDialog(const std::string& home, const UploadInput& input, const DialogWatch& watch)
      : m_texts(home), m_input(input), m_watch(watch) {}

 protected:
  INT_PTR OnMessage(UINT msg, WPARAM wParam, LPARAM) override {
    switch (msg) {
      case WM_INITDIALOG: Init(); return TRUE;
      case WM_COMMAND: OnCommand(LOWORD(wParam)); return TRUE;
      case kMsgWorkDone: OnUploaded(static_cast<Result>(wParam)); return TRUE;
      case WM_TIMER:
        if (wParam == kCloseTimer) {
          KillTimer(m_window, kCloseTimer);
          EndDialog(m_window, IDOK);
        }
        return TRUE;
      default: return FALSE;
    }
  }
  void OnClosing() override {
    KillTimer(m_window, kCloseTimer);
    if (m_watch) m_watch(nullptr);
  }

 private:
  void Init() {
    m_texts.Apply(m_window, 0, "UpLyricDlgTitle");
    m_texts.Apply(m_window, IDC_UP_PATH_LABEL, "LyricFile");
    m_texts.Apply(m_window, IDC_UP_SONG_LABEL, "SongNameMustInput");
    m_texts.Apply(m_window, IDC_UP_ARTIST_LABEL, "SingerMustInput");
    m_texts.Apply(m_window, IDC_UP_ALBUM_LABEL, "SpecialWithWhiteSpace");
    m_texts.Apply(m_window, IDC_UP_UPLOADER_LABEL, "YouSignature");
    m_texts.Apply(m_window, IDC_UP_UPLOADER_HINT, "UploadWithWhiteSpace");
    m_texts.Apply(m_window, IDC_UP_BROWSE, "Browse");
    m_texts.Apply(m_window, IDOK, "Submit");
    m_texts.Apply(m_window, IDCANCEL, "Cancel");
    const UploadFields& f = m_input.fields;
    SetItemText(m_window, IDC_UP_PATH, f.path);
    SetItemText(m_window, IDC_UP_SONG, f.song);
    SetItemText(m_window, IDC_UP_ARTIST, f.artist);
    SetItemText(m_window, IDC_UP_ALBUM, f.album);
    SetItemText(m_window, IDC_UP_UPLOADER, f.uploader);
    if (m_watch) m_watch(m_window);
  }

  void OnCommand(int id) {
    switch (id) {
      case IDC_UP_BROWSE: Browse(); break;
      case IDOK: Submit(); break;
      case IDCANCEL: EndDialog(m_window, IDCANCEL); break;
      default: break;
    }
  }

  void Browse() {
    std::string path;
    if (!ChooseOpenFile(m_window, "Lyric Files (*.lrc)", "*.lrc", "lrc", path)) return;
    if (const char* error = LyricFileError(path, FileSizeOf(path), true)) {
      ShowMessage(m_window, m_texts("ChooseFileFail"), m_texts(error));
      return;
    }
    SetItemText(m_window, IDC_UP_PATH, path);
  }

  void Submit() {
    UploadFields f;
    f.path = GetItemText(m_window, IDC_UP_PATH);
    f.song = GetItemText(m_window, IDC_UP_SONG);
    f.artist = GetItemText(m_window, IDC_UP_ARTIST);
    f.album = GetItemText(m_window, IDC_UP_ALBUM);
    f.uploader = GetItemText(m_window, IDC_UP_UPLOADER);
    if (const char* error = UploadInputError(f)) {
      ShowKeyMessage(m_window, m_texts, error);
      return;
    }
    EnableItem(m_window, IDOK, false);
    m_texts.Apply(m_window, IDC_UP_STATUS, "LrcUploading");
    // The thread owns what it uses: the request, the engine and the upload
    // function; it reaches the dialog only through a posted message.
    const LrcItem item = MakeUploadItem(f);
    std::shared_ptr<ZLyric> engine = m_input.engine;
    UploadFunction upload = m_input.upload;
    HWND window = m_window;
    const bool started = engine && upload && zl::StartDetached([engine, upload, item, window] {
      Result r = RESULT_FAIL;
      try {
        r = upload(*engine, item);
      } catch (...) {
      }
      PostMessageA(window, kMsgWorkDone, static_cast<WPARAM>(r), 0);
    });
    if (!started) OnUploaded(RESULT_FAIL);
  }

  void OnUploaded(Result r) {
    if (r == RESULT_OK) {
      m_texts.Apply(m_window, IDC_UP_STATUS, "LrcUploadSuc");
      SetTimer(m_window, kCloseTimer, m_input.closeAfterMs, nullptr);
    } else {
      m_texts.Apply(m_window, IDC_UP_STATUS, "LrcUploadFail");
      EnableItem(m_window, IDOK, true);
    }
  }

  DialogTexts m_texts;
  const UploadInput& m_input;
  DialogWatch m_watch;
};

}  // namespace

bool RunUploadDialog(HWND owner, const std::string& home, const UploadInput& input, const DialogWatch& watch) {
  UploadDialog dialog(home, input, watch);
  return dialog.Run(owner, IDD_UPLOAD_LYRIC) == IDOK;
}

}  // namespace lyricdlg
