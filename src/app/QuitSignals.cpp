#include "app/QuitSignals.h"

#include "platform/Log.h"

#include <QGuiApplication>
#include <QSocketNotifier>
#include <QWindow>

#include <cerrno>
#include <csignal>

#include <fcntl.h>
#include <unistd.h>

namespace orva {

namespace {
constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};

// The handler only writes the signal's number into a pipe; the main loop
// reads it. Nothing else is safe inside a signal handler.
int signalPipe[2] = {-1, -1};
pid_t owner = 0;

void onSignal(int signal)
{
    if (::getpid() != owner) {
        // A child between fork and exec: the signal is its own to die of.
        ::signal(signal, SIG_DFL);
        ::raise(signal);
        return;
    }
    const int saved = errno;
    const unsigned char number = static_cast<unsigned char>(signal);
    [[maybe_unused]] const ssize_t written = ::write(signalPipe[1], &number, 1);
    errno = saved;
}

const char* nameOf(int signal)
{
    switch (signal) {
    case SIGTERM:
        return "SIGTERM";
    case SIGINT:
        return "SIGINT";
    case SIGHUP:
        return "SIGHUP";
    }
    return "a signal";
}

void quit(int signal)
{
    logLine(QStringLiteral("[ORVAApp] Quitting on %1").arg(QLatin1String(nameOf(signal))));
    // What a person closing the window does, for every window, then the quit
    // that follows the last one closed (also when none was open yet).
    for (QWindow* window : QGuiApplication::topLevelWindows())
        window->close();
    QCoreApplication::quit();
}
} // namespace

void quitOnTerminationSignals()
{
    if (owner != 0 || !QCoreApplication::instance())
        return;
    if (::pipe2(signalPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    owner = ::getpid();
    auto* notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, QCoreApplication::instance());
    QObject::connect(notifier, &QSocketNotifier::activated, notifier, [] {
        unsigned char number = 0;
        int last = 0;
        while (::read(signalPipe[0], &number, 1) == 1)
            last = number;
        if (last != 0)
            quit(last);
    });
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : kSignals)
        ::sigaction(signal, &action, nullptr);
}

} // namespace orva
