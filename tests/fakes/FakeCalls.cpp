#include "fakes/FakeCalls.h"

#include <QFile>

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

} // namespace orva::test
