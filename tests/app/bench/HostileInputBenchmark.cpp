// What the machine can hand the application, case by case, with a figure for
// each: files far past any real plan, files that are not regular files, a
// project folder deleted and made again, a large project folder opened in
// Xcode, and the signals that end a process. Built, not run by ctest; run it
// by hand:
//
//   build/tests/app/bench/orva_hostile_input_benchmark [--orva PATH] [--only a,b] [--files N]
//
// Every case runs in a child process of its own, bounded in time, so that a
// case that crashes or hangs is reported as such. The cases "start ..." and
// "signal ..." run the application itself (`orva`, or PATH) on a temporary
// machine with the fake `claude` first in PATH, offscreen; the others drive
// the workspace services in the child.

#include "app/bench/BenchMachine.h"
#include "fakes/FakeCalls.h"
#include "platform/AppContext.h"
#include "platform/UserDefaults.h"
#include "workspace/AppGroupMonitorService.h"
#include "workspace/AppGroupStorageService.h"
#include "workspace/DirectoryAccessService.h"
#include "support/FakeFolderPanel.h"
#include "workspace/XcodeService.h"

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QProcess>
#include <QSaveFile>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <functional>
#include <map>
#include <optional>
#include <string>

#include <csignal>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

namespace {

using namespace orva;

constexpr char kCaseFlag[] = "--case";
constexpr qint64 kMiB = 1024 * 1024;
// How long a case may take before it counts as hung.
constexpr int kCaseBoundMs = 30000;

void figure(const QString& text)
{
    std::printf("figure: %s\n", text.toUtf8().constData());
    std::fflush(stdout);
}

QString seconds(qint64 ms)
{
    return QStringLiteral("%1 s").arg(double(ms) / 1000.0, 0, 'f', ms < 100 ? 3 : 2);
}

// Peak resident memory of this process (VmHWM), or the resident memory of
// process `pid` (VmRSS), in MiB.
double peakResidentMiB(qint64 pid = 0)
{
    return pid ? bench::statusMiB(QString::number(pid), "VmRSS") : bench::ownMiB("VmHWM");
}

QByteArray planJson(const QString& name)
{
    return QStringLiteral(R"({"project":{"id":1,"name":"%1","createdAt":"2025-01-01","milestones":[
        {"id":1,"title":"M","type":"setupAndModeling","tasks":[
          {"id":1,"title":"t","title_ux":"T","summary_ux":"s","status":"planned","testStatus":"ready",
           "detail":{"description_ux":{"general":[],"view":[],"feature":[]},"modifiedFiles":[],"checklist_ux":[]}}]}]}})")
        .arg(name)
        .toUtf8();
}

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

// Replaces whatever is at `path` (a file, a folder) by nothing.
void clear(const QString& path)
{
    QFileInfo info(path);
    if (info.isDir() && !info.isSymLink())
        QDir(path).removeRecursively();
    else
        ::unlink(QFile::encodeName(path).constData());
}

// Looks every 2 ms, so that how soon something is seen is measured finely.
bool waitFor(const std::function<bool()>& condition, int boundMs) { return bench::waitUntil(condition, boundMs, 2); }

QString projectName(const AppGroupMonitorService& monitor)
{
    const auto project = monitor.project();
    return project ? QStringLiteral("\u201C%1\u201D").arg(project->name) : QStringLiteral("none");
}

// ---- Cases run in a child, on the workspace services ----

struct ChildMachine {
    explicit ChildMachine(const QString& root)
    {
        AppContext context;
        context.containerPath = root + QStringLiteral("/container");
        context.documentsPath = root + QStringLiteral("/Documents");
        context.homePath = root + QStringLiteral("/home");
        context.settingsPath = root + QStringLiteral("/settings.ini");
        AppContext::setCurrent(context);
        AppGroupStorageService storage; // ZAVE and ZAVE/project
        container = context.containerPath;
        plan = container + QStringLiteral("/ZAVE/project/Task.json");
        interview = container + QStringLiteral("/ZAVE/interview_state.json");
    }
    QString container;
    QString plan;
    QString interview;
};

// A valid plan padded with blanks to exactly `size` bytes.
QByteArray planOfSize(qint64 size)
{
    QByteArray bytes = planJson(QStringLiteral("Padded"));
    bytes.append(QByteArray(size - bytes.size(), ' '));
    return bytes;
}

// Starts the peak of resident memory (VmHWM) again from what is resident now.
void resetPeakResident()
{
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
}

int planAtStart(const QString& root, const std::function<void(const ChildMachine&)>& make)
{
    ChildMachine machine(root);
    make(machine);
    resetPeakResident();
    const double before = peakResidentMiB();
    QElapsedTimer clock;
    clock.start();
    AppGroupMonitorService monitor(std::chrono::milliseconds(100));
    figure(QStringLiteral("monitor created in %1, plan %2, peak memory +%3 MiB")
               .arg(seconds(clock.elapsed()), projectName(monitor))
               .arg(peakResidentMiB() - before, 0, 'f', 1));
    return 0;
}

// A good plan is published; then `replace` puts something else in its place.
int replacedPlan(const QString& root, const std::function<void(const ChildMachine&)>& replace)
{
    ChildMachine machine(root);
    writeFile(machine.plan, planJson(QStringLiteral("Good")));
    AppGroupMonitorService monitor(std::chrono::milliseconds(100));
    int failures = 0;
    QObject::connect(&monitor, &AppGroupMonitorService::taskFileLoadFailed, [&] { ++failures; });
    replace(machine);
    // The change is seen, waited for and read: a failure, a clearing, or nothing.
    waitFor([&] { return failures > 0 || !monitor.hasProject(); }, 3000);
    figure(QStringLiteral("plan afterwards: %1").arg(projectName(monitor)));
    // Is a later good plan still picked up?
    clear(machine.plan);
    writeFile(machine.plan, planJson(QStringLiteral("Later")));
    QElapsedTimer clock;
    clock.start();
    const bool seen = waitFor([&] { return projectName(monitor) == QStringLiteral("\u201CLater\u201D"); }, 10000);
    figure(seen ? QStringLiteral("a later plan seen after %1").arg(seconds(clock.elapsed()))
                : QStringLiteral("a later plan not seen in 10 s"));
    return 0;
}

int fifoInterviewThenQuit(const QString& root)
{
    ChildMachine machine(root);
    ::mkfifo(QFile::encodeName(machine.interview).constData(), 0600);
    auto* monitor = new AppGroupMonitorService(std::chrono::milliseconds(50));
    monitor->startInterviewStateMonitoring([](const QString&) {});
    // Something changes beside it: the state is read after the wait.
    writeFile(machine.container + QStringLiteral("/ZAVE/other.txt"), "x");
    waitFor([] { return false; }, 1000);
    figure(QStringLiteral("quit at %1").arg(QDateTime::currentMSecsSinceEpoch()));
    QTimer::singleShot(0, [] { QCoreApplication::quit(); });
    return QCoreApplication::exec();
}

int recreatedFolder(const QString& root, bool wholeWorkspace)
{
    ChildMachine machine(root);
    writeFile(machine.plan, planJson(QStringLiteral("First")));
    AppGroupMonitorService monitor(std::chrono::milliseconds(100));
    const QString folder = machine.container + (wholeWorkspace ? QStringLiteral("/ZAVE") : QStringLiteral("/ZAVE/project"));
    QDir(folder).removeRecursively();
    waitFor([&] { return !monitor.hasProject(); }, 3000);
    QDir().mkpath(machine.container + QStringLiteral("/ZAVE/project"));
    waitFor([] { return false; }, 300);
    writeFile(machine.plan, planJson(QStringLiteral("Second")));
    QElapsedTimer clock;
    clock.start();
    const bool seen = waitFor([&] { return projectName(monitor) == QStringLiteral("\u201CSecond\u201D"); }, 10000);
    figure(seen ? QStringLiteral("the new plan seen after %1").arg(seconds(clock.elapsed()))
                : QStringLiteral("the new plan not seen in 10 s (plan: %1)").arg(projectName(monitor)));
    return 0;
}

int twoByteOrderMarks(const QString& root)
{
    ChildMachine machine(root);
    writeFile(machine.plan, QByteArray("\xEF\xBB\xBF\xEF\xBB\xBF") + planJson(QStringLiteral("TwoMarks")));
    {
        AppGroupMonitorService monitor(std::chrono::milliseconds(100));
        figure(QStringLiteral("two marks: plan %1").arg(projectName(monitor)));
    }
    // One mark, then an error at byte 10 of the file ("{\"project\":" is 11 bytes).
    writeFile(machine.plan, QByteArray("\xEF\xBB\xBF{\"project\":}"));
    QString reason;
    {
        AppGroupMonitorService monitor(std::chrono::milliseconds(100));
        QObject::connect(&monitor, &AppGroupMonitorService::taskFileLoadFailed, [&](const QString& r) { reason = r; });
        writeFile(machine.plan, QByteArray("\xEF\xBB\xBF{\"project\":}"));
        waitFor([&] { return !reason.isEmpty(); }, 3000);
    }
    figure(QStringLiteral("an error at byte 14 of a file with a mark is reported as: %1").arg(reason));
    return 0;
}

int xcodeOpen(const QString& root, int files)
{
    ChildMachine machine(root);
    const QString project = root + QStringLiteral("/Big App");
    QElapsedTimer made;
    made.start();
    // Many small folders of files, and the project last in name order so that
    // the whole tree is walked.
    for (int folder = 0; folder * 1000 < files; ++folder) {
        const QByteArray dir = QFile::encodeName(project + QStringLiteral("/src/m%1").arg(folder, 4, 10, QLatin1Char('0')));
        QDir().mkpath(QString::fromUtf8(dir));
        for (int i = folder * 1000; i < qMin(files, folder * 1000 + 1000); ++i) {
            const int fd = ::open((dir + "/f" + QByteArray::number(i) + ".swift").constData(), O_CREAT | O_WRONLY, 0644);
            if (fd >= 0)
                ::close(fd);
        }
    }
    QDir().mkpath(project + QStringLiteral("/zz/Big.xcodeproj"));
    figure(QStringLiteral("%1 files made in %2").arg(files).arg(seconds(made.elapsed())));

    auto panel = std::make_shared<FakeFolderPanel>();
    DirectoryAccessService(panel).saveBookmark(project);
    DirectoryAccessService directories(panel);
    XcodeService xcode(directories);
    // The sidebar's own walk, off the main thread, ends first.
    waitFor([&] { return !xcode.selectedProjectName().isEmpty(); }, 60000);
    bool opened = false;
    xcode.setOpener([&](const QUrl&) {
        opened = true;
        return true;
    });

    qint64 longestTurn = 0;
    QElapsedTimer turn;
    QTimer ticker;
    ticker.setInterval(1);
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        longestTurn = qMax(longestTurn, turn.restart());
    });
    QElapsedTimer clock;
    clock.start();
    turn.start();
    ticker.start();
    QElapsedTimer inCall;
    inCall.start();
    xcode.openXcodeProject();
    const qint64 callMs = inCall.elapsed();
    longestTurn = qMax(longestTurn, turn.restart());
    waitFor([&] { return opened; }, 60000);
    ticker.stop();
    figure(QStringLiteral("\u201CXcode 열기\u201D: the call returned in %1, opened after %2, longest main-loop turn %3")
               .arg(seconds(callMs), seconds(clock.elapsed()), seconds(longestTurn)));
    return 0;
}

int runCase(const QString& name, const QString& root, int files)
{
    if (name == QLatin1String("plan of 8 MiB"))
        return planAtStart(root, [](const ChildMachine& m) { writeFile(m.plan, planOfSize(8 * kMiB)); });
    if (name == QLatin1String("plan of 8 MiB and 1 byte"))
        return planAtStart(root, [](const ChildMachine& m) { writeFile(m.plan, planOfSize(8 * kMiB + 1)); });
    if (name == QLatin1String("sparse 1 TB plan"))
        return planAtStart(root, [](const ChildMachine& m) {
            writeFile(m.plan, {});
            ::truncate(QFile::encodeName(m.plan).constData(), 1LL << 40);
        });
    if (name == QLatin1String("FIFO plan at start"))
        return planAtStart(root, [](const ChildMachine& m) { ::mkfifo(QFile::encodeName(m.plan).constData(), 0600); });
    if (name == QLatin1String("/dev/zero plan at start"))
        return planAtStart(root, [](const ChildMachine& m) {
            QFile::link(QStringLiteral("/dev/zero"), m.plan);
        });
    if (name == QLatin1String("FIFO in the plan's place"))
        return replacedPlan(root, [](const ChildMachine& m) {
            clear(m.plan);
            ::mkfifo(QFile::encodeName(m.plan).constData(), 0600);
        });
    if (name == QLatin1String("folder in the plan's place"))
        return replacedPlan(root, [](const ChildMachine& m) {
            clear(m.plan);
            QDir().mkpath(m.plan);
        });
    if (name == QLatin1String("link to /dev/zero in the plan's place"))
        return replacedPlan(root, [](const ChildMachine& m) {
            clear(m.plan);
            QFile::link(QStringLiteral("/dev/zero"), m.plan);
        });
    if (name == QLatin1String("FIFO interview state, then quit"))
        return fifoInterviewThenQuit(root);
    if (name == QLatin1String("project folder deleted and made again"))
        return recreatedFolder(root, false);
    if (name == QLatin1String("workspace folder deleted and made again"))
        return recreatedFolder(root, true);
    if (name == QLatin1String("byte-order marks"))
        return twoByteOrderMarks(root);
    if (name == QLatin1String("Xcode open"))
        return xcodeOpen(root, files);
    std::fprintf(stderr, "unknown case\n");
    return 2;
}

// ---- The driver ----

struct Outcome {
    QString how;      // "exit 0", "killed by signal 6", "hung"
    QStringList figures;
    qint64 ms = 0;
};

QString describeExit(const QProcess& process)
{
    if (process.exitStatus() == QProcess::CrashExit)
        return QStringLiteral("crashed");
    return QStringLiteral("exit %1").arg(process.exitCode());
}

Outcome runChild(const QString& name, int files)
{
    QTemporaryDir dir;
    QProcess child;
    child.setProcessChannelMode(QProcess::SeparateChannels);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    child.setProcessEnvironment(environment);
    QElapsedTimer clock;
    clock.start();
    child.start(QCoreApplication::applicationFilePath(),
                {QString::fromLatin1(kCaseFlag), name, dir.path(), QString::number(files)});
    Outcome outcome;
    const bool finished = child.waitForFinished(kCaseBoundMs + (name == QLatin1String("Xcode open") ? 120000 : 0));
    outcome.ms = clock.elapsed();
    if (!finished) {
        outcome.how = QStringLiteral("hung: killed after %1").arg(seconds(outcome.ms));
        child.kill();
        child.waitForFinished(5000);
    } else {
        outcome.how = describeExit(child);
    }
    const QByteArray errors = child.readAllStandardError();
    const qint64 ended = QDateTime::currentMSecsSinceEpoch();
    for (const QByteArray& line : child.readAllStandardOutput().split('\n')) {
        if (line.startsWith("figure: quit at ")) {
            const qint64 quitAt = line.mid(16).toLongLong();
            outcome.figures << (finished ? QStringLiteral("ended %1 after its quit").arg(seconds(ended - quitAt))
                                         : QStringLiteral("still running %1 after its quit").arg(seconds(ended - quitAt)));
        } else if (line.startsWith("figure: ")) {
            outcome.figures << QString::fromUtf8(line.mid(8));
        }
    }
    if (outcome.how != QLatin1String("exit 0")) {
        const QByteArray last = errors.trimmed().split('\n').last();
        if (!last.isEmpty())
            outcome.figures << QStringLiteral("stderr: ") + QString::fromUtf8(last.left(160));
    }
    return outcome;
}

// ---- Cases on the application itself ----

struct AppRun {
    QProcess process;
    QString base;
};

bool startApp(AppRun& run, const QString& orva, const QString& base, const QByteArray& claudeDelay)
{
    test::installFakeMachine(base);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("QT_QUICK_BACKEND"), QStringLiteral("software"));
    environment.insert(QStringLiteral("FAKE_CLAUDE_DELAY"), QString::fromLatin1(claudeDelay));
    run.process.setProcessEnvironment(environment);
    run.process.setStandardOutputFile(base + QStringLiteral("/orva.out"));
    run.process.setStandardErrorFile(base + QStringLiteral("/orva.err"));
    run.base = base;
    run.process.start(orva, {});
    return run.process.waitForStarted(10000);
}

QString containerOf(const QString& base)
{
    return base + QStringLiteral("/xdg/data/") + QLatin1String(AppContext::kAppGroupIdentifier);
}

bool alive(qint64 pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return false;
    const QByteArray text = stat.readAll();
    return !text.mid(text.lastIndexOf(')') + 2).startsWith('Z');
}

QString lastErrorLine(const QString& base)
{
    QFile file(base + QStringLiteral("/orva.err"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QList<QByteArray> lines = file.readAll().trimmed().split('\n');
    return QString::fromUtf8(lines.last().left(160));
}

QString wchan(qint64 pid)
{
    QFile file(QStringLiteral("/proc/%1/wchan").arg(pid));
    return file.open(QIODevice::ReadOnly) ? QString::fromLatin1(file.readAll()) : QString();
}

// The application starts on a Task.json made by `make`: does the work screen
// come up (its terminal starts `claude`)?
Outcome startOn(const QString& orva, const std::function<void(const QString& plan)>& make)
{
    QTemporaryDir dir;
    AppRun run;
    const QString base = dir.path();
    test::installFakeMachine(base);
    QDir().mkpath(containerOf(base) + QStringLiteral("/ZAVE/project"));
    make(containerOf(base) + QStringLiteral("/ZAVE/project/Task.json"));
    Outcome outcome;
    QElapsedTimer clock;
    clock.start();
    startApp(run, orva, base, "0");
    const bool up = waitFor(
        [&] {
            return run.process.state() == QProcess::NotRunning
                || !test::fakeCallsOfKind(base + QStringLiteral("/calls.log"), QStringLiteral("interactive")).isEmpty();
        },
        15000);
    outcome.ms = clock.elapsed();
    if (run.process.state() == QProcess::NotRunning) {
        outcome.how = describeExit(run.process);
        outcome.figures << QStringLiteral("ended after %1 before any window; %2").arg(seconds(outcome.ms), lastErrorLine(base));
        return outcome;
    }
    if (!up) {
        outcome.how = QStringLiteral("hung");
        outcome.figures << QStringLiteral("no window after %1; main thread waiting in %2")
                               .arg(seconds(outcome.ms), wchan(run.process.processId()));
        run.process.kill();
        run.process.waitForFinished(5000);
        return outcome;
    }
    outcome.how = QStringLiteral("up");
    outcome.figures << QStringLiteral("work screen up after %1, resident %2 MiB")
                           .arg(seconds(outcome.ms))
                           .arg(peakResidentMiB(run.process.processId()), 0, 'f', 0);
    ::kill(static_cast<pid_t>(run.process.processId()), SIGTERM);
    if (!run.process.waitForFinished(10000)) {
        run.process.kill();
        run.process.waitForFinished(5000);
    }
    return outcome;
}

// The application is on its entry screen with the opening `claude -p` running
// when `signal` arrives.
Outcome signalDuringPrompt(const QString& orva, int signal)
{
    QTemporaryDir dir;
    AppRun run;
    const QString base = dir.path();
    Outcome outcome;
    startApp(run, orva, base, "120");
    const QString log = base + QStringLiteral("/calls.log");
    qint64 claude = 0;
    waitFor(
        [&] {
            const auto calls = test::fakeCallsOfKind(log, QStringLiteral("print"));
            if (!calls.isEmpty())
                claude = calls.first().pid;
            return claude != 0 || run.process.state() == QProcess::NotRunning;
        },
        20000);
    if (!claude) {
        outcome.how = QStringLiteral("no claude -p started");
        run.process.kill();
        run.process.waitForFinished(5000);
        return outcome;
    }
    const pid_t group = ::getpgid(static_cast<pid_t>(claude));
    QElapsedTimer clock;
    clock.start();
    ::kill(static_cast<pid_t>(run.process.processId()), signal);
    const bool ended = run.process.waitForFinished(20000);
    outcome.ms = clock.elapsed();
    if (!ended) {
        outcome.how = QStringLiteral("still running after %1").arg(seconds(outcome.ms));
        run.process.kill();
        run.process.waitForFinished(5000);
    } else if (run.process.exitStatus() == QProcess::CrashExit) {
        outcome.how = QStringLiteral("killed by the signal after %1").arg(seconds(outcome.ms));
    } else {
        outcome.how = QStringLiteral("quit (exit %1) after %2").arg(run.process.exitCode()).arg(seconds(outcome.ms));
    }
    waitFor([&] { return !alive(claude); }, 2000);
    if (alive(claude)) {
        outcome.figures << QStringLiteral("`claude -p` (pid %1) still running 2 s later").arg(claude);
        ::kill(-group, SIGKILL);
        ::kill(static_cast<pid_t>(claude), SIGKILL);
    } else {
        outcome.figures << QStringLiteral("`claude -p` gone");
    }
    return outcome;
}

void print(const QString& name, const Outcome& outcome)
{
    std::printf("| %s | %s | %s |\n", name.toUtf8().constData(), outcome.how.toUtf8().constData(),
                outcome.figures.join(QStringLiteral("; ")).toUtf8().constData());
    std::fflush(stdout);
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc >= 5 && std::string(argv[1]) == kCaseFlag) {
        QGuiApplication app(argc, argv);
        return runCase(QString::fromUtf8(argv[2]), QString::fromUtf8(argv[3]), std::atoi(argv[4]));
    }
    QCoreApplication app(argc, argv);
    QString orva = QStringLiteral(ORVA_BENCH_ORVA_PATH);
    QStringList only;
    int files = 200000;
    const QStringList args = app.arguments();
    for (int i = 1; i + 1 < args.size(); ++i) {
        if (args[i] == QLatin1String("--orva"))
            orva = args[++i];
        else if (args[i] == QLatin1String("--only"))
            only = args[++i].split(QLatin1Char(','));
        else if (args[i] == QLatin1String("--files"))
            files = args[++i].toInt();
    }
    const auto wanted = [&](const QString& name) {
        if (only.isEmpty())
            return true;
        for (const QString& word : only) {
            if (name.contains(word, Qt::CaseInsensitive))
                return true;
        }
        return false;
    };

    std::printf("| case | outcome | figures |\n|---|---|---|\n");
    for (const char* name :
         {"plan of 8 MiB", "plan of 8 MiB and 1 byte", "sparse 1 TB plan", "FIFO plan at start", "/dev/zero plan at start",
          "FIFO in the plan's place", "folder in the plan's place", "link to /dev/zero in the plan's place",
          "FIFO interview state, then quit", "project folder deleted and made again",
          "workspace folder deleted and made again", "byte-order marks", "Xcode open"}) {
        const QString caseName = QString::fromUtf8(name);
        if (wanted(caseName))
            print(caseName, runChild(caseName, files));
    }

    const std::pair<const char*, std::function<void(const QString&)>> starts[] = {
        {"start on a sparse 1 TB Task.json",
         [](const QString& plan) {
             writeFile(plan, {});
             ::truncate(QFile::encodeName(plan).constData(), 1LL << 40);
         }},
        {"start on a FIFO Task.json", [](const QString& plan) { ::mkfifo(QFile::encodeName(plan).constData(), 0600); }},
        {"start on a folder Task.json", [](const QString& plan) { QDir().mkpath(plan); }},
        {"start on a link to /dev/zero as Task.json", [](const QString& plan) { QFile::link(QStringLiteral("/dev/zero"), plan); }},
    };
    for (const auto& [name, make] : starts) {
        if (wanted(QString::fromUtf8(name)))
            print(QString::fromUtf8(name), startOn(orva, make));
    }
    for (const auto& [name, signal] : {std::pair{"signal SIGTERM", SIGTERM}, std::pair{"signal SIGINT", SIGINT},
                                       std::pair{"signal SIGHUP", SIGHUP}}) {
        if (wanted(QString::fromUtf8(name)))
            print(QString::fromUtf8(name), signalDuringPrompt(orva, signal));
    }
    return 0;
}
