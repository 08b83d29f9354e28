#pragma once

// Waiting in tests. CI may run on a machine busy with other work (a load
// average of 28 on eight cores has been seen), where a child process, a file
// event, a timer or a repaint can take many times longer than on a quiet one.
// A test therefore waits for the very condition it checks next, never for a
// neighbouring event or for a fixed time, and gives up only after a deadline
// far beyond what a quiet machine needs.

#include <chrono>
#include <functional>

namespace orva::test {

// How long a wait for a condition may take before the test fails.
inline constexpr std::chrono::milliseconds kWaitDeadline{30000};
inline constexpr int kWaitDeadlineMs = static_cast<int>(kWaitDeadline.count());

// Runs the event loop until the condition holds or the deadline passes;
// returns whether it holds.
bool waitUntil(const std::function<bool()>& condition, std::chrono::milliseconds deadline = kWaitDeadline);

// Runs the event loop until every precise timer of this thread that was
// started before the call with an interval of at most `interval` has run
// (they fall due before a timer started now with that interval, which runs
// after them); returns whether they have.
bool runTimersDueWithin(std::chrono::milliseconds interval, std::chrono::milliseconds deadline = kWaitDeadline);

} // namespace orva::test
