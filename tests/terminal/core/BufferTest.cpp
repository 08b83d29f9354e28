#include "terminal/core/Buffer.h"
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

TEST(BufferTest, ShrinkingRowsKeepsTheCursorLineVisible)
{
    struct Case {
        int cursorRow;
        int yBase;
        int y;
    };
    for (const Case& c : {Case{23, 4, 19}, Case{5, 0, 5}}) {
        Buffer buffer(80, 24, 10000);
        buffer.y = c.cursorRow;
        buffer.resize(80, 20);
        EXPECT_EQ(buffer.yBase, c.yBase) << c.cursorRow;
        EXPECT_EQ(buffer.y, c.y) << c.cursorRow;
        EXPECT_EQ(buffer.lines.count(), 24);
        EXPECT_EQ(buffer.scrollBottom, 19);
    }
    // The rows left below the screen come back into view with the next scroll.
    Buffer buffer(80, 24, 10000);
    buffer.y = 5;
    buffer.resize(80, 20);
    buffer.scrollUp(1);
    EXPECT_EQ(buffer.yBase, 5);
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
    for (char32_t c : {U'\u1100', U'\u115F', U'\uD55C', U'\u4E2D', U'\uFF21', U'\u2E80', U'\uFE10', U'\uFFE6'})
        EXPECT_TRUE(isWideCharacter(c)) << static_cast<unsigned>(c);
    for (char32_t c : {U'a', U'\u00E9', U'\u2192', U'\U0001F600', U'\u1160', U'\uD7B0', U'\uFF61', U'\uFFE7'})
        EXPECT_FALSE(isWideCharacter(c)) << static_cast<unsigned>(c);
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
