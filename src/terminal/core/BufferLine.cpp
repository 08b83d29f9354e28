#include "terminal/core/BufferLine.h"

namespace orva {

const CharData& BufferLine::operator[](int c) const
{
    if (static_cast<std::size_t>(c) < cells.size())
        return cells[static_cast<std::size_t>(c)];
    return CharData::blank;
}

void BufferLine::set(int c, const CharData& cell)
{
    if (static_cast<std::size_t>(c) < cells.size())
        cells[static_cast<std::size_t>(c)] = cell;
}

} // namespace orva
