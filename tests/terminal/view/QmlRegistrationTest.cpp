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

} // namespace
} // namespace orva
