#pragma once
// The lyric windows, dialogs and MV link the plug-in runs with.
#include "controller/Lyric.h"

CLyric::Parts MakePluginParts(const PluginTimings& timings);
