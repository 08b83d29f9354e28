#include "terminal/LocalProcess.h"

#include "platform/Log.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <locale.h>
#include <map>

#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#if defined(__APPLE__)
#include <sys/event.h>
#endif
#include <sys/ioctl.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

extern char** environ;

namespace orva {

namespace {

constexpr auto terminateGrace = std::chrono::milliseconds(500);
// After the child has ended, output still arriving is read until the master
// reports end of data, or until it stays quiet this long (a descendant may keep
// the terminal open).
constexpr int drainQuietMs = 100;
// How often a guarded reader's modes are looked at (see guardLoop).
constexpr int leavingLookMs = 5;

void closeFd(int& fd)
{
    if (fd >= 0) {
        ::close(fd);
        fd = -1;
    }
}

void raiseFlag(int fd)
{
    if (fd >= 0) {
        const std::uint64_t one = 1;
        [[maybe_unused]] const ssize_t n = ::write(fd, &one, sizeof one);
    }
}

std::string errnoText(int error)
{
    return std::to_string(error);
}

} // namespace

LocalProcess::LocalProcess(MainExecutor mainExecutor)
    : m_mainExecutor(std::move(mainExecutor)), m_alive(std::make_shared<LocalProcess*>(this))
{
}

LocalProcess::~LocalProcess()
{
    // No callbacks into an owner that is being torn down.
    m_runningChanged = nullptr;
    m_delegate = nullptr;
    if (m_pid > 0 && !m_released) {
        m_running = false;
        endChild();
    }
    stop();
    m_alive.reset();
}

std::string LocalProcess::utf8LocaleName()
{
    locale_t probe = ::newlocale(LC_ALL_MASK, "en_US.UTF-8", static_cast<locale_t>(nullptr));
    if (probe) {
        ::freelocale(probe);
        return "en_US.UTF-8";
    }
    return "C.UTF-8";
}

std::vector<std::string> LocalProcess::childEnvironment(const std::optional<std::vector<std::string>>& additions)
{
    std::vector<std::string> keys;
    std::map<std::string, std::string> values;
    auto put = [&](const std::string& key, const std::string& value) {
        if (values.find(key) == values.end())
            keys.push_back(key);
        values[key] = value;
    };
    for (char** entry = environ; entry && *entry; ++entry) {
        const std::string text(*entry);
        const auto eq = text.find('=');
        if (eq == std::string::npos || eq == 0)
            continue;
        put(text.substr(0, eq), text.substr(eq + 1));
    }
    const std::string locale = utf8LocaleName();
    put("TERM", "xterm-256color");
    put("COLORTERM", "truecolor");
    put("LANG", locale);
    put("LC_ALL", locale);
    if (values.find("PATH") == values.end())
        put("PATH", "/usr/local/bin:/usr/bin:/bin:/usr/sbin:/sbin:/opt/homebrew/bin");
    if (additions) {
        for (const std::string& element : *additions) {
            const auto eq = element.find('=');
            if (eq == std::string::npos)
                continue;
            const std::string key = element.substr(0, eq);
            const std::string value = element.substr(eq + 1);
            if (key.empty() || value.empty())
                continue;
            put(key, value);
        }
    }
    std::vector<std::string> result;
    result.reserve(keys.size());
    for (const std::string& key : keys)
        result.push_back(key + "=" + values[key]);
    return result;
}

bool LocalProcess::createPTY()
{
    m_masterFd = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (m_masterFd < 0) {
        logLine("[LocalProcess] posix_openpt 실패: " + errnoText(errno));
        return false;
    }
    ::fcntl(m_masterFd, F_SETFD, FD_CLOEXEC);
    if (::grantpt(m_masterFd) != 0) {
        logLine("[LocalProcess] grantpt 실패: " + errnoText(errno));
        closeFd(m_masterFd);
        return false;
    }
    if (::unlockpt(m_masterFd) != 0) {
        logLine("[LocalProcess] unlockpt 실패: " + errnoText(errno));
        closeFd(m_masterFd);
        return false;
    }
    char name[128];
    if (::ptsname_r(m_masterFd, name, sizeof name) != 0) {
        logLine(std::string_view("[LocalProcess] ptsname 실패"));
        closeFd(m_masterFd);
        return false;
    }
    m_slavePath = name;
    // Not this process's controlling terminal; the child makes it its own.
    m_slaveFd = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (m_slaveFd < 0) {
        logLine("[LocalProcess] slave PTY 열기 실패: " + errnoText(errno));
        closeFd(m_masterFd);
        return false;
    }
    return true;
}

void LocalProcess::startProcess(const std::string& executable, const std::vector<std::string>& args,
                                const std::optional<std::vector<std::string>>& environment)
{
    // One child at a time; one that has ended and been released makes room.
    if (m_running || (m_pid > 0 && !m_released))
        return;
    if (m_released) {
        stopGuard();
        m_pid = -1;
        m_released = false;
        m_stopping = false;
        m_childExited = false;
        m_readerFinished = false;
        m_reaped = false;
        m_drainScheduled = false;
        m_pending.clear();
        m_slavePath.clear();
        std::lock_guard lock(m_mutex);
        m_personBytes = 0;
        m_personElsewhere = 0;
        m_readerBytes = 0;
    }
    if (!createPTY()) {
        logLine(std::string_view("[LocalProcess] PTY 생성 실패"));
        return;
    }
    if (m_delegate) {
        WindowSize size = m_delegate->getWindowSize();
        struct winsize ws {};
        ws.ws_row = size.rows;
        ws.ws_col = size.cols;
        ws.ws_xpixel = size.pixelWidth;
        ws.ws_ypixel = size.pixelHeight;
        ::ioctl(m_masterFd, TIOCSWINSZ, &ws);
        m_currentCols = size.cols;
        m_currentRows = size.rows;
    }

    // Everything the child needs is prepared here: after fork only
    // async-signal-safe calls are made.
    std::vector<std::string> argStrings;
    argStrings.push_back(executable);
    argStrings.insert(argStrings.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& a : argStrings)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    std::vector<std::string> envStrings = childEnvironment(environment);
    std::vector<char*> envp;
    for (std::string& e : envStrings)
        envp.push_back(e.data());
    envp.push_back(nullptr);
    const char* path = executable.c_str();
    long maxFd = ::sysconf(_SC_OPEN_MAX);
    if (maxFd < 0 || maxFd > 65536)
        maxFd = 65536;

    // Tells the parent the exec's errno; closed by a successful exec.
    int statusPipe[2];
    if (::pipe2(statusPipe, O_CLOEXEC) != 0) {
        logLine("[LocalProcess] 프로세스 시작 실패: " + std::string(std::strerror(errno)));
        stop();
        return;
    }
    const int slave = m_slaveFd;
    const int statusWrite = statusPipe[1];

    const pid_t pid = ::fork();
    if (pid == 0) {
        struct sigaction defaultAction {};
        defaultAction.sa_handler = SIG_DFL;
        for (int sig = 1; sig < NSIG; ++sig) {
            if (sig != SIGKILL && sig != SIGSTOP)
                ::sigaction(sig, &defaultAction, nullptr);
        }
        sigset_t none;
        sigemptyset(&none);
        ::sigprocmask(SIG_SETMASK, &none, nullptr);
        ::setsid();
        ::ioctl(slave, TIOCSCTTY, 0);
        ::dup2(slave, 0);
        ::dup2(slave, 1);
        ::dup2(slave, 2);
        // Nothing else of this process reaches the child.
        auto closeFrom = [maxFd](int first, int last) {
            if (first > last)
                return;
            if (::syscall(SYS_close_range, static_cast<unsigned>(first), static_cast<unsigned>(last), 0u) != 0) {
                for (long fd = first; fd <= last && fd < maxFd; ++fd)
                    ::close(static_cast<int>(fd));
            }
        };
        closeFrom(3, statusWrite - 1);
        closeFrom(statusWrite + 1, 0x7fffffff);
        ::execve(path, argv.data(), envp.data());
        const int error = errno;
        [[maybe_unused]] const ssize_t n = ::write(statusWrite, &error, sizeof error);
        ::_exit(127);
    }
    ::close(statusPipe[1]);
    if (pid < 0) {
        const int error = errno;
        ::close(statusPipe[0]);
        logLine("[LocalProcess] 프로세스 시작 실패: " + std::string(std::strerror(error)));
        stop();
        return;
    }
    int execError = 0;
    ssize_t got;
    do {
        got = ::read(statusPipe[0], &execError, sizeof execError);
    } while (got < 0 && errno == EINTR);
    ::close(statusPipe[0]);
    if (got > 0) {
        int status = 0;
        while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
        logLine("[LocalProcess] 프로세스 시작 실패: " + std::string(std::strerror(execError)) + " (" + executable +
                ")");
        stop();
        return;
    }

    m_pid = pid;
    closeFd(m_slaveFd);
    ::fcntl(m_masterFd, F_SETFL, ::fcntl(m_masterFd, F_GETFL) | O_NONBLOCK);
    m_stopFd = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    m_exitFd = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    setRunning(true);
    startThreads();
    logLine("[LocalProcess] 프로세스 시작 PID: " + std::to_string(pid));
}

void LocalProcess::startThreads()
{
    m_reader = std::thread([this] { readerLoop(); });
    m_writer = std::thread([this] { writerLoop(); });
    m_waiter = std::thread([this] { waiterLoop(); });
}

void LocalProcess::readerLoop()
{
    std::vector<std::uint8_t> buffer(readBufferSize);
    std::weak_ptr<LocalProcess*> alive = m_alive;
    bool endOfData = false;
    for (;;) {
        if (m_stopping)
            break;
        const bool exited = m_childExited;
        pollfd fds[3] = {{m_masterFd, POLLIN, 0}, {m_stopFd, POLLIN, 0}, {m_exitFd, POLLIN, 0}};
        const int r = ::poll(fds, exited ? 2 : 3, exited ? drainQuietMs : -1);
        if (r < 0) {
            if (errno == EINTR)
                continue;
            break;
        }
        if (m_stopping)
            break;
        if (r == 0) {
            if (exited)
                break;
            continue;
        }
        if (fds[0].revents & (POLLIN | POLLHUP | POLLERR)) {
            const ssize_t n = ::read(m_masterFd, buffer.data(), buffer.size());
            if (n > 0) {
                pushOutput(buffer.data(), static_cast<std::size_t>(n));
            } else if (n < 0 && (errno == EAGAIN || errno == EINTR)) {
                continue;
            } else {
                // End of data (EIO once the last slave descriptor closed).
                endOfData = true;
                break;
            }
        } else if (fds[0].revents & POLLNVAL) {
            break;
        }
    }
    if (endOfData) {
        m_mainExecutor([alive] {
            if (auto self = alive.lock())
                (*self)->setRunning(false);
        });
    }
    std::lock_guard lock(m_mutex);
    m_readerFinished = true;
    m_condition.notify_all();
}

void LocalProcess::pushOutput(const std::uint8_t* data, std::size_t size)
{
    bool schedule = false;
    {
        std::unique_lock lock(m_mutex);
        // Back-pressure: the child blocks on a full terminal while the main
        // thread catches up.
        m_condition.wait(lock, [this] { return m_pending.size() < pendingLimit || m_stopping; });
        if (m_stopping)
            return;
        m_pending.insert(m_pending.end(), data, data + size);
        if (!m_drainScheduled) {
            m_drainScheduled = true;
            schedule = true;
        }
    }
    if (schedule) {
        std::weak_ptr<LocalProcess*> alive = m_alive;
        m_mainExecutor([alive] {
            if (auto self = alive.lock())
                (*self)->drainOutput();
        });
    }
}

void LocalProcess::resumeOutput()
{
    drainOutput();
}

void LocalProcess::drainOutput()
{
    if (m_delegate && m_delegate->outputBacklogged()) {
        // The delegate calls resumeOutput() once it has caught up.
        std::lock_guard lock(m_mutex);
        m_drainScheduled = false;
        return;
    }
    std::vector<std::uint8_t> data;
    {
        std::lock_guard lock(m_mutex);
        data.swap(m_pending);
        m_drainScheduled = false;
        m_condition.notify_all();
    }
    if (!data.empty() && m_delegate)
        m_delegate->dataReceived(data);
}

LocalProcess::WriteResult LocalProcess::writeLocked(std::span<const std::uint8_t> bytes, std::size_t& written,
                                                    pid_t group, bool person)
{
    while (written < bytes.size()) {
        const std::size_t left = bytes.size() - written;
        if (group > 0 && ::tcgetpgrp(m_masterFd) != group) {
            // Meant for a program that no longer has the terminal.
            m_unwritten -= left;
            m_dropped += left;
            written = bytes.size();
            return WriteResult::Finished;
        }
        const pid_t front = person || m_guardedGroup > 0 ? ::tcgetpgrp(m_masterFd) : 0;
        const ssize_t n = ::write(m_masterFd, bytes.data() + written, left);
        if (n > 0) {
            if (m_guardedGroup > 0 && front == m_guardedGroup)
                m_readerBytes += static_cast<std::uint64_t>(n);
            if (person) {
                m_personBytes += static_cast<std::uint64_t>(n);
                if (m_guardedGroup <= 0 || front != m_guardedGroup)
                    m_personElsewhere += static_cast<std::uint64_t>(n);
            }
            written += static_cast<std::size_t>(n);
            m_unwritten -= static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n == 0 || errno == EAGAIN)
            return WriteResult::Full;
        logLine("[LocalProcess] 쓰기 오류: " + errnoText(errno));
        m_unwritten -= left;
        written = bytes.size();
        return WriteResult::Finished;
    }
    return WriteResult::Finished;
}

void LocalProcess::writerLoop()
{
    // Every write happens under the lock, so a discard (flushUnreadInput)
    // never meets a chunk half on its way. The queue only holds what the
    // terminal would not take at once (see queueWrite).
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_writeCondition.wait(lock, [this] { return m_stopping || !m_writeQueue.empty(); });
        if (m_stopping)
            return;
        Chunk& chunk = m_writeQueue.front();
        if (writeLocked(chunk.bytes, chunk.written, chunk.group, chunk.person) == WriteResult::Finished) {
            m_writeQueue.pop_front();
            continue;
        }
        lock.unlock();
        pollfd fds[2] = {{m_masterFd, POLLOUT, 0}, {m_stopFd, POLLIN, 0}};
        ::poll(fds, 2, -1);
        lock.lock();
    }
}

void LocalProcess::waiterLoop()
{
    // Seen exited but not yet reaped: the identifier stays ours while the
    // flag below is set, so a kill under the lock never reaches a stranger.
    siginfo_t info {};
    int r;
    do {
        r = ::waitid(P_PID, static_cast<id_t>(m_pid), &info, WEXITED | WNOWAIT);
    } while (r < 0 && errno == EINTR);
    {
        std::lock_guard lock(m_mutex);
        m_reaped = true;
        m_condition.notify_all();
    }
    int status = 0;
    pid_t reaped;
    do {
        reaped = ::waitpid(m_pid, &status, 0);
    } while (reaped < 0 && errno == EINTR);
    m_childExited = true;
    raiseFlag(m_exitFd);
    std::int32_t code = -1;
    if (reaped == m_pid) {
        if (WIFEXITED(status))
            code = WEXITSTATUS(status);
        else if (WIFSIGNALED(status))
            code = WTERMSIG(status);
    }
    {
        std::unique_lock lock(m_mutex);
        // The last output goes to the main thread before the end does.
        m_condition.wait(lock, [this] { return m_readerFinished; });
    }
    std::weak_ptr<LocalProcess*> alive = m_alive;
    m_mainExecutor([alive, code] {
        if (auto self = alive.lock())
            (*self)->childEnded(code);
    });
}

void LocalProcess::childEnded(std::int32_t status)
{
    drainOutput();
    setRunning(false);
    stop();
    if (m_delegate)
        m_delegate->processTerminated(status);
}

void LocalProcess::setRunning(bool running)
{
    if (m_running == running)
        return;
    m_running = running;
    if (m_runningChanged)
        m_runningChanged(running);
}

std::optional<ForegroundReader> LocalProcess::foregroundReader() const
{
    if (!m_running || m_masterFd < 0)
        return std::nullopt;
    ForegroundReader reader;
    reader.processGroup = ::tcgetpgrp(m_masterFd);
    termios modes {};
    if (::tcgetattr(m_masterFd, &modes) == 0)
        reader.lineMode = (modes.c_lflag & ICANON) != 0;
    // What the reader has yet to read: still on its way to the master, and
    // in the terminal's input queue (asked of the slave side; only whole
    // lines count while lines are collected).
    {
        std::lock_guard lock(m_mutex);
        reader.personBytes = m_personBytes;
        reader.personBytesElsewhere = m_personElsewhere;
        reader.unreadInput = m_unwritten;
    }
    if (reader.processGroup > 0)
        reader.leader = processInfo(reader.processGroup);
    const int slave = ::open(m_slavePath.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (slave >= 0) {
        int queued = 0;
        if (::ioctl(slave, FIONREAD, &queued) == 0 && queued > 0)
            reader.unreadInput += static_cast<std::size_t>(queued);
        ::close(slave);
    }
    return reader;
}

void LocalProcess::queueWrite(std::span<const std::uint8_t> data, pid_t group, bool person)
{
    if (!m_running || m_masterFd < 0 || data.empty())
        return;
    std::lock_guard lock(m_mutex);
    m_unwritten += data.size();
    std::size_t written = 0;
    // With nothing queued before them, the bytes are written here and now,
    // on the caller's thread (a key reaches the terminal without waiting for
    // another thread); the writer only gets what the terminal does not take
    // at once, and everything sent after it then queues behind it.
    if (m_writeQueue.empty() && !m_stopping && writeLocked(data, written, group, person) == WriteResult::Finished)
        return;
    m_writeQueue.push_back(Chunk{std::vector<std::uint8_t>(data.begin() + static_cast<std::ptrdiff_t>(written), data.end()),
                                 0, group, person});
    m_writeCondition.notify_one();
}

void LocalProcess::send(std::span<const std::uint8_t> data)
{
    queueWrite(data, 0, false);
}

void LocalProcess::send(std::string_view text)
{
    send(std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

void LocalProcess::sendTo(std::span<const std::uint8_t> data, pid_t group)
{
    if (group <= 0)
        return;
    queueWrite(data, group, false);
}

void LocalProcess::sendFromPerson(std::span<const std::uint8_t> data)
{
    queueWrite(data, 0, true);
}

std::uint64_t LocalProcess::flushLocked()
{
    m_readerBytes = 0;
    for (const Chunk& chunk : m_writeQueue)
        m_dropped += chunk.bytes.size() - chunk.written;
    m_writeQueue.clear();
    m_unwritten = 0;
    if (!m_slavePath.empty()) {
        const int slave = ::open(m_slavePath.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
        if (slave >= 0) {
            ::tcflush(slave, TCIFLUSH);
            ::close(slave);
        }
    }
    return m_personBytes;
}

std::uint64_t LocalProcess::flushUnreadInput()
{
    std::lock_guard lock(m_mutex);
    if (!m_running)
        return m_personBytes;
    return flushLocked();
}

void LocalProcess::guardReader(pid_t reader, std::uint64_t startTime)
{
    stopGuard();
    if (reader <= 0 || !m_running)
        return;
    m_guarded = reader;
    {
        std::lock_guard lock(m_mutex);
        m_guardedGroup = reader;
    }
    m_guardStopFd = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    const int stopFd = m_guardStopFd;
    m_guard = std::thread([this, reader, startTime, stopFd] { guardLoop(reader, startTime, stopFd); });
}

void LocalProcess::stopGuard()
{
    raiseFlag(m_guardStopFd);
    if (m_guard.joinable())
        m_guard.join();
    closeFd(m_guardStopFd);
    m_guarded = 0;
    std::lock_guard lock(m_mutex);
    m_guardedGroup = 0;
}

namespace {
// Whether `reader` (by its start time) still runs; a zombie has ended.
bool readerRuns(pid_t reader, std::uint64_t startTime)
{
    const auto info = processInfo(reader);
    return info && info->startTime == startTime && !info->zombie;
}
} // namespace

void LocalProcess::guardLoop(pid_t reader, std::uint64_t startTime, int stopFd)
{
    // Woken the moment the reader ends: by its process descriptor on Linux,
    // its kernel event on macOS, else by looking every few milliseconds.
    int watchFd = -1;
#if defined(SYS_pidfd_open)
    watchFd = static_cast<int>(::syscall(SYS_pidfd_open, reader, 0));
#elif defined(__APPLE__)
    watchFd = ::kqueue();
    if (watchFd >= 0) {
        struct kevent change;
        EV_SET(&change, reader, EVFILT_PROC, EV_ADD | EV_ONESHOT, NOTE_EXIT, 0, nullptr);
        if (::kevent(watchFd, &change, 1, nullptr, 0, nullptr) != 0)
            closeFd(watchFd);
    }
#endif
    // The descriptor names whatever has the pid now: it must be the reader.
    bool gone = !readerRuns(reader, startTime);
    // A reader that has read keys as they come and, still in front, puts the
    // terminal back to whole lines is leaving (claude does so a moment
    // before it ends, or stops on Ctrl+Z): what waits for it is discarded
    // then, while no other reader can have it yet.
    bool seenRaw = false;
    while (!gone) {
        pollfd fds[2] = {{stopFd, POLLIN, 0}, {watchFd, POLLIN, 0}};
        const int r = ::poll(fds, watchFd >= 0 ? 2 : 1, leavingLookMs);
        if (r < 0 && errno != EINTR)
            break;
        if (fds[0].revents & POLLIN) {
            closeFd(watchFd);
            return;
        }
        gone = watchFd >= 0 ? (fds[1].revents != 0) : !readerRuns(reader, startTime);
        if (gone)
            break;
        std::lock_guard lock(m_mutex);
        if (m_stopping || m_masterFd < 0)
            break;
        termios modes {};
        if (::tcgetpgrp(m_masterFd) != reader || ::tcgetattr(m_masterFd, &modes) != 0)
            continue;
        const bool raw = (modes.c_lflag & ICANON) == 0;
        if (raw) {
            seenRaw = true;
        } else if (seenRaw) {
            seenRaw = false;
            if (m_readerBytes > 0)
                flushLocked();
        }
    }
    closeFd(watchFd);
    if (!gone)
        return;
    std::uint64_t person = 0;
    {
        std::lock_guard lock(m_mutex);
        if (m_stopping)
            return;
        // Only what reached the terminal for the reader since the last
        // discard: keys the shell got after the reader left are the shell's.
        person = m_personBytes;
        if (m_readerBytes > 0)
            flushLocked();
        // From now on the terminal's keys are nobody's but the shell's.
        m_guardedGroup = 0;
    }
    std::weak_ptr<LocalProcess*> alive = m_alive;
    m_mainExecutor([alive, reader, person] {
        if (auto self = alive.lock()) {
            LocalProcess* process = *self;
            if (process->m_readerGone)
                process->m_readerGone(reader, person);
        }
    });
}

void LocalProcess::setWindowSize(int cols, int rows, int pixelWidth, int pixelHeight)
{
    if (m_masterFd < 0 || (cols == m_currentCols && rows == m_currentRows))
        return;
    m_currentCols = cols;
    m_currentRows = rows;
    struct winsize ws {};
    ws.ws_row = static_cast<unsigned short>(rows);
    ws.ws_col = static_cast<unsigned short>(cols);
    ws.ws_xpixel = static_cast<unsigned short>(pixelWidth);
    ws.ws_ypixel = static_cast<unsigned short>(pixelHeight);
    ::ioctl(m_masterFd, TIOCSWINSZ, &ws);
}

void LocalProcess::sendSignal(int signal)
{
    std::lock_guard lock(m_mutex);
    if (m_pid > 0 && !m_reaped)
        ::kill(m_pid, signal);
}

void LocalProcess::terminate()
{
    if (m_pid <= 0 || m_released)
        return;
    setRunning(false);
    endChild();
    stop();
}

void LocalProcess::endChild()
{
    {
        std::lock_guard lock(m_mutex);
        if (!m_reaped)
            ::kill(m_pid, SIGTERM);
    }
    // The threads leave the master first; closing it then hangs up the
    // terminal, which ends a shell that ignores SIGTERM and its foreground job.
    stopReaderAndWriter();
    closeFd(m_masterFd);
    {
        std::unique_lock lock(m_mutex);
        if (!m_condition.wait_for(lock, terminateGrace, [this] { return m_reaped; })) {
            // Still not gone: the whole process group, then the child itself.
            ::kill(-m_pid, SIGKILL);
            ::kill(m_pid, SIGKILL);
        }
    }
    if (m_waiter.joinable())
        m_waiter.join();
}

void LocalProcess::stopReaderAndWriter()
{
    m_stopping = true;
    raiseFlag(m_stopFd);
    {
        std::lock_guard lock(m_mutex);
        m_condition.notify_all();
        m_writeCondition.notify_all();
    }
    if (m_reader.joinable())
        m_reader.join();
    if (m_writer.joinable())
        m_writer.join();
}

void LocalProcess::stop()
{
    stopGuard();
    stopReaderAndWriter();
    if (m_waiter.joinable()) {
        // Only joined once the child is reaped; a live child is ended first.
        bool reaped;
        {
            std::lock_guard lock(m_mutex);
            reaped = m_reaped;
        }
        if (!reaped)
            endChild();
        if (m_waiter.joinable())
            m_waiter.join();
    }
    closeFd(m_masterFd);
    closeFd(m_slaveFd);
    closeFd(m_stopFd);
    closeFd(m_exitFd);
    if (m_pid > 0)
        m_released = true;
    {
        std::lock_guard lock(m_mutex);
        m_writeQueue.clear();
        m_unwritten = 0;
    }
}

} // namespace orva
