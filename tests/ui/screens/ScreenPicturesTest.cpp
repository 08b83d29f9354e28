// Renders each scene of a screen's picture file offscreen, at the size the
// scene asks for, with the software renderer, and saves it as
// <build>/.../pictures/<scene>.png.
//
// The picture file's root object offers:
//   property var sceneNames       the scenes, in order
//   function show(name)           lays out the scene
//   property size sceneSize       the picture's size (default: the window, 1120x880)
//   property int sceneWait        milliseconds to let it settle (default 600)
//   property bool sceneReady      optional: when present, waited for (up to the tests' deadline) after sceneWait
// and it can use `helpers` (ScreenTestEnvironment.h).
#include "ScreenTestEnvironment.h"
#include "support/Waiting.h"
#include "ui/design/DesignTokens.h"
#include "workflow/ClaudeProcessService.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QQmlContext>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickView>
#include <QTest>

namespace {

TEST(ScreenPictures, RendersEveryScene)
{
    orva::test::ScreenTestEnvironment environment;
    orva::test::ScreenTestHelpers helpers(environment);
    const QString outDir = QStringLiteral(ORVA_PICTURES_OUTPUT);
    QDir().mkpath(outDir);

    QQuickView view;
    orva::test::prepareScreenEngine(*view.engine(), helpers);
    view.setColor(orva::DesignTokens::Colors::background());
    view.setResizeMode(QQuickView::SizeRootObjectToView);
    view.resize(1120, 880);
    view.setSource(QUrl::fromLocalFile(QStringLiteral(ORVA_PICTURES_QML)));
    ASSERT_EQ(view.status(), QQuickView::Ready)
        << qPrintable(view.errors().isEmpty() ? QString() : view.errors().first().toString());
    QObject* root = view.rootObject();
    ASSERT_TRUE(root);
    const QStringList scenes = root->property("sceneNames").toStringList();
    ASSERT_FALSE(scenes.isEmpty());
    const QStringList only = qEnvironmentVariable("ORVA_PICTURES_ONLY").split(QLatin1Char(','), Qt::SkipEmptyParts);

    for (const QString& scene : scenes) {
        if (!only.isEmpty() && !only.contains(scene))
            continue;
        SCOPED_TRACE(scene.toStdString());
        QMetaObject::invokeMethod(root, "show", Q_ARG(QVariant, scene));
        QSize size = root->property("sceneSize").toSize();
        if (!size.isValid() || size.isEmpty())
            size = QSize(1120, 880);
        const QVariant wait = root->property("sceneWait");
        view.resize(size);
        view.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
        QTest::qWait(wait.isValid() ? wait.toInt() : 600);
        if (root->property("sceneReady").isValid()) {
            EXPECT_TRUE(orva::test::waitUntil([&] { return root->property("sceneReady").toBool(); }))
                << "scene never became ready";
        }
        const QImage image = view.grabWindow();
        ASSERT_FALSE(image.isNull());
        const QString file = outDir + QLatin1Char('/') + scene + QStringLiteral(".png");
        ASSERT_TRUE(image.save(file)) << file.toStdString();
    }
    // No `claude` child held still for a picture outlives the run.
    orva::ClaudeProcessService::shared().shutdown();
}

} // namespace
