// Grapheme clusters: what joins the cell before it, the columns each takes,
// where a cluster's parts go when the cursor moved or a wrap is pending, and
// the bounds on what a cell and a line keep. Where tmux's screen for the same
// bytes was looked at, the cases say so; every case is also fed byte by byte.
#include "TerminalTestSupport.h"

#include <gtest/gtest.h>

namespace orva {
namespace {

using test::cellAt;
using test::checkInvariants;
using test::screen;

const std::string CSI = "\x1b[";

std::string utf8(std::u32string_view scalars)
{
    std::string out;
    for (const char32_t c : scalars)
        appendUtf8(out, c);
    return out;
}

struct ClusterCase {
    const char* name;
    std::string input;
    std::vector<std::string> screen;
    int x;
    int y;
    // Widths of the first cells of row 0 (as many as given).
    std::vector<int> widths = {};
    int cols = 10;
};

void runClusterCases(const std::vector<ClusterCase>& cases)
{
    for (const ClusterCase& c : cases) {
        SCOPED_TRACE(c.name);
        Terminal whole(c.cols, 4, 20);
        whole.feedText(c.input);
        Terminal bytes(c.cols, 4, 20);
        for (const char b : c.input)
            bytes.feed(static_cast<std::uint8_t>(b));
        for (const Terminal* t : {&whole, &bytes}) {
            EXPECT_EQ(screen(*t), c.screen);
            EXPECT_EQ(t->cursorX(), c.x);
            EXPECT_EQ(t->cursorY(), c.y);
            for (std::size_t i = 0; i < c.widths.size(); ++i)
                EXPECT_EQ(cellAt(*t, static_cast<int>(i), 0).width, c.widths[i]) << "column " << i;
            EXPECT_EQ(checkInvariants(*t), "");
        }
    }
}

TEST(ClusterTest, WhatJoinsTheCellBefore)
{
    const std::string family = utf8(U"\U0001F468\u200D\U0001F469\u200D\U0001F467");
    runClusterCases({
        {"combining mark", utf8(U"e\u0301|"), {utf8(U"e\u0301|")}, 2, 0, {1, 1}},
        {"two marks and a variation selector", utf8(U"a\u0301\u0323\uFE0E|"), {utf8(U"a\u0301\u0323\uFE0E|")}, 2, 0},
        {"decomposed Hangul syllable", utf8(U"\u1112\u1161\u11AB|"), {utf8(U"\u1112\u1161\u11AB|")}, 3, 0, {2, 0, 1}},
        {"Hangul initials do not join each other (tmux)", utf8(U"\u1100\u1100\u1161|"),
         {utf8(U"\u1100\u1100\u1161|")}, 5, 0, {2, 0, 2, 0, 1}},
        {"zero-width space", utf8(U"a\u200Bb"), {utf8(U"a\u200Bb")}, 2, 0, {1, 1}},
        {"variation selector 16 keeps one column (tmux)", utf8(U"\u26A0\uFE0F|"), {utf8(U"\u26A0\uFE0F|")}, 2, 0},
        {"keycap", utf8(U"1\uFE0F\u20E3|"), {utf8(U"1\uFE0F\u20E3|")}, 2, 0},
        {"emoji are two columns", utf8(U"\u2705\u274C\U0001F600|"), {utf8(U"\u2705\u274C\U0001F600|")}, 7, 0,
         {2, 0, 2, 0, 2, 0, 1}},
        {"zero-width joiner sequence", family + "|", {family + "|"}, 3, 0, {2, 0, 1}},
        {"joiner sequence from a one-column pictograph", utf8(U"\u2764\u200D\U0001F525|"),
         {utf8(U"\u2764\u200D\U0001F525|")}, 2, 0, {1, 1}},
        {"a letter after a joiner stands alone", utf8(U"a\u200Dx"), {utf8(U"a\u200Dx")}, 2, 0, {1, 1}},
        {"skin-tone modifier is a wide character of its own (tmux)", utf8(U"\U0001F44D\U0001F3FD|"),
         {utf8(U"\U0001F44D\U0001F3FD|")}, 5, 0, {2, 0, 2, 0, 1}},
        {"regional indicators pair into a flag", utf8(U"\U0001F1F0\U0001F1F7|"), {utf8(U"\U0001F1F0\U0001F1F7|")}, 3,
         0, {2, 0, 1}},
        {"a third indicator starts the next flag", utf8(U"\U0001F1F0\U0001F1F7\U0001F1FA\U0001F1F8\U0001F1EF|"),
         {utf8(U"\U0001F1F0\U0001F1F7\U0001F1FA\U0001F1F8\U0001F1EF|")}, 6, 0, {2, 0, 2, 0, 1, 1}},
        {"spacing mark widens its consonant", utf8(U"\u0915\u093E|"), {utf8(U"\u0915\u093E|")}, 3, 0, {2, 0, 1}},
        {"spacing mark after a wide character stands alone", utf8(U"\u4E2D\u093E|"), {utf8(U"\u4E2D\u093E|")}, 4, 0,
         {2, 0, 1, 1}},
        {"a mark at the start of a line is dropped (tmux)", utf8(U"\u0301x"), {"x"}, 1, 0},
        {"a mark joins the cell left of the cursor (tmux)", "ab" + CSI + "2G" + utf8(U"\u0301"),
         {utf8(U"a\u0301b")}, 1, 0},
        {"a mark after a wide character's placeholder joins it", utf8(U"\u4E2D") + CSI + "2G" + utf8(U"\u0301"),
         {utf8(U"\u4E2D\u0301")}, 1, 0},
        {"a mark while a wrap is pending joins the last column (tmux)", CSI + "10Gx" + utf8(U"\u0301"),
         {"         " + utf8(U"x\u0301")}, 10, 0},
        {"a mark after a colour change still joins (tmux)", "ab" + CSI + "31m" + utf8(U"\u0301"),
         {utf8(U"ab\u0301")}, 2, 0},
        {"a mark on a blank cell joins it (tmux)", CSI + "3G" + utf8(U"\u0301"), {utf8(U"  \u0301")}, 2, 0},
        {"an emoji at the last column wraps whole", CSI + "10G" + family, {"", family}, 2, 1},
        {"a second indicator with no column left wraps", CSI + "10G" + utf8(U"\U0001F1F0\U0001F1F7|"),
         {"         " + utf8(U"\U0001F1F0"), utf8(U"\U0001F1F7|")}, 2, 1},
        {"a spacing mark with no column left wraps", CSI + "10G" + utf8(U"\u0915\u093E"),
         {"         " + utf8(U"\u0915"), utf8(U"\u093E")}, 1, 1},
        {"a flag in insert mode pushes the rest right", "abc\r" + CSI + "4h" + utf8(U"\U0001F1F0\U0001F1F7"),
         {utf8(U"\U0001F1F0\U0001F1F7abc")}, 2, 0, {2, 0, 1, 1, 1}},
        {"a flag over a wide character blanks its other half", utf8(U"a\u4E2D\u4E2D\r\U0001F1F0\U0001F1F7"),
         {utf8(U"\U0001F1F0\U0001F1F7 \u4E2D")}, 2, 0, {2, 0, 1, 2, 0}},
    });
}

TEST(ClusterTest, ACellKeepsAtMostItsCapOfScalars)
{
    Terminal t(10, 2, 0);
    std::u32string marks(40, U'\u0301');
    t.feedText(utf8(U"a" + marks + U"|"));
    const std::u32string_view kept = t.buffer().line(0)->scalars(0);
    EXPECT_EQ(kept.size(), static_cast<std::size_t>(BufferLine::maxClusterScalars));
    EXPECT_EQ(kept[0], U'a');
    EXPECT_EQ(cellAt(t, 1, 0).character, U'|');
    EXPECT_EQ(t.cursorX(), 2);
}

// A stream of clusters written over and over keeps each line's store within
// its limit, and the cells still read as what was written last.
TEST(ClusterTest, RewritingClustersKeepsTheLineStoreBounded)
{
    for (const int cols : {1, 7, 80}) {
        SCOPED_TRACE(cols);
        Terminal t(cols, 3, 5);
        std::string frame = CSI + "H";
        for (int c = 0; c < cols; ++c)
            frame += utf8(U"e\u0301\u0302\u0303\u0304\u0305\u0306\u0307\u0308\u0309\u030A\u030B\u030C\u030D\u030E");
        for (int i = 0; i < 300; ++i) {
            t.feedText(frame);
            // Marks joined to the cell left of the cursor, again and again.
            t.feedText(CSI + "1;2H" + utf8(U"\u0310\u0311"));
        }
        ASSERT_EQ(checkInvariants(t), "");
        const BufferLine& line = *t.buffer().line(0);
        EXPECT_LE(line.clusterStoreSize(), BufferLine::clusterStoreLimit(cols));
        const std::u32string_view last = line.scalars(cols - 1);
        ASSERT_FALSE(last.empty());
        EXPECT_EQ(last[0], U'e');
    }
}

// Cells keep their clusters when they move inside their line: inserted and
// deleted characters, a narrower and a wider screen.
TEST(ClusterTest, ClustersMoveWithTheirCells)
{
    const std::string accented = utf8(U"e\u0301");
    const std::string hangul = utf8(U"\u1112\u1161\u11AB");
    Terminal t(10, 3, 10);
    t.feedText(accented + hangul + "x" + accented);
    t.feedText(CSI + "1G" + CSI + "2@");
    EXPECT_EQ(screen(t), (std::vector<std::string>{"  " + accented + hangul + "x" + accented}));
    t.feedText(CSI + "3P");
    EXPECT_EQ(screen(t), (std::vector<std::string>{hangul + "x" + accented}));
    t.resize(3, 3);
    EXPECT_EQ(screen(t), (std::vector<std::string>{hangul + "x"}));
    t.resize(12, 3);
    EXPECT_EQ(screen(t), (std::vector<std::string>{hangul + "x"}));
    EXPECT_EQ(checkInvariants(t), "");
}

} // namespace
} // namespace orva
