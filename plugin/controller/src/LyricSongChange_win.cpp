// A song's life in the controller: the song change, its change-song, fetch
// and pre-fetch threads, and how they are stopped.
//
// Every thread is asked to stop first (its event set, its engine's
// connection closed) and terminated only when it has not ended within the
// grace; what it works with (engine, song record, events) it owns through
// shared pointers, so a thread that could not be ended touches nothing freed.
#include "controller/Lyric.h"

#include <cstring>
#include <utility>

#include "controller/SongRules.h"
#include "controller/WorkerStop_win.h"
#include "shared/InstallHome.h"
#include "view/ResourceStatus.h"

struct CLyric::ChangeSongJob {
  zl::UniqueHandle cancel{CreateEventA(nullptr, TRUE, FALSE, nullptr)};
  bool Cancelled() const { return WaitForSingleObject(cancel.Get(), 0) == WAIT_OBJECT_0; }
};

namespace {

bool RmFileSupported(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data) ||
      (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
    return RmSizeSupported(false, 0);
  const uint64_t size = (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
  return RmSizeSupported(true, size);
}

}  // namespace

bool CLyric::IsSupported(const std::string& path) const {
  switch (ClassifySong(path)) {
    case SongSupport::Supported:
      return true;
    case SongSupport::RmNeedsSize:
      return RmFileSupported(path);
    case SongSupport::NotSupported:
      break;
  }
  return false;
}

void CLyric::OnChangeSong() {
  if (m_flags.webMode.load()) return;
  Log("用户改变了播放的歌曲");
  if (m_closing.load() || m_quitting.load()) {
    Log("Window closed!!!");
    return;
  }
  m_traceEvents.store(IsRecentPublish());
  Trace("Start a New Song", true);

  // The song that just ended may get the recognised names into its tags.
  const FetchResult last = m_getResource.Current();
  if ((m_settings.Values().autofprecognise || m_updateTags.load()) && last.tui.bUpdate) {
    std::string lastPath;
    {
      zl::Lock hold(m_songLock);
      lastPath = m_lastSongPath;
    }
    WriteTags(lastPath, last.tui);
  }
  m_updateTags.store(false);

  m_stopped.store(false);
  m_flags.stoppedByVideo.store(false);
  m_flags.prefetchArmed.store(false);
  m_flags.playerState.store(0);
  m_windows->KillMainTimer(lyricwin::kMvPrefetchTimer);
  Log("Kill 预取Timer");

  SongInfo song{};
  CPlayerQueryMessage* query = m_query.load();
  if (query) query->Query_SongInfo(song);
  song.path[sizeof song.path - 1] = '\0';
  Log("Current Song Info:Path is %s;Title is %s,Artist is %s;Album is %s;Kbps is %d;Duration is %d", song.path,
      song.title, song.artist, song.album, song.kbps, song.duration);
  m_durationMs.store(SongDuration(song.duration));
  {
    zl::Lock hold(m_songLock);
    m_song = song;
    m_lastSongPath = song.path;
  }
  m_stats.lastChangeTick.store(GetTickCount());

  if (!m_windows->HasMainWindow()) m_windows->EnsureMainWindow();
  Log("OnChangeSong1");

  StopChangeSongThread();
  m_view.Clear(GetTickCount());

  const bool supported = IsSupported(song.path);
  if (supported && m_flags.mvEnabled.load() && m_flags.userChoice.load() == 0) {
    int playing = 0;
    CPlayerControlMessage* control = m_control.load();
    if (control) control->Control_IsPlaying(playing);
    if (playing) {
      Log("stop current song");
      m_windows->PostMainCommand(lyricwin::kCommandStopPlayer);
    } else {
      Log("不能停止住当前播放歌曲");
    }
    m_flags.playerState.store(2);
    m_flags.stoppedByVideo.store(true);
  }

  if (!query) {
    Log("m_pPlayerQueryMessage is NULL,can not get songinfo");
  } else {
    Log("In thread change song");
    auto job = std::make_shared<ChangeSongJob>();
    zl::Lock hold(m_threadLock);
    if (!m_quitting.load()) {
      m_changeSongJob = job;
      m_changeSongWorker.Start([this, job, song, supported] { RunChangeSong(job, song, supported); });
      m_stats.songChanges++;
    }
  }
  Log("OnChangeSongOut");
  Trace("Leave onchangesong.", false);
}

void CLyric::StopChangeSongThread() {
  zl::BoundedWorker worker;
  std::shared_ptr<ChangeSongJob> job;
  {
    zl::Lock hold(m_threadLock);
    worker = std::move(m_changeSongWorker);
    job = std::move(m_changeSongJob);
  }
  if (!worker.Started() || worker.Ended()) {
    worker.Stop(nullptr, 0);
    Log("上次取歌词操作已经自然结束");
  } else {
    Log("强制取消上次歌词操作");
    // It may itself be waiting for a fetch and a pre-fetch thread to stop.
    const zl::WorkerEnd end = StopWorker(
        worker, [job] { SetEvent(job->cancel.Get()); }, 3 * m_timings.threadStopGraceMs);
    if (end == zl::WorkerEnd::Terminated || end == zl::WorkerEnd::Abandoned) m_stats.terminations++;
    Log("强制取消上次歌词操作--结束");
  }
  Trace("Wait last play song thread finish!", false);
}

void CLyric::RunChangeSong(std::shared_ptr<ChangeSongJob> job, SongInfo song, bool supported) {
  const unsigned id = static_cast<unsigned>(GetCurrentThreadId());
  Log("%u:开始获得当前播放歌曲的资源", id);
  Log("In ChangeSong. %u", id);
  // The pause lets a quick run of song changes settle: a newer change ends
  // this thread here, before it has released or started anything. The next
  // fetch's engine is made meanwhile (reading its settings takes a while),
  // and only handed over once the pause is over.
  const ULONGLONG pauseEnd = GetTickCount64() + m_timings.changeSongPauseMs;
  std::shared_ptr<ZLyric> engine = supported || m_flags.webMode.load() ? std::make_shared<ZLyric>() : nullptr;
  const ULONGLONG now = GetTickCount64();
  const DWORD rest = now >= pauseEnd ? 0 : static_cast<DWORD>(pauseEnd - now);
  if (WaitForSingleObject(job->cancel.Get(), rest) == WAIT_OBJECT_0) {
    m_stats.changeSongCancelled++;
    return;
  }
  m_mv->ClearSongFlag();
  Log("%u:Sleep Over", id);
  Log("Sleep Over. %u", id);
  if (m_flags.mvEnabled.load()) {
    m_mv->SendStartNewSongMsg();
    m_mv->SendStopMsg();
  }
  if (job->Cancelled()) return;
  ReleaseResource();
  Log("After ReleaseResource. %u", id);
  if (job->Cancelled() || m_closing.load() || m_quitting.load()) return;

  if (m_query.load()) {
    if (supported || m_flags.webMode.load()) {
      m_getResource.SetFetched(false);
      m_view.SetTagInfo(song.path, song.title, song.artist, song.album);
      m_view.SetMessage("正在搜索歌词...", 0, 0);
      Log("服务器搜索歌词");
      m_windows->RefreshPlayControls(m_flags.playerState.load());
      Log("In StartGetResource. %u", id);
      StartGetResource(song, engine ? engine : std::make_shared<ZLyric>());
    } else {
      Log("RESOURCE_NOT_SUPPORT");
      m_flags.playerState.store(2);
      m_view.SetStatus(LyricViewStatus::NotSupported);
      m_view.SetMessage("不支持该歌曲歌词显示", 0, 7);
    }
  }
  Log("%u,End", id);
}

void CLyric::StartGetResource(const SongInfo& song, std::shared_ptr<ZLyric> engine) {
  const unsigned id = static_cast<unsigned>(GetCurrentThreadId());
  Log("%u,开始获取该首歌曲资源 ", id);
  auto job = std::make_shared<FetchJob>();
  job->engine = std::move(engine);
  m_dialogs->SetEngine(job->engine);
  {
    zl::Lock hold(m_threadLock);
    if (m_quitting.load()) return;
    m_fetchJob = job;
    m_fetchWorker.Start([this, job, song] { RunFetch(job, song); });
  }
  m_stats.fetches++;
  Log("%u,start Get Resource ", id);
}

void CLyric::RunFetch(std::shared_ptr<FetchJob> job, SongInfo song) {
  const unsigned id = static_cast<unsigned>(GetCurrentThreadId());
  Log("%u,Real Start get Resource", id);
  Log("In GetResource::StartGetResource");
  m_getResource.StartGetResource(job->engine, song, job->cancelled);
  m_getResource.SetFetched(true);
  Log("Out GetResource::StartGetResource");
  Log("%u,Out get Resource", id);
  if (job->cancelled.load()) return;

  if (!m_flags.webMode.load()) StartPreGetResource(song);
  if (m_flags.mvEnabled.load() && m_flags.userChoice.load() == 0) {
    const Content c = m_getResource.Current().content;
    if (c.song_flv_signature.first == 0 && c.artist_swf_signature.first == 0) {
      ResumePlayerAfterVideo();
      m_flags.stoppedByVideo.store(false);
      m_getResource.UpdateResourceStatus();
    }
  }
}

void CLyric::ResumePlayerAfterVideo() {
  CPlayerControlMessage* control = m_control.load();
  CPlayerQueryMessage* query = m_query.load();
  Log("Need Play song %d", query ? static_cast<int>(query->Query_PlayerStatus()) : 0);
  int canPlay = 0;
  if (control) control->Control_CanPlay(canPlay);
  if (canPlay) {
    Log("Can Play");
    m_windows->PostMainCommand(lyricwin::kCommandPlayPlayer);
    Log("Can Play OUT");
    m_flags.playerState.store(0);
  } else {
    Log("Can Not Play");
  }
}

void CLyric::StartPreGetResource(const SongInfo& song) {
  auto job = std::make_shared<FetchJob>();
  job->engine = std::make_shared<ZLyric>();
  job->durationMs = SongDuration(song.duration);
  zl::BoundedWorker previous;
  std::shared_ptr<FetchJob> previousJob;
  {
    zl::Lock hold(m_threadLock);
    // A stop that came in meanwhile wins: the fetch was cancelled or the plug-in quits.
    if (m_quitting.load() || !m_fetchJob || m_fetchJob->cancelled.load()) return;
    previous = std::move(m_prefetchWorker);
    previousJob = std::exchange(m_prefetchJob, job);
  }
  Log("%u,Real Pre get Resource", static_cast<unsigned>(GetCurrentThreadId()));
  m_flags.prefetchAllowed.store(false);
  if (previousJob) previousJob->cancelled.store(true);
  StopWorker(
      previous,
      [previousJob] {
        if (previousJob) previousJob->engine->CloseFindGetPreGetConnection();
      },
      m_timings.threadStopGraceMs);
}

void CLyric::PollPreFetch() {
  std::shared_ptr<FetchJob> job;
  {
    zl::Lock hold(m_threadLock);
    if (!m_prefetchJob || m_prefetchJob->started || m_prefetchJob->cancelled.load()) return;
    job = m_prefetchJob;
  }
  // The position query may take its whole bound: it runs outside the lock.
  if (!PrefetchDue(job->durationMs, GetPlayPosition(), m_flags.prefetchAllowed.load())) return;
  zl::Lock hold(m_threadLock);
  if (m_quitting.load() || m_prefetchJob != job || job->started || job->cancelled.load()) return;
  job->started = true;
  m_prefetchWorker.Start([this, job] { RunPreFetch(job); });
}

void CLyric::RunPreFetch(std::shared_ptr<FetchJob> job) {
  if (job->cancelled.load()) return;
  Log("%u,预取资源开始！！！", static_cast<unsigned>(GetCurrentThreadId()));
  SongInfo next{};
  CPlayerQueryMessage* query = m_query.load();
  if (query) query->Query_NextSongInfo(next);
  next.path[sizeof next.path - 1] = '\0';
  if (next.path[0] && IsSupported(next.path)) {
    m_getResource.PreGetResource(*job->engine, next);
  } else {
    Log("Real Pre get Resource no valid media ,no pre get resource");
  }
}

void CLyric::StopGetResource() {
  const unsigned id = static_cast<unsigned>(GetCurrentThreadId());
  Log("%u,停止当前歌曲资源下载", id);
  zl::BoundedWorker worker;
  std::shared_ptr<FetchJob> job;
  {
    zl::Lock hold(m_threadLock);
    worker = std::move(m_fetchWorker);
    job = std::move(m_fetchJob);
    if (job) job->cancelled.store(true);
  }
  Log("In GetResource::StopGetResource");
  m_getResource.StopGetResource(job ? job->engine.get() : nullptr);
  Log("Out GetResource::StopGetResource");
  const zl::WorkerEnd end = StopWorker(
      worker,
      [job] {
        if (!job) return;
        job->engine->CloseFindGetPreGetConnection();
        job->engine->TerninateFpmatch();
      },
      m_timings.threadStopGraceMs);
  if (end == zl::WorkerEnd::Terminated || end == zl::WorkerEnd::Abandoned) m_stats.terminations++;
  m_getResource.SetEngine(nullptr);
  m_dialogs->SetEngine(nullptr);
  Log("%u,Out Stop Get Resource", id);
}

void CLyric::StopPreGetResource() {
  m_flags.prefetchAllowed.store(false);
  m_windows->KillMainTimer(lyricwin::kMvPrefetchTimer);
  Log("%u,停止预取资源的获取", static_cast<unsigned>(GetCurrentThreadId()));
  zl::BoundedWorker worker;
  std::shared_ptr<FetchJob> job;
  {
    zl::Lock hold(m_threadLock);
    worker = std::move(m_prefetchWorker);
    job = std::move(m_prefetchJob);
    if (job) job->cancelled.store(true);
  }
  m_getResource.StopPreGetResource(job ? job->engine.get() : nullptr, CurrentSong().path);
  const zl::WorkerEnd end = StopWorker(
      worker,
      [job] {
        if (job) job->engine->CloseFindGetPreGetConnection();
      },
      m_timings.threadStopGraceMs);
  if (end == zl::WorkerEnd::Terminated || end == zl::WorkerEnd::Abandoned) m_stats.terminations++;
  Log("%u,Out Stop Pre Get Resource", static_cast<unsigned>(GetCurrentThreadId()));
}

void CLyric::ReleaseResource() {
  m_stats.releases++;
  StopGetResource();
  if (!m_flags.webMode.load()) {
    StopPreGetResource();
    m_dialogs->CloseSongDialogs();
    m_dialogs->CancelConfirmations();
  }
}

void CLyric::Quit() {
  m_quitting.store(true);
  StopChangeSongThread();
  ReleaseResource();
}

std::shared_ptr<ZLyric> CLyric::CurrentEngine() {
  zl::Lock hold(m_threadLock);
  return m_fetchJob ? m_fetchJob->engine : nullptr;
}

std::shared_ptr<CLyric::FetchJob> CLyric::StopFetchForUserAction() {
  std::shared_ptr<FetchJob> job;
  zl::BoundedWorker worker;
  {
    zl::Lock hold(m_threadLock);
    job = m_fetchJob;
    if (!job) return nullptr;
    worker = std::move(m_fetchWorker);
  }
  m_getResource.StopGetResource(job->engine.get());
  // The engine serves one caller at a time: the fetch thread ends first.
  const zl::WorkerEnd end = StopWorker(
      worker, [job] { job->engine->CloseFindGetPreGetConnection(); }, m_timings.threadStopGraceMs);
  if (end == zl::WorkerEnd::Terminated || end == zl::WorkerEnd::Abandoned) m_stats.terminations++;
  if (end == zl::WorkerEnd::Abandoned) return nullptr;  // its thread may still be inside the engine
  m_getResource.SetEngine(job->engine);
  return job;
}

void CLyric::UseUserChoice(const SearchItem& item) {
  const std::shared_ptr<FetchJob> job = StopFetchForUserAction();
  if (!job) return;
  m_getResource.UserGetResource(*job->engine, item);
  if (m_view.Status() != LyricViewStatus::LyricReady) return;
  zl::Lock hold(m_threadLock);
  if (m_quitting.load() || m_fetchJob != job) return;
  m_fetchWorker.Start([this] {
    Log("In Real Re get Resource");
    m_getResource.StartGetP2PResource();
    Log("Out Real Re get Resource");
  });
}

void CLyric::ReloadLyric() {
  const std::shared_ptr<FetchJob> job = StopFetchForUserAction();
  if (!job) return;
  m_getResource.Reload(*job->engine);
  m_getResource.StartGetP2PResource();
}
