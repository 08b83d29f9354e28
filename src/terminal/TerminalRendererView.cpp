#include "terminal/TerminalRendererView.h"

#include "terminal/TerminalPainter.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QQuickWindow>
#include <QSGImageNode>
#include <QSGRectangleNode>
#include <QScreen>
#include <QStyleHints>
#include <QTimer>
#include <QWheelEvent>

#include <algorithm>
#include <chrono>
#include <cmath>

namespace orva {

namespace {

qint64 steadyNanoseconds()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

} // namespace

std::optional<char32_t> composedHangul(std::u32string_view jamo)
{
    if (jamo.size() < 2)
        return std::nullopt;
    const QString composed = QString::fromUcs4(jamo.data(), static_cast<qsizetype>(jamo.size()))
                                 .normalized(QString::NormalizationForm_C);
    // One precomposed syllable, or the cluster stays as it is.
    if (composed.size() != 1 || composed[0].unicode() < 0xAC00 || composed[0].unicode() > 0xD7A3)
        return std::nullopt;
    return static_cast<char32_t>(composed[0].unicode());
}

TerminalRendererView::TerminalRendererView(QQuickItem* parent)
    : TerminalRendererView(defaultCols, defaultRows, parent)
{
}

TerminalRendererView::TerminalRendererView(int cols, int rows, QQuickItem* parent)
    : QQuickPaintedItem(parent),
      m_terminal(cols, rows, scrollbackLines),
      m_font(TerminalPainter::defaultFont()),
      m_defaultForeground(TerminalPalette{}.foreground),
      m_defaultBackground(TerminalPalette{}.background),
      m_painter(std::make_unique<TerminalPainter>())
{
    setOpaquePainting(true);
    setFillColor(m_defaultBackground);
    setFlag(ItemAcceptsInputMethod, true);
    setAcceptedMouseButtons(Qt::LeftButton);
    setActiveFocusOnTab(true);
    updateCellSize();
}

TerminalRendererView::~TerminalRendererView() = default;

void TerminalRendererView::setFont(const QFont& font)
{
    m_font = font;
    m_painter->setFont(font);
    updateCellSize();
}

void TerminalRendererView::updateCellSize()
{
    m_cellWidth = m_painter->cellWidth();
    m_cellHeight = m_painter->cellHeight();
    updateImplicitSize();
    update();
}

void TerminalRendererView::updateImplicitSize()
{
    setImplicitSize(std::max(m_cellWidth * m_terminal.cols(), minimumNaturalWidth), m_cellHeight * m_terminal.rows());
}

// ---- Output ----

void TerminalRendererView::feedBytes(std::span<const std::uint8_t> bytes)
{
    m_pendingOutput.insert(m_pendingOutput.end(), bytes.begin(), bytes.end());
    if (m_feedScheduled || m_feeding)
        return;
    if (m_handingOver) {
        // Output held back while the last turn worked (see outputDrained()):
        // a backlog, fed from the next turn on.
        m_feedScheduled = true;
        QTimer::singleShot(0, this, [this] { feedPendingOutput(false); });
        return;
    }
    feedPendingOutput(true);
}

void TerminalRendererView::feedPendingOutput(bool arrived)
{
    m_feedScheduled = false;
    if (m_pendingOutput.size() == m_pendingOffset)
        return;
    m_feeding = true;
    QElapsedTimer elapsed;
    elapsed.start();
    const qint64 budgetNs = feedBudgetMs * 1'000'000;
    Buffer* before = &m_terminal.buffer();
    const bool following = before->yDisp == before->yBase;
    const int shownLine = before->yDisp;
    const int ringStart = before->lines.startIndex();
    // Small slices, so that even the dearest output (a screenful per repeat
    // sequence) overruns the turn's time by little: a slice that takes more
    // than a quarter of the turn halves the next ones, down to a few bytes; a
    // cheap one doubles them again, up to feedSliceBytes.
    while (m_pendingOffset < m_pendingOutput.size()) {
        const std::size_t size = std::min(m_sliceBytes, m_pendingOutput.size() - m_pendingOffset);
        const qint64 start = elapsed.nsecsElapsed();
        m_terminal.feed(std::span<const std::uint8_t>(m_pendingOutput.data() + m_pendingOffset, size));
        m_pendingOffset += size;
        const qint64 now = elapsed.nsecsElapsed();
        if (now - start > budgetNs / 4)
            m_sliceBytes = std::max<std::size_t>(m_sliceBytes / 2, minimumSliceBytes);
        else if (now - start < budgetNs / 32 && size == m_sliceBytes)
            m_sliceBytes = std::min(m_sliceBytes * 2, feedSliceBytes);
        if (now >= budgetNs)
            break;
    }
    Buffer& buffer = m_terminal.buffer();
    if (following) {
        buffer.yDisp = buffer.yBase;
    } else if (&buffer == before) {
        // The emulator puts the display at the bottom whenever it scrolls; a
        // view scrolled back into the history stays on the lines it shows,
        // which move up by the lines a full ring dropped.
        const int capacity = buffer.lines.maxLength();
        const int dropped = (buffer.lines.startIndex() - ringStart + capacity) % capacity;
        buffer.yDisp = std::clamp(shownLine - dropped, 0, buffer.yBase);
    }
    m_feeding = false;
    emit scrollChanged();
    updateForOutput();
    if (m_pendingOffset < m_pendingOutput.size()) {
        // The rest in later turns of the main loop, which draws and takes
        // input in between.
        if (m_pendingOffset >= 1024 * 1024) {
            m_pendingOutput.erase(m_pendingOutput.begin(), m_pendingOutput.begin() + static_cast<std::ptrdiff_t>(m_pendingOffset));
            m_pendingOffset = 0;
        }
        m_feedScheduled = true;
        QTimer::singleShot(0, this, [this] { feedPendingOutput(false); });
        return;
    }
    m_pendingOutput.clear();
    m_pendingOffset = 0;
    // A small piece of output, fed whole as it came: the person is most
    // likely waiting to see it (the echo of a key).
    if (arrived)
        drawOutputNow();
    // The output the child wrote meanwhile comes with the next turn: fed in
    // this one, one turn would go on for as long as the child keeps writing.
    m_handingOver = true;
    outputDrained();
    m_handingOver = false;
}

void TerminalRendererView::updateForOutput()
{
    watchWindowFrames();
    // While the window's renderer still draws a frame with this item in it, a
    // new one would hold the main thread until that frame is done (a
    // renderer on its own thread synchronizes with the main thread once it is
    // free): output waits for the frame's swap, and goes into the next.
    const qint64 painted = m_lastPaintNs.load(std::memory_order_relaxed);
    if (m_watchedWindow && painted > m_lastSwapNs && steadyNanoseconds() - painted < 100'000'000) {
        m_frameWanted = true;
        return;
    }
    update();
}

void TerminalRendererView::watchWindowFrames()
{
    QQuickWindow* w = window();
    if (w == m_watchedWindow)
        return;
    QObject::disconnect(m_swapConnection);
    m_watchedWindow = w;
    m_lastSwapNs = steadyNanoseconds();
    if (w) {
        m_swapConnection = connect(
            w, &QQuickWindow::frameSwapped, this,
            [this] {
                m_lastSwapNs = steadyNanoseconds();
                if (m_frameWanted) {
                    m_frameWanted = false;
                    update();
                }
            },
            Qt::QueuedConnection);
    }
}

void TerminalRendererView::itemChange(ItemChange change, const ItemChangeData& value)
{
    QQuickPaintedItem::itemChange(change, value);
    if (change == ItemSceneChange)
        watchWindowFrames();
}

void TerminalRendererView::drawOutputNow()
{
    QQuickWindow* w = window();
    // A frame waiting for the one in flight comes after its swap.
    if (!w || !w->isExposed() || !isVisible() || m_frameWanted)
        return;
    const qint64 now = steadyNanoseconds();
    // One frame asked for is enough until it is drawn (a window that draws
    // nothing for a second is asked again).
    if (m_frameAskedNs != 0 && now - m_frameAskedNs < 1'000'000'000)
        return;
    // Within a refresh interval of this item's last frame, the frame the
    // window has scheduled comes soon enough, and a stream of small pieces
    // draws no faster than the display refreshes.
    const qreal refreshRate = w->screen() ? std::clamp<qreal>(w->screen()->refreshRate(), 30, 240) : 60;
    if (now - m_lastPaintNs.load(std::memory_order_relaxed) < static_cast<qint64>(1e9 / refreshRate))
        return;
    // What the window does when its scheduled update comes: the render loop
    // draws a frame of what has changed.
    m_frameAskedNs = now;
    QCoreApplication::postEvent(w, new QEvent(QEvent::UpdateRequest));
}

void TerminalRendererView::feedText(std::string_view text)
{
    feedBytes(std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

void TerminalRendererView::resize(int cols, int rows)
{
    const int oldCols = m_terminal.cols();
    const int oldRows = m_terminal.rows();
    m_terminal.resize(cols, rows);
    if (oldCols != m_terminal.cols() || oldRows != m_terminal.rows()) {
        updateImplicitSize();
        emit gridSizeChanged();
        emit scrollChanged();
    }
    update();
}

// ---- Scrolling ----

bool TerminalRendererView::canScroll() const
{
    return m_terminal.rows() < m_terminal.buffer().lines.count();
}

double TerminalRendererView::scrollPosition() const
{
    const Buffer& buffer = m_terminal.buffer();
    const int total = buffer.lines.count();
    const int rows = m_terminal.rows();
    if (buffer.yDisp < 1 || rows >= total)
        return 0;
    return static_cast<double>(buffer.yDisp) / static_cast<double>(total - rows);
}

double TerminalRendererView::knobProportion() const
{
    const int total = m_terminal.buffer().lines.count();
    const int rows = m_terminal.rows();
    if (rows >= total)
        return 1;
    return static_cast<double>(rows) / static_cast<double>(total);
}

void TerminalRendererView::setDisplayLine(int yDisp)
{
    Buffer& buffer = m_terminal.buffer();
    const int maxLine = std::max(buffer.lines.count() - m_terminal.rows(), 0);
    buffer.yDisp = std::clamp(yDisp, 0, maxLine);
    emit scrollChanged();
    update();
}

void TerminalRendererView::scrollTo(double position)
{
    const int maxLine = std::max(m_terminal.buffer().lines.count() - m_terminal.rows(), 0);
    if (!std::isfinite(position))
        position = 0;
    const double target = std::floor(maxLine * position);
    setDisplayLine(std::min(maxLine, static_cast<int>(std::max(target, 0.0))));
}

void TerminalRendererView::pageUp()
{
    setDisplayLine(std::max(m_terminal.buffer().yDisp - m_terminal.rows(), 0));
}

void TerminalRendererView::pageDown()
{
    setDisplayLine(m_terminal.buffer().yDisp + m_terminal.rows());
}

void TerminalRendererView::scrollToBottom()
{
    setDisplayLine(m_terminal.buffer().yBase);
}

QRectF TerminalRendererView::scrollerRect() const
{
    return QRectF(width() - scrollerWidth, 0, scrollerWidth, height());
}

QRectF TerminalRendererView::scrollerKnobRect() const
{
    const QRectF track = scrollerRect();
    const qreal knobHeight = std::min(track.height(), std::max<qreal>(track.height() * knobProportion(), 18));
    const qreal top = (track.height() - knobHeight) * scrollPosition();
    return QRectF(track.x() + 2, top, track.width() - 4, knobHeight);
}

void TerminalRendererView::wheelEvent(QWheelEvent* event)
{
    if (!canScroll()) {
        event->ignore();
        return;
    }
    // Lines this event is worth, with what earlier events left over: wheels
    // and touchpads that report an eighth of a notch (or a few pixels) per
    // event add up to whole lines. A turn the other way starts afresh.
    qreal lines;
    if (!event->pixelDelta().isNull()) {
        // Precise (touchpad) deltas: cells of whole pixels.
        const int cell = static_cast<int>(m_cellHeight);
        lines = cell > 0 ? static_cast<qreal>(event->pixelDelta().y()) / cell : 0;
    } else {
        // A wheel notch is 120 eighths of a degree, worth the system's lines per notch.
        lines = event->angleDelta().y() * QGuiApplication::styleHints()->wheelScrollLines() / 120.0;
    }
    if ((lines > 0 && m_wheelRemainder < 0) || (lines < 0 && m_wheelRemainder > 0))
        m_wheelRemainder = 0;
    lines += m_wheelRemainder;
    // A hair of slack, so that eight eighths make a whole notch.
    const int step = static_cast<int>(lines + (lines > 0 ? 1e-9 : -1e-9));
    m_wheelRemainder = lines - step;
    Buffer& buffer = m_terminal.buffer();
    const int maxLine = std::max(buffer.lines.count() - m_terminal.rows(), 0);
    const int next = std::clamp(buffer.yDisp - step, 0, maxLine);
    if (next != buffer.yDisp)
        setDisplayLine(next);
    event->accept();
}

void TerminalRendererView::mousePressEvent(QMouseEvent* event)
{
    forceActiveFocus(Qt::MouseFocusReason);
    const QPointF p = event->position();
    if (!scrollerRect().contains(p)) {
        event->accept();
        return;
    }
    event->accept();
    if (!canScroll())
        return;
    const QRectF knob = scrollerKnobRect();
    if (p.y() < knob.top()) {
        pageUp();
    } else if (p.y() >= knob.bottom()) {
        pageDown();
    } else {
        m_draggingKnob = true;
        m_dragOffset = p.y() - knob.top();
    }
}

void TerminalRendererView::mouseMoveEvent(QMouseEvent* event)
{
    if (!m_draggingKnob) {
        event->ignore();
        return;
    }
    const QRectF track = scrollerRect();
    const qreal travel = track.height() - scrollerKnobRect().height();
    if (travel > 0)
        scrollTo(std::clamp((event->position().y() - m_dragOffset) / travel, 0.0, 1.0));
    event->accept();
}

void TerminalRendererView::mouseReleaseEvent(QMouseEvent* event)
{
    m_draggingKnob = false;
    event->accept();
}

// ---- Layout ----

void TerminalRendererView::geometryChange(const QRectF& newGeometry, const QRectF& oldGeometry)
{
    QQuickPaintedItem::geometryChange(newGeometry, oldGeometry);
    if (newGeometry.size() != oldGeometry.size())
        layoutGrid();
}

void TerminalRendererView::layoutGrid()
{
    resizeToFit();
}

void TerminalRendererView::resizeToFit()
{
    // An item not laid out yet (no width or no height) keeps its grid.
    if (m_cellWidth <= 0 || m_cellHeight <= 0 || width() <= 0 || height() <= 0)
        return;
    const int cols = std::max(static_cast<int>(std::floor((width() - scrollerWidth) / m_cellWidth)), 1);
    const int rows = std::max(static_cast<int>(std::floor(height() / m_cellHeight)), 1);
    if (cols != m_terminal.cols() || rows != m_terminal.rows())
        resize(cols, rows);
}

// ---- Keys and text input ----

QByteArray TerminalRendererView::bytesForKey(int key, Qt::KeyboardModifiers modifiers, const QString& text)
{
    if (modifiers & Qt::ControlModifier) {
        if (key >= Qt::Key_A && key <= Qt::Key_Z)
            return QByteArray(1, static_cast<char>(key - Qt::Key_A + 1));
        switch (key) {
        case Qt::Key_BracketLeft:
            return QByteArray(1, '\x1B');
        case Qt::Key_Backslash:
            return QByteArray(1, '\x1C');
        case Qt::Key_BracketRight:
            return QByteArray(1, '\x1D');
        case Qt::Key_AsciiCircum:
            return QByteArray(1, '\x1E');
        case Qt::Key_Underscore:
            return QByteArray(1, '\x1F');
        case Qt::Key_6:
            if (modifiers & Qt::ShiftModifier)
                return QByteArray(1, '\x1E');
            break;
        case Qt::Key_Minus:
            if (modifiers & Qt::ShiftModifier)
                return QByteArray(1, '\x1F');
            break;
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
            // Control+Tab is the screen's: it takes the keyboard out of the
            // terminal to the next control.
            return {};
        default:
            break;
        }
    }
    switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return QByteArray(1, '\r');
    case Qt::Key_Backspace:
        return QByteArray(1, '\x7F');
    case Qt::Key_Tab:
        return QByteArray(1, '\t');
    case Qt::Key_Escape:
        return QByteArray(1, '\x1B');
    case Qt::Key_Up:
        return QByteArrayLiteral("\x1B[A");
    case Qt::Key_Down:
        return QByteArrayLiteral("\x1B[B");
    case Qt::Key_Right:
        return QByteArrayLiteral("\x1B[C");
    case Qt::Key_Left:
        return QByteArrayLiteral("\x1B[D");
    default:
        break;
    }
    if (modifiers & Qt::ControlModifier)
        return {};
    // Other keys send their text when it is printable; keys the table does not
    // name (function keys, Delete, Home, ...) send nothing.
    if (text.isEmpty())
        return {};
    for (const QChar ch : text) {
        if (ch.unicode() < 0x20 || ch.unicode() == 0x7F)
            return {};
    }
    return text.toUtf8();
}

void TerminalRendererView::keyPressEvent(QKeyEvent* event)
{
    const QByteArray bytes = bytesForKey(event->key(), event->modifiers(), event->text());
    if (bytes.isEmpty()) {
        event->ignore();
        return;
    }
    // Printable text is committed text: it ends a composition. The editing
    // keys and control bytes go out as they are.
    const auto first = static_cast<unsigned char>(bytes.front());
    if (first >= 0x20 && first != 0x7F) {
        insertText(QString::fromUtf8(bytes));
    } else {
        sendToDelegate(std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                                                     static_cast<std::size_t>(bytes.size())));
    }
    event->accept();
}

void TerminalRendererView::sendToDelegate(std::span<const std::uint8_t> bytes)
{
    if (TerminalDelegate* delegate = m_terminal.delegate())
        delegate->send(bytes);
}

void TerminalRendererView::insertText(const QString& text)
{
    unmarkText();
    const QByteArray bytes = text.toUtf8();
    if (bytes.isEmpty())
        return;
    sendToDelegate(std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                                                 static_cast<std::size_t>(bytes.size())));
}

void TerminalRendererView::setMarkedText(const QString& text, TextRange selected)
{
    m_markedText = text;
    m_markedRange = TextRange{0, static_cast<int>(text.size())};
    m_selectedRange = selected;
    update();
}

void TerminalRendererView::unmarkText()
{
    m_markedText.clear();
    m_markedRange = TextRange{};
    update();
}

void TerminalRendererView::inputMethodEvent(QInputMethodEvent* event)
{
    if (!event->commitString().isEmpty())
        insertText(event->commitString());
    const QString preedit = event->preeditString();
    if (preedit.isEmpty()) {
        if (hasMarkedText())
            unmarkText();
    } else {
        TextRange selected{static_cast<int>(preedit.size()), 0};
        for (const QInputMethodEvent::Attribute& attribute : event->attributes()) {
            if (attribute.type == QInputMethodEvent::Cursor)
                selected = TextRange{attribute.start, 0};
        }
        setMarkedText(preedit, selected);
    }
    event->accept();
}

QRectF TerminalRendererView::cursorCellRect() const
{
    return m_painter->cursorRect(m_terminal.buffer());
}

QVariant TerminalRendererView::inputMethodQuery(Qt::InputMethodQuery query) const
{
    switch (query) {
    case Qt::ImEnabled:
        return true;
    case Qt::ImCursorRectangle:
    case Qt::ImAnchorRectangle:
        return cursorCellRect();
    case Qt::ImFont:
        return m_font;
    case Qt::ImCursorPosition:
    case Qt::ImAnchorPosition:
        return m_selectedRange.location < 0 ? 0 : m_selectedRange.location;
    case Qt::ImSurroundingText:
        return m_markedText;
    case Qt::ImCurrentSelection:
        return QString();
    case Qt::ImHints:
        return static_cast<int>(Qt::ImhNoPredictiveText | Qt::ImhNoAutoUppercase | Qt::ImhPreferLatin);
    default:
        return QQuickPaintedItem::inputMethodQuery(query);
    }
}

// ---- Drawing ----

void TerminalRendererView::frameStarted()
{
    // On the render thread, if the window has one, while the main thread
    // waits: this frame has all the output fed so far.
    m_lastPaintNs.store(steadyNanoseconds(), std::memory_order_relaxed);
    m_frameAskedNs = 0;
    m_frameWanted = false;
}

void TerminalRendererView::paint(QPainter* painter)
{
    frameStarted();
    if (!painter)
        return;
    render(*painter);
}

QSGNode* TerminalRendererView::updatePaintNode(QSGNode* oldNode, UpdatePaintNodeData*)
{
    frameStarted();
    QQuickWindow* w = window();
    if (!w || width() <= 0 || height() <= 0) {
        delete oldNode;
        return nullptr;
    }
    // A node per row of the painter's screen image, then the scroll bar's
    // track and knob: a frame uploads only the rows whose pixels changed,
    // and the renderer redraws only where those are.
    const int rows = m_terminal.rows();
    QSGNode* root = oldNode;
    const bool fresh = !root || root->childCount() != rows + 2;
    if (fresh) {
        delete root;
        root = new QSGNode;
        for (int r = 0; r < rows; ++r) {
            QSGImageNode* row = w->createImageNode();
            row->setFiltering(QSGTexture::Nearest);
            row->setOwnsTexture(true);
            root->appendChildNode(row);
        }
        root->appendChildNode(w->createRectangleNode());
        root->appendChildNode(w->createRectangleNode());
    }
    const qreal ratio = w->effectiveDevicePixelRatio();
    const QSize pixels(static_cast<int>(std::ceil(width() * ratio)), static_cast<int>(std::ceil(height() * ratio)));
    const std::vector<int>& changed = paintChangedRows(pixels, ratio);
    auto upload = [&](int r) {
        auto* row = static_cast<QSGImageNode*>(root->childAtIndex(r));
        const QRect band = m_painter->rowPixels(r);
        const QImage image = m_painter->screen().copy(band);
        QSGTexture* texture = w->createTextureFromImage(image);
        // The old texture goes with the new one in place.
        QSGTexture* old = row->texture();
        row->setOwnsTexture(false);
        row->setTexture(texture);
        row->setOwnsTexture(true);
        delete old;
        row->setSourceRect(QRectF(QPointF(0, 0), QSizeF(image.size())));
        row->setRect(QRectF(band.x() / ratio, band.y() / ratio, band.width() / ratio, band.height() / ratio));
    };
    if (fresh) {
        for (int r = 0; r < rows; ++r)
            upload(r);
    } else {
        for (int r : changed)
            upload(r);
    }
    auto* track = static_cast<QSGRectangleNode*>(root->childAtIndex(rows));
    auto* knob = static_cast<QSGRectangleNode*>(root->childAtIndex(rows + 1));
    if (track->rect() != scrollerRect())
        track->setRect(scrollerRect());
    track->setColor(QColor(28, 28, 28));
    const QRectF knobRect = canScroll() ? scrollerKnobRect() : QRectF();
    if (knob->rect() != knobRect)
        knob->setRect(knobRect);
    knob->setColor(QColor(110, 110, 110));
    return root;
}

const std::vector<int>& TerminalRendererView::paintChangedRows(QSize pixels, qreal devicePixelRatio)
{
    const std::vector<int>& changed =
        m_painter->paintChanges(m_terminal.buffer(), TerminalPalette{m_defaultForeground, m_defaultBackground}, pixels,
                                devicePixelRatio, m_terminal.modes().cursorVisible);
    m_terminal.clearDirtyRange();
    return changed;
}

void TerminalRendererView::render(QPainter& painter)
{
    m_painter->paint(painter, m_terminal.buffer(), TerminalPalette{m_defaultForeground, m_defaultBackground},
                     QSizeF(width(), height()), m_terminal.modes().cursorVisible);
    m_terminal.clearDirtyRange();

    // Scroll bar: track, and the knob while there is something to scroll.
    const QRectF track = scrollerRect();
    painter.fillRect(track, QColor(28, 28, 28));
    if (canScroll())
        painter.fillRect(scrollerKnobRect(), QColor(110, 110, 110));
}

const QImage& TerminalRendererView::screenImage() const
{
    return m_painter->screen();
}

QRect TerminalRendererView::screenRowPixels(int row) const
{
    return m_painter->rowPixels(row);
}

int TerminalRendererView::glyphTilesMadeInLastRepaint() const
{
    return m_painter->glyphTilesMadeInLastRepaint();
}

QImage TerminalRendererView::renderImage()
{
    QImage image(std::max(1, static_cast<int>(std::ceil(width()))), std::max(1, static_cast<int>(std::ceil(height()))),
                 QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&image);
    render(painter);
    return image;
}

} // namespace orva
