#include "terminal/core/ScreenText.h"

#include "terminal/core/Terminal.h"

namespace orva {

std::string lineText(const BufferLine& line)
{
    std::string text;
    std::size_t kept = 0;
    for (int c = 0; c < line.size(); ++c) {
        const CharData& cell = line.cells[static_cast<std::size_t>(c)];
        if (cell.width == 0)
            continue;
        for (const char32_t scalar : line.scalars(c))
            appendUtf8(text, scalar);
        if (cell.character != U' ')
            kept = text.size();
    }
    text.resize(kept);
    return text;
}

namespace {
std::vector<std::string> linesFrom(const Terminal& terminal, int first)
{
    const Buffer& buffer = terminal.buffer();
    std::vector<std::string> lines;
    lines.reserve(static_cast<std::size_t>(terminal.rows()));
    for (int r = 0; r < terminal.rows(); ++r) {
        const BufferLine* line = buffer.lines[first + r];
        lines.push_back(line ? lineText(*line) : std::string());
    }
    return lines;
}
} // namespace

std::vector<std::string> visibleLines(const Terminal& terminal)
{
    return linesFrom(terminal, terminal.buffer().yDisp);
}

std::vector<std::string> screenLines(const Terminal& terminal)
{
    return linesFrom(terminal, terminal.buffer().yBase);
}

} // namespace orva
