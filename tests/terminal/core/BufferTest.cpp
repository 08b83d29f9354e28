#include "terminal/core/Buffer.h"
#include "terminal/core/CharacterProperties.h"
#include "terminal/core/CharData.h"
#include "terminal/core/CircularList.h"

#include <gtest/gtest.h>

#include <cmath>

namespace orva {
namespace {

struct Item {
    int value;
};

std::vector<int> values(const CircularList<Item>& list)
{
    std::vector<int> out;
    for (int i = 0; i < list.count(); ++i)
        out.push_back(list[i]->value);
    return out;
}

std::unique_ptr<Item> item(int v)
{
    return std::make_unique<Item>(Item{v});
}

TEST(CircularListTest, PushWrapsAroundAndHandsBackTheEvictedElement)
{
    CircularList<Item> list(3);
    EXPECT_EQ(list.push(item(1)), nullptr);
    list.push(item(2));
    list.push(item(3));
    std::unique_ptr<Item> evicted = list.push(item(4));
    ASSERT_NE(evicted, nullptr);
    EXPECT_EQ(evicted->value, 1);
    EXPECT_EQ(values(list), (std::vector<int>{2, 3, 4}));
    EXPECT_EQ(list.count(), 3);
    EXPECT_EQ(list.startIndex(), 1);
    EXPECT_EQ(list[3], nullptr);
    EXPECT_EQ(list[-1], nullptr);
}

TEST(CircularListTest, SpliceDeletesAndInsertsAcrossTheWrap)
{
    CircularList<Item> list(5);
    for (int v = 1; v <= 7; ++v)
        list.push(item(v)); // 3 4 5 6 7, start index 2
    list.splice(1, 2);
    EXPECT_EQ(values(list), (std::vector<int>{3, 6, 7}));
    std::vector<std::unique_ptr<Item>> items;
    items.push_back(item(10));
    items.push_back(item(11));
    list.splice(1, 0, std::move(items));
    // Each item goes in at the start index, so several end up reversed.
    EXPECT_EQ(values(list), (std::vector<int>{3, 11, 10, 6, 7}));
    // Inserting into a full ring loses its last element.
    std::vector<std::unique_ptr<Item>> one;
    one.push_back(item(12));
    list.splice(0, 0, std::move(one));
    EXPECT_EQ(values(list), (std::vector<int>{12, 3, 11, 10, 6}));
    // Out-of-range starts do nothing; inserting at count pushes.
    list.splice(6, 1);
    list.splice(-1, 1);
    EXPECT_EQ(list.count(), 5);
    list.splice(2, 100);
    EXPECT_EQ(values(list), (std::vector<int>{12, 3}));
    std::vector<std::unique_ptr<Item>> tail;
    tail.push_back(item(13));
    list.splice(2, 0, std::move(tail));
    EXPECT_EQ(values(list), (std::vector<int>{12, 3, 13}));
}

TEST(CircularListTest, GrowingKeepsOrder)
{
    CircularList<Item> list(3);
    for (int v = 1; v <= 5; ++v)
        list.push(item(v));
    list.growMaxLength(5);
    list.push(item(6));
    EXPECT_EQ(values(list), (std::vector<int>{3, 4, 5, 6}));
    EXPECT_EQ(list.maxLength(), 5);
    list.clear();
    EXPECT_EQ(list.count(), 0);
    EXPECT_EQ(list.startIndex(), 0);
}

TEST(BufferLineTest, ReadsAndWritesOutsideTheLineAreHarmless)
{
    BufferLine line(4);
    line.set(7, CharData{U'x', {}, 1});
    line.set(-1, CharData{U'x', {}, 1});
    EXPECT_EQ(line[4], CharData::blank);
    EXPECT_EQ(line[-3], CharData::blank);
    line.fill(2, 100, false, CharData{U'y', {}, 1});
    EXPECT_EQ(line[1].character, U' ');
    EXPECT_EQ(line[3].character, U'y');
    line.fill(3, 2, false, CharData{U'z', {}, 1});
    EXPECT_EQ(line[3].character, U'y');
}

TEST(BufferTest, FullRingStaysFullAndDropsTheOldestLine)
{
    Buffer buffer(80, 24, 10000);
    for (int i = 0; i < 10000; ++i)
        buffer.scrollUp(1);
    ASSERT_EQ(buffer.lines.count(), 10024);
    ASSERT_EQ(buffer.yBase, 10000);
    buffer.lines[0]->cells[0].character = U'o';
    buffer.lines[1]->cells[0].character = U'n';
    buffer.scrollUp(1);
    EXPECT_EQ(buffer.lines.count(), 10024);
    EXPECT_EQ(buffer.yBase, 10000);
    EXPECT_EQ(buffer.yDisp, 10000);
    EXPECT_EQ(buffer.lines[0]->cells[0].character, U'n');
    EXPECT_EQ(buffer.lines[10023]->cells[0].character, U' ');
}

TEST(BufferTest, ClearResetsTheRingToOneBlankScreen)
{
    Buffer buffer(10, 4, 100);
    for (int i = 0; i < 20; ++i)
        buffer.scrollUp(1);
    buffer.lines[22]->cells[0].character = U'a';
    buffer.scrollTop = 1;
    buffer.scrollBottom = 2;
    buffer.x = 5;
    buffer.y = 3;
    buffer.clear();
    EXPECT_EQ(buffer.lines.count(), 4);
    EXPECT_EQ(buffer.yBase, 0);
    EXPECT_EQ(buffer.yDisp, 0);
    EXPECT_EQ(buffer.x, 0);
    EXPECT_EQ(buffer.y, 0);
    EXPECT_EQ(buffer.scrollTop, 1);
    EXPECT_EQ(buffer.scrollBottom, 2);
    for (int r = 0; r < 4; ++r)
        EXPECT_EQ(buffer.line(r)->cells[0], CharData::blank);
    // The first full-screen scroll after a clear moves only one line into history.
    buffer.scrollTop = 0;
    buffer.scrollBottom = 3;
    buffer.scrollUp(1);
    EXPECT_EQ(buffer.lines.count(), 5);
    EXPECT_EQ(buffer.yBase, 1);
}

TEST(BufferTest, RegionScrollMovesOnlyTheRegion)
{
    Buffer buffer(4, 24, 100);
    for (int r = 0; r < 24; ++r)
        buffer.line(r)->cells[0].character = static_cast<char32_t>('A' + r);
    buffer.scrollTop = 5;
    buffer.scrollBottom = 10;
    buffer.scrollUp(1);
    EXPECT_EQ(buffer.lines.count(), 24);
    EXPECT_EQ(buffer.line(4)->cells[0].character, U'E');
    EXPECT_EQ(buffer.line(5)->cells[0].character, U'G');
    EXPECT_EQ(buffer.line(9)->cells[0].character, U'K');
    EXPECT_EQ(buffer.line(10)->cells[0].character, U' ');
    EXPECT_EQ(buffer.line(11)->cells[0].character, U'L');
    buffer.scrollDown(2);
    EXPECT_EQ(buffer.line(5)->cells[0].character, U' ');
    EXPECT_EQ(buffer.line(6)->cells[0].character, U' ');
    EXPECT_EQ(buffer.line(7)->cells[0].character, U'G');
    EXPECT_EQ(buffer.line(10)->cells[0].character, U'J');
    EXPECT_EQ(buffer.line(11)->cells[0].character, U'L');
}

// Fewer rows drop the rows below the cursor first, then move rows from the
// top into the scroll-back; more rows bring them back. The ring always ends
// with the screen, so nothing below it turns up later.
TEST(BufferTest, ResizingRowsKeepsTheLinesAroundTheCursor)
{
    struct Case {
        const char* name;
        int cursorRow;
        int newRows;
        int yBase;
        int y;
        int count;
        char top; // the line now on screen row 0
    };
    const Case cases[] = {
        {"cursor at the bottom: the top goes into the scroll-back", 23, 20, 4, 19, 24, 'E'},
        {"cursor high: the rows below it are dropped", 5, 20, 0, 5, 20, 'A'},
        {"cursor in the middle: rows below, then rows above", 17, 10, 8, 9, 18, 'I'},
        {"to one row", 3, 1, 3, 0, 4, 'D'},
        {"more rows", 23, 30, 0, 23, 30, 'A'},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Buffer buffer(80, 24, 10000);
        for (int r = 0; r < 24; ++r)
            buffer.line(r)->cells[0].character = static_cast<char32_t>('A' + r);
        buffer.y = c.cursorRow;
        buffer.resize(80, c.newRows);
        EXPECT_EQ(buffer.yBase, c.yBase);
        EXPECT_EQ(buffer.y, c.y);
        EXPECT_EQ(buffer.lines.count(), c.count);
        EXPECT_EQ(buffer.lines.count(), buffer.yBase + buffer.rows);
        EXPECT_EQ(buffer.scrollBottom, c.newRows - 1);
        EXPECT_EQ(buffer.line(0)->cells[0].character, static_cast<char32_t>(c.top));
        EXPECT_EQ(buffer.line(buffer.y)->cells[0].character, static_cast<char32_t>('A' + c.cursorRow));
    }
    // The next full-screen scroll pushes right after the screen.
    Buffer buffer(80, 24, 10000);
    buffer.y = 5;
    buffer.resize(80, 20);
    buffer.scrollUp(1);
    EXPECT_EQ(buffer.yBase, 1);
    EXPECT_EQ(buffer.lines.count(), 21);
}

TEST(BufferTest, RowsPushedIntoTheScrollBackComeBackWhenTheScreenGrows)
{
    Buffer buffer(80, 24, 10000);
    for (int r = 0; r < 24; ++r)
        buffer.line(r)->cells[0].character = static_cast<char32_t>('A' + r);
    buffer.y = 23;
    buffer.resize(80, 10);
    EXPECT_EQ(buffer.yBase, 14);
    EXPECT_EQ(buffer.line(0)->cells[0].character, U'O');
    buffer.resize(80, 24);
    EXPECT_EQ(buffer.yBase, 0);
    EXPECT_EQ(buffer.yDisp, 0);
    EXPECT_EQ(buffer.y, 23);
    EXPECT_EQ(buffer.lines.count(), 24);
    EXPECT_EQ(buffer.line(0)->cells[0].character, U'A');
    // Past what the scroll-back holds, blank lines are added at the bottom.
    buffer.resize(80, 26);
    EXPECT_EQ(buffer.y, 23);
    EXPECT_EQ(buffer.lines.count(), 26);
    EXPECT_EQ(buffer.line(25)->cells[0], CharData::blank);
}

TEST(BufferTest, GrowingColumnsPadsWithDefaultBlanks)
{
    Buffer buffer(2, 2, 0);
    CharAttribute red;
    red.background = TerminalColor::ansi256(1);
    buffer.line(0)->fill(0, 0, true, CharData{U'x', red, 1});
    buffer.resize(4, 2);
    EXPECT_EQ(buffer.line(0)->cells[1], (CharData{U'x', red, 1}));
    EXPECT_EQ(buffer.line(0)->cells[2], CharData::blank);
    EXPECT_EQ(buffer.line(0)->cells[3], CharData::blank);
}

TEST(BufferTest, AlternateSizedRingGrowsWithTheScreen)
{
    Buffer buffer(10, 5, 0);
    buffer.resize(10, 12);
    EXPECT_GE(buffer.lines.maxLength(), 12);
    for (int r = 0; r < 12; ++r)
        EXPECT_NE(buffer.line(r), nullptr) << r;
}

TEST(BufferTest, CuttingAWideCharacterInHalfLeavesABlank)
{
    Buffer buffer(4, 1, 0);
    buffer.line(0)->cells[2] = CharData{U'中', {}, 2};
    buffer.line(0)->cells[3] = CharData{U' ', {}, 0};
    buffer.resize(3, 1);
    EXPECT_EQ(buffer.line(0)->cells[2], CharData::blank);
}

TEST(BufferTest, TabStopsAndSavedCursor)
{
    Buffer buffer(20, 5, 0);
    EXPECT_EQ(buffer.nextTabStop(), 8);
    buffer.x = 8;
    EXPECT_EQ(buffer.nextTabStop(), 16);
    buffer.x = 17;
    EXPECT_EQ(buffer.nextTabStop(), 19);
    buffer.x = 20;
    EXPECT_EQ(buffer.nextTabStop(), 19);
    buffer.x = 15;
    buffer.y = 4;
    CharAttribute bold;
    bold.style = CharacterStyle::bold;
    buffer.saveCursor(bold, true, false);
    buffer.resize(10, 3);
    buffer.x = 0;
    buffer.y = 0;
    const SavedCursor saved = buffer.restoreCursor();
    EXPECT_EQ(buffer.x, 9);
    EXPECT_EQ(buffer.y, 2);
    EXPECT_EQ(saved.attribute, bold);
    EXPECT_TRUE(saved.originMode);
    EXPECT_FALSE(saved.wraparound);
}

TEST(ColorTest, Palette256)
{
    struct Case {
        int n;
        int r, g, b;
    };
    for (const Case& c : {Case{16, 0, 0, 0}, Case{21, 0, 0, 255}, Case{196, 255, 0, 0}, Case{231, 255, 255, 255},
                          Case{232, 8, 8, 8}, Case{255, 238, 238, 238}, Case{0, 0, 0, 0}, Case{9, 255, 77, 77}}) {
        const RgbColor color = colorForAnsi256(c.n);
        EXPECT_EQ(std::lround(color.red * 255), c.r) << c.n;
        EXPECT_EQ(std::lround(color.green * 255), c.g) << c.n;
        EXPECT_EQ(std::lround(color.blue * 255), c.b) << c.n;
        EXPECT_EQ(color.alpha, 1);
    }
    const RgbColor fg{0.9, 0.9, 0.9, 1};
    const RgbColor bg{0, 0, 0, 1};
    EXPECT_EQ(TerminalColor::defaultColor().rgbColor(fg, bg, true), fg);
    EXPECT_EQ(TerminalColor::defaultColor().rgbColor(fg, bg, false), bg);
    EXPECT_EQ(TerminalColor::defaultInvertedColor().rgbColor(fg, bg, true), bg);
    EXPECT_EQ(TerminalColor::trueColor(255, 0, 51).rgbColor(fg, bg, true), (RgbColor{1, 0, 0.2, 1}));
    EXPECT_NE(TerminalColor::ansi256(1), TerminalColor::trueColor(1, 0, 0));
    EXPECT_NE(TerminalColor::defaultColor(), TerminalColor::defaultInvertedColor());
}

TEST(CharacterWidthTest, WideRanges)
{
    for (char32_t c : {U'\u1100', U'\u115F', U'\uD55C', U'\u4E2D', U'\uFF21', U'\u2E80', U'\uFE10', U'\uFFE6',
                       U'\U0001F600', U'\u2705', U'\u274C', U'\U0001F389', U'\U0001F680', U'\u2728', U'\u2B50',
                       U'\u23F3', U'\U0001F3FD', U'\u4DC0', U'\u3248', U'\U00020000', U'\U0003FFFD'})
        EXPECT_TRUE(isWideCharacter(c)) << std::hex << static_cast<unsigned>(c);
    for (char32_t c : {U'a', U'\u00E9', U'\u2192', U'\u1160', U'\uD7B0', U'\uFF61', U'\uFFE7', U'\u26A0',
                       U'\u2764', U'\U0001F1F0', U'\u00AD', U'\u0600', U'\uE000'})
        EXPECT_FALSE(isWideCharacter(c)) << std::hex << static_cast<unsigned>(c);
}

// The columns each kind of scalar takes, as the programs count them (the C
// library's wcwidth), and how it joins the cell before it.
TEST(CharacterWidthTest, ColumnsAndJoining)
{
    struct Case {
        char32_t c;
        int columns;
        std::uint8_t flags;
    };
    const Case cases[] = {
        {U'a', 1, 0},
        {U'\u0301', 0, 0},      // combining acute accent (Mn)
        {U'\u20DD', 0, 0},      // enclosing circle (Me)
        {U'\u20E3', 0, 0},      // combining enclosing keycap
        {U'\uFE0F', 0, 0},      // variation selector 16
        {U'\u200B', 0, 0},      // zero-width space
        {U'\u200D', 0, 0},      // zero-width joiner
        {U'\u200E', 0, 0},      // left-to-right mark
        {U'\u2028', 0, 0},      // line separator
        {U'\U000E0067', 0, 0},  // tag letter
        {U'\u1161', 0, 0},      // Hangul vowel jamo
        {U'\u11AB', 0, 0},      // Hangul final jamo
        {U'\u1112', 2, 0},      // Hangul initial jamo
        {U'\u093E', 1, characterSpacingMark},
        {U'\u2640', 1, characterPictographic},
        {U'\u00A9', 1, characterPictographic},
        {U'\U0001F468', 2, characterPictographic | characterEmojiPresentation},
        {U'\U0001F1F7', 1, characterRegionalIndicator | characterEmojiPresentation},
        {U'\u00AD', 1, 0},      // soft hyphen
        {U'\u0600', 1, 0},      // Arabic number sign (prepended)
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<unsigned>(c.c));
        EXPECT_EQ(characterColumns(c.c), c.columns);
        EXPECT_EQ(characterProperties(c.c) & ~characterColumnsMask, c.flags);
    }
    EXPECT_EQ(characterProperties(0x110000), 0);
    EXPECT_GT(std::string_view(characterDataVersion).size(), 0u);
}

TEST(CharacterStyleTest, SetOperations)
{
    CharacterStyle s;
    EXPECT_TRUE(s.isEmpty());
    s.insert(CharacterStyle::bold | CharacterStyle::underline);
    EXPECT_EQ(s.rawValue, 9);
    EXPECT_TRUE(s.contains(CharacterStyle::bold));
    EXPECT_FALSE(s.contains(CharacterStyle::bold | CharacterStyle::dim));
    s.remove(CharacterStyle::bold);
    EXPECT_EQ(s, CharacterStyle::underline);
    EXPECT_EQ((s & CharacterStyle::underline), CharacterStyle::underline);
}

} // namespace
} // namespace orva
