#pragma once
// A lyric window's layout file, read and written through the profile
// functions (section "GUI").
#include <string>

#include "lyricwindows/LayoutRecords.h"
#include "lyricwindows/SkinLayout.h"

// "<home><file of the window and skin>".
std::string LayoutFilePath(const std::string& home, LyricWindowKind window, SkinKind skin);

// Reads the file over `layout` (which holds the built-in values).
LayoutLoad LoadLayoutFile(const std::string& path, WindowLayout& layout);
// Creates the file's folder when needed; the result of SaveWindowLayout.
bool SaveLayoutFile(const std::string& path, const WindowLayout& layout);
