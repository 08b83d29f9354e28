#include "Recording.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace orva::test {

namespace {

std::string fromBase64(const std::string& text)
{
    auto value = [](char c) -> int {
        if (c >= 'A' && c <= 'Z')
            return c - 'A';
        if (c >= 'a' && c <= 'z')
            return c - 'a' + 26;
        if (c >= '0' && c <= '9')
            return c - '0' + 52;
        if (c == '+')
            return 62;
        if (c == '/')
            return 63;
        return -1;
    };
    std::string out;
    unsigned buffer = 0;
    int bits = 0;
    for (const char c : text) {
        const int v = value(c);
        if (v < 0)
            continue;
        buffer = (buffer << 6) | static_cast<unsigned>(v);
        bits += 6;
        if (bits >= 8) {
            bits -= 8;
            out += static_cast<char>((buffer >> bits) & 0xFF);
        }
    }
    return out;
}

} // namespace

std::optional<std::size_t> Recording::markAt(const std::string& name) const
{
    for (std::size_t i = 0; i < events.size(); ++i) {
        if (events[i].kind == RecordedEvent::mark && events[i].data == name)
            return i;
    }
    return std::nullopt;
}

std::string Recording::outputBefore(std::size_t end) const
{
    std::string bytes;
    for (std::size_t i = 0; i < events.size() && i < end; ++i) {
        if (events[i].kind == RecordedEvent::output)
            bytes += events[i].data;
    }
    return bytes;
}

std::string claudeRecordingsDir()
{
    return ORVA_CLAUDE_RECORDINGS_DIR;
}

Recording readClaudeRecording(const std::string& name)
{
    return readRecording(claudeRecordingsDir() + "/" + name + ".rec");
}

Recording readRecording(const std::string& path)
{
    Recording recording;
    std::ifstream file(path);
    EXPECT_TRUE(file.good()) << "no recording " << path;
    std::string line;
    while (std::getline(file, line)) {
        if (line.empty() || line[0] == '#')
            continue;
        std::istringstream in(line);
        long ms = 0;
        std::string what;
        in >> ms >> what;
        std::string rest;
        std::getline(in, rest);
        if (!rest.empty() && rest[0] == ' ')
            rest.erase(0, 1);
        RecordedEvent event;
        event.ms = ms;
        if (what == "start") {
            std::istringstream size(rest);
            size >> recording.cols >> recording.rows;
            continue;
        }
        if (what == "out") {
            event.kind = RecordedEvent::output;
            event.data = fromBase64(rest);
        } else if (what == "key") {
            event.kind = RecordedEvent::key;
            event.data = fromBase64(rest);
        } else if (what == "modes") {
            event.kind = RecordedEvent::modes;
            event.data = rest;
        } else if (what == "mark") {
            event.kind = RecordedEvent::mark;
            event.data = rest;
        } else if (what == "exit") {
            event.kind = RecordedEvent::exit;
            event.data = rest;
        } else {
            ADD_FAILURE() << path << ": unknown event " << line;
            continue;
        }
        recording.events.push_back(event);
    }
    return recording;
}

std::vector<std::string> claudeRecordingNames()
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(claudeRecordingsDir())) {
        if (entry.path().extension() == ".rec")
            names.push_back(entry.path().stem().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace orva::test
