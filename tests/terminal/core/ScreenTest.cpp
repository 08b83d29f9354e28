#include "TerminalTestSupport.h"

#include <gtest/gtest.h>

namespace orva {
namespace {

using test::cellAt;
using test::checkInvariants;
using test::RecordingDelegate;
using test::runScreenCases;
using test::screen;

const std::string ESC = "\x1b";
const std::string CSI = "\x1b[";
const std::string HAN = "\xE4\xB8\xAD"; // U+4E2D, two columns
const std::string FIVE_ROWS = "1\r\n2\r\n3\r\n4\r\n5";

TEST(ScreenTest, PrintingWrappingAndWideCharacters)
{
    runScreenCases({
        {"80 characters leave a pending wrap", std::string(80, 'a'), {std::string(80, 'a')}, 80, 0, 80, 24},
        {"the 81st wraps", std::string(81, 'a'), {std::string(80, 'a'), "a"}, 1, 1, 80, 24},
        {"without wraparound the last column is overwritten", CSI + "?7l" + std::string(80, 'a') + "b",
         {std::string(79, 'a') + "b"}, 80, 0, 80, 24},
        {"CR after a pending wrap", std::string(20, 'a') + "\rb", {"b" + std::string(19, 'a')}, 1, 0},
        {"BS after a pending wrap", std::string(20, 'a') + "\bb", {std::string(19, 'a') + "b"}, 20, 0},
        {"tab stops", "a\tb\tc\td", {"a       b       c  d"}, 20, 0},
        {"wide at the last column moves to the next row", CSI + "20G" + HAN, {"", HAN}, 2, 1},
        {"wide at the next-to-last column fills it", CSI + "19G" + HAN, {std::string(18, ' ') + HAN}, 20, 0},
        {"overwriting the left half blanks the right", HAN + "\ra", {"a"}, 1, 0},
        {"overwriting the right half blanks the left", HAN + CSI + "2Gb", {" b"}, 2, 0},
        {"a wide character over two halves", "a" + HAN + HAN + CSI + "3G" + HAN, {"a " + HAN}, 4, 0},
        {"insert mode shifts right", "abcdef\r" + CSI + "3C" + CSI + "4hX", {"abcXdef"}, 4, 0},
        {"insert mode loses the last column", std::string(19, 'a') + "z\r" + CSI + "4hX",
         {"X" + std::string(19, 'a')}, 1, 0},
        {"insert mode over a wide character", HAN + "\r" + CSI + "4hX", {"X" + HAN}, 1, 0},
        {"zsh end-of-output mark stays on one row", "%" + std::string(79, ' ') + "\r \r", {}, 0, 0, 80, 24},
        {"zsh mark after unterminated output goes below it", "abc%" + std::string(79, ' ') + "\r \r",
         {"abc%"}, 0, 1, 80, 24},
        {"LF mode", CSI + "20hab\ncd", {"ab", "cd"}, 2, 1},
        {"VT and FF feed lines", "a\x0b" "b\x0c" "c", {"a", " b", "  c"}, 3, 2},
        {"other C0 controls are ignored", "a\x01\x0e\x0f\x1f" "b", {"ab"}, 2, 0},
    });
}

TEST(ScreenTest, WrappedLinesAreMarked)
{
    Terminal t(80, 24);
    t.feedText(std::string(81, 'a') + "\r\nb");
    EXPECT_FALSE(t.buffer().line(0)->isWrapped);
    EXPECT_TRUE(t.buffer().line(1)->isWrapped);
    EXPECT_FALSE(t.buffer().line(2)->isWrapped);
    Terminal wide(80, 24);
    wide.feedText(CSI + "80G" + HAN);
    EXPECT_FALSE(wide.buffer().line(1)->isWrapped);
    EXPECT_EQ(cellAt(wide, 79, 0), CharData::blank);
    EXPECT_EQ(cellAt(wide, 0, 1).width, 2);
    EXPECT_EQ(cellAt(wide, 1, 1).width, 0);
}

TEST(ScreenTest, EditingSequences)
{
    runScreenCases({
        {"G moves to a column", "abcdef" + CSI + "3GX", {"abXdef"}, 3, 0},
        {"G clamps", "ab" + CSI + "99G", {"ab"}, 19, 0},
        {"G without parameter is column 1", "ab" + CSI + "G", {"ab"}, 0, 0},
        {"backquote moves to a column", "abcdef" + CSI + "4`X", {"abcXef"}, 4, 0},
        {"d moves to a row", "ab" + CSI + "3d", {"ab"}, 2, 2},
        {"E goes down to column 0", "ab" + CSI + "2E", {"ab"}, 0, 2},
        {"F goes up to column 0", CSI + "4;5H" + CSI + "2F", {}, 0, 1},
        {"E stops at the region bottom", CSI + "1;3r" + CSI + "9E", {}, 0, 2},
        {"@ inserts blanks", "abcdef" + CSI + "1G" + CSI + "2@", {"  abcdef"}, 0, 0},
        {"@ pushes off the end", std::string(20, 'a') + CSI + "1G" + CSI + "3@", {"   " + std::string(17, 'a')}, 0, 0},
        {"@ with an intermediate is another function", "abc" + CSI + "1G" + CSI + "1 @", {"abc"}, 0, 0},
        {"P deletes characters", "abcdef" + CSI + "2G" + CSI + "2P", {"adef"}, 1, 0},
        {"P splitting a wide character", "a" + HAN + "b" + CSI + "3G" + CSI + "P", {"a b"}, 2, 0},
        {"X erases characters", "abcdef" + CSI + "2G" + CSI + "3X", {"a   ef"}, 1, 0},
        {"X past the end", "abcdef" + CSI + "5G" + CSI + "99X", {"abcd"}, 4, 0},
        {"L inserts lines", FIVE_ROWS + CSI + "2;3H" + CSI + "L", {"1", "", "2", "3", "4"}, 0, 1},
        {"M deletes lines", FIVE_ROWS + CSI + "2;3H" + CSI + "2M", {"1", "4", "5"}, 0, 1},
        {"L inside a region", FIVE_ROWS + CSI + "2;4r" + CSI + "2;1H" + CSI + "9L", {"1", "", "", "", "5"}, 0, 1},
        {"L below the region does nothing", FIVE_ROWS + CSI + "2;3r" + CSI + "5;2H" + CSI + "L",
         {"1", "2", "3", "4", "5"}, 1, 4},
        {"S scrolls up", FIVE_ROWS + CSI + "2S", {"3", "4", "5"}, 1, 4},
        {"T scrolls down", FIVE_ROWS + CSI + "2T", {"", "", "1", "2", "3"}, 1, 4},
        {"T with several parameters is not a scroll", FIVE_ROWS + CSI + "1;2;3;4;5T", {"1", "2", "3", "4", "5"}, 1, 4},
        {"S inside a region", FIVE_ROWS + CSI + "2;4r" + CSI + "S", {"1", "3", "4", "", "5"}, 0, 0},
        {"EL from a right half blanks the wide character", HAN + HAN + CSI + "2G" + CSI + "K", {}, 1, 0},
        {"EL 1 through a left half blanks the right one", "a" + HAN + "b" + CSI + "2G" + CSI + "1K", {"   b"}, 1, 0},
        {"X over a right half", "a" + HAN + "b" + CSI + "3G" + CSI + "X", {"a  b"}, 2, 0},
        {"@ between the halves", "a" + HAN + "b" + CSI + "3G" + CSI + "@", {"a   b"}, 2, 0},
        {"ED 2 over wide characters", HAN + HAN + CSI + "2J" + "x", {"    x"}, 5, 0},
        {"b repeats the last character", "ab" + CSI + "3b", {"abbbb"}, 5, 0},
        {"b repeats a wide character", HAN + CSI + "2b", {HAN + HAN + HAN}, 6, 0},
        {"b with nothing printed does nothing", CSI + "3b", {}, 0, 0},
    });
}

// The way a full-screen client redraws its frame in place: it announces its
// keyboard mode, hides the cursor, then erases the lines of the last frame
// upwards and rewrites them starting at column 1.
TEST(ScreenTest, InPlaceFrameRedraw)
{
    Terminal t(30, 8);
    t.feedText("$ claude\r\n");
    t.feedText(CSI + ">4;2m" + CSI + "?2004h" + CSI + "?1004h" + CSI + "?25l" + ESC + "]0;Claude\x07");
    t.feedText(CSI + "2m> " + CSI + "22mfirst frame\r\n  status line\r\n" + CSI + "38;5;246mhint" + CSI + "39m");
    const std::string eraseFrame = CSI + "2K" + CSI + "1A" + CSI + "2K" + CSI + "1A" + CSI + "2K" + CSI + "G";
    t.feedText(eraseFrame + "> second\r\n  " + CSI + "1mbusy" + CSI + "22m\r\n" + CSI + "5Gdone");
    EXPECT_EQ(screen(t), (std::vector<std::string>{"$ claude", "> second", "  busy", "    done"}));
    EXPECT_EQ(t.cursorX(), 8);
    EXPECT_EQ(t.cursorY(), 3);
    EXPECT_FALSE(t.modes().cursorVisible);
    EXPECT_EQ(cellAt(t, 0, 1).attribute, CharAttribute::defaultAttribute);
    EXPECT_EQ(cellAt(t, 2, 2).attribute.style, CharacterStyle::bold);
    EXPECT_EQ(cellAt(t, 4, 3).attribute, CharAttribute::defaultAttribute);
}

TEST(ScreenTest, ScrollRegionAndCursorMovement)
{
    Terminal t(10, 24);
    t.feedText(CSI + "6;11r");
    EXPECT_EQ(t.buffer().scrollTop, 5);
    EXPECT_EQ(t.buffer().scrollBottom, 10);
    EXPECT_EQ(t.cursorY(), 0);
    t.feedText(CSI + "A");
    EXPECT_EQ(t.cursorY(), 5) << "CSI A from above the region stops at its top";
    t.feedText(CSI + "30;1H" + CSI + "B");
    EXPECT_EQ(t.cursorY(), 10) << "CSI B from below the region stops at its bottom";
    for (int r = 0; r < 24; ++r)
        t.buffer().line(r)->cells[0].character = static_cast<char32_t>('A' + r);
    t.feedText(CSI + "11;1H\n");
    EXPECT_EQ(t.buffer().lines.count(), 24);
    EXPECT_EQ(cellAt(t, 0, 5).character, U'G');
    EXPECT_EQ(cellAt(t, 0, 10).character, U' ');
    EXPECT_EQ(cellAt(t, 0, 11).character, U'L');
    t.feedText(CSI + "24;1H\n");
    EXPECT_EQ(t.cursorY(), 23) << "LF below the region on the last row does nothing";
    EXPECT_EQ(cellAt(t, 0, 23).character, U'X');
    t.feedText(CSI + "6;1H" + ESC + "M");
    EXPECT_EQ(cellAt(t, 0, 5).character, U' ');
    EXPECT_EQ(cellAt(t, 0, 6).character, U'G');
}

TEST(ScreenTest, ScrollRegionPairsOutsideTheScreenAreIgnored)
{
    Terminal t(10, 24);
    t.feedText(CSI + "3;4H" + CSI + "5;3r");
    EXPECT_EQ(t.buffer().scrollBottom, 23);
    EXPECT_EQ(t.cursorX(), 3);
    t.feedText(CSI + "0;1r" + CSI + "30;40r" + CSI + "4;4r");
    EXPECT_EQ(t.buffer().scrollTop, 0);
    EXPECT_EQ(t.buffer().scrollBottom, 23);
    EXPECT_EQ(t.cursorY(), 2);
    t.feedText(CSI + "3;10r");
    EXPECT_EQ(t.buffer().scrollTop, 2);
    t.feedText(CSI + "5;5H" + CSI + "r");
    EXPECT_EQ(t.buffer().scrollTop, 0);
    EXPECT_EQ(t.buffer().scrollBottom, 23);
    EXPECT_EQ(t.cursorX(), 0);
    EXPECT_EQ(t.cursorY(), 0);
    t.feedText(CSI + "?6h" + CSI + "3;10r");
    EXPECT_EQ(t.cursorY(), 2) << "origin mode homes to the region's top";
}

// The screens tmux shows for the same bytes on 10 x 8.
TEST(ScreenTest, OriginModeAddressesRowsInsideTheRegion)
{
    const std::string region = "a" + CSI + "3;6r" + CSI + "?6h";
    runScreenCases({
        {"CUP counts from the region's top", region + CSI + "2;3Hx", {"a", "", "", "  x"}, 3, 3, 10, 8},
        {"CUP stops at the region's bottom", region + CSI + "99;5Hy", {"a", "", "", "", "", "    y"}, 5, 5, 10, 8},
        {"HVP as CUP", region + CSI + "2;4fx", {"a", "", "", "   x"}, 4, 3, 10, 8},
        {"VPA counts from the top and stops at the bottom", region + CSI + "2dz" + CSI + "9dq",
         {"a", "", "", "z", "", " q"}, 2, 5, 10, 8},
        {"home is the region's top", region + CSI + "Hh", {"a", "", "h"}, 1, 2, 10, 8},
        {"restore brings origin mode back", region + CSI + "2;2H" + ESC + "7" + CSI + "?6l" + CSI + "1;1Hw" + ESC + "8v" + CSI + "1;1Hu",
         {"w", "", "u", " v"}, 1, 2, 10, 8},
        {"origin mode off addresses the whole screen", region + CSI + "?6l" + CSI + "1;3Hw", {"a w"}, 3, 0, 10, 8},
    });
}

// A bottom past the screen is the last row; the pair is then applied.
TEST(ScreenTest, ScrollRegionBottomPastTheScreenIsClamped)
{
    runScreenCases({
        {"region 3 to 30 on 8 rows homes", "a" + CSI + "3;30rb" + CSI + "30;1Hc" + ESC + "Md", {"b", "", "", "", "", "", " d", "c"},
         2, 6, 10, 8},
        {"a top past the screen is still ignored", "a" + CSI + "9;30rb" + CSI + "4;2rc", {"abc"}, 3, 0, 10, 8},
        {"origin mode with a clamped region", "a" + CSI + "?6h" + CSI + "3;30r" + CSI + "99Hq", {"a", "", "", "", "", "", "", "q"},
         1, 7, 10, 8},
    });
    Terminal t(10, 8);
    t.feedText(CSI + "3;30r");
    EXPECT_EQ(t.buffer().scrollTop, 2);
    EXPECT_EQ(t.buffer().scrollBottom, 7);
    t.feedText(CSI + "8;1H\n");
    EXPECT_EQ(t.buffer().lines.count(), 8) << "scrolling inside the region feeds no history";
}

TEST(ScreenTest, ErasingWritesDefaultBlanks)
{
    Terminal t(10, 3);
    t.feedText(CSI + "41mabcdef\r\nghij" + CSI + "2J");
    EXPECT_EQ(cellAt(t, 0, 0), CharData::blank);
    EXPECT_EQ(cellAt(t, 1, 1), CharData::blank);
    EXPECT_EQ(t.cursorX(), 4);
    t.feedText("xyz" + CSI + "6G" + CSI + "K");
    EXPECT_EQ(cellAt(t, 5, 1), CharData::blank);
    EXPECT_EQ(cellAt(t, 4, 1).attribute.background, TerminalColor::ansi256(1));

    struct Case {
        const char* name;
        std::string seq;
        std::vector<std::string> screen;
    };
    const std::string filled = "aaaaa\r\nbbbbb\r\nccccc" + CSI + "2;3H";
    for (const Case& c : {
             Case{"EL 0", CSI + "K", {"aaaaa", "bb", "ccccc"}},
             Case{"EL 1", CSI + "1K", {"aaaaa", "   bb", "ccccc"}},
             Case{"EL 2", CSI + "2K", {"aaaaa", "", "ccccc"}},
             Case{"EL other", CSI + "5K", {"aaaaa", "bbbbb", "ccccc"}},
             Case{"ED 0", CSI + "J", {"aaaaa", "bb"}},
             Case{"ED 1", CSI + "1J", {"", "   bb", "ccccc"}},
             Case{"ED 2", CSI + "2J", {}},
         }) {
        SCOPED_TRACE(c.name);
        Terminal e(5, 3);
        e.feedText(filled + c.seq);
        EXPECT_EQ(screen(e), c.screen);
        EXPECT_EQ(e.cursorX(), 2);
        EXPECT_EQ(e.cursorY(), 1);
    }
}

TEST(ScreenTest, ClearingScrollBackLeavesOneScreenOfLines)
{
    Terminal t(20, 24);
    for (int i = 0; i < 100; ++i)
        t.feedText("old " + std::to_string(i) + "\r\n");
    ASSERT_GT(t.buffer().lines.count(), 24);
    // What the shell's clear sends.
    t.feedText(CSI + "H" + CSI + "2J" + CSI + "3J");
    EXPECT_EQ(t.buffer().lines.count(), 24);
    EXPECT_EQ(t.buffer().yBase, 0);
    EXPECT_EQ(t.cursorX(), 0);
    EXPECT_EQ(t.cursorY(), 0);
    EXPECT_EQ(screen(t), std::vector<std::string>{});
    for (int i = 0; i < 30; ++i)
        t.feedText("new " + std::to_string(i) + "\r\n");
    const auto lines = screen(t);
    ASSERT_EQ(lines.size(), 23u);
    EXPECT_EQ(lines.front(), "new 7");
    EXPECT_EQ(lines.back(), "new 29");
    EXPECT_EQ(t.buffer().lines.count(), 31);
    EXPECT_EQ(t.buffer().yDisp, t.buffer().yBase);
}

TEST(ScreenTest, FullRingEvictsTheOldestLines)
{
    Terminal t(10, 3, 5);
    for (int i = 0; i < 20; ++i)
        t.feedText("L" + std::to_string(i) + "\r\n");
    EXPECT_EQ(t.buffer().lines.count(), 8);
    EXPECT_EQ(lineText(*t.buffer().lines[0]), "L13");
    EXPECT_EQ(t.buffer().yBase, 5);
    EXPECT_EQ(screen(t), (std::vector<std::string>{"L18", "L19"}));
}

TEST(ScreenTest, GraphicRendition)
{
    struct Case {
        const char* params;
        CharAttribute expected;
    };
    const auto attr = [](TerminalColor fg, TerminalColor bg, CharacterStyle style) {
        return CharAttribute{fg, bg, style};
    };
    const TerminalColor def = TerminalColor::defaultColor();
    for (const Case& c : {
             Case{"1;31;42", attr(TerminalColor::ansi256(1), TerminalColor::ansi256(2), CharacterStyle::bold)},
             Case{"38;5", attr(def, def, CharacterStyle::blink)},
             Case{"38;5;208", attr(TerminalColor::ansi256(208), def, {})},
             Case{"48;5;300", attr(def, def, {})},
             Case{"38;2;10;20;30", attr(TerminalColor::trueColor(10, 20, 30), def, {})},
             Case{"48;2;1;2;3;4", attr(def, TerminalColor::trueColor(1, 2, 3), CharacterStyle::underline)},
             Case{"38;2;1;2", attr(def, def, CharacterStyle::bold | CharacterStyle::dim)},
             Case{"1;2;3;4;5;7;8;9", attr(def, def, CharacterStyle(255 - 0))},
             Case{"1;2;22", attr(def, def, {})},
             Case{"1;2;21", attr(def, def, CharacterStyle::dim)},
             Case{"3;4;5;7;8;9;23;24;25;27;28;29", attr(def, def, {})},
             Case{"90;107", attr(TerminalColor::ansi256(8), TerminalColor::ansi256(15), {})},
             Case{"31;41;39;49", attr(def, def, {})},
             Case{"1;31;0;4", attr(def, def, CharacterStyle::underline)},
             Case{"10;20;26;50;89;98;99;108", attr(def, def, {})},
             Case{";1", attr(def, def, CharacterStyle::bold)},
         }) {
        SCOPED_TRACE(c.params);
        Terminal t(10, 2);
        t.feedText(CSI + c.params + "mx");
        EXPECT_EQ(t.currentAttribute(), c.expected);
        EXPECT_EQ(cellAt(t, 0, 0).attribute, c.expected);
    }
    Terminal t(10, 2);
    t.feedText(CSI + "1;31m" + CSI + "m");
    EXPECT_EQ(t.currentAttribute(), CharAttribute::defaultAttribute);
}

TEST(ScreenTest, AlternateScreen)
{
    Terminal t(20, 5);
    t.feedText("hello" + CSI + "1;31m" + CSI + "?1049h");
    EXPECT_TRUE(t.isAlternateBuffer());
    EXPECT_EQ(screen(t), std::vector<std::string>{});
    EXPECT_EQ(t.buffer().lines.maxLength(), 5);
    t.feedText("alt" + CSI + "0m" + CSI + "?7l");
    t.feedText(CSI + "?1049l");
    EXPECT_FALSE(t.isAlternateBuffer());
    EXPECT_EQ(screen(t), std::vector<std::string>{"hello"});
    EXPECT_EQ(t.cursorX(), 5);
    EXPECT_EQ(t.currentAttribute().foreground, TerminalColor::ansi256(1));
    EXPECT_TRUE(t.modes().wraparound);

    // 1047 keeps the main cursor but not the attribute.
    t.feedText(CSI + "?1047h" + CSI + "3;3Hx" + CSI + "0m" + CSI + "?1047l");
    EXPECT_EQ(screen(t), std::vector<std::string>{"hello"});
    EXPECT_EQ(t.cursorX(), 5);
    EXPECT_EQ(t.currentAttribute(), CharAttribute::defaultAttribute);

    // 47 is not an alternate-screen mode here.
    t.feedText(CSI + "?47h");
    EXPECT_FALSE(t.isAlternateBuffer());
}

TEST(ScreenTest, AlternateScreenEnteredTwiceAndLeftWithoutEntering)
{
    Terminal t(20, 5);
    t.feedText(CSI + "?1049l");
    EXPECT_FALSE(t.isAlternateBuffer());
    EXPECT_EQ(t.cursorX(), 0);
    t.feedText("main" + CSI + "?1049h" + "a1" + CSI + "?1049h");
    EXPECT_TRUE(t.isAlternateBuffer());
    EXPECT_EQ(screen(t), std::vector<std::string>{}) << "the second 1049 h erases the alternate screen";
    t.feedText("a2" + CSI + "?1049l");
    EXPECT_FALSE(t.isAlternateBuffer());
    EXPECT_EQ(screen(t), std::vector<std::string>{"main"});
    EXPECT_EQ(t.cursorX(), 4);
    t.feedText(CSI + "3;3H" + CSI + "?1049l");
    EXPECT_EQ(t.cursorX(), 4) << "leaving again restores the main screen's saved cursor";
    EXPECT_EQ(t.cursorY(), 0);
    EXPECT_EQ(checkInvariants(t), "");
}

TEST(ScreenTest, ResizeOnTheAlternateScreen)
{
    Terminal t(20, 5);
    t.feedText("main" + CSI + "?1049h");
    t.resize(30, 12);
    EXPECT_EQ(checkInvariants(t), "");
    t.feedText(CSI + "12;1Hbottom");
    EXPECT_EQ(lineText(*t.buffer().line(11)), "bottom");
    t.resize(8, 3);
    EXPECT_EQ(checkInvariants(t), "");
    t.resize(40, 30);
    t.feedText(CSI + "30;40Hz");
    EXPECT_EQ(cellAt(t, 39, 29).character, U'z');
    t.feedText(CSI + "?1049l");
    EXPECT_EQ(t.buffer().cols, 40);
    EXPECT_EQ(t.buffer().rows, 30);
    EXPECT_EQ(screen(t), std::vector<std::string>{"main"});
    EXPECT_EQ(checkInvariants(t), "");
}

TEST(ScreenTest, ResetReturnsToTheMainScreen)
{
    Terminal t(20, 5);
    t.feedText("main" + CSI + "?1049h" + CSI + "4h" + CSI + "?25l" + CSI + "1mxyz" + ESC + "c");
    EXPECT_FALSE(t.isAlternateBuffer());
    EXPECT_EQ(screen(t), std::vector<std::string>{"main"});
    EXPECT_EQ(t.modes(), TerminalModes::defaultModes);
    EXPECT_EQ(t.currentAttribute(), CharAttribute::defaultAttribute);
    t.feedText(ESC + "c");
    EXPECT_EQ(screen(t), std::vector<std::string>{});
    EXPECT_EQ(t.cursorX(), 0);
}

TEST(ScreenTest, ResizeTellsTheDelegateOnlyOfRealChanges)
{
    Terminal t(20, 5);
    RecordingDelegate delegate;
    t.setDelegate(&delegate);
    t.resize(20, 5);
    t.resize(0, 5);
    t.resize(20, 0);
    t.resize(-3, -3);
    EXPECT_TRUE(delegate.sizes.empty());
    t.resize(30, 6);
    ASSERT_EQ(delegate.sizes.size(), 1u);
    EXPECT_EQ(delegate.sizes[0], (std::pair<int, int>{30, 6}));
    EXPECT_EQ(t.cols(), 30);
    EXPECT_EQ(t.rows(), 6);
    t.feedText("\x07\x07");
    EXPECT_EQ(delegate.bells, 2);
}

TEST(ScreenTest, OneColumnGridTakesWideCharacters)
{
    Terminal t(1, 3, 10);
    t.feedText(HAN + "a" + HAN + HAN + CSI + "4h" + HAN + CSI + "?7l" + HAN + HAN + CSI + "@" + CSI + "P" + CSI + "b");
    EXPECT_EQ(checkInvariants(t), "");
    Terminal narrow(2, 2, 10);
    narrow.feedText(HAN + HAN + "a" + HAN + CSI + "4h" + "b" + HAN);
    EXPECT_EQ(checkInvariants(narrow), "");
}

// A wide character that cannot have its second column (the last column with
// wraparound off, a grid of one column) is not written, as in tmux, so a wide
// cell is always followed by its placeholder; one that fits keeps its place
// across a widening and a narrowing.
TEST(ScreenTest, WideCharacterWithoutRoomForItsSecondColumnIsNotWritten)
{
    struct Case {
        const char* name;
        int cols;
        std::string input;
        std::string screen;
        int x;
        int wideColumn; // -1: none
    };
    const Case cases[] = {
        {"wraparound off", 6, CSI + "?7l" + "abcd" + HAN + HAN, "abcd" + HAN, 5, 4},
        {"one column", 1, CSI + "?7l" + HAN, "", 0, -1},
        {"one column with wraparound", 1, HAN + "a", "a", 1, -1},
        {"coloured, on the alternate screen", 4, CSI + "?1049h" + CSI + "?7l" + CSI + "31m" + "ab" + HAN + HAN,
         "ab" + HAN, 3, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Terminal t(c.cols, 3, 10);
        t.feedText(c.input);
        EXPECT_EQ(screen(t), c.screen.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.screen});
        EXPECT_EQ(t.cursorX(), c.x);
        EXPECT_EQ(checkInvariants(t), "");
        if (c.wideColumn < 0)
            continue;
        const CharData wide = cellAt(t, c.wideColumn, 0);
        ASSERT_EQ(wide.width, 2);
        t.resize(c.cols + 3, 3);
        EXPECT_EQ(cellAt(t, c.wideColumn, 0), wide);
        EXPECT_EQ(cellAt(t, c.wideColumn + 1, 0), (CharData{U' ', wide.attribute, 0}));
        EXPECT_EQ(cellAt(t, c.wideColumn + 2, 0), CharData::blank);
        EXPECT_EQ(checkInvariants(t), "");
        t.resize(c.cols, 3);
        t.resize(c.cols - 1 > 0 ? c.cols - 1 : 1, 3);
        EXPECT_EQ(checkInvariants(t), "");
    }
}

// CSI b fills runs of cells at once; the result is that of printing the
// character (a whole cluster included) as many times, from any place, over
// any cells, in any mode.
TEST(ScreenTest, RepeatGivesWhatPrintingOneByOneGives)
{
    const std::vector<std::string> characters = {
        "x",
        HAN,
        "e\xCC\x81",                                     // e, combining acute
        "\xE1\x84\x92\xE1\x85\xA1\xE1\x86\xAB",            // decomposed Hangul syllable
        "\xF0\x9F\x91\xA8\xE2\x80\x8D\xF0\x9F\x91\xA9", // man, joiner, woman
    };
    const std::vector<std::string> setups = {
        "",
        CSI + "3;7H",
        CSI + "5;10H",
        CSI + "5;9H",
        CSI + "?7l" + CSI + "2;8H",
        CSI + "4h" + "abc" + CSI + "1;2H",
        HAN + HAN + HAN + CSI + "1;2H",
        CSI + "2;4r" + CSI + "4;6H" + CSI + "31;1m",
        "a" + HAN + "b" + HAN + HAN + "c" + CSI + "1;3H",
    };
    for (const std::string& setup : setups) {
        for (const std::string& ch : characters) {
            for (const int n : {1, 2, 3, 4, 5, 9, 10, 11, 19, 23, 48}) {
                SCOPED_TRACE(testing::PrintToString(setup) + " " + ch + " x" + std::to_string(n));
                Terminal repeated(10, 5, 20);
                repeated.feedText(setup + ch + CSI + std::to_string(n) + "b");
                Terminal printed(10, 5, 20);
                printed.feedText(setup);
                for (int i = 0; i <= n; ++i)
                    printed.feedText(ch);
                ASSERT_EQ(repeated.buffer().lines.count(), printed.buffer().lines.count());
                for (int i = 0; i < printed.buffer().lines.count(); ++i) {
                    const BufferLine& a = *repeated.buffer().lines[i];
                    const BufferLine& b = *printed.buffer().lines[i];
                    ASSERT_EQ(a.isWrapped, b.isWrapped) << "line " << i;
                    for (int c = 0; c < 10; ++c) {
                        ASSERT_EQ(a[c].width, b[c].width) << "line " << i << " col " << c;
                        ASSERT_EQ(a[c].attribute, b[c].attribute) << "line " << i << " col " << c;
                        ASSERT_EQ(a.scalars(c), b.scalars(c)) << "line " << i << " col " << c;
                    }
                }
                ASSERT_EQ(repeated.cursorX(), printed.cursorX());
                ASSERT_EQ(repeated.cursorY(), printed.cursorY());
                ASSERT_EQ(checkInvariants(repeated), "");
            }
        }
    }
}

TEST(ScreenTest, DirtyRange)
{
    Terminal t(10, 5);
    EXPECT_EQ(t.takeDirtyRange(), std::nullopt);
    t.feedText(CSI + "3;1Hx");
    EXPECT_EQ(t.takeDirtyRange(), (std::pair<int, int>{2, 2}));
    t.feedText("\r\b\t");
    EXPECT_EQ(t.takeDirtyRange(), std::nullopt);
    t.feedText(CSI + "5;1H\n");
    EXPECT_EQ(t.takeDirtyRange(), (std::pair<int, int>{0, 4}));
    t.feedText("x");
    t.clearDirtyRange();
    EXPECT_EQ(t.refreshStart(), INT_MAX);
    EXPECT_EQ(t.refreshEnd(), 0);
}

} // namespace
} // namespace orva
