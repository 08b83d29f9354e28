#pragma once

// The drawn terminal: a Qt Quick item that owns one emulator, paints its visible
// lines on a fixed-pitch grid, shows a scroll bar over the scroll-back, sizes
// the grid to the item and turns keys and input-method text into bytes for the
// emulator's delegate. It knows nothing of processes.

#include "terminal/GlyphTileCache.h"
#include "terminal/core/Terminal.h"

#include <QColor>
#include <QFont>
#include <QGlyphRun>
#include <QPainterPath>
#include <QPointer>
#include <QQuickWindow>
#include <QQuickPaintedItem>
#include <QRawFont>
#include <QString>

#include <array>
#include <atomic>
#include <cstdint>
#include <optional>
#include <span>
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

// A range in the composed text: location (-1 = none) and length.
struct TextRange {
    int location = -1;
    int length = 0;
    bool operator==(const TextRange&) const = default;
};

// The Hangul syllable a cluster of conjoining jamo spells (initial, vowel and
// an optional final, or a syllable and a final) as Unicode composes it, or
// none for any other cluster.
std::optional<char32_t> composedHangul(std::u32string_view jamo);

// Whether the font draws CFF or CFF2 outlines (which Qt blends with gamma
// correction), told from its 'maxp' table alone.
bool hasCffOutlines(const QRawFont& raw);

class TerminalRendererView : public QQuickPaintedItem {
    Q_OBJECT
    Q_PROPERTY(int cols READ cols NOTIFY gridSizeChanged)
    Q_PROPERTY(int rows READ rows NOTIFY gridSizeChanged)
    Q_PROPERTY(double scrollPosition READ scrollPosition NOTIFY scrollChanged)
    Q_PROPERTY(double knobProportion READ knobProportion NOTIFY scrollChanged)
    Q_PROPERTY(bool canScroll READ canScroll NOTIFY scrollChanged)

public:
    static constexpr int defaultCols = 80;
    static constexpr int defaultRows = 24;
    static constexpr int scrollbackLines = 10000;
    static constexpr int fontPixelSize = 13;
    static constexpr qreal scrollerWidth = 15;
    // The natural width never goes below the terminal panel's width.
    static constexpr qreal minimumNaturalWidth = 700;
    // Glyph tiles one repaint may make (each a small draw of its glyph).
    static constexpr int newTilesPerFrame = 96;

    explicit TerminalRendererView(QQuickItem* parent = nullptr);
    TerminalRendererView(int cols, int rows, QQuickItem* parent = nullptr);
    ~TerminalRendererView() override;

    Terminal& terminal() { return m_terminal; }
    const Terminal& terminal() const { return m_terminal; }
    int cols() const { return m_terminal.cols(); }
    int rows() const { return m_terminal.rows(); }

    QFont font() const { return m_font; }
    void setFont(const QFont& font);
    QColor defaultForeground() const { return m_defaultForeground; }
    void setDefaultForeground(const QColor& color) { m_defaultForeground = color; }
    QColor defaultBackground() const { return m_defaultBackground; }
    void setDefaultBackground(const QColor& color) { m_defaultBackground = color; }
    qreal cellWidth() const { return m_cellWidth; }
    qreal cellHeight() const { return m_cellHeight; }

    // Output from the child, on the main thread. It is fed to the emulator in
    // turns of the main loop of at most about feedBudgetMs each, in order;
    // what one turn leaves waits for the next. Nothing is dropped. Output that
    // arrives with nothing waiting and is fed whole in its turn (an echo of a
    // key, a prompt) is drawn in a frame asked for at once, rather than at
    // the window's next scheduled update, unless this item was drawn less
    // than a refresh interval ago.
    void feedBytes(std::span<const std::uint8_t> bytes);
    static constexpr qint64 feedBudgetMs = 4;
    static constexpr std::size_t feedSliceBytes = 256;
    // Output received and not yet fed.
    std::size_t pendingOutput() const { return m_pendingOutput.size() - m_pendingOffset; }
    void feedText(std::string_view text);
    void resize(int cols, int rows);

    CellDrawAttributes attributesForCell(const CharAttribute& attribute) const;

    // Scroll-back.
    bool canScroll() const;
    double scrollPosition() const;
    double knobProportion() const;
    Q_INVOKABLE void scrollTo(double position);
    Q_INVOKABLE void pageUp();
    Q_INVOKABLE void pageDown();
    Q_INVOKABLE void scrollToBottom();
    QRectF scrollerRect() const;
    QRectF scrollerKnobRect() const;

    // Fits the grid to the item's size.
    void resizeToFit();

    // The bytes a key press sends, or nothing: the editing keys, the arrows,
    // Ctrl with a letter or one of [ \ ] ^ _, and printable text.
    static QByteArray bytesForKey(int key, Qt::KeyboardModifiers modifiers, const QString& text);

    // Input-method composition state.
    QString markedText() const { return m_markedText; }
    bool hasMarkedText() const { return !m_markedText.isEmpty(); }
    TextRange markedRange() const { return m_markedRange; }
    TextRange selectedRange() const { return m_selectedRange; }
    void setMarkedText(const QString& text, TextRange selected);
    void unmarkText();
    // Committed text: ends any composition and sends the UTF-8 bytes.
    void insertText(const QString& text);
    // The cursor cell, where an input method puts its candidate window: both
    // columns of a wide character the cursor stands on.
    QRectF cursorCellRect() const;

    // Draws the whole view (what paint() does), for any painter.
    void render(QPainter& painter);
    // Glyph tiles and ink rectangles the last repaint made: 0 once every
    // glyph of the screen is known (for tests and benchmarks).
    int glyphTilesMadeInLastRepaint() const { return m_tiles.madeThisFrame(); }
    QImage renderImage();

    void paint(QPainter* painter) override;
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;

signals:
    void gridSizeChanged();
    void scrollChanged();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void geometryChange(const QRectF& newGeometry, const QRectF& oldGeometry) override;
    void itemChange(ItemChange change, const ItemChangeData& value) override;

    // Runs after a size change: fits the grid. Subclasses add to it.
    virtual void layoutGrid();

    // All received output has been fed. Subclasses add to it.
    virtual void outputDrained() {}

    // Hands bytes to the emulator's delegate, if it has one.
    void sendToDelegate(std::span<const std::uint8_t> bytes);

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

    void updateCellSize();
    void updateImplicitSize();
    void setDisplayLine(int yDisp);
    void prepareFonts();
    // Glyph of `ch` in variant (bold, italic): source index into m_sources or
    // -1 when no raw font has it.
    int glyphFor(int variant, char32_t ch, quint32& glyph);
    QColor resolve(const TerminalColor& color, bool isForeground) const;

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
    // Whether glyphs may be copied from tiles onto the painter's device, and
    // the whole-pixel offset of its transform.
    bool tileableTarget(QPainter& painter, QPoint& deviceOffset);
    // Finds the glyphs whose ink meets no other glyph's and lies on pixels of
    // their own background, to be copied from tiles; the others are drawn in
    // order.
    void classifyGlyphs(QPoint deviceOffset, const QImage& target);
    // A character no raw font has, a grapheme cluster of several scalars, or
    // an emoji (`emoji`: from the colour emoji font first), shaped by Qt's
    // text layout once: glyph runs relative to the baseline at its start.
    const std::vector<QGlyphRun>& shapedCharacter(int variant, std::u32string_view scalars, bool emoji);

    Terminal m_terminal;
    QFont m_font;
    QColor m_defaultForeground;
    QColor m_defaultBackground;
    qreal m_cellWidth = 0;
    qreal m_cellHeight = 0;
    qreal m_ascent = 0;
    qreal m_underlinePos = 0;
    qreal m_strikeOutPos = 0;
    qreal m_lineWidth = 1;

    std::vector<std::uint8_t> m_pendingOutput;
    std::size_t m_pendingOffset = 0;
    bool m_feedScheduled = false;
    bool m_feeding = false;
    // Within outputDrained(), where the process may hand over what it held.
    bool m_handingOver = false;
    // `arrived`: called for output that has just come, not for a backlog.
    void feedPendingOutput(bool arrived);
    // Asks the window for a frame now, at most once per refresh interval.
    void drawOutputNow();
    // Marks the item for redraw after output, once the window's frame in
    // flight (if any) is swapped.
    void updateForOutput();
    // Follows the frames of the window the item is in.
    void watchWindowFrames();
    QPointer<QQuickWindow> m_watchedWindow;
    QMetaObject::Connection m_swapConnection;
    // When the window last swapped a frame (seen on the main thread), in
    // nanoseconds of the steady clock.
    qint64 m_lastSwapNs = 0;
    bool m_frameWanted = false;
    // When paint() last ran, in nanoseconds of the steady clock (written on
    // the render thread while the main thread waits for it).
    std::atomic<qint64> m_lastPaintNs{0};
    // When a frame was asked for and not drawn yet; 0 when none is (cleared
    // by paint(), with the main thread waiting).
    std::atomic<qint64> m_frameAskedNs{0};

    QString m_markedText;
    TextRange m_markedRange;
    TextRange m_selectedRange{0, 0};

    // Per font variant (regular, bold, italic, bold italic): the main font and
    // its fallbacks as raw fonts, so glyphs go straight onto the grid.
    std::array<std::vector<GlyphSource>, 4> m_sources;
    std::array<QFont, 4> m_variantFonts;
    bool m_fontsReady = false;
    GlyphTileCache m_tiles;
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
    std::unordered_map<std::u32string, std::vector<QGlyphRun>> m_shaped;
    // Outlines of the filled fonts' glyphs, by variant, source and glyph.
    std::unordered_map<std::uint64_t, QPainterPath> m_outlines;
    const QPainterPath& glyphOutline(int variant, int source, quint32 glyph);
    // The colour emoji font first, then the terminal's own families.
    QFont m_emojiFont;

    // Wheel movement worth less than a line, kept for the next event.
    qreal m_wheelRemainder = 0;
    bool m_draggingKnob = false;
    qreal m_dragOffset = 0;
};

} // namespace orva
