#pragma once

// The body of a GoogleTest main with a Qt application object of type `App`
// (QGuiApplication, or QApplication for tests that show widgets), offscreen
// unless the environment says otherwise. Any Qt warning during a test fails
// that test; one outside any test fails the run.

#include "WarningGuard.h"

#include <gtest/gtest.h>

#include <QStringList>

#include <cstdio>

namespace orva::test {

template <class App>
int runGoogleTests(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("QT_QUICK_BACKEND"))
        qputenv("QT_QUICK_BACKEND", "software");
    installWarningGuard([](const QString& line) {
        if (!testing::UnitTest::GetInstance()->current_test_info())
            return false;
        ADD_FAILURE() << "Unexpected Qt warning: " << line.toStdString();
        return true;
    });
    App app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    const int status = RUN_ALL_TESTS();
    const QStringList stray = takeRecordedWarnings();
    for (const QString& line : stray)
        std::fprintf(stderr, "Unexpected Qt warning: %s\n", qPrintable(line));
    return status != 0 ? status : (stray.isEmpty() ? 0 : 1);
}

} // namespace orva::test
