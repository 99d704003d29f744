#pragma once
// The control's one channel per process and what each event does to it:
// the page's play and stop calls, the P2P server's status and lookup
// records, and the player movie's FSCommands. The functions decide; the
// Windows side copies, sends, and shows what they say.
#include <cstdint>
#include <string>

#include "shared/SignPair.h"

namespace mvcontrol {

// Texts of the status line.
extern const char* const kTextGettingData;   // "正在获取数据中，请稍候.."
extern const char* const kTextPlaying;       // "正在播放.."
extern const char* const kTextServerError;   // "服务器连接错误 -_-~~"
extern const char* const kTextStopped;       // "您已经停止了MV的播放.."
extern const char* const kTextTempFailed;    // "flv 临时文件创建失败 -_-~~"
extern const char* const kTextSourceMissing; // "flv 文件不存在 -_-~~"
extern const char* const kTextReadFailed;    // "读取flv文件失败 -_-~~"
// "缓冲%d％ ， 速率%s/S" with the download percent and the rate text.
std::string BufferingText(uint32_t downloadPercent, uint32_t rate);

struct ChannelState {
  SignPair sign{0, 0};        // 0,0: no channel
  bool moviePlaying = false;  // the player movie was started for the channel
  bool started = false;       // the download passed 4 % and playback was started
  bool copyComplete = false;  // the whole file is in the video file
  uint32_t copiedBlocks = 0;  // 16 KB blocks already in the video file

  bool Active() const { return sign.first != 0 || sign.second != 0; }
  bool Is(SignPair s) const { return Active() && sign == s; }
};

// 16 KB blocks of a file: ((size − 1) >> 14) + 1; none for an empty file.
uint32_t BlockCount(uint32_t totalSize);

// PlayChannel: the channel that has to be stopped first (false when none is
// active), and the state of the new channel.
bool ChannelToStop(const ChannelState& state, SignPair& old);
ChannelState NewChannel(SignPair sign);

// PlayMovie: false while the movie plays; else it is marked playing.
bool BeginMovie(ChannelState& state);
// An FSCommand of the player movie: "duration" marks the movie playing,
// "complete" clears that; true when the movie's file is to be released.
bool OnMovieCommand(ChannelState& state, const std::string& command);

struct CopyStep {
  enum Kind { None, Blocks, Whole } kind = None;
  uint32_t start = 0;  // first block
  uint32_t count = 0;  // blocks to copy
  bool last = false;   // the file's end: a short block is written too
};

// What a record from the P2P server does. Records for another pair than
// the channel's change nothing (forChannel false).
struct ReportPlan {
  bool forChannel = false;
  std::string text;             // shown when not empty
  bool serverError = false;     // load.swf again, then the error movie
  bool buildVideoFile = false;  // from the record's source extension
  bool markStarted = false;
  CopyStep copy;
  bool completeAfterCopy = false;  // copyComplete, the copy's files closed
  bool play = false;               // PlayMovie with the video file, after a good copy
};

struct StatusReport {
  SignPair sign;
  uint32_t event;
  uint32_t usablePercent;
  uint32_t downloadPercent;
  uint32_t rate;
  uint32_t totalSize;
};
ReportPlan PlanStatus(const ChannelState& state, const StatusReport& report);
ReportPlan PlanLookup(const ChannelState& state, SignPair sign, uint32_t percent);

}  // namespace mvcontrol
