#pragma once

#include "terminal/core/BufferLine.h"
#include "terminal/core/CharData.h"
#include "terminal/core/CircularList.h"

#include <memory>
#include <vector>

namespace orva {

// A cursor saved by ESC 7 and the private modes 1048/1049.
struct SavedCursor {
    int x = 0;
    int y = 0;
    CharAttribute attribute;
    bool originMode = false;
    bool wraparound = true;

    static const SavedCursor initial;

    bool operator==(const SavedCursor&) const = default;
};

inline const SavedCursor SavedCursor::initial{};

// One screen with its scroll-back. Screen row r is lines[yBase + r]; the view
// shows from lines[yDisp] and follows the output while yDisp equals yBase.
class Buffer {
public:
    Buffer(int cols, int rows, int scrollback);

    Buffer(const Buffer&) = delete;
    Buffer& operator=(const Buffer&) = delete;

    CircularList<BufferLine> lines;
    int cols;
    int rows;
    // Cursor column; equals cols after the last column was written (pending wrap).
    int x = 0;
    // Cursor row, relative to the screen.
    int y = 0;
    int scrollTop = 0;
    int scrollBottom;
    int yDisp = 0;
    int yBase = 0;
    std::vector<bool> tabStops;
    SavedCursor savedCursor;

    // Scroll-back lines this buffer was created with.
    int scrollback() const { return m_scrollback; }

    void setupTabStops();

    // Screen row r, or nullptr when it is outside the ring.
    BufferLine* line(int r) const { return lines[yBase + r]; }

    // Resizes every line and the screen (both at least 1; the caller checks).
    // Fewer rows drop the rows below the cursor first, then move rows from the
    // top into the scroll-back; more rows bring lines back from the
    // scroll-back first, then add blank lines. The ring always ends with the
    // screen: its count is yBase + rows.
    void resize(int newCols, int newRows);

    // Resets the ring to `rows` blank lines, with the cursor, yBase and yDisp at
    // 0. The scroll region, tab stops and saved cursor stay.
    void clear();

    // Scrolls the region up / down by n lines. With the region covering the whole
    // screen, scrolling up pushes a new line at the end of the ring (the top line
    // becomes scroll-back) and puts yBase and yDisp at the end.
    void scrollUp(int n);
    void scrollDown(int n);

    // Inserts / deletes n lines at the cursor row inside the scroll region; the
    // lines pushed past the region's bottom are discarded. Nothing unless the
    // cursor row is inside the region.
    void insertLines(int n);
    void deleteLines(int n);

    void saveCursor(const CharAttribute& attribute, bool originMode, bool wraparound);
    // Restores the cursor position (clamped to the screen) and returns the whole
    // saved record, whose attribute and mode flags the caller applies.
    SavedCursor restoreCursor();

    // The first tab stop right of x, limited to cols - 1.
    int nextTabStop() const;

private:
    enum class ShiftDirection { up, down };
    // Moves the lines of screen rows firstRow..lastRow n places up or down,
    // blanking the lines that come in; what leaves the range is discarded.
    void shiftRows(int firstRow, int lastRow, int n, ShiftDirection direction);
    std::unique_ptr<BufferLine> newBlankLine(int cols);

    int m_scrollback;
    // A line object kept from an eviction, reused by the next push.
    std::unique_ptr<BufferLine> m_spare;
};

} // namespace orva
