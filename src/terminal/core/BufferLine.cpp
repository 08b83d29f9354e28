#include "terminal/core/BufferLine.h"

namespace orva {

namespace {

// Marks a store entry already moved by a compaction; the rest is its new place.
constexpr char32_t movedEntry = 0x80000000;

std::size_t clusterPlace(const CharData& cell)
{
    return static_cast<std::size_t>(cell.character & ~CharData::clusterFlag);
}

} // namespace

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

std::u32string_view BufferLine::scalars(int c) const
{
    if (static_cast<std::size_t>(c) >= cells.size())
        return {};
    const CharData& cell = cells[static_cast<std::size_t>(c)];
    if (!cell.isCluster())
        return std::u32string_view(&cell.character, 1);
    const std::size_t place = clusterPlace(cell);
    // A reference the store does not hold (a cell copied in from elsewhere)
    // reads as no scalars rather than past the store.
    if (place >= m_clusters.size() || m_clusters[place] + place >= m_clusters.size())
        return {};
    return std::u32string_view(m_clusters.data() + place + 1, m_clusters[place]);
}

std::string BufferLine::text(int c) const
{
    std::string out;
    for (const char32_t scalar : scalars(c))
        appendUtf8(out, scalar);
    return out;
}

char32_t BufferLine::storeCluster(std::u32string_view text)
{
    if (text.empty())
        return U' ';
    if (text.size() == 1)
        return text[0];
    if (text.size() > static_cast<std::size_t>(maxClusterScalars))
        text = text.substr(0, static_cast<std::size_t>(maxClusterScalars));
    // The text may lie in this store, which a compaction rewrites.
    char32_t copy[maxClusterScalars];
    std::copy(text.begin(), text.end(), copy);
    const std::size_t count = text.size();
    if (!reserveClusterRoom(count + 1))
        return copy[0];
    const std::size_t place = m_clusters.size();
    m_clusters.push_back(static_cast<char32_t>(count));
    m_clusters.insert(m_clusters.end(), copy, copy + count);
    return CharData::clusterFlag | static_cast<char32_t>(place);
}

bool BufferLine::appendScalar(int c, char32_t scalar)
{
    if (static_cast<std::size_t>(c) >= cells.size())
        return false;
    const std::u32string_view current = scalars(c);
    if (current.empty() || current.size() >= static_cast<std::size_t>(maxClusterScalars))
        return false;
    char32_t joined[maxClusterScalars];
    std::copy(current.begin(), current.end(), joined);
    joined[current.size()] = scalar;
    const std::size_t count = current.size() + 1;
    const char32_t character = storeCluster(std::u32string_view(joined, count));
    if (character == joined[0])
        return false;
    cells[static_cast<std::size_t>(c)].character = character;
    return true;
}

bool BufferLine::reserveClusterRoom(std::size_t count)
{
    if (m_clusters.size() + count <= m_compactAt)
        return true;
    if (m_refusalsBeforeCompaction > 0) {
        --m_refusalsBeforeCompaction;
        return false;
    }
    compactClusters();
    if (m_clusters.size() + count > clusterBudget()) {
        m_refusalsBeforeCompaction = cells.size();
        return false;
    }
    m_compactAt = std::max(m_compactAt, m_clusters.size() + count);
    return true;
}

void BufferLine::compactClusters()
{
    std::vector<char32_t> live;
    live.reserve(m_clusters.size() / 2);
    for (CharData& cell : cells) {
        if (!cell.isCluster())
            continue;
        const std::size_t place = clusterPlace(cell);
        if (place >= m_clusters.size()) {
            cell.character = U' ';
            continue;
        }
        const char32_t header = m_clusters[place];
        if (header & movedEntry) {
            // A cell sharing an entry already moved.
            cell.character = CharData::clusterFlag | (header & ~movedEntry);
            continue;
        }
        const std::size_t fresh = live.size();
        live.push_back(header);
        live.insert(live.end(), m_clusters.begin() + static_cast<std::ptrdiff_t>(place + 1),
                    m_clusters.begin() + static_cast<std::ptrdiff_t>(place + 1 + header));
        m_clusters[place] = movedEntry | static_cast<char32_t>(fresh);
        cell.character = CharData::clusterFlag | static_cast<char32_t>(fresh);
    }
    m_clusters = std::move(live);
    // Garbage up to the live size again before the next compaction, so each
    // scan is paid for by as many scalars stored.
    m_compactAt = std::clamp(2 * m_clusters.size(), minimumClusterStore, 2 * clusterBudget());
}

} // namespace orva
