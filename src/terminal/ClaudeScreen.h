#pragma once

// What the `claude` CLI shows in the terminal, read off the emulator's live
// screen: its input box, ready for a message, or one of its questions (a menu
// the person answers), or neither. The work screen types for `claude` only
// into an empty input box; at a question it waits for the person.
//
// The screens, as claude 2.1.197 draws them (tests/terminal/claude/recordings):
//
//   The input box: a horizontal rule (a row of "─" only), the row of the
//   prompt "❯ " at column 0 with the cursor in it, rows of the message
//   indented by two blanks, another rule, then a status line:
//
//     ────────────────────────────────────────
//     ❯ ▌
//     ────────────────────────────────────────
//       ⏵⏵ bypass permissions on (shift+tab to cycle)
//
//   The box is empty when its prompt row holds only "❯" and the cursor sits
//   right after "❯ ": text typed before the box is drawn stays in it, and
//   what the person has typed but not sent is theirs.
//
//   A question: a numbered menu with the chosen option marked "❯ 1. ..."
//   and "Enter to confirm · Esc to cancel" under it, in place of the input
//   box. Known ones, by their words: the folder-trust question ("Is this a
//   project you created or one you trust?", "Yes, I trust this folder"), the
//   bypass-permissions warning ("Bypass Permissions mode") and the API-key
//   question ("Do you want to use this API key?").
//
// Anything else (a screen still being drawn, a message being answered,
// another program) is `unknown`: the caller waits. A claude that draws these
// screens differently is `unknown` too, so a changed CLI makes the work screen
// wait and say so, never type into a question.
//
// Standard C++ over the emulator core.

#include <string>
#include <vector>

namespace orva {

class Terminal;

struct ClaudeScreen {
    enum class Kind {
        unknown,
        // The input box is drawn with the cursor in it.
        inputPrompt,
        // A menu waits for the person's answer.
        question,
    };
    enum class Question {
        none,
        folderTrust,
        bypassPermissions,
        apiKey,
        // A menu of claude's this type does not know by its words.
        other,
    };

    Kind kind = Kind::unknown;
    Question question = Question::none;
    // The input box's text (its rows joined by line feeds, the prompt and the
    // indent taken off); empty for an empty box.
    std::string boxText;
    // The box holds nothing and the cursor waits at its start.
    bool boxEmpty = false;

    bool isReadyPrompt() const { return kind == Kind::inputPrompt && boxEmpty; }
    bool operator==(const ClaudeScreen&) const = default;
};

// The screen from its rows (as lineText gives them: UTF-8, trailing blanks
// removed) and the cursor's column and row on it.
ClaudeScreen recognizeClaudeScreen(const std::vector<std::string>& rows, int cursorX, int cursorY);
// The emulator's live screen (not where the view is scrolled to).
ClaudeScreen recognizeClaudeScreen(const Terminal& terminal);

const char* claudeQuestionName(ClaudeScreen::Question question);

} // namespace orva
