#pragma once
// The graph's own trace file on drive C, beside the MV window's log.
constexpr const char* kFlvPlayLog = "C:\\LOG_FLV_PLAY.TXT";
constexpr const char* kFlvModule = "FLVPLAY";
