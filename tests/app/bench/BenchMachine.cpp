#include "app/bench/BenchMachine.h"

#include "fakes/FakeCalls.h"
#include "platform/AppContext.h"

#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTimer>

#include <cstring>

#include <time.h>

namespace orva::bench {

double threadCpuSeconds()
{
    timespec ts {};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) / 1e9;
}

double statusMiB(const QString& pid, const char* field)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    const auto length = qsizetype(std::strlen(field));
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(field) && line.size() > length && line[length] == ':')
            return line.mid(length + 1).trimmed().split(' ').value(0).toDouble() / 1024.0;
    }
    return -1;
}

void idleFor(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

bool waitUntil(const std::function<bool()>& condition, int timeoutMs, int pollMs)
{
    QElapsedTimer clock;
    clock.start();
    while (!condition()) {
        if (clock.elapsed() > timeoutMs)
            return false;
        idleFor(pollMs);
    }
    return true;
}

QString rootFolder(const QString& root, const char* path) { return root + QLatin1Char('/') + QLatin1String(path); }

QString rootFolder(const char* path) { return rootFolder(qEnvironmentVariable(kRootVariable), path); }

void installEnvironment(const QString& root, const QString& promptCall)
{
    for (const char* folder : {"home/Documents", "xdg/data", "xdg/config", "xdg/cache", "xdg/state", "xdg/runtime", "bin"})
        QDir().mkpath(rootFolder(root, folder));
    QFile::setPermissions(rootFolder(root, "xdg/runtime"),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    qputenv(kRootVariable, root.toUtf8());
    qputenv("HOME", rootFolder(root, "home").toUtf8());
    qputenv("XDG_DATA_HOME", rootFolder(root, "xdg/data").toUtf8());
    qputenv("XDG_CONFIG_HOME", rootFolder(root, "xdg/config").toUtf8());
    qputenv("XDG_CACHE_HOME", rootFolder(root, "xdg/cache").toUtf8());
    qputenv("XDG_STATE_HOME", rootFolder(root, "xdg/state").toUtf8());
    qputenv("XDG_RUNTIME_DIR", rootFolder(root, "xdg/runtime").toUtf8());
    qunsetenv("ZDOTDIR");
    QFile wrapper(rootFolder(root, "bin/claude"));
    if (wrapper.open(QIODevice::WriteOnly)) {
        wrapper.write(QStringLiteral("#!/bin/sh\n"
                                     "case \" $* \" in *\" -p \"*) %1;; esac\n"
                                     "exec '%2' \"$@\"\n")
                          .arg(promptCall, test::fakeClaudePath())
                          .toUtf8());
        wrapper.close();
        wrapper.setPermissions(wrapper.permissions() | QFileDevice::ExeOwner);
    }
    const QString path = qEnvironmentVariable("PATH", QStringLiteral("/usr/bin:/bin"));
    qputenv("PATH", (rootFolder(root, "bin") + QLatin1Char(':') + test::fakesBinDir() + QLatin1Char(':') + path).toUtf8());
    qputenv("SHELL", test::fakeShellPath().toUtf8());
    qputenv("FAKE_SHELL_WHICH", rootFolder(root, "bin/claude").toUtf8());
    qputenv("FAKE_SHELL_LOGIN_PATH",
            (rootFolder(root, "bin") + QLatin1Char(':') + test::fakesBinDir() + QStringLiteral(":/usr/bin:/bin")).toUtf8());
    qputenv("FAKE_CLAUDE_LOG", rootFolder(root, "claude.log").toUtf8());
    qputenv("FAKE_CLAUDE_STATE", rootFolder(root, "claude.state").toUtf8());
}

void installContext()
{
    AppContext context = AppContext::platformDefaults();
    context.resourcesPath = QStringLiteral(ORVA_BENCH_RESOURCES_DIR);
    AppContext::setCurrent(context);
}

} // namespace orva::bench
