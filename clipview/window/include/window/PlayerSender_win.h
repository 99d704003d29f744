#pragma once
// ClipView's messages to the plug-in's mini window: found by the title
// derived from ClipView's command line, sent with a 2000 ms limit; when the
// window is missing nothing is sent, a time-out is only logged. Any thread.
#include <string>

#include "mvprotocol/MvProtocol.h"

namespace clipview {

class PlayerSender {
 public:
  PlayerSender(const std::string& commandLine, std::string logPath);

  void SendStopPlayerMsg();
  void SendPlayerPlayMsg();
  void SendSongCompleteMsg();
  void SendDownloadP2PMsg();
  void SendUserChoiceMsg(int choice);

  const std::string& MiniTitle() const { return m_miniTitle; }

 private:
  void Send(const char* name, mv::ToPlayer code, const void* data, unsigned long size);

  std::string m_miniTitle;
  std::string m_logPath;
};

}  // namespace clipview
