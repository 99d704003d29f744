#include "window/FlvVideoPlayback_win.h"

namespace clipview {
namespace {

class FlvVideoPlayback : public IVideoPlayback {
 public:
  FlvVideoPlayback(FlvPlaybackHost& host, FlvGraphTimings timings) : m_graph(timings), m_playback(host, m_graph) {}

  bool RealPlayFile(const std::string& file) override { return m_playback.RealPlayFile(file); }
  void StopPlayback() override { m_playback.StopPlayback(); }
  void Run() override { m_graph.Run(); }
  void Pause() override { m_graph.Pause(); }
  void Stop() override { m_graph.Stop(); }
  void SetVolume(double percent) override { m_graph.SetVolume(percent); }
  long Position() override { return m_graph.GetPosition(); }
  void SetPosition(long seconds) override { m_graph.SetPosition(seconds); }
  unsigned DurationSeconds() override { return m_playback.DurationSeconds(); }
  bool Seekable() override { return m_playback.Seekable(); }
  void Resize(HWND videoWindow) override { m_graph.Resize(videoWindow); }
  void OnGraphEvent(HWND mainWindow) override { m_graph.OnGraphEvent(mainWindow); }

 private:
  FlvGraph m_graph;
  FlvPlayback m_playback;
};

}  // namespace

std::unique_ptr<IVideoPlayback> MakeFlvVideoPlayback(FlvPlaybackHost& host, FlvGraphTimings timings) {
  return std::make_unique<FlvVideoPlayback>(host, timings);
}

}  // namespace clipview
