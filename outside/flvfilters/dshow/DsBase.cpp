#include "DsBase.h"

#include <cstring>

namespace dsbase {

std::atomic<long> g_objects{0};

void FreeMediaTypeContents(AM_MEDIA_TYPE& mt) {
  if (mt.cbFormat && mt.pbFormat) CoTaskMemFree(mt.pbFormat);
  mt.cbFormat = 0;
  mt.pbFormat = nullptr;
  if (mt.pUnk) mt.pUnk->Release();
  mt.pUnk = nullptr;
}

HRESULT CopyMediaTypeTo(AM_MEDIA_TYPE& dst, const AM_MEDIA_TYPE& src) {
  dst = src;
  dst.pbFormat = nullptr;
  dst.cbFormat = 0;
  if (src.cbFormat && src.pbFormat) {
    dst.pbFormat = static_cast<BYTE*>(CoTaskMemAlloc(src.cbFormat));
    if (!dst.pbFormat) return E_OUTOFMEMORY;
    std::memcpy(dst.pbFormat, src.pbFormat, src.cbFormat);
    dst.cbFormat = src.cbFormat;
  }
  if (dst.pUnk) dst.pUnk->AddRef();
  return S_OK;
}

AM_MEDIA_TYPE* NewMediaTypeCopy(const AM_MEDIA_TYPE& src) {
  auto* mt = static_cast<AM_MEDIA_TYPE*>(CoTaskMemAlloc(sizeof(AM_MEDIA_TYPE)));
  if (!mt) return nullptr;
  if (FAILED(CopyMediaTypeTo(*mt, src))) {
    CoTaskMemFree(mt);
    return nullptr;
  }
  return mt;
}

void DeleteMediaTypeCopy(AM_MEDIA_TYPE* mt) {
  if (!mt) return;
  FreeMediaTypeContents(*mt);
  CoTaskMemFree(mt);
}

bool PartialMatch(const AM_MEDIA_TYPE& offered, const AM_MEDIA_TYPE* wanted) {
  if (!wanted) return true;
  if (wanted->majortype != GUID_NULL && wanted->majortype != offered.majortype) return false;
  if (wanted->subtype != GUID_NULL && wanted->subtype != offered.subtype) return false;
  if (wanted->formattype != GUID_NULL && wanted->formattype != offered.formattype) return false;
  return true;
}

BYTE* MediaType::AllocFormat(ULONG bytes) {
  if (mt_.pbFormat) CoTaskMemFree(mt_.pbFormat);
  mt_.pbFormat = static_cast<BYTE*>(CoTaskMemAlloc(bytes));
  mt_.cbFormat = mt_.pbFormat ? bytes : 0;
  if (mt_.pbFormat) ZeroMemory(mt_.pbFormat, bytes);
  return mt_.pbFormat;
}

namespace {

// IEnumPins over a snapshot of the filter's pins.
class PinEnum : public IEnumPins {
 public:
  PinEnum(Filter* filter, size_t at) : filter_(filter), at_(at) {
    filter_->AddRef();
    ++g_objects;
  }
  virtual ~PinEnum() {
    filter_->Release();
    --g_objects;
  }
  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
    if (riid == IID_IUnknown || riid == IID_IEnumPins) {
      *ppv = static_cast<IEnumPins*>(this);
      AddRef();
      return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return ULONG(++refs_); }
  STDMETHODIMP_(ULONG) Release() override {
    const long n = --refs_;
    if (n == 0) delete this;
    return ULONG(n);
  }
  STDMETHODIMP Next(ULONG count, IPin** pins, ULONG* fetched) override {
    ULONG n = 0;
    while (n < count && int(at_) < filter_->PinCount()) {
      pins[n] = filter_->PinAt(int(at_++));
      pins[n]->AddRef();
      ++n;
    }
    if (fetched) *fetched = n;
    return n == count ? S_OK : S_FALSE;
  }
  STDMETHODIMP Skip(ULONG count) override {
    at_ += count;
    return int(at_) <= filter_->PinCount() ? S_OK : S_FALSE;
  }
  STDMETHODIMP Reset() override {
    at_ = 0;
    return S_OK;
  }
  STDMETHODIMP Clone(IEnumPins** e) override {
    *e = new PinEnum(filter_, at_);
    return S_OK;
  }

 private:
  std::atomic<long> refs_{1};
  Filter* filter_;
  size_t at_;
};

// IEnumMediaTypes over a copy of the pin's types.
class TypeEnum : public IEnumMediaTypes {
 public:
  TypeEnum(std::vector<MediaType> types, size_t at) : types_(std::move(types)), at_(at) { ++g_objects; }
  virtual ~TypeEnum() { --g_objects; }
  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
    if (riid == IID_IUnknown || riid == IID_IEnumMediaTypes) {
      *ppv = static_cast<IEnumMediaTypes*>(this);
      AddRef();
      return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return ULONG(++refs_); }
  STDMETHODIMP_(ULONG) Release() override {
    const long n = --refs_;
    if (n == 0) delete this;
    return ULONG(n);
  }
  STDMETHODIMP Next(ULONG count, AM_MEDIA_TYPE** out, ULONG* fetched) override {
    ULONG n = 0;
    while (n < count && at_ < types_.size()) out[n++] = NewMediaTypeCopy(types_[at_++].Get());
    if (fetched) *fetched = n;
    return n == count ? S_OK : S_FALSE;
  }
  STDMETHODIMP Skip(ULONG count) override {
    at_ += count;
    return at_ <= types_.size() ? S_OK : S_FALSE;
  }
  STDMETHODIMP Reset() override {
    at_ = 0;
    return S_OK;
  }
  STDMETHODIMP Clone(IEnumMediaTypes** e) override {
    *e = new TypeEnum(types_, at_);
    return S_OK;
  }

 private:
  std::atomic<long> refs_{1};
  std::vector<MediaType> types_;
  size_t at_;
};

}  // namespace

// ---- Pin ------------------------------------------------------------------

Pin::Pin(Filter* filter, PIN_DIRECTION dir, const wchar_t* name) : filter_(filter), dir_(dir), name_(name) {}

Pin::~Pin() {
  if (peer_) peer_->Release();
}

STDMETHODIMP Pin::QueryInterface(REFIID riid, void** ppv) {
  if (!ppv) return E_POINTER;
  if (riid == IID_IUnknown || riid == IID_IPin) {
    *ppv = static_cast<IPin*>(this);
  } else if (void* other = QueryOther(riid)) {
    *ppv = other;
  } else {
    *ppv = nullptr;
    return E_NOINTERFACE;
  }
  AddRef();
  return S_OK;
}

STDMETHODIMP_(ULONG) Pin::AddRef() { return filter_->AddRef(); }
STDMETHODIMP_(ULONG) Pin::Release() { return filter_->Release(); }

STDMETHODIMP Pin::Disconnect() {
  zl::Lock lock(filter_->FilterLock());
  if (filter_->State() != State_Stopped) return VFW_E_NOT_STOPPED;
  if (!peer_) return S_FALSE;
  BreakConnect();
  peer_->Release();
  peer_ = nullptr;
  mt_.Clear();
  return S_OK;
}

STDMETHODIMP Pin::ConnectedTo(IPin** pin) {
  if (!pin) return E_POINTER;
  zl::Lock lock(filter_->FilterLock());
  *pin = peer_;
  if (!peer_) return VFW_E_NOT_CONNECTED;
  peer_->AddRef();
  return S_OK;
}

STDMETHODIMP Pin::ConnectionMediaType(AM_MEDIA_TYPE* mt) {
  if (!mt) return E_POINTER;
  zl::Lock lock(filter_->FilterLock());
  if (!peer_) {
    ZeroMemory(mt, sizeof *mt);
    return VFW_E_NOT_CONNECTED;
  }
  return CopyMediaTypeTo(*mt, mt_.Get());
}

STDMETHODIMP Pin::QueryPinInfo(PIN_INFO* info) {
  if (!info) return E_POINTER;
  info->pFilter = filter_;
  filter_->AddRef();
  info->dir = dir_;
  lstrcpynW(info->achName, name_.c_str(), MAX_PIN_NAME);
  return S_OK;
}

STDMETHODIMP Pin::QueryDirection(PIN_DIRECTION* dir) {
  if (!dir) return E_POINTER;
  *dir = dir_;
  return S_OK;
}

STDMETHODIMP Pin::QueryId(LPWSTR* id) {
  if (!id) return E_POINTER;
  const size_t bytes = (name_.size() + 1) * sizeof(wchar_t);
  *id = static_cast<LPWSTR>(CoTaskMemAlloc(bytes));
  if (!*id) return E_OUTOFMEMORY;
  std::memcpy(*id, name_.c_str(), bytes);
  return S_OK;
}

STDMETHODIMP Pin::QueryAccept(const AM_MEDIA_TYPE* mt) {
  if (!mt) return E_POINTER;
  return CheckMediaType(*mt) == S_OK ? S_OK : S_FALSE;
}

STDMETHODIMP Pin::EnumMediaTypes(IEnumMediaTypes** e) {
  if (!e) return E_POINTER;
  std::vector<MediaType> types;
  MediaType mt;
  for (int i = 0; GetMediaType(i, mt); ++i) types.push_back(mt);
  *e = new TypeEnum(std::move(types), 0);
  return S_OK;
}

STDMETHODIMP Pin::QueryInternalConnections(IPin**, ULONG*) { return E_NOTIMPL; }

// ---- OutputPin ------------------------------------------------------------

OutputPin::~OutputPin() { OutputPin::BreakConnect(); }

STDMETHODIMP OutputPin::Connect(IPin* receive, const AM_MEDIA_TYPE* wanted) {
  if (!receive) return E_POINTER;
  zl::Lock lock(filter_->FilterLock());
  if (peer_) return VFW_E_ALREADY_CONNECTED;
  if (filter_->State() != State_Stopped) return VFW_E_NOT_STOPPED;
  MediaType mt;
  for (int i = 0; GetMediaType(i, mt); ++i) {
    if (PartialMatch(mt.Get(), wanted) && TryConnect(receive, mt.Get()) == S_OK) return S_OK;
  }
  return VFW_E_NO_ACCEPTABLE_TYPES;
}

HRESULT OutputPin::TryConnect(IPin* receive, const AM_MEDIA_TYPE& mt) {
  if (CheckMediaType(mt) != S_OK) return S_FALSE;
  peer_ = receive;
  peer_->AddRef();
  mt_.Set(mt);
  HRESULT hr = receive->ReceiveConnection(this, &mt);
  if (hr == S_OK) {
    hr = DecideAllocator();
    if (FAILED(hr)) receive->Disconnect();
  }
  if (hr != S_OK) {
    BreakConnect();
    peer_->Release();
    peer_ = nullptr;
    mt_.Clear();
    return S_FALSE;
  }
  return S_OK;
}

HRESULT OutputPin::DecideAllocator() {
  HRESULT hr = peer_->QueryInterface(IID_IMemInputPin, reinterpret_cast<void**>(&input_));
  if (FAILED(hr)) return VFW_E_NO_TRANSPORT;
  ALLOCATOR_PROPERTIES props = {};
  if (FAILED(input_->GetAllocator(&allocator_)) || !allocator_) {
    hr = CoCreateInstance(CLSID_MemoryAllocator, nullptr, CLSCTX_INPROC_SERVER, IID_IMemAllocator,
                          reinterpret_cast<void**>(&allocator_));
    if (FAILED(hr)) return hr;
  }
  input_->GetAllocatorRequirements(&props);
  hr = DecideBufferSize(allocator_, props);
  if (FAILED(hr)) return hr;
  return input_->NotifyAllocator(allocator_, FALSE);
}

void OutputPin::BreakConnect() {
  if (allocator_) {
    allocator_->Decommit();
    allocator_->Release();
    allocator_ = nullptr;
  }
  if (input_) {
    input_->Release();
    input_ = nullptr;
  }
}

HRESULT OutputPin::Active() { return allocator_ ? allocator_->Commit() : S_OK; }
HRESULT OutputPin::Inactive() { return allocator_ ? allocator_->Decommit() : S_OK; }

HRESULT OutputPin::GetDeliveryBuffer(IMediaSample** sample) {
  if (!allocator_) return VFW_E_NO_ALLOCATOR;
  return allocator_->GetBuffer(sample, nullptr, nullptr, 0);
}

HRESULT OutputPin::Deliver(IMediaSample* sample) { return input_ ? input_->Receive(sample) : VFW_E_NOT_CONNECTED; }
HRESULT OutputPin::DeliverEndOfStream() { return peer_ ? peer_->EndOfStream() : VFW_E_NOT_CONNECTED; }
HRESULT OutputPin::DeliverBeginFlush() { return peer_ ? peer_->BeginFlush() : VFW_E_NOT_CONNECTED; }
HRESULT OutputPin::DeliverEndFlush() { return peer_ ? peer_->EndFlush() : VFW_E_NOT_CONNECTED; }
HRESULT OutputPin::DeliverNewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate) {
  return peer_ ? peer_->NewSegment(start, stop, rate) : VFW_E_NOT_CONNECTED;
}

// ---- PullInputPin ---------------------------------------------------------

PullInputPin::~PullInputPin() { PullInputPin::BreakConnect(); }

HRESULT PullInputPin::CheckMediaType(const AM_MEDIA_TYPE& mt) {
  return mt.majortype == MEDIATYPE_Stream ? S_OK : S_FALSE;
}

STDMETHODIMP PullInputPin::ReceiveConnection(IPin* connector, const AM_MEDIA_TYPE* mt) {
  if (!connector || !mt) return E_POINTER;
  zl::Lock lock(filter_->FilterLock());
  if (peer_) return VFW_E_ALREADY_CONNECTED;
  if (filter_->State() != State_Stopped) return VFW_E_NOT_STOPPED;
  if (CheckMediaType(*mt) != S_OK) return VFW_E_TYPE_NOT_ACCEPTED;
  IAsyncReader* reader = nullptr;
  if (FAILED(connector->QueryInterface(IID_IAsyncReader, reinterpret_cast<void**>(&reader))))
    return VFW_E_NO_TRANSPORT;
  const HRESULT hr = CompleteConnect(reader);
  if (FAILED(hr)) {
    reader->Release();
    return VFW_E_TYPE_NOT_ACCEPTED;
  }
  reader_ = reader;
  peer_ = connector;
  peer_->AddRef();
  mt_.Set(*mt);
  return S_OK;
}

void PullInputPin::BreakConnect() {
  if (reader_) reader_->Release();
  reader_ = nullptr;
}

// ---- PushInputPin ---------------------------------------------------------

PushInputPin::~PushInputPin() { PushInputPin::BreakConnect(); }

void* PushInputPin::QueryOther(REFIID riid) {
  return riid == IID_IMemInputPin ? static_cast<IMemInputPin*>(this) : nullptr;
}

STDMETHODIMP PushInputPin::ReceiveConnection(IPin* connector, const AM_MEDIA_TYPE* mt) {
  if (!connector || !mt) return E_POINTER;
  zl::Lock lock(filter_->FilterLock());
  if (peer_) return VFW_E_ALREADY_CONNECTED;
  if (filter_->State() != State_Stopped) return VFW_E_NOT_STOPPED;
  if (CheckMediaType(*mt) != S_OK) return VFW_E_TYPE_NOT_ACCEPTED;
  peer_ = connector;
  peer_->AddRef();
  mt_.Set(*mt);
  const HRESULT hr = CompleteConnect();
  if (FAILED(hr)) {
    peer_->Release();
    peer_ = nullptr;
    mt_.Clear();
    return hr;
  }
  return S_OK;
}

STDMETHODIMP PushInputPin::NotifyAllocator(IMemAllocator* alloc, BOOL) {
  if (!alloc) return E_POINTER;
  alloc->AddRef();
  if (allocator_) allocator_->Release();
  allocator_ = alloc;
  return S_OK;
}

STDMETHODIMP PushInputPin::ReceiveMultiple(IMediaSample** samples, long n, long* done) {
  HRESULT hr = S_OK;
  long i = 0;
  for (; i < n; ++i) {
    hr = Receive(samples[i]);
    if (hr != S_OK) break;
  }
  if (done) *done = i;
  return hr;
}

void PushInputPin::BreakConnect() {
  if (allocator_) allocator_->Release();
  allocator_ = nullptr;
}

// ---- Filter ---------------------------------------------------------------

Filter::Filter(const CLSID& clsid) : clsid_(clsid) { ++g_objects; }

Filter::~Filter() {
  if (clock_) clock_->Release();
  --g_objects;
}

STDMETHODIMP Filter::QueryInterface(REFIID riid, void** ppv) {
  if (!ppv) return E_POINTER;
  if (riid == IID_IUnknown || riid == IID_IPersist || riid == IID_IMediaFilter || riid == IID_IBaseFilter) {
    *ppv = static_cast<IBaseFilter*>(this);
  } else if (void* other = QueryOther(riid)) {
    *ppv = other;
  } else {
    *ppv = nullptr;
    return E_NOINTERFACE;
  }
  AddRef();
  return S_OK;
}

STDMETHODIMP_(ULONG) Filter::AddRef() { return ULONG(++refs_); }

STDMETHODIMP_(ULONG) Filter::Release() {
  const long n = --refs_;
  if (n == 0) delete this;
  return ULONG(n);
}

STDMETHODIMP Filter::GetClassID(CLSID* clsid) {
  if (!clsid) return E_POINTER;
  *clsid = clsid_;
  return S_OK;
}

STDMETHODIMP Filter::Stop() {
  {
    zl::Lock lock(lock_);
    if (state_ == State_Stopped) return S_OK;
    state_ = State_Stopped;
  }
  OnStop();
  return S_OK;
}

STDMETHODIMP Filter::Pause() {
  bool fromStopped;
  {
    zl::Lock lock(lock_);
    fromStopped = state_ == State_Stopped;
    state_ = State_Paused;
  }
  OnPause(fromStopped);
  return S_OK;
}

STDMETHODIMP Filter::Run(REFERENCE_TIME) {
  bool fromStopped;
  {
    zl::Lock lock(lock_);
    fromStopped = state_ == State_Stopped;
    state_ = State_Running;
  }
  if (fromStopped) OnPause(true);
  return S_OK;
}

STDMETHODIMP Filter::GetState(DWORD, FILTER_STATE* state) {
  if (!state) return E_POINTER;
  zl::Lock lock(lock_);
  *state = state_;
  return S_OK;
}

STDMETHODIMP Filter::SetSyncSource(IReferenceClock* clock) {
  zl::Lock lock(lock_);
  if (clock) clock->AddRef();
  if (clock_) clock_->Release();
  clock_ = clock;
  return S_OK;
}

STDMETHODIMP Filter::GetSyncSource(IReferenceClock** clock) {
  if (!clock) return E_POINTER;
  zl::Lock lock(lock_);
  *clock = clock_;
  if (clock_) clock_->AddRef();
  return S_OK;
}

STDMETHODIMP Filter::EnumPins(IEnumPins** e) {
  if (!e) return E_POINTER;
  *e = new PinEnum(this, 0);
  return S_OK;
}

STDMETHODIMP Filter::FindPin(LPCWSTR id, IPin** pin) {
  if (!id || !pin) return E_POINTER;
  for (int i = 0; i < PinCount(); ++i) {
    LPWSTR pinId = nullptr;
    if (SUCCEEDED(PinAt(i)->QueryId(&pinId))) {
      const bool same = lstrcmpW(pinId, id) == 0;
      CoTaskMemFree(pinId);
      if (same) {
        *pin = PinAt(i);
        (*pin)->AddRef();
        return S_OK;
      }
    }
  }
  *pin = nullptr;
  return VFW_E_NOT_FOUND;
}

STDMETHODIMP Filter::QueryFilterInfo(FILTER_INFO* info) {
  if (!info) return E_POINTER;
  zl::Lock lock(lock_);
  lstrcpynW(info->achName, name_.c_str(), MAX_FILTER_NAME);
  info->pGraph = graph_;
  if (graph_) graph_->AddRef();
  return S_OK;
}

STDMETHODIMP Filter::JoinFilterGraph(IFilterGraph* graph, LPCWSTR name) {
  zl::Lock lock(lock_);
  graph_ = graph;
  name_ = name ? name : L"";
  return S_OK;
}

void Filter::NotifyEvent(long code, LONG_PTR p1, LONG_PTR p2) {
  IMediaEventSink* sink = nullptr;
  {
    zl::Lock lock(lock_);
    if (!graph_ || FAILED(graph_->QueryInterface(IID_IMediaEventSink, reinterpret_cast<void**>(&sink)))) return;
  }
  sink->Notify(code, p1, p2);
  sink->Release();
}

HRESULT UpstreamSeeking(IPin* inputPin, IMediaSeeking** seeking) {
  *seeking = nullptr;
  IPin* upstream = nullptr;
  if (FAILED(inputPin->ConnectedTo(&upstream))) return VFW_E_NOT_CONNECTED;
  const HRESULT hr = upstream->QueryInterface(IID_IMediaSeeking, reinterpret_cast<void**>(seeking));
  upstream->Release();
  return FAILED(hr) ? E_NOTIMPL : S_OK;
}

}  // namespace dsbase
