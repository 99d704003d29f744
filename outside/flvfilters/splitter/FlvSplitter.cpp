#include "FlvSplitter.h"

#include <dshow.h>
#include <dvdmedia.h>
#include <mmreg.h>

#include <algorithm>
#include <atomic>
#include <memory>
#include <vector>

#include "../dshow/DsBase.h"
#include "../format/FlvFormat.h"
#include "shared/BoundedWorker.h"

using namespace dsbase;
using namespace flvstandin;

const CLSID CLSID_FlvSplitterStandIn = {0x47E792CF, 0x0BBE, 0x4F7A, {0x85, 0x9C, 0x19, 0x4B, 0x07, 0x68, 0x65, 0x0A}};

// Screen Video as the decoders of the day name it.
static const GUID kSubtypeFsv1 = {0x31565346, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};

namespace {

constexpr REFERENCE_TIME kUnitsPerMs = 10000;
constexpr size_t kProbeTags = 64;

class FlvSplitter;

// One output stream: its pin, its tag type and its streaming thread.
class StreamPin : public OutputPin, public IMediaSeeking {
 public:
  StreamPin(FlvSplitter* owner, uint8_t tagType, const wchar_t* name, const MediaType& type, long bufferBytes);
  ~StreamPin() override { StopStreaming(); }

  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override { return Pin::QueryInterface(riid, ppv); }
  STDMETHODIMP_(ULONG) AddRef() override { return Pin::AddRef(); }
  STDMETHODIMP_(ULONG) Release() override { return Pin::Release(); }

  // IMediaSeeking: absolute seeking in media time.
  STDMETHODIMP GetCapabilities(DWORD* caps) override;
  STDMETHODIMP CheckCapabilities(DWORD* caps) override;
  STDMETHODIMP IsFormatSupported(const GUID* f) override { return *f == TIME_FORMAT_MEDIA_TIME ? S_OK : S_FALSE; }
  STDMETHODIMP QueryPreferredFormat(GUID* f) override { *f = TIME_FORMAT_MEDIA_TIME; return S_OK; }
  STDMETHODIMP GetTimeFormat(GUID* f) override { *f = TIME_FORMAT_MEDIA_TIME; return S_OK; }
  STDMETHODIMP IsUsingTimeFormat(const GUID* f) override { return *f == TIME_FORMAT_MEDIA_TIME ? S_OK : S_FALSE; }
  STDMETHODIMP SetTimeFormat(const GUID* f) override { return *f == TIME_FORMAT_MEDIA_TIME ? S_OK : E_INVALIDARG; }
  STDMETHODIMP GetDuration(LONGLONG* d) override;
  STDMETHODIMP GetStopPosition(LONGLONG* s) override { return GetDuration(s); }
  STDMETHODIMP GetCurrentPosition(LONGLONG*) override { return E_NOTIMPL; }
  STDMETHODIMP ConvertTimeFormat(LONGLONG* target, const GUID* tf, LONGLONG source, const GUID* sf) override;
  STDMETHODIMP SetPositions(LONGLONG* current, DWORD currentFlags, LONGLONG* stop, DWORD stopFlags) override;
  STDMETHODIMP GetPositions(LONGLONG* current, LONGLONG* stop) override;
  STDMETHODIMP GetAvailable(LONGLONG* earliest, LONGLONG* latest) override;
  STDMETHODIMP SetRate(double rate) override { return rate == 1.0 ? S_OK : E_NOTIMPL; }
  STDMETHODIMP GetRate(double* rate) override { *rate = 1.0; return S_OK; }
  STDMETHODIMP GetPreroll(LONGLONG* preroll) override { *preroll = 0; return S_OK; }

  void StartStreaming();
  void StopStreaming();

 protected:
  HRESULT CheckMediaType(const AM_MEDIA_TYPE& mt) override {
    return mt.majortype == type_.Get().majortype && mt.subtype == type_.Get().subtype ? S_OK : S_FALSE;
  }
  bool GetMediaType(int index, MediaType& out) override {
    if (index != 0) return false;
    out = type_;
    return true;
  }
  HRESULT DecideBufferSize(IMemAllocator* alloc, ALLOCATOR_PROPERTIES& props) override;
  void* QueryOther(REFIID riid) override {
    return riid == IID_IMediaSeeking ? static_cast<IMediaSeeking*>(this) : nullptr;
  }

 private:
  void Stream();
  uint64_t FindStart(IAsyncReader* reader, uint32_t targetMs);

  FlvSplitter* owner_;
  uint8_t tagType_;
  MediaType type_;
  long bufferBytes_;
  std::atomic<bool> stop_{false};
  std::atomic<LONGLONG> start_{0};
  zl::BoundedWorker worker_;
  bool streaming_ = false;
};

class SplitterInput : public PullInputPin {
 public:
  explicit SplitterInput(FlvSplitter* owner);

 protected:
  HRESULT CompleteConnect(IAsyncReader* reader) override;

 private:
  FlvSplitter* owner_;
};

class FlvSplitter : public Filter {
 public:
  FlvSplitter() : Filter(CLSID_FlvSplitterStandIn), input_(this) {}
  ~FlvSplitter() override {
    for (auto* p : outputs_) delete p;
  }

  int PinCount() override { return 1 + int(outputs_.size()); }
  Pin* PinAt(int i) override { return i == 0 ? static_cast<Pin*>(&input_) : outputs_[size_t(i - 1)]; }

  HRESULT Probe(IAsyncReader* reader);
  IAsyncReader* Reader() const { return input_.Reader(); }
  uint64_t FirstTag() const { return firstTag_; }
  LONGLONG Duration() const { return duration_; }  // 0: unknown

 protected:
  void OnStop() override {
    for (auto* p : outputs_) p->StopStreaming();
  }
  void OnPause(bool fromStopped) override {
    if (!fromStopped) return;
    for (auto* p : outputs_)
      if (p->Connected()) p->StartStreaming();
  }

 private:
  void ReadDuration(IAsyncReader* reader);

  SplitterInput input_;
  std::vector<StreamPin*> outputs_;
  uint64_t firstTag_ = 0;
  LONGLONG duration_ = 0;
};

// ---- reading ---------------------------------------------------------------

bool ReadAt(IAsyncReader* reader, uint64_t at, void* buffer, size_t n) {
  return reader->SyncRead(LONGLONG(at), LONG(n), static_cast<BYTE*>(buffer)) == S_OK;
}

MediaType VideoType(const ScreenHeader& h) {
  MediaType t;
  AM_MEDIA_TYPE& mt = t.Get();
  mt.majortype = MEDIATYPE_Video;
  mt.subtype = kSubtypeFsv1;
  mt.formattype = FORMAT_VideoInfo;
  mt.bTemporalCompression = TRUE;
  auto* vih = reinterpret_cast<VIDEOINFOHEADER*>(t.AllocFormat(sizeof(VIDEOINFOHEADER)));
  vih->bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  vih->bmiHeader.biWidth = h.width;
  vih->bmiHeader.biHeight = h.height;
  vih->bmiHeader.biPlanes = 1;
  vih->bmiHeader.biBitCount = 24;
  vih->bmiHeader.biCompression = kSubtypeFsv1.Data1;
  vih->bmiHeader.biSizeImage = DWORD(h.width * h.height * 3);
  return t;
}

MediaType AudioType(const PcmFormat& f) {
  MediaType t;
  AM_MEDIA_TYPE& mt = t.Get();
  mt.majortype = MEDIATYPE_Audio;
  mt.subtype = MEDIASUBTYPE_PCM;
  mt.formattype = FORMAT_WaveFormatEx;
  mt.bFixedSizeSamples = TRUE;
  mt.lSampleSize = f.channels * f.bits / 8;
  auto* wf = reinterpret_cast<WAVEFORMATEX*>(t.AllocFormat(sizeof(WAVEFORMATEX)));
  wf->wFormatTag = WAVE_FORMAT_PCM;
  wf->nChannels = f.channels;
  wf->nSamplesPerSec = f.rate;
  wf->wBitsPerSample = f.bits;
  wf->nBlockAlign = WORD(f.channels * f.bits / 8);
  wf->nAvgBytesPerSec = f.BytesPerSecond();
  return t;
}

// ---- FlvSplitter -------------------------------------------------------------

HRESULT FlvSplitter::Probe(IAsyncReader* reader) {
  uint8_t head[9];
  FileHeader fh;
  if (!ReadAt(reader, 0, head, sizeof head) || !ParseFileHeader(head, sizeof head, fh)) return E_FAIL;
  firstTag_ = FirstTagOffset(fh);
  bool haveVideo = false, haveAudio = false;
  ScreenHeader video;
  PcmFormat audio;
  uint64_t at = firstTag_;
  for (size_t n = 0; n < kProbeTags && !(haveVideo && haveAudio); ++n) {
    uint8_t tag[kTagHeaderBytes + 5];
    TagHeader th;
    if (!ReadAt(reader, at, tag, kTagHeaderBytes) || !ParseTagHeader(tag, kTagHeaderBytes, th)) break;
    const size_t peek = std::min<size_t>(5, th.dataSize);
    if (peek && !ReadAt(reader, at + kTagHeaderBytes, tag + kTagHeaderBytes, peek)) break;
    if (th.type == kTagVideo && !haveVideo) haveVideo = ParseScreenHeader(tag + kTagHeaderBytes, peek, video);
    if (th.type == kTagAudio && !haveAudio && peek) haveAudio = ParsePcmFlags(tag[kTagHeaderBytes], audio);
    at = NextTagOffset(at, th);
  }
  if (!haveVideo && !haveAudio) return E_FAIL;
  if (outputs_.empty()) {
    if (haveVideo)
      outputs_.push_back(new StreamPin(this, kTagVideo, L"Video", VideoType(video),
                                       long(video.width) * video.height * 3 + 65536));
    if (haveAudio) outputs_.push_back(new StreamPin(this, kTagAudio, L"Audio", AudioType(audio), 65536));
  }
  ReadDuration(reader);
  return S_OK;
}

// The last tag's time, found through the file's final PreviousTagSize. A file
// whose end cannot be read yet has no duration.
void FlvSplitter::ReadDuration(IAsyncReader* reader) {
  duration_ = 0;
  LONGLONG total = 0, available = 0;
  if (FAILED(reader->Length(&total, &available)) || total < LONGLONG(firstTag_ + kTagHeaderBytes)) return;
  uint8_t b[kTagHeaderBytes + 1];
  if (!ReadAt(reader, uint64_t(total) - 4, b, 4)) return;
  const uint32_t previous = (uint32_t(b[0]) << 24) | (uint32_t(b[1]) << 16) | (uint32_t(b[2]) << 8) | b[3];
  if (previous < kTagHeaderBytes || LONGLONG(previous) + 4 > total) return;
  const uint64_t last = uint64_t(total) - 4 - previous;
  TagHeader th;
  if (!ReadAt(reader, last, b, kTagHeaderBytes + 1) || !ParseTagHeader(b, kTagHeaderBytes, th)) return;
  LONGLONG end = LONGLONG(th.timestampMs) * kUnitsPerMs;
  PcmFormat pcm;
  if (th.type == kTagAudio && th.dataSize > 1 && ParsePcmFlags(b[kTagHeaderBytes], pcm))
    end += LONGLONG(th.dataSize - 1) * 10000000 / pcm.BytesPerSecond();
  duration_ = end;
}

SplitterInput::SplitterInput(FlvSplitter* owner) : PullInputPin(owner, L"Input"), owner_(owner) {}

HRESULT SplitterInput::CompleteConnect(IAsyncReader* reader) { return owner_->Probe(reader); }

// ---- StreamPin ---------------------------------------------------------------

StreamPin::StreamPin(FlvSplitter* owner, uint8_t tagType, const wchar_t* name, const MediaType& type,
                     long bufferBytes)
    : OutputPin(owner, name), owner_(owner), tagType_(tagType), type_(type), bufferBytes_(bufferBytes) {}

HRESULT StreamPin::DecideBufferSize(IMemAllocator* alloc, ALLOCATOR_PROPERTIES& props) {
  ALLOCATOR_PROPERTIES want = props, got = {};
  want.cBuffers = std::max<long>(props.cBuffers, tagType_ == kTagVideo ? 4 : 8);
  want.cbBuffer = std::max<long>(props.cbBuffer, bufferBytes_);
  if (want.cbAlign <= 0) want.cbAlign = 1;
  const HRESULT hr = alloc->SetProperties(&want, &got);
  if (FAILED(hr)) return hr;
  return got.cbBuffer >= bufferBytes_ ? S_OK : E_FAIL;
}

void StreamPin::StartStreaming() {
  if (streaming_) return;
  Active();
  stop_ = false;
  AddRef();  // the thread keeps the filter alive
  streaming_ = worker_.Start([this] {
    Stream();
    Release();
  });
  if (!streaming_) Release();
}

void StreamPin::StopStreaming() {
  if (!streaming_) return;
  stop_ = true;
  Inactive();  // a thread waiting for a buffer gives up
  worker_.Wait(INFINITE);
  streaming_ = false;
}

uint64_t StreamPin::FindStart(IAsyncReader* reader, uint32_t targetMs) {
  uint64_t at = owner_->FirstTag(), found = at;
  uint8_t b[kTagHeaderBytes];
  TagHeader th;
  while (!stop_ && ReadAt(reader, at, b, sizeof b) && ParseTagHeader(b, sizeof b, th)) {
    if (th.timestampMs > targetMs) break;
    if (th.type == tagType_) found = at;
    at = NextTagOffset(at, th);
  }
  return found;
}

void StreamPin::Stream() {
  IAsyncReader* reader = owner_->Reader();
  if (!reader) return;
  const LONGLONG segment = start_;
  const LONGLONG duration = owner_->Duration();
  DeliverNewSegment(segment, duration > 0 ? duration : MAXLONGLONG, 1.0);
  uint64_t at = FindStart(reader, uint32_t(segment / kUnitsPerMs));
  const PcmFormat* pcmFormat = nullptr;
  PcmFormat pcm;
  bool first = true;
  std::vector<uint8_t> body;
  while (!stop_) {
    uint8_t b[kTagHeaderBytes];
    TagHeader th;
    if (!ReadAt(reader, at, b, sizeof b) || !ParseTagHeader(b, sizeof b, th)) break;
    if (th.type == tagType_ && th.dataSize > 1) {
      body.resize(th.dataSize);
      if (!ReadAt(reader, at + kTagHeaderBytes, body.data(), body.size())) break;
      const uint8_t* data = body.data();
      size_t size = body.size();
      if (tagType_ == kTagAudio) {
        if (!ParsePcmFlags(body[0], pcm)) break;
        pcmFormat = &pcm;
        ++data;
        --size;
      }
      IMediaSample* sample = nullptr;
      if (FAILED(GetDeliveryBuffer(&sample))) return;
      BYTE* out = nullptr;
      sample->GetPointer(&out);
      if (LONG(size) <= sample->GetSize()) {
        std::copy(data, data + size, out);
        sample->SetActualDataLength(LONG(size));
        REFERENCE_TIME start = LONGLONG(th.timestampMs) * kUnitsPerMs - segment;
        REFERENCE_TIME stop = start + 1;
        if (pcmFormat) stop = start + LONGLONG(size) * 10000000 / pcmFormat->BytesPerSecond();
        sample->SetTime(&start, &stop);
        sample->SetSyncPoint(TRUE);
        sample->SetDiscontinuity(first);
        first = false;
        const HRESULT hr = Deliver(sample);
        sample->Release();
        if (hr != S_OK) return;  // stopping or flushing
      } else {
        sample->Release();
      }
    }
    at = NextTagOffset(at, th);
  }
  if (!stop_) DeliverEndOfStream();
}

STDMETHODIMP StreamPin::GetCapabilities(DWORD* caps) {
  if (!caps) return E_POINTER;
  *caps = AM_SEEKING_CanSeekAbsolute | AM_SEEKING_CanSeekForwards | AM_SEEKING_CanSeekBackwards |
          (owner_->Duration() > 0 ? AM_SEEKING_CanGetDuration | AM_SEEKING_CanGetStopPos : 0);
  return S_OK;
}

STDMETHODIMP StreamPin::CheckCapabilities(DWORD* caps) {
  if (!caps) return E_POINTER;
  DWORD have = 0;
  GetCapabilities(&have);
  const DWORD wanted = *caps;
  *caps &= have;
  return *caps == wanted ? S_OK : (*caps ? S_FALSE : E_FAIL);
}

STDMETHODIMP StreamPin::GetDuration(LONGLONG* d) {
  if (!d) return E_POINTER;
  *d = owner_->Duration();
  return *d > 0 ? S_OK : E_NOTIMPL;
}

STDMETHODIMP StreamPin::ConvertTimeFormat(LONGLONG* target, const GUID* tf, LONGLONG source, const GUID* sf) {
  if ((tf && *tf != TIME_FORMAT_MEDIA_TIME) || (sf && *sf != TIME_FORMAT_MEDIA_TIME)) return E_INVALIDARG;
  *target = source;
  return S_OK;
}

STDMETHODIMP StreamPin::SetPositions(LONGLONG* current, DWORD currentFlags, LONGLONG*, DWORD) {
  if ((currentFlags & AM_SEEKING_PositioningBitsMask) != AM_SEEKING_AbsolutePositioning || !current) return S_OK;
  const bool wasStreaming = streaming_;
  if (wasStreaming) {
    stop_ = true;
    DeliverBeginFlush();
    worker_.Wait(INFINITE);
    streaming_ = false;
    DeliverEndFlush();
  }
  start_ = std::max<LONGLONG>(0, *current);
  if (wasStreaming) StartStreaming();
  return S_OK;
}

STDMETHODIMP StreamPin::GetPositions(LONGLONG* current, LONGLONG* stop) {
  if (current) *current = start_;
  if (stop) *stop = owner_->Duration();
  return S_OK;
}

STDMETHODIMP StreamPin::GetAvailable(LONGLONG* earliest, LONGLONG* latest) {
  if (earliest) *earliest = 0;
  if (latest) *latest = owner_->Duration();
  return S_OK;
}

}  // namespace

IBaseFilter* CreateFlvSplitter() { return new FlvSplitter(); }
