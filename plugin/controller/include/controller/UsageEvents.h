#pragma once
// The plug-in's usage events, posted through the event-log service with the
// identity ("LYRIC", "WINAMP"). Windows builds only. A waited post waits at
// most the given time; nothing here blocks without a bound.
#include <cstdint>
#include <string>

// "O:<name>" as an "EVENT" (the text cut to 511 bytes).
void PostPluginEvent(const char* name, uint32_t waitMs);
// Any act and text, with the plug-in's identity.
void PostPluginMessage(const char* act, const std::string& text, uint32_t waitMs);
// With another identity (the last-exit check posts as ("ZOLYRIC", player)).
void PostPluginMessageAs(const char* softName, const char* hostName, const char* act, const std::string& text,
                         uint32_t waitMs);

// "O:<name>", cut to 511 bytes without splitting a character.
std::string UsageEventText(const char* name);
