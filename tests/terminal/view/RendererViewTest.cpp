#include "BenchmarkScreens.h"
#include "terminal/TerminalPainter.h"
#include "terminal/TerminalRendererView.h"
#include "terminal/core/ScreenText.h"
#include "support/Waiting.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QFontDatabase>
#include <QImage>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QQuickWindow>
#include <QRawFont>
#include <QStyleHints>
#include <QTest>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>
#include <vector>

namespace orva {
namespace {

struct CapturingDelegate : TerminalDelegate {
    std::vector<QByteArray> sent;
    std::vector<std::pair<int, int>> sizes;
    void send(std::span<const std::uint8_t> data) override
    {
        sent.emplace_back(reinterpret_cast<const char*>(data.data()), static_cast<qsizetype>(data.size()));
    }
    void sizeChanged(int cols, int rows) override { sizes.emplace_back(cols, rows); }
};

class RendererViewTest : public ::testing::Test {
protected:
    void SetUp() override { view.terminal().setDelegate(&delegate); }

    // Sized for exactly cols x rows cells beside the scroll bar.
    void sizeTo(int cols, int rows) { testing::sizeViewToGrid(view, cols, rows); }

    void press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier, const QString& text = {})
    {
        QKeyEvent event(QEvent::KeyPress, key, modifiers, text);
        QCoreApplication::sendEvent(&view, &event);
    }

    void feedAll(const std::string& text) { testing::feedWhole(view, text); }

    // Lines pushed into the history of a rows-high screen.
    void pushHistory(int lines)
    {
        feedAll(std::string(static_cast<std::size_t>(view.rows() - 1 + lines), '\n'));
    }

    QColor pixelAtCell(const QImage& image, int col, int row)
    {
        return image.pixelColor(static_cast<int>(view.cellWidth() * (col + 0.5)),
                                static_cast<int>(view.cellHeight() * (row + 0.5)));
    }

    TerminalRendererView view{80, 24};
    CapturingDelegate delegate;
};

TEST(TerminalKeys, KeyTableAndControlKeys)
{
    struct Case {
        int key;
        Qt::KeyboardModifiers modifiers;
        QString text;
        QByteArray expected;
    };
    const Case cases[] = {
        {Qt::Key_Return, Qt::NoModifier, "\r", "\r"},
        {Qt::Key_Enter, Qt::KeypadModifier, "\r", "\r"},
        {Qt::Key_Backspace, Qt::NoModifier, "\b", "\x7F"},
        {Qt::Key_Tab, Qt::NoModifier, "\t", "\t"},
        {Qt::Key_Escape, Qt::NoModifier, "\x1B", "\x1B"},
        {Qt::Key_Up, Qt::NoModifier, "", "\x1B[A"},
        {Qt::Key_Down, Qt::NoModifier, "", "\x1B[B"},
        {Qt::Key_Right, Qt::NoModifier, "", "\x1B[C"},
        {Qt::Key_Left, Qt::NoModifier, "", "\x1B[D"},
        {Qt::Key_C, Qt::ControlModifier, "\x03", "\x03"},
        {Qt::Key_A, Qt::ControlModifier, "", "\x01"},
        {Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier, "", "\x1A"},
        {Qt::Key_D, Qt::ControlModifier, "\x04", "\x04"},
        {Qt::Key_BracketLeft, Qt::ControlModifier, "", "\x1B"},
        {Qt::Key_Backslash, Qt::ControlModifier, "", "\x1C"},
        {Qt::Key_BracketRight, Qt::ControlModifier, "", "\x1D"},
        {Qt::Key_AsciiCircum, Qt::ControlModifier | Qt::ShiftModifier, "", "\x1E"},
        {Qt::Key_Underscore, Qt::ControlModifier | Qt::ShiftModifier, "", "\x1F"},
        {Qt::Key_A, Qt::NoModifier, "a", "a"},
        {Qt::Key_A, Qt::ShiftModifier, "A", "A"},
        {Qt::Key_unknown, Qt::NoModifier, QString::fromUtf8("한"), QByteArray("\xED\x95\x9C")},
        // Keys the table does not name send nothing.
        {Qt::Key_F1, Qt::NoModifier, "", ""},
        {Qt::Key_Delete, Qt::NoModifier, "\x7F", ""},
        {Qt::Key_Home, Qt::NoModifier, "", ""},
        {Qt::Key_Shift, Qt::ShiftModifier, "", ""},
        {Qt::Key_1, Qt::ControlModifier, "1", ""},
        // Control+Tab leaves the terminal: it goes up to the screen.
        {Qt::Key_Tab, Qt::ControlModifier, "\t", ""},
        {Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier, "", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TerminalRendererView::bytesForKey(c.key, c.modifiers, c.text), c.expected)
            << "key " << std::hex << c.key;
}

TEST_F(RendererViewTest, KeyEventsReachTheDelegate)
{
    press(Qt::Key_Return, Qt::NoModifier, "\r");
    press(Qt::Key_C, Qt::ControlModifier, "\x03");
    press(Qt::Key_L, Qt::NoModifier, "l");
    press(Qt::Key_F5);
    EXPECT_EQ(delegate.sent, (std::vector<QByteArray>{"\r", "\x03", "l"}));
}

TEST_F(RendererViewTest, CompositionSendsOnlyTheCommittedTextOnce)
{
    view.feedText("ab");
    {
        QInputMethodEvent event(QString::fromUtf8("ㅎ"), {});
        QCoreApplication::sendEvent(&view, &event);
    }
    {
        QInputMethodEvent event(QString::fromUtf8("하"), {QInputMethodEvent::Attribute(QInputMethodEvent::Cursor, 1, 1)});
        QCoreApplication::sendEvent(&view, &event);
    }
    EXPECT_TRUE(delegate.sent.empty());
    EXPECT_TRUE(view.hasMarkedText());
    EXPECT_EQ(view.markedRange(), (TextRange{0, 1}));
    EXPECT_EQ(view.selectedRange(), (TextRange{1, 0}));
    // The candidate window sits at the cursor cell.
    const QRectF expected(view.cellWidth() * 2, 0, view.cellWidth(), view.cellHeight());
    EXPECT_EQ(view.inputMethodQuery(Qt::ImCursorRectangle).toRectF(), expected);
    EXPECT_TRUE(view.inputMethodQuery(Qt::ImEnabled).toBool());

    // One syllable committed while the next one starts.
    {
        QInputMethodEvent event(QString::fromUtf8("ㄱ"), {});
        event.setCommitString(QString::fromUtf8("한"));
        QCoreApplication::sendEvent(&view, &event);
    }
    ASSERT_EQ(delegate.sent.size(), 1u);
    EXPECT_EQ(delegate.sent[0], QByteArray("\xED\x95\x9C"));
    EXPECT_EQ(view.markedText(), QString::fromUtf8("ㄱ"));
    {
        QInputMethodEvent event;
        event.setCommitString(QString::fromUtf8("글"));
        QCoreApplication::sendEvent(&view, &event);
    }
    ASSERT_EQ(delegate.sent.size(), 2u);
    EXPECT_EQ(delegate.sent[1], QString::fromUtf8("글").toUtf8());
    EXPECT_FALSE(view.hasMarkedText());
    EXPECT_EQ(view.markedRange(), TextRange{});
    // A composition given up sends nothing.
    {
        QInputMethodEvent event(QString::fromUtf8("ㅁ"), {});
        QCoreApplication::sendEvent(&view, &event);
        QInputMethodEvent cancel;
        QCoreApplication::sendEvent(&view, &cancel);
    }
    EXPECT_EQ(delegate.sent.size(), 2u);
    EXPECT_FALSE(view.hasMarkedText());
}

TEST_F(RendererViewTest, ScrollArithmetic)
{
    struct Case {
        int history;
        double position;
        int expectedLine;
    };
    const Case cases[] = {
        {100, 0.5, 50}, {100, 0.0, 0}, {100, 1.0, 100}, {100, 0.999, 99}, {100, 2.0, 100}, {100, -1.0, 0}, {0, 0.5, 0},
    };
    for (const Case& c : cases) {
        TerminalRendererView local(80, 24);
        std::string feed(static_cast<std::size_t>(23 + c.history), '\n');
        local.feedText(feed);
        ASSERT_EQ(local.terminal().buffer().lines.count(), 24 + c.history);
        local.scrollTo(c.position);
        EXPECT_EQ(local.terminal().buffer().yDisp, c.expectedLine) << c.history << " " << c.position;
    }

    // A fresh emulator has nothing to scroll.
    EXPECT_FALSE(view.canScroll());
    EXPECT_EQ(view.scrollPosition(), 0);
    EXPECT_EQ(view.knobProportion(), 1);

    pushHistory(100);
    EXPECT_TRUE(view.canScroll());
    EXPECT_EQ(view.scrollPosition(), 1);
    EXPECT_DOUBLE_EQ(view.knobProportion(), 24.0 / 124.0);
    view.scrollTo(0.5);
    EXPECT_DOUBLE_EQ(view.scrollPosition(), 0.5);
    view.pageDown();
    EXPECT_EQ(view.terminal().buffer().yDisp, 74);
    view.pageDown();
    view.pageDown();
    EXPECT_EQ(view.terminal().buffer().yDisp, 100);
    view.scrollTo(0.1);
    view.pageUp();
    EXPECT_EQ(view.terminal().buffer().yDisp, 0);
}

TEST_F(RendererViewTest, WheelScrollsWholeLinesAndKeepsTheRest)
{
    sizeTo(80, 24);
    auto wheel = [&](QPoint pixel, QPoint angle) {
        QWheelEvent event(QPointF(10, 10), QPointF(10, 10), pixel, angle, Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(&view, &event);
        return event.isAccepted();
    };
    // Nothing to scroll: the event passes on.
    EXPECT_FALSE(wheel(QPoint(), QPoint(0, 120)));

    pushHistory(100);
    const int cell = static_cast<int>(view.cellHeight());
    wheel(QPoint(0, cell - 1), QPoint(0, cell - 1));
    EXPECT_EQ(view.terminal().buffer().yDisp, 100) << "less than a cell scrolls nothing yet";
    wheel(QPoint(0, cell * 2 + 1), QPoint(0, cell * 2 + 1));
    EXPECT_EQ(view.terminal().buffer().yDisp, 97) << "the rest of the first event counts";
    wheel(QPoint(0, -1), QPoint(0, -1));
    wheel(QPoint(0, cell - 1), QPoint(0, cell - 1));
    EXPECT_EQ(view.terminal().buffer().yDisp, 97) << "a turn the other way drops the rest";
    wheel(QPoint(0, 1), QPoint(0, 1));
    EXPECT_EQ(view.terminal().buffer().yDisp, 96);
    wheel(QPoint(), QPoint(0, -120 * 100));
    EXPECT_EQ(view.terminal().buffer().yDisp, 100);
    // One notch is the system's lines per notch (3 by default), whether it
    // comes whole or in small events.
    const int notch = QGuiApplication::styleHints()->wheelScrollLines();
    struct Case {
        const char* name;
        std::vector<QPoint> pixels;
        std::vector<QPoint> angles;
        int lines;
    };
    const std::vector<Case> cases = {
        {"one notch", {QPoint()}, {QPoint(0, 120)}, notch},
        {"eight eighths of a notch", std::vector<QPoint>(8), std::vector<QPoint>(8, QPoint(0, 15)), notch},
        {"sixteen small steps downwards", std::vector<QPoint>(16), std::vector<QPoint>(16, QPoint(0, -8)), -notch},
        {"a touchpad's few pixels at a time", std::vector<QPoint>(cell, QPoint(0, 3)), std::vector<QPoint>(cell, QPoint(0, 3)), 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        view.scrollTo(0.5);
        wheel(QPoint(0, 1), QPoint(0, 1));
        wheel(QPoint(0, -1), QPoint(0, -1)); // clears what an earlier case left
        const int start = view.terminal().buffer().yDisp;
        for (std::size_t i = 0; i < c.angles.size(); ++i)
            wheel(c.pixels[i], c.angles[i]);
        EXPECT_EQ(view.terminal().buffer().yDisp, start - c.lines);
    }
}

TEST_F(RendererViewTest, ScrollBarPagesAndDragsTheKnob)
{
    sizeTo(80, 24);
    auto mouse = [&](QEvent::Type type, qreal y) {
        const QPointF at(view.scrollerRect().center().x(), y);
        QMouseEvent event(type, at, at, Qt::LeftButton, type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton,
                          Qt::NoModifier);
        QCoreApplication::sendEvent(&view, &event);
    };
    // Disabled while there is nothing to scroll.
    mouse(QEvent::MouseButtonPress, 5);
    mouse(QEvent::MouseButtonRelease, 5);
    EXPECT_EQ(view.terminal().buffer().yDisp, 0);

    pushHistory(100);
    EXPECT_EQ(view.scrollerKnobRect().bottom(), view.scrollerRect().bottom());
    mouse(QEvent::MouseButtonPress, 5); // the page area above the knob
    mouse(QEvent::MouseButtonRelease, 5);
    EXPECT_EQ(view.terminal().buffer().yDisp, 76);
    mouse(QEvent::MouseButtonPress, view.height() - 2); // below the knob
    mouse(QEvent::MouseButtonRelease, view.height() - 2);
    EXPECT_EQ(view.terminal().buffer().yDisp, 100);
    // Dragging the knob to the top shows the oldest line.
    const qreal grab = view.scrollerKnobRect().center().y();
    mouse(QEvent::MouseButtonPress, grab);
    mouse(QEvent::MouseMove, grab - view.height());
    mouse(QEvent::MouseButtonRelease, grab - view.height());
    EXPECT_EQ(view.terminal().buffer().yDisp, 0);
    EXPECT_EQ(view.scrollPosition(), 0);
}

TEST_F(RendererViewTest, OutputKeepsAScrolledBackViewAndFollowsAtTheBottom)
{
    pushHistory(50);
    view.scrollTo(0);
    view.feedText("more\r\nand more\r\n");
    EXPECT_EQ(view.terminal().buffer().yDisp, 0);
    view.scrollToBottom();
    view.feedText("x\r\n");
    EXPECT_EQ(view.terminal().buffer().yDisp, view.terminal().buffer().yBase);
    // Across a switch to the alternate screen.
    view.feedText("\x1B[?1049h");
    view.feedText(std::string(40, '\n'));
    EXPECT_EQ(view.terminal().buffer().yDisp, view.terminal().buffer().yBase);
    view.feedText("\x1B[?1049l");
    EXPECT_EQ(view.terminal().buffer().yDisp, view.terminal().buffer().yBase);

    // With the history full the oldest lines drop out; the shown lines stay shown.
    pushHistory(TerminalRendererView::scrollbackLines + 10);
    view.scrollTo(0.5);
    const int shown = view.terminal().buffer().yDisp;
    const BufferLine* shownLine = view.terminal().buffer().lines[shown];
    view.feedText(std::string(7, '\n'));
    EXPECT_EQ(view.terminal().buffer().yDisp, shown - 7);
    EXPECT_EQ(view.terminal().buffer().lines[view.terminal().buffer().yDisp], shownLine);
}

// A flood is fed over several turns of the main loop, in order, and nothing
// of it is dropped: the screen ends as an emulator fed all of it at once.
TEST_F(RendererViewTest, FloodIsFedOverSeveralTurnsWithNothingDropped)
{
    std::string flood = "x";
    for (int i = 0; i < 4000; ++i)
        flood += "\x1B[9999b";
    for (int i = 0; i < 3000; ++i)
        flood += "line " + std::to_string(i) + " \xED\x95\x9C\xEA\xB8\x80\r\n";
    flood += "\x1B[3;5Hend";
    view.feedText(flood);
    EXPECT_GT(view.pendingOutput(), 0u) << "one turn fed the whole flood";
    int turns = 1;
    while (view.pendingOutput() > 0) {
        QCoreApplication::processEvents();
        ++turns;
    }
    EXPECT_GT(turns, 2);
    Terminal reference(view.cols(), view.rows(), TerminalRendererView::scrollbackLines);
    reference.feedText(flood);
    EXPECT_EQ(visibleLines(view.terminal()), visibleLines(reference));
    EXPECT_EQ(view.terminal().cursorX(), reference.cursorX());
    EXPECT_EQ(view.terminal().cursorY(), reference.cursorY());
    EXPECT_EQ(view.terminal().buffer().lines.count(), reference.buffer().lines.count());
}

// Output that comes while nothing waits (the echo of a key) asks its window
// for a frame at once; the window's scheduled update would come a tick later.
// A flood's turns do not, and one frame asked for is asked once.
TEST(TerminalOutputFrames, SmallOutputAsksForAFrameAtOnceAndAFloodDoesNot)
{
    QQuickWindow window;
    window.resize(500, 300);
    auto* view = new TerminalRendererView(40, 10, window.contentItem());
    view->setSize(QSizeF(500, 300));
    // Update requests that reach the window as posted events: the ones the
    // view asks for. The window's own scheduled ones come from its timer.
    struct UpdateRequests : QObject {
        int count = 0;
        bool eventFilter(QObject*, QEvent* event) override
        {
            count += event->type() == QEvent::UpdateRequest;
            return false;
        }
    } requests;
    int frames = 0;
    QObject::connect(&window, &QQuickWindow::frameSwapped, &window, [&] { ++frames; }, Qt::DirectConnection);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    ASSERT_TRUE(QTest::qWaitFor([&] { return frames > 0; }, test::kWaitDeadlineMs));
    window.installEventFilter(&requests);
    auto askedNow = [&] {
        requests.count = 0;
        QCoreApplication::sendPostedEvents(&window, QEvent::UpdateRequest);
        return requests.count;
    };
    // Well past a refresh interval since the view was drawn.
    QElapsedTimer sinceFrame;
    sinceFrame.start();
    QObject::connect(&window, &QQuickWindow::frameSwapped, &window, [&] { sinceFrame.restart(); }, Qt::DirectConnection);
    ASSERT_TRUE(QTest::qWaitFor([&] { return sinceFrame.elapsed() > 100; }, test::kWaitDeadlineMs));

    // An echo: drawn in a frame at once.
    const int before = frames;
    view->feedText("a");
    EXPECT_EQ(askedNow(), 1);
    EXPECT_EQ(frames, before + 1) << "the frame asked for was not drawn when asked";
    EXPECT_EQ(lineText(*view->terminal().buffer().lines[0]).substr(0, 1), "a");

    // Two pieces before the frame is drawn: one frame asked for.
    ASSERT_TRUE(QTest::qWaitFor([&] { return sinceFrame.elapsed() > 100; }, test::kWaitDeadlineMs));
    view->feedText("b");
    view->feedText("c");
    EXPECT_EQ(askedNow(), 1);

    // A hidden view asks for nothing.
    ASSERT_TRUE(QTest::qWaitFor([&] { return sinceFrame.elapsed() > 100; }, test::kWaitDeadlineMs));
    view->setVisible(false);
    view->feedText("d");
    EXPECT_EQ(askedNow(), 0);
    view->setVisible(true);

    // A flood's first turn leaves the rest for later turns and asks for no
    // frame of its own.
    ASSERT_TRUE(QTest::qWaitFor([&] { return sinceFrame.elapsed() > 100; }, test::kWaitDeadlineMs));
    std::string flood = "x";
    for (int i = 0; i < 4000; ++i)
        flood += "\x1B[9999b";
    // Frames drawn when each turn ended.
    int framesAtTurn = -1;
    QObject::connect(view, &TerminalRendererView::scrollChanged, &window, [&] { framesAtTurn = frames; });
    view->feedText(flood);
    ASSERT_GT(view->pendingOutput(), 0u) << "one turn fed the whole flood";
    EXPECT_EQ(askedNow(), 0);
    // Its turns wait for the frames in between; the last of it is drawn.
    EXPECT_TRUE(QTest::qWaitFor([&] { return view->pendingOutput() == 0 && frames > framesAtTurn; }, 60000))
        << "no frame after the flood's last turn";
}

// When a turn has fed everything, the process hands over what the child wrote
// meanwhile (outputDrained()); that waits for the next turn, or one turn would
// go on for as long as the child keeps writing.
TEST(TerminalOutputTurns, OutputHandedOverAtTheEndOfATurnWaitsForTheNext)
{
    struct HandingOver : TerminalRendererView {
        int handedOver = 0;
        void outputDrained() override
        {
            if (handedOver < 3) {
                ++handedOver;
                feedText("more\r\n");
            }
        }
    } view;
    view.feedText("first\r\n");
    EXPECT_EQ(view.handedOver, 1);
    EXPECT_EQ(view.pendingOutput(), 6u) << "what was handed over was fed in the same turn";
    ASSERT_TRUE(QTest::qWaitFor([&] { return view.handedOver == 3 && view.pendingOutput() == 0; }, test::kWaitDeadlineMs));
    EXPECT_EQ(lineText(*view.terminal().buffer().lines[3]).substr(0, 4), "more");
}

TEST_F(RendererViewTest, GridFitsTheSizeAndNeverGoesBelowOneCell)
{
    sizeTo(50, 10);
    EXPECT_EQ(view.cols(), 50);
    EXPECT_EQ(view.rows(), 10);
    ASSERT_FALSE(delegate.sizes.empty());
    EXPECT_EQ(delegate.sizes.back(), (std::pair<int, int>{50, 10}));
    view.setSize(QSizeF(3, 3));
    EXPECT_EQ(view.cols(), 1);
    EXPECT_EQ(view.rows(), 1);
    // The natural width is never below the panel's width.
    EXPECT_EQ(view.implicitWidth(), TerminalRendererView::minimumNaturalWidth);
    EXPECT_DOUBLE_EQ(view.implicitHeight(), view.cellHeight());
    EXPECT_GT(view.cellWidth(), 5);
    EXPECT_GT(view.cellHeight(), view.cellWidth());
}

TEST_F(RendererViewTest, InverseDefaultCellIsDarkTextOnLightGrey)
{
    sizeTo(80, 24);
    view.feedText("\x1B[7m \xE2\x96\x88\x1B[0m");
    const QImage image = view.renderImage();
    const QColor cell = pixelAtCell(image, 0, 0);
    EXPECT_NEAR(cell.red(), 230, 1);
    EXPECT_NEAR(cell.green(), 230, 1);
    EXPECT_NEAR(cell.blue(), 230, 1);
    // A full block in the inverted foreground (black) on the inverted background.
    EXPECT_EQ(pixelAtCell(image, 1, 0), QColor(Qt::black));
    // Next to it the default background.
    EXPECT_EQ(pixelAtCell(image, 5, 0), QColor(Qt::black));
    view.feedText("\x1B[41m \x1B[0m");
    EXPECT_EQ(pixelAtCell(view.renderImage(), 2, 0), QColor::fromRgbF(colorForAnsi256(1).red, 0, 0));
}

TEST_F(RendererViewTest, CursorOnlyOnTheLiveScreen)
{
    sizeTo(80, 24);
    pushHistory(30);
    view.feedText("\x1B[41G");
    const QColor live = pixelAtCell(view.renderImage(), 40, 23);
    EXPECT_NEAR(live.red(), 178, 2);
    view.scrollTo(0);
    EXPECT_EQ(pixelAtCell(view.renderImage(), 40, 23), QColor(Qt::black));
    view.scrollToBottom();
    view.feedText("\x1B[?25l");
    EXPECT_EQ(pixelAtCell(view.renderImage(), 40, 23), QColor(Qt::black));
}

TEST_F(RendererViewTest, WideCharacterDrawnOnceFromItsLeftCell)
{
    sizeTo(80, 24);
    view.feedText("\x1B[?25l\x1B[44m\xED\x95\x9C\x1B[0m");
    const QImage image = view.renderImage();
    const QColor blue = QColor::fromRgbF(colorForAnsi256(4).red, colorForAnsi256(4).green, colorForAnsi256(4).blue);
    // The background covers both columns.
    const int y = 0;
    EXPECT_EQ(image.pixelColor(1, y), blue);
    EXPECT_EQ(image.pixelColor(static_cast<int>(view.cellWidth() * 2 - 1), y), blue);
    EXPECT_EQ(image.pixelColor(static_cast<int>(view.cellWidth() * 2 + 1), y), QColor(Qt::black));
}

// The scroll bar reads the buffer after every resize: fewer rows and back
// leave nothing to scroll where there was no scroll-back, and where the
// shrink moved lines into the scroll-back the wheel reaches them.
TEST_F(RendererViewTest, ScrollerFollowsTheBufferAfterEveryResize)
{
    struct Case {
        const char* name;
        int lines;      // printed before the resizes
        bool scrollsWhenShrunk;
    };
    const Case cases[] = {
        {"three lines", 3, false},
        {"a full screen", 24, true},
        {"scroll-back already", 40, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TerminalRendererView local(80, 24);
        testing::sizeViewToGrid(local, 80, 24);
        std::string text;
        for (int i = 1; i <= c.lines; ++i)
            text.append("L").append(std::to_string(i)).append(i < c.lines ? "\r\n" : "");
        testing::feedWhole(local, text);
        const bool scrolledBefore = local.canScroll();
        local.setHeight(local.cellHeight() * 10 + 0.5);
        ASSERT_EQ(local.rows(), 10);
        EXPECT_EQ(local.canScroll(), c.scrollsWhenShrunk);
        const Buffer& buffer = local.terminal().buffer();
        EXPECT_EQ(buffer.lines.count(), buffer.yBase + 10);
        EXPECT_EQ(buffer.yDisp, buffer.yBase);
        if (c.scrollsWhenShrunk) {
            EXPECT_EQ(local.scrollPosition(), 1);
            QWheelEvent up(QPointF(10, 10), QPointF(10, 10), QPoint(), QPoint(0, 120), Qt::NoButton, Qt::NoModifier,
                           Qt::NoScrollPhase, false);
            QCoreApplication::sendEvent(&local, &up);
            EXPECT_LT(buffer.yDisp, buffer.yBase) << "the wheel shows older lines";
        } else {
            EXPECT_EQ(local.knobProportion(), 1);
        }
        local.setHeight(local.cellHeight() * 24 + 0.5);
        ASSERT_EQ(local.rows(), 24);
        const Buffer& restored = local.terminal().buffer();
        EXPECT_EQ(restored.lines.count(), restored.yBase + 24);
        EXPECT_EQ(local.canScroll(), scrolledBefore);
        EXPECT_EQ(restored.yDisp, restored.yBase);
        if (!scrolledBefore) {
            EXPECT_EQ(local.knobProportion(), 1);
            EXPECT_DOUBLE_EQ(local.scrollerKnobRect().height(), local.scrollerRect().height());
        }
        // The lines printed are on the screen again, the last where it was.
        EXPECT_EQ(restored.line(std::min(c.lines, 24) - 1)->text(0), "L");
    }
}

TEST_F(RendererViewTest, CursorCoversBothColumnsOfAWideCharacter)
{
    sizeTo(80, 24);
    struct Case {
        const char* name;
        std::string input;
        int column;
        int span;
    };
    const Case cases[] = {
        {"on a narrow cell", "a\x1B[1G", 0, 1},
        {"on the left half", "\xED\x95\x9C\x1B[1G", 0, 2},
        {"on the right half", "\xED\x95\x9C\x1B[2G", 0, 2},
        {"on an emoji", "ab\xF0\x9F\x98\x80\x1B[3G", 2, 2},
        {"after the wide character", "\xED\x95\x9C", 2, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        feedAll("\x1B[2J\x1B[H" + c.input);
        const QRectF rect = view.cursorCellRect();
        EXPECT_DOUBLE_EQ(rect.x(), view.cellWidth() * c.column);
        EXPECT_DOUBLE_EQ(rect.width(), view.cellWidth() * c.span);
        const QImage image = view.renderImage();
        // The cursor's white at the far edge of what it covers.
        const QColor edge = image.pixelColor(static_cast<int>(view.cellWidth() * (c.column + c.span) - 1),
                                             static_cast<int>(view.cellHeight() - 1));
        EXPECT_GT(edge.red(), 150);
    }
}

// Decomposed Hangul (as macOS keeps file names) is drawn as the syllable it
// spells, pixel for pixel as the precomposed one.
TEST_F(RendererViewTest, DecomposedHangulLooksLikeTheSyllable)
{
    struct Case {
        std::u32string jamo;
        std::optional<char32_t> syllable;
    };
    const Case cases[] = {
        {U"\u1112\u1161\u11AB", U'\uD55C'}, {U"\u1100\u1161", U'\uAC00'},   {U"\u1112\u1175\u11C2", U'\uD7A3'},
        {U"\u1100\u1100", std::nullopt},    {U"\u1100\u1161\u0301", std::nullopt}, {U"\u1100", std::nullopt},
        {U"\u1113\u1161", std::nullopt},    {U"e\u0301", std::nullopt},
        // A syllable of initial and vowel with a final after it.
        {U"\uAC00\u11A8", U'\uAC01'},      {U"\uD558\u11AB", U'\uD55C'},
        // Old Hangul (an archaic vowel, final, or a filler): no syllable.
        {U"\u1100\u1176", std::nullopt},    {U"\u1100\u1161\u11C3", std::nullopt},
        {U"\u115F\u1161", std::nullopt},    {U"\u1100\u1161\u11A8\u11A8", std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(composedHangul(c.jamo), c.syllable);

    sizeTo(20, 2);
    feedAll("\x1B[?25l\xED\x95\x9C");
    const QImage precomposed = view.renderImage();
    feedAll("\r\xE1\x84\x92\xE1\x85\xA1\xE1\x86\xAB");
    ASSERT_EQ(view.terminal().buffer().line(0)->scalars(0), U"\u1112\u1161\u11AB");
    EXPECT_EQ(view.renderImage(), precomposed);
}

// Every character the claude CLI drew in its recorded screens (its logo,
// box, prompt, footer and spinner) has a glyph in the terminal's fonts: none
// is drawn as the empty box of a character no font has.
TEST_F(RendererViewTest, ClaudesCharactersAllHaveAGlyph)
{
    sizeTo(4, 1);
    auto cell = [&](const std::string& text) {
        feedAll("\x1B[?25l\x1B[2J\x1B[H" + text);
        return view.renderImage().copy(0, 0, static_cast<int>(view.cellWidth()), static_cast<int>(view.cellHeight()));
    };
    // Private-use characters of plane 15: no font has them, so they show the
    // empty box (and the same one).
    const QImage missing = cell("\xF3\xB0\x80\x80");
    ASSERT_EQ(cell("\xF3\xB0\x80\x81"), missing);
    ASSERT_NE(cell("A"), missing);
    const QString drawn = QString::fromUtf8("·…←⎿⏵─│╭╮╯╰█▌▐▘▛▜▝●✔✳✻❯✢✶✽");
    for (const QChar ch : drawn) {
        SCOPED_TRACE(QString(ch).toStdString());
        EXPECT_NE(cell(QString(ch).toStdString()), missing);
    }
    // The test itself: a character no font has is told apart.
    EXPECT_EQ(cell("\xF4\x8F\xBF\xBC"), missing);
}

// Emoji come from the colour emoji font, also those a text font has a plain
// outline of (DejaVu Sans draws U+1F600 in one colour), and a joiner
// sequence is one picture.
TEST_F(RendererViewTest, EmojiAreDrawnInColour)
{
    if (!QFontDatabase::families().contains(QStringLiteral("Noto Color Emoji")))
        GTEST_SKIP() << "Noto Color Emoji is not installed";
    sizeTo(20, 3);
    auto coloured = [&](const QImage& image, int column) {
        int pixels = 0;
        for (int y = 0; y < static_cast<int>(view.cellHeight()); ++y) {
            for (int x = static_cast<int>(view.cellWidth() * column); x < static_cast<int>(view.cellWidth() * (column + 2)); ++x) {
                const QColor p = image.pixelColor(x, y);
                if (std::max({p.red(), p.green(), p.blue()}) - std::min({p.red(), p.green(), p.blue()}) > 60)
                    ++pixels;
            }
        }
        return pixels;
    };
    for (const char* emoji : {"\xF0\x9F\x98\x80", "\xF0\x9F\x98\x8A", "\xF0\x9F\x9A\x80", "\xE2\x9C\x85",
                              "\xF0\x9F\x8F\x83\xE2\x80\x8D\xE2\x99\x80\xEF\xB8\x8F"}) {
        SCOPED_TRACE(emoji);
        feedAll(std::string("\x1B[?25l\x1B[2J\x1B[H") + emoji);
        EXPECT_GT(coloured(view.renderImage(), 0), 10);
    }
}

} // namespace
} // namespace orva

// The outline kind read from 'maxp' agrees with the presence of a CFF table,
// for the terminal's font and its fallbacks in each variant; fonts missing
// here are skipped.
TEST(TerminalFonts, CffOutlinesToldFromMaxp)
{
    int checked = 0;
    for (const char* family :
         {"DejaVu Sans Mono", "Noto Sans Mono CJK KR", "Noto Sans CJK KR", "DejaVu Sans", "Noto Color Emoji"}) {
        for (const bool bold : {false, true}) {
            QFont font(QString::fromLatin1(family));
            font.setPixelSize(13);
            font.setBold(bold);
            const QRawFont raw = QRawFont::fromFont(font);
            if (!raw.isValid() || raw.familyName() != QString::fromLatin1(family))
                continue;
            const bool cffTable = !raw.fontTable("CFF ").isEmpty() || !raw.fontTable("CFF2").isEmpty();
            EXPECT_EQ(orva::hasCffOutlines(raw), cffTable) << family << (bold ? " bold" : "");
            ++checked;
        }
    }
    if (checked == 0)
        GTEST_SKIP() << "none of the fonts is installed";
}
