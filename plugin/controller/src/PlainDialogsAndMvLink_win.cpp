// Dialogs and MV link without windows of their own: the list choice takes
// the first candidate at once (what the select-lyric dialog's countdown
// does when nobody answers), and the MV link has no ClipView to talk to.
#include <cstdio>

#include "controller/LyricController.h"
#include "controller/PlainParts_win.h"
#include "shared/Logger.h"

namespace {

class PlainLyricDialogs : public ILyricDialogs {
 public:
  void Attach(ILyricController* controller) override { m_owner = controller; }
  void SetEngine(std::shared_ptr<ZLyric>) override {}
  int SelectLyric(const std::vector<SearchItem>& candidates, std::string& fileName) override {
    if (candidates.empty()) return -1;
    char name[256];
    std::snprintf(name, sizeof name, "%s-%s.lrc", candidates[0].artist, candidates[0].title);
    fileName = name;
    Log("SelectLyric, candidates", static_cast<unsigned>(candidates.size()));
    return 0;
  }
  void CancelSelectLyric() override {}
  void CloseSongDialogs() override {}
  void CancelConfirmations() override {}
  void ShowContextMenu(HWND, POINT) override { Log("ShowContextMenu", 0); }
  void OnCommand(HWND, unsigned id) override { Log("OnCommand", id); }
  void ShowSettingsDialog(SettingsPage page) override { Log("ShowSettingsDialog", static_cast<unsigned>(page)); }
  void OnMessageClick(int code) override { Log("OnMessageClick", static_cast<unsigned>(code)); }
  void OnMouseWheel(HWND, WPARAM) override {}
  void OnWheelConfirmTimer(HWND) override {}

 private:
  void Log(const char* what, unsigned value) const {
    if (m_owner) LogWrite(m_owner->LogPath(), LOG_KEYINFO, "PlainDialogs", "%s %u", what, value);
  }
  ILyricController* m_owner = nullptr;
};

class PlainMvLink : public IMvLink {
 public:
  void Attach(ILyricController* controller) override { m_owner = controller; }
  CPlayerListener* Listener() override { return nullptr; }
  void ClearSongFlag() override {}
  bool SendDownloadMsg(SignPair, SignPair, int flvStatus, int swfStatus) override {
    Log("SendDownloadMsg", flvStatus * 100 + swfStatus);
    return false;
  }
  void SendPreDownloadMsg(SignPair, SignPair) override { Log("SendPreDownloadMsg", 0); }
  bool SendPlayMsg(bool video) override {
    Log("SendPlayMsg", video);
    return false;
  }
  void SendStopMsg() override { Log("SendStopMsg", 0); }
  void SendStopDownloadMsg() override { Log("SendStopDownloadMsg", 0); }
  void SendStopPreDownloadMsg() override { Log("SendStopPreDownloadMsg", 0); }
  void SendHideVideoMsg() override { Log("SendHideVideoMsg", 0); }
  void SendCloseWindowMsg() override { Log("SendCloseWindowMsg", 0); }
  void SendStartNewSongMsg() override { Log("SendStartNewSongMsg", 0); }
  void ShowVideoWindow(int choice) override {
    Log("ShowVideoWindow", choice);
    // Without ClipView the feature switches itself off again.
    if (m_owner) m_owner->Flags().mvEnabled.store(false);
  }
  bool OnMiniWindowMessage(HWND, UINT, WPARAM, LPARAM, LRESULT&) override { return false; }

 private:
  void Log(const char* what, int value) const {
    if (m_owner) LogWrite(m_owner->LogPath(), LOG_KEYINFO, "PlainMvLink", "%s %d", what, value);
  }
  ILyricController* m_owner = nullptr;
};

}  // namespace

std::unique_ptr<ILyricDialogs> MakePlainLyricDialogs() { return std::make_unique<PlainLyricDialogs>(); }
std::unique_ptr<IMvLink> MakePlainMvLink() { return std::make_unique<PlainMvLink>(); }
