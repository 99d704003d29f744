#include "dialogs/MenuRules.h"

namespace lyricmenu {

std::vector<MenuItemState> DecideMenu(const zl::LyricSettings& s, const MenuInputs& in) {
  const zl::LyricFontSettings& f = s.font;
  const bool builtInSize = !f.UserDefineFont;
  return {
      {kWheelAdjust, s.enableWheel != 0, true},
      {kKaraoke, f.IsKalaOk, true},
      {kHorizontalScroll, f.scrollType != 0, true},
      {kVerticalScroll, f.scrollType == 0, true},
      {kSingerPicture, f.bktype == 0, true},
      {kNoBackground, f.bktype == 3, true},
      {kOtherBackground, f.bktype == 1 || f.bktype == 2, true},
      {kSizeSmall, builtInSize && f.lyricSize == kSmallSize, true},
      {kSizeMedium, builtInSize && f.lyricSize == kMediumSize, true},
      {kSizeLarge, builtInSize && f.lyricSize == kLargeSize, true},
      {kCustomFont, f.UserDefineFont, true},
      {kSearchRelate, false, in.lyricAvailable},
      {kReloadLyric, false, in.lyricAvailable},
      {kUploadLyric, false, in.lyricAvailable},
      {kSongMv, false, in.mvAvailable},
      {kStarPictures, false, in.picturesAvailable},
  };
}

namespace {
void SetSize(zl::LyricSettings& s, int size) {
  s.font.lyricSize = size;
  s.font.height = size;
  s.font.UserDefineFont = false;
}
}  // namespace

bool ApplyMenuSetting(unsigned id, zl::LyricSettings& s) {
  switch (id) {
    case kWheelAdjust: s.enableWheel = s.enableWheel ? 0 : 1; return true;
    case kKaraoke: s.font.IsKalaOk = !s.font.IsKalaOk; return true;
    case kHorizontalScroll: s.font.scrollType = 1; return true;
    case kVerticalScroll: s.font.scrollType = 0; return true;
    case kSingerPicture: s.font.bktype = 0; return true;
    case kNoBackground: s.font.bktype = 3; return true;
    case kSizeSmall: SetSize(s, kSmallSize); return true;
    case kSizeMedium: SetSize(s, kMediumSize); return true;
    case kSizeLarge: SetSize(s, kLargeSize); return true;
    default: return false;
  }
}

}  // namespace lyricmenu
