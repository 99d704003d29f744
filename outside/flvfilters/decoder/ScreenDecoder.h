#pragma once
// The stand-in decoder registered under FFDShow's class identifier: turns
// Screen Video frames from the splitter into 32-bit RGB pictures for the
// video renderer.
#include <windows.h>
#include <dshow.h>

// {04FE9017-F873-410E-871E-AB91661A4EF7}
extern const CLSID CLSID_FfdshowStandIn;

IBaseFilter* CreateScreenDecoder();
