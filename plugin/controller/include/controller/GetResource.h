#pragma once
// GetResource, the controller's fetch object: it runs the engine for the
// current song and the next one, keeps their results, and puts the current
// result into the view.
//
// Threads: the fetch and pre-fetch threads run the engine calls on engines
// of their own; results are kept under the object's lock, copied in and out,
// so the song-check and UI threads may show or re-use them at any time.
#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "lyriccore/ZLyric.h"
#include "player/SongInfo.h"
#include "shared/CriticalSection.h"

class CLyric;

// One engine run's outcome.
struct FetchResult {
  Result result = RESULT_NET_ERR;
  ResultType type = RESULT_TYPE_NONE;
  std::vector<SearchItem> list;
  Content content{};
  tagUpdateInfo tui{};
  std::string songPath;  // the song the engine looked for (its record's path)
};

class GetResource {
 public:
  explicit GetResource(CLyric& owner) : m_owner(owner) {}
  GetResource(const GetResource&) = delete;
  GetResource& operator=(const GetResource&) = delete;

  // Fetch thread: local lookup, server search, list choice, view update,
  // play log, MV request. `cancelled` is polled between the engine calls.
  void StartGetResource(const std::shared_ptr<ZLyric>& engine, const SongInfo& song,
                        const std::atomic<bool>& cancelled);
  // Pre-fetch thread: the next entry's resource.
  void PreGetResource(ZLyric& engine, const SongInfo& next);

  // Any thread: aborts the engine's request and an open list choice, and
  // tells the MV link to stop its download.
  void StopGetResource(ZLyric* engine);
  // Any thread: aborts the pre-fetch request; the MV pre-download stops
  // unless the playing song is the one that was pre-fetched.
  void StopPreGetResource(ZLyric* engine, const std::string& currentPath);

  // Any thread: the kept result into the view, unless it is for another song.
  void UpdateResourceStatus();
  // Any thread: the MV request for the kept result.
  bool StartGetP2PResource();

  // The user chose a candidate of a list / a result of a search by names:
  // the engine fetches it (on the calling thread) and the view shows it.
  void GetChosenItem(ZLyric& engine, const SearchItem& item);
  void UserGetResource(ZLyric& engine, const SearchItem& item);
  void Reload(ZLyric& engine);

  // The recognised names of the kept result, as the user edited them.
  void SetRecognisedNames(const tagUpdateInfo& names);

  // The engine whose result is kept (null between songs).
  void SetEngine(std::shared_ptr<ZLyric> engine);
  bool HasEngine() const;
  FetchResult Current() const;
  bool Fetched() const { return m_fetched.load(); }
  void SetFetched(bool fetched) { m_fetched.store(fetched); }
  std::string PrefetchedPath() const;

 private:
  void Log(const char* tag, const char* text) const;
  void ServerSearch(ZLyric& engine, FetchResult& r, const std::atomic<bool>& cancelled);
  void OpenListSelection(ZLyric& engine, const std::atomic<bool>& cancelled);
  void PostPlayLog();
  void Commit(const FetchResult& r);

  CLyric& m_owner;
  mutable zl::CriticalSection m_lock;
  std::shared_ptr<ZLyric> m_engine;
  FetchResult m_current;
  FetchResult m_pre;
  std::string m_prePath;
  std::atomic<bool> m_fetched{false};
};
