#pragma once

// Plain-text views of the grid, for tools and tests that compare screens.

#include <string>
#include <vector>

namespace orva {

class BufferLine;
class Terminal;

// The line's characters as UTF-8 (each cell's whole cluster), placeholder
// cells skipped, trailing blanks removed.
std::string lineText(const BufferLine& line);

// The rows the view shows (from yDisp), one text per row as lineText() gives it;
// an absent row is an empty text.
std::vector<std::string> visibleLines(const Terminal& terminal);

// The rows of the live screen (from yBase), wherever the view is scrolled to.
std::vector<std::string> screenLines(const Terminal& terminal);

} // namespace orva
