#pragma once
// The stand-in "FLV Splitter": reads an FLV file through the file source's
// IAsyncReader and pushes Screen Video frames and linear PCM audio out of
// two pins, each pin with a streaming thread and a read cursor of its own.
#include <windows.h>
#include <dshow.h>

// {47E792CF-0BBE-4F7A-859C-194B0768650A}
extern const CLSID CLSID_FlvSplitterStandIn;

IBaseFilter* CreateFlvSplitter();
