// The screen recognition over recordings of the real claude CLI: what it has
// drawn at each moment the recorder marked, at both recorded sizes, and that
// nothing it draws before its input box, or while a question is up, reads as
// a box ready for a message.
#include "ClaudeMoments.h"
#include "Recording.h"

#include "terminal/ClaudeScreen.h"
#include "terminal/core/ScreenText.h"
#include "terminal/core/Terminal.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace orva::test {
namespace {

using Kind = ClaudeScreen::Kind;
using Question = ClaudeScreen::Question;

TEST(ClaudeScreenRecordings, WhatEachMarkedMomentShows)
{
    std::vector<std::string> scenarios;
    for (const ClaudeMoment& moment : claudeMoments()) {
        if (std::find(scenarios.begin(), scenarios.end(), moment.scenario) == scenarios.end())
            scenarios.push_back(moment.scenario);
    }
    for (const std::string& size : claudeRecordedSizes()) {
        for (const std::string& scenario : scenarios) {
            SCOPED_TRACE(scenario + "-" + size);
            expectMoments(scenario, readClaudeRecording(scenario + "-" + size));
        }
    }
}

TEST(ClaudeScreenRecordings, SuspendedAndBroughtBackInAShell)
{
    expectMoments("ctrl-z", readClaudeRecording("ctrl-z-100x30"));
}

TEST(ClaudeScreenRecordings, RefusedAsRootShowsNothingOfClaudes)
{
    const Recording recording = readClaudeRecording("root-refused-100x30");
    EXPECT_EQ(screenAfter(recording, std::string::npos), nothingKnown());
}

// Every prefix of the output, event by event: until the output that drew the
// input box (the last before the recorder saw it), through every question,
// no prefix is a ready box.
TEST(ClaudeScreenRecordings, NoPrefixBeforeTheBoxReadsAsReady)
{
    for (const std::string& name : claudeRecordingNames()) {
        SCOPED_TRACE(name);
        expectNoPrefixBeforeTheBoxReadsAsReady(readClaudeRecording(name));
    }
}

TEST(ClaudeScreenRecordings, NothingIsLeftUnnamed)
{
    // Every recording is one this test knows: a new one is looked at here too.
    const std::vector<std::string> known = {
        "api-key-100x30",  "api-key-80x24",  "bypass-no-100x30",    "bypass-no-80x24",    "ctrl-z-100x30",
        "early-keys-100x30", "early-keys-80x24", "first-start-100x30", "first-start-80x24", "ready-100x30",
        "ready-80x24",     "root-refused-100x30", "trust-escape-100x30", "trust-escape-80x24", "trust-no-100x30",
        "trust-no-80x24",
    };
    EXPECT_EQ(claudeRecordingNames(), known);
}

// Screens built by hand, for what the recordings do not hold.
TEST(ClaudeScreenRows, TheBoxAndTheCursor)
{
    std::string line;
    for (int i = 0; i < 40; ++i)
        line += "\xE2\x94\x80";
    const std::string prompt = "\xE2\x9D\xAF";
    const std::string status = "  \xE2\x8F\xB5\xE2\x8F\xB5 bypass permissions on";
    struct Row {
        const char* name;
        std::vector<std::string> rows;
        int x, y;
        ClaudeScreen expected;
    };
    const std::vector<Row> table = {
        {"an empty box", {"", line, prompt, line, status}, 2, 2, readyPrompt()},
        {"the cursor elsewhere in an empty box", {"", line, prompt, line, status}, 0, 2, boxWith("")},
        {"the cursor under the box", {"", line, prompt, line, status}, 0, 4, nothingKnown()},
        {"a message of two rows", {"", line, prompt + " first", "  second", line, status}, 8, 3,
         boxWith("first\nsecond")},
        {"no rule above", {"", "text", prompt, line, status}, 2, 2, nothingKnown()},
        {"no rule below", {"", line, prompt, "", ""}, 2, 2, nothingKnown()},
        {"a short line is not a rule", {"", "\xE2\x94\x80\xE2\x94\x80\xE2\x94\x80", prompt, line}, 2, 2,
         nothingKnown()},
        {"a row of other text inside", {"", line, prompt, "text", line}, 2, 2, nothingKnown()},
        {"a menu, the box gone", {line, " Do it?", " " + prompt + " 1. Yes", "   2. No", "", " Enter to confirm"}, 1,
         2, asking(Question::other)},
        {"a chosen option alone", {"", "  " + prompt + " 12. Twelve"}, 0, 0, asking(Question::other)},
        {"a message that reads like a menu, above the box",
         {prompt + " 1. do this", "", line, prompt, line, status}, 2, 3, readyPrompt()},
        {"a message that reads like a menu, the cursor elsewhere", {prompt + " 1. do this", "", "% "}, 2, 2,
         asking(Question::other)},
        {"the cursor off the screen", {"", line, prompt, line}, 2, 9, nothingKnown()},
        {"an empty screen", {}, 0, 0, nothingKnown()},
    };
    for (const Row& row : table) {
        SCOPED_TRACE(row.name);
        const ClaudeScreen screen = recognizeClaudeScreen(row.rows, row.x, row.y);
        EXPECT_EQ(screen, row.expected) << describe(screen);
    }
}

TEST(ClaudeScreenRows, TheLiveScreenNotTheScrolledView)
{
    Terminal terminal(40, 5);
    std::string line;
    for (int i = 0; i < 40; ++i)
        line += "\xE2\x94\x80";
    for (int i = 0; i < 20; ++i)
        terminal.feedText("scrolled\r\n");
    terminal.feedText("\x1b[2J\x1b[2;1H" + line + "\x1b[3;1H\xE2\x9D\xAF \x1b[4;1H" + line + "\x1b[5;1H  status\x1b[3;3H");
    ASSERT_TRUE(recognizeClaudeScreen(terminal).isReadyPrompt());
    terminal.buffer().yDisp = 0;
    EXPECT_TRUE(recognizeClaudeScreen(terminal).isReadyPrompt());
}

} // namespace
} // namespace orva::test
