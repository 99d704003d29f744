#include "mvcontrol/ChannelState.h"

#include <cstdio>

#include "mvcontrol/ControlRules.h"

namespace mvcontrol {

const char* const kTextGettingData = "正在获取数据中，请稍候..";
const char* const kTextPlaying = "正在播放..";
const char* const kTextServerError = "服务器连接错误 -_-~~";
const char* const kTextStopped = "您已经停止了MV的播放..";
const char* const kTextTempFailed = "flv 临时文件创建失败 -_-~~";
const char* const kTextSourceMissing = "flv 文件不存在 -_-~~";
const char* const kTextReadFailed = "读取flv文件失败 -_-~~";

namespace {

constexpr uint32_t kEventDone = 4;
constexpr uint32_t kEventProgress = 5;
constexpr uint32_t kEventNoPeer = 9;
constexpr uint32_t kEventNetworkError = 11;

}  // namespace

std::string BufferingText(uint32_t downloadPercent, uint32_t rate) {
  char text[96];
  std::snprintf(text, sizeof text, "缓冲%u％ ， 速率%s/S", downloadPercent, RateText(rate).c_str());
  return text;
}

uint32_t BlockCount(uint32_t totalSize) { return totalSize == 0 ? 0 : ((totalSize - 1) >> 14) + 1; }

bool ChannelToStop(const ChannelState& state, SignPair& old) {
  if (!state.Active()) return false;
  old = state.sign;
  return true;
}

ChannelState NewChannel(SignPair sign) {
  ChannelState s;
  s.sign = sign;
  return s;
}

bool BeginMovie(ChannelState& state) {
  if (state.moviePlaying) return false;
  state.moviePlaying = true;
  return true;
}

bool OnMovieCommand(ChannelState& state, const std::string& command) {
  if (command == "duration") {
    state.moviePlaying = true;
    return false;
  }
  if (command == "complete") {
    state.moviePlaying = false;
    return true;
  }
  return false;
}

ReportPlan PlanStatus(const ChannelState& state, const StatusReport& r) {
  ReportPlan plan;
  if (!state.Is(r.sign)) return plan;
  plan.forChannel = true;
  // NOTE: no peer and a network error end the download as surely as a
  // failed one; without the error the page would wait for ever.
  if ((r.event == kEventDone && r.downloadPercent < 100) || r.event == kEventNoPeer ||
      r.event == kEventNetworkError) {
    plan.text = kTextServerError;
    plan.serverError = true;
    return plan;
  }
  plan.buildVideoFile = true;
  const uint32_t usable = r.usablePercent > 100 ? 100 : r.usablePercent;
  const uint32_t blocks = BlockCount(r.totalSize);
  const uint32_t copied = state.copiedBlocks;
  const uint32_t rest = blocks > copied ? blocks - copied : 0;
  if (r.event == kEventProgress) {
    plan.text = BufferingText(r.downloadPercent > 100 ? 100 : r.downloadPercent, r.rate);
    if (r.downloadPercent <= 4 || state.copyComplete) return plan;
    plan.markStarted = true;
    plan.play = true;
    if (usable >= 100) {
      plan.copy = {CopyStep::Blocks, copied, rest, true};
      plan.completeAfterCopy = true;
      return plan;
    }
    const uint32_t usableBlocks = uint32_t(uint64_t(blocks) * usable / 100);
    if (usableBlocks > copied) plan.copy = {CopyStep::Blocks, copied, usableBlocks - copied, false};
    return plan;
  }
  if (r.event == kEventDone) {
    plan.play = true;
    if (state.copyComplete) return plan;
    plan.completeAfterCopy = true;
    if (copied > 0)
      plan.copy = {CopyStep::Blocks, copied, rest, true};
    else
      plan.copy = {CopyStep::Whole, 0, 0, true};
  }
  return plan;
}

ReportPlan PlanLookup(const ChannelState& state, SignPair sign, uint32_t percent) {
  ReportPlan plan;
  if (!state.Is(sign)) return plan;
  plan.forChannel = true;
  if (state.moviePlaying) {
    plan.text = kTextPlaying;
    return plan;
  }
  plan.buildVideoFile = true;
  if (percent != 100) return plan;
  plan.text = kTextPlaying;
  const bool underWay = state.started || state.copiedBlocks > 0;
  if (underWay || state.copyComplete) return plan;
  plan.copy = {CopyStep::Whole, 0, 0, true};
  plan.completeAfterCopy = true;
  plan.play = true;
  return plan;
}

}  // namespace mvcontrol
