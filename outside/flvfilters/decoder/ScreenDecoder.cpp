#include "ScreenDecoder.h"

#include <dshow.h>
#include <dvdmedia.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <vector>

#include "../dshow/DsBase.h"
#include "../format/FlvFormat.h"

using namespace dsbase;

const CLSID CLSID_FfdshowStandIn = {0x04FE9017, 0xF873, 0x410E, {0x87, 0x1E, 0xAB, 0x91, 0x66, 0x1A, 0x4E, 0xF7}};

static const GUID kSubtypeFsv1 = {0x31565346, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};

namespace {

class ScreenDecoder;

class DecoderInput : public PushInputPin {
 public:
  explicit DecoderInput(ScreenDecoder* owner);
  STDMETHODIMP Receive(IMediaSample* sample) override;
  STDMETHODIMP EndOfStream() override;
  STDMETHODIMP BeginFlush() override;
  STDMETHODIMP EndFlush() override;
  STDMETHODIMP NewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate) override;

 protected:
  HRESULT CheckMediaType(const AM_MEDIA_TYPE& mt) override;

 private:
  ScreenDecoder* owner_;
};

class DecoderOutput : public OutputPin, public IMediaSeeking {
 public:
  explicit DecoderOutput(ScreenDecoder* owner);

  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override { return Pin::QueryInterface(riid, ppv); }
  STDMETHODIMP_(ULONG) AddRef() override { return Pin::AddRef(); }
  STDMETHODIMP_(ULONG) Release() override { return Pin::Release(); }

#define FORWARD(call)                        \
  IMediaSeeking* up = nullptr;               \
  HRESULT hr = Upstream(&up);                \
  if (FAILED(hr)) return hr;                 \
  hr = up->call;                             \
  up->Release();                             \
  return hr
  STDMETHODIMP GetCapabilities(DWORD* c) override { FORWARD(GetCapabilities(c)); }
  STDMETHODIMP CheckCapabilities(DWORD* c) override { FORWARD(CheckCapabilities(c)); }
  STDMETHODIMP IsFormatSupported(const GUID* f) override { FORWARD(IsFormatSupported(f)); }
  STDMETHODIMP QueryPreferredFormat(GUID* f) override { FORWARD(QueryPreferredFormat(f)); }
  STDMETHODIMP GetTimeFormat(GUID* f) override { FORWARD(GetTimeFormat(f)); }
  STDMETHODIMP IsUsingTimeFormat(const GUID* f) override { FORWARD(IsUsingTimeFormat(f)); }
  STDMETHODIMP SetTimeFormat(const GUID* f) override { FORWARD(SetTimeFormat(f)); }
  STDMETHODIMP GetDuration(LONGLONG* d) override { FORWARD(GetDuration(d)); }
  STDMETHODIMP GetStopPosition(LONGLONG* s) override { FORWARD(GetStopPosition(s)); }
  STDMETHODIMP GetCurrentPosition(LONGLONG* c) override { FORWARD(GetCurrentPosition(c)); }
  STDMETHODIMP ConvertTimeFormat(LONGLONG* t, const GUID* tf, LONGLONG s, const GUID* sf) override {
    FORWARD(ConvertTimeFormat(t, tf, s, sf));
  }
  STDMETHODIMP SetPositions(LONGLONG* c, DWORD cf, LONGLONG* s, DWORD sf) override { FORWARD(SetPositions(c, cf, s, sf)); }
  STDMETHODIMP GetPositions(LONGLONG* c, LONGLONG* s) override { FORWARD(GetPositions(c, s)); }
  STDMETHODIMP GetAvailable(LONGLONG* e, LONGLONG* l) override { FORWARD(GetAvailable(e, l)); }
  STDMETHODIMP SetRate(double r) override { FORWARD(SetRate(r)); }
  STDMETHODIMP GetRate(double* r) override { FORWARD(GetRate(r)); }
  STDMETHODIMP GetPreroll(LONGLONG* p) override { FORWARD(GetPreroll(p)); }
#undef FORWARD

 protected:
  HRESULT CheckMediaType(const AM_MEDIA_TYPE& mt) override;
  bool GetMediaType(int index, MediaType& out) override;
  HRESULT DecideBufferSize(IMemAllocator* alloc, ALLOCATOR_PROPERTIES& props) override;
  void* QueryOther(REFIID riid) override {
    return riid == IID_IMediaSeeking ? static_cast<IMediaSeeking*>(this) : nullptr;
  }

 private:
  HRESULT Upstream(IMediaSeeking** up);
  ScreenDecoder* owner_;
};

class ScreenDecoder : public Filter {
 public:
  ScreenDecoder() : Filter(CLSID_FfdshowStandIn), input_(this), output_(this) {}

  int PinCount() override { return 2; }
  Pin* PinAt(int i) override { return i == 0 ? static_cast<Pin*>(&input_) : &output_; }

  bool Size(int& w, int& h) const {
    if (!input_.Connected()) return false;
    const auto* vih = reinterpret_cast<const VIDEOINFOHEADER*>(input_.CurrentType().Get().pbFormat);
    w = vih->bmiHeader.biWidth;
    h = std::abs(vih->bmiHeader.biHeight);
    return w > 0 && h > 0;
  }
  HRESULT Decode(IMediaSample* in);
  DecoderInput& Input() { return input_; }
  DecoderOutput& Output() { return output_; }
  zl::CriticalSection& StreamLock() { return streamLock_; }
  std::atomic<bool> flushing{false};

 protected:
  void OnStop() override { output_.Inactive(); }
  void OnPause(bool fromStopped) override {
    if (fromStopped) output_.Active();
  }

 private:
  DecoderInput input_;
  DecoderOutput output_;
  zl::CriticalSection streamLock_;
  std::vector<uint8_t> image_;
};

// ---- input ---------------------------------------------------------------------

DecoderInput::DecoderInput(ScreenDecoder* owner) : PushInputPin(owner, L"In"), owner_(owner) {}

HRESULT DecoderInput::CheckMediaType(const AM_MEDIA_TYPE& mt) {
  if (mt.majortype != MEDIATYPE_Video || mt.subtype != kSubtypeFsv1 || mt.formattype != FORMAT_VideoInfo ||
      mt.cbFormat < sizeof(VIDEOINFOHEADER) || !mt.pbFormat)
    return S_FALSE;
  const auto* vih = reinterpret_cast<const VIDEOINFOHEADER*>(mt.pbFormat);
  return vih->bmiHeader.biWidth > 0 && vih->bmiHeader.biWidth < 4096 && vih->bmiHeader.biHeight != 0 ? S_OK : S_FALSE;
}

STDMETHODIMP DecoderInput::Receive(IMediaSample* sample) {
  if (!sample) return E_POINTER;
  if (owner_->State() == State_Stopped) return VFW_E_WRONG_STATE;
  zl::Lock lock(owner_->StreamLock());
  if (owner_->flushing) return S_FALSE;
  return owner_->Decode(sample);
}

STDMETHODIMP DecoderInput::EndOfStream() {
  zl::Lock lock(owner_->StreamLock());
  return owner_->Output().DeliverEndOfStream();
}

STDMETHODIMP DecoderInput::BeginFlush() {
  // Not under the stream lock: the thread inside Receive may be blocked
  // downstream until the flush reaches the renderer.
  owner_->flushing = true;
  return owner_->Output().DeliverBeginFlush();
}

STDMETHODIMP DecoderInput::EndFlush() {
  zl::Lock lock(owner_->StreamLock());
  owner_->flushing = false;
  return owner_->Output().DeliverEndFlush();
}

STDMETHODIMP DecoderInput::NewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate) {
  return owner_->Output().DeliverNewSegment(start, stop, rate);
}

// ---- output --------------------------------------------------------------------

DecoderOutput::DecoderOutput(ScreenDecoder* owner) : OutputPin(owner, L"Out"), owner_(owner) {}

HRESULT DecoderOutput::Upstream(IMediaSeeking** up) { return UpstreamSeeking(&owner_->Input(), up); }

bool DecoderOutput::GetMediaType(int index, MediaType& out) {
  int w, h;
  if (index != 0 || !owner_->Size(w, h)) return false;
  AM_MEDIA_TYPE& mt = out.Get();
  mt.majortype = MEDIATYPE_Video;
  mt.subtype = MEDIASUBTYPE_RGB32;
  mt.formattype = FORMAT_VideoInfo;
  mt.bFixedSizeSamples = TRUE;
  mt.lSampleSize = ULONG(w * h * 4);
  auto* vih = reinterpret_cast<VIDEOINFOHEADER*>(out.AllocFormat(sizeof(VIDEOINFOHEADER)));
  vih->bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  vih->bmiHeader.biWidth = w;
  vih->bmiHeader.biHeight = h;
  vih->bmiHeader.biPlanes = 1;
  vih->bmiHeader.biBitCount = 32;
  vih->bmiHeader.biCompression = BI_RGB;
  vih->bmiHeader.biSizeImage = DWORD(w * h * 4);
  return true;
}

HRESULT DecoderOutput::CheckMediaType(const AM_MEDIA_TYPE& mt) {
  int w, h;
  if (!owner_->Size(w, h)) return S_FALSE;
  return mt.majortype == MEDIATYPE_Video && mt.subtype == MEDIASUBTYPE_RGB32 ? S_OK : S_FALSE;
}

HRESULT DecoderOutput::DecideBufferSize(IMemAllocator* alloc, ALLOCATOR_PROPERTIES& props) {
  int w, h;
  if (!owner_->Size(w, h)) return E_FAIL;
  ALLOCATOR_PROPERTIES want = props, got = {};
  want.cBuffers = std::max<long>(props.cBuffers, 2);
  want.cbBuffer = std::max<long>(props.cbBuffer, w * h * 4);
  if (want.cbAlign <= 0) want.cbAlign = 1;
  const HRESULT hr = alloc->SetProperties(&want, &got);
  return FAILED(hr) ? hr : (got.cbBuffer >= w * h * 4 ? S_OK : E_FAIL);
}

// ---- decoding ------------------------------------------------------------------

HRESULT ScreenDecoder::Decode(IMediaSample* in) {
  int w, h;
  if (!Size(w, h)) return E_FAIL;
  BYTE* data = nullptr;
  in->GetPointer(&data);
  const long size = in->GetActualDataLength();
  flvstandin::ScreenHeader sh;
  if (!flvstandin::ParseScreenHeader(data, size_t(size), sh) || sh.width != w || sh.height != h) return S_OK;
  if (image_.size() != size_t(w) * h * 4) image_.assign(size_t(w) * h * 4, 0);
  if (!flvstandin::DecodeScreenFrame(data, size_t(size), image_)) return S_OK;  // a bad frame is skipped

  IMediaSample* out = nullptr;
  HRESULT hr = output_.GetDeliveryBuffer(&out);
  if (FAILED(hr)) return hr;
  // The renderer may ask for another stride (a wider surface) with the sample.
  int stride = w * 4;
  AM_MEDIA_TYPE* changed = nullptr;
  if (out->GetMediaType(&changed) == S_OK && changed) {
    if (changed->formattype == FORMAT_VideoInfo && changed->pbFormat) {
      const auto* vih = reinterpret_cast<const VIDEOINFOHEADER*>(changed->pbFormat);
      if (vih->bmiHeader.biWidth >= w) stride = vih->bmiHeader.biWidth * 4;
    }
    DeleteMediaTypeCopy(changed);
  }
  BYTE* dst = nullptr;
  out->GetPointer(&dst);
  if (out->GetSize() < stride * h) {
    out->Release();
    return E_FAIL;
  }
  for (int row = 0; row < h; ++row) std::memcpy(dst + size_t(row) * stride, image_.data() + size_t(row) * w * 4, size_t(w) * 4);
  out->SetActualDataLength(stride * h);
  REFERENCE_TIME start = 0, stop = 0;
  if (SUCCEEDED(in->GetTime(&start, &stop))) out->SetTime(&start, &stop);
  out->SetSyncPoint(TRUE);
  out->SetDiscontinuity(in->IsDiscontinuity() == S_OK);
  hr = output_.Deliver(out);
  out->Release();
  return hr;
}

}  // namespace

IBaseFilter* CreateScreenDecoder() { return new ScreenDecoder(); }
