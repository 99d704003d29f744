#pragma once
// The process's one channel: its state, the copy of its video, the P2P
// server's records through the reply window, and the movie dialog that
// shows it. All of it runs on the browser's UI thread, which owns the
// reply window: page calls, server records and FSCommands come one by one.
#include <windows.h>

#include <memory>
#include <string>

#include "CopyFiles_win.h"
#include "mvcontrol/ChannelState.h"
#include "shared/Ownership.h"

namespace mvcontrol {

// A control's movie dialog, as the channel drives it.
class ChannelView {
 public:
  virtual ~ChannelView() = default;
  virtual void ShowStatus(const std::string& text) = 0;
  // Another movie in the Flash control (its FlashVars emptied), which also
  // releases the video the player movie held.
  virtual void ShowMovie(const std::string& moviePath) = 0;
  // The player movie with "videoFile=<file>" in its FlashVars.
  virtual void PlayVideo(const std::string& playerMovie, const std::string& videoFile) = 0;
};

class Channel {
 public:
  // The channel lives from the first control of the process to the last.
  static Channel* Attach(ChannelView* view);
  static void Detach(ChannelView* view);
  static Channel* Current();

  ~Channel();
  Channel(const Channel&) = delete;
  Channel& operator=(const Channel&) = delete;

  void Play(SignPair sign, ChannelView* caller);
  void Stop(SignPair sign, ChannelView* caller);
  // A local FLV file named by the page, played with the player movie.
  void PlayFile(const std::string& path, ChannelView* caller);
  void OnMovieCommand(const std::string& command, ChannelView* from);

  const ChannelState& State() const { return m_state; }
  const std::string& ReplyWindowName() const { return m_replyName; }
  HWND ReplyWindow() const { return m_reply.Get(); }

 private:
  Channel();
  static LRESULT CALLBACK ReplyProc(HWND, UINT, WPARAM, LPARAM);
  void OnCopyData(const COPYDATASTRUCT& cds);
  void Execute(const ReportPlan& plan, const std::string& sourcePath);
  bool RunCopy(const CopyStep& step, const std::string& sourcePath);
  void PlayMovie(const std::string& file);
  void ReleaseMovie();
  void Show(const std::string& text);

  ChannelState m_state;
  std::string m_videoFile;  // the channel's copy, once built
  bool m_videoMade = false;
  std::unique_ptr<HandleCopyFiles> m_copy;  // the open files of a running copy
  ChannelView* m_view = nullptr;            // the dialog showing the channel
  int m_views = 0;
  std::string m_replyName;
  zl::UniqueWindow m_reply;
};

}  // namespace mvcontrol
