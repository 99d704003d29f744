// The controller's MV link: the senders of the plug-in side and the
// heartbeat's thread.
#include <memory>

#include "MvLinkCore_win.h"
#include "mvlink/MvLink_win.h"
#include "shared/BoundedWorker.h"
#include "shared/InstallHome.h"
#include "shared/Ownership.h"

namespace {

class CMvLink : public IMvLink {
 public:
  explicit CMvLink(const MvLinkOptions& options) : m_core(std::make_shared<MvLinkCore>(options)) {}

  ~CMvLink() override {
    // A keep-alive still waiting for a hung ClipView is not waited for.
    m_heartbeat.WaitOrStop(m_core->Timings().heartbeatStopMs, {}, 0);
  }

  void Attach(ILyricController* controller) override { m_core->Attach(controller); }

  bool OnMiniWindowMessage(HWND window, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
    if (msg == WM_TIMER && wParam == kMvHeartbeatTimer) {
      // One keep-alive at a time, off the user interface's thread.
      if (m_heartbeat.Ended()) {
        auto core = m_core;
        m_heartbeat.Start([core] { core->KeepAlive(); });
      }
      result = 0;
      return true;
    }
    return m_core->OnMiniWindowMessage(window, msg, wParam, lParam, result);
  }

  CPlayerListener* Listener() override { return nullptr; }
  void ClearSongFlag() override { m_core->ClearSongFlags(); }

  bool SendDownloadMsg(SignPair flv, SignPair swf, int flvStatus, int swfStatus) override {
    const mv::MvDownloadRequest request{static_cast<uint32_t>(flvStatus), static_cast<uint32_t>(swfStatus),
                                        {flv.first, flv.second}, {swf.first, swf.second}};
    uint8_t bytes[mv::kDownloadRequestBytes];
    mv::EncodeDownloadRequest(request, bytes);
    const auto r = m_core->Send("SendDownloadMsg", mv::WM_DOWNLOAD, bytes, sizeof bytes, true);
    return r == MvLinkCore::SendResult::Sent || r == MvLinkCore::SendResult::TimedOut;
  }

  void SendPreDownloadMsg(SignPair flv, SignPair swf) override {
    const mv::MvDownloadRequest request{mv::kResourcePresent, mv::kResourcePresent, {flv.first, flv.second},
                                        {swf.first, swf.second}};
    uint8_t bytes[mv::kDownloadRequestBytes];
    mv::EncodeDownloadRequest(request, bytes);
    m_core->Send("SendPreDownloadMsg", mv::WM_PRE_DOWNLOAD, bytes, sizeof bytes, true);
  }

  bool SendPlayMsg(bool video) override {
    uint8_t bytes[mv::kInt32PayloadBytes];
    mv::EncodeInt32(video ? 1 : 0, bytes);
    return m_core->Send("SendPlayMsg", mv::WM_PLAY, bytes, sizeof bytes, false) != MvLinkCore::SendResult::Missing;
  }

  void SendStopMsg() override { Plain("SendStopMsg", mv::WM_STOP, false); }
  void SendStopDownloadMsg() override { Plain("SendStopDownloadMsg", mv::WM_STOP_DOWNLOAD, false); }
  void SendStopPreDownloadMsg() override { Plain("SendStopPreDownloadMsg", mv::WM_STOP_PRE_DOWNLOAD, false); }
  void SendHideVideoMsg() override { Plain("SendHideVideoMsg", mv::WM_HIDE_WINDOW, false); }
  void SendStartNewSongMsg() override { Plain("SendStartNewSongMsg", mv::WM_START_NEW_SONG, true); }

  void SendCloseWindowMsg() override {
    // The notice is closed instead: ClipView ends with it.
    if (HWND notice = MvLinkCore::FindFlashNotice()) {
      m_core->Log("Player Send MSG", "SendCloseWindowMsg");
      m_core->Log("Player Send MSG", "NoFlash is Already existes");
      PostMessageA(notice, WM_COMMAND, IDCANCEL, 0);
      return;
    }
    Plain("SendCloseWindowMsg", mv::WM_CLOSEWINDOW, false);
  }

  void ShowVideoWindow(int choice) override {
    if (choice == 4) return;
    if (m_core->showBusy.exchange(true)) {
      m_core->Log("Player Send MSG", "上次欣赏mv操作还未完成");
      return;
    }
    const bool video = choice == 0;
    if (!SendPlayMsg(video)) {
      ILyricController* owner = m_core->Owner();
      // Not running: started with the song's download request, then asked again.
      if (owner && owner->StartGetP2PResource())
        SendPlayMsg(video);
      else if (owner)
        owner->Flags().mvEnabled.store(false);
    }
    m_core->showBusy.store(false);
  }

 private:
  void Plain(const char* name, mv::ToClipView code, bool launch) { m_core->Send(name, code, nullptr, 0, launch); }

  std::shared_ptr<MvLinkCore> m_core;
  zl::BoundedWorker m_heartbeat;
};

}  // namespace

std::unique_ptr<IMvLink> MakeMvLink(const MvLinkOptions& options) { return std::make_unique<CMvLink>(options); }

std::string MvLinkMiniWindowTitle() { return mvlink::LinkHostName(HostPlayerName()) + "Mini"; }
