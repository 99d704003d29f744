#pragma once
// The window's downloads over the P2P download manager.
#include <memory>

#include "p2p/P2PMan.h"
#include "window/VideoBackends.h"

namespace clipview {

std::unique_ptr<IVideoResources> MakeP2PVideoResources(HWND dialog, P2PManHost& host, const P2PManConfig& config);

}  // namespace clipview
