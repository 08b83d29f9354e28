#include "workspace/BackgroundWork.h"

#include <QCoreApplication>
#include <QThreadPool>

#include <atomic>

namespace orva {

namespace {
// How long a quit waits for running jobs before it leaves them behind.
constexpr int kQuitWaitMs = 1000;

std::atomic<bool> stopping{false};

void quitting(QThreadPool* pool)
{
    stopping = true;
    pool->clear();
    pool->waitForDone(kQuitWaitMs);
}

QThreadPool* pool()
{
    // Never destroyed: destroying a pool (like Qt's global one when the
    // application object goes) waits for every job, however long it takes.
    static QThreadPool* instance = [] {
        auto* threads = new QThreadPool;
        if (auto* app = QCoreApplication::instance())
            QObject::connect(app, &QCoreApplication::aboutToQuit, app, [threads] { quitting(threads); });
        return threads;
    }();
    return instance;
}
} // namespace

void runInBackground(std::function<void()> job)
{
    if (stopping)
        return;
    pool()->start(std::move(job));
}

bool backgroundWorkStopping()
{
    return stopping;
}

} // namespace orva
