#pragma once
// Inside the download manager: its state under one lock, the timer window
// that owns timers 4, 5 and 6 on the dialog thread, the prefetch worker and
// the link to the P2P server.
#include <windows.h>

#include <array>
#include <memory>
#include <string>

#include "P2PInterface_win.h"
#include "P2PUsage_win.h"
#include "p2p/P2PMan.h"
#include "shared/BoundedWorker.h"
#include "shared/CriticalSection.h"
#include "shared/Ownership.h"

namespace clipview {

constexpr UINT_PTR kTimerFlvProgress = 4;    // ID_TIMER_FLV_PROGRESS
constexpr UINT_PTR kTimerSwfProgress = 5;    // ID_TIMER_SWF_PROGRESS
constexpr UINT_PTR kTimerCodecProgress = 6;  // ID_TIMER_FLV_CODEC_PROGRESS

class P2PMan::Impl : public P2PEvents {
 public:
  Impl(HWND dialog, P2PManHost& host, const P2PManConfig& config);
  ~Impl() override;

  // P2PEvents (reply thread).
  void OnP2PStarted(SignPair sign, const std::string& tempPath) override;
  void OnP2PProgress(SignPair sign, uint32_t totalSize, uint32_t usable, uint32_t download, uint32_t rate) override;
  void OnP2PFailed(SignPair sign) override;
  void OnP2PError(SignPair sign, uint32_t code) override;

  void OnDownload(uint32_t flvStatus, uint32_t swfStatus, SignPair flvSign, SignPair swfSign);
  void OnPreDownload(SignPair flvSign, SignPair swfSign);
  void OnStopDownload();
  void OnStopPreDownload();
  void OnPlay(bool video);
  void OnStartNewSong();
  void DownloadFLV();
  void DownloadSwf();
  bool CanPlay();
  void NotifyFlvPlayFailed();
  void Shutdown();

  P2PResource Slot(SlotKind kind) const;
  bool HasVideo() const;
  bool HasPictures() const;
  bool SupportsFlvCodec() const;
  std::string StatusText() const;
  std::string VideoText() const;
  std::string CodecText() const;

  void OnTimer(UINT_PTR id);
  void ArmTimer(UINT_PTR id, bool on);

 private:
  P2PResource& At(SlotKind kind) { return slots_[size_t(kind)]; }
  const P2PResource& At(SlotKind kind) const { return slots_[size_t(kind)]; }
  // The slot whose pair is `sign`, codec first, then video, then pictures.
  bool FindSlot(SignPair sign, SlotKind& kind) const;
  // Takes `sign` into a slot: a new pair starts from an empty slot.
  void TakeSign(SlotKind kind, SignPair sign);
  // Status 1 and the request to the server.
  void Request(SlotKind kind);
  void RequestCodec();
  void Cancel(SlotKind kind);
  void SetVideoText(const std::string& text);
  void SetCodecText(const std::string& text);
  void StopPrefetch();
  void Prefetch();
  void Dispatch(SlotKind kind, const P2PResource& slot, bool firstPlayable);
  void DispatchVideo(const P2PResource& slot, bool firstPlayable);
  void DispatchPictures(const P2PResource& slot);
  void DispatchCodec(const P2PResource& slot);
  void InstallCodec(const P2PResource& slot);
  void Post(UINT msg, WPARAM wp = 0) { PostMessageA(dialog_, msg, wp, 0); }
  void Send(UINT msg) { SendMessageA(dialog_, msg, 0, 0); }
  const char* Log() const { return config_.logPath.c_str(); }

  HWND dialog_;
  P2PManHost& host_;
  P2PManConfig config_;
  UsageReporter usage_;
  DWORD ownerThread_;
  zl::UniqueWindow timerWindow_;

  mutable zl::CriticalSection lock_;
  std::array<P2PResource, 5> slots_;
  bool hasVideo_ = false;
  bool hasPictures_ = false;
  bool supportCodec_ = false;
  DWORD lastVideoTick_ = 0, lastPicturesTick_ = 0, lastCodecTick_ = 0;
  std::string videoText_;
  std::string codecText_;
  bool shutDown_ = false;

  zl::BoundedWorker prefetch_;
  zl::UniqueHandle prefetchCancel_;
  std::unique_ptr<P2PInterface> link_;
};

}  // namespace clipview
