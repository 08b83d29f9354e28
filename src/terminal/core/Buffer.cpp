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
            // A wide character whose placeholder was cut off becomes a blank;
            // one that stood in the old last column without a placeholder gets
            // its placeholder in the first new column.
            if (newCols < oldSize) {
                if (line->cells.back().width == 2)
                    line->cells.back() = CharData::blank;
            } else if (oldSize > 0) {
                const CharData& last = line->cells[static_cast<std::size_t>(oldSize - 1)];
                if (last.width == 2)
                    line->cells[static_cast<std::size_t>(oldSize)] = CharData{U' ', last.attribute, 0};
            }
        }
    }
    m_spare.reset();

    if (rows > newRows) {
        if (y >= newRows) {
            yBase += y - newRows + 1;
            y = newRows - 1;
        }
    } else if (rows < newRows) {
        // A buffer made without room for this many rows (the alternate screen)
        // grows its ring, so every screen row keeps a line.
        if (lines.maxLength() < newRows)
            lines.growMaxLength(newRows + m_scrollback);
        for (int i = rows; i < newRows; ++i)
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
