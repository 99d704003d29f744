#pragma once
// The plug-in's MV link to ClipView: the controller's IMvLink, made once at
// start-up with the controller's other parts (MakePluginParts) and handed
// to CLyric, which attaches itself before any call.
//
// It owns the plug-in's message receiver, the window ClipView answers to
// (title host name + "Mini"), on a thread of its own: ClipView's messages,
// the heartbeat and KillVideo's crash notice arrive there, so a ClipView that
// hangs holds up that thread for the heartbeat's time-out, never the
// player's user interface.
#include <cstdint>
#include <memory>
#include <string>

#include "controller/MvLink.h"

// Every wait of the link; the defaults are the product's.
struct MvLinkTimings {
  uint32_t launchRetries = 20;       // lookups after starting ClipView
  uint32_t launchPauseMs = 100;      // between two of them
  uint32_t heartbeatMs = 1000;       // WM_KEEP_ALIVE this often while ClipView runs
  uint32_t keepAliveTimeoutMs = 20000;
  uint32_t sendTimeoutMs = 0;        // every other message; 0: the protocol's time-out of each
  uint32_t prefetchTimerMs = 30000;  // after the video stopped the player
  uint32_t receiverStopMs = 3000;    // the receiver's thread at quit, before it is terminated
};

struct MvLinkOptions {
  MvLinkTimings timings;
  // "WINAMP", "WMP" or "REAL"; empty: from the host program (HostPlayerName).
  std::string hostName;
  std::string program = "ClipView.exe";  // started from the install home
};

std::unique_ptr<IMvLink> MakeMvLink(const MvLinkOptions& options = {});
