#include "view/LyricViewState.h"

#include <cstdio>
#include <cstring>

#include "shared/GbkText.h"

namespace {

void CopyName(char* dst, size_t size, const char* src) {
  zl::CopyGbkBounded(dst, size, src ? src : "");
}

}  // namespace

void LyricViewState::SetMessage(const char* text, int isLink, int code) {
  const char* t = text ? text : "";
  zl::Lock lock(m_fieldLock);
  if (strnlen(t, sizeof m_message.text) >= sizeof m_message.text) {
    m_message.text[0] = '\0';
    m_message.isLink = 0;
    return;
  }
  std::memcpy(m_message.text, t, strlen(t) + 1);
  m_message.isLink = isLink;
  m_message.code = code;
}

LyricMessage LyricViewState::Message() const {
  zl::Lock lock(m_fieldLock);
  return m_message;
}

void LyricViewState::SetDelayedWelcome(uint32_t messageTick) {
  zl::Lock lock(m_fieldLock);
  m_messageTick = messageTick;
  m_delayedWelcome = 1;
}

bool LyricViewState::DelayedWelcome() const {
  zl::Lock lock(m_fieldLock);
  return m_delayedWelcome != 0;
}

bool LyricViewState::ApplyDelayedWelcome(uint32_t now, const char* artist, const char* title) {
  char text[sizeof(LyricTagInfo::artist) + sizeof(LyricTagInfo::title) + 32];
  {
    zl::Lock lock(m_fieldLock);
    if (!m_delayedWelcome || now - m_messageTick <= kDelayedWelcomeMs) return false;
    m_delayedWelcome = 0;
    const char* a = artist ? artist : m_tags.artist;
    const char* t = artist ? (title ? title : "") : m_tags.title;
    if (*a == '\0' && *t == '\0')
      std::snprintf(text, sizeof text, "%s", "欢迎上传歌词");
    else
      std::snprintf(text, sizeof text, "%.255s-%.255s,欢迎上传歌词", a, t);
  }
  SetMessage(text, 1, kMessageUploadInvitation);
  return true;
}

void LyricViewState::SetTagInfo(const char* path, const char* title, const char* artist, const char* album) {
  zl::Lock lock(m_fieldLock);
  CopyName(m_tags.path, sizeof m_tags.path, path);
  CopyName(m_tags.title, sizeof m_tags.title, title);
  CopyName(m_tags.artist, sizeof m_tags.artist, artist);
  CopyName(m_tags.album, sizeof m_tags.album, album);
}

LyricTagInfo LyricViewState::TagInfo() const {
  zl::Lock lock(m_fieldLock);
  return m_tags;
}

void LyricViewState::SetBackgroundPicturePath(const char* path) {
  zl::Lock lock(m_fieldLock);
  CopyName(m_backgroundPicture, sizeof m_backgroundPicture, path);
}

std::string LyricViewState::BackgroundPicturePath() const {
  zl::Lock lock(m_fieldLock);
  return m_backgroundPicture;
}

void LyricViewState::SetLyricSentences(const std::vector<TimeSentence>* list, const std::vector<LineWords>* words) {
  if (list == nullptr) return;
  std::vector<TimeSentence> copy(*list);  // copied outside the lock: the repaint waits only for the swap
  std::vector<LineWords> wordsCopy;
  if (words != nullptr && words->size() == list->size()) wordsCopy = *words;
  DrawLockWriter lock(*this);
  m_sentences.swap(copy);
  m_words.swap(wordsCopy);
}

void LyricViewState::SetStripItems(const std::vector<StripItem>& items) {
  std::vector<StripItem> copy(items);
  DrawLockWriter lock(*this);
  m_strip.swap(copy);
}

void LyricViewState::ClearLists() {
  std::vector<TimeSentence> oldSentences;
  std::vector<LineWords> oldWords;
  std::vector<StripItem> oldStrip;
  {
    DrawLockWriter lock(*this);
    m_sentences.swap(oldSentences);
    m_words.swap(oldWords);
    m_strip.swap(oldStrip);
  }
}

void LyricViewState::Clear(uint32_t now) {
  m_status.store(LyricViewStatus::Idle);
  m_statusTick.store(now);
  ClearLists();
  {
    zl::Lock lock(m_fieldLock);
    m_tags = LyricTagInfo{};
    m_backgroundPicture[0] = '\0';
    m_message = LyricMessage{};
    m_delayedWelcome = 0;
  }
  adjustMode.store(0);
}

DrawLockWriter::DrawLockWriter(LyricViewState& view) : m_view(view) {
  Trace("enter draw criticalSection");
  m_view.m_drawLock.lock();
  Trace("enter draw criticalSection1");
}

DrawLockWriter::~DrawLockWriter() {
  Trace("leave draw criticalSection1");
  m_view.m_drawLock.unlock();
  Trace("leave draw criticalSection");
}

void DrawLockWriter::Trace(const char* line) {
  if (m_view.m_lockTrace) m_view.m_lockTrace(line);
}
