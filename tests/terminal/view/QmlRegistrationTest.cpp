#include "terminal/LocalProcessTerminalView.h"
#include "terminal/NativeTerminalService.h"
#include "terminal/TerminalTypes.h"

#include "support/Waiting.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickWindow>
#include <QTest>

#include <memory>

namespace orva {
namespace {

TEST(TerminalQml, ItemsAndChannelAreUsableFromQml)
{
    registerTerminalTypes();
    QQmlEngine engine;
    QQmlComponent component(&engine);
    component.setData(R"(
        import QtQuick
        import Orva.Terminal 1.0
        Item {
            width: 720; height: 400
            property bool channelRunning: NativeTerminalService.isProcessRunning
            LocalProcessTerminalView { objectName: "terminal"; width: 700; height: 400; focus: true }
        }
    )",
                      QUrl());
    std::unique_ptr<QObject> root(component.create());
    ASSERT_TRUE(root) << component.errorString().toStdString();
    auto* view = root->findChild<LocalProcessTerminalView*>("terminal");
    ASSERT_NE(view, nullptr);
    EXPECT_FALSE(view->isRunning());
    // The grid follows the size QML gives the item.
    EXPECT_EQ(view->cols(), static_cast<int>((700 - TerminalRendererView::scrollerWidth) / view->cellWidth()));
    EXPECT_EQ(view->rows(), static_cast<int>(400 / view->cellHeight()));
    EXPECT_FALSE(root->property("channelRunning").toBool());
    NativeTerminalService::shared().setProcessRunning(true);
    EXPECT_TRUE(root->property("channelRunning").toBool());
    NativeTerminalService::shared().setProcessRunning(false);
}

TEST(TerminalQml, ItemPaintsInAWindow)
{
    QQuickWindow window;
    window.resize(400, 200);
    LocalProcessTerminalView view(80, 24);
    view.setParentItem(window.contentItem());
    view.setSize(QSizeF(400, 200));
    view.feedText("\x1B[?25l\x1B[42m      \x1B[0m");
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QImage shot;
    ASSERT_TRUE(test::waitUntil(
        [&] {
            shot = window.grabWindow();
            return !shot.isNull() && shot.pixelColor(2, 2) != QColor(Qt::black) && shot.pixelColor(2, 2).alpha() == 255;
        }));
    const RgbColor green = colorForAnsi256(2);
    EXPECT_EQ(shot.pixelColor(2, 2), QColor::fromRgbF(static_cast<float>(green.red), static_cast<float>(green.green),
                                                      static_cast<float>(green.blue)));
    EXPECT_EQ(shot.pixelColor(200, 100), QColor(Qt::black));
}

// The window shows, row by row, what the item draws whole: after the first
// frame, after a glyph echoed at the cursor (a frame that sends its row
// alone), and after a scroll (one that sends every row). No row is stale and
// no seam shows between rows.
TEST(TerminalQml, WindowShowsTheWholePictureAfterEachChange)
{
    QQuickWindow window;
    TerminalRendererView view(40, 6);
    view.setParentItem(window.contentItem());
    view.setSize(QSizeF(view.cellWidth() * 40 + TerminalRendererView::scrollerWidth, view.cellHeight() * 6));
    window.resize(view.size().toSize());
    view.feedText("\x1B[1;33m\xED\x95\x9C\xEA\xB8\x80 \xEA\xB5\xB5\xEA\xB2\x8C\x1B[0m \x1B[7;32m\xEB\xB0\x98\xEC\xA0\x84 "
                  "\xE2\x9C\x85\x1B[0m \xE2\x95\xAD\xE2\x94\x80\xE2\x95\xAE\r\n\x1B[44mgjpqy_|\x1B[0m\r\n$ ");
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    // The grid's pixels, left of the scroll bar (whose edges the two draw
    // each their own way).
    const QRect grid(0, 0, static_cast<int>(view.cellWidth() * 40), window.height());
    auto showsWhole = [&] {
        const QImage shot = window.grabWindow().convertToFormat(QImage::Format_ARGB32_Premultiplied);
        const QImage whole = view.renderImage();
        return !shot.isNull() && shot.copy(grid) == whole.copy(grid);
    };
    for (const char* output : {"", "Z", "\r\n\r\n\r\n\r\n\r\nscrolled"}) {
        SCOPED_TRACE(output);
        view.feedText(output);
        EXPECT_TRUE(QTest::qWaitFor(showsWhole, test::kWaitDeadlineMs));
    }
}

} // namespace
} // namespace orva
