#include "view/ResourceStatus.h"

#include <cstdio>
#include <vector>

namespace {

bool HasSignature(const SignPair& p) { return p.first != 0; }

std::string Formatted(const char* format, const char* a, const char* b) {
  char text[512];
  std::snprintf(text, sizeof text, format, a ? a : "", b ? b : "");
  return text;
}

std::vector<StripItem> StripFor(const Content& c, const StripExtras& extras, bool& mv, bool& photos) {
  std::vector<StripItem> items;
  mv = c.song_flv_pic_path[0] != '\0' && HasSignature(c.song_flv_signature);
  photos = c.artist_swf_pic[0] != '\0' && HasSignature(c.artist_swf_signature);
  if (mv) items.push_back({c.song_flv_pic_path, Formatted("%sMV", c.title, ""), kStripMv});
  if (photos) items.push_back({c.artist_swf_pic, Formatted("%s写真", c.artist, ""), kStripArtistPhotos});
  if ((mv || photos) && !extras.home.empty()) {
    if (extras.star) items.push_back({extras.home + "\\face\\star.jpg", "今日星闻", kStripStarNews});
    if (extras.advert) items.push_back({extras.home + "\\face\\ad.jpg", "设为你的彩铃", kStripRingBackTone});
  }
  return items;
}

}  // namespace

const char kMvLoadingMessage[] = "MV正在载入播放，关闭视频窗口即可恢复歌词模式";

LyricTip ChooseLyricTip(const LyricTipInputs& in) {
  const bool quiet = in.webMode || in.miniShown;
  if (!(in.hasUsedMini || quiet)) return {"最小化播放器，即可边工作边看歌词", 1, 2, false};
  if (!(in.haswheel || quiet)) return {"若歌词与歌曲不同步，可用“鼠标滚轮”调节", 0, 3, false};
  if (in.RightBtn < 20) return {"鼠标右键\"选项\"中可以设置背景图片", 0, 10, true};
  if (in.lyricMaybeWrong >= 20 || in.miniShown) {
    if (quiet) return {"", 0, 10, false};
    return {"若歌词有误，点击此处搜索", 1, 6, false};
  }
  return {"欢迎您的建议和意见，点击提交问题", 1, 4, false};
}

bool UpdateViewResourceStatus(LyricViewState& view, const ResourceUpdate& u) {
  if (u.result == RESULT_FAIL) {
    view.SetStatus(LyricViewStatus::NoLyricFound);
    EmptyViewResource(view);
    view.SetMessage("未从服务器获得歌词", 0, 7);
    view.SetDelayedWelcome(u.now);
    return false;
  }
  if (u.result != RESULT_OK || !u.content) {
    view.SetStatus(LyricViewStatus::NetworkFailed);
    EmptyViewResource(view);
    view.SetMessage("网络连接失败...", 0, 1);
    return false;
  }
  const Content& c = *u.content;
  view.SetStatus(LyricViewStatus::LyricReady);
  bool mv = false, photos = false;
  view.SetStripItems(StripFor(c, u.extras, mv, photos));
  view.mvItem.store(mv ? 1 : 0);
  view.photosItem.store(photos ? 1 : 0);
  view.SetLyricSentences(&c.sentences, &c.words);
  view.SetTagInfo(view.TagInfo().path, c.title, c.artist, c.album);
  if (c.artist_pic_path[0])
    view.SetBackgroundPicturePath(c.artist_pic_path);
  else if (!u.extras.home.empty())
    view.SetBackgroundPicturePath((u.extras.home + "\\face\\defaultbak\\bkground1.jpg").c_str());
  else
    view.SetBackgroundPicturePath("");

  const char* recTitle = u.recTitle ? u.recTitle : "";
  const char* recArtist = u.recArtist ? u.recArtist : "";
  if (u.recognised) {
    view.SetMessage(Formatted("Ambrel识别结果:%s-%s,点击查看", recTitle, recArtist).c_str(), 1, 8);
    return false;
  }
  if (c.sentences.empty()) {
    if (!*recArtist && !*recTitle)
      view.SetMessage("欢迎上传歌词", 1, kMessageUploadInvitation);
    else
      view.SetMessage(Formatted("%s-%s,欢迎上传歌词", recArtist, recTitle).c_str(), 1, kMessageUploadInvitation);
    return false;
  }
  const LyricTip tip = ChooseLyricTip(u.tips);
  view.SetMessage(tip.text, tip.isLink, tip.code);
  return tip.countsBackgroundTip;
}

void EmptyViewResource(LyricViewState& view) {
  view.ClearLists();
  view.SetBackgroundPicturePath("");
  view.SetMessage("", 0, 0);
}

void EmptyViewResourceForVideo(LyricViewState& view) {
  EmptyViewResource(view);
  view.SetMessage(kMvLoadingMessage, 0, kMessageCodeNone);
}
