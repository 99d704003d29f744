#include "flv/FlvGraph.h"

#include <evcode.h>

#include <memory>
#include <vector>

#include "FlvLog.h"
#include "flv/DialogWait.h"
#include "flv/FileHook.h"
#include "flv/FlvRules.h"
#include "shared/BoundedWorker.h"
#include "shared/Logger.h"

namespace clipview {

const CLSID CLSID_FlvSplitter = {0x47E792CF, 0x0BBE, 0x4F7A, {0x85, 0x9C, 0x19, 0x4B, 0x07, 0x68, 0x65, 0x0A}};

namespace {

constexpr LONGLONG kUnitsPerSecond = 10000000;

// The first pin of the wanted direction that is not connected yet.
zl::ComPtr<IPin> GetUnconnectedPin(IBaseFilter* filter, PIN_DIRECTION wanted) {
  zl::ComPtr<IEnumPins> pins;
  if (FAILED(filter->EnumPins(pins.Put()))) return {};
  for (;;) {
    zl::ComPtr<IPin> pin;
    if (pins->Next(1, pin.Put(), nullptr) != S_OK) return {};
    PIN_DIRECTION dir;
    if (FAILED(pin->QueryDirection(&dir)) || dir != wanted) continue;
    zl::ComPtr<IPin> peer;
    if (FAILED(pin->ConnectedTo(peer.Put()))) return pin;
  }
}

// What the connect thread shares with the caller; it outlives a thread
// that had to be given up.
struct ConnectJob {
  zl::ComPtr<IGraphBuilder> graph;
  zl::ComPtr<IBaseFilter> source, splitter;
  HRESULT result = E_FAIL;
};

HRESULT ConnectFilters(ConnectJob& job) {
  zl::ComPtr<IPin> out = GetUnconnectedPin(job.source.Get(), PINDIR_OUTPUT);
  zl::ComPtr<IPin> in = GetUnconnectedPin(job.splitter.Get(), PINDIR_INPUT);
  if (!out || !in) return E_FAIL;
  return job.graph->Connect(out.Get(), in.Get());
}

std::wstring Wide(const char* text) {
  const int n = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
  std::wstring w(n > 0 ? size_t(n) : 1, L'\0');
  if (n > 0) MultiByteToWideChar(CP_ACP, 0, text, -1, &w[0], n);
  w.resize(w.size() - 1);
  return w;
}

}  // namespace

HRESULT FlvGraph::Create(const char* file, HWND window) {
  LogWrite(kFlvPlayLog, LOG_FATAL, kFlvModule, "======In======");
  const HRESULT hr = Build(file, window);
  LogWrite(kFlvPlayLog, LOG_FATAL, kFlvModule, "======OUT======");
  return hr;
}

HRESULT FlvGraph::Build(const char* file, HWND window) {
  Clear();
  HRESULT hr = CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder,
                                graph_.PutVoid());
  if (SUCCEEDED(hr)) {
    const std::wstring path = Wide(file ? file : "");
    hr = graph_->AddSourceFilter(path.c_str(), path.c_str(), source_.Put());
  }
  if (FAILED(hr)) {
    LogWrite(kFlvPlayLog, LOG_FATAL, kFlvModule, "1 failed");
    return hr;
  }
  hr = CoCreateInstance(CLSID_FlvSplitter, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter, splitter_.PutVoid());
  if (SUCCEEDED(hr)) hr = graph_->AddFilter(splitter_.Get(), L"FLV Splitter");
  if (FAILED(hr)) {
    LogWrite(kFlvPlayLog, LOG_FATAL, kFlvModule, "2 failed");
    return hr;
  }

  auto job = std::make_shared<ConnectJob>();
  job->graph = zl::ComPtr<IGraphBuilder>::Share(graph_.Get());
  job->source = zl::ComPtr<IBaseFilter>::Share(source_.Get());
  job->splitter = zl::ComPtr<IBaseFilter>::Share(splitter_.Get());
  zl::BoundedWorker connect;
  const bool started = connect.Start([job] {
    zl::ComInit com;
    FileHookConnecting(true);
    job->result = ConnectFilters(*job);
    FileHookConnecting(false);
  });
  if (!started || !WaitTakingSentMessages(connect.Thread(), timings_.connectMs)) {
    // A connection that hangs (a file not readable yet) is given up.
    connect.Stop({}, 0);
    FileHookConnecting(false);
    LogWrite(kFlvPlayLog, LOG_FATAL, kFlvModule, "Connect Fileter Failed");
    return E_FAIL;
  }
  connect.Wait(INFINITE);
  if (FAILED(job->result)) {
    LogWrite(kFlvPlayLog, LOG_FATAL, kFlvModule, "Connect Fileter Failed");
    return job->result;
  }

  // Video, then audio; a file without a second stream has no second pin.
  zl::ComPtr<IPin> first = GetUnconnectedPin(splitter_.Get(), PINDIR_OUTPUT);
  hr = first ? graph_->Render(first.Get()) : E_FAIL;
  if (SUCCEEDED(hr)) {
    zl::ComPtr<IPin> second = GetUnconnectedPin(splitter_.Get(), PINDIR_OUTPUT);
    if (second) hr = graph_->Render(second.Get());
  }
  if (FAILED(hr)) {
    LogWrite(kFlvPlayLog, LOG_FATAL, kFlvModule, "4 failed");
    return hr;
  }

  if (FAILED(hr = graph_.As(IID_IMediaControl, control_)) || FAILED(hr = graph_.As(IID_IMediaEventEx, events_)) ||
      FAILED(hr = graph_.As(IID_IVideoWindow, videoWindow_)) || FAILED(hr = graph_.As(IID_IBasicVideo, basicVideo_)) ||
      FAILED(hr = graph_.As(IID_IBasicAudio, audio_)) || FAILED(hr = graph_.As(IID_IMediaSeeking, seeking_)))
    return hr;
  LONGLONG duration = 0;
  durationSeconds_ = SUCCEEDED(seeking_->GetDuration(&duration)) ? long(duration / kUnitsPerSecond) : 0;

  RECT client{};
  GetClientRect(window, &client);
  if (FAILED(hr = videoWindow_->put_Owner(reinterpret_cast<OAHWND>(window))) ||
      FAILED(hr = videoWindow_->put_WindowStyle(WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN)))
    return hr;
  videoWindow_->SetWindowForeground(OATRUE);
  videoWindow_->SetWindowPosition(0, 0, client.right, client.bottom);
  videoWindow_->put_MessageDrain(reinterpret_cast<OAHWND>(window));
  basicVideo_->GetVideoSize(&nativeWidth_, &nativeHeight_);
  if (FAILED(hr = events_->SetNotifyWindow(reinterpret_cast<OAHWND>(window), WM_GRAPH_NOTIFY, 0))) return hr;
  created_ = true;
  return S_OK;
}

HRESULT FlvGraph::WaitState(HRESULT started) {
  if (started != S_FALSE || !control_) return started;
  // A state change still running is waited for, but not for ever: a graph
  // whose renderer waits for data that is not downloaded yet must not hang
  // the window.
  const DWORD began = GetTickCount();
  OAFilterState state;
  HRESULT hr;
  do {
    hr = control_->GetState(100, &state);
  } while (hr == VFW_S_STATE_INTERMEDIATE && GetTickCount() - began < timings_.stateWaitMs);
  return hr;
}

HRESULT FlvGraph::Run() { return control_ ? WaitState(control_->Run()) : E_POINTER; }
HRESULT FlvGraph::Pause() { return control_ ? WaitState(control_->Pause()) : E_POINTER; }

HRESULT FlvGraph::Stop() {
  if (!control_) return E_POINTER;
  SetPosition(0);
  return WaitState(control_->StopWhenReady());
}

HRESULT FlvGraph::Halt() { return control_ ? control_->Stop() : E_POINTER; }

void FlvGraph::Clear() {
  if (control_) control_->Stop();
  if (events_) events_->SetNotifyWindow(0, 0, 0);
  if (videoWindow_) {
    // The renderer's window must not stay a child of ours after the graph goes.
    videoWindow_->put_Visible(OAFALSE);
    videoWindow_->put_Owner(0);
  }
  seeking_.Reset();
  audio_.Reset();
  basicVideo_.Reset();
  videoWindow_.Reset();
  events_.Reset();
  control_.Reset();
  splitter_.Reset();
  source_.Reset();
  graph_.Reset();
  created_ = false;
  durationSeconds_ = 0;
  nativeWidth_ = nativeHeight_ = 0;
}

long FlvGraph::GetPosition() const {
  LONGLONG current = 0, stop = 0;
  if (!seeking_ || FAILED(seeking_->GetPositions(&current, &stop))) return 0;
  return long(current / kUnitsPerSecond);
}

HRESULT FlvGraph::SetPosition(long seconds) {
  if (!seeking_) return E_POINTER;
  LONGLONG at = LONGLONG(seconds) * kUnitsPerSecond;
  return seeking_->SetPositions(&at, AM_SEEKING_AbsolutePositioning, nullptr, AM_SEEKING_NoPositioning);
}

long FlvGraph::GetVolume() const {
  long volume = 0;
  if (!audio_ || FAILED(audio_->get_Volume(&volume))) return 0;
  return AttenuationToVolume(volume);
}

HRESULT FlvGraph::SetVolume(double percent) {
  return audio_ ? audio_->put_Volume(VolumeToAttenuation(percent)) : E_POINTER;
}

void FlvGraph::Resize(HWND window) {
  if (!videoWindow_) return;
  RECT client{};
  GetClientRect(window, &client);
  videoWindow_->SetWindowPosition(0, 0, client.right, client.bottom);
  FitPicture(window);
}

void FlvGraph::FitPicture(HWND window) {
  if (!basicVideo_) return;
  RECT client{};
  GetClientRect(window, &client);
  const PictureRect r = clipview::FitPicture(client.right, client.bottom, nativeWidth_, nativeHeight_);
  basicVideo_->SetDestinationPosition(r.left, r.top, r.width, r.height);
}

void FlvGraph::OnGraphEvent(HWND mainWindow) {
  if (!events_) return;
  long code = 0;
  LONG_PTR p1 = 0, p2 = 0;
  while (events_->GetEvent(&code, &p1, &p2, 0) == S_OK) {
    events_->FreeEventParams(code, p1, p2);
    if (code == EC_COMPLETE) {
      PostMessageA(mainWindow, WM_VIDEO_COMPLETE, 0, 0);
      return;
    }
  }
}

}  // namespace clipview
