// Typing latency: a key event into a window that shows the terminal item with
// /bin/sh on a real pseudo-terminal, to the frame that shows the echoed glyph.
// Not run by ctest.
//
//   orva_terminal_latency_benchmark [--keys N] [--cols C --rows R]
//   orva_terminal_latency_benchmark --window [--cols C --rows R]
//
// The first form types N keys (50) one at a time, each after the last one's
// frame and a pause, and prints the median and 90th percentile of the time
// from the key event to the frame (the window's frameSwapped after the glyph
// reached the emulator), split into its legs: the key to the echoed byte fed
// to the emulator, the feed to the start of the frame, the frame itself. Three
// baselines run before it on a shell of their own: the echo through a bare
// pseudo-terminal read in this thread (the kernel and the shell alone), the
// same read on a thread of its own and handed to the main loop (what a reader
// thread adds), and through the terminal's process object to the main loop
// (its writing, its reader thread and its hand-over).
//
// The second form only shows the window, prints its X window id and runs until
// the shell ends, so that a probe outside (an X display's own key events and
// pixels) measures it like any other terminal window.
//
// It runs on the platform Qt picks: QT_QPA_PLATFORM=offscreen, or an X display
// (xvfb-run) with QT_QUICK_BACKEND=software or OpenGL.

#include "terminal/LocalProcess.h"
#include "terminal/LocalProcessTerminalView.h"
#include "TypingProbe.h"

#include <QGuiApplication>
#include <QQuickItem>
#include <QQuickWindow>
#include <QSocketNotifier>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using orva::testing::LatencyClock;
using orva::testing::millisecondsBetween;
using orva::testing::pauseBetweenKeys;
using orva::testing::percentile;
using orva::testing::runFor;
using orva::testing::runUntil;
using Clock = LatencyClock;

// Log lines of the terminal (one per key sent) go to the null device; the
// results to what standard output was.
FILE* results = stdout;

void quietLogs()
{
    const int kept = ::dup(STDOUT_FILENO);
    const int null = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
    if (kept < 0 || null < 0)
        return;
    std::fflush(stdout);
    ::dup2(null, STDOUT_FILENO);
    ::close(null);
    results = ::fdopen(kept, "w");
}

std::vector<std::string> shellEnvironment(const QTemporaryDir& home)
{
    return {"HOME=" + home.path().toStdString(), "PS1=$ ", "ENV=/dev/null"};
}

// ---- Baselines 1 and 2: a bare pseudo-terminal, read in this thread or on one of its own ----

// /bin/sh on a pseudo-terminal of its own: its master, and the shell's pid
// (-1, and no master, when it could not start).
struct BareShell {
    int master = -1;
    pid_t pid = -1;
};

void endBareShell(const BareShell& shell);

BareShell startBareShell(const QTemporaryDir& home)
{
    BareShell shell;
    shell.master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    char name[128];
    if (shell.master < 0 || ::grantpt(shell.master) != 0 || ::unlockpt(shell.master) != 0
        || ::ptsname_r(shell.master, name, sizeof name) != 0) {
        endBareShell(shell);
        return BareShell{};
    }
    std::vector<std::string> env = shellEnvironment(home);
    env.push_back("TERM=xterm-256color");
    std::vector<char*> envp;
    for (std::string& e : env)
        envp.push_back(e.data());
    envp.push_back(nullptr);
    shell.pid = ::fork();
    if (shell.pid == 0) {
        ::setsid();
        const int slave = ::open(name, O_RDWR);
        ::ioctl(slave, TIOCSCTTY, 0);
        ::dup2(slave, 0);
        ::dup2(slave, 1);
        ::dup2(slave, 2);
        char sh[] = "/bin/sh";
        char* argv[] = {sh, nullptr};
        ::execve(sh, argv, envp.data());
        ::_exit(127);
    }
    if (shell.pid < 0) {
        endBareShell(shell);
        return BareShell{};
    }
    return shell;
}

void endBareShell(const BareShell& shell)
{
    if (shell.pid > 0) {
        ::kill(shell.pid, SIGKILL);
        ::waitpid(shell.pid, nullptr, 0);
    }
    if (shell.master >= 0)
        ::close(shell.master);
}

// Whether something could be read within the time.
bool readMaster(int master, int timeoutMs)
{
    char buffer[4096];
    pollfd fd{master, POLLIN, 0};
    if (::poll(&fd, 1, timeoutMs) <= 0)
        return false;
    return ::read(master, buffer, sizeof buffer) > 0;
}

std::vector<double> barePtyEcho(int keys, const QTemporaryDir& home)
{
    std::vector<double> times;
    const BareShell shell = startBareShell(home);
    if (shell.pid <= 0)
        return times;
    const int master = shell.master;
    // The prompt, then whatever else the shell prints at start.
    readMaster(master, 5000);
    while (readMaster(master, 100)) {
    }
    for (int i = 0; i < keys; ++i) {
        const char key = 'a';
        const auto t0 = Clock::now();
        if (::write(master, &key, 1) != 1 || !readMaster(master, 2000))
            break;
        times.push_back(millisecondsBetween(t0, Clock::now()));
        const char erase = '\x7f';
        [[maybe_unused]] const ssize_t n = ::write(master, &erase, 1);
        readMaster(master, 2000);
        ::usleep(static_cast<useconds_t>(pauseBetweenKeys()) * 1000);
        while (readMaster(master, 0)) {
        }
    }
    endBareShell(shell);
    return times;
}

// The key written in this thread, the echo read on a thread of its own and
// handed to the main loop: the hop the terminal's reader adds, without the
// emulator.
std::vector<double> threadReadEcho(int keys, const QTemporaryDir& home)
{
    std::vector<double> times;
    const BareShell shell = startBareShell(home);
    if (shell.pid <= 0)
        return times;
    std::size_t bytes = 0;
    Clock::time_point last;
    std::atomic<bool> stop{false};
    std::thread reader([&] {
        char buffer[4096];
        while (!stop) {
            pollfd fd{shell.master, POLLIN, 0};
            if (::poll(&fd, 1, 50) <= 0)
                continue;
            const ssize_t n = ::read(shell.master, buffer, sizeof buffer);
            if (n <= 0)
                break;
            QMetaObject::invokeMethod(
                QCoreApplication::instance(),
                [&bytes, &last, n] {
                    bytes += static_cast<std::size_t>(n);
                    last = Clock::now();
                },
                Qt::QueuedConnection);
        }
    });
    if (runUntil([&] { return bytes > 0; }, 5000)) {
        runFor(200);
        for (int i = 0; i < keys; ++i) {
            const std::size_t before = bytes;
            const char key = 'a';
            const auto t0 = Clock::now();
            if (::write(shell.master, &key, 1) != 1 || !runUntil([&] { return bytes > before; }, 2000))
                break;
            times.push_back(millisecondsBetween(t0, last));
            const std::size_t erased = bytes;
            const char erase = '\x7f';
            [[maybe_unused]] const ssize_t n = ::write(shell.master, &erase, 1);
            runUntil([&] { return bytes > erased; }, 2000);
            runFor(pauseBetweenKeys());
        }
    }
    stop = true;
    reader.join();
    // Hand-overs still queued count into this function's counters: delivered now.
    QCoreApplication::sendPostedEvents(QCoreApplication::instance(), QEvent::MetaCall);
    endBareShell(shell);
    return times;
}

// ---- Baseline 3: the process object, bytes counted on the main loop ----

std::vector<double> processEcho(int keys, const QTemporaryDir& home)
{
    struct Counter : orva::LocalProcessDelegate {
        std::size_t bytes = 0;
        Clock::time_point last;
        void processTerminated(std::optional<std::int32_t>) override {}
        void dataReceived(std::span<const std::uint8_t> data) override
        {
            bytes += data.size();
            last = Clock::now();
        }
        orva::WindowSize getWindowSize() override { return {24, 80, 0, 0}; }
    } counter;
    orva::LocalProcess process([](std::function<void()> job) {
        QMetaObject::invokeMethod(QCoreApplication::instance(), std::move(job), Qt::QueuedConnection);
    });
    process.setDelegate(&counter);
    process.startProcess("/bin/sh", {}, shellEnvironment(home));
    std::vector<double> times;
    if (!runUntil([&] { return counter.bytes > 0; }, 5000))
        return times;
    runFor(200);
    for (int i = 0; i < keys; ++i) {
        const std::size_t before = counter.bytes;
        const auto t0 = Clock::now();
        process.send(std::string_view("a"));
        if (!runUntil([&] { return counter.bytes > before; }, 2000))
            break;
        times.push_back(millisecondsBetween(t0, counter.last));
        const std::size_t erased = counter.bytes;
        process.send(std::string_view("\x7f"));
        runUntil([&] { return counter.bytes > erased; }, 2000);
        runFor(pauseBetweenKeys());
    }
    process.setDelegate(nullptr);
    process.terminate();
    return times;
}

// ---- The window ----

struct Window {
    QQuickWindow window;
    orva::LocalProcessTerminalView* view = nullptr;
};

void buildWindow(Window& w, int cols, int rows)
{
    w.view = new orva::LocalProcessTerminalView(cols, rows, w.window.contentItem());
    const QSize size(static_cast<int>(std::ceil(w.view->cellWidth() * cols + orva::TerminalRendererView::scrollerWidth)),
                     static_cast<int>(std::ceil(w.view->cellHeight() * rows)));
    w.window.resize(size);
    w.view->setSize(QSizeF(size));
    w.window.setTitle(QStringLiteral("orva-latency"));
    w.window.setColor(Qt::black);
    w.window.show();
    w.view->forceActiveFocus();
    w.window.requestActivate();
}

int runKeys(int keys, int cols, int rows)
{
    QTemporaryDir home;
    std::fprintf(results, "bare pseudo-terminal echo (kernel and shell, read in this thread)...\n");
    std::fflush(results);
    const std::vector<double> bare = barePtyEcho(keys, home);
    std::fprintf(results, "echo read on a thread of its own, handed to the main loop...\n");
    std::fflush(results);
    const std::vector<double> threadRead = threadReadEcho(keys, home);
    std::fprintf(results, "echo through the process object to the main loop...\n");
    std::fflush(results);
    const std::vector<double> process = processEcho(keys, home);

    Window w;
    buildWindow(w, cols, rows);
    orva::LocalProcessTerminalView* view = w.view;
    view->startProcess("/bin/sh", {}, shellEnvironment(home));
    const orva::Buffer& buffer = view->terminal().buffer();
    if (!runUntil([&] { return buffer.x > 0; }, 10000) || !runUntil([&] { return w.window.isExposed(); }, 10000)) {
        std::fprintf(results, "no prompt or no window\n");
        return 1;
    }
    runFor(300);

    const orva::testing::Typing typing = orva::testing::typeKeys(w.window, *view, keys);
    view->terminate();

    const std::vector<double> total = typing.leg(&orva::testing::TypedKey::total);
    const QString backend = QQuickWindow::sceneGraphBackend().isEmpty() ? QStringLiteral("default (rhi)")
                                                                         : QQuickWindow::sceneGraphBackend();
    std::fprintf(results, "\nTyping latency, %s platform, %s scene graph, %dx%d grid, %zu of %d keys (ms)\n\n",
                 qPrintable(QGuiApplication::platformName()), qPrintable(backend), cols, rows, typing.keys.size(), keys);
    std::fprintf(results, "| leg | median | 90th percentile |\n|---|---|---|\n");
    auto row = [](const char* name, const std::vector<double>& v) {
        std::fprintf(results, "| %s | %.2f | %.2f |\n", name, percentile(v, 0.5), percentile(v, 0.9));
    };
    row("bare pseudo-terminal: byte written to echo read (kernel and shell)", bare);
    row("reader thread: byte written to echo on the main loop (kernel, shell, one hand-over)", threadRead);
    row("process object: byte sent to echo on the main loop", process);
    row("view: key event to the echo fed to the emulator", typing.leg(&orva::testing::TypedKey::toFed));
    row("view: fed to the start of the frame", typing.leg(&orva::testing::TypedKey::toFrame));
    row("view: the frame (synchronize, render, swap)", typing.leg(&orva::testing::TypedKey::frame));
    row("**view: key event to the frame that shows the glyph**", total);
    std::fprintf(results, "\nframes drawn while typing: %d for %zu keys and their erasures\n", typing.frames,
                 typing.keys.size());
    std::fflush(results);
    return typing.keys.empty() ? 1 : 0;
}

int runWindow(int cols, int rows)
{
    QTemporaryDir home;
    Window w;
    buildWindow(w, cols, rows);
    QObject::connect(w.view, &orva::LocalProcessTerminalView::processExited, qApp, &QCoreApplication::quit);
    w.view->startProcess("/bin/sh", {}, shellEnvironment(home));
    runUntil([&] { return w.window.isExposed() && w.view->terminal().buffer().x > 0; }, 10000);
    std::fprintf(results, "window 0x%llx\n", static_cast<unsigned long long>(w.window.winId()));
    std::fflush(results);
    return QGuiApplication::exec();
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    quietLogs();
    int keys = 50;
    int cols = 80;
    int rows = 24;
    bool window = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--window") == 0)
            window = true;
        else if (std::strcmp(argv[i], "--keys") == 0 && i + 1 < argc)
            keys = std::max(1, std::atoi(argv[++i]));
        else if (std::strcmp(argv[i], "--cols") == 0 && i + 1 < argc)
            cols = std::max(20, std::atoi(argv[++i]));
        else if (std::strcmp(argv[i], "--rows") == 0 && i + 1 < argc)
            rows = std::max(5, std::atoi(argv[++i]));
    }
    // A SIGTERM ends the window form like its shell's end does.
    static int quitPipe[2];
    if (::pipe2(quitPipe, O_CLOEXEC | O_NONBLOCK) == 0) {
        ::signal(SIGTERM, [](int) { [[maybe_unused]] const ssize_t n = ::write(quitPipe[1], "q", 1); });
        auto* notifier = new QSocketNotifier(quitPipe[0], QSocketNotifier::Read, &app);
        QObject::connect(notifier, &QSocketNotifier::activated, &app, [] { QCoreApplication::quit(); });
    }
    return window ? runWindow(cols, rows) : runKeys(keys, cols, rows);
}
