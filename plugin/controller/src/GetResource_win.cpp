#include "controller/GetResource.h"

#include <windows.h>

#include <cstring>
#include <utility>

#include "controller/Lyric.h"
#include "controller/SongRules.h"
#include "controller/UsageEvents.h"
#include "shared/InstallHome.h"
#include "shared/Logger.h"
#include "view/ResourceStatus.h"


void GetResource::Log(const char* tag, const char* text) const {
  LogWrite(m_owner.LogPath(), LOG_KEYINFO, tag, "%s", text);
}

void GetResource::SetEngine(std::shared_ptr<ZLyric> engine) {
  zl::Lock hold(m_lock);
  m_engine = std::move(engine);
}

bool GetResource::HasEngine() const {
  zl::Lock hold(m_lock);
  return m_engine != nullptr;
}

FetchResult GetResource::Current() const {
  zl::Lock hold(m_lock);
  return m_current;
}

std::string GetResource::PrefetchedPath() const {
  zl::Lock hold(m_lock);
  return m_prePath;
}

void GetResource::Commit(const FetchResult& r) {
  FetchResult copy = r;
  zl::Lock hold(m_lock);
  std::swap(m_current, copy);
}

void GetResource::StartGetResource(const std::shared_ptr<ZLyric>& engine, const SongInfo& song,
                                   const std::atomic<bool>& cancelled) {
  const DWORD id = GetCurrentThreadId();
  LogWrite(m_owner.LogPath(), LOG_KEYINFO, "StartGetResource", "%u,IN ========开始搜索该首歌曲资源",
           static_cast<unsigned>(id));
  if (!engine) return;
  {
    zl::Lock hold(m_lock);
    m_engine = engine;
    m_current = FetchResult();
  }
  MvLinkFlags& flags = m_owner.Flags();
  if (!flags.webMode.load()) {
    Log("StartGetResource", "In Find From Local");
    LogWrite(m_owner.LogPath(), LOG_KEYINFO, "StartGetResource", "MusicInfo filepath is %s,artist is %s,szTitle is %s",
             song.path, song.artist, song.title);
    m_owner.Trace("Start local lyric Search", false);
    FetchResult r;
    engine->FindResFromLocal(song.path, song.artist, song.title, song.album, static_cast<unsigned>(song.kbps), r.type,
                             r.list, r.content, r.tui);
    m_owner.Trace("End local lyric Search", false);
    r.songPath = engine->SongAttributes().songPath;
    Log("StartGetResource", "After Find From Local");
    if (r.type == RESULT_TYPE_CONTENT) {
      Log("StartGetResource", "本地已有歌词");
      r.result = RESULT_OK;
      Commit(r);
      UpdateResourceStatus();
    } else if (r.type == RESULT_TYPE_LIST) {
      Log("StartGetResource", " 本地资源是list");
      r.result = RESULT_OK;
      Commit(r);
      OpenListSelection(*engine, cancelled);
    } else if (!cancelled.load()) {
      // Nothing here, or only a resource whose information is stale.
      Log("StartGetResource", "本地没有找到资源");
      Log("StartGetResource", "In Find from Server");
      m_owner.Trace("Start Server lyric search", false);
      ServerSearch(*engine, r, cancelled);
      m_owner.Trace("End Server lyric search", false);
      Log("StartGetResource", "After Find from Server");
      Commit(r);
      if (r.result != RESULT_OK || r.type != RESULT_TYPE_LIST) {
        UpdateResourceStatus();
      } else {
        Log("StartGetResource", "服务器搜索资源，且是list");
        OpenListSelection(*engine, cancelled);
      }
    }
    if (!cancelled.load()) PostPlayLog();
  }
  if (!cancelled.load()) StartGetP2PResource();
  LogWrite(m_owner.LogPath(), LOG_KEYINFO, "StartGetResource", "%u,After ========", static_cast<unsigned>(id));
}

void GetResource::ServerSearch(ZLyric& engine, FetchResult& r, const std::atomic<bool>& cancelled) {
  engine.FindResFromServer(r.result, r.type, r.list, r.content, r.tui);
  if (r.result != RESULT_OK || r.type != RESULT_TYPE_NONE || cancelled.load()) return;
  if (!m_owner.Settings().Values().usefprecognise) return;
  m_owner.View().SetMessage("启动强力识别,请稍等...", 0, 10);
  engine.FindResByFp(r.result, r.type, r.list, r.content, r.tui);
}

void GetResource::OpenListSelection(ZLyric& engine, const std::atomic<bool>& cancelled) {
  const FetchResult r = Current();
  if (r.list.empty() || cancelled.load()) return;
  std::string fileName;
  const int chosen = m_owner.Dialogs().SelectLyric(r.list, fileName);
  if (chosen < 0 || static_cast<size_t>(chosen) >= r.list.size() || cancelled.load()) return;
  GetChosenItem(engine, r.list[static_cast<size_t>(chosen)]);
}

void GetResource::GetChosenItem(ZLyric& engine, const SearchItem& item) {
  FetchResult r = Current();
  ClearContent(r.content);
  engine.GetResFromServer(item, r.result, r.content);
  r.type = RESULT_TYPE_CONTENT;
  Commit(r);
  UpdateResourceStatus();
}

void GetResource::UserGetResource(ZLyric& engine, const SearchItem& item) {
  Log("Re_GetResource==IN", "Start");
  FetchResult r = Current();
  ClearContent(r.content);
  engine.UserGetRes(item, r.result, r.content);
  r.type = RESULT_TYPE_CONTENT;
  Commit(r);
  UpdateResourceStatus();
  Log("Re_GetResource==IN", "End");
}

void GetResource::Reload(ZLyric& engine) {
  FetchResult r = Current();
  ClearContent(r.content);
  engine.ReloadLrc(r.result, r.content);
  r.type = RESULT_TYPE_CONTENT;
  Commit(r);
  UpdateResourceStatus();
}

void GetResource::SetRecognisedNames(const tagUpdateInfo& names) {
  zl::Lock hold(m_lock);
  std::memcpy(m_current.tui.recTitle, names.recTitle, sizeof names.recTitle);
  std::memcpy(m_current.tui.recArtist, names.recArtist, sizeof names.recArtist);
  std::memcpy(m_current.tui.recAlbum, names.recAlbum, sizeof names.recAlbum);
}

void GetResource::PostPlayLog() {
  const FetchResult r = Current();
  const PlayLogNames names{r.tui.finalTitle, r.tui.finalArtist, r.tui.finalAlbum,
                           r.tui.recTitle,   r.tui.recArtist,   r.tui.recAlbum};
  const std::string line = PlayLogLine(m_owner.CurrentSong().path, names, !r.content.sentences.empty());
  Log("LogPlaySong", line.c_str());
  PostPluginMessage("PLAY", line, m_owner.Timings().usageEventWaitMs);
}

void GetResource::UpdateResourceStatus() {
  Log("UpdateResourceStatus", "IN ========");
  FetchResult r;
  bool hasEngine = false;
  {
    zl::Lock hold(m_lock);
    hasEngine = m_engine != nullptr;
    if (hasEngine) r = m_current;
  }
  if (!hasEngine) {
    Log("UpdateResourceStatus", "ERROR");
    return;
  }
  LyricViewState& view = m_owner.View();
  const LyricTagInfo tags = view.TagInfo();
  if (std::strcmp(tags.path, r.songPath.c_str()) != 0) {
    LogWrite(m_owner.LogPath(), LOG_KEYINFO, "UpdateResourceStatus", "歌曲不对，不更新资源:%s,%s", tags.path,
             r.songPath.c_str());
    m_owner.m_stats.wrongSongDrops++;
    return;
  }
  view.mvItem.store(1);
  view.photosItem.store(1);
  MvLinkFlags& flags = m_owner.Flags();
  if (!flags.stoppedByVideo.load()) {
    Log("UpdateResourceStatus", "Update!!!!!");
    const zl::LyricSettings s = m_owner.Settings().Values();
    ResourceUpdate u;
    u.result = r.result;
    u.content = &r.content;
    u.recognised = r.tui.bUpdate != 0;
    u.recTitle = r.tui.recTitle;
    u.recArtist = r.tui.recArtist;
    u.tips.hasUsedMini = s.hasUsedMini;
    u.tips.haswheel = s.haswheel;
    u.tips.RightBtn = s.RightBtn;
    u.tips.lyricMaybeWrong = s.lyricMaybeWrong;
    u.tips.webMode = flags.webMode.load();
    u.tips.miniShown = m_owner.Windows().MiniWindowShown();
    u.extras.home = m_owner.Home();
    if (!u.extras.home.empty()) {
      u.extras.star = ReadConfigStarCount() != 0;
      u.extras.advert = ReadConfigAdvertCount() != 0;
    }
    u.now = GetTickCount();
    if (UpdateViewResourceStatus(view, u)) m_owner.Settings().Modify([](zl::LyricSettings& v) { ++v.RightBtn; });
    LogWrite(m_owner.LogPath(), LOG_KEYINFO, "CLyric", "update resource status");
    LogWrite(m_owner.LogPath(), LOG_KEYINFO, "UpdateResourceStatus", "status %d, %u lines:%s",
             static_cast<int>(view.Status()), static_cast<unsigned>(r.content.sentences.size()), tags.path);
    m_owner.m_stats.viewUpdates++;
    if (view.Status() == LyricViewStatus::LyricReady) m_owner.m_stats.lastReadyTick.store(GetTickCount());
  } else if (r.content.song_flv_signature.first != 0) {
    Log("UpdateResourceStatus", "NO need update because flv1");
    EmptyViewResourceForVideo(view);
    Log("UpdateResourceStatus", "NO need update because flv");
  }
  Log("UpdateResourceStatus", "OUT ========");
}

bool GetResource::StartGetP2PResource() {
  MvLinkFlags& flags = m_owner.Flags();
  if (flags.webMode.load()) {
    Log("StartGetP2PResource", "In web mode,no need p2p");
    return false;
  }
  const FetchResult r = Current();
  const P2PRequest p =
      DeriveP2PRequest(r.result, r.content, m_owner.ViewOffersMv(), m_owner.ViewOffersPictures());
  if (!flags.mvEnabled.load()) return false;
  return m_owner.MvLink().SendDownloadMsg(p.flv, p.swf, p.flvStatus, p.swfStatus);
}

void GetResource::PreGetResource(ZLyric& engine, const SongInfo& next) {
  FetchResult r;
  engine.PreGetRes(next.path, next.artist, next.title, next.album, next.kbps, r.result, r.type, r.list, r.content);
  r.songPath = next.path;
  {
    zl::Lock hold(m_lock);
    m_pre = r;
    m_prePath = next.path;
  }
  m_owner.m_stats.prefetches++;
  MvLinkFlags& flags = m_owner.Flags();
  if (flags.webMode.load()) return;
  if (r.result != RESULT_OK || r.type != RESULT_TYPE_CONTENT) {
    Log("PreGetResource", "PreGetP2P is failed");
  } else if (flags.mvEnabled.load()) {
    m_owner.MvLink().SendPreDownloadMsg(r.content.song_flv_signature, r.content.artist_swf_signature);
  }
}

void GetResource::StopGetResource(ZLyric* engine) {
  if (engine) {
    engine->CloseFindGetPreGetConnection();
    engine->TerninateFpmatch();
  }
  m_owner.Trace("After Close ZLyric connection", true);
  {
    zl::Lock hold(m_lock);
    m_owner.Dialogs().CancelSelectLyric();
  }
  MvLinkFlags& flags = m_owner.Flags();
  if (!flags.webMode.load() && flags.mvEnabled.load()) m_owner.MvLink().SendStopDownloadMsg();
}

void GetResource::StopPreGetResource(ZLyric* engine, const std::string& currentPath) {
  if (engine) engine->CloseFindGetPreGetConnection();
  MvLinkFlags& flags = m_owner.Flags();
  if (flags.webMode.load() || !flags.mvEnabled.load()) return;
  if (currentPath != PrefetchedPath()) {
    m_owner.MvLink().SendStopPreDownloadMsg();
  } else {
    Log("StopPreGetResource", "当前播放歌曲与预取歌曲一样，不需要停止");
  }
}
