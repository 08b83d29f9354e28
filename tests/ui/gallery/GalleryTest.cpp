// Renders each gallery scene offscreen with the software renderer and saves
// it as a PNG picture; checks that each picture is not empty.
#include "ui/TaskValues.h"
#include "ui/design/DesignTokens.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QQmlContext>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickView>
#include <QTest>
#include <QtQml/qqmlextensionplugin.h>

Q_IMPORT_QML_PLUGIN(Orva_DesignPlugin)
Q_IMPORT_QML_PLUGIN(Orva_ComponentsPlugin)

namespace {

// Makes TaskItem values for the scenes.
class TaskFactory : public QObject {
    Q_OBJECT
public:
    Q_INVOKABLE QVariant make(const QString& title, const QString& titleUx, const QString& summaryUx, int status,
                              int testStatus) const
    {
        return orva::test::taskValue(1, title, titleUx, summaryUx, status, testStatus);
    }
};

TEST(Gallery, RendersEveryScene)
{
    ASSERT_TRUE(orva::DesignTokens::loadDesignFonts());
    const QString outDir = QStringLiteral(ORVA_GALLERY_OUTPUT);
    QDir().mkpath(outDir);

    TaskFactory factory;
    QQuickView view;
    view.engine()->addImportPath(QStringLiteral("qrc:/"));
    view.rootContext()->setContextProperty(QStringLiteral("taskFactory"), &factory);
    view.setColor(orva::DesignTokens::Colors::background());
    view.setResizeMode(QQuickView::SizeRootObjectToView);
    view.setSource(QUrl::fromLocalFile(QStringLiteral(ORVA_GALLERY_QML)));
    ASSERT_EQ(view.status(), QQuickView::Ready) << qPrintable(view.errors().isEmpty() ? QString() : view.errors().first().toString());
    QObject* root = view.rootObject();
    ASSERT_TRUE(root);
    const QStringList scenes = root->property("sceneNames").toStringList();
    ASSERT_FALSE(scenes.isEmpty());

    for (const QString& scene : scenes) {
        SCOPED_TRACE(scene.toStdString());
        QMetaObject::invokeMethod(root, "show", Q_ARG(QVariant, scene));
        const QSize size = root->property("sceneSize").toSize();
        const int wait = root->property("sceneWait").toInt();
        view.resize(size);
        view.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
        QTest::qWait(wait);
        const QImage image = view.grabWindow();
        ASSERT_FALSE(image.isNull());
        const QString file = outDir + QLatin1Char('/') + scene + QStringLiteral(".png");
        ASSERT_TRUE(image.save(file)) << file.toStdString();
        // Something besides the background was drawn.
        const QRgb bg = image.pixel(0, 0);
        bool drawn = false;
        for (int y = 0; y < image.height() && !drawn; y += 2)
            for (int x = 0; x < image.width() && !drawn; x += 2)
                drawn = image.pixel(x, y) != bg;
        EXPECT_TRUE(drawn);
    }
}

} // namespace

#include "GalleryTest.moc"
