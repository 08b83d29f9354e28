#include "terminal/ClaudeScreen.h"

#include "terminal/core/ScreenText.h"
#include "terminal/core/Terminal.h"

#include <string_view>

namespace orva {

namespace {

constexpr std::string_view kPrompt = "\xE2\x9D\xAF";  // ❯
constexpr std::string_view kRule = "\xE2\x94\x80";    // ─
// Fewer "─" than this is a line drawn inside a message, not the box's rule.
constexpr std::size_t kShortestRule = 10;

bool startsWith(std::string_view text, std::string_view prefix)
{
    return text.substr(0, prefix.size()) == prefix;
}

bool contains(std::string_view text, std::string_view part)
{
    return text.find(part) != std::string_view::npos;
}

bool isRule(std::string_view row)
{
    if (row.size() < kShortestRule * kRule.size() || row.size() % kRule.size() != 0)
        return false;
    for (std::size_t i = 0; i < row.size(); i += kRule.size()) {
        if (row.substr(i, kRule.size()) != kRule)
            return false;
    }
    return true;
}

// The box's first row: "❯" alone or "❯ " and text, from column 0.
bool isPromptRow(std::string_view row)
{
    return startsWith(row, kPrompt) && (row.size() == kPrompt.size() || row[kPrompt.size()] == ' ');
}

// A further row of the box's text: empty, or indented by two blanks.
bool isContinuationRow(std::string_view row)
{
    return row.empty() || startsWith(row, "  ");
}

// "❯ 3. ..." after blanks: the chosen option of a menu.
bool isChosenOption(std::string_view row)
{
    const std::size_t start = row.find_first_not_of(' ');
    if (start == std::string_view::npos)
        return false;
    row.remove_prefix(start);
    if (!startsWith(row, kPrompt))
        return false;
    row.remove_prefix(kPrompt.size());
    if (!startsWith(row, " "))
        return false;
    row.remove_prefix(1);
    std::size_t digits = 0;
    while (digits < row.size() && row[digits] >= '0' && row[digits] <= '9')
        ++digits;
    return digits > 0 && row.substr(digits, 2) == ". ";
}

ClaudeScreen inputPromptAt(const std::vector<std::string>& rows, int cursorX, int cursorY)
{
    ClaudeScreen none;
    const int count = static_cast<int>(rows.size());
    if (cursorY < 0 || cursorY >= count)
        return none;
    int first = cursorY;
    while (first >= 0 && !isPromptRow(rows[static_cast<std::size_t>(first)])) {
        if (!isContinuationRow(rows[static_cast<std::size_t>(first)]))
            return none;
        --first;
    }
    if (first < 1 || !isRule(rows[static_cast<std::size_t>(first - 1)]))
        return none;
    int last = cursorY;
    while (last + 1 < count && !isRule(rows[static_cast<std::size_t>(last + 1)])) {
        if (!isContinuationRow(rows[static_cast<std::size_t>(last + 1)]))
            return none;
        ++last;
    }
    if (last + 1 >= count)
        return none;

    ClaudeScreen screen;
    screen.kind = ClaudeScreen::Kind::inputPrompt;
    std::string text = rows[static_cast<std::size_t>(first)].substr(kPrompt.size());
    if (!text.empty())
        text.erase(0, 1);
    for (int r = first + 1; r <= last; ++r) {
        const std::string& row = rows[static_cast<std::size_t>(r)];
        text += '\n';
        text += row.size() > 2 ? row.substr(2) : std::string();
    }
    while (!text.empty() && text.back() == '\n')
        text.pop_back();
    screen.boxText = text;
    const int promptColumn = 2;
    screen.boxEmpty = text.empty() && cursorY == first && cursorX == promptColumn;
    return screen;
}

ClaudeScreen::Question questionNamed(const std::vector<std::string>& rows)
{
    for (const std::string& row : rows) {
        if (contains(row, "Yes, I trust this folder") || contains(row, "one you trust?"))
            return ClaudeScreen::Question::folderTrust;
        if (contains(row, "Bypass Permissions mode"))
            return ClaudeScreen::Question::bypassPermissions;
        if (contains(row, "Do you want to use this API key?"))
            return ClaudeScreen::Question::apiKey;
    }
    return ClaudeScreen::Question::other;
}

// claude puts a no-break space after its prompt sign: read as a blank, and
// the row's trailing blanks dropped as lineText drops its own.
std::vector<std::string> normalized(const std::vector<std::string>& rows)
{
    std::vector<std::string> out;
    out.reserve(rows.size());
    for (const std::string& row : rows) {
        std::string text;
        text.reserve(row.size());
        for (std::size_t i = 0; i < row.size(); ++i) {
            if (row[i] == '\xC2' && i + 1 < row.size() && row[i + 1] == '\xA0') {
                text += ' ';
                ++i;
            } else {
                text += row[i];
            }
        }
        while (!text.empty() && text.back() == ' ')
            text.pop_back();
        out.push_back(std::move(text));
    }
    return out;
}

} // namespace

ClaudeScreen recognizeClaudeScreen(const std::vector<std::string>& givenRows, int cursorX, int cursorY)
{
    const std::vector<std::string> rows = normalized(givenRows);
    // The box with the cursor in it comes first: a message shown above it
    // may well read like a menu.
    ClaudeScreen screen = inputPromptAt(rows, cursorX, cursorY);
    if (screen.kind == ClaudeScreen::Kind::inputPrompt)
        return screen;
    for (const std::string& row : rows) {
        if (isChosenOption(row) || contains(row, "Enter to confirm")) {
            screen.kind = ClaudeScreen::Kind::question;
            screen.question = questionNamed(rows);
            return screen;
        }
    }
    return screen;
}

ClaudeScreen recognizeClaudeScreen(const Terminal& terminal)
{
    return recognizeClaudeScreen(screenLines(terminal), terminal.cursorX(), terminal.cursorY());
}

const char* claudeQuestionName(ClaudeScreen::Question question)
{
    switch (question) {
    case ClaudeScreen::Question::none:
        return "none";
    case ClaudeScreen::Question::folderTrust:
        return "folder trust";
    case ClaudeScreen::Question::bypassPermissions:
        return "bypass permissions";
    case ClaudeScreen::Question::apiKey:
        return "API key";
    case ClaudeScreen::Question::other:
        return "other";
    }
    return "other";
}

} // namespace orva
