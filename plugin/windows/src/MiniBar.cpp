#include "lyricwindows/MiniBar.h"

#include <algorithm>
#include <cctype>

#include "shared/GbkText.h"

namespace {

constexpr int kGap = 1;        // between buttons
constexpr int kLyricInset = 4; // between the button groups and the lyric

const MiniButton kLeftGroup[] = {kMiniPrevious, kMiniPlay, kMiniStop, kMiniNext};
const MiniButton kRightGroup[] = {kMiniVideo, kMiniSwitch, kMiniMinimize, kMiniClose};

}  // namespace

const char* MiniTipKey(MiniButton b, int playerState) {
  switch (b) {
    case kMiniPrevious: return "Previous";
    case kMiniPlay: return playerState == kPlayerPlaying ? "Pause" : "Play";
    case kMiniStop: return "Stop";
    case kMiniNext: return "Next";
    case kMiniVideo: return "Video";
    case kMiniSwitch: return "ChangeToFullMode";
    case kMiniMinimize: return "Minimize";
    case kMiniClose: return "Close";
    default: return "";
  }
}

MiniAction ActionOf(MiniButton b, int playerState) {
  switch (b) {
    case kMiniPrevious: return MiniAction::Previous;
    case kMiniPlay:
      if (playerState == kPlayerPlaying) return MiniAction::Pause;
      return playerState == kPlayerPaused ? MiniAction::Resume : MiniAction::PlayStart;
    case kMiniStop: return MiniAction::Stop;
    case kMiniNext: return MiniAction::Next;
    case kMiniVideo: return MiniAction::Video;
    case kMiniSwitch: return MiniAction::Switch;
    case kMiniMinimize: return MiniAction::Minimize;
    case kMiniClose: return MiniAction::Close;
    default: return MiniAction::None;
  }
}

bool MiniButtonEnabled(MiniButton b, int playerState) {
  if (b == kMiniStop || b == kMiniPrevious || b == kMiniNext) return playerState != kPlayerStopped;
  return true;
}

ButtonLook LookOf(MiniButton b, int playerState, int hovered, int pressed) {
  if (!MiniButtonEnabled(b, playerState)) return ButtonLook::Disabled;
  if (pressed == b) return hovered == b ? ButtonLook::Pressed : ButtonLook::Normal;
  if (pressed < 0 && hovered == b) return ButtonLook::Hover;
  return ButtonLook::Normal;
}

const char* BitmapStem(MiniButton b, int playerState) {
  switch (b) {
    case kMiniPrevious: return "last";
    case kMiniPlay:
      if (playerState == kPlayerPlaying) return "pause";
      return playerState == kPlayerPaused ? "play" : "playstart";
    case kMiniStop: return "stop";
    case kMiniNext: return "next";
    case kMiniVideo: return "mv";
    case kMiniSwitch: return "switch";
    case kMiniMinimize: return "mini";
    case kMiniClose: return "close";
    default: return "";
  }
}

const char* LookSuffix(ButtonLook look) {
  switch (look) {
    case ButtonLook::Hover: return "-hover";
    case ButtonLook::Pressed: return "-pressed";
    case ButtonLook::Disabled: return "-disable";
    default: return "-normal";
  }
}

bool FallbackLook(ButtonLook look, ButtonLook& fallback) {
  switch (look) {
    case ButtonLook::Pressed: fallback = ButtonLook::Hover; return true;
    case ButtonLook::Hover:
    case ButtonLook::Disabled: fallback = ButtonLook::Normal; return true;
    default: return false;
  }
}

MiniBarLayout LayoutMiniBar(int width, int height, const MiniBarSizes& s) {
  MiniBarLayout l{};
  const int bw = std::max(0, s.buttonWidth);
  const int bh = std::max(0, s.buttonHeight);
  const int top = std::max(0, (height - bh) / 2);
  l.left = ViewRect{0, 0, s.leftWidth, height};
  l.right = ViewRect{width - s.rightWidth, 0, width, height};
  l.mid = ViewRect{s.leftWidth, 0, width - s.rightWidth, height};
  int x = s.leftWidth;
  for (MiniButton b : kLeftGroup) {
    l.buttons[b] = ViewRect{x, top, x + bw, top + bh};
    x += bw + kGap;
  }
  const int lyricLeft = x - kGap + kLyricInset;
  int right = width - s.rightWidth;
  for (int i = 3; i >= 0; --i) {
    const MiniButton b = kRightGroup[i];
    l.buttons[b] = ViewRect{right - bw, top, right, top + bh};
    right -= bw + kGap;
  }
  const int lyricRight = right + kGap - kLyricInset;
  l.lyricArea = lyricRight > lyricLeft ? ViewRect{lyricLeft, top, lyricRight, top + bh} : ViewRect{0, 0, 0, 0};
  return l;
}

int MiniButtonAt(const MiniBarLayout& l, ViewPoint p) {
  for (int b = 0; b < kMiniButtonCount; ++b) {
    const ViewRect& r = l.buttons[b];
    if (p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom) return b;
  }
  return -1;
}

std::vector<ControlRecord> MiniControlRecords(const MiniBarLayout& l, int playerState,
                                              const std::vector<std::string>& tips) {
  std::vector<ControlRecord> out;
  for (int b = 0; b < kMiniButtonCount; ++b) {
    ControlRecord r{};
    SetRecordText(r.text, BitmapStem(static_cast<MiniButton>(b), playerState));
    SetRecordText(r.tip, static_cast<size_t>(b) < tips.size() ? tips[static_cast<size_t>(b)].c_str() : "");
    r.id = kMiniButtonIds[b];
    r.left = l.buttons[b].left;
    r.top = l.buttons[b].top;
    r.right = l.buttons[b].right;
    r.bottom = l.buttons[b].bottom;
    out.push_back(r);
  }
  return out;
}

bool AcceptsDroppedFile(const std::string& name) {
  // Lower-cased as text in the system code page: the second byte of a
  // double-byte character is not a letter.
  std::string lower(name);
  for (size_t i = 0; i < lower.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(lower[i]);
    if (zl::IsGbkLeadByte(c) && i + 1 < lower.size())
      ++i;
    else
      lower[i] = static_cast<char>(std::tolower(c));
  }
  return lower.find(".mp3") != std::string::npos || lower.find(".wma") != std::string::npos ||
         lower.find(".m3u") != std::string::npos;
}

std::vector<std::string> AcceptedDrops(const std::vector<std::string>& names) {
  std::vector<std::string> out;
  for (const std::string& n : names)
    if (AcceptsDroppedFile(n)) out.push_back(n);
  return out;
}
