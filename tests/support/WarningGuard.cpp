#include "WarningGuard.h"

#include <QMutex>
#include <QtGlobal>

#include <cstdio>

namespace orva::test {

namespace {
QMutex guardMutex;
QStringList recorded;
QStringList expected;
std::function<bool(const QString&)> warningSink;

void handler(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    const QByteArray text = message.toLocal8Bit();
    std::fprintf(stderr, "%s\n", text.constData());
    std::fflush(stderr);
    if (type == QtDebugMsg || type == QtInfoMsg)
        return;
    // Fonts missing on a headless machine and an unset runtime folder are not
    // faults of the code under test.
    if (message.contains(QLatin1String("QFont::")) || message.contains(QLatin1String("propagateSizeHints"))
        || message.contains(QLatin1String("XDG_RUNTIME_DIR")))
        return;
    QMutexLocker lock(&guardMutex);
    for (qsizetype i = 0; i < expected.size(); ++i) {
        if (message.contains(expected.at(i))) {
            expected.removeAt(i);
            return;
        }
    }
    const QString line = QString::fromLatin1(context.category ? context.category : "default")
                         + QLatin1String(": ") + message;
    if (warningSink) {
        lock.unlock();
        if (warningSink(line))
            return;
        lock.relock();
    }
    recorded.append(line);
}
} // namespace

void installWarningGuard(std::function<bool(const QString&)> sink)
{
    warningSink = std::move(sink);
    qInstallMessageHandler(handler);
}

QStringList takeRecordedWarnings()
{
    QMutexLocker lock(&guardMutex);
    QStringList result;
    result.swap(recorded);
    expected.clear();
    return result;
}

void expectWarning(const QString& substring)
{
    QMutexLocker lock(&guardMutex);
    expected.append(substring);
}

} // namespace orva::test
