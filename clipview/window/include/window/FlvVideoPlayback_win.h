#pragma once
// The MV window's playback over the FLV graph and its play-control sequence.
#include <memory>

#include "window/VideoBackends.h"
#include "flv/FlvPlayback.h"

namespace clipview {

std::unique_ptr<IVideoPlayback> MakeFlvVideoPlayback(FlvPlaybackHost& host, FlvGraphTimings timings = {});

}  // namespace clipview
