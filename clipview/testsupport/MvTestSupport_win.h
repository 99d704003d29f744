#pragma once
// Helpers for the MV tests under Wine: windows that host a video or stand
// in for the MV dialog, a message pump with a deadline, the stand-in
// DirectShow filters' registration, files in a scratch folder, and
// screenshots written as PNG files.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace mvtest {

// Pumps this thread's messages until done() holds or ms have passed.
bool PumpUntil(const std::function<bool()>& done, DWORD ms);
// Pumps for a while (lets posted work run).
void PumpFor(DWORD ms);

using Handler = std::function<bool(HWND, UINT, WPARAM, LPARAM, LRESULT&)>;

// A top-level window of a test; the handler sees every message first.
class TestWindow {
 public:
  TestWindow(const char* title, int x, int y, int width, int height, bool visible, Handler handler = nullptr);
  ~TestWindow();
  TestWindow(const TestWindow&) = delete;
  TestWindow& operator=(const TestWindow&) = delete;
  HWND Get() const { return hwnd_; }
  void SetHandler(Handler h) { handler_ = std::move(h); }

 private:
  static LRESULT CALLBACK Proc(HWND, UINT, WPARAM, LPARAM);
  HWND hwnd_ = nullptr;
  Handler handler_;
};

// Registers FLVSplitter.ax and ffdshow.ax from beside the test program
// (the decoder's registry marks are not written: that is the installer's).
bool RegisterStandInFilters();

// A scratch folder of this test program under the user's temp folder,
// emptied when created. Ends in a backslash.
std::string ScratchFolder(const std::string& name);
bool WriteFileBytes(const std::string& path, const std::string& bytes);
std::string ReadFileBytes(const std::string& path);
std::string BesideMe(const std::string& fileName);

// The screen's pixels of a window's client area, 0xRRGGBB, top-down rows.
struct Capture {
  int width = 0, height = 0;
  std::vector<uint32_t> rgb;
  uint32_t At(int x, int y) const { return rgb[size_t(y) * width + x]; }
};
Capture CaptureClient(HWND window);
// Writes the capture to <test program folder>\screenshots\<name>.png.
std::string SaveScreenshot(const Capture& c, const std::string& name);

}  // namespace mvtest
