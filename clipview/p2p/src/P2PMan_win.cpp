#include "p2p/P2PMan.h"

#include "P2PManImpl_win.h"
#include "P2PTexts.h"
#include "flv/FileHook.h"
#include "flv/FlvDecoder.h"
#include "p2p/TempFolder.h"
#include "shared/InstallHome.h"
#include "shared/Logger.h"

namespace clipview {

namespace {

constexpr const char* kModule = "P2PMan";
constexpr UINT WM_ARM_TIMER = WM_APP + 2;  // wParam timer, lParam on
constexpr DWORD kPrefetchStopGraceMs = 2000;

LRESULT CALLBACK TimerProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  auto* impl = reinterpret_cast<P2PMan::Impl*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (impl && msg == WM_TIMER) {
    impl->OnTimer(wp);
    return 0;
  }
  if (impl && msg == WM_ARM_TIMER) {
    impl->ArmTimer(wp, lp != 0);
    return 0;
  }
  return DefWindowProcA(hwnd, msg, wp, lp);
}

HWND CreateTimerWindow(P2PMan::Impl* impl) {
  static const char* kClass = "ZoP2PManTimers";
  WNDCLASSA wc = {};
  wc.lpfnWndProc = TimerProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = kClass;
  RegisterClassA(&wc);
  HWND hwnd = CreateWindowExA(0, kClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
  if (hwnd) SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(impl));
  return hwnd;
}

bool Active(int status) { return status == kStatusRequested || status == kStatusStarted || status == kStatusDownloading; }

}  // namespace

P2PMan::Impl::Impl(HWND dialog, P2PManHost& host, const P2PManConfig& config)
    : dialog_(dialog), host_(host), config_(config), ownerThread_(GetCurrentThreadId()) {
  if (config_.userTemp.empty()) config_.userTemp = UserTempFolder();
  usage_.hostName = config_.hostName;
  slots_ = {MakeSlot("flv"), MakeSlot("swf"), MakeSlot("flv"), MakeSlot("swf"), MakeSlot("exe")};
  supportCodec_ = IsFlvDecoderInstalled();
  videoText_ = texts::kSearching;
  timerWindow_.Reset(CreateTimerWindow(this));
  prefetchCancel_.Reset(CreateEventA(nullptr, TRUE, FALSE, nullptr));
  P2PLinkSettings link;
  link.replyWindowName = ReplyWindowName(config_.commandLine);
  link.logPath = config_.interfaceLogPath;
  link.copy.userTemp = config_.userTemp;
  link.copy.logPath = config_.interfaceLogPath;
  link.usage = usage_;
  link.sendTimeoutMs = config_.sendTimeoutMs;
  link.restartTimerMs = config_.restartTimerMs;
  link_ = std::make_unique<P2PInterface>(link, *this);
}

P2PMan::Impl::~Impl() {
  Shutdown();
  link_.reset();  // the reply thread ends before anything it reports into goes
  if (timerWindow_) SetWindowLongPtrA(timerWindow_.Get(), GWLP_USERDATA, 0);
}

// ---- state -----------------------------------------------------------------------

P2PResource P2PMan::Impl::Slot(SlotKind kind) const {
  zl::Lock lock(lock_);
  return At(kind);
}

bool P2PMan::Impl::HasVideo() const {
  zl::Lock lock(lock_);
  return hasVideo_;
}

bool P2PMan::Impl::HasPictures() const {
  zl::Lock lock(lock_);
  return hasPictures_;
}

bool P2PMan::Impl::SupportsFlvCodec() const {
  zl::Lock lock(lock_);
  return supportCodec_;
}

std::string P2PMan::Impl::StatusText() const {
  zl::Lock lock(lock_);
  return supportCodec_ ? videoText_ : codecText_;
}

std::string P2PMan::Impl::VideoText() const {
  zl::Lock lock(lock_);
  return videoText_;
}

std::string P2PMan::Impl::CodecText() const {
  zl::Lock lock(lock_);
  return codecText_;
}

void P2PMan::Impl::SetVideoText(const std::string& text) {
  zl::Lock lock(lock_);
  videoText_ = text;
}

void P2PMan::Impl::SetCodecText(const std::string& text) {
  zl::Lock lock(lock_);
  codecText_ = text;
}

bool P2PMan::Impl::FindSlot(SignPair sign, SlotKind& kind) const {
  for (SlotKind k : {SlotKind::Codec, SlotKind::Video, SlotKind::Pictures}) {
    if (At(k).sign == sign && sign.first != 0) {
      kind = k;
      return true;
    }
  }
  return false;
}

void P2PMan::Impl::TakeSign(SlotKind kind, SignPair sign) {
  const std::string temp = MakeTempPath(config_.userTemp, sign, At(kind).extension, Log());
  zl::Lock lock(lock_);
  P2PResource& slot = At(kind);
  // NOTE: a different pair must not inherit the old one's progress.
  if (slot.sign != sign) ResetSlot(slot);
  SetSlotSign(slot, sign, temp);
}

// ---- requests ----------------------------------------------------------------------

void P2PMan::Impl::Request(SlotKind kind) {
  SignPair sign;
  std::string extension;
  {
    zl::Lock lock(lock_);
    if (shutDown_) return;
    P2PResource& slot = At(kind);
    sign = slot.sign;
    extension = slot.extension;
    if (sign.first == 0) return;  // names nothing
    slot.status = kStatusRequested;
  }
  if (extension == "flv") usage_.Post("Download", "FLV begin,%u,%u", sign.first, sign.second);
  if (extension == "swf") usage_.Post("Download", "SWF begin,%u,%u", sign.first, sign.second);
  link_->RequestDownload(sign);
}

void P2PMan::Impl::RequestCodec() {
  SignPair codec{0, 0};
  if (!ReadConfigFlvCodecSignature(codec.first, codec.second) || codec.first == 0) return;
  TakeSign(SlotKind::Codec, codec);
  Request(SlotKind::Codec);
  ArmTimer(kTimerCodecProgress, true);
  SetCodecText(texts::kDownloadCodec);
}

void P2PMan::Impl::Cancel(SlotKind kind) {
  SignPair sign;
  std::string temp;
  {
    zl::Lock lock(lock_);
    sign = At(kind).sign;
    temp = At(kind).tempPath;
    SlotCancelled(At(kind));
  }
  link_->CancelDownload(sign, temp);
}

// ---- the plug-in's messages ------------------------------------------------------------

void P2PMan::Impl::OnDownload(uint32_t flvStatus, uint32_t swfStatus, SignPair flvSign, SignPair swfSign) {
  ArmTimer(kTimerFlvProgress, false);
  ArmTimer(kTimerSwfProgress, false);
  if (flvStatus == 3) {
    TakeSign(SlotKind::Video, flvSign);
    zl::Lock lock(lock_);
    hasVideo_ = true;
    videoText_ = texts::kSearching;
  } else {
    {
      zl::Lock lock(lock_);
      hasVideo_ = false;
      ResetSlot(At(SlotKind::Video));
      videoText_ = texts::kNoMv;
    }
    Post(WM_COMMAND, kCommandPictureTab);
  }
  SignPair general{0, 0};
  if (swfStatus == 3) {
    TakeSign(SlotKind::Pictures, swfSign);
    zl::Lock lock(lock_);
    hasPictures_ = true;
  } else if (ReadConfigFlashSignature(general.first, general.second) && general.first != 0) {
    TakeSign(SlotKind::Pictures, general);
    zl::Lock lock(lock_);
    hasPictures_ = true;
  } else {
    zl::Lock lock(lock_);
    hasPictures_ = false;
    ResetSlot(At(SlotKind::Pictures));
  }

  bool video, pictures, codecBusy, support;
  int videoStatus, picturesStatus;
  {
    zl::Lock lock(lock_);
    video = hasVideo_;
    pictures = hasPictures_;
    support = supportCodec_;
    codecBusy = Active(At(SlotKind::Codec).status) && At(SlotKind::Codec).status != kStatusStarted;
    videoStatus = At(SlotKind::Video).status;
    picturesStatus = At(SlotKind::Pictures).status;
  }
  // A pair already being fetched or fetched (the same song asked again) is left alone.
  auto underWay = [](int status) { return status >= kStatusStarted && status <= kStatusFinished; };
  auto requestVideo = [&](const char* why) {
    LogWrite(Log(), LOG_FATAL, kModule, "%s", why);
    if (!underWay(videoStatus)) Request(SlotKind::Video);
    ArmTimer(kTimerFlvProgress, true);
  };
  auto requestPictures = [&](const char* why) {
    LogWrite(Log(), LOG_FATAL, kModule, "%s", why);
    if (!underWay(picturesStatus)) Request(SlotKind::Pictures);
    ArmTimer(kTimerSwfProgress, true);
  };
  if (host_.CurrentChoice() == choice_video) {
    if (video) requestVideo("First download MV");
    else if (pictures) requestPictures("User Choice is MV,But no MV");
  } else {
    if (pictures) requestPictures("First download swf");
    else if (video) requestVideo("User Choice is swf,But no mv");
  }
  if (!support && !codecBusy) RequestCodec();
  Post(WM_REFRESH_STATUS);
  Post(WM_SHOW_PICTURES);
}

void P2PMan::Impl::OnPreDownload(SignPair flvSign, SignPair swfSign) {
  TakeSign(SlotKind::PrefetchPictures, swfSign);
  TakeSign(SlotKind::PrefetchVideo, flvSign);
  StopPrefetch();
  ResetEvent(prefetchCancel_.Get());
  prefetch_.Start([this] { Prefetch(); });
}

void P2PMan::Impl::Prefetch() {
  LogWrite(Log(), LOG_FATAL, kModule, "In Pre_Download");
  for (;;) {
    bool busy;
    {
      zl::Lock lock(lock_);
      busy = (hasVideo_ && Active(At(SlotKind::Video).status)) ||
             (hasPictures_ && At(SlotKind::Pictures).status == kStatusDownloading);
    }
    if (!busy) break;
    if (WaitForSingleObject(prefetchCancel_.Get(), config_.prefetchPollMs) == WAIT_OBJECT_0) return;
    LogWrite(Log(), LOG_FATAL, kModule, "Last p2p resource is not finished!");
  }
  LogWrite(Log(), LOG_FATAL, kModule, "%s", texts::kLogPrefetchStarts);
  const struct {
    SlotKind prefetch, current;
    const char* same;
  } pairs[] = {{SlotKind::PrefetchVideo, SlotKind::Video, texts::kLogSameFlv},
               {SlotKind::PrefetchPictures, SlotKind::Pictures, texts::kLogSameSwf}};
  for (const auto& p : pairs) {
    if (WaitForSingleObject(prefetchCancel_.Get(), 0) == WAIT_OBJECT_0) return;
    bool same;
    {
      zl::Lock lock(lock_);
      same = At(p.prefetch).sign == At(p.current).sign;
    }
    if (same) LogWrite(Log(), LOG_FATAL, kModule, "%s", p.same);
    else Request(p.prefetch);  // only makes the server fetch it: reports reach no prefetch slot
  }
}

void P2PMan::Impl::StopPrefetch() {
  if (!prefetch_.Started()) return;
  // Asked first; terminated only when it does not end within the grace.
  prefetch_.Stop([this] { SetEvent(prefetchCancel_.Get()); }, kPrefetchStopGraceMs);
}

void P2PMan::Impl::OnStopDownload() {
  for (SlotKind kind : {SlotKind::Pictures, SlotKind::Video}) {
    if (Slot(kind).status != kStatusIdle) Cancel(kind);
  }
}

void P2PMan::Impl::OnStopPreDownload() {
  for (SlotKind kind : {SlotKind::PrefetchVideo, SlotKind::PrefetchPictures}) {
    if (Slot(kind).sign.first != 0) Cancel(kind);
  }
  StopPrefetch();
}

void P2PMan::Impl::OnPlay(bool video) {
  const P2PResource v = Slot(SlotKind::Video), p = Slot(SlotKind::Pictures);
  if (v.status == kStatusIdle && p.status == kStatusIdle) {
    LogWrite(Log(), LOG_FATAL, kModule, "WM_PLAY,NO resource,need resend sig");
    host_.SendDownloadP2PMsg();
    return;
  }
  if (video) {
    if ((v.status == kStatusIdle || IsFailedStatus(v.status)) && v.sign.first != 0) DownloadFLV();
    const P2PResource c = Slot(SlotKind::Codec);
    if (!SupportsFlvCodec() && (c.status == kStatusIdle || IsFailedStatus(c.status))) RequestCodec();
  } else if ((p.status == kStatusIdle || IsFailedStatus(p.status)) && p.sign.first != 0) {
    Request(SlotKind::Pictures);
    ArmTimer(kTimerSwfProgress, true);
  }
}

void P2PMan::Impl::OnStartNewSong() {
  zl::Lock lock(lock_);
  for (SlotKind kind : {SlotKind::Video, SlotKind::Pictures, SlotKind::PrefetchVideo, SlotKind::PrefetchPictures})
    ResetSlot(At(kind));
}

// ---- the window's requests ---------------------------------------------------------------

void P2PMan::Impl::DownloadFLV() {
  Request(SlotKind::Video);
  ArmTimer(kTimerFlvProgress, true);
  SetVideoText(texts::kSearching);
}

void P2PMan::Impl::DownloadSwf() {
  {
    zl::Lock lock(lock_);
    const int status = At(SlotKind::Pictures).status;
    if (!hasPictures_ || (status >= kStatusRequested && status <= kStatusFinished)) return;
  }
  Request(SlotKind::Pictures);
  ArmTimer(kTimerSwfProgress, true);
  Post(WM_SHOW_PICTURES);
}

bool P2PMan::Impl::CanPlay() {
  const bool installed = IsFlvDecoderInstalled();
  const P2PResource v = Slot(SlotKind::Video);
  LogWrite(Log(), LOG_FATAL, kModule, "CanPlay %d %d %d", int(installed), int(v.playable), v.status);
  return installed && v.playable && (v.status == kStatusDownloading || v.status == kStatusFinished);
}

void P2PMan::Impl::NotifyFlvPlayFailed() {
  const bool support = IsFlvDecoderInstalled() && IsFlvDecoderInPlace();
  {
    zl::Lock lock(lock_);
    supportCodec_ = support;
  }
  LogWrite(Log(), LOG_FATAL, kModule, "m_bSupportFLVCodec value is %d", int(support));
  if (support) return;
  const int codec = Slot(SlotKind::Codec).status;
  if (Active(codec) && codec != kStatusStarted) return;
  RequestCodec();
  Post(WM_REFRESH_STATUS);
}

void P2PMan::Impl::Shutdown() {
  {
    zl::Lock lock(lock_);
    if (shutDown_) return;
    shutDown_ = true;
  }
  link_->SetClosing();
  FileHookOff();
  for (SlotKind kind : {SlotKind::Video, SlotKind::Pictures, SlotKind::PrefetchVideo, SlotKind::PrefetchPictures}) {
    const int status = Slot(kind).status;
    if (status != kStatusIdle && status != kStatusRequested) Cancel(kind);
  }
  StopPrefetch();
  for (UINT_PTR id : {kTimerFlvProgress, kTimerSwfProgress, kTimerCodecProgress}) ArmTimer(id, false);
}

// ---- download time-outs ------------------------------------------------------------------

void P2PMan::Impl::ArmTimer(UINT_PTR id, bool on) {
  if (!timerWindow_) return;
  if (GetCurrentThreadId() != ownerThread_) {
    // Timers belong to the dialog thread; other threads ask it.
    PostMessageA(timerWindow_.Get(), WM_ARM_TIMER, id, on ? 1 : 0);
    return;
  }
  if (on) SetTimer(timerWindow_.Get(), id, config_.downloadTimeoutMs, nullptr);
  else KillTimer(timerWindow_.Get(), id);
}

void P2PMan::Impl::OnTimer(UINT_PTR id) {
  const DWORD now = GetTickCount();
  if (id == kTimerCodecProgress) {
    ArmTimer(id, false);
    DWORD last;
    int status;
    {
      zl::Lock lock(lock_);
      last = lastCodecTick_;
      status = At(SlotKind::Codec).status;
    }
    if (status == kStatusFinished || now - last < config_.downloadTimeoutMs) return;
    LogWrite(Log(), LOG_FATAL, kModule, "%s", texts::kLogCodecTimeout);
    Cancel(SlotKind::Codec);
    {
      zl::Lock lock(lock_);
      At(SlotKind::Codec).status = kStatusFailed;
      codecText_ = texts::kCannotFinish;
    }
    Post(WM_REFRESH_STATUS);
    return;
  }
  const bool video = id == kTimerFlvProgress;
  if (!video && id != kTimerSwfProgress) return;
  const SlotKind kind = video ? SlotKind::Video : SlotKind::Pictures;
  DWORD last;
  P2PResource slot;
  {
    zl::Lock lock(lock_);
    last = video ? lastVideoTick_ : lastPicturesTick_;
    slot = At(kind);
  }
  if (slot.status == kStatusFinished) {
    ArmTimer(id, false);
    return;
  }
  if (now - last <= config_.downloadTimeoutMs) return;
  LogWrite(Log(), LOG_FATAL, kModule, "%s", video ? texts::kLogFlvTimeout : texts::kLogSwfTimeout);
  Cancel(kind);
  {
    zl::Lock lock(lock_);
    At(kind).status = kStatusFailed;
    if (video) videoText_ = texts::kCannotFinish;
  }
  ArmTimer(id, false);
  if (video) {
    Post(WM_REFRESH_STATUS);
    if (host_.DialogShown()) host_.SendPlayerPlayMsg();
    usage_.Post("Download", "FLV download time out,%u,%u", slot.sign.first, slot.sign.second);
  } else {
    Post(WM_SHOW_PICTURES);
    usage_.Post("Download", "SWF download time out,%u,%u", slot.sign.first, slot.sign.second);
  }
}

// ---- the public face ------------------------------------------------------------------------

P2PMan::P2PMan(HWND dialog, P2PManHost& host, const P2PManConfig& config)
    : impl_(std::make_unique<Impl>(dialog, host, config)) {}
P2PMan::~P2PMan() = default;
void P2PMan::OnDownload(uint32_t f, uint32_t s, SignPair fs, SignPair ss) { impl_->OnDownload(f, s, fs, ss); }
void P2PMan::OnPreDownload(SignPair f, SignPair s) { impl_->OnPreDownload(f, s); }
void P2PMan::OnStopDownload() { impl_->OnStopDownload(); }
void P2PMan::OnStopPreDownload() { impl_->OnStopPreDownload(); }
void P2PMan::OnPlay(bool video) { impl_->OnPlay(video); }
void P2PMan::OnStartNewSong() { impl_->OnStartNewSong(); }
void P2PMan::DownloadFLV() { impl_->DownloadFLV(); }
void P2PMan::DownloadSwf() { impl_->DownloadSwf(); }
bool P2PMan::CanPlay() { return impl_->CanPlay(); }
void P2PMan::NotifyFlvPlayFailed() { impl_->NotifyFlvPlayFailed(); }
void P2PMan::Shutdown() { impl_->Shutdown(); }
P2PResource P2PMan::Slot(SlotKind kind) const { return impl_->Slot(kind); }
bool P2PMan::HasVideo() const { return impl_->HasVideo(); }
bool P2PMan::HasPictures() const { return impl_->HasPictures(); }
bool P2PMan::SupportsFlvCodec() const { return impl_->SupportsFlvCodec(); }
std::string P2PMan::StatusText() const { return impl_->StatusText(); }
std::string P2PMan::VideoText() const { return impl_->VideoText(); }
std::string P2PMan::CodecText() const { return impl_->CodecText(); }

}  // namespace clipview
