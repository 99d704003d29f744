#pragma once
// The DirectShow graph that plays one FLV file into a video window: file
// source, "FLV Splitter", and whatever the graph builder renders the two
// splitter outputs with. Used on the dialog thread only (the connection of
// source and splitter runs on a short-lived thread of its own).
#include <windows.h>
#include <dshow.h>

#include "shared/Ownership.h"

namespace clipview {

// Sent by the graph to the video window (SetNotifyWindow).
constexpr UINT WM_GRAPH_NOTIFY = WM_USER + 101;
// Posted to the main window when the video has played to its end.
constexpr UINT WM_VIDEO_COMPLETE = WM_USER + 102;

// {47E792CF-0BBE-4F7A-859C-194B0768650A}
extern const CLSID CLSID_FlvSplitter;

struct FlvGraphTimings {
  DWORD connectMs = 10000;   // the connect thread's limit
  DWORD stateWaitMs = 5000;  // the longest wait for a state change
};

class FlvGraph {
 public:
  explicit FlvGraph(FlvGraphTimings timings = {}) : timings_(timings) {}
  ~FlvGraph() { Clear(); }
  FlvGraph(const FlvGraph&) = delete;
  FlvGraph& operator=(const FlvGraph&) = delete;

  // Builds the graph for `file` (system code page) with its video as a
  // child of `window`, which also receives WM_GRAPH_NOTIFY.
  HRESULT Create(const char* file, HWND window);
  // Run, Pause and Stop wait for the state change, at most stateWaitMs; a
  // change still under way then is reported as VFW_S_STATE_INTERMEDIATE.
  HRESULT Run();
  HRESULT Pause();
  HRESULT Stop();  // back to the start, then stopped when ready
  HRESULT Halt();  // IMediaControl::Stop
  void Clear();    // releases the whole graph

  bool Created() const { return created_; }
  // Seconds as the graph reports them (0: none).
  long GetDuration() const { return durationSeconds_; }
  long GetPosition() const;
  HRESULT SetPosition(long seconds);
  long GetVolume() const;  // percent
  HRESULT SetVolume(double percent);
  // Video window to the client area of `window`, picture fitted inside.
  void Resize(HWND window);
  // Takes the graph's events; EC_COMPLETE posts WM_VIDEO_COMPLETE to mainWindow.
  void OnGraphEvent(HWND mainWindow);
  long NativeWidth() const { return nativeWidth_; }
  long NativeHeight() const { return nativeHeight_; }

 private:
  HRESULT Build(const char* file, HWND window);
  HRESULT WaitState(HRESULT started);
  void FitPicture(HWND window);

  FlvGraphTimings timings_;
  zl::ComPtr<IGraphBuilder> graph_;
  zl::ComPtr<IBaseFilter> source_;
  zl::ComPtr<IBaseFilter> splitter_;
  zl::ComPtr<IMediaControl> control_;
  zl::ComPtr<IMediaEventEx> events_;
  zl::ComPtr<IVideoWindow> videoWindow_;
  zl::ComPtr<IBasicVideo> basicVideo_;
  zl::ComPtr<IBasicAudio> audio_;
  zl::ComPtr<IMediaSeeking> seeking_;
  bool created_ = false;
  long durationSeconds_ = 0;
  long nativeWidth_ = 0, nativeHeight_ = 0;
};

}  // namespace clipview
