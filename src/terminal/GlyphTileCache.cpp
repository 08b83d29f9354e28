#include "terminal/GlyphTileCache.h"

#include <QGlyphRun>
#include <QPainterPath>
#include <QPainter>

#include <cmath>

namespace orva {

namespace {

constexpr double fractionUnits = 65536.0;
// Tiles kept before the cache starts again (a few megabytes).
constexpr std::size_t maximumTiles = 16384;

} // namespace

std::size_t GlyphTileCache::KeyHash::operator()(const Key& key) const noexcept
{
    std::uint64_t h = key.glyph;
    h = h * 0x9E3779B97F4A7C15ull ^ static_cast<std::uint32_t>(key.fontKey);
    h = h * 0x9E3779B97F4A7C15ull ^ static_cast<std::uint32_t>(key.fractionX);
    h = h * 0x9E3779B97F4A7C15ull ^ static_cast<std::uint32_t>(key.fractionY);
    h = h * 0x9E3779B97F4A7C15ull ^ key.foreground;
    h = h * 0x9E3779B97F4A7C15ull ^ key.background;
    h ^= h >> 31;
    return static_cast<std::size_t>(h ^ (h >> 29));
}

std::optional<GlyphTileCache::Position> GlyphTileCache::split(QPointF position)
{
    const double fx = std::floor(position.x());
    const double fy = std::floor(position.y());
    const double unitsX = (position.x() - fx) * fractionUnits;
    const double unitsY = (position.y() - fy) * fractionUnits;
    if (unitsX != std::floor(unitsX) || unitsY != std::floor(unitsY) || std::abs(fx) > 1e6 || std::abs(fy) > 1e6)
        return std::nullopt;
    return Position{static_cast<int>(fx), static_cast<int>(fy), static_cast<int>(unitsX), static_cast<int>(unitsY)};
}

void GlyphTileCache::setFormat(QImage::Format format)
{
    if (format != m_format) {
        m_format = format;
        clear();
    }
}

void GlyphTileCache::clear()
{
    m_ink.clear();
    m_tiles.clear();
    m_filledPixels.clear();
}

bool GlyphTileCache::backgroundUnder(const QImage& image, const QRect& rect, const QColor& background)
{
    if (!image.rect().contains(rect) || image.format() != m_format)
        return false;
    const auto key = static_cast<quint64>(background.rgba64());
    auto it = m_filledPixels.find(key);
    if (it == m_filledPixels.end()) {
        QImage pixel(1, 1, m_format);
        pixel.fill(background);
        it = m_filledPixels.emplace(key, *reinterpret_cast<const QRgb*>(pixel.constScanLine(0))).first;
    }
    const QRgb expected = it->second;
    for (int y = rect.top(); y <= rect.bottom(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = rect.left(); x <= rect.right(); ++x) {
            if (line[x] != expected)
                return false;
        }
    }
    return true;
}

void fillGlyphOutline(QPainter& painter, const QPainterPath& outline, QPointF origin, const QColor& color)
{
    const bool antialiased = painter.testRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.fillPath(outline.translated(origin), color);
    painter.setRenderHint(QPainter::Antialiasing, antialiased);
}

QImage GlyphTileCache::drawAlone(const QRawFont& font, quint32 glyph, const Position& position, const QColor& foreground,
                                 const QColor& background, int& margin) const
{
    margin = static_cast<int>(std::ceil(font.pixelSize() * 2)) + 4;
    QImage image(2 * margin, 2 * margin, m_format);
    image.fill(background);
    QPainter painter(&image);
    fillGlyphOutline(painter, font.pathForGlyph(glyph),
                     QPointF(margin + position.fractionX / fractionUnits, margin + position.fractionY / fractionUnits),
                     foreground);
    painter.end();
    return image;
}

std::optional<QRect> GlyphTileCache::inkRect(const QRawFont& font, int fontKey, quint32 glyph, const Position& position)
{
    const Key key{glyph, fontKey, position.fractionX, position.fractionY, 0, 0};
    auto it = m_ink.find(key);
    if (it == m_ink.end()) {
        if (m_budget <= 0)
            return std::nullopt;
        --m_budget;
        int margin = 0;
        const QImage mask = drawAlone(font, glyph, position, QColor(Qt::white), QColor(Qt::black), margin);
        int left = mask.width(), top = mask.height(), right = -1, bottom = -1;
        for (int y = 0; y < mask.height(); ++y) {
            const auto* line = reinterpret_cast<const QRgb*>(mask.constScanLine(y));
            for (int x = 0; x < mask.width(); ++x) {
                if ((line[x] & 0x00FFFFFFu) != 0) {
                    left = std::min(left, x);
                    right = std::max(right, x);
                    top = std::min(top, y);
                    bottom = std::max(bottom, y);
                }
            }
        }
        QRect rect;
        if (right >= 0) {
            rect = QRect(QPoint(left, top), QPoint(right, bottom)).translated(-margin, -margin);
            // Ink reaching the image's edge may go on beyond it: not known, so
            // marked unusable by a rectangle wider than any cell.
            if (left == 0 || top == 0 || right == mask.width() - 1 || bottom == mask.height() - 1)
                rect = QRect(-margin * 4, -margin * 4, margin * 8, margin * 8);
        }
        if (m_ink.size() >= maximumTiles)
            clear();
        it = m_ink.emplace(key, rect).first;
    }
    return it->second.translated(position.x, position.y);
}

const QImage* GlyphTileCache::tile(const QRawFont& font, int fontKey, quint32 glyph, const Position& position,
                                   const QColor& foreground, const QColor& background)
{
    const Key key{glyph,           fontKey, position.fractionX, position.fractionY, static_cast<quint64>(foreground.rgba64()),
                  static_cast<quint64>(background.rgba64())};
    auto it = m_tiles.find(key);
    if (it == m_tiles.end()) {
        const auto inkOnScreen = inkRect(font, fontKey, glyph, position);
        if (!inkOnScreen || m_budget <= 0)
            return nullptr;
        --m_budget;
        const QRect ink = inkOnScreen->translated(-position.x, -position.y);
        int margin = 0;
        const QImage drawn = drawAlone(font, glyph, position, foreground, background, margin);
        if (m_tiles.size() >= maximumTiles)
            m_tiles.clear();
        it = m_tiles.emplace(key, drawn.copy(ink.translated(margin, margin))).first;
    }
    return &it->second;
}

} // namespace orva
