#pragma once
// The play-control sequence of the MV window: open a file in the graph and
// run it, with guards against a nested request (a message handled on the
// dialog thread while a file is being opened) and against playing a file
// that is no longer the one asked for. Dialog thread only.
#include <windows.h>

#include <cstdint>
#include <string>

#include "flv/FlvGraph.h"

namespace clipview {

// What the sequence needs from the window.
class FlvPlaybackHost {
 public:
  virtual ~FlvPlaybackHost() = default;
  // The window that hosts the video (and receives WM_GRAPH_NOTIFY).
  virtual HWND VideoWindow() = 0;
  // True while the video slot is still downloading (status 3), with its total size.
  virtual bool VideoDownloading(uint32_t& totalSize) = 0;
  // The file now plays: mark it playing, restart the play clock and its
  // timer, show Pause, apply the volume.
  virtual void PlaybackStarted() = 0;
  // Opening failed: show "播放文件失败..." and check the decoder again.
  virtual void PlaybackFailed() = 0;
};

class FlvPlayback {
 public:
  FlvPlayback(FlvPlaybackHost& host, FlvGraph& graph) : host_(host), graph_(graph) {}

  // Plays `file` (RealPlayFile). A call made while another is still inside
  // returns true at once; the running call then opens the newest file.
  bool RealPlayFile(const std::string& file);
  // Stops playback (hook off, graph halted and cleared); while a sequence
  // runs, only asks it to stop when it can.
  void StopPlayback();

  bool Active() const { return active_; }
  const std::string& OpenedFile() const { return opened_; }
  // From the graph, else from the file's header (then not seekable).
  unsigned DurationSeconds() const { return duration_.seconds; }
  bool Seekable() const { return duration_.seekable; }

 private:
  HRESULT OpenAndRun(const std::string& file);
  void TearDown();
  void Finish();

  FlvPlaybackHost& host_;
  FlvGraph& graph_;
  bool active_ = false;
  bool stopRequested_ = false;
  std::string latest_;
  std::string opened_;
  struct {
    unsigned seconds = 0;
    bool seekable = false;
  } duration_;
};

}  // namespace clipview
