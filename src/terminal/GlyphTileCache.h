#pragma once

// Glyphs already blended onto a background, for the terminal's repaint.
//
// Qt blends some fonts' glyphs (the CFF outlines of the CJK fonts among them)
// with gamma correction, which on a dark background draws them heavier than
// the Latin text beside them; the terminal fills their outlines instead
// (fillGlyphOutline), which costs a path fill per glyph on every draw. A
// glyph's pixels depend only on the glyph, its position within a pixel, its
// colour and the pixels under it; over a plain background they are the same
// every time. So each glyph is drawn once onto its background in a small
// image, cut to the pixels it touches, and later copied. What is copied is
// exactly what the fill drew.

#include <QImage>
#include <QPointF>
#include <QRawFont>
#include <QRect>
#include <QColor>
#include <QRgba64>

#include <cstdint>
#include <optional>
#include <unordered_map>

class QPainter;
class QPainterPath;

namespace orva {

// Fills a glyph's outline (QRawFont::pathForGlyph) at `origin`, antialiased:
// how the terminal draws the glyphs of the fonts it tiles.
void fillGlyphOutline(QPainter& painter, const QPainterPath& outline, QPointF origin, const QColor& color);

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

    // Starts a repaint that may make at most `budget` new ink rectangles and
    // tiles; past that the calls below return none, and the glyph is left to
    // Qt, so a screen of new glyphs does not hold up one frame.
    void beginFrame(int budget) { m_budget = budget; }

    // The device pixels a glyph drawn at `position` may change, from a draw of
    // it in white on black; empty for a glyph that changes none. fontKey
    // names the raw font among the caller's fonts.
    std::optional<QRect> inkRect(const QRawFont& font, int fontKey, quint32 glyph, const Position& position);

    // The glyph in `foreground` blended onto `background` (both opaque), cut
    // to inkRect(); draw it at inkRect().topLeft().
    const QImage* tile(const QRawFont& font, int fontKey, quint32 glyph, const Position& position, const QColor& foreground,
                       const QColor& background);

    // Whether every pixel of `rect` in `image` holds `background` as a fill
    // of it leaves it.
    bool backgroundUnder(const QImage& image, const QRect& rect, const QColor& background);

    // Tiles are made in the format of the image they are copied onto.
    void setFormat(QImage::Format format);
    void clear();

private:
    struct Key {
        quint32 glyph;
        int fontKey;
        int fractionX;
        int fractionY;
        quint64 foreground; // QRgba64: a pen keeps 16 bits per channel
        quint64 background;
        bool operator==(const Key&) const = default;
    };
    struct KeyHash {
        std::size_t operator()(const Key& key) const noexcept;
    };

    QImage drawAlone(const QRawFont& font, quint32 glyph, const Position& position, const QColor& foreground,
                     const QColor& background, int& margin) const;

    QImage::Format m_format = QImage::Format_ARGB32_Premultiplied;
    int m_budget = 0;
    // Ink rectangles relative to the whole-pixel position (colours unused in the key).
    std::unordered_map<Key, QRect, KeyHash> m_ink;
    std::unordered_map<Key, QImage, KeyHash> m_tiles;
    std::unordered_map<quint64, QRgb> m_filledPixels;
};

} // namespace orva
