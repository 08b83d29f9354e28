// GoogleTest main for tests that need a Qt application object and its event
// loop. Any Qt warning during a test fails that test.
#include "WarningGuard.h"

#include <gtest/gtest.h>

#include <QGuiApplication>


int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("QT_QUICK_BACKEND"))
        qputenv("QT_QUICK_BACKEND", "software");
    orva::test::installWarningGuard([](const QString& line) {
        if (!testing::UnitTest::GetInstance()->current_test_info())
            return false;
        ADD_FAILURE() << "Unexpected Qt warning: " << line.toStdString();
        return true;
    });
    QGuiApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    // A warning outside any test fails the run here.
    const int status = RUN_ALL_TESTS();
    const QStringList stray = orva::test::takeRecordedWarnings();
    for (const QString& line : stray)
        std::fprintf(stderr, "Unexpected Qt warning: %s\n", qPrintable(line));
    return status != 0 ? status : (stray.isEmpty() ? 0 : 1);
}
