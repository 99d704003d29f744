#include "window/P2PVideoResources_win.h"

namespace clipview {
namespace {

class P2PVideoResources : public IVideoResources {
 public:
  P2PVideoResources(HWND dialog, P2PManHost& host, const P2PManConfig& config) : m_p2p(dialog, host, config) {}

  void OnDownload(const mv::MvDownloadRequest& r, int) override {
    m_p2p.OnDownload(r.flvStatus, r.swfStatus, r.flvSign, r.swfSign);
  }
  void OnPreDownload(const mv::MvDownloadRequest& r) override { m_p2p.OnPreDownload(r.flvSign, r.swfSign); }
  void OnStopDownload() override { m_p2p.OnStopDownload(); }
  void OnStopPreDownload() override { m_p2p.OnStopPreDownload(); }
  void OnPlay(bool video) override { m_p2p.OnPlay(video); }
  void OnStartNewSong() override { m_p2p.OnStartNewSong(); }
  bool HasVideo() override { return m_p2p.HasVideo(); }
  bool HasPictures() override { return m_p2p.HasPictures(); }
  P2PResource Video() override { return m_p2p.Slot(SlotKind::Video); }
  P2PResource Pictures() override { return m_p2p.Slot(SlotKind::Pictures); }
  P2PResource Codec() override { return m_p2p.Slot(SlotKind::Codec); }
  bool DecoderInstalled() override { return m_p2p.SupportsFlvCodec(); }
  std::string StatusText() override { return m_p2p.StatusText(); }
  bool CanPlay() override { return m_p2p.CanPlay(); }
  void DownloadFLV() override { m_p2p.DownloadFLV(); }
  void DownloadSwf() override { m_p2p.DownloadSwf(); }
  void OnTimer(UINT_PTR) override {}  // the manager keeps its own download timers
  void NotifyFlvPlayFailed() override { m_p2p.NotifyFlvPlayFailed(); }
  void Shutdown() override { m_p2p.Shutdown(); }

 private:
  P2PMan m_p2p;
};

}  // namespace

std::unique_ptr<IVideoResources> MakeP2PVideoResources(HWND dialog, P2PManHost& host, const P2PManConfig& config) {
  return std::make_unique<P2PVideoResources>(dialog, host, config);
}

}  // namespace clipview
