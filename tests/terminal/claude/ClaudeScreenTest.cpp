// The screen recognition over recordings of the real claude CLI: what it has
// drawn at each moment the recorder marked, at both recorded sizes, and that
// nothing it draws before its input box, or while a question is up, reads as
// a box ready for a message.
#include "Recording.h"

#include "terminal/ClaudeScreen.h"
#include "terminal/core/ScreenText.h"
#include "terminal/core/Terminal.h"

#include <gtest/gtest.h>

namespace orva::test {
namespace {

using Kind = ClaudeScreen::Kind;
using Question = ClaudeScreen::Question;

ClaudeScreen screenAfter(const Recording& recording, std::size_t end)
{
    Terminal terminal(recording.cols, recording.rows);
    terminal.feedText(recording.outputBefore(end));
    return recognizeClaudeScreen(terminal);
}

std::string describe(const ClaudeScreen& screen)
{
    const char* kind = screen.kind == Kind::inputPrompt ? "input prompt"
                       : screen.kind == Kind::question  ? "question"
                                                        : "unknown";
    return std::string(kind) + " (" + claudeQuestionName(screen.question) + ", box \"" + screen.boxText + "\"" +
           (screen.boxEmpty ? ", empty" : "") + ")";
}

ClaudeScreen readyPrompt()
{
    ClaudeScreen screen;
    screen.kind = Kind::inputPrompt;
    screen.boxEmpty = true;
    return screen;
}
ClaudeScreen boxWith(const std::string& text)
{
    ClaudeScreen screen;
    screen.kind = Kind::inputPrompt;
    screen.boxText = text;
    return screen;
}
ClaudeScreen asking(Question question)
{
    ClaudeScreen screen;
    screen.kind = Kind::question;
    screen.question = question;
    return screen;
}
ClaudeScreen nothingKnown()
{
    return {};
}

struct Moment {
    const char* recording; // without its size
    const char* mark;      // "" for the end of the recording
    ClaudeScreen expected;
};

TEST(ClaudeScreenRecordings, WhatEachMarkedMomentShows)
{
    const std::vector<Moment> moments = {
        {"first-start", "raw", nothingKnown()},
        {"first-start", "trust-drawn", asking(Question::folderTrust)},
        {"first-start", "trust-still", asking(Question::folderTrust)},
        {"first-start", "bypass-drawn", asking(Question::bypassPermissions)},
        {"first-start", "bypass-still", asking(Question::bypassPermissions)},
        {"first-start", "bypass-second", asking(Question::bypassPermissions)},
        {"first-start", "prompt-drawn", readyPrompt()},
        {"first-start", "prompt-still", readyPrompt()},
        {"first-start", "prompt-typed", boxWith("hello there")},
        {"first-start", "replied", readyPrompt()},
        {"ready", "raw", nothingKnown()},
        {"ready", "prompt-drawn", readyPrompt()},
        {"ready", "prompt-still", readyPrompt()},
        // Keys typed before the first draw stay in the box, unsent.
        {"early-keys", "early-typed", nothingKnown()},
        {"early-keys", "prompt-still", boxWith("early text")},
        {"early-keys", "prompt-cleared", readyPrompt()},
        {"bypass-no", "bypass-still", asking(Question::bypassPermissions)},
        // Gone after "No, exit", its question still on the screen: only the
        // terminal's foreground tells that claude has left.
        {"bypass-no", "", asking(Question::bypassPermissions)},
        {"trust-no", "trust-drawn", asking(Question::folderTrust)},
        {"trust-no", "trust-second", asking(Question::folderTrust)},
        {"trust-escape", "trust-drawn", asking(Question::folderTrust)},
        {"api-key", "apikey-drawn", asking(Question::apiKey)},
        {"api-key", "apikey-still", asking(Question::apiKey)},
        {"api-key", "prompt-still", readyPrompt()},
    };
    for (const char* size : {"100x30", "80x24"}) {
        for (const Moment& moment : moments) {
            const std::string name = std::string(moment.recording) + "-" + size;
            SCOPED_TRACE(name + " at " + (*moment.mark ? moment.mark : "the end"));
            const Recording recording = readClaudeRecording(name);
            std::size_t end = std::string::npos;
            if (*moment.mark) {
                const auto at = recording.markAt(moment.mark);
                ASSERT_TRUE(at.has_value()) << "no mark " << moment.mark;
                end = *at;
            }
            const ClaudeScreen screen = screenAfter(recording, end);
            EXPECT_EQ(screen, moment.expected) << describe(screen);
        }
    }
}

TEST(ClaudeScreenRecordings, SuspendedAndBroughtBackInAShell)
{
    const Recording recording = readClaudeRecording("ctrl-z-100x30");
    const struct {
        const char* mark;
        bool ready;
    } moments[] = {
        {"raw", false},
        {"prompt-still", true},
        // The shell's prompt under "Claude Code has been suspended".
        {"suspended", false},
        {"back", true},
        // Stopped from outside, then continued in line mode: claude does not
        // draw again, and its box is not where the cursor is.
        {"stopped", false},
        {"continued", false},
    };
    for (const auto& moment : moments) {
        SCOPED_TRACE(moment.mark);
        const auto at = recording.markAt(moment.mark);
        ASSERT_TRUE(at.has_value());
        const ClaudeScreen screen = screenAfter(recording, *at);
        EXPECT_EQ(screen.isReadyPrompt(), moment.ready) << describe(screen);
    }
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
        const Recording recording = readClaudeRecording(name);
        const auto drawnMark = recording.markAt("prompt-drawn");
        std::size_t drawingOutput = recording.events.size();
        if (drawnMark) {
            for (std::size_t i = 0; i < *drawnMark; ++i) {
                if (recording.events[i].kind == RecordedEvent::output)
                    drawingOutput = i;
            }
        }
        Terminal terminal(recording.cols, recording.rows);
        for (std::size_t i = 0; i < recording.events.size() && i < drawingOutput; ++i) {
            const RecordedEvent& event = recording.events[i];
            if (event.kind != RecordedEvent::output)
                continue;
            terminal.feedText(event.data);
            const ClaudeScreen screen = recognizeClaudeScreen(terminal);
            ASSERT_FALSE(screen.isReadyPrompt()) << "at " << event.ms << " ms: " << describe(screen);
        }
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
