#pragma once
// LyricCore is a DLL on Windows and a static library in the native build.
#if defined(LYRICCORE_STATIC)
#define LYRICCORE_API
#elif defined(LYRICCORE_BUILD)
#define LYRICCORE_API __declspec(dllexport)
#else
#define LYRICCORE_API __declspec(dllimport)
#endif
