#include "app/AppStart.h"
#include "app/QuitSignals.h"

#include <QApplication>
#include <QQmlApplicationEngine>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    // SIGTERM, SIGINT and SIGHUP quit as closing the window does.
    orva::quitOnTerminationSignals();
    orva::configureApplication();

    QQmlApplicationEngine engine;
    QObject::connect(&engine, &QQmlApplicationEngine::objectCreationFailed, &app,
                     [] { QCoreApplication::exit(1); }, Qt::QueuedConnection);
    if (!orva::loadMainWindow(engine))
        return 1;
    return app.exec();
}
