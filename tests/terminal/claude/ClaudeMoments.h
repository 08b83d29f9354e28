#pragma once

// What claude's screen shows at the moments the scenarios (scenarios/*.script)
// mark, as the recordings of the real CLI show it: one table for the tests of
// the recognition over those recordings and for the fake `claude` run through
// the same scenarios, so the fake is held to what the real one draws.

#include "Recording.h"

#include "terminal/ClaudeScreen.h"

#include <string>
#include <vector>

namespace orva::test {

// Every scenario but ctrl-z is recorded at these sizes ("100x30", "80x24").
const std::vector<std::string>& claudeRecordedSizes();

struct ClaudeMoment {
    const char* scenario;
    const char* mark; // "" for the end of the recording
    ClaudeScreen expected;
};
// The marked moments of the scenarios recorded at every size.
const std::vector<ClaudeMoment>& claudeMoments();

struct ClaudeReadyMoment {
    const char* mark;
    bool ready; // the screen is a ready prompt
};
// The moments of the ctrl-z scenario (in an interactive zsh, 100x30).
const std::vector<ClaudeReadyMoment>& claudeSuspendMoments();

// The screens expected.
ClaudeScreen readyPrompt();
ClaudeScreen boxWith(const std::string& text);
ClaudeScreen asking(ClaudeScreen::Question question);
ClaudeScreen nothingKnown();

// The screen after the recording's output up to event `end` (all of it for npos).
ClaudeScreen screenAfter(const Recording& recording, std::size_t end);
std::string describe(const ClaudeScreen& screen);

// Fails the calling test where the recording of `scenario` does not show
// what claudeMoments() (for "ctrl-z": claudeSuspendMoments()) expects.
void expectMoments(const std::string& scenario, const Recording& recording);

// Fails the calling test where a prefix of the output, event by event, reads
// as a ready box before the output that drew the input box (the last before
// the mark "prompt-drawn"; all of it in a recording without that mark).
void expectNoPrefixBeforeTheBoxReadsAsReady(const Recording& recording);

} // namespace orva::test
