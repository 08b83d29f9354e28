#pragma once

#include "terminal/core/CharData.h"

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

namespace orva {

// One row of cells. Lines live in the buffer's ring behind pointers, so
// scrolling moves line objects, never cells. A cell that holds a grapheme
// cluster of several scalars refers to them in the line's cluster store; cells
// only move within their line (inserting, deleting, resizing), so the store
// travels with them.
class BufferLine {
public:
    // Scalars one cell keeps; what joins a full cell is dropped.
    static constexpr int maxClusterScalars = 16;

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
        const std::size_t newSize = static_cast<std::size_t>(std::max(cols, 0));
        const bool narrower = newSize < cells.size();
        cells.resize(newSize, fillCell);
        // The clusters of the cells cut off go at once.
        if (narrower && !m_clusters.empty())
            compactClusters();
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
        if (s == 0 && e == size() && !cell.isCluster())
            clearClusters();
    }

    // Makes the line `cols` blank cells, not wrapped (reusing its storage).
    void reset(int cols)
    {
        cells.assign(static_cast<std::size_t>(std::max(cols, 0)), CharData::blank);
        isWrapped = false;
        clearClusters();
    }

    // The scalars of column c's cell: one for a plain cell, the whole cluster
    // for a cluster; empty outside the line.
    std::u32string_view scalars(int c) const;
    // The same as UTF-8 text.
    std::string text(int c) const;

    // The `character` value of a cell holding these scalars (1 to
    // maxClusterScalars) in this line: the scalar itself for one, otherwise a
    // reference to a copy in the line's store. When the store has no room
    // left (a hostile stream of clusters), the first scalar alone.
    char32_t storeCluster(std::u32string_view scalars);
    // Joins a scalar to the end of column c's cell. False, and the cell as it
    // was, when the cell already holds maxClusterScalars scalars or the store
    // has no room left.
    bool appendScalar(int c, char32_t scalar);

    // Turns the halves of wide characters in columns from...to (inclusive) that
    // lost their partner into blanks: a placeholder with no wide character on
    // its left, and a wide character followed by something other than its
    // placeholder (or by the end of the line).
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
                if (c + 1 >= n || cells[static_cast<std::size_t>(c + 1)].width != 0)
                    cell = CharData::blank;
            }
        }
    }

    // Scalars the store holds, those no cell refers to any more included.
    std::size_t clusterStoreSize() const { return m_clusters.size(); }
    // What the store of a line of `cols` cells never grows past.
    static std::size_t clusterStoreLimit(int cols)
    {
        const std::size_t n = static_cast<std::size_t>(std::max(cols, 0));
        return std::max(2 * std::max(minimumClusterStore, 4 * n), n * (maxClusterScalars + 1));
    }

private:
    // Cluster store: at a cluster's place its scalar count, then its scalars.
    // An entry never changes once written (a cluster that grows is written
    // anew, and cells may share one); entries no cell refers to are dropped
    // when the store is compacted. Live entries are limited to about four
    // scalars per column.
    std::vector<char32_t> m_clusters;
    // The store is compacted before it grows past this size.
    std::size_t m_compactAt = minimumClusterStore;
    // Requests refused after a compaction found no room: no further
    // compaction is tried until this many more have been refused, so a
    // stream that keeps the store full costs no scan per scalar.
    std::size_t m_refusalsBeforeCompaction = 0;
    static constexpr std::size_t minimumClusterStore = 64;

    void clearClusters()
    {
        m_clusters.clear();
        m_compactAt = minimumClusterStore;
        m_refusalsBeforeCompaction = 0;
    }
    // Room for `count` more scalars in the store, compacting it first when
    // needed; false when there is none.
    bool reserveClusterRoom(std::size_t count);
    // Drops the entries no cell refers to.
    void compactClusters();
    std::size_t clusterBudget() const { return std::max(minimumClusterStore, cells.size() * 4); }
};

} // namespace orva
