#include "terminal/core/Buffer.h"

#include <algorithm>

namespace orva {

Buffer::Buffer(int cols_, int rows_, int scrollback)
    : lines(std::max(rows_, 1) + std::max(scrollback, 0))
    , cols(std::max(cols_, 1))
    , rows(std::max(rows_, 1))
    , scrollBottom(rows - 1)
    , m_scrollback(std::max(scrollback, 0))
{
    for (int r = 0; r < rows; ++r)
        lines.push(std::make_unique<BufferLine>(cols));
    setupTabStops();
}

void Buffer::setupTabStops()
{
    tabStops.assign(static_cast<std::size_t>(cols), false);
    for (int c = 0; c < cols; c += 8)
        tabStops[static_cast<std::size_t>(c)] = true;
}

std::unique_ptr<BufferLine> Buffer::newBlankLine(int lineCols)
{
    if (m_spare) {
        std::unique_ptr<BufferLine> line = std::move(m_spare);
        line->reset(lineCols);
        return line;
    }
    return std::make_unique<BufferLine>(lineCols);
}

void Buffer::resize(int newCols, int newRows)
{
    newCols = std::max(newCols, 1);
    newRows = std::max(newRows, 1);

    if (newCols != cols) {
        for (int i = 0; i < lines.count(); ++i) {
            BufferLine* line = lines[i];
            const int oldSize = line->size();
            if (oldSize == newCols)
                continue;
            line->resize(newCols);
            // A wide character whose placeholder was cut off becomes a blank.
            if (newCols < oldSize && line->cells.back().width == 2)
                line->cells.back() = CharData::blank;
        }
    }
    m_spare.reset();

    if (rows > newRows) {
        // Fewer rows: the rows below the cursor go first (they are dropped),
        // then rows from the top move into the scroll-back, so the lines
        // around the cursor stay in view, as in tmux.
        const int shrink = rows - newRows;
        const int below = std::clamp(rows - 1 - y, 0, shrink);
        const int end = yBase + rows;
        if (below > 0 && end <= lines.count())
            lines.splice(end - below, below);
        yBase += shrink - below;
        y -= shrink - below;
    } else if (rows < newRows) {
        // More rows: lines come back from the scroll-back first (the cursor
        // moves down with them), then blank lines are added at the bottom.
        const int grow = newRows - rows;
        const int back = std::min(grow, yBase);
        yBase -= back;
        y += back;
        // A buffer made without room for this many rows (the alternate screen)
        // grows its ring, so every screen row keeps a line.
        if (lines.maxLength() < newRows)
            lines.growMaxLength(newRows + m_scrollback);
        for (int i = lines.count(); i < yBase + newRows; ++i)
            lines.push(std::make_unique<BufferLine>(newCols));
    }

    cols = newCols;
    rows = newRows;
    scrollTop = 0;
    scrollBottom = newRows - 1;
    x = std::min(x, newCols - 1);
    y = std::min(y, newRows - 1);
    yBase = std::min(std::max(0, lines.count() - newRows), yBase);
    yDisp = yBase;
    setupTabStops();
}

void Buffer::clear()
{
    lines.clear();
    for (int r = 0; r < rows; ++r)
        lines.push(std::make_unique<BufferLine>(cols));
    x = 0;
    y = 0;
    yBase = 0;
    yDisp = 0;
}

void Buffer::scrollUp(int n)
{
    if (n <= 0)
        return;
    if (scrollTop == 0 && scrollBottom == rows - 1) {
        for (int i = 0; i < n; ++i) {
            std::unique_ptr<BufferLine> evicted = lines.push(newBlankLine(cols));
            if (evicted)
                m_spare = std::move(evicted);
        }
        yBase = std::max(0, lines.count() - rows);
        yDisp = yBase;
        return;
    }
    shiftRows(scrollTop, scrollBottom, n, ShiftDirection::up);
}

void Buffer::scrollDown(int n)
{
    shiftRows(scrollTop, scrollBottom, n, ShiftDirection::down);
}

void Buffer::insertLines(int n)
{
    if (n <= 0 || y < scrollTop || y > scrollBottom)
        return;
    shiftRows(y, scrollBottom, n, ShiftDirection::down);
}

void Buffer::deleteLines(int n)
{
    if (n <= 0 || y < scrollTop || y > scrollBottom)
        return;
    shiftRows(y, scrollBottom, n, ShiftDirection::up);
}

void Buffer::shiftRows(int firstRow, int lastRow, int n, ShiftDirection direction)
{
    const int first = yBase + firstRow;
    const int last = yBase + lastRow;
    if (n <= 0 || first < 0 || first > last || last >= lines.count())
        return;
    n = std::min(n, lastRow - firstRow + 1);
    for (int i = 0; i < n; ++i) {
        if (direction == ShiftDirection::down) {
            lines.rotateUp(first, last);
            lines[first]->reset(cols);
        } else {
            lines.rotateDown(first, last);
            lines[last]->reset(cols);
        }
    }
}

void Buffer::saveCursor(const CharAttribute& attribute, bool originMode, bool wraparound)
{
    savedCursor = SavedCursor{x, y, attribute, originMode, wraparound};
}

SavedCursor Buffer::restoreCursor()
{
    x = std::clamp(savedCursor.x, 0, cols - 1);
    y = std::clamp(savedCursor.y, 0, rows - 1);
    return savedCursor;
}

int Buffer::nextTabStop() const
{
    for (int c = std::max(x + 1, 0); c < cols; ++c) {
        if (tabStops[static_cast<std::size_t>(c)])
            return c;
    }
    return cols - 1;
}

} // namespace orva
