#pragma once
// A fetch result into the view state: status, sentences, picture strip,
// background picture and message line, and the two ways of emptying it.
// Runs on fetch threads; takes the draw lock only to swap the lists.
#include <cstdint>
#include <string>

#include "lyriccore/LyricRecords.h"
#include "view/LyricViewState.h"

// What the message line of a ready lyric depends on: the usage flags of the
// settings and the controller's state.
struct LyricTipInputs {
  int hasUsedMini = 0;
  int haswheel = 0;
  int RightBtn = 0;
  int lyricMaybeWrong = 0;
  bool webMode = false;
  bool miniShown = false;
};

struct LyricTip {
  const char* text;
  int isLink;
  int code;
  bool countsBackgroundTip;  // RightBtn is to be incremented
};

// The first rule that holds, in the order new users are to see the tips.
LyricTip ChooseLyricTip(const LyricTipInputs& in);

// The strip items that come with an MV or a picture show.
struct StripExtras {
  std::string home;   // "" when the install home is unknown
  bool star = false;  // [MyStar] starnum is not 0
  bool advert = false;  // [Advert] advertnum is not 0
};

struct ResourceUpdate {
  Result result = RESULT_NET_ERR;
  const Content* content = nullptr;  // used with RESULT_OK
  bool recognised = false;           // the tag update flag of the fetch
  const char* recTitle = "";
  const char* recArtist = "";
  LyricTipInputs tips;
  StripExtras extras;
  uint32_t now = 0;  // tick count, for the delayed upload invitation
};

// Returns true when the background tip was shown (the caller counts it in RightBtn).
bool UpdateViewResourceStatus(LyricViewState& view, const ResourceUpdate& update);

// Drops the lyric, the strip, the background picture and the message.
void EmptyViewResource(LyricViewState& view);
// The same while the MV plays: the message says how to get the lyric back.
void EmptyViewResourceForVideo(LyricViewState& view);

extern const char kMvLoadingMessage[];
constexpr int kMessageCodeNone = 10;
