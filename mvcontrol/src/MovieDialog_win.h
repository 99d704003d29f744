#pragma once
// The control's child dialog (resource 201): the Flash control (201) over
// the whole width and the status text line (202) in the bottom 20 pixels.
#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "Channel_win.h"
#include "FlashControl_win.h"
#include "shared/Ownership.h"

namespace mvcontrol {

class MovieDialog : public ChannelView {
 public:
  using CommandFn = std::function<void(const std::string& command)>;

  MovieDialog(std::string logPath, CommandFn onCommand);
  ~MovieDialog() override;
  MovieDialog(const MovieDialog&) = delete;
  MovieDialog& operator=(const MovieDialog&) = delete;

  // The dialog inside `parent` at width × height, with its Flash control.
  // False when the dialog cannot be made; a missing Flash control only
  // leaves the movie area empty.
  bool Create(HWND parent, int width, int height);
  void Destroy();
  void Layout(int width, int height);
  HWND Window() const { return m_dialog.Get(); }

  void ShowStatus(const std::string& text) override;
  void ShowMovie(const std::string& moviePath) override;
  void PlayVideo(const std::string& playerMovie, const std::string& videoFile) override;

 private:
  static INT_PTR CALLBACK Proc(HWND, UINT, WPARAM, LPARAM);

  std::string m_logPath;
  CommandFn m_onCommand;
  zl::UniqueWindow m_dialog;
  std::unique_ptr<FlashControl> m_flash;
  zl::UniqueBrush m_background;
};

}  // namespace mvcontrol
