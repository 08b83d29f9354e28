#pragma once

// Draws the visible lines of an emulator's buffer on a fixed-pitch grid with
// any QPainter: the cells' backgrounds, their glyphs (from raw fonts, copied
// from glyph tiles where that draws the same pixels, shaped by Qt's text
// layout for clusters and characters no raw font has), underline and
// strike-through, and the cursor. It keeps the fonts, the caches and the
// working storage of a repaint between repaints; it knows nothing of items,
// windows or input.

#include "terminal/GlyphTileCache.h"
#include "terminal/core/Buffer.h"

#include <QColor>
#include <QFont>
#include <QGlyphRun>
#include <QPainterPath>
#include <QRawFont>
#include <QImage>
#include <QRect>
#include <QRectF>
#include <QSize>
#include <QSizeF>

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

class QPainter;

namespace orva {

// How one cell is drawn.
struct CellDrawAttributes {
    QColor foreground;
    QColor background;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikethrough = false;
};

// The colours the terminal's default foreground and background stand for:
// light grey on black unless the item is given others.
struct TerminalPalette {
    QColor foreground = QColor::fromRgbF(0.9f, 0.9f, 0.9f, 1.0f);
    QColor background = QColor(Qt::black);
};

// Whether the font draws CFF or CFF2 outlines (which Qt blends with gamma
// correction), told from its 'maxp' table alone.
bool hasCffOutlines(const QRawFont& raw);

class TerminalPainter {
public:
    static constexpr int fontPixelSize = 13;
    // How many phase classes, inks and tiles (each a small draw of a glyph)
    // one repaint makes however long they take, and the time it may go on
    // making more; the glyphs left over are drawn by Qt with the rest, and
    // get theirs in the next repaints. A tile is dearer than one glyph drawn
    // by Qt but pays for itself within a few dozen cells, so a repaint makes
    // as many as it has time for.
    static constexpr int leastGlyphWorkPerRepaint = 96;
    static constexpr qint64 glyphWorkBudgetNs = 4'000'000;

    // The terminal's own font: DejaVu Sans Mono, then the other monospace
    // families, at fontPixelSize.
    static QFont defaultFont();

    TerminalPainter();
    TerminalPainter(const TerminalPainter&) = delete;
    TerminalPainter& operator=(const TerminalPainter&) = delete;

    QFont font() const { return m_font; }
    // Takes a new font: the cell size follows it, the caches start afresh.
    void setFont(const QFont& font);
    qreal cellWidth() const { return m_cellWidth; }
    qreal cellHeight() const { return m_cellHeight; }

    CellDrawAttributes attributesForCell(const CharAttribute& attribute, const TerminalPalette& palette) const;

    // The cell the cursor stands on: both columns of a wide character.
    QRectF cursorRect(const Buffer& buffer) const;

    // Draws the buffer's displayed lines (from yDisp) over `size` filled with
    // the palette's background, and the cursor when `cursorVisible` and the
    // buffer shows its live screen.
    void paint(QPainter& painter, const Buffer& buffer, const TerminalPalette& palette, QSizeF size,
               bool cursorVisible);

    // Brings the screen image (pixelSize device pixels, for an item of that
    // size divided by devicePixelRatio) up to date with the buffer: after a
    // change of size, colours or font all of it is painted, otherwise only
    // the rows whose cells or cursor changed and the rows their glyphs reach.
    // Returns the rows whose cells or cursor changed and the rows around
    // them whose pixels changed, in order (all rows when all of it was
    // painted; none when nothing changed).
    const std::vector<int>& paintChanges(const Buffer& buffer, const TerminalPalette& palette, QSize pixelSize,
                                         qreal devicePixelRatio, bool cursorVisible);
    // The picture paintChanges keeps, and the device pixels of one row of it
    // (the first from the top of the image, the last to its bottom).
    const QImage& screen() const { return m_screen; }
    QRect rowPixels(int row) const;

    // Glyph tiles and ink rectangles the last repaint made: 0 once every
    // glyph of the screen is known (for tests and benchmarks).
    int glyphTilesMadeInLastRepaint() const { return m_tiles.madeThisFrame(); }

private:
    struct GlyphSource {
        QRawFont raw;
        // Outlines Qt blends with gamma correction (CFF) are filled instead,
        // in tiles and in order alike.
        GlyphDrawing drawing = GlyphDrawing::glyphRun;
        std::array<quint32, 128> ascii{};
        std::array<bool, 128> asciiKnown{};
        std::unordered_map<char32_t, quint32> other;
    };

    // The colours of a stretch of cells, for the glyphs drawn in them.
    struct GlyphStyle {
        QColor color;
        QColor background;
        quint64 background64 = 0;
        // The tiles of these colours, once asked for in the repaint.
        GlyphTileCache::Colours* colours = nullptr;
    };
    // A glyph one cell draws from a raw font, in drawing order.
    struct GlyphItem {
        quint32 glyph;
        int style; // index into the repaint's styles
        std::int16_t col;
        std::int16_t row;
        std::int8_t span;
        std::int8_t source;
        std::int8_t variant;
        bool ordered; // drawn in order rather than copied from a tile
        bool inkKnown;
        // A glyph whose ink is not known stands near enough to meet this one's.
        bool nearUnknown;
        QRect ink; // device pixels it may change; empty when none or not known
        const GlyphTileCache::Tile* tile;
        std::uint64_t tileKey;
        int fractionX;
        int fractionY;
    };

    // What a screen row shows, to tell whether it changed.
    struct RowState {
        bool present = false;
        std::vector<CharData> cells;
        std::u32string clusters;
        int cursorColumn = -1;
        int cursorSpan = 0;
        bool operator==(const RowState& other) const;
    };
    RowState rowState(const Buffer& buffer, int row, bool cursorShown) const;
    // Where a row's pixels begin in the screen image.
    int rowEdge(int row) const;
    // Paints rows firstRow..lastRow over `fill`, filled with the background.
    void paintRows(QPainter& painter, const Buffer& buffer, const TerminalPalette& palette, QRectF fill,
                   bool cursorVisible, int firstRow, int lastRow);

    void prepareFonts();
    // Glyph of `ch` in variant (bold, italic): source index into m_sources or
    // -1 when no raw font has it.
    int glyphFor(int variant, char32_t ch, quint32& glyph);
    static QColor resolve(const TerminalColor& color, bool isForeground, const TerminalPalette& palette);
    // Whether glyphs may be copied from tiles onto the painter's device, and
    // the whole-pixel offset of its transform.
    bool tileableTarget(QPainter& painter, QPoint& deviceOffset);
    // Finds the glyphs whose ink meets no other glyph's and lies on pixels of
    // their own background, to be copied from tiles; the others are drawn in
    // order.
    void classifyGlyphs(QPoint deviceOffset, const QImage& target, int cols, int rows,
                        const TerminalPalette& palette);
    // A character no raw font has, a grapheme cluster of several scalars, or
    // an emoji (`emoji`: from the colour emoji font first), shaped by Qt's
    // text layout once: glyph runs relative to the baseline at its start.
    const std::vector<QGlyphRun>& shapedCharacter(int variant, std::u32string_view scalars, bool emoji);
    // Outline of a glyph of a filled font, by variant, source and glyph.
    const QPainterPath& glyphOutline(int variant, int source, quint32 glyph);

    QFont m_font;
    qreal m_cellWidth = 0;
    qreal m_cellHeight = 0;
    qreal m_ascent = 0;
    qreal m_underlinePos = 0;
    qreal m_strikeOutPos = 0;
    qreal m_lineWidth = 1;

    // Per font variant (regular, bold, italic, bold italic): the main font and
    // its fallbacks as raw fonts, so glyphs go straight onto the grid.
    std::array<std::vector<GlyphSource>, 4> m_sources;
    std::array<QFont, 4> m_variantFonts;
    // The colour emoji font first, then the terminal's own families.
    QFont m_emojiFont;
    bool m_fontsReady = false;
    int m_fontGeneration = 0;
    GlyphTileCache m_tiles;
    std::unordered_map<std::u32string, std::vector<QGlyphRun>> m_shaped;
    std::unordered_map<std::uint64_t, QPainterPath> m_outlines;

    // The screen image paintChanges keeps, and what it shows.
    QImage m_screen;
    qreal m_devicePixelRatio = 1;
    int m_screenCols = 0;
    TerminalPalette m_screenPalette;
    int m_screenFontGeneration = -1;
    std::vector<RowState> m_rowStates;
    std::vector<int> m_changedRows;
    // The screen image's rows as they were before a repaint, for the rows
    // whose cells did not change (kept between repaints, so that a repaint
    // does not take fresh memory for them). Not cleared when made: only the
    // rows saved are ever read.
    std::unique_ptr<uchar[]> m_rowsBefore;
    std::size_t m_rowsBeforeBytes = 0;

    // A repaint's working lists, kept to save their allocations.
    std::vector<GlyphItem> m_glyphItems;
    std::vector<GlyphStyle> m_glyphStyles;
    std::vector<quint64> m_cellBackgrounds;
    std::vector<int> m_reachHeads;
    std::vector<int> m_colEdges;
    std::vector<int> m_rowEdges;
    std::vector<int> m_cellItems;
    std::vector<int> m_unknownInks;
    std::vector<std::size_t> m_reachingItems;
    // Reaching inks by cell: (item, next in the cell's list).
    std::vector<std::pair<std::size_t, int>> m_reach;
};

} // namespace orva
