#include "terminal/GlyphTileCache.h"

#include <QGlyphRun>
#include <QPainterPath>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace orva {

namespace {

constexpr double fractionUnits = 65536.0;
// Tiles and ink rectangles kept before the cache starts again (a few
// megabytes of tiles).
constexpr std::size_t maximumTiles = 16384;
constexpr std::size_t maximumInks = 65536;
constexpr std::size_t maximumFractions = 1024;

} // namespace

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

int GlyphTileCache::phaseClass(const QRawFont& font, GlyphDrawing drawing, int fontKey, int axis, int fraction)
{
    axis = axis == 0 ? 0 : 1;
    const std::uint64_t key = (static_cast<std::uint64_t>(fontKey & 63) << 33) |
                              (static_cast<std::uint64_t>(axis) << 32) | static_cast<std::uint32_t>(fraction);
    const auto known = m_phaseOf.find(key);
    if (known != m_phaseOf.end())
        return known->second;
    if (!mayMake())
        return -1;
    ++m_made;
    // Probes: glyphs with curves and slants, of the ones the font has. A
    // font with none of them gets a class for every fraction.
    std::vector<quint32> glyphs;
    for (const char16_t ch : {u'a', u'W', u'@', u'g', u'\uD55C', u'\uAE00'}) {
        const QChar character(ch);
        quint32 glyph = 0;
        int count = 1;
        if (font.glyphIndexesForChars(&character, 1, &glyph, &count) && count == 1 && glyph != 0)
            glyphs.push_back(glyph);
    }
    std::vector<QImage> probes;
    for (const quint32 glyph : glyphs) {
        int margin = 0;
        probes.push_back(drawAlone(font, drawing, glyph, axis == 0 ? fraction : 0, axis == 1 ? fraction : 0,
                                   QColor(Qt::white), QColor(Qt::black), margin));
    }
    std::vector<Phase>& phases = m_phases[fontKey * 2 + axis];
    int found = -1;
    if (probes.size() >= 2) {
        for (std::size_t i = 0; i < phases.size() && found < 0; ++i) {
            if (phases[i].probes == probes)
                found = static_cast<int>(i);
        }
    }
    if (found < 0) {
        if (phases.size() >= maximumFractions)
            return -1;
        phases.push_back(Phase{fraction, std::move(probes)});
        found = static_cast<int>(phases.size()) - 1;
    }
    m_phaseOf.emplace(key, found);
    return found;
}

void GlyphTileCache::beginFrame(qint64 budgetNs, int least)
{
    m_budgetNs = budgetNs;
    m_least = least;
    m_made = 0;
    m_frameTime.start();
    // Started again between frames only, so what a frame was handed stays.
    if (m_tileCount >= maximumTiles) {
        m_colours.clear();
        m_tileCount = 0;
    }
    if (m_ink.size() >= maximumInks)
        m_ink.clear();
}

bool GlyphTileCache::mayMake() const
{
    return m_made < m_least || m_frameTime.nsecsElapsed() < m_budgetNs;
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
    m_colours.clear();
    m_tileCount = 0;
    m_phases.clear();
    m_phaseOf.clear();
}

void fillGlyphOutline(QPainter& painter, const QPainterPath& outline, QPointF origin, const QColor& color)
{
    const bool antialiased = painter.testRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.fillPath(outline.translated(origin), color);
    painter.setRenderHint(QPainter::Antialiasing, antialiased);
}

QImage GlyphTileCache::drawAlone(const QRawFont& font, GlyphDrawing drawing, quint32 glyph, int fractionX,
                                 int fractionY, const QColor& foreground, const QColor& background, int& margin) const
{
    // Room for any glyph of the size around its origin; one that reaches
    // the edge is not measured (see ink()).
    margin = static_cast<int>(std::ceil(font.pixelSize())) + 4;
    QImage image(2 * margin, 2 * margin, m_format);
    image.fill(background);
    QPainter painter(&image);
    const QPointF origin(margin + fractionX / fractionUnits, margin + fractionY / fractionUnits);
    if (drawing == GlyphDrawing::filledOutline) {
        fillGlyphOutline(painter, font.pathForGlyph(glyph), origin, foreground);
    } else {
        painter.setRenderHint(QPainter::TextAntialiasing, true);
        QGlyphRun run;
        run.setRawFont(font);
        run.setGlyphIndexes({glyph});
        run.setPositions({origin});
        painter.setPen(foreground);
        painter.drawGlyphRun(QPointF(0, 0), run);
    }
    painter.end();
    return image;
}

const QRect* GlyphTileCache::ink(const QRawFont& font, GlyphDrawing drawing, std::uint64_t key, quint32 glyph,
                                 int fractionX, int fractionY)
{
    auto it = m_ink.find(key);
    if (it != m_ink.end())
        return &it->second;
    if (!mayMake())
        return nullptr;
    ++m_made;
    int margin = 0;
    const QImage mask =
        drawAlone(font, drawing, glyph, fractionX, fractionY, QColor(Qt::white), QColor(Qt::black), margin);
    const int width = mask.width();
    const int height = mask.height();
    int left = width, top = height, right = -1, bottom = -1;
    for (int y = 0; y < height; ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(mask.constScanLine(y));
        for (int x = 0; x < width; ++x) {
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
        if (left == 0 || top == 0 || right == width - 1 || bottom == height - 1)
            rect = QRect(-margin * 4, -margin * 4, margin * 8, margin * 8);
    }
    return &m_ink.emplace(key, rect).first->second;
}

GlyphTileCache::Colours* GlyphTileCache::colours(const QColor& foreground, const QColor& background)
{
    const ColourKey key{static_cast<quint64>(foreground.rgba64()), static_cast<quint64>(background.rgba64())};
    auto it = m_colours.find(key);
    if (it == m_colours.end()) {
        auto colours = std::make_unique<Colours>();
        colours->foreground = foreground;
        colours->background = background;
        it = m_colours.emplace(key, std::move(colours)).first;
    }
    return it->second.get();
}

const GlyphTileCache::Tile* GlyphTileCache::findTile(Colours* colours, std::uint64_t key) const
{
    const auto it = colours->tiles.find(key);
    return it == colours->tiles.end() ? nullptr : &it->second;
}

const GlyphTileCache::Tile* GlyphTileCache::makeTile(Colours* colours, const QRawFont& font, GlyphDrawing drawing,
                                                     std::uint64_t key, quint32 glyph, int fractionX, int fractionY)
{
    if (const Tile* made = findTile(colours, key))
        return made;
    const QRect* inkRect = ink(font, drawing, key, glyph, fractionX, fractionY);
    if (!inkRect || !mayMake())
        return nullptr;
    ++m_made;
    int margin = 0;
    const QImage drawn =
        drawAlone(font, drawing, glyph, fractionX, fractionY, colours->foreground, colours->background, margin);
    Tile tile;
    tile.rect = *inkRect;
    const QRect inImage = inkRect->translated(margin, margin);
    if (!QRect(QPoint(0, 0), drawn.size()).contains(inImage))
        return nullptr;
    tile.pixels.reserve(static_cast<std::size_t>(inImage.width()) * static_cast<std::size_t>(inImage.height()));
    for (int y = inImage.top(); y <= inImage.bottom(); ++y) {
        const auto* line = reinterpret_cast<const quint32*>(drawn.constScanLine(y));
        tile.pixels.insert(tile.pixels.end(), line + inImage.left(), line + inImage.left() + inImage.width());
    }
    ++m_tileCount;
    return &colours->tiles.emplace(key, std::move(tile)).first->second;
}

} // namespace orva
