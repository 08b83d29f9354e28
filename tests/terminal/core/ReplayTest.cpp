// Recordings of real programs (made with script(1) in an 80 x 24 tmux pane:
// vim with syntax colours, line numbers, an edit and split windows, nano,
// less, whiptail, dialog, a multiplexer's DCS passthrough, and a script
// using a region past the screen and origin mode) replayed into
// the emulator: the screen and the cursor end as tmux showed them for the
// same bytes. scripts/record-terminal-fixture.sh makes a new pair.
#include "terminal/core/ScreenText.h"
#include "terminal/core/Terminal.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

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

TEST(ReplayTest, RecordedProgramsEndOnTheScreenTmuxShowed)
{
    int replayed = 0;
    for (const auto& entry : std::filesystem::directory_iterator(ORVA_REPLAY_FIXTURE_DIR)) {
        if (entry.path().extension() != ".rec")
            continue;
        SCOPED_TRACE(entry.path().filename().string());
        const std::string bytes = readFile(entry.path());
        const std::string expected = readFile(std::filesystem::path(entry.path()).replace_extension(".screen"));
        ASSERT_FALSE(expected.empty());
        // Whole, and in the pieces a pseudo-terminal read might deliver.
        for (const std::size_t piece : {bytes.size(), std::size_t{4096}, std::size_t{61}}) {
            Terminal t(80, 24);
            for (std::size_t at = 0; at < bytes.size(); at += piece)
                t.feedText(std::string_view(bytes).substr(at, piece));
            EXPECT_EQ(screenText(t), expected) << "in pieces of " << piece;
        }
        ++replayed;
    }
    EXPECT_GE(replayed, 8);
}

} // namespace
} // namespace orva
