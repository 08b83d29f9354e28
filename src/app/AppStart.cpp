#include "app/AppStart.h"

#include "ui/design/DesignTokens.h"
#include "ui/screens/ScreenModules.h"
#include "workflow/WorkflowServices.h"

#include <QGuiApplication>
#include <QQmlApplicationEngine>
#include <QQuickStyle>
#include <QQuickWindow>
#include <QUrl>
#include <QtQml/qqmlextensionplugin.h>

Q_IMPORT_QML_PLUGIN(Orva_AppPlugin)

namespace orva {

namespace {
// Large enough for the biggest screen: the 1020x800 dashboard overlay with
// its margins. The window opens at this size and keeps it as its minimum.
constexpr int kWindowWidth = 1120;
constexpr int kWindowHeight = 880;
} // namespace

void configureApplication()
{
    QCoreApplication::setOrganizationName(QStringLiteral("kem"));
    QCoreApplication::setApplicationName(QStringLiteral("orva"));
    QQuickStyle::setStyle(QStringLiteral("Basic"));
    // Text, emoji and symbol fonts, and the text font as the default.
    DesignTokens::loadDesignFonts();
    QGuiApplication::setFont(DesignTokens::Fonts::body());
    // The process-wide services live on the main thread for the whole run.
    WorkflowServices::createSharedServices();
}

bool loadMainWindow(QQmlApplicationEngine& engine)
{
    prepareQmlEngine(engine);
    engine.load(QUrl(QStringLiteral("qrc:/Orva/App/Main.qml")));
    bool found = false;
    for (QObject* root : engine.rootObjects()) {
        if (auto* window = qobject_cast<QQuickWindow*>(root)) {
            found = true;
            window->setMinimumSize(QSize(kWindowWidth, kWindowHeight));
            if (window->width() < kWindowWidth || window->height() < kWindowHeight)
                window->resize(qMax(window->width(), kWindowWidth), qMax(window->height(), kWindowHeight));
        }
    }
    return found;
}

} // namespace orva
