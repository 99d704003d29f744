#pragma once
// Messages and commands of the MV window that its download manager posts or
// sends to it.
#include <windows.h>

namespace clipview {

constexpr UINT WM_REFRESH_STATUS = WM_USER + 100;  // status line and page from P2PMan's text
constexpr UINT WM_SHOW_PICTURES = WM_USER + 101;   // reload the picture page
constexpr UINT WM_FLV_PLAY = WM_USER + 104;        // the video can start playing
constexpr UINT WM_CODEC_READY = WM_USER + 110;     // the FLV decoder was installed

constexpr WPARAM kCommandPictureTab = 1004;  // WM_COMMAND: switch to the pictures

enum UserChoice : int { choice_video = 0, choice_pic = 1 };

}  // namespace clipview
