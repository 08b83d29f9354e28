// GoogleTest main for tests that need a Qt application object and its event
// loop. Any Qt warning during a test fails that test.
#include "GoogleTestMain.h"

#include <QGuiApplication>

int main(int argc, char** argv)
{
    return orva::test::runGoogleTests<QGuiApplication>(argc, argv);
}
