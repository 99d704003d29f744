// What the download manager does when the P2P server reports on a slot:
// the slot's new status, the window's status texts, messages to the window
// and the usage events (on the reply window's thread).
#include "P2PManImpl_win.h"
#include "P2PTexts.h"
#include "flv/FlvDecoder.h"
#include "shared/InstallHome.h"
#include "shared/Logger.h"

namespace clipview {

namespace {
constexpr const char* kModule = "P2PMan";
}

void P2PMan::Impl::OnP2PStarted(SignPair sign, const std::string& tempPath) {
  SlotKind kind;
  P2PResource slot;
  {
    zl::Lock lock(lock_);
    if (shutDown_ || !FindSlot(sign, kind)) return;
    SlotStarted(At(kind), tempPath);
    slot = At(kind);
  }
  Dispatch(kind, slot, false);
}

void P2PMan::Impl::OnP2PProgress(SignPair sign, uint32_t totalSize, uint32_t usable, uint32_t download,
                                 uint32_t rate) {
  SlotKind kind;
  P2PResource slot;
  bool firstPlayable;
  {
    zl::Lock lock(lock_);
    if (shutDown_ || !FindSlot(sign, kind)) return;
    const bool wasPlayable = At(kind).playable;
    SlotProgress(At(kind), kind == SlotKind::Video, totalSize, usable, download, rate);
    slot = At(kind);
    firstPlayable = slot.playable && !wasPlayable;
  }
  Dispatch(kind, slot, firstPlayable);
}

void P2PMan::Impl::OnP2PFailed(SignPair sign) {
  SlotKind kind;
  P2PResource slot;
  {
    zl::Lock lock(lock_);
    if (shutDown_ || !FindSlot(sign, kind)) return;
    SlotError(At(kind), 1);
    slot = At(kind);
  }
  Dispatch(kind, slot, false);
}

void P2PMan::Impl::OnP2PError(SignPair sign, uint32_t code) {
  SlotKind kind;
  P2PResource slot;
  {
    zl::Lock lock(lock_);
    if (shutDown_ || !FindSlot(sign, kind)) return;
    SlotError(At(kind), code == 9 ? 2 : 0);
    slot = At(kind);
  }
  Dispatch(kind, slot, false);
}

void P2PMan::Impl::Dispatch(SlotKind kind, const P2PResource& slot, bool firstPlayable) {
  if (slot.status == kStatusDownloading) {
    zl::Lock lock(lock_);
    const DWORD now = GetTickCount();
    if (kind == SlotKind::Video) lastVideoTick_ = now;
    if (kind == SlotKind::Pictures) lastPicturesTick_ = now;
    if (kind == SlotKind::Codec) lastCodecTick_ = now;
  }
  if (kind == SlotKind::Video) DispatchVideo(slot, firstPlayable);
  else if (kind == SlotKind::Pictures) DispatchPictures(slot);
  else if (kind == SlotKind::Codec) DispatchCodec(slot);
}

void P2PMan::Impl::DispatchVideo(const P2PResource& slot, bool firstPlayable) {
  const SignPair s = slot.sign;
  switch (slot.status) {
    case kStatusStarted:
      SetVideoText(texts::kBufferingStarts);
      usage_.Post("Download", "FLV download Start,%u,%u", s.first, s.second);
      return;
    case kStatusDownloading:
      SetVideoText(Format(texts::kBufferingPercent, int(slot.usablePercent), "%"));
      if (firstPlayable) {
        Post(WM_FLV_PLAY);
        usage_.Post("Download", "FLV Start Play,%u,%u", s.first, s.second);
      }
      return;
    case kStatusFinished:
      SetVideoText(texts::kPlaying);
      usage_.Post("Download", "FLV Download complete,%u,%u", s.first, s.second);
      Send(WM_FLV_PLAY);
      return;
    case kStatusFailed:
    case kStatusNetworkError:
    case kStatusNoPeer:
      break;
    default:
      return;
  }
  const char* text = slot.status == kStatusFailed         ? texts::kBufferingFailed
                     : slot.status == kStatusNetworkError ? texts::kCannotConnect
                                                          : texts::kNotReady;
  const char* event = slot.status == kStatusFailed         ? "FLV download failed,%u,%u"
                      : slot.status == kStatusNetworkError ? "FLV network error,%u,%u"
                                                           : "FLV NoPeer error,%u,%u";
  SetVideoText(text);
  Send(WM_REFRESH_STATUS);
  ArmTimer(kTimerFlvProgress, false);
  if (host_.DialogShown()) host_.SendPlayerPlayMsg();
  usage_.Post("Download", event, s.first, s.second);
}

void P2PMan::Impl::DispatchPictures(const P2PResource& slot) {
  const SignPair s = slot.sign;
  const char* event = nullptr;
  switch (slot.status) {
    case kStatusStarted:
      usage_.Post("Download", "SWF download Start,%u,%u", s.first, s.second);
      return;
    case kStatusFinished: event = "SWF download complete,%u,%u"; break;
    case kStatusFailed: event = "SWF download Failed,%u,%u"; break;
    case kStatusNetworkError: event = "SWF Network error,%u,%u"; break;
    case kStatusNoPeer: event = "SWF NoPeer error,%u,%u"; break;
    default: return;
  }
  Send(WM_SHOW_PICTURES);
  if (IsFailedStatus(slot.status)) ArmTimer(kTimerSwfProgress, false);
  usage_.Post("Download", event, s.first, s.second);
}

void P2PMan::Impl::DispatchCodec(const P2PResource& slot) {
  switch (slot.status) {
    case kStatusStarted:
      SetCodecText(texts::kCodecStarts);
      Post(WM_REFRESH_STATUS);
      return;
    case kStatusDownloading:
      SetCodecText(Format(texts::kBufferingPercent, int(slot.usablePercent), "%"));
      return;
    case kStatusFinished:
      InstallCodec(slot);
      return;
    case kStatusFailed:
    case kStatusNetworkError:
    case kStatusNoPeer:
      // NOTE: no peer for the decoder is shown on the decoder's line; the
      // video's line and time-out belong to the video.
      SetCodecText(slot.status == kStatusFailed         ? texts::kCodecFailed
                   : slot.status == kStatusNetworkError ? texts::kCodecConnectError
                                                        : texts::kNotReady);
      Send(WM_REFRESH_STATUS);
      ArmTimer(kTimerCodecProgress, false);
      return;
    default:
      return;
  }
}

void P2PMan::Impl::InstallCodec(const P2PResource& slot) {
  SetCodecText(texts::kCodecDownloaded);
  const std::string command = "\"" + slot.tempPath + "\" /verysilent";
  zl::UniqueHandle installer(RunProgramHidden(command.c_str(), nullptr, false));
  // A setup that never ends must not hold the reply window for ever.
  if (installer && WaitForSingleObject(installer.Get(), config_.installerWaitMs) != WAIT_OBJECT_0)
    LogWrite(Log(), LOG_FATAL, kModule, "Codec Setup did not end in %lu ms.", (unsigned long)config_.installerWaitMs);
  const bool installed = IsFlvDecoderInstalled();
  {
    zl::Lock lock(lock_);
    supportCodec_ = installed;
  }
  LogWrite(Log(), LOG_FATAL, kModule, "%s", texts::kLogCodecInstalled);
  Post(WM_CODEC_READY);
}

}  // namespace clipview
