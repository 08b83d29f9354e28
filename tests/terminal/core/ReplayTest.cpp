// Recordings of real programs (made with script(1) in an 80 x 24 tmux pane:
// vim with syntax colours, line numbers, an edit and split windows, nano,
// less, whiptail, dialog, a multiplexer's DCS passthrough, a script using a
// region past the screen and origin mode, ls of a folder whose names hold
// decomposed Korean, emoji and combining marks, and zsh editing a line of
// emoji and Korean) and bytes fed to tmux directly (combining marks, emoji
// and their sequences, with resizes between the bytes; every CSI final the
// emulator acts on, after an intermediate byte) replayed into the
// emulator: the screen and the cursor end as tmux showed them for the same
// bytes. scripts/record-terminal-fixture.sh makes a new pair (and a
// NAME.resizes of "OFFSET COLS ROWS" lines, each a resize after OFFSET bytes).
#include "terminal/core/ScreenText.h"
#include "terminal/core/Terminal.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

namespace orva {
namespace {

std::string readFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string screenText(const Terminal& t)
{
    std::string out;
    for (const std::string& line : visibleLines(t))
        out += line + "\n";
    return out + "cursor " + std::to_string(t.cursorX()) + " " + std::to_string(t.cursorY()) + "\n";
}

struct Resize {
    std::size_t offset;
    int cols;
    int rows;
};

std::vector<Resize> readResizes(const std::filesystem::path& path)
{
    std::vector<Resize> resizes;
    std::istringstream in(readFile(path));
    Resize r{};
    while (in >> r.offset >> r.cols >> r.rows)
        resizes.push_back(r);
    return resizes;
}

TEST(ReplayTest, RecordedProgramsEndOnTheScreenTmuxShowed)
{
    int replayed = 0;
    for (const auto& entry : std::filesystem::directory_iterator(ORVA_REPLAY_FIXTURE_DIR)) {
        if (entry.path().extension() != ".rec")
            continue;
        SCOPED_TRACE(entry.path().filename().string());
        const std::string bytes = readFile(entry.path());
        const std::string expected = readFile(std::filesystem::path(entry.path()).replace_extension(".screen"));
        const std::vector<Resize> resizes = readResizes(std::filesystem::path(entry.path()).replace_extension(".resizes"));
        ASSERT_FALSE(expected.empty());
        // Whole, in the pieces a pseudo-terminal read might deliver, and byte
        // by byte; a piece never crosses a resize.
        for (const std::size_t piece : {bytes.size(), std::size_t{4096}, std::size_t{61}, std::size_t{1}}) {
            Terminal t(80, 24);
            std::size_t at = 0;
            for (std::size_t step = 0; step <= resizes.size(); ++step) {
                const std::size_t end = step < resizes.size() ? resizes[step].offset : bytes.size();
                for (; at < end; at += std::min(piece, end - at))
                    t.feedText(std::string_view(bytes).substr(at, std::min(piece, end - at)));
                if (step < resizes.size())
                    t.resize(resizes[step].cols, resizes[step].rows);
            }
            EXPECT_EQ(screenText(t), expected) << "in pieces of " << piece;
        }
        ++replayed;
    }
    EXPECT_GE(replayed, 14);
}

} // namespace
} // namespace orva
