#pragma once
// The lyric dialogs, one function each: they run modal on the calling
// thread and hand back what the user chose. The caller acts on the choice.
//
// `watch` (optional) is told the dialog's window once it exists and null
// when it goes, so that another thread can cancel it (WM_COMMAND IDCANCEL).
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "dialogs/DialogRules.h"
#include "lyriccore/ZLyric.h"

namespace lyricdlg {

using DialogWatch = std::function<void(HWND)>;

// ---- Select lyric -------------------------------------------------------------
struct SelectLyricResult {
  int index = -1;  // -1: cancelled
  std::string fileName;
};
SelectLyricResult RunSelectLyricDialog(HWND owner, const std::string& home, const std::vector<SearchItem>& candidates,
                                       unsigned tickMs, const DialogWatch& watch);

// ---- Search and relate ----------------------------------------------------------
struct SearchRelateInput {
  std::string title, artist;       // prefilled names
  std::shared_ptr<ZLyric> engine;  // null: nothing can be searched or linked
  unsigned searchLimitMs = 0;      // the longest wait for the server
  // A local file was linked: the lyric it gave (the caller shows it).
  std::function<void(std::vector<TimeSentence>&)> onLinked;
};
struct SearchRelateResult {
  bool ok = false;       // closed with OK
  bool linked = false;   // a local file was linked
  bool dontWant = false; // "DoNotWantLyric" was ticked
  bool haveItem = false; // a server candidate was selected
  SearchItem item{};
};
SearchRelateResult RunSearchRelateDialog(HWND owner, const std::string& home, const SearchRelateInput& input,
                                         const DialogWatch& watch);

// ---- Upload ----------------------------------------------------------------------
using UploadFunction = std::function<Result(ZLyric&, const LrcItem&)>;
struct UploadInput {
  UploadFields fields;             // prefilled from the current song
  std::shared_ptr<ZLyric> engine;  // null: an upload fails
  UploadFunction upload;
  unsigned closeAfterMs = 2000;    // the success notice stays this long
};
bool RunUploadDialog(HWND owner, const std::string& home, const UploadInput& input, const DialogWatch& watch);

// ---- Adjust time -------------------------------------------------------------------
// True with the entered shift (ms) on OK.
bool RunAdjustTimeDialog(HWND owner, const std::string& home, int& shiftMs);

// ---- Wheel confirmation ---------------------------------------------------------------
struct WheelAnswer {
  bool keep = true;         // OK; Cancel undoes the shift
  bool dontRemind = false;  // "NotToMentionLater" ticked
};
WheelAnswer RunWheelConfirmDialog(HWND owner, const std::string& home, const DialogWatch& watch);

// ---- Recognition result ------------------------------------------------------------------
// The recognised names in `names` (recTitle, recArtist, recAlbum), edited in
// place; autoWrite is the automatic tag writing switch. True on OK.
bool RunRecognitionDialog(HWND owner, const std::string& home, tagUpdateInfo& names, bool& autoWrite,
                          const DialogWatch& watch);

// Timer of the select-lyric countdown.
constexpr UINT_PTR kCountdownTimer = 32858;

}  // namespace lyricdlg
