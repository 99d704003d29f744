#include <windows.h>

#include <cstring>

#include "dialogs/LyricDialogsFactory_win.h"
#include "shared/Ownership.h"

namespace {

zl::UniqueGlobal GlobalCopy(const void* bytes, size_t size) {
  zl::UniqueGlobal memory(GlobalAlloc(GMEM_MOVEABLE, size));
  if (!memory) return memory;
  void* target = GlobalLock(memory.Get());
  if (!target) return zl::UniqueGlobal();
  std::memcpy(target, bytes, size);
  GlobalUnlock(memory.Get());
  return memory;
}

}  // namespace

bool CopyTextToClipboard(HWND owner, const std::string& text) {
  const int wideLength = MultiByteToWideChar(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()) + 1, nullptr, 0);
  if (wideLength <= 0) return false;
  std::wstring wide(static_cast<size_t>(wideLength), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()) + 1, &wide[0], wideLength);
  zl::UniqueGlobal ansi = GlobalCopy(text.c_str(), text.size() + 1);
  zl::UniqueGlobal unicode = GlobalCopy(wide.data(), wide.size() * sizeof(wchar_t));
  if (!ansi || !unicode || !OpenClipboard(owner)) return false;
  EmptyClipboard();
  // The clipboard owns what it accepted.
  bool ok = true;
  if (SetClipboardData(CF_TEXT, ansi.Get())) ansi.Release(); else ok = false;
  if (SetClipboardData(CF_UNICODETEXT, unicode.Get())) unicode.Release(); else ok = false;
  CloseClipboard();
  return ok;
}
