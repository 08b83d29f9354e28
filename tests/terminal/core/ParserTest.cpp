#include "TerminalTestSupport.h"

#include <gtest/gtest.h>

namespace orva {
namespace {

using test::cellAt;
using test::checkInvariants;
using test::runScreenCases;
using test::screen;

const std::string ESC = "\x1b";
const std::string CSI = "\x1b[";

TEST(ParserTest, SequencesAndTheirScreens)
{
    runScreenCases({
        {"CUP row;col", CSI + "2;5H", {}, 4, 1},
        {"CUP empty row", CSI + ";5H", {}, 4, 0},
        {"CUP empty column", CSI + "5;H", {}, 0, 4},
        {"CUP past the screen", CSI + "99;99H", {}, 19, 4},
        {"CR aborts a CSI and is not executed", "abc" + CSI + "1\rA", {"abcA"}, 4, 0},
        {"ESC inside a CSI is dropped with it", "ab" + CSI + "1" + ESC + "[Ax", {"ab[Ax"}, 5, 0},
        {"DEL inside a CSI aborts it", "ab" + CSI + "1\x7f" + "A", {"abA"}, 3, 0},
        {"DEL in ground is printed", "a\x7f", {"a\x7f"}, 2, 0},
        {"second ESC keeps the escape state", CSI + "3;1H" + ESC + ESC + "[A", {}, 0, 1},
        {"charset designation prints nothing", ESC + "(B" + ESC + "#8" + ESC + ")0x", {"x"}, 1, 0},
        {"unknown ESC final is dropped", ESC + "Qx", {"x"}, 1, 0},
        {"OSC ended by BEL", ESC + "]0;title\x07" + "x", {"x"}, 1, 0},
        {"OSC ended by ST", ESC + "]2;title" + ESC + "\\x", {"x"}, 1, 0},
        {"controls inside OSC are skipped", ESC + "]0;a\r\nb\x07" + "x", {"x"}, 1, 0},
        {"colon makes the CSI ignored", CSI + "2:3mx", {"x"}, 1, 0},
        {"intermediate then control ignores the rest", CSI + "1 \rAx", {"x"}, 1, 0},
        {"SP A scrolls right, it is not cursor up", CSI + "5;1Habc" + CSI + "3 A", {"", "", "", "", "abc"}, 3, 4},
        {"three-byte UTF-8", "\xE2\x82\xAC", {"\xE2\x82\xAC"}, 1, 0},
        {"broken UTF-8 keeps the next byte", "\xE2" "A", {"A"}, 1, 0},
        {"four-byte emoji takes two columns", "\xF0\x9F\x98\x80!", {"\xF0\x9F\x98\x80!"}, 3, 0},
        {"two-byte UTF-8", "\xC3\xA9", {"\xC3\xA9"}, 1, 0},
        {"stray continuation byte prints its Latin-1 character", "\xA9", {"\xC2\xA9"}, 1, 0},
        {"overlong form prints nothing", "\xC0\xAF" "x", {"x"}, 1, 0},
        {"surrogate prints nothing", "\xED\xA0\x80" "x", {"x"}, 1, 0},
        {"above U+10FFFF prints nothing", "\xF4\x90\x80\x80" "x", {"x"}, 1, 0},
        {"high byte inside a CSI aborts it", CSI + "\xC3\xA9", {"\xC2\xA9"}, 1, 0},
        {"ESC E is next line", "ab" + ESC + "Ecd", {"ab", "cd"}, 2, 1},
        {"ESC D is index", "ab" + ESC + "Dcd", {"ab", "  cd"}, 4, 1},
        {"ESC M at the top scrolls down", "ab" + ESC + "Mcd", {"  cd", "ab"}, 4, 0},
        {"ESC 7 / ESC 8", "ab" + ESC + "7" + CSI + "4;4Hx" + ESC + "8y", {"aby", "", "", "   x"}, 3, 0},
        {"unsupported finals are ignored", "a" + CSI + "5nb" + CSI + "cc" + CSI + "sd" + CSI + "ue", {"abcde"}, 5, 0},
    });
}

// Device control strings, start-of-string, privacy messages and application
// program commands print nothing of their contents, whatever the chunks.
TEST(ParserTest, ControlStringsPrintNothing)
{
    const std::string ST = ESC + "\\";
    runScreenCases({
        {"DCS ended by ST", "a" + ESC + "Pq#0;2;0;0;0#0~~" + ST + "b", {"ab"}, 2, 0},
        {"vim's DCS at start", ESC + "Pzz" + ST + "x", {"x"}, 1, 0},
        {"SOS", "a" + ESC + "Xhidden" + ST + "b", {"ab"}, 2, 0},
        {"PM", "a" + ESC + "^hidden" + ST + "b", {"ab"}, 2, 0},
        {"APC", "a" + ESC + "_Gf=100;AAAA" + ST + "b", {"ab"}, 2, 0},
        {"BEL and other controls are part of the string", "a" + ESC + "Pz\x07zz\r\n\x08" + ST + "b", {"ab"}, 2, 0},
        {"CAN cancels the string", "a" + ESC + "Pzz\x18" + "b", {"ab"}, 2, 0},
        {"SUB cancels the string", "a" + ESC + "_zz\x1a" + "b", {"ab"}, 2, 0},
        {"high bytes and raw C1 ST are part of the string", "a" + ESC + "P\xC3\xA9\x9C\x90x" + ST + "b", {"ab"}, 2, 0},
        {"ESC starting another sequence ends the string", "a" + ESC + "Pzz" + CSI + "3Gb", {"a b"}, 3, 0},
        {"doubled ESC of a passthrough ends it and starts the inner sequence",
         "ab" + ESC + "Ptmux;" + ESC + ESC + "]52;c;eA==\x07" + ST + "cd", {"abcd"}, 4, 0},
        {"passthrough of a query prints nothing", "x" + ESC + "Ptmux;" + ESC + ESC + "[>q" + ST + "y", {"xy"}, 2, 0},
        {"unfinished string swallows the rest", "a" + ESC + "Pzzzz" + std::string(200, 'q'), {"a"}, 1, 0},
    });
}

// Each introducer and terminator cut at every byte gives the same screen.
TEST(ParserTest, ControlStringsSplitAnywhere)
{
    const std::string ST = ESC + "\\";
    for (const char introducer : {'P', 'X', '^', '_'}) {
        const std::string input = "ab" + ESC + introducer + "1;2|payload\x07\xC3\xA9" + ST + "cd" + ESC + introducer +
                                  "x\x18" + "ef" + ESC + introducer + "y" + ESC + ESC + "[1;1Hg";
        for (std::size_t cut = 0; cut <= input.size(); ++cut) {
            for (std::size_t second = cut; second <= input.size(); second += 3) {
                Terminal t(20, 5);
                t.feedText(std::string_view(input).substr(0, cut));
                t.feedText(std::string_view(input).substr(cut, second - cut));
                t.feedText(std::string_view(input).substr(second));
                ASSERT_EQ(screen(t), std::vector<std::string>{"gbcdef"}) << introducer << " cut at " << cut << ", " << second;
                ASSERT_EQ(t.cursorX(), 1);
                ASSERT_EQ(t.parserState(), ParserState::ground);
            }
        }
    }
}

TEST(ParserTest, UnfinishedUtf8WaitsForItsContinuation)
{
    Terminal t(20, 5);
    t.feed(std::uint8_t{0xE9});
    EXPECT_EQ(t.cursorX(), 0);
    t.feed(std::uint8_t{0x80});
    EXPECT_EQ(t.cursorX(), 0);
    t.feed(std::uint8_t{0x80});
    EXPECT_EQ(cellAt(t, 0, 0).character, U'\u9000');
    EXPECT_EQ(cellAt(t, 0, 0).width, 2);
    EXPECT_EQ(t.cursorX(), 2);
}

TEST(ParserTest, PrivateMarkerQuestionSetsPrivateModes)
{
    Terminal t(20, 5);
    t.feedText(CSI + "?25l" + CSI + "?7;1h");
    EXPECT_FALSE(t.modes().cursorVisible);
    EXPECT_TRUE(t.modes().applicationCursor);
    // Without the marker the same numbers are ANSI modes, which these are not.
    t.feedText(CSI + "25h");
    EXPECT_FALSE(t.modes().cursorVisible);
    t.feedText(CSI + "?1049h");
    EXPECT_TRUE(t.isAlternateBuffer());
    // Bracketed paste, as claude switches it on with its focus reports.
    EXPECT_FALSE(t.modes().bracketedPaste);
    t.feedText(CSI + "?2004h" + CSI + "?1004h");
    EXPECT_TRUE(t.modes().bracketedPaste);
    t.feedText(CSI + "2004l");
    EXPECT_TRUE(t.modes().bracketedPaste) << "not an ANSI mode";
    t.feedText(CSI + "?2004l");
    EXPECT_FALSE(t.modes().bracketedPaste);
    t.feedText(CSI + "?2004h" + ESC + "c");
    EXPECT_FALSE(t.modes().bracketedPaste) << "a reset clears it";
}

TEST(ParserTest, OtherPrivateMarkersIgnoreTheWholeSequence)
{
    for (const std::string& seq : {CSI + ">4;2m", CSI + ">4;1m", CSI + "=1u", CSI + "<u", CSI + ">1u", CSI + ">0c",
                                  CSI + ">2J", CSI + "?>5A", CSI + "1>m"}) {
        SCOPED_TRACE(seq.substr(1));
        Terminal t(20, 5);
        t.feedText("ab\r\ncd");
        t.feedText(seq);
        t.feedText("x");
        EXPECT_EQ(screen(t), (std::vector<std::string>{"ab", "cdx"}));
        EXPECT_EQ(t.currentAttribute(), CharAttribute::defaultAttribute);
        EXPECT_EQ(cellAt(t, 2, 1).attribute, CharAttribute::defaultAttribute);
    }
}

// An intermediate byte makes another function of a final (SP A scrolls right,
// SP @ scrolls left, ! p is a soft reset, ...), none of which this terminal
// has: the sequence changes nothing, whatever the final, the parameters or
// the intermediate, and the text after it lands where the cursor stood.
TEST(ParserTest, IntermediateBytesIgnoreTheWholeSequence)
{
    const std::string finals = "ABCDEFGHJKLMPSTXbdfhlmr@`";
    const std::vector<std::string> forms = {
        "3 {}", " {}", "2;4 {}", "1!{}", "?25 {}", "?1049${}", "4\"{}", "2 !{}", "5'{}", "1;2;3;4;5 {}",
    };
    // A screen with something on each row, the cursor inside it, a region,
    // a rendition and a mode set, so that any action would show.
    const std::string before =
        "row one\r\nrow two\r\nrow three\r\nrow four\r\nrow five" + CSI + "2;4r" + CSI + "3;4H" + CSI + "1m" + CSI + "4h";
    for (const char final : finals) {
        for (const std::string& form : forms) {
            std::string sequence = CSI + form;
            sequence.replace(sequence.find("{}"), 2, std::string(1, final));
            SCOPED_TRACE("ESC" + sequence.substr(1));
            Terminal expected(20, 5);
            expected.feedText(before + "x");
            Terminal t(20, 5);
            t.feedText(before + sequence + "x");
            EXPECT_EQ(screen(t), screen(expected));
            EXPECT_EQ(t.cursorX(), expected.cursorX());
            EXPECT_EQ(t.cursorY(), expected.cursorY());
            EXPECT_EQ(t.currentAttribute(), expected.currentAttribute());
            EXPECT_EQ(t.modes(), expected.modes());
            EXPECT_EQ(t.isAlternateBuffer(), expected.isAlternateBuffer());
            EXPECT_EQ(t.buffer().scrollTop, expected.buffer().scrollTop);
            EXPECT_EQ(t.buffer().scrollBottom, expected.buffer().scrollBottom);
            EXPECT_EQ(t.parserState(), ParserState::ground);
        }
    }
}

// With the "?" marker, m is a query of key-modifier options and r restores
// saved modes; neither may change the rendition or the scroll region.
TEST(ParserTest, PrivateRenditionAndRegionAreNotActedOn)
{
    Terminal t(20, 5);
    t.feedText(CSI + "3;4H" + CSI + "?4m" + CSI + "?1r" + CSI + "?2;4r" + "x");
    EXPECT_EQ(t.currentAttribute(), CharAttribute::defaultAttribute);
    EXPECT_EQ(t.buffer().scrollTop, 0);
    EXPECT_EQ(t.buffer().scrollBottom, 4);
    EXPECT_EQ(cellAt(t, 3, 2).character, U'x');
    // Selective erase still erases.
    t.feedText(CSI + "?2K");
    EXPECT_EQ(cellAt(t, 3, 2), CharData::blank);
}

TEST(ParserTest, KeptParametersAndStringsAreCapped)
{
    Terminal t(20, 5);
    std::string many = CSI;
    for (int i = 1; i <= 100; ++i)
        many += std::to_string(i) + ";";
    t.feedText(many + "q");
    ASSERT_EQ(t.csiParams().size(), 32u);
    EXPECT_EQ(t.csiParams()[0], 1);
    EXPECT_EQ(t.csiParams()[31], 32);

    t.feedText(CSI + std::string(50, ' ') + "q");
    EXPECT_EQ(t.csiIntermediate().size(), 8u);

    t.feedText(ESC + "]0;" + std::string(100000, 'x') + "\x07");
    EXPECT_EQ(t.oscString().size(), 4096u);
    t.feedText(ESC + "P" + std::string(100000, 'x') + ESC + "\\");
    EXPECT_EQ(t.controlString().size(), 4096u);
    EXPECT_EQ(t.parserState(), ParserState::ground);
    EXPECT_EQ(screen(t), std::vector<std::string>{});
}

TEST(ParserTest, HugeNumbersSaturate)
{
    Terminal t(20, 5);
    const std::string huge = "99999999999999999999999999999999";
    t.feedText(CSI + huge + "q");
    ASSERT_EQ(t.csiParams().size(), 1u);
    EXPECT_EQ(t.csiParams()[0], INT64_MAX);
    t.feedText(CSI + huge + ";" + huge + "H");
    EXPECT_EQ(t.cursorX(), 19);
    EXPECT_EQ(t.cursorY(), 4);
    t.feedText(CSI + huge + "A" + CSI + huge + "D");
    EXPECT_EQ(t.cursorX(), 0);
    EXPECT_EQ(t.cursorY(), 0);
    t.feedText(CSI + huge + "B" + CSI + huge + "C");
    EXPECT_EQ(t.cursorX(), 19);
    EXPECT_EQ(t.cursorY(), 4);
    t.feedText("x" + CSI + huge + "b" + CSI + huge + "@" + CSI + huge + "P" + CSI + huge + "X" + CSI + huge + "L"
               + CSI + huge + "M" + CSI + huge + "S" + CSI + huge + "T" + CSI + huge + "G" + CSI + huge + "d"
               + CSI + huge + "E" + CSI + huge + "F" + CSI + "38;5;" + huge + "m" + CSI + "38;2;" + huge + ";1;1m");
    EXPECT_EQ(checkInvariants(t), "");
    EXPECT_EQ(t.currentAttribute(), CharAttribute::defaultAttribute);
}

// Every split of a chunk, and byte-by-byte feeding, gives the screen that
// feeding it whole gives.
TEST(ParserTest, ChunkSplitsDoNotChangeTheResult)
{
    const std::vector<std::string> inputs = {
        "abc\xED\x95\x9C\xEA\xB8\x80 def\r\n\xF0\x9F\x98\x80 end",
        CSI + "1;31mred" + CSI + "0m" + CSI + "3;7Hxy" + CSI + "?1049h" + "alt" + CSI + "?1049l",
        std::string(45, 'w') + "\r\n" + CSI + "2K" + ESC + "]0;t\x07" + "z" + CSI + "4h" + "ins" + CSI + "4l",
        "\xE4\xB8\xAD\xE4\xB8\xAD\xE4\xB8\xAD\xE4\xB8\xAD\xE4\xB8\xAD\xE4\xB8\xAD\xE4\xB8\xAD\xE4\xB8\xAD"
        "\xE4\xB8\xAD\xE4\xB8\xAD\xE4\xB8\xAD" + CSI + "5b" + CSI + "2G!" + CSI + "?7l" + std::string(30, 'n'),
    };
    for (const std::string& input : inputs) {
        Terminal whole(20, 5, 50);
        whole.feedText(input);
        const auto expected = screen(whole);
        Terminal bytewise(20, 5, 50);
        for (unsigned char b : input)
            bytewise.feed(std::uint8_t{b});
        EXPECT_EQ(screen(bytewise), expected);
        EXPECT_EQ(bytewise.cursorX(), whole.cursorX());
        for (std::size_t cut = 1; cut < input.size(); ++cut) {
            Terminal split(20, 5, 50);
            split.feedText(std::string_view(input).substr(0, cut));
            split.feedText(std::string_view(input).substr(cut));
            ASSERT_EQ(screen(split), expected) << "cut at " << cut;
            ASSERT_EQ(split.cursorX(), whole.cursorX()) << "cut at " << cut;
            ASSERT_EQ(split.cursorY(), whole.cursorY()) << "cut at " << cut;
            ASSERT_EQ(split.currentAttribute(), whole.currentAttribute()) << "cut at " << cut;
        }
    }
}

TEST(ParserTest, ResetReturnsTheParserToGround)
{
    Terminal t(20, 5);
    t.feedText(CSI + "1;2");
    EXPECT_EQ(t.parserState(), ParserState::csiParam);
    t.feedText("\x18"); // CAN aborts it
    EXPECT_EQ(t.parserState(), ParserState::ground);
    t.feedText(ESC + "]0;x");
    EXPECT_EQ(t.parserState(), ParserState::oscString);
    t.feedText(ESC);
    EXPECT_EQ(t.parserState(), ParserState::escape);
    t.feedText("c");
    EXPECT_EQ(t.parserState(), ParserState::ground);
}

TEST(ParserTest, ApplicationKeypadIsRecorded)
{
    Terminal t(20, 5);
    t.feedText(ESC + "=");
    EXPECT_TRUE(t.modes().applicationKeypad);
    t.feedText(ESC + ">");
    EXPECT_FALSE(t.modes().applicationKeypad);
}

} // namespace
} // namespace orva
