#pragma once
// The lyric view model: status, message line, sentences, picture strip and the
// song's names. Fetch threads write it; the lyric windows' thread draws it.
//
// Threads: the sentence and strip lists are guarded by the draw lock, which
// the repaint holds for its whole cycle, so a lyric is never swapped under a
// drawing. Status, message, names and picture path may be written from any
// thread at any time; they are guarded by a small lock of their own so that a
// fetch thread never waits for a repaint and a repaint never sees half a text.
#include <atomic>
#include <cstdint>
#include <functional>
#include "shared/CriticalSection.h"
#include <string>
#include <vector>

#include "lyriccore/LrcText.h"

enum class LyricViewStatus : int {
  Idle = 0,  // nothing loaded, also after stop
  NetworkFailed = 3,
  NoLyricFound = 4,
  LyricReady = 5,  // the sentences are valid; only this status draws them
  NotSupported = 6,
};

struct LyricMessage {
  int code;       // what a click on the message line does
  char text[256];
  int isLink;     // 1: drawn underlined and clickable
};

// The current song's names, cut to the sizes of the player's song record.
struct LyricTagInfo {
  char path[512];
  char title[256];
  char artist[256];
  char album[256];
};

// A picture under the lyrics.
struct StripItem {
  std::string picturePath;
  std::string caption;
  int kind;  // StripItemKind
};

enum StripItemKind {
  kStripMv = 0,
  kStripArtistPhotos = 1,
  kStripRingBackTone = 2,
  kStripStarNews = 3,
};

// Codes of the message line that the view itself sets.
constexpr int kMessageUploadInvitation = 9;
// The upload invitation replaces "no lyric from the server" this long after it was set.
constexpr uint32_t kDelayedWelcomeMs = 1500;

class LyricViewState {
 public:
  LyricViewState() = default;
  LyricViewState(const LyricViewState&) = delete;
  LyricViewState& operator=(const LyricViewState&) = delete;

  // A text longer than 255 bytes is not cut: the line is cleared (text and
  // link flag) and the code keeps its previous value.
  void SetMessage(const char* text, int isLink, int code);
  LyricMessage Message() const;

  void SetStatus(LyricViewStatus status) { m_status.store(status); }
  LyricViewStatus Status() const { return m_status.load(); }
  void SetStatusTick(uint32_t tick) { m_statusTick.store(tick); }
  uint32_t StatusTick() const { return m_statusTick.load(); }

  // Arms the upload invitation; `messageTick` is when the message it replaces was set.
  void SetDelayedWelcome(uint32_t messageTick);
  bool DelayedWelcome() const;
  // Called by every repaint: once more than 1500 ms have passed since the
  // message tick, shows the upload invitation and disarms. `artist` and
  // `title` are the player's names when it has a current song, else null to
  // use the tag info. True when the message changed.
  bool ApplyDelayedWelcome(uint32_t now, const char* artist, const char* title);

  void SetTagInfo(const char* path, const char* title, const char* artist, const char* album);
  LyricTagInfo TagInfo() const;

  // Picture behind the lyrics when the background follows the singer (at most 511 bytes).
  void SetBackgroundPicturePath(const char* path);
  std::string BackgroundPicturePath() const;

  // The draw lock. Writers below take it themselves; the repaint holds it
  // around its cycle and reads the lists through Sentences() and Strip().
  zl::CriticalSection& DrawLock() { return m_drawLock; }
  const std::vector<TimeSentence>& Sentences() const { return m_sentences; }
  // Word times of the sentences: empty, or one entry per sentence.
  const std::vector<LineWords>& Words() const { return m_words; }
  const std::vector<StripItem>& Strip() const { return m_strip; }

  // Replaces the sentences with a copy of `list`, and their word times with
  // `words` (kept only with one entry per sentence); nothing for a null list.
  void SetLyricSentences(const std::vector<TimeSentence>* list, const std::vector<LineWords>* words = nullptr);
  void SetStripItems(const std::vector<StripItem>& items);
  void ClearLists();

  // Forgets the song entirely (song change): status Idle with the status tick
  // `now`, lists, names, picture, message, delayed welcome and adjust mode.
  void Clear(uint32_t now);

  // Receives the draw-lock trace lines of the writers; set once at start-up,
  // before any writer runs.
  void SetLockTrace(std::function<void(const char*)> trace) { m_lockTrace = std::move(trace); }

  // Lyric windows' thread (atomic: a song change clears adjust mode from another thread).
  std::atomic<int> mini{0};        // 1 while the lyrics are in the mini window
  std::atomic<int> adjustMode{0};  // 1 while the user drags the lyrics
  std::atomic<int> lineHeight{0};  // written by every repaint, read by the drag tracker
  // The strip offers the song's MV / the artist's picture show (fetch threads
  // write, the MV link and the menu read).
  std::atomic<int> mvItem{0};
  std::atomic<int> photosItem{0};

 private:
  friend class DrawLockWriter;

  zl::CriticalSection m_drawLock;
  std::vector<TimeSentence> m_sentences;
  std::vector<LineWords> m_words;
  std::vector<StripItem> m_strip;
  std::function<void(const char*)> m_lockTrace;

  std::atomic<LyricViewStatus> m_status{LyricViewStatus::Idle};
  std::atomic<uint32_t> m_statusTick{0};

  mutable zl::CriticalSection m_fieldLock;
  LyricMessage m_message{};
  uint32_t m_messageTick = 0;
  int m_delayedWelcome = 0;
  LyricTagInfo m_tags{};
  char m_backgroundPicture[512] = "";
};

// Holds the draw lock of a writer (a fetch or song-change thread) and traces
// its entry and exit.
class DrawLockWriter {
 public:
  explicit DrawLockWriter(LyricViewState& view);
  ~DrawLockWriter();
  DrawLockWriter(const DrawLockWriter&) = delete;
  DrawLockWriter& operator=(const DrawLockWriter&) = delete;

 private:
  void Trace(const char* line);
  LyricViewState& m_view;
};
