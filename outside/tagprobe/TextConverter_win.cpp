#include "TextConverter_win.h"

#include <windows.h>

#include <climits>

namespace tagprobe {

namespace {
constexpr UINT kGbk = 936;
}

std::string Cp936Converter::Utf16ToGbk(const std::u16string& text) const {
  if (text.empty() || text.size() > INT_MAX / 2) return {};
  const auto* wide = reinterpret_cast<const wchar_t*>(text.data());
  const int len = static_cast<int>(text.size());
  const int need = WideCharToMultiByte(kGbk, 0, wide, len, nullptr, 0, "?", nullptr);
  if (need <= 0) return {};
  std::string out(static_cast<size_t>(need), '\0');
  WideCharToMultiByte(kGbk, 0, wide, len, &out[0], need, "?", nullptr);
  return out;
}

std::u16string Cp936Converter::GbkToUtf16(const std::string& text) const {
  if (text.empty() || text.size() > INT_MAX) return {};
  const int len = static_cast<int>(text.size());
  const int need = MultiByteToWideChar(kGbk, 0, text.data(), len, nullptr, 0);
  if (need <= 0) return {};
  std::u16string out(static_cast<size_t>(need), u'\0');
  MultiByteToWideChar(kGbk, 0, text.data(), len, reinterpret_cast<wchar_t*>(&out[0]), need);
  return out;
}

}  // namespace tagprobe
