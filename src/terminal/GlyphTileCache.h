#pragma once

// Glyphs already blended onto a background, for the terminal's repaint.
//
// Qt blends each glyph of a repaint pixel by pixel, through its glyph cache
// and a blend per pixel: most of a full repaint's time. Some fonts' glyphs
// (the CFF outlines of the CJK fonts among them) Qt blends with gamma
// correction, which on a dark background draws them heavier than the Latin
// text beside them; the terminal fills their outlines instead
// (fillGlyphOutline), a path fill per glyph. A glyph's blended pixels depend
// only on the glyph, its position within a pixel, its colour and the pixels
// under it; over a plain background they are the same every time. So each
// glyph is drawn once, as the terminal draws its font, onto its background in
// a small image, cut to the pixels it touches, and later copied straight into
// the painted image. What is copied is exactly what the draw made.

#include <QColor>
#include <QElapsedTimer>
#include <QImage>
#include <QPointF>
#include <QRawFont>
#include <QRect>

#include <cstdint>
#include <memory>
#include <optional>
#include <unordered_map>
#include <vector>

class QPainter;
class QPainterPath;

namespace orva {

// Fills a glyph's outline (QRawFont::pathForGlyph) at `origin`, antialiased:
// how the terminal draws the glyphs of the fonts Qt would blend with gamma
// correction.
void fillGlyphOutline(QPainter& painter, const QPainterPath& outline, QPointF origin, const QColor& color);

// How the terminal draws a font's glyphs: in Qt's glyph runs, or by filling
// their outlines (fillGlyphOutline).
enum class GlyphDrawing : std::uint8_t { glyphRun, filledOutline };

class GlyphTileCache {
public:
    // Whole device pixel of a glyph position and its fraction in 1/65536
    // pixels; none when the position is not on that grid.
    struct Position {
        int x = 0;
        int y = 0;
        int fractionX = 0;
        int fractionY = 0;
    };
    static std::optional<Position> split(QPointF position);

    // A glyph at one position within a pixel: the caller's number of the raw
    // font (0-63), the glyph and the classes of its fractions (phaseClass()).
    static std::uint64_t glyphKey(int fontKey, quint32 glyph, int classX, int classY)
    {
        return (static_cast<std::uint64_t>(fontKey & 63) << 44) | (static_cast<std::uint64_t>(glyph & 0xFFFFFFu) << 20) |
               (static_cast<std::uint64_t>(classX & 1023) << 10) | static_cast<std::uint64_t>(classY & 1023);
    }
    // The class of a fraction of a pixel on an axis (0 for x, 1 for y) for
    // the font, drawn its way (a font is always drawn one way): Qt's glyph
    // runs draw a font at a few positions within a pixel only (four across,
    // two down), so many fractions draw alike; a filled outline moves with
    // every fraction. Two fractions are of one class when a few probe glyphs
    // come out the same at both; -1 past 1024 classes. A fraction keeps its
    // class until clear(). -1 too, for this repaint only, once its budget is
    // spent (see beginFrame()).
    int phaseClass(const QRawFont& font, GlyphDrawing drawing, int fontKey, int axis, int fraction);

    // Pixels of a glyph copied from a tile: the rectangle relative to the
    // glyph's whole-pixel position, and its pixels row by row.
    struct Tile {
        QRect rect;
        std::vector<quint32> pixels;
    };
    // The tiles of one foreground on one background.
    struct Colours;

    // Starts a repaint that may spend `budgetNs` nanoseconds making phase
    // classes, ink rectangles and tiles, and makes at least `least` of them
    // however long they take (so every repaint gets on); past that the calls
    // below return none, and the glyph is drawn in order, so a screen of new
    // glyphs does not hold up one frame, however many columns it has or
    // however busy the machine is: the rest are made by the next repaints.
    void beginFrame(qint64 budgetNs, int least);
    // Phase classes, inks and tiles made since beginFrame().
    int madeThisFrame() const { return m_made; }

    // The device pixels a glyph drawn at the position may change, relative to
    // its whole-pixel position, from a draw of it in white on black; an empty
    // rectangle for a glyph that changes none; null when not known (the
    // frame's budget is spent). The fractions are the position's.
    const QRect* ink(const QRawFont& font, GlyphDrawing drawing, std::uint64_t key, quint32 glyph, int fractionX,
                     int fractionY);

    Colours* colours(const QColor& foreground, const QColor& background);
    // The tile made, or null.
    const Tile* findTile(Colours* colours, std::uint64_t key) const;
    // The glyph in the colours' foreground blended onto their background
    // (both opaque), cut to ink(); null when the budget is spent.
    const Tile* makeTile(Colours* colours, const QRawFont& font, GlyphDrawing drawing, std::uint64_t key,
                         quint32 glyph, int fractionX, int fractionY);

    // Tiles are made in the format of the image they are copied onto (one of
    // 32 bits per pixel).
    void setFormat(QImage::Format format);
    void clear();

private:
    QImage drawAlone(const QRawFont& font, GlyphDrawing drawing, quint32 glyph, int fractionX, int fractionY,
                     const QColor& foreground, const QColor& background, int& margin) const;

    struct KeyHash {
        std::size_t operator()(std::uint64_t key) const noexcept
        {
            const std::uint64_t h = key * 0x9E3779B97F4A7C15ull;
            return static_cast<std::size_t>(h ^ (h >> 29));
        }
    };
    struct ColourKey {
        quint64 foreground;
        quint64 background;
        bool operator==(const ColourKey&) const = default;
    };
    struct ColourKeyHash {
        std::size_t operator()(const ColourKey& key) const noexcept
        {
            const std::uint64_t h = (key.foreground * 0x9E3779B97F4A7C15ull) ^ key.background;
            return static_cast<std::size_t>(h ^ (h >> 31));
        }
    };

    // Whether the repaint may make another phase class, ink or tile.
    bool mayMake() const;

    QImage::Format m_format = QImage::Format_ARGB32_Premultiplied;
    QElapsedTimer m_frameTime;
    qint64 m_budgetNs = 0;
    int m_least = 0;
    int m_made = 0;
    std::size_t m_tileCount = 0;
    struct Phase {
        int fraction;
        std::vector<QImage> probes;
    };
    // Per font and axis: one fraction of each class, with its probes drawn.
    std::unordered_map<int, std::vector<Phase>> m_phases;
    // (font, axis, fraction) to class.
    std::unordered_map<std::uint64_t, int, KeyHash> m_phaseOf;
    std::unordered_map<std::uint64_t, QRect, KeyHash> m_ink;
    std::unordered_map<ColourKey, std::unique_ptr<Colours>, ColourKeyHash> m_colours;
};

struct GlyphTileCache::Colours {
    QColor foreground;
    QColor background;
    std::unordered_map<std::uint64_t, Tile, KeyHash> tiles;
};

} // namespace orva
