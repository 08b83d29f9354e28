// Qt Quick Test main for the screens: installs a temporary machine (folders,
// settings, the fake `claude` first in PATH) before any shared service
// starts, prepares the engine as the application does and gives the tests
// `helpers`. Every TestCase fails on any warning (failOnWarning in its
// init()); the guard installed here fails the run for warnings raised outside
// a test function.
#include "ScreenTestEnvironment.h"
#include "support/WarningGuard.h"
#include "workflow/ClaudeProcessService.h"

#include <QQmlEngine>
#include <QtQuickTest/quicktest.h>

#include <cstdio>
#include <memory>

namespace {

class Setup : public QObject {
    Q_OBJECT
public:
    explicit Setup(orva::test::ScreenTestEnvironment& environment) : helpers_(environment) {}
public slots:
    void qmlEngineAvailable(QQmlEngine* engine) { orva::test::prepareScreenEngine(*engine, helpers_); }
    // No `claude` child outlives the run.
    void cleanupTestCase() { orva::ClaudeProcessService::shared().shutdown(); }

private:
    orva::test::ScreenTestHelpers helpers_;
};

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("QT_QUICK_BACKEND"))
        qputenv("QT_QUICK_BACKEND", "software");
    orva::test::installWarningGuard();
    orva::test::ScreenTestEnvironment environment;
    Setup setup(environment);
    const int status = quick_test_main_with_setup(argc, argv, ORVA_SCREEN_TEST_NAME, nullptr, &setup);
    const QStringList warnings = orva::test::takeRecordedWarnings();
    for (const QString& line : warnings)
        std::fprintf(stderr, "Unexpected Qt warning: %s\n", qPrintable(line));
    return status != 0 ? status : (warnings.isEmpty() ? 0 : 1);
}

#include "ScreenQuickTestMain.moc"
