#include "support/Waiting.h"
#include "workspace/AppGroupMonitorService.h"
#include "workspace/TestFiles.h"
#include "workspace/monitor/WorkspaceFilesTest.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSemaphore>
#include <QSignalSpy>
#include <QTest>
#include <QThread>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <functional>

#include <sys/stat.h>
#include <unistd.h>

namespace orva {
namespace {

using namespace std::chrono_literals;
using test::writeFile;

QByteArray planJson(const QString& name, const char* status = "planned")
{
    return QStringLiteral(R"({"project":{"id":1,"name":"%1","createdAt":"2025-01-01","milestones":[
        {"id":1,"title":"M","type":"setupAndModeling","tasks":[
          {"id":1,"title":"t","title_ux":"T","summary_ux":"s","status":"%2","testStatus":"ready",
           "detail":{"description_ux":{"general":[],"view":[],"feature":[]},"modifiedFiles":[],"checklist_ux":[]}}]}]}})")
        .arg(name, QLatin1String(status))
        .toUtf8();
}

class MonitorTest : public test::WorkspaceFilesTest {
protected:
    static QString projectName(const AppGroupMonitorService& monitor)
    {
        const auto project = monitor.project();
        return project ? project->name : QString();
    }
};

constexpr auto kDebounce = 150ms;
constexpr auto kDeadline = test::kWaitDeadline;
constexpr qint64 kBound = 8 * 1024 * 1024;

// A valid plan padded with blanks to exactly `size` bytes.
QByteArray planOfSize(const QString& name, qint64 size)
{
    QByteArray bytes = planJson(name);
    bytes.append(QByteArray(size - bytes.size(), ' '));
    return bytes;
}

// What can stand where the plan should be, made in place of whatever is there.
struct InPlace {
    const char* name;
    std::function<bool(const QString& path)> make;
    std::optional<TaskFileError::Kind> kind; // none: read as a plan
};

bool removeAt(const QString& path)
{
    QFileInfo info(path);
    if (info.isDir() && !info.isSymLink())
        return QDir(path).removeRecursively();
    return ::unlink(QFile::encodeName(path).constData()) == 0 || errno == ENOENT;
}

QList<InPlace> thingsInThePlansPlace()
{
    return {
        {"a plan of exactly 8 MiB", [](const QString& p) { return removeAt(p) && writeFile(p, planOfSize(QStringLiteral("Bound"), kBound)); },
         std::nullopt},
        {"a plan one byte past 8 MiB",
         [](const QString& p) { return removeAt(p) && writeFile(p, planOfSize(QStringLiteral("Past"), kBound + 1)); },
         TaskFileError::Kind::tooLarge},
        {"a sparse 1 TB file",
         [](const QString& p) {
             return removeAt(p) && writeFile(p, {}) && ::truncate(QFile::encodeName(p).constData(), qint64(1) << 40) == 0;
         },
         TaskFileError::Kind::tooLarge},
        {"a FIFO", [](const QString& p) { return removeAt(p) && ::mkfifo(QFile::encodeName(p).constData(), 0600) == 0; },
         TaskFileError::Kind::notRegularFile},
        {"a folder", [](const QString& p) { return removeAt(p) && QDir().mkpath(p); }, TaskFileError::Kind::notRegularFile},
        {"a link to /dev/zero", [](const QString& p) { return removeAt(p) && QFile::link(QStringLiteral("/dev/zero"), p); },
         TaskFileError::Kind::notRegularFile},
        {"two byte-order marks",
         [](const QString& p) { return removeAt(p) && writeFile(p, "\xEF\xBB\xBF\xEF\xBB\xBF" + planJson(QStringLiteral("Marks"))); },
         TaskFileError::Kind::invalid},
        {"one byte-order mark", [](const QString& p) { return removeAt(p) && writeFile(p, "\xEF\xBB\xBF" + planJson(QStringLiteral("Mark"))); },
         std::nullopt},
    };
}

TEST_F(MonitorTest, AnExistingPlanIsLoadedAtCreationAndWatched)
{
    writeInPlace(plan, planJson(QStringLiteral("First")));
    AppGroupMonitorService monitor(kDebounce);
    EXPECT_EQ(projectName(monitor), QStringLiteral("First"));
    EXPECT_TRUE(monitor.isMonitoring(MonitorKey::taskDashboardFile));
    EXPECT_TRUE(monitor.isMonitoring(MonitorKey::taskDashboardDirectory));
    EXPECT_TRUE(monitor.projectValue().canConvert<Project>());
}

TEST_F(MonitorTest, APlanCreatedAfterWatchingStartsIsPublishedOnce)
{
    AppGroupMonitorService monitor(kDebounce);
    EXPECT_FALSE(monitor.hasProject());
    EXPECT_FALSE(monitor.projectValue().isValid());
    monitor.startTaskDashboardMonitoring();
    EXPECT_FALSE(monitor.isMonitoring(MonitorKey::taskDashboardFile)); // nothing to open yet
    QSignalSpy loads(&monitor, &AppGroupMonitorService::taskFileLoaded);
    QSignalSpy changes(&monitor, &AppGroupMonitorService::projectChanged);

    writeInPlace(plan, planJson(QStringLiteral("Created")));

    ASSERT_TRUE(test::waitUntil([&] { return loads.count() >= 1; }, kDeadline));
    settle(kDebounce * 3);
    EXPECT_EQ(loads.count(), 1);
    EXPECT_EQ(changes.count(), 1);
    EXPECT_EQ(projectName(monitor), QStringLiteral("Created"));
}

TEST_F(MonitorTest, WritesCloserThanTheWaitGiveOneLoad)
{
    writeInPlace(plan, planJson(QStringLiteral("v0")));
    AppGroupMonitorService monitor; // the real 0.5 s wait
    const qint64 wait = monitor.debounceInterval().count();
    QElapsedTimer clock;
    clock.start();
    QList<qint64> writes; // when each write had ended
    QList<qint64> loads;  // when each load was published
    QObject::connect(&monitor, &AppGroupMonitorService::taskFileLoaded, [&] { loads << clock.elapsed(); });

    for (int i = 1; i <= 3; ++i) {
        writeInPlace(plan, planJson(QStringLiteral("v%1").arg(i)));
        writes << clock.elapsed();
        QTest::qWait(200);
    }
    ASSERT_TRUE(test::waitUntil([&] { return projectName(monitor) == QStringLiteral("v3"); }, kDeadline));
    settle(700ms);
    // A load comes only after a whole wait without a write (a coarse timer may
    // end 5% early): once after the last write, and before it only where a
    // busy machine held two writes further apart than the wait.
    for (const qint64 at : loads) {
        qint64 lastWrite = -1;
        for (const qint64 write : writes)
            lastWrite = write < at ? write : lastWrite;
        EXPECT_GE(at - lastWrite, wait * 95 / 100) << "a load " << at - lastWrite << " ms after a write";
    }
    EXPECT_EQ(std::count_if(loads.begin(), loads.end(), [&](qint64 at) { return at > writes.last(); }), 1);
    bool writesCloserThanTheWait = true;
    for (qsizetype i = 1; i < writes.size(); ++i)
        writesCloserThanTheWait = writesCloserThanTheWait && writes[i] - writes[i - 1] < wait * 95 / 100;
    if (writesCloserThanTheWait) {
        EXPECT_EQ(loads.size(), 1);
    }
}

TEST_F(MonitorTest, AnInvalidPlanLeavesTheProjectAsItWas)
{
    writeInPlace(plan, planJson(QStringLiteral("Good")));
    AppGroupMonitorService monitor(kDebounce);
    QSignalSpy failures(&monitor, &AppGroupMonitorService::taskFileLoadFailed);
    QSignalSpy changes(&monitor, &AppGroupMonitorService::projectChanged);

    const QByteArray variants[] = {
        planJson(QStringLiteral("Bad"), "finished"),                      // status outside its vocabulary
        QByteArrayLiteral("{\"project\":{\"id\":1,\"name\":\"NoMilestones\",\"createdAt\":\"x\"}}"), // missing key
        QByteArrayLiteral("{\"project\":"),                                 // cut off
        planJson(QStringLiteral("Bad\xFF")).replace("Bad\xC3\xBF", "Bad\xFF"), // not UTF-8
    };
    int expectedFailures = 0;
    for (const QByteArray& bytes : variants) {
        writeInPlace(plan, bytes);
        ++expectedFailures;
        ASSERT_TRUE(test::waitUntil([&] { return failures.count() >= expectedFailures; }, kDeadline));
    }
    EXPECT_EQ(changes.count(), 0);
    EXPECT_EQ(projectName(monitor), QStringLiteral("Good"));
}

// Whatever stands in the plan's place is read without waiting and never past
// the bound; what cannot be used is reported, the last good plan stays, and
// a later good plan is still picked up.
TEST_F(MonitorTest, WhatCannotBeUsedIsReportedAndTheLastGoodPlanStays)
{
    writeInPlace(plan, planJson(QStringLiteral("Good")));
    AppGroupMonitorService monitor(kDebounce);
    QSignalSpy failures(&monitor, &AppGroupMonitorService::taskFileLoadFailed);
    QSignalSpy loads(&monitor, &AppGroupMonitorService::taskFileLoaded);
    for (const InPlace& thing : thingsInThePlansPlace()) {
        SCOPED_TRACE(thing.name);
        writeInPlace(plan, planJson(QStringLiteral("Good")));
        ASSERT_TRUE(test::waitUntil([&] { return projectName(monitor) == QStringLiteral("Good") && !monitor.taskFileError(); }, kDeadline));
        failures.clear();
        loads.clear();

        ASSERT_TRUE(thing.make(plan));
        if (thing.kind) {
            ASSERT_TRUE(test::waitUntil([&] { return failures.count() >= 1; }, kDeadline));
            EXPECT_EQ(projectName(monitor), QStringLiteral("Good"));
            ASSERT_TRUE(monitor.taskFileError().has_value());
            EXPECT_EQ(monitor.taskFileError()->kind, *thing.kind) << monitor.taskFileErrorText().toStdString();
            EXPECT_EQ(monitor.taskFileErrorText(), failures.first().first().toString());
        } else {
            ASSERT_TRUE(test::waitUntil([&] { return loads.count() >= 1; }, kDeadline));
            EXPECT_NE(projectName(monitor), QStringLiteral("Good"));
            EXPECT_FALSE(monitor.taskFileError().has_value());
        }
        // Nothing is left waiting: the next plan is read.
        ASSERT_TRUE(removeAt(plan));
        writeInPlace(plan, planJson(QStringLiteral("Later")));
        EXPECT_TRUE(test::waitUntil([&] { return projectName(monitor) == QStringLiteral("Later"); }, kDeadline));
        EXPECT_FALSE(monitor.taskFileError().has_value());
    }
}

// At start-up, before any window: the same, without a plan to keep.
TEST_F(MonitorTest, AtCreationWhatCannotBeUsedIsReportedAndWatched)
{
    for (const InPlace& thing : thingsInThePlansPlace()) {
        SCOPED_TRACE(thing.name);
        ASSERT_TRUE(thing.make(plan));
        AppGroupMonitorService monitor(kDebounce);
        EXPECT_TRUE(monitor.isMonitoring(MonitorKey::taskDashboardDirectory));
        if (!thing.kind) {
            EXPECT_TRUE(monitor.hasProject());
            EXPECT_FALSE(monitor.taskFileError().has_value());
            continue;
        }
        EXPECT_FALSE(monitor.hasProject());
        ASSERT_TRUE(monitor.taskFileError().has_value());
        EXPECT_EQ(monitor.taskFileError()->kind, *thing.kind);
        QSignalSpy errors(&monitor, &AppGroupMonitorService::taskFileErrorChanged);

        ASSERT_TRUE(removeAt(plan));
        writeInPlace(plan, planJson(QStringLiteral("Fixed")));
        EXPECT_TRUE(test::waitUntil([&] { return projectName(monitor) == QStringLiteral("Fixed"); }, kDeadline));
        EXPECT_FALSE(monitor.taskFileError().has_value());
        EXPECT_GE(errors.count(), 1);
    }
}

// The reader gets the file's own bytes: its offsets are offsets in the file.
TEST_F(MonitorTest, ErrorOffsetsAreOffsetsInTheFile)
{
    struct Case {
        const char* name;
        QByteArray bytes;
        const char* reason;
    };
    const Case cases[] = {
        {"no mark", "{\"project\":}", "Invalid JSON at byte offset 11:"},
        {"a mark", "\xEF\xBB\xBF{\"project\":}", "Invalid JSON at byte offset 14:"},
        {"a second mark", "\xEF\xBB\xBF\xEF\xBB\xBF{}", "Invalid JSON at byte offset 3:"},
        {"not UTF-8 after a mark", "\xEF\xBB\xBF{\"a\xFF\"}", "The data is not valid UTF-8 (byte offset 6)"},
    };
    writeInPlace(plan, planJson(QStringLiteral("Good")));
    AppGroupMonitorService monitor(kDebounce);
    QSignalSpy failures(&monitor, &AppGroupMonitorService::taskFileLoadFailed);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        failures.clear();
        writeInPlace(plan, c.bytes);
        ASSERT_TRUE(test::waitUntil([&] { return failures.count() >= 1; }, kDeadline));
        EXPECT_TRUE(failures.first().first().toString().startsWith(QString::fromUtf8(c.reason)))
            << failures.first().first().toString().toStdString();
    }
}

TEST_F(MonitorTest, DeletingThePlanPublishesNone)
{
    writeInPlace(plan, planJson(QStringLiteral("Doomed")));
    AppGroupMonitorService monitor(kDebounce);
    QSignalSpy changes(&monitor, &AppGroupMonitorService::projectChanged);

    ASSERT_TRUE(QFile::remove(plan));

    ASSERT_TRUE(test::waitUntil([&] { return !monitor.hasProject(); }, kDeadline));
    EXPECT_EQ(changes.count(), 1);
    EXPECT_FALSE(monitor.projectValue().isValid());
}

TEST_F(MonitorTest, RapidWritesEndWithTheLastPlan)
{
    writeInPlace(plan, planJson(QStringLiteral("start")));
    AppGroupMonitorService monitor(1ms); // loads overlap with new events
    for (int i = 0; i < 40; ++i) {
        writeInPlace(plan, planJson(QStringLiteral("w%1").arg(i)));
        QTest::qWait(i % 3);
    }
    EXPECT_TRUE(test::waitUntil([&] { return projectName(monitor) == QStringLiteral("w39"); }, kDeadline))
        << "ended with " << projectName(monitor).toStdString();
}

TEST_F(MonitorTest, AChangeDuringALoadIsReadOnceMoreAfterIt)
{
    writeInPlace(plan, planJson(QStringLiteral("start")));
    AppGroupMonitorService monitor(kDebounce);
    QSemaphore readDone;
    QSemaphore release;
    std::atomic<int> reads = 0;
    monitor.setAfterTaskFileReadHook([&] {
        if (reads++ == 0) { // hold only the first load between its read and its publish
            readDone.release();
            release.acquire();
        }
    });
    QSignalSpy loads(&monitor, &AppGroupMonitorService::taskFileLoaded);

    writeInPlace(plan, planJson(QStringLiteral("read first")));
    ASSERT_TRUE(test::waitUntil([&] { return readDone.tryAcquire(); }, kDeadline));
    writeInPlace(plan, planJson(QStringLiteral("written during the load")));
    settle(kDebounce * 3); // its wait ends while the first load is still held
    release.release();

    EXPECT_TRUE(test::waitUntil([&] { return projectName(monitor) == QStringLiteral("written during the load"); }, kDeadline))
        << "ended with " << projectName(monitor).toStdString();
    EXPECT_EQ(loads.count(), 2);
}

TEST_F(MonitorTest, WatchesStartedFromAnotherThreadLiveOnTheMainThread)
{
    AppGroupMonitorService monitor(kDebounce);
    QThread* worker = QThread::create([&] { monitor.startTaskDashboardMonitoring(); });
    worker->start();
    ASSERT_TRUE(test::waitUntil([&] { return worker->isFinished(); }, kDeadline));
    delete worker;
    ASSERT_TRUE(test::waitUntil([&] { return monitor.isMonitoring(MonitorKey::taskDashboardDirectory); }, kDeadline));

    writeInPlace(plan, planJson(QStringLiteral("FromWorker")));
    EXPECT_TRUE(test::waitUntil([&] { return projectName(monitor) == QStringLiteral("FromWorker"); }, kDeadline));
}

TEST_F(MonitorTest, ASecondInterviewWatchReplacesTheFirst)
{
    AppGroupMonitorService monitor(kDebounce);
    QStringList first;
    QStringList second;
    writeInPlace(interview, "{}");
    monitor.startInterviewStateMonitoring([&](const QString& text) { first.append(text); });
    monitor.startInterviewStateMonitoring([&](const QString& text) { second.append(text); });
    EXPECT_TRUE(monitor.isMonitoring(MonitorKey::interviewStateFile));
    EXPECT_TRUE(monitor.isMonitoring(MonitorKey::interviewStateDirectory));

    const QByteArray state = R"({"status":"completed","last_updated":"2025-01-01T00:00:00Z"})";
    writeInPlace(interview, state);

    ASSERT_TRUE(test::waitUntil([&] { return !second.isEmpty(); }, kDeadline));
    settle(kDebounce * 3);
    EXPECT_EQ(second, QStringList{QString::fromUtf8(state)});
    EXPECT_TRUE(first.isEmpty());
}

TEST_F(MonitorTest, AfterStoppingTheInterviewWatchNothingIsCalled)
{
    AppGroupMonitorService monitor(kDebounce);
    int calls = 0;
    QObject context;
    monitor.startInterviewStateMonitoring([&](const QString&) { ++calls; }, &context);
    monitor.stopInterviewStateMonitoring();
    EXPECT_FALSE(monitor.isMonitoring(MonitorKey::interviewStateFile));
    EXPECT_FALSE(monitor.isMonitoring(MonitorKey::interviewStateDirectory));
    EXPECT_FALSE(monitor.hasInterviewStateHandler());

    writeInPlace(interview, R"({"status":"completed","last_updated":"x"})");
    settle(kDebounce * 4);
    EXPECT_EQ(calls, 0);
}

TEST_F(MonitorTest, AnEmptyInterviewStateCallsNoHandlerAndAGoneContextNoLonger)
{
    AppGroupMonitorService monitor(kDebounce);
    int calls = 0;
    auto context = std::make_unique<QObject>();
    monitor.startInterviewStateMonitoring([&](const QString&) { ++calls; }, context.get());

    writeInPlace(interview, "");
    settle(kDebounce * 4);
    EXPECT_EQ(calls, 0);

    context.reset();
    writeInPlace(interview, "{}");
    settle(kDebounce * 4);
    EXPECT_EQ(calls, 0);
}

} // namespace
} // namespace orva
