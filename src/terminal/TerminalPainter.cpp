#include "terminal/TerminalPainter.h"

// composedHangul: decomposed Hangul is drawn as the syllable it spells.
#include "terminal/TerminalRendererView.h"
#include "terminal/core/CharacterProperties.h"

#include <QFontMetricsF>
#include <QGlyphRun>
#include <QImage>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>
#include <QTextLayout>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace orva {

namespace {

const std::array<QColor, 256>& paletteColors()
{
    static const std::array<QColor, 256> colors = [] {
        std::array<QColor, 256> result;
        for (int n = 0; n < 256; ++n) {
            const RgbColor c = colorForAnsi256(n);
            result[static_cast<std::size_t>(n)] = QColor::fromRgbF(static_cast<float>(c.red), static_cast<float>(c.green),
                                                                   static_cast<float>(c.blue), static_cast<float>(c.alpha));
        }
        return result;
    }();
    return colors;
}

// Families tried, in order, for characters the main font lacks. The last
// has the symbols no other one draws, such as the "⏵⏵" of claude's footer.
const QStringList& fallbackFamilies()
{
    static const QStringList families{QStringLiteral("Noto Sans Mono CJK KR"), QStringLiteral("Noto Sans CJK KR"),
                                      QStringLiteral("DejaVu Sans"), QStringLiteral("Noto Sans Symbols2")};
    return families;
}

// Copies a tile's rows into an image of 32-bit pixels at `to`.
void copyTile(const GlyphTileCache::Tile& tile, uchar* to, qsizetype bytesPerLine)
{
    const int width = tile.rect.width();
    const quint32* from = tile.pixels.data();
    for (int y = 0; y < tile.rect.height(); ++y, from += width, to += bytesPerLine) {
        auto* line = reinterpret_cast<quint32*>(to);
        int x = 0;
        // Four pixels at a time: a copy of a fixed size is a few moves.
        for (; x + 4 <= width; x += 4)
            std::memcpy(line + x, from + x, 16);
        for (; x < width; ++x)
            line[x] = from[x];
    }
}

// The device pixels where the cells of one axis (columns or rows) begin,
// each edge rounded to the nearest pixel; `count` + 1 edges, kept in `edges`.
class CellEdges {
public:
    CellEdges(std::vector<int>& edges, int count, qreal size, int offset)
        : m_edges(edges)
        , m_size(size)
        , m_offset(offset)
    {
        edges.resize(static_cast<std::size_t>(count) + 1);
        for (int i = 0; i <= count; ++i)
            edges[static_cast<std::size_t>(i)] = static_cast<int>(std::floor(size * i + 0.5)) + offset;
    }
    int operator[](int i) const { return m_edges[static_cast<std::size_t>(i)]; }
    int front() const { return m_edges.front(); }
    int back() const { return m_edges.back(); }
    // The cell whose pixels hold `pixel`, clamped to the grid.
    int cellAt(int pixel) const
    {
        const int last = static_cast<int>(m_edges.size()) - 2;
        int i = std::clamp(static_cast<int>((pixel - m_offset) / m_size), 0, last);
        while (i > 0 && pixel < (*this)[i])
            --i;
        while (i < last && pixel >= (*this)[i + 1])
            ++i;
        return i;
    }

private:
    const std::vector<int>& m_edges;
    qreal m_size;
    int m_offset;
};

} // namespace

QFont TerminalPainter::defaultFont()
{
    QFont font;
    font.setFamilies({QStringLiteral("DejaVu Sans Mono"), QStringLiteral("Noto Mono"), QStringLiteral("Noto Sans Mono CJK KR"),
                      QStringLiteral("monospace")});
    font.setStyleHint(QFont::Monospace);
    font.setFixedPitch(true);
    font.setPixelSize(fontPixelSize);
    font.setWeight(QFont::Normal);
    return font;
}

bool hasCffOutlines(const QRawFont& raw)
{
    // Fonts with CFF or CFF2 outlines carry a version 0.5 'maxp' table (six
    // bytes), TrueType outlines a version 1.0 one. The 'CFF ' table itself is
    // most of a CJK font: copying it to see whether it is there read tens of
    // megabytes per font and left them resident.
    const QByteArray maxp = raw.fontTable("maxp");
    return maxp.size() >= 4 && static_cast<unsigned char>(maxp[0]) == 0x00 &&
           static_cast<unsigned char>(maxp[1]) == 0x00 && static_cast<unsigned char>(maxp[2]) == 0x50 &&
           static_cast<unsigned char>(maxp[3]) == 0x00;
}


TerminalPainter::TerminalPainter()
{
    setFont(defaultFont());
}

void TerminalPainter::setFont(const QFont& font)
{
    m_font = font;
    m_fontsReady = false;
    ++m_fontGeneration;
    m_tiles.clear();
    m_shaped.clear();
    m_outlines.clear();
    const QFontMetricsF metrics(m_font);
    m_cellWidth = metrics.horizontalAdvance(QStringLiteral("M"));
    m_cellHeight = metrics.height();
    m_ascent = metrics.ascent();
    m_underlinePos = metrics.underlinePos();
    m_strikeOutPos = metrics.strikeOutPos();
    m_lineWidth = std::max<qreal>(1.0, metrics.lineWidth());
}

void TerminalPainter::prepareFonts()
{
    if (m_fontsReady)
        return;
    m_emojiFont = m_font;
    m_emojiFont.setFamilies(QStringList{QStringLiteral("Noto Color Emoji")} + m_font.families());
    for (int variant = 0; variant < 4; ++variant) {
        QFont font = m_font;
        font.setBold(variant & 1);
        font.setItalic(variant & 2);
        m_variantFonts[static_cast<std::size_t>(variant)] = font;
        auto& sources = m_sources[static_cast<std::size_t>(variant)];
        sources.clear();
        auto drawingOf = [](const QRawFont& raw) {
            return hasCffOutlines(raw) ? GlyphDrawing::filledOutline : GlyphDrawing::glyphRun;
        };
        GlyphSource main;
        main.raw = QRawFont::fromFont(font);
        main.drawing = drawingOf(main.raw);
        sources.push_back(std::move(main));
        for (const QString& family : fallbackFamilies()) {
            QFont fallback(family);
            fallback.setPixelSize(m_font.pixelSize() > 0 ? m_font.pixelSize() : fontPixelSize);
            fallback.setBold(variant & 1);
            fallback.setItalic(variant & 2);
            GlyphSource source;
            source.raw = QRawFont::fromFont(fallback);
            source.drawing = drawingOf(source.raw);
            if (source.raw.isValid() && source.raw.familyName() == family)
                sources.push_back(std::move(source));
        }
    }
    m_fontsReady = true;
}

int TerminalPainter::glyphFor(int variant, char32_t ch, quint32& glyph)
{
    auto& sources = m_sources[static_cast<std::size_t>(variant)];
    auto lookup = [&](int& sourceOut, quint32& glyphOut) {
        QChar units[2];
        int length = 1;
        if (ch > 0xFFFF) {
            units[0] = QChar::highSurrogate(ch);
            units[1] = QChar::lowSurrogate(ch);
            length = 2;
        } else {
            units[0] = QChar(static_cast<char16_t>(ch));
        }
        for (std::size_t i = 0; i < sources.size(); ++i) {
            if (!sources[i].raw.isValid())
                continue;
            quint32 indexes[2] = {0, 0};
            int count = 2;
            if (sources[i].raw.glyphIndexesForChars(units, length, indexes, &count) && count >= 1 && indexes[0] != 0) {
                sourceOut = static_cast<int>(i);
                glyphOut = indexes[0];
                return;
            }
        }
        sourceOut = -1;
        glyphOut = 0;
    };
    // Cached in the main source's tables: glyph with the source index in the
    // top byte, or all ones for "no raw font has it".
    GlyphSource& cache = sources.front();
    quint32 packed;
    if (ch < 128) {
        if (!cache.asciiKnown[ch]) {
            int source;
            quint32 g;
            lookup(source, g);
            cache.ascii[ch] = source < 0 ? 0xFFFFFFFFu : (static_cast<quint32>(source) << 24) | g;
            cache.asciiKnown[ch] = true;
        }
        packed = cache.ascii[ch];
    } else {
        auto it = cache.other.find(ch);
        if (it == cache.other.end()) {
            int source;
            quint32 g;
            lookup(source, g);
            it = cache.other.emplace(ch, source < 0 ? 0xFFFFFFFFu : (static_cast<quint32>(source) << 24) | g).first;
        }
        packed = it->second;
    }
    if (packed == 0xFFFFFFFFu)
        return -1;
    glyph = packed & 0x00FFFFFFu;
    return static_cast<int>(packed >> 24);
}

QColor TerminalPainter::resolve(const TerminalColor& color, bool isForeground, const TerminalPalette& palette)
{
    switch (color.kind()) {
    case TerminalColor::Kind::ansi256:
        return paletteColors()[color.index()];
    case TerminalColor::Kind::trueColor:
        return QColor(color.red(), color.green(), color.blue());
    case TerminalColor::Kind::defaultColor:
        return isForeground ? palette.foreground : palette.background;
    case TerminalColor::Kind::defaultInvertedColor:
        return isForeground ? palette.background : palette.foreground;
    }
    return palette.foreground;
}

CellDrawAttributes TerminalPainter::attributesForCell(const CharAttribute& attribute,
                                                      const TerminalPalette& palette) const
{
    CellDrawAttributes result;
    result.bold = attribute.style.contains(CharacterStyle::bold);
    result.italic = attribute.style.contains(CharacterStyle::italic);
    result.foreground = resolve(attribute.foreground, true, palette);
    result.background = resolve(attribute.background, false, palette);
    if (attribute.style.contains(CharacterStyle::inverse))
        std::swap(result.foreground, result.background);
    result.underline = attribute.style.contains(CharacterStyle::underline);
    result.strikethrough = attribute.style.contains(CharacterStyle::strikethrough);
    return result;
}

QRectF TerminalPainter::cursorRect(const Buffer& buffer) const
{
    int column = buffer.x;
    int span = 1;
    if (const BufferLine* line = buffer.line(buffer.y); line && column < line->size()) {
        // On a wide character the cursor covers both its columns, as xterm
        // and tmux draw it, from either half.
        if ((*line)[column].width == 2) {
            span = 2;
        } else if ((*line)[column].width == 0 && column > 0 && (*line)[column - 1].width == 2) {
            column -= 1;
            span = 2;
        }
    }
    return QRectF(m_cellWidth * column, m_cellHeight * buffer.y, m_cellWidth * span, m_cellHeight);
}

void TerminalPainter::paint(QPainter& painter, const Buffer& buffer, const TerminalPalette& palette, QSizeF size,
                            bool cursorVisible)
{
    m_tiles.beginFrame(glyphWorkBudgetNs, leastGlyphWorkPerRepaint);
    paintRows(painter, buffer, palette, QRectF(QPointF(0, 0), size), cursorVisible, 0, buffer.rows - 1);
}

void TerminalPainter::paintRows(QPainter& painter, const Buffer& buffer, const TerminalPalette& palette, QRectF fill,
                                bool cursorVisible, int firstRow, int lastRow)
{
    prepareFonts();
    painter.fillRect(fill, palette.background);
    painter.setRenderHint(QPainter::TextAntialiasing, true);

    const int cols = buffer.cols;
    const int rows = buffer.rows;

    // Glyphs are copied from tiles when the painter draws straight onto an
    // image with whole-pixel offsets; otherwise every one is drawn in order.
    QPoint deviceOffset;
    const bool tiles = tileableTarget(painter, deviceOffset);
    const auto* target = static_cast<const QImage*>(painter.device());
    // What each cell's background fill leaves, for the tiles: default where
    // nothing is filled.
    std::vector<quint64>& cellBackgrounds = m_cellBackgrounds;
    if (tiles)
        cellBackgrounds.assign(static_cast<std::size_t>(rows) * static_cast<std::size_t>(cols),
                               static_cast<quint64>(palette.background.rgba64()));

    std::vector<GlyphItem>& glyphItems = m_glyphItems;
    glyphItems.clear();
    std::vector<GlyphStyle>& glyphStyles = m_glyphStyles;
    glyphStyles.clear();
    struct Fill {
        QRectF rect;
        QColor color;
        int row;
    };
    std::vector<Fill> fills;

    struct Deferred {
        QPointF origin;
        std::u32string_view scalars;
        int variant;
        bool emoji;
        QColor color;
    };
    std::vector<Deferred> deferred;
    struct Decoration {
        QRectF rect;
        QColor color;
    };
    std::vector<Decoration> decorations;

    for (int r = firstRow; r <= lastRow; ++r) {
        const BufferLine* line = buffer.lines[buffer.yDisp + r];
        if (!line)
            continue;
        const qreal top = m_cellHeight * r;
        const qreal baseline = top + m_ascent;
        const int count = std::min(cols, line->size());

        CharAttribute lastAttribute;
        CellDrawAttributes style = attributesForCell(lastAttribute, palette);
        bool styleDefault = style.background == palette.background;

        // Background pass: equal neighbouring backgrounds in one fill.
        int fillStart = -1;
        int fillEnd = 0;
        QColor fillColor;
        auto flushFill = [&] {
            if (fillStart >= 0)
                fills.push_back({QRectF(m_cellWidth * fillStart, top, m_cellWidth * (fillEnd - fillStart), m_cellHeight),
                                 fillColor, r});
            fillStart = -1;
        };
        for (int c = 0; c < count; ++c) {
            const CharData& cell = line->cells[static_cast<std::size_t>(c)];
            if (cell.width == 0)
                continue;
            if (!(cell.attribute == lastAttribute)) {
                lastAttribute = cell.attribute;
                style = attributesForCell(lastAttribute, palette);
                styleDefault = style.background == palette.background;
            }
            if (styleDefault) {
                flushFill();
                continue;
            }
            const int span = std::max<int>(cell.width, 1);
            if (tiles) {
                const auto background = static_cast<quint64>(style.background.rgba64());
                for (int k = c; k < std::min(c + span, cols); ++k)
                    cellBackgrounds[static_cast<std::size_t>(r) * static_cast<std::size_t>(cols) + static_cast<std::size_t>(k)] = background;
            }
            if (fillStart >= 0 && fillEnd == c && fillColor == style.background) {
                fillEnd = c + span;
            } else {
                flushFill();
                fillStart = c;
                fillEnd = c + span;
                fillColor = style.background;
            }
        }
        flushFill();

        // Glyph pass: what each cell draws, in drawing order.
        lastAttribute = CharAttribute();
        style = attributesForCell(lastAttribute, palette);
        int styleIndex = -1;
        for (int c = 0; c < count; ++c) {
            const CharData& cell = line->cells[static_cast<std::size_t>(c)];
            if (cell.width == 0)
                continue;
            if (!(cell.attribute == lastAttribute)) {
                lastAttribute = cell.attribute;
                style = attributesForCell(lastAttribute, palette);
                styleIndex = -1;
            }
            const qreal x = m_cellWidth * c;
            const int span = std::max<int>(cell.width, 1);
            if (style.underline)
                decorations.push_back({QRectF(x, baseline + m_underlinePos, m_cellWidth * span, m_lineWidth), style.foreground});
            if (style.strikethrough)
                decorations.push_back({QRectF(x, baseline - m_strikeOutPos, m_cellWidth * span, m_lineWidth), style.foreground});
            char32_t ch = cell.character;
            if (ch == U' ' || ch == 0)
                continue;
            // Decomposed Hangul (as macOS keeps file names) is drawn as the
            // syllable it spells, exactly as the precomposed one.
            if (cell.isCluster())
                ch = composedHangul(line->scalars(c)).value_or(ch);
            const int variant = (style.bold ? 1 : 0) | (style.italic ? 2 : 0);
            // A cluster is shaped whole; an emoji in two columns comes from the
            // colour emoji font (a text font may have a plain outline of it).
            if ((ch & CharData::clusterFlag) || (span == 2 && (characterProperties(ch) & characterEmojiPresentation))) {
                const std::u32string_view scalars = line->scalars(c);
                if (scalars.empty())
                    continue;
                const bool emoji = span == 2 && (characterProperties(scalars[0]) & characterEmojiPresentation);
                deferred.push_back({QPointF(x, baseline), scalars, variant, emoji, style.foreground});
                continue;
            }
            quint32 glyph = 0;
            const int source = glyphFor(variant, ch, glyph);
            if (source < 0) {
                deferred.push_back({QPointF(x, baseline), line->scalars(c), variant, false, style.foreground});
                continue;
            }
            if (styleIndex < 0 || glyphStyles[static_cast<std::size_t>(styleIndex)].color != style.foreground ||
                glyphStyles[static_cast<std::size_t>(styleIndex)].background != style.background) {
                glyphStyles.push_back({style.foreground, style.background, static_cast<quint64>(style.background.rgba64()),
                                       nullptr});
                styleIndex = static_cast<int>(glyphStyles.size()) - 1;
            }
            glyphItems.push_back({glyph, styleIndex, static_cast<std::int16_t>(c), static_cast<std::int16_t>(r),
                                  static_cast<std::int8_t>(span), static_cast<std::int8_t>(source),
                                  static_cast<std::int8_t>(variant), true, false, false, QRect(), nullptr, 0, 0, 0});
        }
    }

    if (tiles)
        classifyGlyphs(deviceOffset, *target, cols, rows, palette);

    // Row by row, as the plain path drew: the row's backgrounds (which cover
    // what the row above drew into it), the glyphs copied from tiles, then the
    // rest in order: a filled outline each for the fonts drawn that way, one
    // glyph run through Qt per stretch sharing font, source and colour for
    // the others.
    QVector<quint32> glyphs;
    QVector<QPointF> positions;
    glyphs.reserve(cols);
    positions.reserve(cols);
    int runSource = -1;
    int runVariant = 0;
    QColor runColor;
    auto flushGlyphs = [&] {
        if (glyphs.isEmpty())
            return;
        QGlyphRun run;
        run.setRawFont(m_sources[static_cast<std::size_t>(runVariant)][static_cast<std::size_t>(runSource)].raw);
        run.setGlyphIndexes(glyphs);
        run.setPositions(positions);
        painter.setPen(runColor);
        painter.drawGlyphRun(QPointF(0, 0), run);
        glyphs.clear();
        positions.clear();
    };
    std::size_t nextFill = 0;
    std::size_t nextGlyph = 0;
    for (int r = firstRow; r <= lastRow; ++r) {
        for (; nextFill < fills.size() && fills[nextFill].row == r; ++nextFill)
            painter.fillRect(fills[nextFill].rect, fills[nextFill].color);
        const std::size_t rowStart = nextGlyph;
        while (nextGlyph < glyphItems.size() && glyphItems[nextGlyph].row == r)
            ++nextGlyph;
        if (tiles) {
            // Straight into the image the painter draws on, which holds
            // everything drawn so far (the raster engine draws at once).
            auto* bits = const_cast<uchar*>(target->constBits());
            const qsizetype bytesPerLine = target->bytesPerLine();
            for (std::size_t i = rowStart; i < nextGlyph; ++i) {
                GlyphItem& item = glyphItems[i];
                if (item.ordered || item.ink.isEmpty())
                    continue;
                const GlyphTileCache::Tile* tile = item.tile;
                if (!tile) {
                    GlyphStyle& style = glyphStyles[static_cast<std::size_t>(item.style)];
                    if (!style.colours)
                        style.colours = m_tiles.colours(style.color, style.background);
                    const GlyphSource& source =
                        m_sources[static_cast<std::size_t>(item.variant)][static_cast<std::size_t>(item.source)];
                    tile = m_tiles.makeTile(style.colours, source.raw, source.drawing, item.tileKey, item.glyph,
                                            item.fractionX, item.fractionY);
                }
                if (!tile) {
                    // Drawn in order with the rest: its ink meets no other glyph's.
                    item.ordered = true;
                    continue;
                }
                copyTile(*tile, bits + static_cast<qsizetype>(item.ink.top()) * bytesPerLine +
                                    static_cast<qsizetype>(item.ink.left()) * 4,
                         bytesPerLine);
            }
        }
        runSource = -1;
        for (std::size_t i = rowStart; i < nextGlyph; ++i) {
            const GlyphItem& item = glyphItems[i];
            if (!item.ordered)
                continue;
            const GlyphSource& source = m_sources[static_cast<std::size_t>(item.variant)][static_cast<std::size_t>(item.source)];
            const QColor& color = glyphStyles[static_cast<std::size_t>(item.style)].color;
            const QPointF origin(m_cellWidth * item.col, m_cellHeight * item.row + m_ascent);
            if (source.drawing == GlyphDrawing::filledOutline) {
                // Outlines filled, as their tiles are made (see GlyphTileCache.h).
                flushGlyphs();
                runSource = -1;
                fillGlyphOutline(painter, glyphOutline(item.variant, item.source, item.glyph), origin, color);
                continue;
            }
            if (item.source != runSource || item.variant != runVariant || color != runColor) {
                flushGlyphs();
                runSource = item.source;
                runVariant = item.variant;
                runColor = color;
            }
            glyphs.append(item.glyph);
            positions.append(origin);
        }
        flushGlyphs();
    }

    // Characters no raw font has (colour emoji and the like) are shaped once
    // by Qt's text layout, which finds a font for them, and drawn as the
    // glyph runs it made.
    for (const Deferred& item : deferred) {
        painter.setPen(item.color);
        for (const QGlyphRun& run : shapedCharacter(item.variant, item.scalars, item.emoji))
            painter.drawGlyphRun(item.origin, run);
    }
    for (const Decoration& decoration : decorations)
        painter.fillRect(decoration.rect, decoration.color);

    // The cursor, only on the live screen.
    if (cursorVisible && buffer.yDisp == buffer.yBase && buffer.y >= firstRow && buffer.y <= lastRow)
        painter.fillRect(cursorRect(buffer), QColor(255, 255, 255, 178));
}

bool TerminalPainter::tileableTarget(QPainter& painter, QPoint& deviceOffset)
{
    QPaintDevice* device = painter.device();
    if (!device || device->devType() != QInternal::Image || !painter.paintEngine() ||
        painter.paintEngine()->type() != QPaintEngine::Raster)
        return false;
    const auto* image = static_cast<const QImage*>(device);
    const QImage::Format format = image->format();
    if (format != QImage::Format_ARGB32_Premultiplied && format != QImage::Format_RGB32)
        return false;
    if (image->devicePixelRatio() != 1.0 || painter.hasClipping() || painter.opacity() != 1.0 ||
        painter.compositionMode() != QPainter::CompositionMode_SourceOver)
        return false;
    const QTransform transform = painter.deviceTransform();
    if (transform.type() > QTransform::TxTranslate || transform.dx() != std::floor(transform.dx()) ||
        transform.dy() != std::floor(transform.dy()) || std::abs(transform.dx()) > 1e6 || std::abs(transform.dy()) > 1e6)
        return false;
    deviceOffset = QPoint(static_cast<int>(transform.dx()), static_cast<int>(transform.dy()));
    m_tiles.setFormat(format);
    return true;
}

void TerminalPainter::classifyGlyphs(QPoint deviceOffset, const QImage& target, int cols, int rows,
                                     const TerminalPalette& palette)
{
    std::vector<GlyphItem>& items = m_glyphItems;
    std::vector<GlyphStyle>& styles = m_glyphStyles;
    const std::vector<quint64>& cellBackgrounds = m_cellBackgrounds;
    const auto cellIndex = [cols](int row, int col) {
        return static_cast<std::size_t>(row) * static_cast<std::size_t>(cols) + static_cast<std::size_t>(col);
    };

    // The cells' pixels: a background fill covers from each of its edges
    // rounded to the nearest pixel, so neighbouring cells share no pixel.
    const CellEdges colEdges(m_colEdges, cols, m_cellWidth, deviceOffset.x());
    const CellEdges rowEdges(m_rowEdges, rows, m_cellHeight, deviceOffset.y());

    // Where the glyphs of each column and row stand: whole pixel and fraction.
    struct Place {
        int pixel = 0;
        int fraction = -1; // none: not on the grid of fractions
    };
    std::vector<Place> colPlaces(static_cast<std::size_t>(cols));
    std::vector<Place> rowPlaces(static_cast<std::size_t>(rows));
    for (int c = 0; c < cols; ++c) {
        if (const auto split = GlyphTileCache::split(QPointF(m_cellWidth * c + deviceOffset.x(), 0)))
            colPlaces[static_cast<std::size_t>(c)] = Place{split->x, split->fractionX};
    }
    for (int r = 0; r < rows; ++r) {
        if (const auto split = GlyphTileCache::split(QPointF(0, m_cellHeight * r + m_ascent + deviceOffset.y())))
            rowPlaces[static_cast<std::size_t>(r)] = Place{split->y, split->fractionY};
    }
    // The classes of those fractions for each font met, found as needed.
    struct FontPhases {
        int fontKey;
        std::vector<int> cols;
        std::vector<int> rows;
    };
    std::vector<FontPhases> fontPhases;
    constexpr int notFound = -2;
    auto phasesOf = [&](int fontKey) -> FontPhases& {
        for (FontPhases& phases : fontPhases) {
            if (phases.fontKey == fontKey)
                return phases;
        }
        fontPhases.push_back(FontPhases{fontKey, std::vector<int>(static_cast<std::size_t>(cols), notFound),
                                        std::vector<int>(static_cast<std::size_t>(rows), notFound)});
        return fontPhases.back();
    };
    auto classOf = [&](const GlyphSource& source, int fontKey, int axis, std::vector<int>& classes, int at,
                       const Place& place) {
        int& known = classes[static_cast<std::size_t>(at)];
        if (known == notFound)
            known = place.fraction < 0 ? -1 : m_tiles.phaseClass(source.raw, source.drawing, fontKey, axis, place.fraction);
        return known;
    };

    // Each glyph's ink, from its tile when one is made. A glyph is copied
    // from a tile only when its ink meets no other glyph's and the pixels
    // under it hold its background when it is copied; all the others are
    // drawn in the order the cells stand. Most glyphs keep inside their
    // own cell; those that reach beyond it are looked at closely, and no
    // glyph near one whose ink is not known yet is copied.
    std::vector<int>& cellItems = m_cellItems;
    cellItems.assign(static_cast<std::size_t>(rows) * static_cast<std::size_t>(cols), -1);
    const std::size_t stride = static_cast<std::size_t>(cols) + 1;
    std::vector<int>& unknown = m_unknownInks; // counts, then sums over the grid
    unknown.assign(static_cast<std::size_t>(rows + 1) * stride, 0);
    std::vector<std::size_t>& reaching = m_reachingItems;
    reaching.clear();
    bool anyUnknown = false;
    for (std::size_t i = 0; i < items.size(); ++i) {
        GlyphItem& item = items[i];
        GlyphStyle& style = styles[static_cast<std::size_t>(item.style)];
        const bool opaque = style.background.alpha() == 255;
        for (int k = item.col; k < std::min(item.col + item.span, cols); ++k)
            cellItems[cellIndex(item.row, k)] = static_cast<int>(i);
        const Place& x = colPlaces[static_cast<std::size_t>(item.col)];
        const Place& y = rowPlaces[static_cast<std::size_t>(item.row)];
        const int fontKey = item.variant * 16 + item.source;
        const GlyphSource& source = m_sources[static_cast<std::size_t>(item.variant)][static_cast<std::size_t>(item.source)];
        FontPhases& phases = phasesOf(fontKey);
        const int classX = classOf(source, fontKey, 0, phases.cols, item.col, x);
        const int classY = classOf(source, fontKey, 1, phases.rows, item.row, y);
        if (classX >= 0 && classY >= 0) {
            item.tileKey = GlyphTileCache::glyphKey(fontKey, item.glyph, classX, classY);
            item.fractionX = x.fraction;
            item.fractionY = y.fraction;
            const QRect* ink = nullptr;
            if (opaque) {
                if (!style.colours)
                    style.colours = m_tiles.colours(style.color, style.background);
                item.tile = m_tiles.findTile(style.colours, item.tileKey);
                if (item.tile)
                    ink = &item.tile->rect;
            }
            if (!ink)
                ink = m_tiles.ink(source.raw, source.drawing, item.tileKey, item.glyph, item.fractionX, item.fractionY);
            if (ink) {
                item.inkKnown = true;
                item.ink = ink->isEmpty() ? QRect() : ink->translated(x.pixel, y.pixel);
            }
        }
        if (!item.inkKnown) {
            anyUnknown = true;
            ++unknown[static_cast<std::size_t>(item.row + 1) * stride + static_cast<std::size_t>(item.col + 1)];
            continue;
        }
        const bool inside =
            item.ink.isEmpty() ||
            (item.ink.left() >= colEdges[item.col] && item.ink.right() < colEdges[std::min(item.col + item.span, cols)] &&
             item.ink.top() >= rowEdges[item.row] && item.ink.bottom() < rowEdges[item.row + 1]);
        if (inside)
            item.ordered = !opaque;
        else
            reaching.push_back(i);
    }

    if (anyUnknown) {
        for (int r = 1; r <= rows; ++r) {
            for (int c = 1; c <= cols; ++c) {
                const std::size_t at = static_cast<std::size_t>(r) * stride + static_cast<std::size_t>(c);
                unknown[at] += unknown[at - stride] + unknown[at - 1] - unknown[at - stride - 1];
            }
        }
        // How far an ink not known may reach, in cells.
        const int bandCols = static_cast<int>(std::ceil(m_cellHeight * 2 / m_cellWidth)) + 2;
        const int bandRows = 4;
        auto unknownNear = [&](const GlyphItem& item) {
            const auto at = [&](int r, int c) {
                return unknown[static_cast<std::size_t>(r) * stride + static_cast<std::size_t>(c)];
            };
            const int r0 = std::max(item.row - bandRows, 0);
            const int r1 = std::min(item.row + bandRows + 1, rows);
            const int c0 = std::max(item.col - bandCols, 0);
            const int c1 = std::min(item.col + item.span + bandCols, cols);
            return at(r1, c1) - at(r0, c1) - at(r1, c0) + at(r0, c0) > 0;
        };
        for (GlyphItem& item : items) {
            if (!item.ordered && unknownNear(item))
                item.ordered = true;
        }
        for (std::size_t i : reaching)
            items[i].nearUnknown = unknownNear(items[i]);
    }
    if (reaching.empty())
        return;

    // The reaching inks of each cell they cover, as lists through m_reach.
    std::vector<int>& heads = m_reachHeads;
    heads.assign(static_cast<std::size_t>(rows) * static_cast<std::size_t>(cols), -1);
    std::vector<std::pair<std::size_t, int>>& reach = m_reach;
    reach.clear();
    for (std::size_t i : reaching) {
        const QRect& ink = items[i].ink;
        const int r0 = rowEdges.cellAt(ink.top()), r1 = rowEdges.cellAt(ink.bottom());
        const int c0 = colEdges.cellAt(ink.left()), c1 = colEdges.cellAt(ink.right());
        for (int r = r0; r <= r1; ++r) {
            for (int c = c0; c <= c1; ++c) {
                int& head = heads[cellIndex(r, c)];
                reach.emplace_back(i, head);
                head = static_cast<int>(reach.size()) - 1;
            }
        }
    }
    const auto defaultBackground = static_cast<quint64>(palette.background.rgba64());
    for (std::size_t i : reaching) {
        GlyphItem& item = items[i];
        const QRect& ink = item.ink;
        const GlyphStyle& style = styles[static_cast<std::size_t>(item.style)];
        // Copied only onto pixels inside the cells and the image.
        bool copy = !item.nearUnknown && style.background.alpha() == 255 && ink.left() >= colEdges.front() &&
                    ink.right() < colEdges.back() && ink.top() >= rowEdges.front() && ink.bottom() < rowEdges.back() &&
                    target.rect().contains(ink);
        // Two glyphs whose inks meet are both drawn in order.
        auto meet = [&](std::size_t j) {
            GlyphItem& other = items[j];
            if (j != i && !other.ink.isEmpty() && other.ink.intersects(ink)) {
                other.ordered = true;
                copy = false;
            }
        };
        const int r0 = rowEdges.cellAt(ink.top()), r1 = rowEdges.cellAt(ink.bottom());
        const int c0 = colEdges.cellAt(ink.left()), c1 = colEdges.cellAt(ink.right());
        for (int r = r0; r <= r1; ++r) {
            for (int c = c0; c <= c1; ++c) {
                const std::size_t cell = cellIndex(r, c);
                // Under the ink when the tile is copied: the cell's fill in
                // the rows drawn so far, the plain background below.
                if ((r <= item.row ? cellBackgrounds[cell] : defaultBackground) != style.background64)
                    copy = false;
                if (cellItems[cell] >= 0)
                    meet(static_cast<std::size_t>(cellItems[cell]));
                for (int at = heads[cell]; at >= 0; at = reach[static_cast<std::size_t>(at)].second)
                    meet(reach[static_cast<std::size_t>(at)].first);
            }
        }
        item.ordered = !copy;
    }
}

const QPainterPath& TerminalPainter::glyphOutline(int variant, int source, quint32 glyph)
{
    const std::uint64_t key = (static_cast<std::uint64_t>(variant * 16 + source) << 32) | glyph;
    auto it = m_outlines.find(key);
    if (it != m_outlines.end())
        return it->second;
    if (m_outlines.size() >= 8192)
        m_outlines.clear();
    const QRawFont& raw = m_sources[static_cast<std::size_t>(variant)][static_cast<std::size_t>(source)].raw;
    return m_outlines.emplace(key, raw.pathForGlyph(glyph)).first->second;
}

const std::vector<QGlyphRun>& TerminalPainter::shapedCharacter(int variant, std::u32string_view scalars,
                                                                    bool emoji)
{
    // The key: the scalars, then the variant and the font choice.
    std::u32string key(scalars);
    key.push_back(static_cast<char32_t>(0x110000 + variant * 2 + (emoji ? 1 : 0)));
    auto it = m_shaped.find(key);
    if (it != m_shaped.end())
        return it->second;
    QString text;
    for (const char32_t character : scalars) {
        if (character > 0xFFFF) {
            text.append(QChar::highSurrogate(character));
            text.append(QChar::lowSurrogate(character));
        } else {
            text.append(QChar(static_cast<char16_t>(character)));
        }
    }
    QTextLayout layout(text, emoji ? m_emojiFont : m_variantFonts[static_cast<std::size_t>(variant)]);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    layout.endLayout();
    std::vector<QGlyphRun> runs;
    if (line.isValid()) {
        // Positions relative to the baseline at the text's start.
        const QPointF baseline(0, line.ascent());
        for (QGlyphRun run : layout.glyphRuns()) {
            QList<QPointF> positions = run.positions();
            for (QPointF& p : positions)
                p -= baseline;
            run.setPositions(positions);
            runs.push_back(run);
        }
    }
    if (m_shaped.size() >= 4096)
        m_shaped.clear();
    return m_shaped.emplace(std::move(key), std::move(runs)).first->second;
}

namespace {

// Rows around a changed one whose pixels its glyphs may reach.
constexpr int inkReachRows = 2;

} // namespace

bool TerminalPainter::RowState::operator==(const RowState& other) const
{
    return present == other.present && cursorColumn == other.cursorColumn && cursorSpan == other.cursorSpan &&
           cells == other.cells && clusters == other.clusters;
}

TerminalPainter::RowState TerminalPainter::rowState(const Buffer& buffer, int row, bool cursorShown) const
{
    RowState state;
    const BufferLine* line = buffer.lines[buffer.yDisp + row];
    if (line) {
        state.present = true;
        const int count = std::min(buffer.cols, line->size());
        state.cells.assign(line->cells.begin(), line->cells.begin() + count);
        for (int c = 0; c < count; ++c) {
            if (state.cells[static_cast<std::size_t>(c)].isCluster()) {
                state.clusters += line->scalars(c);
                state.clusters.push_back(U'\0');
            }
        }
    }
    if (cursorShown && buffer.y == row) {
        const QRectF cursor = cursorRect(buffer);
        state.cursorColumn = static_cast<int>(std::lround(cursor.x() / m_cellWidth));
        state.cursorSpan = static_cast<int>(std::lround(cursor.width() / m_cellWidth));
    }
    return state;
}

int TerminalPainter::rowEdge(int row) const
{
    if (row <= 0)
        return 0;
    if (row >= static_cast<int>(m_rowStates.size()))
        return m_screen.height();
    return static_cast<int>(std::floor(m_cellHeight * m_devicePixelRatio * row + 0.5));
}

QRect TerminalPainter::rowPixels(int row) const
{
    const int top = rowEdge(row);
    return QRect(0, top, m_screen.width(), rowEdge(row + 1) - top);
}

const std::vector<int>& TerminalPainter::paintChanges(const Buffer& buffer, const TerminalPalette& palette,
                                                      QSize pixelSize, qreal devicePixelRatio, bool cursorVisible)
{
    m_changedRows.clear();
    const int rows = buffer.rows;
    if (rows <= 0 || pixelSize.isEmpty())
        return m_changedRows;
    const bool cursorShown = cursorVisible && buffer.yDisp == buffer.yBase;
    const bool whole = m_screen.size() != pixelSize || m_devicePixelRatio != devicePixelRatio ||
                       static_cast<int>(m_rowStates.size()) != rows || m_screenCols != buffer.cols ||
                       m_screenPalette.foreground != palette.foreground ||
                       m_screenPalette.background != palette.background || m_screenFontGeneration != m_fontGeneration;
    const QSizeF size(pixelSize.width() / devicePixelRatio, pixelSize.height() / devicePixelRatio);
    if (whole) {
        if (m_screen.size() != pixelSize)
            m_screen = QImage(pixelSize, QImage::Format_ARGB32_Premultiplied);
        m_devicePixelRatio = devicePixelRatio;
        m_screenCols = buffer.cols;
        m_screenPalette = palette;
        m_screenFontGeneration = m_fontGeneration;
        m_rowStates.resize(static_cast<std::size_t>(rows));
        for (int r = 0; r < rows; ++r)
            m_rowStates[static_cast<std::size_t>(r)] = rowState(buffer, r, cursorShown);
        QPainter painter(&m_screen);
        painter.scale(devicePixelRatio, devicePixelRatio);
        paint(painter, buffer, palette, size, cursorVisible);
        for (int r = 0; r < rows; ++r)
            m_changedRows.push_back(r);
        return m_changedRows;
    }

    // The rows whose cells changed, and the stretches around them: a changed
    // row's glyphs may reach the rows next to it, whose pixels are compared.
    std::vector<char> changed(static_cast<std::size_t>(rows), 0);
    bool any = false;
    for (int r = 0; r < rows; ++r) {
        RowState state = rowState(buffer, r, cursorShown);
        if (state == m_rowStates[static_cast<std::size_t>(r)])
            continue;
        m_rowStates[static_cast<std::size_t>(r)] = std::move(state);
        changed[static_cast<std::size_t>(r)] = 1;
        any = true;
    }
    if (!any)
        return m_changedRows;
    m_tiles.beginFrame(glyphWorkBudgetNs, leastGlyphWorkPerRepaint);
    const qsizetype lineBytes = static_cast<qsizetype>(m_screen.width()) * 4;
    const std::size_t screenBytes = static_cast<std::size_t>(lineBytes) * static_cast<std::size_t>(m_screen.height());
    if (m_rowsBeforeBytes != screenBytes) {
        m_rowsBefore.reset(new uchar[screenBytes]);
        m_rowsBeforeBytes = screenBytes;
    }
    QPainter painter(&m_screen);
    painter.scale(devicePixelRatio, devicePixelRatio);
    for (int r = 0; r < rows;) {
        if (!changed[static_cast<std::size_t>(r)]) {
            ++r;
            continue;
        }
        // A stretch of changed rows no more than twice the reach apart.
        int last = r;
        for (int next = r + 1; next < rows && next <= last + 2 * inkReachRows; ++next) {
            if (changed[static_cast<std::size_t>(next)])
                last = next;
        }
        // Compared: the changed rows and those their glyphs reach. Painted:
        // those and the rows whose glyphs reach them. Kept: what the painted
        // rows' glyphs may reach beyond, put back as it was. A row whose
        // cells changed is taken as changed without a comparison (in a flood
        // that is every row: no copy of the screen, no comparison of it), so
        // only the other rows are saved first.
        const int keptFirst = std::max(r - 3 * inkReachRows, 0);
        const int keptLast = std::min(last + 3 * inkReachRows, rows - 1);
        const int compareFirst = std::max(r - inkReachRows, 0);
        const int compareLast = std::min(last + inkReachRows, rows - 1);
        const int paintFirst = std::max(r - 2 * inkReachRows, 0);
        const int paintLast = std::min(last + 2 * inkReachRows, rows - 1);
        auto rowBytes = [&](int row, auto&& each) {
            const QRect band = rowPixels(row);
            for (int y = band.top(); y <= band.bottom(); ++y)
                each(m_screen.scanLine(y),
                     m_rowsBefore.get() + static_cast<std::size_t>(lineBytes) * static_cast<std::size_t>(y));
        };
        // The stretch's own changed rows (a changed row beyond it, of the
        // next stretch, is put back here and painted with that one).
        auto changedHere = [&](int row) { return row >= r && row <= last && changed[static_cast<std::size_t>(row)]; };
        for (int row = keptFirst; row <= keptLast; ++row) {
            if (!changedHere(row))
                rowBytes(row, [&](const uchar* now, uchar* saved) {
                    std::memcpy(saved, now, static_cast<std::size_t>(lineBytes));
                });
        }
        const int paintTop = rowEdge(paintFirst);
        const int paintBottom = rowEdge(paintLast + 1);
        const QRectF fill(0, paintTop / devicePixelRatio, size.width(), (paintBottom - paintTop) / devicePixelRatio);
        paintRows(painter, buffer, palette, fill, cursorVisible, paintFirst, paintLast);
        for (int row = keptFirst; row <= keptLast; ++row) {
            if (changedHere(row)) {
                m_changedRows.push_back(row);
                continue;
            }
            const bool compared = row >= compareFirst && row <= compareLast;
            bool differs = false;
            rowBytes(row, [&](uchar* now, const uchar* saved) {
                if (!compared)
                    std::memcpy(now, saved, static_cast<std::size_t>(lineBytes));
                else if (!differs && std::memcmp(now, saved, static_cast<std::size_t>(lineBytes)) != 0)
                    differs = true;
            });
            if (differs)
                m_changedRows.push_back(row);
        }
        r = last + 1;
    }
    return m_changedRows;
}

} // namespace orva
