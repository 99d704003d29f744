#pragma once
// The engine's own detached threads (usage events it posts without waiting)
// belong to LyricCore.dll: the plug-in drains them at quit, before the
// player may unload the DLLs.
#include "lyriccore/Export.h"

// Waits at most boundMs in all for them, then terminates those still
// running. Returns how many had to be terminated.
extern "C" LYRICCORE_API unsigned ZLyricDrainThreads(unsigned long boundMs);
