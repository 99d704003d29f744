#pragma once
// Posting one usage event through the event-log service (ZoLogSvr).
//
// The post runs on a thread of its own with COM initialised for that thread:
// it creates LogSvr, calls Init(softName, hostName), then LogMsg(act, msg)
// unless Init returned E_FAIL, and releases the object. A service that is
// not installed drops the event silently. Windows builds only.

// How long the caller waits for the posting thread.
constexpr unsigned long kLogEventNoWait = 0;                // return at once
constexpr unsigned long kLogEventWaitForever = 0xFFFFFFFFul;  // wait for the thread however long it takes

// Starts the post. With a finite wait the caller waits at most waitMs; a
// thread still running then is terminated (the engine's 30-second rule).
// Returns false when the thread could not be started or had to be
// terminated; true otherwise (which says nothing about the server).
bool PostLogEvent(const char* softName, const char* hostName, const char* act, const char* msg,
                  unsigned long waitMs = kLogEventNoWait);
