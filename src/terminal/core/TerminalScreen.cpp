// The actions of the terminal that change the screen: printing, controls,
// erasing, cursor movement, the scroll region, modes, graphic rendition,
// resizing and reset.

#include "terminal/core/Terminal.h"

#include "terminal/core/CharacterProperties.h"

#include <algorithm>

namespace orva {

namespace {

// min(value, limit) for a count that may be anywhere in the 64-bit range,
// narrowed only after the comparison.
int clampCount(std::int64_t value, int limit)
{
    if (value < 1)
        return 1;
    return value > limit ? limit : static_cast<int>(value);
}

// base + n, limited to `limit`, without overflow (n ≥ 0).
int addClamped(int base, std::int64_t n, int limit)
{
    if (n >= static_cast<std::int64_t>(limit) - base)
        return limit;
    return base + static_cast<int>(n);
}

// base - n, limited below by `floor`, without overflow (n ≥ 0).
int subtractClamped(int base, std::int64_t n, int floor)
{
    if (n >= static_cast<std::int64_t>(base) - floor)
        return floor;
    return base - static_cast<int>(n);
}

// The cells an insert, delete or erase of n characters at the cursor acts on:
// the cursor's line, the first column (the cursor, kept inside the line) and
// the count, at least 1 and at most what is left of the line.
struct CharacterSpan {
    BufferLine* line;
    int column;
    int count;
};

std::optional<CharacterSpan> characterSpanAtCursor(Buffer& b, std::int64_t n)
{
    BufferLine* line = b.line(b.y);
    if (!line)
        return std::nullopt;
    const int c = std::min(b.x, line->size() - 1);
    if (c < 0)
        return std::nullopt;
    return CharacterSpan{line, c, clampCount(n, line->size() - c)};
}

} // namespace

std::optional<std::pair<int, int>> Terminal::takeDirtyRange()
{
    if (m_refreshEnd < m_refreshStart)
        return std::nullopt;
    std::pair<int, int> range{m_refreshStart, m_refreshEnd};
    clearDirtyRange();
    return range;
}

void Terminal::clearDirtyRange()
{
    m_refreshStart = INT_MAX;
    m_refreshEnd = 0;
}

// ---- Printing ----

void Terminal::printCharacter(char32_t ch)
{
    if (ch > 0x10FFFF)
        return;
    const std::uint8_t properties = characterProperties(ch);
    const int width = properties & characterColumnsMask;
    if (width == 0
        || (properties & (characterSpacingMark | characterPictographic | characterRegionalIndicator)) != 0) {
        if (!m_lastPrintedDropped && joinPreviousCell(ch, properties))
            return;
        // A mark with nothing before it on the line is dropped.
        if (width == 0)
            return;
    }
    // The common case in one go (what writeCell() does when the character
    // fits on the cursor's line outside insert mode): most text of scripts
    // other than Latin, Hangul among it, comes this way.
    Buffer& b = *m_buffer;
    BufferLine* line = b.x + width <= m_cols && !m_modes.insertMode ? b.line(b.y) : nullptr;
    if (!line || line->size() != m_cols) {
        writeCell(std::u32string_view(&ch, 1), width);
        return;
    }
    const int x0 = b.x;
    CharData* cells = line->cells.data() + x0;
    const bool repair = cells[0].width != 1 || (width == 2 && cells[1].width != 1);
    cells[0].character = ch;
    cells[0].attribute = m_currentAttribute;
    cells[0].width = static_cast<std::int8_t>(width);
    if (width == 2) {
        cells[1].character = U' ';
        cells[1].attribute = m_currentAttribute;
        cells[1].width = 0;
    }
    b.x = x0 + width;
    if (repair)
        line->repairWide(x0 - 1, x0 + 2);
    m_lastPrinted[0] = ch;
    m_lastPrintedCount = 1;
    m_lastPrintedWidth = width;
    m_lastPrintedDropped = false;
    markDirty(b.y);
}

bool Terminal::joinPreviousCell(char32_t ch, std::uint8_t properties)
{
    Buffer& b = *m_buffer;
    BufferLine* line = b.line(b.y);
    if (!line)
        return false;
    auto& cells = line->cells;
    // The cell left of the cursor: the last column while a wrap is pending,
    // and a wide character when the cursor stands after its placeholder.
    int c = std::min(b.x, line->size()) - 1;
    if (c < 0)
        return false;
    if (cells[static_cast<std::size_t>(c)].width == 0) {
        if (c == 0 || cells[static_cast<std::size_t>(c - 1)].width != 2)
            return false;
        --c;
    }
    const int width = properties & characterColumnsMask;
    const std::u32string_view previous = line->scalars(c);
    if (previous.empty())
        return false;
    bool widen = false;
    if (width == 0) {
        // Joined, or dropped when the cell is full.
        line->appendScalar(c, ch);
        rememberPrinted(*line, c);
        markDirty(b.y);
        return true;
    }
    if ((properties & characterPictographic) && previous.back() == U'\u200D') {
        // The next part of an emoji sequence.
        if (line->appendScalar(c, ch)) {
            rememberPrinted(*line, c);
            markDirty(b.y);
            return true;
        }
        return false;
    }
    const CharData& cell = cells[static_cast<std::size_t>(c)];
    if (properties & characterRegionalIndicator) {
        // A second indicator after a lone one makes a flag.
        widen = width == 1 && cell.width == 1 && previous.size() == 1
            && (characterProperties(previous[0]) & characterRegionalIndicator);
    } else if (properties & characterSpacingMark) {
        // A spacing mark joins a one-column cell and takes its own column in it.
        widen = width == 1 && cell.width == 1;
    }
    // The cell grows into the column at the cursor, which must be on this line.
    if (!widen || c + 1 != b.x || b.x >= line->size())
        return false;
    if (!line->appendScalar(c, ch))
        return false;
    const int x0 = b.x;
    if (m_modes.insertMode) {
        for (int k = line->size() - 1; k > x0; --k)
            cells[static_cast<std::size_t>(k)] = cells[static_cast<std::size_t>(k - 1)];
        if (cells.back().width == 2 && line->size() - 1 > x0)
            cells.back() = CharData::blank;
    }
    CharData& grown = cells[static_cast<std::size_t>(c)];
    grown.width = 2;
    cells[static_cast<std::size_t>(x0)] = CharData{U' ', grown.attribute, 0};
    line->repairWide(x0 + 1, x0 + 1);
    b.x = x0 + 1;
    rememberPrinted(*line, c);
    markDirty(b.y);
    return true;
}

void Terminal::rememberPrinted(const BufferLine& line, int c)
{
    const std::u32string_view scalars = line.scalars(c);
    m_lastPrintedCount = static_cast<int>(std::min(scalars.size(), m_lastPrinted.size()));
    std::copy_n(scalars.begin(), m_lastPrintedCount, m_lastPrinted.begin());
    m_lastPrintedWidth = std::max<int>(line[c].width, 1);
}

void Terminal::writeCell(std::u32string_view scalars, int width)
{
    if (scalars.size() == 1) {
        m_lastPrinted[0] = scalars[0];
        m_lastPrintedCount = 1;
    } else {
        const std::size_t count = std::min(scalars.size(), m_lastPrinted.size());
        std::copy_n(scalars.begin(), count, m_lastPrinted.begin());
        m_lastPrintedCount = static_cast<int>(count);
    }
    m_lastPrintedWidth = width;
    Buffer& b = *m_buffer;
    const bool wide = width == 2;

    // Pending wrap.
    if (b.x >= m_cols) {
        if (m_modes.wraparound) {
            b.x = 0;
            lineFeed();
            if (BufferLine* line = b.line(b.y))
                line->isWrapped = true;
        } else {
            b.x = m_cols - 1;
        }
    }

    // A wide character does not fit in the last column: with wraparound on it
    // blanks that column and moves to the next line; where it can never have
    // its second column (wraparound off, a grid of one column) it is not
    // written, as in tmux.
    m_lastPrintedDropped = false;
    if (wide && b.x >= m_cols - 1) {
        if (!m_modes.wraparound || m_cols < 2) {
            m_lastPrintedDropped = true;
            return;
        }
        if (BufferLine* line = b.line(b.y)) {
            line->set(b.x, CharData::blank);
            line->repairWide(b.x - 1, b.x);
        }
        b.x = 0;
        lineFeed();
    }

    BufferLine* line = b.line(b.y);
    if (!line || b.x >= line->size())
        return;

    const int x0 = b.x;
    bool repair = false;
    if (m_modes.insertMode) {
        auto& cells = line->cells;
        for (int c = line->size() - 1; c > x0; --c)
            cells[static_cast<std::size_t>(c)] = cells[static_cast<std::size_t>(c - 1)];
        // A wide character shifted into the last column lost its placeholder.
        if (cells.back().width == 2 && line->size() - 1 > x0)
            cells.back() = CharData::blank;
        repair = true;
    }

    const char32_t character = scalars.size() == 1 ? scalars[0] : line->storeCluster(scalars);
    CharData& cell = line->cells[static_cast<std::size_t>(x0)];
    repair = repair || cell.width != 1;
    // Field by field: building a whole cell value first costs a stalled copy.
    cell.character = character;
    cell.attribute = m_currentAttribute;
    cell.width = static_cast<std::int8_t>(width);
    b.x += 1;
    if (wide && b.x < line->size()) {
        CharData& right = line->cells[static_cast<std::size_t>(b.x)];
        repair = repair || right.width != 1;
        right.character = U' ';
        right.attribute = m_currentAttribute;
        right.width = 0;
        b.x += 1;
    }
    if (repair)
        line->repairWide(x0 - 1, x0 + 2);
    markDirty(b.y);
}

void Terminal::printAscii(const std::uint8_t* data, std::size_t size)
{
    Buffer& b = *m_buffer;
    while (size > 0) {
        BufferLine* line = b.x < m_cols && !m_modes.insertMode ? b.line(b.y) : nullptr;
        if (!line || line->size() != m_cols) {
            // Wrapping, insert mode or a missing line: one character the long way.
            printCharacter(*data);
            ++data;
            --size;
            continue;
        }
        const int x0 = b.x;
        const int k = static_cast<int>(std::min<std::size_t>(size, static_cast<std::size_t>(m_cols - x0)));
        CharData* cells = line->cells.data() + x0;
        const bool repair = cells[0].width != 1 || cells[k - 1].width != 1;
        const CharAttribute attribute = m_currentAttribute;
        CharData cell{U' ', attribute, 1};
        for (int i = 0; i < k; ++i) {
            cell.character = data[i];
            cells[i] = cell;
        }
        if (repair)
            line->repairWide(x0 - 1, x0 + k);
        m_lastPrinted[0] = data[k - 1];
        m_lastPrintedCount = 1;
        m_lastPrintedWidth = 1;
        m_lastPrintedDropped = false;
        b.x = x0 + k;
        markDirty(b.y);
        data += k;
        size -= static_cast<std::size_t>(k);
    }
}

void Terminal::repeatPrecedingCharacter(std::int64_t n)
{
    if (m_lastPrintedCount == 0)
        return;
    // More repetitions than the screen holds only push blank history.
    const std::int64_t screen = static_cast<std::int64_t>(m_cols) * m_rows;
    std::int64_t count = std::clamp<std::int64_t>(n, 1, screen);
    // A copy: writing a cell remembers it anew.
    const std::array<char32_t, BufferLine::maxClusterScalars> scalars = m_lastPrinted;
    const std::u32string_view cluster(scalars.data(), static_cast<std::size_t>(m_lastPrintedCount));
    const int width = m_lastPrintedWidth;
    const bool wide = width == 2;
    Buffer& b = *m_buffer;
    // The characters go on a line in one fill, with the result printing them
    // one by one gives; wrapping, insert mode and the margins take the long way.
    while (count > 0) {
        if (!m_modes.wraparound && b.x + width > m_cols) {
            // Every further one overwrites the last column.
            writeCell(cluster, width);
            break;
        }
        BufferLine* line = !m_modes.insertMode && b.x + width <= m_cols ? b.line(b.y) : nullptr;
        if (!line || line->size() != m_cols) {
            writeCell(cluster, width);
            --count;
            continue;
        }
        const int x0 = b.x;
        const int k = static_cast<int>(std::min<std::int64_t>(count, (m_cols - x0) / width));
        CharData* cells = line->cells.data() + x0;
        const int end = x0 + k * width;
        const bool repair = cells[0].width != 1 || line->cells[static_cast<std::size_t>(end - 1)].width != 1;
        const char32_t character = cluster.size() == 1 ? cluster[0] : line->storeCluster(cluster);
        const CharData cell{character, m_currentAttribute, static_cast<std::int8_t>(width)};
        const CharData placeholder{U' ', m_currentAttribute, 0};
        if (wide) {
            for (int i = 0; i < k; ++i) {
                cells[2 * i] = cell;
                cells[2 * i + 1] = placeholder;
            }
        } else {
            std::fill_n(cells, k, cell);
        }
        if (repair)
            line->repairWide(x0 - 1, end);
        b.x = end;
        m_lastPrintedDropped = false;
        markDirty(b.y);
        count -= k;
    }
}

// ---- Controls ----

void Terminal::executeControl(std::uint8_t byte)
{
    Buffer& b = *m_buffer;
    switch (byte) {
    case 0x07:
        if (m_delegate)
            m_delegate->bell();
        break;
    case 0x08:
        if (b.x >= 1)
            b.x -= 1;
        break;
    case 0x09:
        b.x = b.nextTabStop();
        break;
    case 0x0A:
    case 0x0B:
    case 0x0C:
        lineFeed();
        if (m_modes.lineFeedMode)
            b.x = 0;
        break;
    case 0x0D:
        b.x = 0;
        break;
    default:
        break;
    }
}

void Terminal::lineFeed()
{
    Buffer& b = *m_buffer;
    if (b.y == b.scrollBottom) {
        b.scrollUp(1);
        markAllDirty();
    } else if (b.y < m_rows - 1) {
        b.y += 1;
        markDirty(b.y);
    }
}

void Terminal::reverseIndex()
{
    Buffer& b = *m_buffer;
    if (b.y == b.scrollTop) {
        b.scrollDown(1);
        markAllDirty();
    } else if (b.y >= 1) {
        b.y -= 1;
        markDirty(b.y);
    }
}

// ---- Erasing ----

void Terminal::eraseInLine(std::int64_t mode)
{
    Buffer& b = *m_buffer;
    BufferLine* line = b.line(b.y);
    if (!line)
        return;
    int start = 0;
    int end = 0;
    switch (mode) {
    case 0:
        start = b.x;
        end = line->size();
        break;
    case 1:
        start = 0;
        end = b.x + 1;
        break;
    case 2:
        start = 0;
        end = line->size();
        break;
    default:
        break;
    }
    if (end > start) {
        line->fill(start, end, false, CharData::blank);
        line->repairWide(start - 1, start - 1);
        line->repairWide(end, end);
    }
    markDirty(b.y);
}

void Terminal::blankScreen()
{
    Buffer& b = *m_buffer;
    for (int r = 0; r < m_rows; ++r) {
        if (BufferLine* line = b.line(r)) {
            line->fill(0, 0, true, CharData::blank);
            markDirty(r);
        }
    }
}

void Terminal::eraseInDisplay(std::int64_t mode)
{
    Buffer& b = *m_buffer;
    switch (mode) {
    case 0:
        eraseInLine(0);
        for (int r = b.y + 1; r < m_rows; ++r) {
            if (BufferLine* line = b.line(r)) {
                line->fill(0, 0, true, CharData::blank);
                markDirty(r);
            }
        }
        break;
    case 1:
        for (int r = 0; r < b.y; ++r) {
            if (BufferLine* line = b.line(r)) {
                line->fill(0, 0, true, CharData::blank);
                markDirty(r);
            }
        }
        eraseInLine(1);
        break;
    case 2:
        blankScreen();
        break;
    case 3:
        b.clear();
        markAllDirty();
        break;
    default:
        break;
    }
}

void Terminal::insertCharacters(std::int64_t n)
{
    const auto span = characterSpanAtCursor(*m_buffer, n);
    if (!span)
        return;
    const auto [line, c, k] = *span;
    auto& cells = line->cells;
    const int size = line->size();
    std::move_backward(cells.begin() + c, cells.end() - k, cells.end());
    std::fill(cells.begin() + c, cells.begin() + c + k, CharData::blank);
    if (cells.back().width == 2 && size - 1 >= c + k)
        cells.back() = CharData::blank;
    line->repairWide(c - 1, c);
    line->repairWide(c + k, c + k);
    markDirty(m_buffer->y);
}

void Terminal::deleteCharacters(std::int64_t n)
{
    const auto span = characterSpanAtCursor(*m_buffer, n);
    if (!span)
        return;
    const auto [line, c, k] = *span;
    auto& cells = line->cells;
    const int size = line->size();
    std::move(cells.begin() + c + k, cells.end(), cells.begin() + c);
    std::fill(cells.end() - k, cells.end(), CharData::blank);
    line->repairWide(c - 1, c);
    line->repairWide(size - k - 1, size - k);
    markDirty(m_buffer->y);
}

void Terminal::eraseCharacters(std::int64_t n)
{
    const auto span = characterSpanAtCursor(*m_buffer, n);
    if (!span)
        return;
    const auto [line, c, k] = *span;
    line->fill(c, c + k, false, CharData::blank);
    line->repairWide(c - 1, c - 1);
    line->repairWide(c + k, c + k);
    markDirty(m_buffer->y);
}

// ---- Lines and scrolling ----

void Terminal::insertLines(std::int64_t n)
{
    Buffer& b = *m_buffer;
    if (b.y < b.scrollTop || b.y > b.scrollBottom)
        return;
    b.insertLines(clampCount(n, b.scrollBottom - b.y + 1));
    b.x = 0;
    for (int r = b.y; r <= b.scrollBottom; ++r)
        markDirty(r);
}

void Terminal::deleteLines(std::int64_t n)
{
    Buffer& b = *m_buffer;
    if (b.y < b.scrollTop || b.y > b.scrollBottom)
        return;
    b.deleteLines(clampCount(n, b.scrollBottom - b.y + 1));
    b.x = 0;
    for (int r = b.y; r <= b.scrollBottom; ++r)
        markDirty(r);
}

void Terminal::scrollUp(std::int64_t n)
{
    Buffer& b = *m_buffer;
    b.scrollUp(clampCount(n, b.scrollBottom - b.scrollTop + 1));
    markAllDirty();
}

void Terminal::scrollDown(std::int64_t n)
{
    Buffer& b = *m_buffer;
    b.scrollDown(clampCount(n, b.scrollBottom - b.scrollTop + 1));
    markAllDirty();
}

// ---- Cursor ----

void Terminal::cursorUp(std::int64_t n)
{
    Buffer& b = *m_buffer;
    b.y = subtractClamped(b.y, std::max<std::int64_t>(n, 0), b.scrollTop);
    markDirty(b.y);
}

void Terminal::cursorDown(std::int64_t n)
{
    Buffer& b = *m_buffer;
    b.y = addClamped(b.y, std::max<std::int64_t>(n, 0), b.scrollBottom);
    markDirty(b.y);
}

void Terminal::cursorForward(std::int64_t n)
{
    Buffer& b = *m_buffer;
    b.x = addClamped(b.x, std::max<std::int64_t>(n, 0), m_cols - 1);
}

void Terminal::cursorBackward(std::int64_t n)
{
    Buffer& b = *m_buffer;
    b.x = subtractClamped(b.x, std::max<std::int64_t>(n, 0), 0);
}

int Terminal::addressedRow(std::int64_t row) const
{
    // With origin mode on, rows count from the scroll region's top and stay
    // inside the region, as in xterm.
    const Buffer& b = *m_buffer;
    if (m_modes.originMode)
        return b.scrollTop + clampCount(row, b.scrollBottom - b.scrollTop + 1) - 1;
    return clampCount(row, m_rows) - 1;
}

void Terminal::cursorPosition(std::int64_t row, std::int64_t column)
{
    Buffer& b = *m_buffer;
    b.y = addressedRow(row);
    b.x = clampCount(column, m_cols) - 1;
    markDirty(b.y);
}

void Terminal::cursorColumn(std::int64_t column)
{
    m_buffer->x = clampCount(column, m_cols) - 1;
}

void Terminal::cursorRow(std::int64_t row)
{
    m_buffer->y = addressedRow(row);
    markDirty(m_buffer->y);
}

void Terminal::cursorNextLine(std::int64_t n)
{
    cursorDown(n);
    m_buffer->x = 0;
}

void Terminal::cursorPreviousLine(std::int64_t n)
{
    cursorUp(n);
    m_buffer->x = 0;
}

void Terminal::setScrollRegion(std::int64_t top, std::int64_t bottom)
{
    Buffer& b = *m_buffer;
    if (top == 0)
        top = 1;
    // A bottom past the screen is the last row, as in xterm.
    if (bottom == 0 || bottom > m_rows)
        bottom = m_rows;
    if (top < 1 || top >= bottom)
        return;
    b.scrollTop = static_cast<int>(top) - 1;
    b.scrollBottom = static_cast<int>(bottom) - 1;
    b.x = 0;
    b.y = m_modes.originMode ? b.scrollTop : 0;
}

void Terminal::saveCursor()
{
    saveCursorRecord();
}

void Terminal::restoreCursor()
{
    restoreCursorRecord();
}

void Terminal::saveCursorRecord()
{
    m_buffer->saveCursor(m_currentAttribute, m_modes.originMode, m_modes.wraparound);
}

void Terminal::restoreCursorRecord()
{
    const SavedCursor saved = m_buffer->restoreCursor();
    m_currentAttribute = saved.attribute;
    m_modes.originMode = saved.originMode;
    m_modes.wraparound = saved.wraparound;
}

// ---- Modes ----

void Terminal::enterAlternateScreen()
{
    if (m_isAlternateBuffer)
        return;
    m_alternateBuffer = std::move(m_buffer);
    m_buffer = std::make_unique<Buffer>(m_cols, m_rows, 0);
    m_isAlternateBuffer = true;
    markAllDirty();
}

void Terminal::switchToMainBuffer()
{
    if (!m_isAlternateBuffer || !m_alternateBuffer)
        return;
    m_buffer = std::move(m_alternateBuffer);
    m_isAlternateBuffer = false;
    markAllDirty();
}

void Terminal::setMode(std::span<const std::int64_t> params, bool isPrivate, bool enabled)
{
    static constexpr std::int64_t none[] = {0};
    if (params.empty())
        params = none;
    for (const std::int64_t p : params) {
        if (!isPrivate) {
            if (p == 4)
                m_modes.insertMode = enabled;
            else if (p == 20)
                m_modes.lineFeedMode = enabled;
            continue;
        }
        switch (p) {
        case 1:
            m_modes.applicationCursor = enabled;
            break;
        case 6:
            m_modes.originMode = enabled;
            m_buffer->x = 0;
            m_buffer->y = enabled ? m_buffer->scrollTop : 0;
            break;
        case 7:
            m_modes.wraparound = enabled;
            break;
        case 25:
            m_modes.cursorVisible = enabled;
            break;
        case 2004:
            m_modes.bracketedPaste = enabled;
            break;
        case 1047:
            if (enabled)
                enterAlternateScreen();
            else
                switchToMainBuffer();
            break;
        case 1048:
            if (enabled)
                saveCursorRecord();
            else
                restoreCursorRecord();
            break;
        case 1049:
            if (enabled) {
                saveCursorRecord();
                enterAlternateScreen();
                blankScreen();
            } else {
                switchToMainBuffer();
                restoreCursorRecord();
            }
            break;
        default:
            break;
        }
    }
}

// ---- Graphic rendition ----

void Terminal::selectGraphicRendition(std::span<const std::int64_t> params)
{
    CharAttribute& a = m_currentAttribute;
    const std::size_t n = params.size();
    const auto byteValue = [](std::int64_t v, std::uint8_t& out) {
        if (v < 0 || v > 255)
            return false;
        out = static_cast<std::uint8_t>(v);
        return true;
    };
    for (std::size_t i = 0; i < n; ++i) {
        const std::int64_t code = params[i];
        switch (code) {
        case 0:
            a = CharAttribute::defaultAttribute;
            break;
        case 1:
            a.style.insert(CharacterStyle::bold);
            break;
        case 2:
            a.style.insert(CharacterStyle::dim);
            break;
        case 3:
            a.style.insert(CharacterStyle::italic);
            break;
        case 4:
            a.style.insert(CharacterStyle::underline);
            break;
        case 5:
        case 6:
            a.style.insert(CharacterStyle::blink);
            break;
        case 7:
            a.style.insert(CharacterStyle::inverse);
            break;
        case 8:
            a.style.insert(CharacterStyle::invisible);
            break;
        case 9:
            a.style.insert(CharacterStyle::strikethrough);
            break;
        case 21:
            a.style.remove(CharacterStyle::bold);
            break;
        case 22:
            a.style.remove(CharacterStyle::bold | CharacterStyle::dim);
            break;
        case 23:
            a.style.remove(CharacterStyle::italic);
            break;
        case 24:
            a.style.remove(CharacterStyle::underline);
            break;
        case 25:
            a.style.remove(CharacterStyle::blink);
            break;
        case 27:
            a.style.remove(CharacterStyle::inverse);
            break;
        case 28:
            a.style.remove(CharacterStyle::invisible);
            break;
        case 29:
            a.style.remove(CharacterStyle::strikethrough);
            break;
        case 38:
        case 48: {
            TerminalColor& target = code == 38 ? a.foreground : a.background;
            // A value outside 0-255 leaves the colour as it was; its parameters
            // are consumed all the same.
            if (n - i - 1 >= 2 && params[i + 1] == 5) {
                std::uint8_t index = 0;
                if (byteValue(params[i + 2], index))
                    target = TerminalColor::ansi256(index);
                i += 2;
            } else if (n - i - 1 >= 4 && params[i + 1] == 2) {
                std::uint8_t r = 0;
                std::uint8_t g = 0;
                std::uint8_t bl = 0;
                if (byteValue(params[i + 2], r) && byteValue(params[i + 3], g) && byteValue(params[i + 4], bl))
                    target = TerminalColor::trueColor(r, g, bl);
                i += 4;
            }
            break;
        }
        case 39:
            a.foreground = TerminalColor::defaultColor();
            break;
        case 49:
            a.background = TerminalColor::defaultColor();
            break;
        default:
            if (code >= 30 && code <= 37)
                a.foreground = TerminalColor::ansi256(static_cast<std::uint8_t>(code - 30));
            else if (code >= 40 && code <= 47)
                a.background = TerminalColor::ansi256(static_cast<std::uint8_t>(code - 40));
            else if (code >= 90 && code <= 97)
                a.foreground = TerminalColor::ansi256(static_cast<std::uint8_t>(code - 82));
            else if (code >= 100 && code <= 107)
                a.background = TerminalColor::ansi256(static_cast<std::uint8_t>(code - 92));
            break;
        }
    }
}

// ---- Size and reset ----

void Terminal::resize(int cols, int rows)
{
    if (cols < 1 || rows < 1 || (cols == m_cols && rows == m_rows))
        return;
    m_cols = cols;
    m_rows = rows;
    m_buffer->resize(cols, rows);
    if (m_isAlternateBuffer && m_alternateBuffer)
        m_alternateBuffer->resize(cols, rows);
    markAllDirty();
    if (m_delegate)
        m_delegate->sizeChanged(cols, rows);
}

void Terminal::reset()
{
    m_buffer->clear();
    m_currentAttribute = CharAttribute::defaultAttribute;
    m_modes = TerminalModes::defaultModes;
    m_parserState = ParserState::ground;
    m_utf8Length = 0;
    m_utf8Expected = 0;
    m_lastPrintedCount = 0;
    m_lastPrintedDropped = false;
    if (m_isAlternateBuffer)
        switchToMainBuffer();
    markAllDirty();
}

} // namespace orva
