#pragma once
// What LyricCore.dll exports: ZLyric, ClearContent and the LRC functions;
// nothing else of the engine is marked. The engine's own parts are built
// with LYRICCORE_BUILD; whoever links its core library rather than the DLL
// (tests of internal parts) gets LYRICCORE_STATIC. Without Windows there is
// no DLL at all.
#if !defined(_WIN32)
#define LYRICCORE_API
#elif defined(LYRICCORE_BUILD)
#define LYRICCORE_API __declspec(dllexport)
#elif defined(LYRICCORE_STATIC)
#define LYRICCORE_API
#else
#define LYRICCORE_API __declspec(dllimport)
#endif
