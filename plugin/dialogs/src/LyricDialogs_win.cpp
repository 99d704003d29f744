// ILyricDialogs: the context menu and its commands, the dialogs the
// controller and the message line open, and the mouse-wheel adjustment.
#include <cstring>

#include "DialogCommon_win.h"
#include "DialogIds.h"
#include "LyricDialogBoxes_win.h"
#include "SettingsDialog_win.h"
#include "controller/LyricController.h"
#include "controller/LyricWindows.h"
#include "dialogs/LyricDialogsFactory_win.h"
#include "dialogs/MenuRules.h"
#include "settings/SettingsStore.h"
#include "shared/InstallHome.h"
#include "shared/Logger.h"
#include "view/LyricViewState.h"

namespace {

using namespace lyricdlg;

// The dialogs another thread may have to close.
enum OpenDialog { kSelect, kSearch, kUpload, kWheel, kRecognition, kOpenDialogCount };

class LyricDialogs : public ILyricDialogs {
 public:
  explicit LyricDialogs(DialogOptions options) : m_options(std::move(options)) {
    if (!m_options.upload) m_options.upload = &UploadWithEngine;
  }

  void Attach(ILyricController* controller) override { m_owner = controller; }

  void SetEngine(std::shared_ptr<ZLyric> engine) override {
    zl::Lock hold(m_lock);
    // A new song: the wheel shifts of the old one are not undone on it.
    if (engine != m_engine) {
      m_wheelShift = 0;
      m_wheelPending = false;
      m_wheelEngine.reset();
    }
    m_engine = std::move(engine);
    if (m_engine) m_selectCancelPending = false;
  }

  int SelectLyric(const std::vector<SearchItem>& candidates, std::string& fileName) override {
    if (!m_owner || candidates.empty()) return -1;
    const SelectLyricResult r =
        RunSelectLyricDialog(nullptr, m_owner->Home(), candidates, m_options.timings.selectTickMs, Watch(kSelect));
    Log("SelectLyric: %d", r.index);
    if (r.index < 0) return -1;
    fileName = r.fileName;
    return r.index;
  }

  void CancelSelectLyric() override {
    zl::Lock hold(m_lock);
    if (m_open[kSelect])
      PostMessageA(m_open[kSelect], WM_COMMAND, IDCANCEL, 0);
    else
      m_selectCancelPending = true;  // a dialog about to open goes at once
  }

  void CloseSongDialogs() override {
    zl::Lock hold(m_lock);
    for (int kind : {kSearch, kUpload})
      if (m_open[kind]) PostMessageA(m_open[kind], WM_COMMAND, IDCANCEL, 0);
  }

  void CancelConfirmations() override {
    zl::Lock hold(m_lock);
    for (int kind : {kWheel, kRecognition})
      if (m_open[kind]) PostMessageA(m_open[kind], WM_COMMAND, IDCANCEL, 0);
  }

  void ShowContextMenu(HWND window, POINT screen) override {
    if (!m_owner) return;
    lyricmenu::MenuInputs in;
    in.lyricAvailable = Engine() != nullptr;
    in.mvAvailable = m_owner->ViewOffersMv();
    in.picturesAvailable = m_owner->ViewOffersPictures();
    const bool mini = window && window == m_owner->Windows().MiniWindow();
    zl::UniqueMenu menu(LoadMenuA(ResourceModule(), MAKEINTRESOURCEA(mini ? IDR_MENU_MINI : IDR_MENU_MAIN)));
    HMENU popup = menu ? GetSubMenu(menu.Get(), 0) : nullptr;
    if (!popup) return;
    for (const lyricmenu::MenuItemState& item : lyricmenu::DecideMenu(m_owner->Settings().Values(), in)) {
      CheckMenuItem(popup, item.id, MF_BYCOMMAND | (item.checked ? MF_CHECKED : MF_UNCHECKED));
      EnableMenuItem(popup, item.id, MF_BYCOMMAND | (item.enabled ? MF_ENABLED : MF_GRAYED));
    }
    // The menu closes when the user clicks elsewhere only if its window is in front.
    SetForegroundWindow(window);
    const UINT id = static_cast<UINT>(TrackPopupMenu(popup, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY,
                                                     screen.x, screen.y, 0, window, nullptr));
    PostMessageA(window, WM_NULL, 0, 0);
    if (id != 0) m_owner->OnCommand(window, id);
  }

  void OnCommand(HWND window, unsigned id) override {
    if (!m_owner) return;
    using namespace lyricmenu;
    zl::LyricSettings probe;
    if (ApplyMenuSetting(id, probe)) {
      m_owner->Settings().Modify([id](zl::LyricSettings& s) { ApplyMenuSetting(id, s); });
      return;
    }
    switch (id) {
      case kAdjustEarlier: ShiftLyric(-kMenuShiftMs); break;
      case kAdjustLater: ShiftLyric(kMenuShiftMs); break;
      case kAdjustAll: {
        int shift = 0;
        if (RunAdjustTimeDialog(window, m_owner->Home(), shift) && shift != 0) ShiftLyric(shift);
        break;
      }
      case kUploadLyric: ShowUpload(window); break;
      case kSearchRelate: ShowSearch(window); break;
      case kCopyLyric: CopyLyric(window); break;
      case kReloadLyric: m_owner->ReloadLyric(); break;
      case kRevokeLyric: RevokeLyric(); break;
      case kMiniMode: SwitchWindow(window); break;
      case kOtherBackground:
      case kOptions: RunSettings(window, SettingsPage::Font, false); break;
      case kCustomFont: RunSettings(window, SettingsPage::Font, true); break;
      case kProblemReport: OpenTableAddress("urlBBS"); break;
      case kHelp: OpenTableAddress("urlHelp"); break;
      default: Log("unhandled command %d", static_cast<int>(id)); break;
    }
  }

  void ShowSettingsDialog(SettingsPage page) override { RunSettings(GetActiveWindow(), page, false); }

  void OnMessageClick(int code) override {
    if (!m_owner) return;
    switch (code) {
      case 4: OpenTableAddress("urlBBS"); break;
      case 5:
      case 6: ShowSearch(GetActiveWindow()); break;
      case 8: ShowRecognition(GetActiveWindow()); break;
      case 9: ShowUpload(GetActiveWindow()); break;
      default: break;
    }
  }

  void OnMouseWheel(HWND window, WPARAM wParam) override {
    if (!m_owner || !LyricShown()) return;
    SettingsStore& settings = m_owner->Settings();
    const zl::LyricSettings s = settings.Values();
    if (!s.enableWheel) return;
    const int shift = WheelShiftMs(wParam);
    std::shared_ptr<ZLyric> engine;
    {
      zl::Lock hold(m_lock);
      engine = m_engine;
      m_wheelShift += shift;
      m_wheelPending = true;
      if (engine) m_wheelEngine = engine;
    }
    if (engine) ApplyShift(*engine, shift);
    if (!s.wheelTip) {
      SetTimer(window, lyricwin::kWheelConfirmTimer, m_options.timings.wheelConfirmMs, nullptr);
      settings.Modify([](zl::LyricSettings& v) { v.haswheel = 1; });
    }
  }

  void OnWheelConfirmTimer(HWND window) override {
    KillTimer(window, lyricwin::kWheelConfirmTimer);
    if (!m_owner || m_owner->Windows().MiniWindowShown()) return;
    {
      zl::Lock hold(m_lock);
      if (!m_wheelPending || m_open[kWheel]) return;
    }
    const WheelAnswer answer = RunWheelConfirmDialog(GetActiveWindow(), m_owner->Home(), Watch(kWheel));
    int shift = 0;
    std::shared_ptr<ZLyric> shifted, current;
    {
      zl::Lock hold(m_lock);
      shift = m_wheelShift;
      shifted = m_wheelEngine.lock();
      current = m_engine;
      m_wheelShift = 0;
      m_wheelPending = false;
      m_wheelEngine.reset();
    }
    // Undone only on the lyric that was shifted: after a song change the
    // engine is another one (or none) and the shift went with the old song.
    if (!answer.keep && shifted && shifted == current && shift != 0) ApplyShift(*shifted, -shift);
    if (answer.dontRemind) {
      m_owner->Settings().Modify([](zl::LyricSettings& v) { v.wheelTip = true; });
      m_owner->Settings().SaveSettings();
    }
  }

 private:
  DialogWatch Watch(OpenDialog kind) {
    return [this, kind](HWND window) {
      zl::Lock hold(m_lock);
      m_open[kind] = window;
      if (kind == kSelect && window && m_selectCancelPending) {
        m_selectCancelPending = false;
        PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
      }
    };
  }

  std::shared_ptr<ZLyric> Engine() {
    zl::Lock hold(m_lock);
    return m_engine;
  }

  // The view shows a lyric the timing can be shifted on.
  bool LyricShown() {
    LyricViewState& view = m_owner->View();
    if (view.Status() != LyricViewStatus::LyricReady) return false;
    zl::Lock hold(view.DrawLock());
    return !view.Sentences().empty();
  }

  void ApplyShift(ZLyric& engine, int shiftMs) {
    std::vector<TimeSentence> lyric;
    engine.AdjustLrcTime(shiftMs, lyric);
    // Word times count from each line's start: the shift leaves them as they are.
    m_owner->View().SetLyricSentences(&lyric, &engine.CurrentContent().words);
  }

  void ShiftLyric(int shiftMs) {
    std::shared_ptr<ZLyric> engine = Engine();
    if (engine && LyricShown()) ApplyShift(*engine, shiftMs);
  }

  void CopyLyric(HWND window) {
    std::shared_ptr<ZLyric> engine = Engine();
    if (!engine) return;
    std::string text;
    engine->Lrc2Txt(text);
    if (!text.empty() && !CopyTextToClipboard(window, text)) Log("clipboard refused the lyric", 0);
  }

  void RevokeLyric() {
    LyricViewState& view = m_owner->View();
    const std::vector<TimeSentence> none;
    view.SetLyricSentences(&none);
    const LyricTagInfo tags = view.TagInfo();
    view.SetMessage(RevokedLyricMessage(tags.artist, tags.title).c_str(), 0, 9);
  }

  void SwitchWindow(HWND window) {
    CPlayerControlMessage* player = m_owner->PlayerControl();
    if (!player) return;
    // The player's own minimise and restore move the lyric between windows.
    if (window && window == m_owner->Windows().MiniWindow())
      player->Control_SetWindowRestore();
    else
      player->Control_SetWindowMinimize();
  }

  void OpenTableAddress(const char* key) {
    const std::string url = DialogTexts(m_owner->Home())(key);
    if (!url.empty()) OpenBrowserPageAsync(url.c_str());
  }

  void RunSettings(HWND owner, SettingsPage page, bool customFont) {
    if (!m_owner) return;
    SettingsDialogInput input;
    input.home = m_owner->Home();
    input.store = &m_owner->Settings();
    input.page = page;
    input.customFont = customFont;
    ILyricController* controller = m_owner;
    input.postEvent = [controller](const char* name) { controller->PostUsageEvent(name, true); };
    RunSettingsDialog(owner, input);
  }

  void ShowSearch(HWND owner) {
    std::shared_ptr<ZLyric> engine = Engine();
    const LyricTagInfo tags = m_owner->View().TagInfo();
    SearchRelateInput input;
    std::string finalTitle, finalArtist;
    if (engine) {
      finalTitle = FieldText(engine->SongAttributes().finalTitle);
      finalArtist = FieldText(engine->SongAttributes().finalArtist);
    }
    SearchPrefill(tags.title, tags.artist, finalTitle.c_str(), finalArtist.c_str(), tags.path, input.title,
                  input.artist);
    input.engine = engine;
    input.searchLimitMs =
        static_cast<unsigned>(m_owner->Settings().Values().RetryTime) * 1000u + m_options.timings.searchExtraMs;
    LyricViewState& view = m_owner->View();
    input.onLinked = [&view, engine](std::vector<TimeSentence>& lyric) {
      view.SetLyricSentences(&lyric, engine ? &engine->CurrentContent().words : nullptr);
      if (!lyric.empty()) view.SetStatus(LyricViewStatus::LyricReady);
      view.SetMessage(kLinkedLyricMessage, 1, 6);
    };
    const SearchRelateResult r = RunSearchRelateDialog(owner, m_owner->Home(), input, Watch(kSearch));
    if (!r.ok || r.linked) return;
    if (r.haveItem) {
      m_owner->UseUserChoice(r.item);
    } else if (r.dontWant) {
      RevokeLyric();
    }
  }

  void ShowUpload(HWND owner) {
    std::shared_ptr<ZLyric> engine = Engine();
    const LyricTagInfo tags = m_owner->View().TagInfo();
    UploadInput input;
    input.fields.song = tags.title;
    input.fields.artist = tags.artist;
    input.fields.album = tags.album;
    if (engine) input.fields.path = FieldText(engine->CurrentContent().lrc_path);
    input.engine = engine;
    input.upload = m_options.upload;
    input.closeAfterMs = m_options.timings.uploadCloseMs;
    RunUploadDialog(owner, m_owner->Home(), input, Watch(kUpload));
  }

  void ShowRecognition(HWND owner) {
    bool foundList = false;
    tagUpdateInfo names = m_owner->RecognitionAdvice(foundList);
    bool autoWrite = m_owner->Settings().Values().autofprecognise;
    if (!RunRecognitionDialog(owner, m_owner->Home(), names, autoWrite, Watch(kRecognition))) return;
    m_owner->AnswerRecognition(true, names);
    m_owner->Settings().Modify([autoWrite](zl::LyricSettings& v) { v.autofprecognise = autoWrite; });
    if (!foundList)
      m_owner->View().SetMessage(UploadInvitation(FieldText(names.recArtist), FieldText(names.recTitle)).c_str(), 1,
                                 9);
  }

  void Log(const char* format, int value) const {
    if (m_owner && m_owner->LogPath()[0]) LogWrite(m_owner->LogPath(), LOG_KEYINFO, "LyricDialogs", format, value);
  }

  DialogOptions m_options;
  ILyricController* m_owner = nullptr;
  zl::CriticalSection m_lock;  // everything below
  std::shared_ptr<ZLyric> m_engine;
  HWND m_open[kOpenDialogCount] = {};
  bool m_selectCancelPending = false;
  int m_wheelShift = 0;  // accumulated since the last confirmation
  bool m_wheelPending = false;
  std::weak_ptr<ZLyric> m_wheelEngine;  // the engine the shift was applied on
};

}  // namespace

std::unique_ptr<ILyricDialogs> MakeLyricDialogs(DialogOptions options) {
  return std::make_unique<LyricDialogs>(std::move(options));
}
