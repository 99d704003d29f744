#pragma once
// The status texts of the MV window's downloads and the manager's log lines
// that are the system's own.
namespace clipview::texts {

constexpr const char* kSearching = "正在查找资源...";
constexpr const char* kNoMv = "暂无此歌曲mv,欢迎上传!";
constexpr const char* kDownloadCodec = "下载FLV解码器!";
constexpr const char* kBufferingStarts = "开始缓冲...";
constexpr const char* kBufferingPercent = "缓冲:%d%s";
constexpr const char* kPlaying = "正在播放";
constexpr const char* kBufferingFailed = "缓冲失败！";
constexpr const char* kCannotConnect = "连接服务器失败!";
constexpr const char* kNotReady = "该资源尚未准备好...";
constexpr const char* kCodecStarts = "开始下载解码器...";
constexpr const char* kCodecDownloaded = "解码器下载完毕！";
constexpr const char* kCodecFailed = "解码器下载失败!";
constexpr const char* kCodecConnectError = "连接服务器错误!";
constexpr const char* kCannotFinish = "暂时无法完成下载...";

constexpr const char* kLogFlvTimeout = "FLV 长时间没有响应，超时!!!";
constexpr const char* kLogSwfTimeout = "SWF 长时间没有响应，超时!!!";
constexpr const char* kLogCodecTimeout = "FLV CODEC 长时间没有响应，超时!!!";
constexpr const char* kLogPrefetchStarts = "预取开始！！！";
constexpr const char* kLogSameFlv = "预取得flv资源和正在播放的资源一样，不需要预取";
constexpr const char* kLogSameSwf = "预取得swf资源和正在播放的资源一样，不需要预取";
constexpr const char* kLogCodecInstalled = "解码器安装完成!";

}  // namespace clipview::texts
