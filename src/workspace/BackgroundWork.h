#pragma once

#include <functional>

namespace orva {

// Work the workspace services do off the main thread: reading the files
// `claude` writes and walking project folders. It runs on a pool of its own
// that is never waited for without a bound, so a job stuck in the kernel (a
// file on a hung network share) cannot keep the process alive once its window
// has closed. When the application quits, jobs not yet started are dropped,
// running ones are asked to stop (backgroundWorkStopping()) and the quit
// waits for them a moment at most. Results go back to the main thread with
// runOnMainThread (platform/MainThread.h).
void runInBackground(std::function<void()> job);

// True once the application is quitting: long jobs stop early.
bool backgroundWorkStopping();

} // namespace orva
