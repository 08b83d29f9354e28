#include "fakes/FakeCalls.h"

#include <QDir>
#include <QFile>

#include <unistd.h>

namespace orva::test {

QString fakesBinDir()
{
    return QStringLiteral(ORVA_FAKES_BIN_DIR);
}

QString fakeClaudePath()
{
    return fakesBinDir() + QStringLiteral("/claude");
}

QString fakeShellPath()
{
    return fakesBinDir() + QStringLiteral("/fake-shell");
}

namespace {
QString decoded(const QByteArray& base64)
{
    return QString::fromUtf8(QByteArray::fromBase64(base64.trimmed()));
}
} // namespace

QList<FakeCall> readFakeCalls(const QString& logFile)
{
    QList<FakeCall> calls;
    QFile file(logFile);
    if (!file.open(QIODevice::ReadOnly))
        return calls;
    const QList<QByteArray> lines = file.readAll().split('\n');
    FakeCall* open = nullptr; // the record whose header lines are being read
    auto byPid = [&calls](qint64 pid) -> FakeCall* {
        for (qsizetype i = calls.size() - 1; i >= 0; --i) {
            if (calls[i].pid == pid)
                return &calls[i];
        }
        return nullptr;
    };
    for (int index = 0; index < lines.size(); ++index) {
        const QByteArray& line = lines[index];
        if (line.startsWith("=== call ") || line.startsWith("=== shell ")) {
            FakeCall call;
            call.kind = line.startsWith("=== shell ") ? QStringLiteral("shell") : QString();
            call.pid = line.mid(line.lastIndexOf(' ') + 1).toLongLong();
            call.startOrder = index;
            calls.append(call);
            open = &calls.last();
        } else if (open && line == "end") {
            open = nullptr;
        } else if (open && line.startsWith("kind: ")) {
            open->kind = QString::fromUtf8(line.mid(6));
        } else if (open && line.startsWith("cwd: ")) {
            open->cwd = decoded(line.mid(5));
        } else if (open && line.startsWith("path: ")) {
            open->path = decoded(line.mid(6));
        } else if (open && line.startsWith("stdin: ")) {
            open->stdinKind = QString::fromUtf8(line.mid(7));
        } else if (open && line.startsWith("arg: ")) {
            open->arguments.append(decoded(line.mid(5)));
        } else if (line.startsWith("message ")) {
            const qsizetype colon = line.indexOf(':');
            if (FakeCall* call = byPid(line.mid(8, colon - 8).toLongLong()))
                call->messages.append(decoded(line.mid(colon + 1)));
        } else if (line.startsWith("line ")) {
            const qsizetype colon = line.indexOf(':');
            if (FakeCall* call = byPid(line.mid(5, colon - 5).toLongLong()))
                call->lines.append(decoded(line.mid(colon + 1)));
        } else if (line.startsWith("plan ")) {
            const qsizetype colon = line.indexOf(':');
            if (FakeCall* call = byPid(line.mid(5, colon - 5).toLongLong()))
                call->plans.append(QByteArray::fromBase64(line.mid(colon + 1).trimmed()));
        } else if (line.startsWith("done ")) {
            if (FakeCall* call = byPid(line.mid(5).toLongLong()))
                call->doneOrder = index;
        } else if (line.startsWith("background ")) {
            const QList<QByteArray> parts = line.split(' ');
            if (parts.size() == 3) {
                if (FakeCall* call = byPid(parts[1].toLongLong()))
                    call->backgroundPid = parts[2].toLongLong();
            }
        }
    }
    return calls;
}

QList<FakeCall> fakeCallsOfKind(const QString& logFile, const QString& kind)
{
    QList<FakeCall> selected;
    const QList<FakeCall> all = readFakeCalls(logFile);
    for (const FakeCall& call : all) {
        if (call.kind == kind)
            selected.append(call);
    }
    return selected;
}

void installFakeMachine(const QString& base)
{
    for (const char* folder : {"home", "xdg/data", "xdg/config", "xdg/cache", "xdg/state", "xdg/runtime", "Documents",
                               "container"})
        QDir().mkpath(base + QLatin1Char('/') + QString::fromLatin1(folder));
    QFile::setPermissions(base + QStringLiteral("/xdg/runtime"),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    qputenv("HOME", (base + QStringLiteral("/home")).toUtf8());
    qputenv("XDG_DATA_HOME", (base + QStringLiteral("/xdg/data")).toUtf8());
    qputenv("XDG_CONFIG_HOME", (base + QStringLiteral("/xdg/config")).toUtf8());
    qputenv("XDG_CACHE_HOME", (base + QStringLiteral("/xdg/cache")).toUtf8());
    qputenv("XDG_STATE_HOME", (base + QStringLiteral("/xdg/state")).toUtf8());
    qputenv("XDG_RUNTIME_DIR", (base + QStringLiteral("/xdg/runtime")).toUtf8());
    qunsetenv("ZDOTDIR");
    const QString originalPath = qEnvironmentVariable("PATH", QStringLiteral("/usr/bin:/bin"));
    qputenv("PATH", (fakesBinDir() + QLatin1Char(':') + originalPath).toUtf8());
    qputenv("SHELL", fakeShellPath().toUtf8());
    qputenv("FAKE_SHELL_WHICH", fakeClaudePath().toUtf8());
    qputenv("FAKE_SHELL_LOGIN_PATH", (fakesBinDir() + QStringLiteral(":/usr/bin:/bin")).toUtf8());
    qputenv("FAKE_CLAUDE_LOG", (base + QStringLiteral("/calls.log")).toUtf8());
    qputenv("FAKE_CLAUDE_STATE", (base + QStringLiteral("/claude.state")).toUtf8());
}

QStringList childProcesses()
{
    QStringList children;
    const QString self = QString::number(::getpid());
    for (const QString& entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        QFile stat(QStringLiteral("/proc/") + entry + QStringLiteral("/stat"));
        if (!stat.open(QIODevice::ReadOnly))
            continue;
        const QString text = QString::fromUtf8(stat.readAll());
        const qsizetype close = text.lastIndexOf(QLatin1Char(')'));
        // After the name: state, ppid, ...
        const QStringList fields = text.mid(close + 2).split(QLatin1Char(' '));
        if (fields.size() > 1 && fields[1] == self)
            children << text.left(close + 1);
    }
    return children;
}

} // namespace orva::test
