#include "ui/screens/ScreenModules.h"

#include "terminal/TerminalTypes.h"
#include "workflow/WorkflowQml.h"

#include <QQmlEngine>
#include <QtQml/qqmlextensionplugin.h>

// The static QML modules linked into the program.
Q_IMPORT_QML_PLUGIN(Orva_DesignPlugin)
Q_IMPORT_QML_PLUGIN(Orva_ComponentsPlugin)
Q_IMPORT_QML_PLUGIN(Orva_Screens_EntryPlugin)
Q_IMPORT_QML_PLUGIN(Orva_Screens_ChatPlugin)
Q_IMPORT_QML_PLUGIN(Orva_Screens_OnboardingPlugin)
Q_IMPORT_QML_PLUGIN(Orva_Screens_GuidingPlugin)
Q_IMPORT_QML_PLUGIN(Orva_Screens_DashboardPlugin)
Q_IMPORT_QML_PLUGIN(Orva_Screens_WorkPlugin)
Q_IMPORT_QML_PLUGIN(Orva_ScreensPlugin)

namespace orva {

void prepareQmlEngine(QQmlEngine& engine)
{
    registerTerminalTypes();
    registerWorkflowTypes();
    engine.addImportPath(QStringLiteral("qrc:/"));
}

} // namespace orva
