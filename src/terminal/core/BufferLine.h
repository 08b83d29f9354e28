#pragma once

#include "terminal/core/CharData.h"

#include <algorithm>
#include <vector>

namespace orva {

// One row of cells. Lines live in the buffer's ring behind pointers, so
// scrolling moves line objects, never cells.
class BufferLine {
public:
    std::vector<CharData> cells;
    // True when this line continues the one above because output wrapped at the
    // right margin.
    bool isWrapped = false;

    explicit BufferLine(int cols, const CharAttribute& attribute = CharAttribute::defaultAttribute)
        : cells(static_cast<std::size_t>(std::max(cols, 0)), CharData{U' ', attribute, 1})
    {
    }

    int size() const { return static_cast<int>(cells.size()); }

    // Column c, or the blank cell outside the line.
    const CharData& operator[](int c) const;
    const CharData& at(int c) const { return (*this)[c]; }
    // Writes column c; ignored outside the line.
    void set(int c, const CharData& cell);

    // Cuts the line to `cols` cells or pads it with copies of `fill`.
    void resize(int cols, const CharData& fillCell = CharData::blank)
    {
        cells.resize(static_cast<std::size_t>(std::max(cols, 0)), fillCell);
    }

    // Writes `cell` into columns start ..< e, where e is the line's length when
    // toEnd is true and min(length, end) otherwise.
    void fill(int start, int end, bool toEnd, const CharData& cell)
    {
        const int e = toEnd ? size() : std::min(size(), end);
        const int s = std::max(start, 0);
        if (e <= s)
            return;
        std::fill(cells.begin() + s, cells.begin() + e, cell);
    }

    // Makes the line `cols` blank cells, not wrapped (reusing its storage).
    void reset(int cols)
    {
        cells.assign(static_cast<std::size_t>(std::max(cols, 0)), CharData::blank);
        isWrapped = false;
    }

    // Turns the halves of wide characters in columns from...to (inclusive) that
    // lost their partner into blanks: a placeholder with no wide character on
    // its left, and a wide character followed by something other than its
    // placeholder. A wide character in the last column is left as it is.
    void repairWide(int from, int to)
    {
        const int n = size();
        from = std::max(from, 0);
        to = std::min(to, n - 1);
        for (int c = from; c <= to; ++c) {
            CharData& cell = cells[static_cast<std::size_t>(c)];
            if (cell.width == 0) {
                if (c == 0 || cells[static_cast<std::size_t>(c - 1)].width != 2)
                    cell = CharData::blank;
            } else if (cell.width == 2) {
                if (c + 1 < n && cells[static_cast<std::size_t>(c + 1)].width != 0)
                    cell = CharData::blank;
            }
        }
    }
};

} // namespace orva
