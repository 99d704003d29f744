#pragma once
// The lyric dialogs and the context menu, as the controller uses them. One
// implementation per plug-in, created at start-up with the controller and
// deleted at quit after every worker has ended.
//
// Threads: each operation says where it runs. A modal dialog runs its own
// message loop on the calling thread.
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "lyriccore/LyricRecords.h"

class ILyricController;
class ZLyric;

// Pages of the settings dialog.
enum class SettingsPage { Font = 0, LyricFile = 1, Network = 2, About = 3 };

class ILyricDialogs {
 public:
  virtual ~ILyricDialogs() = default;

  // UI, once, at start-up.
  virtual void Attach(ILyricController* controller) = 0;

  // any: the engine of the song now being fetched (null: none); the search,
  // upload and adjust dialogs work with it.
  virtual void SetEngine(std::shared_ptr<ZLyric> engine) = 0;

  // Fetch thread, modal: the user picks one of the server's candidates (or
  // the countdown picks the first). The index of the chosen candidate and
  // its "%s-%s.lrc" file name, or -1 when cancelled.
  virtual int SelectLyric(const std::vector<SearchItem>& candidates, std::string& fileName) = 0;
  // any: an open select-lyric dialog is cancelled (WM_COMMAND 2) at once.
  virtual void CancelSelectLyric() = 0;
  // any: closes the search and upload dialogs of the old song.
  virtual void CloseSongDialogs() = 0;
  // any: cancels the recognition-result and wheel confirmation dialogs.
  virtual void CancelConfirmations() = 0;

  // UI: the context menu of a lyric window at a screen point.
  virtual void ShowContextMenu(HWND window, POINT screen) = 0;
  // UI: a menu command the controller does not handle itself.
  virtual void OnCommand(HWND window, unsigned id) = 0;
  // UI: the settings dialog (modal), at a page.
  virtual void ShowSettingsDialog(SettingsPage page) = 0;
  // UI: message-line actions that open dialogs (codes 5, 6, 8, 9).
  virtual void OnMessageClick(int code) = 0;
  // UI: the mouse wheel over the lyric (shifts the timing) and the wheel
  // confirmation timer.
  virtual void OnMouseWheel(HWND window, WPARAM wParam) = 0;
  virtual void OnWheelConfirmTimer(HWND window) = 0;
};
