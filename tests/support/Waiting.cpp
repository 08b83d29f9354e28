#include "support/Waiting.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>
#include <QTimer>

namespace orva::test {

bool waitUntil(const std::function<bool()>& condition, std::chrono::milliseconds deadline)
{
    QElapsedTimer clock;
    clock.start();
    while (!condition()) {
        if (clock.elapsed() > deadline.count())
            return condition();
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(2);
    }
    return true;
}

bool runTimersDueWithin(std::chrono::milliseconds interval, std::chrono::milliseconds deadline)
{
    bool ran = false;
    QObject context;
    QTimer::singleShot(interval, Qt::PreciseTimer, &context, [&ran] { ran = true; });
    return waitUntil([&ran] { return ran; }, deadline);
}

} // namespace orva::test
