#pragma once

#include "TerminalInvariants.h"
#include "terminal/core/ScreenText.h"
#include "terminal/core/Terminal.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace orva::test {

// Screen rows as text (trailing blanks removed), with trailing empty rows dropped.
inline std::vector<std::string> screen(const Terminal& t)
{
    std::vector<std::string> lines = visibleLines(t);
    while (!lines.empty() && lines.back().empty())
        lines.pop_back();
    return lines;
}

inline const CharData& cellAt(const Terminal& t, int col, int row)
{
    const BufferLine* line = t.buffer().line(row);
    return line ? (*line)[col] : CharData::blank;
}

struct RecordingDelegate : TerminalDelegate {
    int bells = 0;
    std::vector<std::pair<int, int>> sizes;
    void bell() override { ++bells; }
    void sizeChanged(int cols, int rows) override { sizes.emplace_back(cols, rows); }
};

// One row of a table: bytes in, screen and cursor out.
struct ScreenCase {
    const char* name;
    std::string input;
    std::vector<std::string> screen;
    int x;
    int y;
    int cols = 20;
    int rows = 5;
};

inline void runScreenCases(const std::vector<ScreenCase>& cases)
{
    for (const ScreenCase& c : cases) {
        SCOPED_TRACE(c.name);
        Terminal t(c.cols, c.rows, 100);
        t.feedText(c.input);
        EXPECT_EQ(screen(t), c.screen);
        EXPECT_EQ(t.cursorX(), c.x);
        EXPECT_EQ(t.cursorY(), c.y);
        EXPECT_EQ(checkInvariants(t), "");
    }
}

} // namespace orva::test
