#pragma once

// The drawn terminal: a Qt Quick item that owns one emulator, has its visible
// lines drawn by a TerminalPainter, paces the drawing of output, shows a
// scroll bar over the scroll-back, sizes the grid to the item and turns keys
// and input-method text into bytes for the emulator's delegate. It knows
// nothing of processes.

#include "terminal/core/Terminal.h"

#include <QColor>
#include <QFont>
#include <QPointer>
#include <QQuickWindow>
#include <QQuickPaintedItem>
#include <QString>

#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

class QPainter;

namespace orva {

class TerminalPainter;

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
    static constexpr qreal scrollerWidth = 15;
    // The natural width never goes below the terminal panel's width.
    static constexpr qreal minimumNaturalWidth = 700;

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
    static constexpr std::size_t minimumSliceBytes = 8;
    // Output received and not yet fed.
    std::size_t pendingOutput() const { return m_pendingOutput.size() - m_pendingOffset; }
    void feedText(std::string_view text);
    void resize(int cols, int rows);

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

    // Draws the whole view (what paint() does), for any painter: the grid
    // by the painter, then the scroll bar.
    void render(QPainter& painter);
    // Glyph tiles and ink rectangles the last repaint made: 0 once every
    // glyph of the screen is known (for tests and benchmarks).
    int glyphTilesMadeInLastRepaint() const;
    QImage renderImage();

    // Brings the painter's screen image (pixels, at the window's device pixel
    // ratio) up to date, as a frame does: the rows whose pixels changed.
    const std::vector<int>& paintChangedRows(QSize pixels, qreal devicePixelRatio);
    // The screen image a frame shows, by rows, and one row's pixels in it.
    const QImage& screenImage() const;
    QRect screenRowPixels(int row) const;

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
    QSGNode* updatePaintNode(QSGNode* oldNode, UpdatePaintNodeData* data) override;
    void itemChange(ItemChange change, const ItemChangeData& value) override;

    // Runs after a size change: fits the grid. Subclasses add to it.
    virtual void layoutGrid();

    // All received output has been fed. Subclasses add to it.
    virtual void outputDrained() {}

    // Hands bytes to the emulator's delegate, if it has one.
    void sendToDelegate(std::span<const std::uint8_t> bytes);

private:
    void updateCellSize();
    void updateImplicitSize();
    void setDisplayLine(int yDisp);
    // A frame begins: what pacing keeps of it.
    void frameStarted();

    Terminal m_terminal;
    QFont m_font;
    QColor m_defaultForeground;
    QColor m_defaultBackground;
    // The painter's cell size.
    qreal m_cellWidth = 0;
    qreal m_cellHeight = 0;
    std::unique_ptr<TerminalPainter> m_painter;

    std::vector<std::uint8_t> m_pendingOutput;
    std::size_t m_pendingOffset = 0;
    // The size of the next slice fed, between minimumSliceBytes and
    // feedSliceBytes, after what the last ones cost.
    std::size_t m_sliceBytes = feedSliceBytes;
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

    // Wheel movement worth less than a line, kept for the next event.
    qreal m_wheelRemainder = 0;
    bool m_draggingKnob = false;
    qreal m_dragOffset = 0;
};

} // namespace orva
