#pragma once
// The plug-in's lyric dialogs and context menu (ILyricDialogs). Create on
// the player's UI thread, with the controller; tests shorten the timings
// and may replace the upload.
#include <functional>
#include <memory>
#include <string>

#include "controller/LyricDialogs.h"
#include "lyriccore/ZLyric.h"

struct DialogTimings {
  unsigned selectTickMs = 1000;    // one step of the select-lyric countdown
  unsigned wheelConfirmMs = 1000;  // from the last wheel notch to the confirmation
  unsigned uploadCloseMs = 2000;   // the upload dialog shows its success this long
  unsigned searchExtraMs = 10000;  // beyond the retry time, before a search counts as hung
};

struct DialogOptions {
  DialogTimings timings;
  // Sends a lyric file; the engine's upload unless a test replaces it.
  std::function<Result(ZLyric&, const LrcItem&)> upload;
};

std::unique_ptr<ILyricDialogs> MakeLyricDialogs(DialogOptions options = {});

// The engine's UploadLrc.
Result UploadWithEngine(ZLyric& engine, const LrcItem& item);

// Puts text (system code page) on the clipboard as text and as Unicode text.
bool CopyTextToClipboard(HWND owner, const std::string& text);
