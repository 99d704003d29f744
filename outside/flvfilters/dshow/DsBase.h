#pragma once
// A small base for the stand-in DirectShow filters, written on raw COM (no
// DirectShow base classes): media type helpers, a filter with its state and
// clock, pins whose reference counts live in their filter, a push output
// pin with allocator negotiation, a pull input pin for a file source and a
// push input pin.
#include <windows.h>
#include <dshow.h>

#include <atomic>
#include <string>
#include <vector>

#include "shared/CriticalSection.h"

namespace dsbase {

// Objects alive in this module, for DllCanUnloadNow.
extern std::atomic<long> g_objects;

void FreeMediaTypeContents(AM_MEDIA_TYPE& mt);
HRESULT CopyMediaTypeTo(AM_MEDIA_TYPE& dst, const AM_MEDIA_TYPE& src);
AM_MEDIA_TYPE* NewMediaTypeCopy(const AM_MEDIA_TYPE& src);  // CoTaskMem, for enumerators
void DeleteMediaTypeCopy(AM_MEDIA_TYPE* mt);
// Major type, subtype and format of `wanted` that are not GUID_NULL must match.
bool PartialMatch(const AM_MEDIA_TYPE& offered, const AM_MEDIA_TYPE* wanted);

// An owned media type.
class MediaType {
 public:
  MediaType() { ZeroMemory(&mt_, sizeof mt_); }
  MediaType(const MediaType& o) : MediaType() { CopyMediaTypeTo(mt_, o.mt_); }
  MediaType& operator=(const MediaType& o) {
    if (this != &o) {
      FreeMediaTypeContents(mt_);
      CopyMediaTypeTo(mt_, o.mt_);
    }
    return *this;
  }
  ~MediaType() { FreeMediaTypeContents(mt_); }
  void Set(const AM_MEDIA_TYPE& src) {
    FreeMediaTypeContents(mt_);
    CopyMediaTypeTo(mt_, src);
  }
  void Clear() { FreeMediaTypeContents(mt_); }
  // Allocates the format block (zeroed).
  BYTE* AllocFormat(ULONG bytes);
  AM_MEDIA_TYPE& Get() { return mt_; }
  const AM_MEDIA_TYPE& Get() const { return mt_; }

 private:
  AM_MEDIA_TYPE mt_;
};

class Filter;

class Pin : public IPin {
 public:
  Pin(Filter* filter, PIN_DIRECTION dir, const wchar_t* name);
  virtual ~Pin();

  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;

  STDMETHODIMP Disconnect() override;
  STDMETHODIMP ConnectedTo(IPin** pin) override;
  STDMETHODIMP ConnectionMediaType(AM_MEDIA_TYPE* mt) override;
  STDMETHODIMP QueryPinInfo(PIN_INFO* info) override;
  STDMETHODIMP QueryDirection(PIN_DIRECTION* dir) override;
  STDMETHODIMP QueryId(LPWSTR* id) override;
  STDMETHODIMP QueryAccept(const AM_MEDIA_TYPE* mt) override;
  STDMETHODIMP EnumMediaTypes(IEnumMediaTypes** e) override;
  STDMETHODIMP QueryInternalConnections(IPin** pins, ULONG* n) override;

  bool Connected() const { return peer_ != nullptr; }
  const MediaType& CurrentType() const { return mt_; }
  IPin* Peer() const { return peer_; }

 protected:
  virtual HRESULT CheckMediaType(const AM_MEDIA_TYPE& mt) = 0;
  virtual bool GetMediaType(int index, MediaType& out) { return false; }
  virtual void BreakConnect() {}
  // Other interfaces of the pin object.
  virtual void* QueryOther(REFIID riid) { return nullptr; }

  Filter* filter_;
  PIN_DIRECTION dir_;
  std::wstring name_;
  IPin* peer_ = nullptr;
  MediaType mt_;
};

// A pin that pushes samples into the downstream IMemInputPin.
class OutputPin : public Pin {
 public:
  OutputPin(Filter* filter, const wchar_t* name) : Pin(filter, PINDIR_OUTPUT, name) {}
  ~OutputPin() override;

  STDMETHODIMP Connect(IPin* receive, const AM_MEDIA_TYPE* mt) override;
  STDMETHODIMP ReceiveConnection(IPin*, const AM_MEDIA_TYPE*) override { return E_UNEXPECTED; }
  STDMETHODIMP EndOfStream() override { return E_UNEXPECTED; }
  STDMETHODIMP BeginFlush() override { return E_UNEXPECTED; }
  STDMETHODIMP EndFlush() override { return E_UNEXPECTED; }
  STDMETHODIMP NewSegment(REFERENCE_TIME, REFERENCE_TIME, double) override { return E_UNEXPECTED; }

  HRESULT Active();    // commits the allocator
  HRESULT Inactive();  // decommits it: a thread waiting for a buffer gives up
  HRESULT GetDeliveryBuffer(IMediaSample** sample);
  HRESULT Deliver(IMediaSample* sample);
  HRESULT DeliverEndOfStream();
  HRESULT DeliverBeginFlush();
  HRESULT DeliverEndFlush();
  HRESULT DeliverNewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate);

 protected:
  virtual HRESULT DecideBufferSize(IMemAllocator* alloc, ALLOCATOR_PROPERTIES& props) = 0;
  void BreakConnect() override;

 private:
  HRESULT TryConnect(IPin* receive, const AM_MEDIA_TYPE& mt);
  HRESULT DecideAllocator();

  IMemInputPin* input_ = nullptr;
  IMemAllocator* allocator_ = nullptr;
};

// An input pin that reads its file through the source's IAsyncReader.
class PullInputPin : public Pin {
 public:
  PullInputPin(Filter* filter, const wchar_t* name) : Pin(filter, PINDIR_INPUT, name) {}
  ~PullInputPin() override;

  STDMETHODIMP Connect(IPin*, const AM_MEDIA_TYPE*) override { return E_UNEXPECTED; }
  STDMETHODIMP ReceiveConnection(IPin* connector, const AM_MEDIA_TYPE* mt) override;
  STDMETHODIMP EndOfStream() override { return S_OK; }
  STDMETHODIMP BeginFlush() override { return S_OK; }
  STDMETHODIMP EndFlush() override { return S_OK; }
  STDMETHODIMP NewSegment(REFERENCE_TIME, REFERENCE_TIME, double) override { return S_OK; }

  IAsyncReader* Reader() const { return reader_; }

 protected:
  HRESULT CheckMediaType(const AM_MEDIA_TYPE& mt) override;
  // The filter reads what it needs; a failure refuses the connection.
  virtual HRESULT CompleteConnect(IAsyncReader* reader) = 0;
  void BreakConnect() override;

 private:
  IAsyncReader* reader_ = nullptr;
};

// An input pin that receives pushed samples.
class PushInputPin : public Pin, public IMemInputPin {
 public:
  PushInputPin(Filter* filter, const wchar_t* name) : Pin(filter, PINDIR_INPUT, name) {}
  ~PushInputPin() override;

  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override { return Pin::QueryInterface(riid, ppv); }
  STDMETHODIMP_(ULONG) AddRef() override { return Pin::AddRef(); }
  STDMETHODIMP_(ULONG) Release() override { return Pin::Release(); }

  STDMETHODIMP Connect(IPin*, const AM_MEDIA_TYPE*) override { return E_UNEXPECTED; }
  STDMETHODIMP ReceiveConnection(IPin* connector, const AM_MEDIA_TYPE* mt) override;

  STDMETHODIMP GetAllocator(IMemAllocator** alloc) override { return VFW_E_NO_ALLOCATOR; }
  STDMETHODIMP NotifyAllocator(IMemAllocator* alloc, BOOL readOnly) override;
  STDMETHODIMP GetAllocatorRequirements(ALLOCATOR_PROPERTIES*) override { return E_NOTIMPL; }
  STDMETHODIMP ReceiveMultiple(IMediaSample** samples, long n, long* done) override;
  STDMETHODIMP ReceiveCanBlock() override { return S_OK; }

 protected:
  void* QueryOther(REFIID riid) override;
  void BreakConnect() override;
  virtual HRESULT CompleteConnect() { return S_OK; }

 private:
  IMemAllocator* allocator_ = nullptr;
};

class Filter : public IBaseFilter {
 public:
  explicit Filter(const CLSID& clsid);
  virtual ~Filter();

  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;

  STDMETHODIMP GetClassID(CLSID* clsid) override;
  STDMETHODIMP Stop() override;
  STDMETHODIMP Pause() override;
  STDMETHODIMP Run(REFERENCE_TIME start) override;
  STDMETHODIMP GetState(DWORD ms, FILTER_STATE* state) override;
  STDMETHODIMP SetSyncSource(IReferenceClock* clock) override;
  STDMETHODIMP GetSyncSource(IReferenceClock** clock) override;
  STDMETHODIMP EnumPins(IEnumPins** e) override;
  STDMETHODIMP FindPin(LPCWSTR id, IPin** pin) override;
  STDMETHODIMP QueryFilterInfo(FILTER_INFO* info) override;
  STDMETHODIMP JoinFilterGraph(IFilterGraph* graph, LPCWSTR name) override;
  STDMETHODIMP QueryVendorInfo(LPWSTR* info) override { return E_NOTIMPL; }

  FILTER_STATE State() const { return state_; }
  zl::CriticalSection& FilterLock() { return lock_; }
  // Posts an event to the graph (EC_ERRORABORT and the like).
  void NotifyEvent(long code, LONG_PTR p1, LONG_PTR p2);

  virtual int PinCount() = 0;
  virtual Pin* PinAt(int index) = 0;

 protected:
  // Called without the filter lock held, so that streaming threads can end.
  virtual void OnStop() {}
  virtual void OnPause(bool fromStopped) {}
  virtual void* QueryOther(REFIID riid) { return nullptr; }

 private:
  std::atomic<long> refs_{1};
  CLSID clsid_;
  zl::CriticalSection lock_;
  FILTER_STATE state_ = State_Stopped;
  IReferenceClock* clock_ = nullptr;
  IFilterGraph* graph_ = nullptr;  // not referenced: the graph owns us
  std::wstring name_;
};

// Forwards IMediaSeeking to the upstream pin's (decoders sit in the middle).
HRESULT UpstreamSeeking(IPin* inputPin, IMediaSeeking** seeking);

}  // namespace dsbase
