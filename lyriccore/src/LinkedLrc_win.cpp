// The lyric file the user linked: link, unlink, timing shift, plain text.
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "EngineLog.h"
#include "FileOps_win.h"
#include "KeyValueText.h"
#include "LyricFileText.h"
#include "LyricTexts.h"
#include "lyriccore/ZLyric.h"

using namespace zl;

namespace {
// The shift's rewritten text is logged on its own, as it always was.
const char kAdjustLog[] = "c:\\AdjustLrcTime.txt";
}  // namespace

void ZLyric::RewriteInfoWithCurrentContent() {
  const SongFileAtr& s = m_songFileAtr;
  WriteInfoFile(GetInfoFile(s.songPath, FieldText(s.artist), FieldText(s.title)), RESULT_TYPE_CONTENT, {},
                m_content);
}

void ZLyric::LinkLrcFile(std::string path, std::vector<TimeSentence>& lSen) {
  LogWrite(m_szLogFile, kEngineLog, kEngineModule, "enter LinkLrcFile:%s", path.c_str());
  lSen.clear();
  std::vector<LineWords> words;
  if (path.size() >= sizeof m_content.lrc_path) {
    // Cut short, the path would name another file for later rewrites.
    LogWrite(m_szLogFile, kEngineLog, kEngineModule, "LinkLrcFile:path too long to link");
  } else if (LrcTags tags; FileExists(path) &&
             ReadLyricFile(path, tags, lSen, words,
                           static_cast<int32_t>(std::min<uint64_t>(uint64_t{m_songFileAtr.unLength} * 1000, INT32_MAX)))) {
    m_content.tags = tags;
    m_content.sentences = lSen;
    m_content.words = std::move(words);
    CopyToField(m_content.lrc_path, sizeof m_content.lrc_path, path);
    std::memcpy(m_storedContent.lrc_path, m_content.lrc_path, sizeof m_content.lrc_path);
    m_storedContent.tags = m_content.tags;
    m_storedContent.sentences = m_content.sentences;
    m_storedContent.words = m_content.words;
    PostUsageEvent("LINKLRC", LinkEventText(m_songFileAtr, m_content.tags, path), 0);
  }
  RewriteInfoWithCurrentContent();
  LogWrite(m_szLogFile, kEngineLog, kEngineModule, "out:LinkLrcFile:lSen.Length:%d", static_cast<int>(lSen.size()));
}

void ZLyric::UnlinkLrcFile() {
  LogWrite(m_szLogFile, kEngineLog, kEngineModule, "enter UnlinkLrcFile");
  m_content.lrc_path[0] = '\0';
  m_content.sentences.clear();
  m_content.words.clear();
  RewriteInfoWithCurrentContent();
  PostUsageEvent("LINKLRC", UnlinkEventText(m_songFileAtr), 0);
  LogWrite(m_szLogFile, kEngineLog, kEngineModule, "out UnlinkLrcFile");
}

void ZLyric::AdjustLrcTime(int intervalTime, std::vector<TimeSentence>& lSen) {
  LogWrite(m_szLogFile, kEngineLog, kEngineModule, "AdjustLrcTime:para1:intervalTime:%d", intervalTime);
  lSen = m_content.sentences;
  ShiftSentences(lSen, intervalTime);
  m_content.sentences = lSen;
  const std::string path = FieldText(m_content.lrc_path);
  // NOTE: a file that gave no timed line is left alone; rewriting it would
  // keep nothing of it but four empty tags.
  if (!path.empty() && !lSen.empty()) {
    // The file keeps its own encoding and byte-order mark.
    std::string current;
    ReadWholeFile(path, current);
    const std::string text = ShiftedLyricFile(current, m_content.tags, lSen, m_content.words, SystemCodePage());
    LogWrite(kAdjustLog, kEngineLog, kEngineModule, "%s", text.c_str());
    std::string error;
    if (!ReplaceFileText(path, text, error))
      LogWrite(m_szLogFile, kEngineLog, kEngineModule, "AdjustLrcTime:rewrite of %s failed: %s", path.c_str(),
               error.c_str());
  }
  LogWrite(m_szLogFile, kEngineLog, kEngineModule, "out AdjustLrcTime");
}

void ZLyric::Lrc2Txt(std::string& txt) {
  LogWrite(m_szLogFile, kEngineLog, kEngineModule, "enter Lrc2Txt");
  txt = LyricPlainText(m_content.sentences);
  LogWrite(m_szLogFile, kEngineLog, kEngineModule, "out:Lrc2Txt:%s", txt.c_str());
}
