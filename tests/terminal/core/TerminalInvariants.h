#pragma once

// Structural checks of a terminal's state that must hold after any input.
// Shared by the unit tests and the fuzz target.

#include "terminal/core/CharacterProperties.h"
#include "terminal/core/Terminal.h"

#include <string>

namespace orva::test {

inline std::string checkBuffer(const Buffer& b, int cols, int rows, const char* which, bool cells, bool contents)
{
    const auto fail = [which](const std::string& what) { return std::string(which) + ": " + what; };
    if (b.cols != cols || b.rows != rows)
        return fail("size differs from the terminal's");
    if (b.x < 0 || b.x > cols)
        return fail("cursor column " + std::to_string(b.x) + " outside 0..." + std::to_string(cols));
    if (b.y < 0 || b.y >= rows)
        return fail("cursor row " + std::to_string(b.y) + " outside the screen");
    if (b.scrollTop < 0 || b.scrollTop > b.scrollBottom || b.scrollBottom >= rows)
        return fail("invalid scroll region");
    const int count = b.lines.count();
    if (count > b.lines.maxLength())
        return fail("count above capacity");
    if (count < rows || b.yBase < 0 || b.yBase + rows != count)
        return fail("the ring does not end with the screen (count " + std::to_string(count) + ", yBase "
                    + std::to_string(b.yBase) + ")");
    if (b.yDisp < 0 || b.yDisp > b.yBase)
        return fail("yDisp outside 0...yBase");
    if (static_cast<int>(b.tabStops.size()) != cols)
        return fail("tab stops not cols long");
    for (int i = 0; i < count; ++i) {
        const BufferLine* line = b.lines[i];
        if (!line)
            return fail("missing line " + std::to_string(i));
        if (line->size() != cols)
            return fail("line " + std::to_string(i) + " is " + std::to_string(line->size()) + " wide");
        if (line->clusterStoreSize() > BufferLine::clusterStoreLimit(cols))
            return fail("cluster store of line " + std::to_string(i) + " past its limit");
        if (!cells)
            continue;
        for (int c = 0; c < cols; ++c) {
            const CharData& cell = line->cells[static_cast<std::size_t>(c)];
            // Built only for a failure: every cell of every line is checked.
            const auto where = [i, c] { return ", line " + std::to_string(i) + " col " + std::to_string(c); };
            if (cell.width < 0 || cell.width > 2)
                return fail("bad width" + where());
            if (cell.width == 0 && (c == 0 || line->cells[static_cast<std::size_t>(c - 1)].width != 2))
                return fail("placeholder without its wide character" + where());
            // So no character reaches past the end of its line.
            if (cell.width == 2 && (c + 1 >= cols || line->cells[static_cast<std::size_t>(c + 1)].width != 0))
                return fail("wide character without its placeholder" + where());
            if (!contents)
                continue;
            const std::u32string_view scalars = line->scalars(c);
            if (cell.width == 0) {
                if (cell.character != U' ')
                    return fail("placeholder holding a character" + where());
                continue;
            }
            if (scalars.empty() || scalars.size() > static_cast<std::size_t>(BufferLine::maxClusterScalars))
                return fail("cluster of " + std::to_string(scalars.size()) + " scalars" + where());
            for (const char32_t scalar : scalars) {
                if (scalar > 0x10FFFF || (scalar >= 0xD800 && scalar <= 0xDFFF))
                    return fail("cell holding a value that is no scalar" + where());
            }
            // A cell is as wide as its first scalar, or two columns when a
            // second regional indicator or a spacing mark widened it.
            const int first = characterColumns(scalars[0]);
            if (first == 2 ? cell.width != 2 : (cell.width == 2 && scalars.size() < 2))
                return fail("cell width " + std::to_string(cell.width) + " for its scalars" + where());
        }
    }
    return {};
}

// Empty when every invariant holds, else a description of the first broken one.
// With `cells` false the per-cell checks are skipped; with `contents` false
// only the widths of the cells are checked, not the scalars they hold.
inline std::string checkInvariants(const Terminal& t, bool cells = true, bool contents = true)
{
    if (t.cols() < 1 || t.rows() < 1)
        return "size below 1";
    if (t.isAlternateBuffer() != (t.alternateBuffer() != nullptr))
        return "alternate-screen flag and saved buffer disagree";
    if (std::string e = checkBuffer(t.buffer(), t.cols(), t.rows(), "screen", cells, contents); !e.empty())
        return e;
    if (const Buffer* main = t.alternateBuffer()) {
        if (std::string e = checkBuffer(*main, t.cols(), t.rows(), "saved main screen", cells, contents); !e.empty())
            return e;
    }
    if (t.csiParams().size() > static_cast<std::size_t>(Terminal::maxCsiParams))
        return "too many CSI parameters kept";
    if (t.csiIntermediate().size() > static_cast<std::size_t>(Terminal::maxCsiIntermediates))
        return "too many CSI intermediates kept";
    if (t.oscString().size() > static_cast<std::size_t>(Terminal::maxOscLength))
        return "OSC string above its cap";
    if (t.controlString().size() > static_cast<std::size_t>(Terminal::maxOscLength))
        return "control string above its cap";
    return {};
}

} // namespace orva::test
