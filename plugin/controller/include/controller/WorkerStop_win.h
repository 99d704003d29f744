#pragma once
// Stopping a worker from a thread that may own windows (the player's UI
// thread): while it waits it serves messages other threads send it, so a
// worker blocked in SendMessage to this thread can finish instead of
// deadlocking until it is terminated.
#include <windows.h>

#include <functional>

#include "shared/BoundedWorker.h"

// Waits at most ms for the handle; sent messages are served meanwhile.
bool WaitServingSentMessages(HANDLE handle, DWORD ms);

// Ask, wait (serving sent messages), terminate last.
zl::WorkerEnd StopWorker(zl::BoundedWorker& worker, const std::function<void()>& cancel, DWORD graceMs);
