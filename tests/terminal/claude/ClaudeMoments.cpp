#include "ClaudeMoments.h"

#include "terminal/core/Terminal.h"

#include <gtest/gtest.h>

namespace orva::test {

using Kind = ClaudeScreen::Kind;
using Question = ClaudeScreen::Question;

const std::vector<std::string>& claudeRecordedSizes()
{
    static const std::vector<std::string> sizes = {"100x30", "80x24"};
    return sizes;
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

const std::vector<ClaudeMoment>& claudeMoments()
{
    static const std::vector<ClaudeMoment> moments = {
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
    return moments;
}

const std::vector<ClaudeReadyMoment>& claudeSuspendMoments()
{
    static const std::vector<ClaudeReadyMoment> moments = {
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
    return moments;
}

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

namespace {

std::optional<std::size_t> endAt(const Recording& recording, const char* mark)
{
    if (!*mark)
        return std::string::npos;
    return recording.markAt(mark);
}

} // namespace

void expectMoments(const std::string& scenario, const Recording& recording)
{
    if (scenario == "ctrl-z") {
        for (const ClaudeReadyMoment& moment : claudeSuspendMoments()) {
            SCOPED_TRACE(moment.mark);
            const auto end = endAt(recording, moment.mark);
            if (!end) {
                ADD_FAILURE() << "no mark " << moment.mark;
                continue;
            }
            const ClaudeScreen screen = screenAfter(recording, *end);
            EXPECT_EQ(screen.isReadyPrompt(), moment.ready) << describe(screen);
        }
        return;
    }
    bool known = false;
    for (const ClaudeMoment& moment : claudeMoments()) {
        if (scenario != moment.scenario)
            continue;
        known = true;
        SCOPED_TRACE(scenario + " at " + (*moment.mark ? moment.mark : "the end"));
        const auto end = endAt(recording, moment.mark);
        if (!end) {
            ADD_FAILURE() << "no mark " << moment.mark;
            continue;
        }
        const ClaudeScreen screen = screenAfter(recording, *end);
        EXPECT_EQ(screen, moment.expected) << describe(screen);
    }
    EXPECT_TRUE(known) << "no moment of the scenario " << scenario;
}

void expectNoPrefixBeforeTheBoxReadsAsReady(const Recording& recording)
{
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
        if (screen.isReadyPrompt()) {
            ADD_FAILURE() << "at " << event.ms << " ms: " << describe(screen);
            return;
        }
    }
}

} // namespace orva::test
