#pragma once
// The lyric look settings. The settings store fills one from conf.ini; the
// view reads it on every repaint, so a change shows on the next cycle.
// Member initialisers are the values used when conf.ini lacks the key.
#include "view/ViewGeometry.h"

struct LyricDrawConfig {
  // [LYRIC_FONT]
  char facename[256] = "@Fixedsys";
  int weight = 400;
  int italic = 0;
  int underline = 0;
  int strikeout = 0;
  int height = -16;          // logical units; negative: character height
  ViewColor rgb = 0;           // normal text colour
  ViewColor highlightrgb = 0;  // colour of the current line

  // [BACK_GROUND]
  int bktype = 0;  // 0 singer's picture, 1 picture file, 2 solid colour, 3 none
  char picpath[256] = "";
  ViewColor backcolor = 0;
  int backpiclum = 0;  // percent of the picture's brightness kept once the intro is over

  // [Style]
  int scrollType = 0;  // 0 vertical, non-zero one-line horizontal scrolling
  int IsKalaOk = 0;    // karaoke fill of the current line
  int lyricSize = 15;
  int UserDefineFont = 0;  // take the [LYRIC_FONT] height instead of lyricSize
};

// Background kinds of `bktype`.
enum LyricBackgroundType {
  kBackgroundSingerPicture = 0,
  kBackgroundPictureFile = 1,
  kBackgroundColor = 2,
  kBackgroundNone = 3,
};
