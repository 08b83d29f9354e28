#pragma once

// What the terminal needs to know of a process it did not start itself: the
// programs a shell in the terminal runs. Read from /proc on Linux and from
// sysctl and proc_pidpath on macOS. Plain C++ over POSIX.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include <sys/types.h>

namespace orva {

struct ProcessInfo {
    pid_t pid = 0;
    pid_t parent = 0;
    pid_t group = 0;
    pid_t session = 0;
    // Stopped by a signal (Ctrl+Z, SIGSTOP) or by a tracer.
    bool stopped = false;
    // Ended but not yet collected by its parent.
    bool zombie = false;
    // When it started, in a unit of the system's own: with the pid it names
    // one process for its whole life (a pid is used again later).
    std::uint64_t startTime = 0;
    // Its name as the system keeps it (15 characters at most on Linux).
    std::string name;
    // The path of the program it runs; empty where it cannot be read.
    std::string executable;

    // The same process as `other`, not a later one with its pid.
    bool sameProcessAs(const ProcessInfo& other) const { return pid == other.pid && startTime == other.startTime; }
};

// The process now running under `pid`; none when there is none (or it
// cannot be read).
std::optional<ProcessInfo> processInfo(pid_t pid);

// Every process of the session `session`, in no particular order (their
// executables are not read).
std::vector<ProcessInfo> processesOfSession(pid_t session);

} // namespace orva
