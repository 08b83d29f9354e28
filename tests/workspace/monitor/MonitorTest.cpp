#include "support/TempContext.h"
#include "support/Waiting.h"
#include "workspace/AppGroupMonitorService.h"
#include "workspace/AppGroupStorageService.h"
#include "workspace/TestFiles.h"

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

class MonitorTest : public ::testing::Test {
protected:
    MonitorTest()
    {
        AppGroupStorageService storage; // makes ZAVE and ZAVE/project
        plan = temp.context().containerPath + QStringLiteral("/ZAVE/project/Task.json");
        interview = temp.context().containerPath + QStringLiteral("/ZAVE/interview_state.json");
    }

    // Lets events flow for a while, so that a publish that should not happen
    // would have had time to.
    static void settle(std::chrono::milliseconds time) { QTest::qWait(int(time.count())); }

    static QString projectName(const AppGroupMonitorService& monitor)
    {
        const auto project = monitor.project();
        return project ? project->name : QString();
    }

    // Writes the whole file in place (what an editor that truncates does).
    static void writeInPlace(const QString& path, const QByteArray& bytes) { ASSERT_TRUE(writeFile(path, bytes)); }

    test::TempContext temp;
    QString plan;
    QString interview;
};

constexpr auto kDebounce = 150ms;
constexpr int kDeadline = test::kWaitDeadlineMs;

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

    ASSERT_TRUE(QTest::qWaitFor([&] { return loads.count() >= 1; }, kDeadline));
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
    ASSERT_TRUE(QTest::qWaitFor([&] { return projectName(monitor) == QStringLiteral("v3"); }, kDeadline));
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

TEST_F(MonitorTest, APlanMovedOverTheOldOneAndThenEditedIsPickedUpBothTimes)
{
    writeInPlace(plan, planJson(QStringLiteral("Old")));
    AppGroupMonitorService monitor(kDebounce);
    QSignalSpy loads(&monitor, &AppGroupMonitorService::taskFileLoaded);

    const QString staged = plan + QStringLiteral(".new");
    writeInPlace(staged, planJson(QStringLiteral("Moved")));
    ASSERT_EQ(::rename(QFile::encodeName(staged).constData(), QFile::encodeName(plan).constData()), 0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return projectName(monitor) == QStringLiteral("Moved"); }, kDeadline));

    writeInPlace(plan, planJson(QStringLiteral("Edited")));
    ASSERT_TRUE(QTest::qWaitFor([&] { return projectName(monitor) == QStringLiteral("Edited"); }, kDeadline));
    settle(kDebounce * 3);
    EXPECT_EQ(loads.count(), 2);
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
        ASSERT_TRUE(QTest::qWaitFor([&] { return failures.count() >= expectedFailures; }, kDeadline));
    }
    EXPECT_EQ(changes.count(), 0);
    EXPECT_EQ(projectName(monitor), QStringLiteral("Good"));
}

TEST_F(MonitorTest, DeletingThePlanPublishesNone)
{
    writeInPlace(plan, planJson(QStringLiteral("Doomed")));
    AppGroupMonitorService monitor(kDebounce);
    QSignalSpy changes(&monitor, &AppGroupMonitorService::projectChanged);

    ASSERT_TRUE(QFile::remove(plan));

    ASSERT_TRUE(QTest::qWaitFor([&] { return !monitor.hasProject(); }, kDeadline));
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
    EXPECT_TRUE(QTest::qWaitFor([&] { return projectName(monitor) == QStringLiteral("w39"); }, kDeadline))
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
    ASSERT_TRUE(QTest::qWaitFor([&] { return readDone.tryAcquire(); }, kDeadline));
    writeInPlace(plan, planJson(QStringLiteral("written during the load")));
    settle(kDebounce * 3); // its wait ends while the first load is still held
    release.release();

    EXPECT_TRUE(QTest::qWaitFor([&] { return projectName(monitor) == QStringLiteral("written during the load"); }, kDeadline))
        << "ended with " << projectName(monitor).toStdString();
    EXPECT_EQ(loads.count(), 2);
}

TEST_F(MonitorTest, WatchesStartedFromAnotherThreadLiveOnTheMainThread)
{
    AppGroupMonitorService monitor(kDebounce);
    QThread* worker = QThread::create([&] { monitor.startTaskDashboardMonitoring(); });
    worker->start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return worker->isFinished(); }, kDeadline));
    delete worker;
    ASSERT_TRUE(QTest::qWaitFor([&] { return monitor.isMonitoring(MonitorKey::taskDashboardDirectory); }, kDeadline));

    writeInPlace(plan, planJson(QStringLiteral("FromWorker")));
    EXPECT_TRUE(QTest::qWaitFor([&] { return projectName(monitor) == QStringLiteral("FromWorker"); }, kDeadline));
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

    ASSERT_TRUE(QTest::qWaitFor([&] { return !second.isEmpty(); }, kDeadline));
    settle(kDebounce * 3);
    EXPECT_EQ(second, QStringList{QString::fromUtf8(state)});
    EXPECT_TRUE(first.isEmpty());
}

TEST_F(MonitorTest, TheInterviewStateWrittenAtomicallyIsSeenEachTime)
{
    AppGroupMonitorService monitor(kDebounce);
    AppGroupStorageService storage;
    QStringList seen;
    monitor.startInterviewStateMonitoring([&](const QString& text) { seen.append(text); });

    storage.saveFile(QStringLiteral("one"), QStringLiteral("interview_state.json"), QStringLiteral("ZAVE"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return seen.contains(QStringLiteral("one")); }, kDeadline));
    writeInPlace(interview, "two"); // an in-place edit after the rename
    ASSERT_TRUE(QTest::qWaitFor([&] { return seen.contains(QStringLiteral("two")); }, kDeadline));
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
