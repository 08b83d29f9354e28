// Qt Quick Test main for the shared components: registers the two static QML
// modules and a few helpers. Inside a test every TestCase fails on any
// warning (failOnWarning in its init()); the guard installed here fails the
// run for warnings raised before the test log takes over the message handler.
#include "support/QuickTestHelpers.h"
#include "support/WarningGuard.h"
#include "ui/TaskValues.h"
#include "ui/design/DesignTokens.h"

#include <QCoreApplication>
#include <QFile>
#include <QQmlContext>
#include <QQmlEngine>
#include <QQuickItem>
#include <QtQml/qqmlextensionplugin.h>
#include <QtQuickTest/quicktest.h>

#include <cstdio>


Q_IMPORT_QML_PLUGIN(Orva_DesignPlugin)
Q_IMPORT_QML_PLUGIN(Orva_ComponentsPlugin)

namespace {

// Test helpers reachable from QML as `helpers`.
class Helpers : public orva::test::QuickTestHelpers {
    Q_OBJECT
public:
    Q_INVOKABLE QVariant task(const QString& title, const QString& titleUx, const QString& summaryUx, int status,
                              int testStatus) const
    {
        return orva::test::taskValue(7, title, titleUx, summaryUx, status, testStatus);
    }
};

class Setup : public QObject {
    Q_OBJECT
public slots:
    void applicationAvailable() { orva::DesignTokens::loadDesignFonts(); }
    void qmlEngineAvailable(QQmlEngine* engine)
    {
        engine->addImportPath(QStringLiteral("qrc:/"));
        engine->rootContext()->setContextProperty(QStringLiteral("helpers"), &helpers_);
    }

private:
    Helpers helpers_;
};

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("QT_QUICK_BACKEND"))
        qputenv("QT_QUICK_BACKEND", "software");
    orva::test::installWarningGuard();
    Setup setup;
    const int status = quick_test_main_with_setup(argc, argv, "orva_ui_quick_test", nullptr, &setup);
    const QStringList warnings = orva::test::takeRecordedWarnings();
    for (const QString& line : warnings)
        std::fprintf(stderr, "Unexpected Qt warning: %s\n", qPrintable(line));
    return status != 0 ? status : (warnings.isEmpty() ? 0 : 1);
}

#include "QuickTestMain.moc"
