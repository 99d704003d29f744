#pragma once
// The lyric window's context menu without windows: its command identifiers,
// which items are checked and enabled, and the commands that only change a
// setting.
#include <vector>

#include "shared/LyricSettings.h"

namespace lyricmenu {

// Command identifiers (the menu resource uses the same numbers).
constexpr unsigned kCopyLyric = 32769;
constexpr unsigned kKaraoke = 32772;
constexpr unsigned kSongMv = 32774;
constexpr unsigned kStarPictures = 32775;
constexpr unsigned kReloadLyric = 32777;
constexpr unsigned kRevokeLyric = 32778;
constexpr unsigned kCustomFont = 32779;
constexpr unsigned kAdjustAll = 32783;
constexpr unsigned kUploadLyric = 32786;
constexpr unsigned kSingerPicture = 32787;
constexpr unsigned kMiniMode = 32788;
constexpr unsigned kOtherBackground = 32789;
constexpr unsigned kAdjustEarlier = 32791;
constexpr unsigned kAdjustLater = 32792;
constexpr unsigned kProblemReport = 32793;
constexpr unsigned kOptions = 32794;
constexpr unsigned kHelp = 32795;
constexpr unsigned kHorizontalScroll = 32801;
constexpr unsigned kVerticalScroll = 32802;
constexpr unsigned kSearchRelate = 32803;
constexpr unsigned kSizeSmall = 32812;
constexpr unsigned kSizeMedium = 32813;
constexpr unsigned kSizeLarge = 32814;
constexpr unsigned kWheelAdjust = 32815;
constexpr unsigned kNoBackground = 32850;

constexpr int kSmallSize = 14;
constexpr int kMediumSize = 18;
constexpr int kLargeSize = 25;
constexpr int kMenuShiftMs = 500;

// What the menu depends on besides the settings.
struct MenuInputs {
  bool lyricAvailable = false;     // the current song has an engine: search, reset, upload
  bool mvAvailable = false;        // the view offers the song's MV
  bool picturesAvailable = false;  // the view offers the artist's pictures
};

struct MenuItemState {
  unsigned id;
  bool checked;
  bool enabled;
};

// Every item whose check mark or enabled state depends on something; items
// not listed are enabled and unchecked.
std::vector<MenuItemState> DecideMenu(const zl::LyricSettings& settings, const MenuInputs& inputs);

// The commands that only change a setting (wheel, karaoke, scrolling,
// background kind, the three sizes). False for any other command.
bool ApplyMenuSetting(unsigned id, zl::LyricSettings& settings);

}  // namespace lyricmenu
