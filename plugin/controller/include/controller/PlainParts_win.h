#pragma once
// Plain implementations of the controller's faces, enough to run the road
// of one song end to end: a plain lyric window that draws the view's layout
// with plain GDI, dialogs that take the first candidate of a list at once,
// and an MV link without ClipView. Each logs what it is asked to do.
// Create them on the player's UI thread.
#include <memory>

#include "controller/LyricDialogs.h"
#include "controller/LyricWindows.h"
#include "controller/MvLink.h"

std::unique_ptr<ILyricWindows> MakePlainLyricWindows();
std::unique_ptr<ILyricDialogs> MakePlainLyricDialogs();
std::unique_ptr<IMvLink> MakePlainMvLink();
