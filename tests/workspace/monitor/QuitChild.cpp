// A window and the workspace monitor, closed while a worker reads: the
// process must end once its window has closed. Run by QuitTest:
//
//   workspace_quit_child <folder> fifo-interview|stuck-read
//
// fifo-interview: a FIFO stands in the interview state's place when it is read.
// stuck-read:     the read of the task plan never returns (a file on a hung
//                 network share).
// Either way the window closes once the read has begun (at most 5 s after it
// was asked for), and the child prints "window closed".
#include "platform/AppContext.h"
#include "workspace/AppGroupMonitorService.h"
#include "workspace/AppGroupStorageService.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QSemaphore>
#include <QThread>
#include <QTimer>
#include <QWindow>

#include <atomic>
#include <cstdio>
#include <cstring>

#include <sys/stat.h>

using namespace orva;

int main(int argc, char* argv[])
{
    QGuiApplication app(argc, argv);
    if (argc < 3)
        return 2;
    const QString root = QString::fromLocal8Bit(argv[1]);
    const bool fifo = std::strcmp(argv[2], "fifo-interview") == 0;
    AppContext context;
    context.containerPath = root + QStringLiteral("/container");
    context.documentsPath = root + QStringLiteral("/Documents");
    context.homePath = root;
    context.settingsPath = root + QStringLiteral("/settings.ini");
    AppContext::setCurrent(context);
    AppGroupStorageService storage;
    const QString zave = context.containerPath + QStringLiteral("/ZAVE");

    QWindow window;
    window.resize(100, 100);
    window.show();

    std::atomic<bool> reading = false;
    QSemaphore never;
    auto* monitor = new AppGroupMonitorService(std::chrono::milliseconds(50));
    if (fifo) {
        ::mkfifo(QFile::encodeName(zave + QStringLiteral("/interview_state.json")).constData(), 0600);
        monitor->setAfterInterviewStateReadHook([&] { reading = true; });
        monitor->startInterviewStateMonitoring([](const QString&) {});
    } else {
        monitor->setAfterTaskFileReadHook([&] {
            reading = true;
            never.acquire();
        });
        monitor->startTaskDashboardMonitoring();
    }
    QFile change(fifo ? zave + QStringLiteral("/other.txt") : zave + QStringLiteral("/project/Task.json"));
    if (!change.open(QIODevice::WriteOnly) || change.write("{}") != 2)
        return 3;
    change.close();

    QElapsedTimer clock;
    clock.start();
    while (!reading && clock.elapsed() < 5000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(5);
    }
    std::printf("window closed%s\n", reading ? "" : " (the read never returned)");
    std::fflush(stdout);
    QTimer::singleShot(0, &window, &QWindow::close);
    return QCoreApplication::exec();
}
