#pragma once
// The plug-in's MV link to ClipView: the controller's IMvLink, made once at
// start-up with the controller's other parts (MakePluginParts) and handed
// to CLyric, which attaches itself before any call.
//
// ClipView answers to the plug-in's mini window (title host name + "Mini"),
// which hands the link its messages (OnMiniWindowMessage): ClipView's
// requests, KillVideo's crash notice and the mini window's heartbeat timer
// 100. The heartbeat's keep-alive is sent from a thread of the link's, so a
// hung ClipView holds up that thread for the time-out, never the player's
// user interface.
#include <cstdint>
#include <memory>
#include <string>

#include "controller/MvLink.h"

// Every wait of the link; the defaults are the product's.
struct MvLinkTimings {
  uint32_t launchRetries = 20;       // lookups after starting ClipView
  uint32_t launchPauseMs = 100;      // between two of them
  uint32_t keepAliveTimeoutMs = 20000;
  uint32_t sendTimeoutMs = 0;        // every other message; 0: the protocol's time-out of each
  uint32_t prefetchTimerMs = 30000;  // after the video stopped the player
  uint32_t heartbeatStopMs = 500;    // a keep-alive still waiting at quit, before it is ended
};

struct MvLinkOptions {
  MvLinkTimings timings;
  // "WINAMP", "WMP" or "REAL"; empty: from the host program (HostPlayerName).
  std::string hostName;
  std::string program = "ClipView.exe";  // started from the install home
};

// The mini window's heartbeat timer, and how often it fires.
constexpr UINT_PTR kMvHeartbeatTimer = 100;
constexpr UINT kMvHeartbeatMs = 1000;

std::unique_ptr<IMvLink> MakeMvLink(const MvLinkOptions& options = {});

// The title the plug-in's mini window carries so that ClipView finds it:
// the link's host name ("WINAMP", "WMP" or "REAL") followed by "Mini".
std::string MvLinkMiniWindowTitle();
