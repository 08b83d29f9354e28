#include "terminal/core/ScreenText.h"

#include "terminal/core/Terminal.h"

namespace orva {

std::string lineText(const BufferLine& line)
{
    std::string text;
    std::size_t kept = 0;
    for (const CharData& cell : line.cells) {
        if (cell.width == 0)
            continue;
        appendUtf8(text, cell.character);
        if (cell.character != U' ')
            kept = text.size();
    }
    text.resize(kept);
    return text;
}

std::vector<std::string> visibleLines(const Terminal& terminal)
{
    const Buffer& buffer = terminal.buffer();
    std::vector<std::string> lines;
    lines.reserve(static_cast<std::size_t>(terminal.rows()));
    for (int r = 0; r < terminal.rows(); ++r) {
        const BufferLine* line = buffer.lines[buffer.yDisp + r];
        lines.push_back(line ? lineText(*line) : std::string());
    }
    return lines;
}

} // namespace orva
