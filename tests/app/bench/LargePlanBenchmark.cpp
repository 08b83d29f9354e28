// What plans and replies far beyond the usual cost the window: memory and the
// longest turn of the main loop while the work screen, the dashboard, the
// task popup or the interview chat takes them in. Driven through the
// application's own start (orva::configureApplication, orva::loadMainWindow)
// on a temporary machine, like orva_app_benchmark: a temporary HOME and XDG
// folders, the fake `claude` first in PATH (behind a wrapper that answers an
// interview prompt with a prepared reply), a real /bin/zsh in the work
// screen's terminal. Built, not run by ctest; run it by hand:
//
//   QT_QPA_PLATFORM=offscreen QT_QUICK_BACKEND=software build/tests/app/bench/orva_large_plan_benchmark
//
// Options: --case NAME[,NAME...] (only those cases), --settle S (seconds
// measured after the screen shows, 3), --limit MiB (a case whose resident
// memory passes it is stopped, 4096), --timeout S (a case that takes longer
// is stopped, 180).
//
// Every case runs in a child process of its own, so that the memory of one
// does not count in the next. A case: the window comes up (the onboarding
// closed, the entry screen prepared), the plan is written and loaded, then
// the screen is shown and what it costs is measured from that moment until
// `settle` seconds after it shows:
// - resident memory before, and the peak (VmHWM) after;
// - the longest gap between ticks of a 4 ms timer (the longest turn of the
//   main loop), and the main thread's processor time;
// - how long until the screen showed it.

#include "app/AppStart.h"
#include "app/bench/BenchMachine.h"
#include "fakes/FakeCalls.h"
#include "platform/AppContext.h"
#include "workflow/ChatViewModel.h"
#include "workflow/ContentViewModel.h"
#include "workflow/EntryViewModel.h"
#include "workflow/WorkViewModel.h"
#include "workspace/AppGroupMonitorService.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QQmlApplicationEngine>
#include <QQuickItem>
#include <QQuickWindow>
#include <QSaveFile>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include <csignal>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

namespace {

using namespace orva;
using namespace orva::bench;

constexpr char kCaseFlag[] = "--run-case";

// ---- Clocks and the process's own figures ----

// ---- The temporary machine ----

// A prompt call of `claude` prints the prepared reply when there is one.
void installEnvironment(const QString& root)
{
    bench::installEnvironment(root, QStringLiteral("[ -f '%1' ] && exec cat '%1'").arg(bench::rootFolder(root, "reply.txt")));
}

// ---- Plans ----

// `n` characters of Korean and ASCII words, different for each `seed`.
QString longText(qint64 n, int seed)
{
    static const QString words[] = {QStringLiteral("운동 "), QStringLiteral("기록을 "), QStringLiteral("저장하는 "),
                                    QStringLiteral("화면 "), QStringLiteral("list "), QStringLiteral("view "),
                                    QStringLiteral("데이터 "), QStringLiteral("모델 ")};
    QString text;
    text.reserve(n + 8);
    for (int i = seed; text.size() < n; ++i)
        text += words[i % 8];
    text.truncate(n);
    return text;
}

struct PlanShape {
    int milestones = 1;
    int tasksPerMilestone = 1;
    qint64 titleLength = 20;       // the tasks' title_ux, and title and summary_ux unless set below
    qint64 internalTitleLength = -1;
    qint64 summaryLength = -1;
    qint64 milestoneTitleLength = 10;
    qint64 projectNameLength = 10;
    int checklistItems = 3;        // of the first task
    int modifiedFiles = 2;         // of the first task
};

QByteArray planJson(const PlanShape& shape)
{
    QJsonArray milestones;
    static const char* types[] = {"setupAndModeling", "featureImplementation", "uiImplementation"};
    qint64 taskId = 1;
    for (int m = 0; m < shape.milestones; ++m) {
        QJsonArray tasks;
        for (int t = 0; t < shape.tasksPerMilestone; ++t, ++taskId) {
            const bool first = taskId == 1;
            QJsonArray checklist;
            const int items = first ? shape.checklistItems : 3;
            for (int c = 0; c < items; ++c)
                checklist.append(c == 0 ? QStringLiteral("Xcode에서 ⌘ + R을 누르면 오류 없이 빌드되고 앱이 실행된다")
                                        : QStringLiteral("%1번 항목이 화면에 보인다").arg(c + 1));
            QJsonArray files;
            for (int f = 0; f < (first ? shape.modifiedFiles : 2); ++f)
                files.append(QStringLiteral("FakeApp/FakeApp/Views/Screen%1View.swift").arg(f + 1));
            const QString title = longText(shape.titleLength, int(taskId));
            const qint64 internal = shape.internalTitleLength < 0 ? shape.titleLength : shape.internalTitleLength;
            const qint64 summary = shape.summaryLength < 0 ? shape.titleLength : shape.summaryLength;
            tasks.append(QJsonObject {
                {QStringLiteral("id"), taskId},
                {QStringLiteral("title"), QStringLiteral("Task %1 ").arg(taskId) + title.left(internal)},
                {QStringLiteral("title_ux"), title},
                {QStringLiteral("summary_ux"), longText(summary, int(taskId) + 3)},
                {QStringLiteral("status"), taskId % 3 == 0 ? QStringLiteral("completed") : QStringLiteral("planned")},
                {QStringLiteral("testStatus"), taskId % 3 == 0 ? QStringLiteral("checked") : QStringLiteral("pending")},
                {QStringLiteral("detail"),
                 QJsonObject {
                     {QStringLiteral("description_ux"),
                      QJsonObject {{QStringLiteral("general"), QJsonArray {QStringLiteral("개요")}},
                                   {QStringLiteral("view"), QJsonArray {QStringLiteral("화면")}},
                                   {QStringLiteral("feature"), QJsonArray {QStringLiteral("기능")}}}},
                     {QStringLiteral("modifiedFiles"), files},
                     {QStringLiteral("checklist_ux"), checklist},
                 }},
            });
        }
        milestones.append(QJsonObject {
            {QStringLiteral("id"), m + 1},
            {QStringLiteral("title"), longText(shape.milestoneTitleLength, m)},
            {QStringLiteral("type"), QLatin1String(types[m % 3])},
            {QStringLiteral("tasks"), tasks},
        });
    }
    const QJsonObject project {
        {QStringLiteral("id"), 1},
        {QStringLiteral("name"), longText(shape.projectNameLength, 7)},
        {QStringLiteral("createdAt"), QStringLiteral("2026-12-10T09:00:00Z")},
        {QStringLiteral("milestones"), milestones},
    };
    return QJsonDocument(QJsonObject {{QStringLiteral("project"), project}}).toJson(QJsonDocument::Compact);
}

QString planPath()
{
    return AppContext::current().containerPath + QStringLiteral("/ZAVE/project/Task.json");
}

// ---- The cases ----

enum class Target { workAndDashboard, taskPopup, chatReply };

struct Case {
    const char* name;
    const char* description;
    Target target;
    PlanShape plan;
    qint64 replyBytes = 0;
    bool replyOneLine = false;
};

std::vector<Case> cases()
{
    std::vector<Case> all;
    auto plan = [](int milestones, int tasks, qint64 title) {
        PlanShape p;
        p.milestones = milestones;
        p.tasksPerMilestone = tasks;
        p.titleLength = title;
        return p;
    };
    all.push_back({"tasks-3", "for comparison: a plan of 3 tasks in one milestone", Target::workAndDashboard,
                   plan(1, 3, 30)});
    {
        // About 5.4 MB: a plan is read up to 8 MiB.
        PlanShape p = plan(1, 1000, 2000);
        p.internalTitleLength = 200;
        p.summaryLength = 500;
        all.push_back({"tasks-1000-long-titles",
                       "1,000 tasks in one milestone, titles of 2,000 characters (summaries of 500)",
                       Target::workAndDashboard, p});
    }
    all.push_back({"tasks-10000", "10,000 tasks in one milestone", Target::workAndDashboard, plan(1, 10000, 30)});
    {
        PlanShape p = plan(1, 3, 30);
        p.checklistItems = 20000;
        p.modifiedFiles = 2000;
        all.push_back({"checklist-20000", "a task with 20,000 checklist items and 2,000 files, its popup opened",
                       Target::taskPopup, p});
    }
    {
        // Three texts the screens show of a million characters each, about
        // 6 MB: a plan is read up to 8 MiB.
        PlanShape p = plan(1, 1, 1000000);
        p.internalTitleLength = 1000;
        p.summaryLength = 1000;
        p.milestoneTitleLength = 1000000;
        p.projectNameLength = 1000000;
        all.push_back({"titles-1m", "a task title, a milestone title and a project name of 1,000,000 characters",
                       Target::workAndDashboard, p});
    }
    all.push_back({"milestones-1000", "1,000 milestones of one task", Target::workAndDashboard, plan(1000, 1, 30)});
    all.push_back({"milestones-10000", "10,000 milestones of one task", Target::workAndDashboard, plan(10000, 1, 30)});
    all.push_back({"reply-short", "for comparison: an interview reply of two lines", Target::chatReply, {}, 200});
    all.push_back({"reply-1mb", "an interview reply of 1 MB (lines of 80 characters)", Target::chatReply, {}, 1 << 20});
    all.push_back({"reply-line-200kb", "an interview reply of one unbroken line of 200 KB", Target::chatReply, {},
                   200 * 1024, true});
    all.push_back({"reply-20mb", "an interview reply of 20 MB", Target::chatReply, {}, 20 << 20});
    return all;
}

// The reply: whole lines (or one line of ASCII) up to the size, so that it
// stays valid UTF-8.
QByteArray replyBytes(const Case& c)
{
    QByteArray reply;
    reply.reserve(c.replyBytes + 100);
    if (c.replyOneLine) {
        while (reply.size() < c.replyBytes)
            reply += "abcdefghijklmnopqrstuvwxyz0123456789";
        reply.truncate(c.replyBytes);
    } else {
        const QByteArray line = QStringLiteral("이 앱에서 가장 중요한 화면은 무엇인가요? what matters most on the first screen.\n").toUtf8();
        while (reply.size() + line.size() <= c.replyBytes)
            reply += line;
    }
    return reply;
}

struct Measure {
    QElapsedTimer sinceTick;
    double longestMs = 0;
    QTimer ticker;
    double cpu0 = 0;
    void start()
    {
        ticker.setTimerType(Qt::PreciseTimer);
        ticker.setInterval(4);
        QObject::connect(&ticker, &QTimer::timeout, [this] {
            longestMs = std::max(longestMs, sinceTick.nsecsElapsed() / 1e6 - ticker.interval());
            sinceTick.restart();
        });
        cpu0 = threadCpuSeconds();
        sinceTick.start();
        ticker.start();
    }
    double cpu() const { return threadCpuSeconds() - cpu0; }
};

QQuickItem* findNamed(QQuickItem* item, const QString& name)
{
    if (!item)
        return nullptr;
    if (item->objectName() == name)
        return item;
    for (QQuickItem* child : item->childItems()) {
        if (QQuickItem* found = findNamed(child, name))
            return found;
    }
    return nullptr;
}

int countItems(QQuickItem* item)
{
    if (!item)
        return 0;
    int n = 1;
    for (QQuickItem* child : item->childItems())
        n += countItems(child);
    return n;
}

// One case, in this process; prints a "result" line.
int runCase(int argc, char** argv, const Case& c, int settleMs)
{
    QApplication app(argc, argv);
    installContext();
    orva::configureApplication();
    QQmlApplicationEngine engine;
    if (!orva::loadMainWindow(engine))
        return 2;
    auto* window = qobject_cast<QQuickWindow*>(engine.rootObjects().value(0));
    QQuickItem* contentView = window ? window->findChild<QQuickItem*>(QStringLiteral("contentView")) : nullptr;
    auto* model = contentView ? contentView->property("viewModel").value<ContentViewModel*>() : nullptr;
    if (!model)
        return 2;
    auto screen = [&] { return contentView->property("screen").value<QQuickItem*>(); };
    int frames = 0;
    QObject::connect(window, &QQuickWindow::frameSwapped, window, [&frames] { ++frames; }, Qt::DirectConnection);

    // The entry screen, prepared: it empties the project folder and starts
    // watching the plan.
    model->closeOnboarding();
    model->setPhase(ViewPhase::Entry);
    waitUntil([&] { return model->currentPhase() == ViewPhase::Entry && screen(); }, 10000);
    auto* entry = screen()->property("viewModel").value<EntryViewModel*>();
    if (!entry || !waitUntil([&] { return entry->isReadyForInterview(); }, 30000)) {
        std::fprintf(stderr, "the entry screen was not prepared\n");
        return 2;
    }
    idleFor(500);

    bool shown = false;
    double rssBefore = 0;
    Measure measure;
    QElapsedTimer clock;
    QString note;
    if (c.target == Target::chatReply) {
        QFile reply(rootFolder("reply.txt"));
        const QByteArray bytes = replyBytes(c);
        if (!reply.open(QIODevice::WriteOnly) || reply.write(bytes) != bytes.size())
            return 2;
        reply.close();
        rssBefore = ownMiB("VmRSS");
        ChatViewModel* chat = model->chatViewModel();
        measure.start();
        clock.start();
        QTimer::singleShot(0, model, [&] { model->startInterview(QStringLiteral("할 일을 정리하는 앱")); });
        shown = waitUntil(
            [&] {
                QQuickItem* row = findNamed(screen(), QStringLiteral("turnRow2"));
                return chat->chatHistories().size() >= 2 && row && row->opacity() > 0.99;
            },
            600000);
    } else {
        // What the project-guiding screen does: watch for the plan.
        AppGroupMonitorService& monitor = AppGroupMonitorService::shared();
        monitor.startTaskDashboardMonitoring();
        idleFor(200);
        QSaveFile plan(planPath());
        if (!plan.open(QIODevice::WriteOnly))
            return 2;
        plan.write(planJson(c.plan));
        if (!plan.commit())
            return 2;
        if (!waitUntil([&] { return monitor.hasProject(); }, 120000)) {
            std::fprintf(stderr, "the plan was not loaded\n");
            return 2;
        }
        idleFor(500);
        rssBefore = ownMiB("VmRSS");
        measure.start();
        clock.start();
        QTimer::singleShot(0, model, [&] { model->setPhase(ViewPhase::Dashboard); });
        shown = waitUntil(
            [&] {
                QQuickItem* work = screen();
                return model->currentPhase() == ViewPhase::Dashboard && work
                    && findNamed(work, QStringLiteral("sidebar")) && work->property("showDashboard").toBool()
                    && work->property("dashboardOverlay").value<QObject*>();
            },
            600000);
        if (shown && c.target == Target::taskPopup) {
            QQuickItem* work = screen();
            auto* workModel = work->property("viewModel").value<WorkViewModel*>();
            const Project project = *monitor.project();
            work->setProperty("showDashboard", false);
            workModel->setSelectedTask(project.milestones.front().tasks.front());
            work->setProperty("showTaskDetail", true);
            shown = waitUntil([&] { return work->property("taskPopup").value<QObject*>() != nullptr; }, 600000);
        }
    }
    const double toShown = clock.nsecsElapsed() / 1e9;
    const int framesAtShown = frames;
    idleFor(settleMs);
    const double cpu = measure.cpu();
    measure.ticker.stop();
    const double rssAfter = ownMiB("VmRSS");
    const double peak = ownMiB("VmHWM");
    note = QStringLiteral("%1 items in the window, %2 frames after it showed")
               .arg(countItems(window->contentItem()))
               .arg(frames - framesAtShown);
    std::printf("result %s %d %.1f %.1f %.1f %.1f %.3f %.3f %s\n", c.name, shown ? 1 : 0, rssBefore, rssAfter, peak,
                measure.longestMs, cpu, toShown, qPrintable(note));
    std::fflush(stdout);
    model->setPhase(ViewPhase::Entry);
    idleFor(300);
    return 0;
}

// ---- The parent: one child per case, watched ----

struct Row {
    QString name, description;
    bool finished = false;
    bool shown = false;
    double rssBefore = -1, rssAfter = -1, peak = -1, longestMs = -1, cpu = -1, toShown = -1;
    QString note;
};

Row runChild(const QString& program, const Case& c, int settleS, double limitMiB, int timeoutS)
{
    Row row;
    row.name = QString::fromLatin1(c.name);
    row.description = QString::fromLatin1(c.description);
    QTemporaryDir machine;
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QString::fromLatin1(kRootVariable), machine.path());
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::SeparateChannels);
    child.start(program, {QString::fromLatin1(kCaseFlag), row.name, QString::number(settleS)});
    if (!child.waitForStarted(10000)) {
        row.note = QStringLiteral("did not start");
        return row;
    }
    const QString pid = QString::number(child.processId());
    QElapsedTimer clock;
    clock.start();
    double highest = 0;
    while (!child.waitForFinished(100)) {
        highest = std::max(highest, statusMiB(pid, "VmRSS"));
        if (highest > limitMiB || clock.elapsed() > timeoutS * 1000) {
            row.peak = highest;
            row.note = highest > limitMiB ? QStringLiteral("stopped at %1 MiB after %2 s").arg(highest, 0, 'f', 0).arg(clock.elapsed() / 1000.0, 0, 'f', 1)
                                          : QStringLiteral("stopped after %1 s (%2 MiB)").arg(timeoutS).arg(highest, 0, 'f', 0);
            ::kill(static_cast<pid_t>(child.processId()), SIGKILL);
            child.waitForFinished(10000);
            return row;
        }
    }
    for (const QByteArray& line : child.readAllStandardOutput().split('\n')) {
        if (!line.startsWith("result "))
            continue;
        const QList<QByteArray> f = line.split(' ');
        if (f.size() < 10)
            break;
        row.finished = true;
        row.shown = f[2] == "1";
        row.rssBefore = f[3].toDouble();
        row.rssAfter = f[4].toDouble();
        row.peak = f[5].toDouble();
        row.longestMs = f[6].toDouble();
        row.cpu = f[7].toDouble();
        row.toShown = f[8].toDouble();
        row.note = QString::fromUtf8(f.mid(9).join(' '));
    }
    if (!row.finished)
        row.note = QStringLiteral("exit %1: %2").arg(child.exitCode()).arg(QString::fromUtf8(child.readAllStandardError().right(300)).simplified());
    return row;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc > 3 && std::strcmp(argv[1], kCaseFlag) == 0) {
        installEnvironment(qEnvironmentVariable(kRootVariable));
        for (const Case& c : cases()) {
            if (QLatin1String(argv[2]) == QLatin1String(c.name))
                return runCase(argc, argv, c, std::atoi(argv[3]) * 1000);
        }
        return 2;
    }

    QStringList only;
    int settleS = 3;
    double limitMiB = 4096;
    int timeoutS = 180;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string option = argv[i];
        if (option == "--case")
            only = QString::fromLocal8Bit(argv[i + 1]).split(QLatin1Char(','), Qt::SkipEmptyParts);
        else if (option == "--settle")
            settleS = std::max(0, std::atoi(argv[i + 1]));
        else if (option == "--limit")
            limitMiB = std::max(100, std::atoi(argv[i + 1]));
        else if (option == "--timeout")
            timeoutS = std::max(10, std::atoi(argv[i + 1]));
    }
    QCoreApplication app(argc, argv);
    const QString program = QCoreApplication::applicationFilePath();
    std::vector<Row> rows;
    for (const Case& c : cases()) {
        if (!only.isEmpty() && !only.contains(QLatin1String(c.name)))
            continue;
        std::fprintf(stderr, "%s: %s\n", c.name, c.description);
        rows.push_back(runChild(program, c, settleS, limitMiB, timeoutS));
        const Row& r = rows.back();
        std::fprintf(stderr, "  %s resident %.0f -> %.0f MiB (peak %.0f), longest turn %.0f ms, main thread %.2f s, "
                             "shown after %.2f s; %s\n",
                     r.finished ? (r.shown ? "shown:" : "NOT SHOWN:") : "unfinished:", r.rssBefore, r.rssAfter, r.peak,
                     r.longestMs, r.cpu, r.toShown, qPrintable(r.note));
    }
    std::printf("\nOrva large-plan benchmarks: %s build, QT_QPA_PLATFORM=%s, QT_QUICK_BACKEND=%s, settle %d s\n\n",
                ORVA_BENCH_BUILD_TYPE, qPrintable(qEnvironmentVariable("QT_QPA_PLATFORM", QStringLiteral("(default)"))),
                qPrintable(qEnvironmentVariable("QT_QUICK_BACKEND", QStringLiteral("(default)"))), settleS);
    std::printf("| case | resident before -> peak (MiB) | longest main-loop turn | main thread | shown after | note |\n"
                "|---|---|---|---|---|---|\n");
    for (const Row& r : rows) {
        if (!r.finished) {
            std::printf("| %s | - -> %.0f | - | - | - | %s |\n", qPrintable(r.description), r.peak, qPrintable(r.note));
            continue;
        }
        std::printf("| %s | %.0f -> %.0f | %.0f ms | %.2f s | %s | %s |\n", qPrintable(r.description), r.rssBefore,
                    r.peak, r.longestMs, r.cpu, r.shown ? qPrintable(QStringLiteral("%1 s").arg(r.toShown, 0, 'f', 2)) : "not shown",
                    qPrintable(r.note));
    }
    std::printf("\nGoal: 1,000 tasks with long titles open the work screen and the dashboard within 300 MB resident "
                "and no main-loop turn over 100 ms; a 1 MB reply and a 200 KB line each under 0.5 s of main-loop time "
                "and 100 MB.\n");
    return 0;
}
