#include "ui/design/DesignTokens.h"
#include "ui/screens/ScreenModules.h"
#include "workflow/WorkflowServices.h"

#include <QApplication>
#include <QFontDatabase>
#include <QQmlApplicationEngine>
#include <QQuickStyle>
#include <QQuickWindow>
#include <QUrl>

namespace {
// Large enough for the biggest screen: the 1020x800 dashboard overlay with
// its margins. The window opens at this size and keeps it as its minimum.
constexpr int kWindowWidth = 1120;
constexpr int kWindowHeight = 880;
} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("kem"));
    QApplication::setApplicationName(QStringLiteral("orva"));
    QQuickStyle::setStyle(QStringLiteral("Basic"));
    // Text, emoji and symbol fonts, and the text font as the default.
    orva::DesignTokens::loadDesignFonts();
    QApplication::setFont(orva::DesignTokens::Fonts::body());

    // The process-wide services live on the main thread for the whole run.
    orva::WorkflowServices::createSharedServices();

    QQmlApplicationEngine engine;
    orva::prepareQmlEngine(engine);
    QObject::connect(&engine, &QQmlApplicationEngine::objectCreationFailed, &app,
                     [] { QCoreApplication::exit(1); }, Qt::QueuedConnection);
    engine.load(QUrl(QStringLiteral("qrc:/Orva/App/Main.qml")));

    for (QObject* root : engine.rootObjects()) {
        if (auto* window = qobject_cast<QQuickWindow*>(root)) {
            window->setMinimumSize(QSize(kWindowWidth, kWindowHeight));
            if (window->width() < kWindowWidth || window->height() < kWindowHeight)
                window->resize(qMax(window->width(), kWindowWidth), qMax(window->height(), kWindowHeight));
        }
    }
    return app.exec();
}
