// Sharing a lyric file: it travels as a usage event, not to the lyric server.
#include <windows.h>

#include "EngineLog.h"
#include "FileOps_win.h"
#include "KeyValueText.h"
#include "UploadText.h"
#include "lyriccore/ZLyric.h"

using namespace zl;

Result ZLyric::UploadLrc(const LrcItem& item) {
  LogWrite(m_szLogFile, kEngineLog, kEngineModule, "enter UploadLrc");
  const std::string path = FieldText(item.lrcPath);
  int64_t size = ReadableFileSize(path);
  std::string text;
  // The file is read no further than the limit, so a file that grew after
  // the size was taken is refused as well.
  if (UploadSizeAllowed(size) &&
      (!ReadFilePrefix(path, static_cast<size_t>(kUploadLimitBytes) + 1, text) || !UploadSizeAllowed(static_cast<int64_t>(text.size()))))
    size = static_cast<int64_t>(text.size());
  if (!UploadSizeAllowed(size)) {
    LogWrite(m_szLogFile, kEngineLog, kEngineModule, "Upload File %s size too large:%d", path.c_str(),
             static_cast<int>(size < 0 ? 0 : size > INT32_MAX ? INT32_MAX : size));
    LogWrite(m_szLogFile, kEngineLog, kEngineModule, "out UploadLrc");
    return RESULT_FAIL;
  }
  PostUsageEvent("UPLOADLRC", UploadEventText(item, text), 0);
  LogWrite(m_szLogFile, kEngineLog, kEngineModule, "out UploadLrc");
  return RESULT_OK;
}
