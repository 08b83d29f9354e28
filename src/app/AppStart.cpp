#include "app/AppStart.h"

#include "app/QuickRenderer.h"
#include "platform/Log.h"
#include "ui/design/DesignTokens.h"
#include "ui/design/WidgetPalette.h"
#include "ui/screens/ScreenModules.h"
#include "workflow/WorkflowServices.h"
#include "app/QtFolderPanel.h"
#include "workspace/DirectoryAccessService.h"
#include "workspace/XcodeService.h"

#include <QGuiApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <QQmlApplicationEngine>
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
    // Before the first window: the renderer fits the machine's OpenGL.
    applyQuickRenderer();
    // Text, emoji and symbol fonts, and the text font as the default.
    DesignTokens::loadDesignFonts();
    QGuiApplication::setFont(DesignTokens::Fonts::body());
    // The application speaks Korean: Qt's texts, and the names of file
    // types the folder dialogs show.
    QLocale::setDefault(QLocale(QLocale::Korean, QLocale::SouthKorea));
    installQtTranslations();
    QtFolderPanel::setDialogPalette(DesignTokens::widgetPalette());
    // The folder panels are Qt's file dialogs, given to the services the way
    // the tests give theirs; the project folder's Xcode lookup goes with them.
    WorkflowServices& services = WorkflowServices::defaults();
    if (!services.directoryAccess) {
        services.directoryAccess = new DirectoryAccessService(std::make_shared<QtFolderPanel>());
        services.xcode = new XcodeService(*services.directoryAccess);
    }
    // The process-wide services live on the main thread for the whole run.
    WorkflowServices::createSharedServices();
}

bool installQtTranslations()
{
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    auto* translator = new QTranslator(QCoreApplication::instance());
    // "qt" names Qt's catalogue of catalogues; it brings qtbase's and the
    // others' along.
    if (!translator->load(QLocale(QLocale::Korean, QLocale::SouthKorea), QStringLiteral("qt"), QStringLiteral("_"),
                          folder)) {
        delete translator;
        logLine(QStringLiteral("[AppStart] Qt's Korean translation not found in ") + folder);
        return false;
    }
    return QCoreApplication::installTranslator(translator);
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
