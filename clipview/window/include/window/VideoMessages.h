#pragma once
// The MV dialog's private messages, timers and command identifiers.
#include <windows.h>

#include "flv/FlvGraph.h"            // WM_VIDEO_COMPLETE (WM_USER + 102), WM_GRAPH_NOTIFY
#include "p2p/MvWindowMessages.h"    // WM_REFRESH_STATUS, WM_SHOW_PICTURES, WM_FLV_PLAY, WM_CODEC_READY

namespace clipview {

constexpr UINT_PTR ID_TIMER_FLV_PROGRESS = 4;
constexpr UINT_PTR ID_TIMER_SWF_PROGRESS = 5;
constexpr UINT_PTR ID_TIMER_FLV_CODEC_PROGRESS = 6;
constexpr UINT_PTR ID_TIMER_FLV_PLAY = 7;
constexpr UINT_PTR ID_TIMER_TRIM_MEMORY = 8;

enum : unsigned {
  IDC_BTN_STOP = 1002,
  IDC_BTN_VIDEO = 1003,
  IDC_BTN_PIC = 1004,
  IDC_BTN_CLOSE = 1005,
  IDC_BTN_MINIMIZE = 1006,
  IDC_BTN_HOLD = 1007,
  IDC_BTN_MORE = 1008,
  IDC_BTN_FEEDBACK = 1009,
  IDC_BTN_PLAY = 1011,
  IDC_BTN_MUTE = 1012,
  IDC_BTN_NORMAL = 1015,
  IDC_BTN_LARGE = 1016,
  IDC_BTN_PAUSE = 1017,
};

// lParam of a posted command 1003: from WM_PLAY (show the window), or a
// retry once the video may play (codec installed, window restored).
constexpr LPARAM kVideoFromPlay = 1;
constexpr LPARAM kVideoRetry = 2;

// Dialog resources.
constexpr int IDD_VIDEO_MAIN = 1000;
constexpr int IDD_VIDEO_WINDOW = 204;
constexpr int IDD_FLASH_NOTICE = 1100;

}  // namespace clipview
