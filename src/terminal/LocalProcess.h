#pragma once

// One child program on a pseudo-terminal. The master side is read on a reader
// thread; bytes sent are written at once on the sender's thread, and only what
// the terminal does not take then waits for a writer thread; every callback reaches the delegate
// through the main executor given to the constructor (the Qt main loop in the
// application, a plain job queue in tests). Plain C++ over POSIX.

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include <sys/types.h>

#include "terminal/ProcessInfo.h"

namespace orva {

// The POSIX winsize layout: rows, columns, pixel width, pixel height.
struct WindowSize {
    std::uint16_t rows = 0;
    std::uint16_t cols = 0;
    std::uint16_t pixelWidth = 0;
    std::uint16_t pixelHeight = 0;
};

// Who reads the terminal: its foreground process group and whether the line
// discipline collects whole lines (canonical mode, as a shell leaves it for a
// program it starts) or hands over keys as they come (raw, as a full-screen
// program or a shell's line editor sets it).
struct ForegroundReader {
    // The group, or 0 or less when the terminal has none.
    pid_t processGroup = 0;
    bool lineMode = true;
    // Bytes typed that nobody has read yet.
    std::size_t unreadInput = 0;
    // The bytes the person has typed (LocalProcess::sendFromPerson) that have
    // reached the terminal since the child started, counted before
    // `unreadInput` was asked: when nothing is unread, every one has been read.
    std::uint64_t personBytes = 0;
    // Those of them that reached it while a group other than the guarded
    // reader's had it (all of them while no reader is guarded): what the
    // shell, or a program it ran, may have been given.
    std::uint64_t personBytesElsewhere = 0;
    // The group's leader (the process whose pid the group has), while it runs.
    std::optional<ProcessInfo> leader;
};

class LocalProcessDelegate {
public:
    virtual ~LocalProcessDelegate() = default;
    // The child has ended. The code is its exit status, or the number of the
    // signal that ended it.
    virtual void processTerminated(std::optional<std::int32_t> exitCode) = 0;
    // Bytes read from the child, in order.
    virtual void dataReceived(std::span<const std::uint8_t> data) = 0;
    // The size of the current grid.
    virtual WindowSize getWindowSize() = 0;
    // Whether the delegate still has received bytes to work through: while it
    // has, output stays with the process (whose reader stops at its limit)
    // until resumeOutput().
    virtual bool outputBacklogged() const { return false; }
};

class LocalProcess {
public:
    // Runs a job on the main thread, later, in the order given.
    using MainExecutor = std::function<void(std::function<void()>)>;

    // Output the reader keeps waiting for the main thread before it stops reading.
    static constexpr std::size_t pendingLimit = 1024 * 1024;
    static constexpr std::size_t readBufferSize = 16384;

    explicit LocalProcess(MainExecutor mainExecutor);
    ~LocalProcess();

    LocalProcess(const LocalProcess&) = delete;
    LocalProcess& operator=(const LocalProcess&) = delete;

    // Not owned; the owner outlives this object.
    LocalProcessDelegate* delegate() const { return m_delegate; }
    void setDelegate(LocalProcessDelegate* delegate) { m_delegate = delegate; }

    // Called on the main thread whenever `isRunning` changes.
    void setRunningChangedHandler(std::function<void(bool)> handler) { m_runningChanged = std::move(handler); }

    bool isRunning() const { return m_running; }
    pid_t processId() const { return m_pid; }
    int masterFd() const { return m_masterFd; }
    int slaveFd() const { return m_slaveFd; }
    int currentCols() const { return m_currentCols; }
    // The terminal's foreground reader, asked of the master on the main
    // thread; none while no child runs. The child is a session leader, so
    // its own group is `processId()`.
    std::optional<ForegroundReader> foregroundReader() const;
    int currentRows() const { return m_currentRows; }

    // Starts `executable` with `args` (program name not included). The
    // environment is this process's with the terminal entries and then the
    // KEY=VALUE `environment` entries applied. Failure is a log line and
    // `isRunning` staying false. Once a child has ended and been released, a
    // new one may be started (the delegate keeps what it has drawn).
    void startProcess(const std::string& executable, const std::vector<std::string>& args,
                      const std::optional<std::vector<std::string>>& environment = std::nullopt);

    // Bytes for the child, in the order sent, without blocking: written at
    // once when nothing waits before them, else queued behind what waits
    // for the writer thread; dropped unless running.
    void send(std::span<const std::uint8_t> data);
    void send(std::string_view text);
    // The same, for the terminal's foreground group `group` only: bytes that
    // find another group in front when their turn to be written comes are
    // dropped (counted in droppedBytes()).
    void sendTo(std::span<const std::uint8_t> data, pid_t group);
    // What the person types (keys, paste): counted in personBytes.
    void sendFromPerson(std::span<const std::uint8_t> data);
    std::uint64_t droppedBytes() const { return m_dropped; }

    // Discards what waits to be read: bytes still on their way to the
    // terminal and the terminal's input queue, so that no later reader gets
    // them. Returns the person's byte count at that moment.
    std::uint64_t flushUnreadInput();

    // Watches the process `reader` (a program the child started, known by its
    // start time, the leader of its group): when, in front, it puts the
    // terminal back to whole lines after reading keys as they come (leaving,
    // or stopping on Ctrl+Z), and the moment it ends, what reached the
    // terminal for it and is unread is discarded; then, once it has ended,
    // the handler gets its pid and the person's byte count, on the main
    // thread. While it is watched,
    // the person's bytes that reach the terminal with its group in front are
    // its own (see personBytesElsewhere). One watch at a time: a new one, or
    // 0, ends the last. A reader already gone is handled at once.
    using ReaderGoneHandler = std::function<void(pid_t reader, std::uint64_t personBytes)>;
    void setReaderGoneHandler(ReaderGoneHandler handler) { m_readerGone = std::move(handler); }
    void guardReader(pid_t reader, std::uint64_t startTime);
    pid_t guardedReader() const { return m_guarded; }

    void setWindowSize(int cols, int rows, int pixelWidth, int pixelHeight);

    // On the main thread: the delegate has worked through its backlog; output
    // waiting here is handed over now.
    void resumeOutput();

    // Ends the child for real and releases everything.
    void terminate();
    void sendSignal(int signal);

    // The environment the child gets (exposed for tests).
    static std::vector<std::string> childEnvironment(const std::optional<std::vector<std::string>>& additions);
    // "en_US.UTF-8" where that locale exists, otherwise "C.UTF-8".
    static std::string utf8LocaleName();

private:
    bool createPTY();
    void startThreads();
    void readerLoop();
    void writerLoop();
    void waiterLoop();
    void pushOutput(const std::uint8_t* data, std::size_t size);
    void drainOutput();
    void childEnded(std::int32_t status);
    void setRunning(bool running);
    void stop();
    // Raises the stop flag and joins the reader and writer threads.
    void stopReaderAndWriter();
    // Sends SIGTERM, hangs up, reaps; kills the process group after a grace.
    void endChild();
    void queueWrite(std::span<const std::uint8_t> data, pid_t group, bool person);
    // Under m_mutex: writes `bytes` from `written` on (which it advances)
    // without blocking, counting the person's bytes and dropping those meant
    // for a group not in front. Full: the terminal takes no more for now.
    enum class WriteResult { Finished, Full };
    WriteResult writeLocked(std::span<const std::uint8_t> bytes, std::size_t& written, pid_t group, bool person);
    // Under m_mutex.
    std::uint64_t flushLocked();
    void stopGuard();
    void guardLoop(pid_t reader, std::uint64_t startTime, int stopFd);

    MainExecutor m_mainExecutor;
    LocalProcessDelegate* m_delegate = nullptr;
    std::function<void(bool)> m_runningChanged;
    // Jobs on the main executor hold this weakly: a destroyed object gets none.
    std::shared_ptr<LocalProcess*> m_alive;

    pid_t m_pid = -1;
    int m_masterFd = -1;
    int m_slaveFd = -1;
    // Event descriptors used as flags: stop (every thread), child exited (reader).
    int m_stopFd = -1;
    int m_exitFd = -1;
    bool m_released = false;
    bool m_running = false;
    int m_currentCols = 0;
    int m_currentRows = 0;
    std::string m_slavePath;

    std::thread m_reader;
    std::thread m_writer;
    std::thread m_waiter;
    std::atomic<bool> m_stopping{false};
    std::atomic<bool> m_childExited{false};

    mutable std::mutex m_mutex;
    std::condition_variable m_condition;
    // Output read but not yet handed to the delegate.
    std::vector<std::uint8_t> m_pending;
    bool m_drainScheduled = false;
    bool m_readerFinished = false;
    bool m_reaped = false;
    std::condition_variable m_writeCondition;
    struct Chunk {
        std::vector<std::uint8_t> bytes;
        std::size_t written = 0;
        // Written only while this group has the terminal; 0: whoever has it.
        pid_t group = 0;
        bool person = false;
    };
    std::deque<Chunk> m_writeQueue;
    // Bytes sent but not yet written to the master.
    std::atomic<std::size_t> m_unwritten{0};
    // Under m_mutex: what the person has typed that has reached the terminal
    // since the child started, and the part of it that found another group
    // than the guarded reader's in front.
    std::uint64_t m_personBytes = 0;
    std::uint64_t m_personElsewhere = 0;
    pid_t m_guardedGroup = 0;
    // Bytes that reached the terminal with the guarded reader in front since
    // the last discard.
    std::uint64_t m_readerBytes = 0;
    std::atomic<std::uint64_t> m_dropped{0};

    ReaderGoneHandler m_readerGone;
    std::thread m_guard;
    int m_guardStopFd = -1;
    pid_t m_guarded = 0;
};

} // namespace orva
