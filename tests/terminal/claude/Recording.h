#pragma once

// A recording of a program in a pseudo-terminal, as tools/orva-pty-record
// writes it: the program's output, its mode changes, the keys typed, the
// recorder's marks and the program's end, each with its milliseconds.

#include <optional>
#include <string>
#include <vector>

namespace orva::test {

struct RecordedEvent {
    enum Kind { output, modes, key, mark, exit };
    long ms = 0;
    Kind kind = output;
    // The bytes (output, key), the mark's name, the modes ("raw noecho"), the
    // exit code as written.
    std::string data;
};

struct Recording {
    int cols = 80;
    int rows = 24;
    std::vector<RecordedEvent> events;

    // The position of the mark in `events`; none when it is not there.
    std::optional<std::size_t> markAt(const std::string& name) const;
    // Everything the program wrote before event `end` (all of it for npos).
    std::string outputBefore(std::size_t end = std::string::npos) const;
};

// Reads a recording from its file; an unreadable file fails the calling test.
Recording readRecording(const std::string& path);

// The folder of the recordings of the claude CLI of this version.
std::string claudeRecordingsDir();
// Reads NAME (e.g. "first-start-100x30") from that folder; an unreadable
// file fails the calling test.
Recording readClaudeRecording(const std::string& name);
// Every recording's name in that folder, sorted.
std::vector<std::string> claudeRecordingNames();

} // namespace orva::test
