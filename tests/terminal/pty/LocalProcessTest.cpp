#include "terminal/LocalProcess.h"

#include "support/Waiting.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <csignal>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <mutex>
#include <set>
#include <sstream>
#include <string>
#include <thread>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace orva {
namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

// Stands in for the main thread's run loop: jobs queue up from any thread and
// run on the test's thread while it waits for a condition.
class MainQueue {
public:
    void post(std::function<void()> job)
    {
        std::lock_guard lock(m_mutex);
        m_jobs.push_back(std::move(job));
        m_condition.notify_all();
    }

    // Runs jobs until the condition holds or the deadline passes.
    bool pumpUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout = test::kWaitDeadline)
    {
        const auto deadline = Clock::now() + timeout;
        for (;;) {
            runReady();
            if (condition())
                return true;
            if (Clock::now() >= deadline)
                return condition();
            // Conditions on the outside world (processes) are looked at again
            // every few milliseconds; jobs wake the wait at once.
            std::unique_lock lock(m_mutex);
            m_condition.wait_until(lock, std::min(deadline, Clock::now() + 5ms), [this] { return !m_jobs.empty(); });
        }
    }

    void runReady()
    {
        for (;;) {
            std::function<void()> job;
            {
                std::lock_guard lock(m_mutex);
                if (m_jobs.empty())
                    return;
                job = std::move(m_jobs.front());
                m_jobs.pop_front();
            }
            mainThreadId = std::this_thread::get_id();
            job();
        }
    }

    LocalProcess::MainExecutor executor()
    {
        return [this](std::function<void()> job) { post(std::move(job)); };
    }

    std::thread::id mainThreadId;

private:
    std::mutex m_mutex;
    std::condition_variable m_condition;
    std::deque<std::function<void()>> m_jobs;
};

struct Recorder : LocalProcessDelegate {
    std::string output;
    std::vector<std::int32_t> terminations;
    // Output length when each termination arrived.
    std::vector<std::size_t> outputAtTermination;
    std::size_t largestDelivery = 0;
    WindowSize size{24, 80, 0, 0};
    std::function<void(std::span<const std::uint8_t>)> onData;
    std::thread::id callbackThread;

    void processTerminated(std::optional<std::int32_t> exitCode) override
    {
        callbackThread = std::this_thread::get_id();
        terminations.push_back(exitCode.value_or(-999));
        outputAtTermination.push_back(output.size());
    }
    void dataReceived(std::span<const std::uint8_t> data) override
    {
        callbackThread = std::this_thread::get_id();
        largestDelivery = std::max(largestDelivery, data.size());
        if (onData)
            onData(data);
        else
            output.append(reinterpret_cast<const char*>(data.data()), data.size());
    }
    WindowSize getWindowSize() override { return size; }
};

bool processAlive(pid_t pid)
{
    const auto info = processInfo(pid);
    return info && !info->zombie;
}

// A live child of `parent` running `command`, or -1. Processes that end
// while the list is read are passed over.
pid_t findChild(pid_t parent, const std::string& command)
{
    for (const ProcessInfo& info : processesOfSession(::getsid(parent))) {
        if (info.parent == parent && info.name == command && !info.zombie)
            return info.pid;
    }
    return -1;
}

class LocalProcessTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/orva-pty-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        home = pattern;
        // Start-up files of our own, so no new-user dialogue or user setup runs.
        std::ofstream(home / ".zshrc") << "PS1='%% '\n";
        std::ofstream(home / ".zshenv") << "";
        process = std::make_unique<LocalProcess>(queue.executor());
        process->setDelegate(&recorder);
    }

    void TearDown() override
    {
        process.reset();
        std::filesystem::remove_all(home);
    }

    std::vector<std::string> environment() const { return {"HOME=" + home.string()}; }

    void start(const std::string& executable, const std::vector<std::string>& args)
    {
        process->startProcess(executable, args, environment());
        ASSERT_TRUE(process->isRunning());
    }

    bool waitForOutput(const std::string& text, std::chrono::milliseconds timeout = test::kWaitDeadline)
    {
        return queue.pumpUntil([&] { return recorder.output.find(text) != std::string::npos; }, timeout);
    }

    bool waitForEnd(std::chrono::milliseconds timeout = test::kWaitDeadline)
    {
        return queue.pumpUntil([&] { return !recorder.terminations.empty(); }, timeout);
    }

    MainQueue queue;
    Recorder recorder;
    std::unique_ptr<LocalProcess> process;
    std::filesystem::path home;
};

TEST_F(LocalProcessTest, ChildSeesTerminalTypeColoursLocaleAndGridSize)
{
    recorder.size = WindowSize{33, 101, 0, 0};
    start("/bin/sh", {"-c", "echo \"T=$TERM C=$COLORTERM L=$LANG/$LC_ALL H=$HOME\"; stty size"});
    ASSERT_TRUE(waitForEnd());
    const std::string locale = LocalProcess::utf8LocaleName();
    EXPECT_NE(recorder.output.find("T=xterm-256color C=truecolor L=" + locale + "/" + locale + " H=" + home.string()),
              std::string::npos)
        << recorder.output;
    EXPECT_NE(recorder.output.find("33 101"), std::string::npos) << recorder.output;
    EXPECT_EQ(process->currentCols(), 101);
    EXPECT_EQ(process->currentRows(), 33);
}

TEST(LocalProcessEnvironment, AdditionsAndTableEntries)
{
    auto lookup = [](const std::vector<std::string>& env, const std::string& key) -> std::optional<std::string> {
        std::optional<std::string> found;
        for (const std::string& entry : env) {
            if (entry.rfind(key + "=", 0) == 0) {
                EXPECT_FALSE(found) << "duplicate " << key;
                found = entry.substr(key.size() + 1);
            }
        }
        return found;
    };
    const auto env = LocalProcess::childEnvironment(
        std::vector<std::string>{"A=B=C", "EMPTYVALUE=", "=nokey", "BARE", "TERM=dumb"});
    EXPECT_EQ(lookup(env, "A"), "B=C");
    EXPECT_EQ(lookup(env, "EMPTYVALUE"), std::nullopt);
    EXPECT_EQ(lookup(env, "BARE"), std::nullopt);
    EXPECT_EQ(lookup(env, "TERM"), "dumb");
    EXPECT_EQ(lookup(env, "COLORTERM"), "truecolor");
    EXPECT_EQ(lookup(env, "LC_ALL"), LocalProcess::utf8LocaleName());

    // Where en_US.UTF-8 is missing the child still gets a UTF-8 locale.
    const std::string locale = LocalProcess::utf8LocaleName();
    EXPECT_TRUE(locale == "en_US.UTF-8" || locale == "C.UTF-8") << locale;

    const char* savedPath = std::getenv("PATH");
    const std::string saved = savedPath ? savedPath : "";
    ::setenv("PATH", "/only/here", 1);
    EXPECT_EQ(lookup(LocalProcess::childEnvironment(std::nullopt), "PATH"), "/only/here");
    ::unsetenv("PATH");
    EXPECT_EQ(lookup(LocalProcess::childEnvironment(std::nullopt), "PATH"),
              "/usr/local/bin:/usr/bin:/bin:/usr/sbin:/sbin:/opt/homebrew/bin");
    ::setenv("PATH", saved.c_str(), 1);
}

TEST_F(LocalProcessTest, LastWordsArriveBeforeOneTermination)
{
    // Repeated: the race between the child's last write and its end is narrow.
    for (int round = 0; round < 15; ++round) {
        Recorder local;
        LocalProcess child(queue.executor());
        child.setDelegate(&local);
        child.startProcess("/bin/sh", {"-c", "printf 'last words'; exit 3"}, environment());
        ASSERT_TRUE(child.isRunning());
        ASSERT_TRUE(queue.pumpUntil([&] { return !local.terminations.empty(); }));
        queue.runReady();
        ASSERT_EQ(local.terminations, std::vector<std::int32_t>{3});
        EXPECT_NE(local.output.find("last words"), std::string::npos) << "round " << round;
        EXPECT_EQ(local.outputAtTermination.front(), local.output.size());
        EXPECT_EQ(local.callbackThread, queue.mainThreadId);
        EXPECT_FALSE(child.isRunning());
        EXPECT_EQ(child.masterFd(), -1);
        child.terminate();
        queue.runReady();
        EXPECT_EQ(local.terminations.size(), 1u);
    }
}

TEST_F(LocalProcessTest, ResizeReachesWinchTrap)
{
    start("/bin/zsh", {"-f", "-c", "trap 'echo WINCH $(stty size)' WINCH; echo ready; while true; do sleep 0.05; done"});
    ASSERT_TRUE(waitForOutput("ready"));
    process->setWindowSize(90, 33, 0, 0);
    EXPECT_TRUE(waitForOutput("WINCH 33 90")) << recorder.output;
    // The same grid with other pixel sizes is not passed on.
    process->setWindowSize(90, 33, 640, 480);
    EXPECT_EQ(process->currentCols(), 90);
    process->terminate();
    EXPECT_FALSE(process->isRunning());
}

TEST_F(LocalProcessTest, CtrlCInterruptsTheForegroundProgram)
{
    start("/bin/zsh", {"-f", "-i"});
    process->send(std::string_view("sleep 30\r"));
    pid_t sleeper = -1;
    ASSERT_TRUE(queue.pumpUntil([&] { return (sleeper = findChild(process->processId(), "sleep")) > 0; }));
    process->send(std::string_view("\x03"));
    ASSERT_TRUE(queue.pumpUntil([&] { return !processAlive(sleeper); }));
    process->send(std::string_view("echo alive-$((6*7))\r"));
    EXPECT_TRUE(waitForOutput("alive-42")) << recorder.output;
    EXPECT_TRUE(process->isRunning());
}

TEST_F(LocalProcessTest, TypedHangulReachesTheShellIntact)
{
    start("/bin/zsh", {"-f", "-i"});
    // Typed into the line editor, which decodes it by the child's locale.
    process->send(std::string_view("print -r -- \"[\xED\x95\x9C\xEA\xB8\x80]\" | od -An -tx1\r"));
    EXPECT_TRUE(waitForOutput("5b ed 95 9c ea b8 80 5d")) << recorder.output;
}

TEST_F(LocalProcessTest, TerminateEndsInteractiveZshAndItsJob)
{
    start("/bin/zsh", {"-f", "-i"});
    const pid_t shell = process->processId();
    process->send(std::string_view("sleep 1000\r"));
    pid_t sleeper = -1;
    ASSERT_TRUE(queue.pumpUntil([&] { return (sleeper = findChild(shell, "sleep")) > 0; }));
    process->terminate();
    EXPECT_FALSE(process->isRunning());
    EXPECT_EQ(process->masterFd(), -1);
    // The shell is reaped by terminate() itself: not even a zombie is left.
    EXPECT_NE(::kill(shell, 0), 0);
    EXPECT_TRUE(queue.pumpUntil([&] { return !processAlive(sleeper); }));
}

TEST_F(LocalProcessTest, MissingExecutableIsReportedNotRunning)
{
    process->startProcess("/nonexistent/orva-no-such-program", {}, environment());
    EXPECT_FALSE(process->isRunning());
    EXPECT_EQ(process->masterFd(), -1);
    EXPECT_EQ(process->slaveFd(), -1);
    queue.runReady();
    EXPECT_TRUE(recorder.terminations.empty());
    // Nothing is sent anywhere.
    process->send(std::string_view("ignored"));
    process->terminate();
}

TEST_F(LocalProcessTest, ChildHasOnlyItsTerminalAsDescriptorsAndOwnsIt)
{
    const int stray = ::open("/dev/null", O_RDONLY); // deliberately inheritable
    ASSERT_GE(stray, 0);
    start("/bin/sh", {"-c",
                      "ls -l /proc/$$/fd; "
                      "[ -t 0 ] && [ -t 1 ] && [ -t 2 ] && echo STD-TTY; "
                      "(exec 3</dev/tty) && echo HAS-CTTY; "
                      "[ \"$(cut -d' ' -f6 /proc/$$/stat)\" = \"$$\" ] && echo SESSION-LEADER"});
    ASSERT_TRUE(waitForEnd());
    ::close(stray);
    std::set<std::string> fds;
    std::istringstream lines(recorder.output);
    for (std::string line; std::getline(lines, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        // "lrwx------ 1 user group 64 date 0 -> /dev/pts/3": the shell's own
        // descriptors, listed by a child while the shell waits.
        const auto arrow = line.find(" -> ");
        if (arrow == std::string::npos)
            continue;
        const auto start = line.rfind(' ', arrow - 1);
        fds.insert(line.substr(start + 1, arrow - start - 1));
    }
    EXPECT_EQ(fds, (std::set<std::string>{"0", "1", "2"})) << recorder.output;
    EXPECT_NE(recorder.output.find("STD-TTY"), std::string::npos) << recorder.output;
    EXPECT_NE(recorder.output.find("HAS-CTTY"), std::string::npos) << recorder.output;
    EXPECT_NE(recorder.output.find("SESSION-LEADER"), std::string::npos) << recorder.output;
}

TEST_F(LocalProcessTest, FloodWithSlowConsumerStaysBoundedAndLosesNothing)
{
    constexpr std::size_t total = 50'000'000;
    std::size_t received = 0;
    bool clean = true;
    std::string tail;
    recorder.onData = [&](std::span<const std::uint8_t> data) {
        for (std::uint8_t b : data) {
            if (b == 'x') {
                ++received;
            } else {
                tail.push_back(static_cast<char>(b));
                if (tail.size() > 16)
                    clean = false;
            }
        }
        // A consumer slower than the child: about 16 ms per MiB.
        std::this_thread::sleep_for(std::chrono::microseconds(data.size() / 64));
    };
    start("/bin/sh", {"-c", "stty -echo; head -c 50000000 /dev/zero | tr '\\000' x; printf END"});
    ASSERT_TRUE(waitForEnd(120s));
    EXPECT_EQ(received, total);
    EXPECT_TRUE(clean) << tail;
    EXPECT_EQ(tail, "END");
    EXPECT_LE(recorder.largestDelivery, LocalProcess::pendingLimit + LocalProcess::readBufferSize);
}

TEST_F(LocalProcessTest, LoginShellCommandLandsInFolderWithBlanks)
{
    const std::filesystem::path folder = home / "my project folder";
    std::filesystem::create_directories(folder);
    start("/bin/zsh", {"-l", "-c", "cd '" + folder.string() + "' && exec zsh -l"});
    process->send(std::string_view("echo \"at:$PWD:\"\r"));
    EXPECT_TRUE(waitForOutput("at:" + folder.string() + ":")) << recorder.output;
    process->terminate();
}

TEST_F(LocalProcessTest, BytesBeforeStartAndAfterEndAreDropped)
{
    process->send(std::string_view("early\n"));
    start("/bin/sh", {"-c", "read line; echo \"got:$line\""});
    process->send(std::string_view("second\n"));
    ASSERT_TRUE(waitForEnd());
    EXPECT_NE(recorder.output.find("got:second"), std::string::npos) << recorder.output;
    EXPECT_EQ(recorder.output.find("early"), std::string::npos);
    process->send(std::string_view("late\n"));
    EXPECT_FALSE(process->isRunning());
}

TEST_F(LocalProcessTest, ForegroundReaderFollowsTheShellAndItsJobs)
{
    EXPECT_FALSE(process->foregroundReader()) << "nothing runs yet";
    start("/bin/zsh", {"-f", "-i"});
    const pid_t shell = process->processId();
    auto readerIs = [&](const std::function<bool(const ForegroundReader&)>& wanted) {
        return queue.pumpUntil([&] {
            const auto reader = process->foregroundReader();
            return reader && wanted(*reader);
        });
    };
    // At its prompt: the shell's own group, its line editor taking keys as they come.
    ASSERT_TRUE(readerIs([&](const ForegroundReader& r) { return r.processGroup == shell && !r.lineMode; }));

    // A job reading lines: a group of its own, lines collected for it.
    process->send(std::string_view("sleep 30\r"));
    pid_t sleeper = -1;
    ASSERT_TRUE(queue.pumpUntil([&] { return (sleeper = findChild(shell, "sleep")) > 0; }));
    ASSERT_TRUE(readerIs([&](const ForegroundReader& r) { return r.processGroup == ::getpgid(sleeper) && r.lineMode; }));
    EXPECT_NE(::getpgid(sleeper), shell);
    // A line typed meanwhile waits unread (a part of a line does not count
    // while lines are collected); the interrupt flushes it.
    process->send(std::string_view("echo typed-ahead\npart"));
    ASSERT_TRUE(readerIs([&](const ForegroundReader& r) { return r.unreadInput == 17; }));
    process->send(std::string_view("\x03"));
    ASSERT_TRUE(readerIs([&](const ForegroundReader& r) {
        return r.processGroup == shell && !r.lineMode && r.unreadInput == 0;
    }));

    // A program reading keys as they come, as a full-screen program does.
    process->send(std::string_view("sh -c 'stty -icanon; exec sleep 31'\r"));
    ASSERT_TRUE(readerIs([&](const ForegroundReader& r) { return r.processGroup != shell && r.processGroup > 0 && !r.lineMode; }));
    process->send(std::string_view("\x03"));
    ASSERT_TRUE(readerIs([&](const ForegroundReader& r) { return r.processGroup == shell; }));

    // The shell gone: nobody reads.
    process->send(std::string_view("exit\r"));
    ASSERT_TRUE(waitForEnd());
    EXPECT_FALSE(process->foregroundReader());
}

TEST(LocalProcessLifetime, DestroyedProcessReceivesNothingAndLeavesNoChild)
{
    MainQueue queue;
    Recorder recorder;
    pid_t shell;
    {
        LocalProcess process(queue.executor());
        process.setDelegate(&recorder);
        process.startProcess("/bin/zsh", {"-f", "-i"}, std::vector<std::string>{"HOME=/tmp"});
        ASSERT_TRUE(process.isRunning());
        shell = process.processId();
    }
    queue.runReady();
    EXPECT_TRUE(recorder.terminations.empty());
    EXPECT_NE(::kill(shell, 0), 0);
}

} // namespace
} // namespace orva

namespace orva {
namespace {

// What a reader the shell started leaves unread when it leaves: with the
// reader guarded, it is discarded as the reader puts the terminal back to
// whole lines, and the shell that takes the terminal back runs none of it;
// unguarded, the shell runs it.
TEST_F(LocalProcessTest, UnreadBytesOfAGuardedReaderThatEndsAreDiscarded)
{
    for (const bool guarded : {true, false}) {
        SCOPED_TRACE(guarded ? "guarded" : "not guarded");
        process = std::make_unique<LocalProcess>(queue.executor());
        process->setDelegate(&recorder);
        recorder = Recorder();
        std::vector<std::pair<pid_t, std::uint64_t>> gone;
        process->setReaderGoneHandler([&](pid_t reader, std::uint64_t person) { gone.emplace_back(reader, person); });
        start("/bin/zsh", {"-f", "-i"});
        const pid_t shell = process->processId();
        const std::string marker = (home / (guarded ? "ran-guarded" : "ran-unguarded")).string();
        // Raw for a moment, reading nothing, then back to whole lines a
        // moment before it ends, as claude leaves.
        process->send(std::string_view("sh -c 'stty -icanon -echo; sleep 1; stty sane; sleep 0.3'\r"));
        std::optional<ProcessInfo> reader;
        ASSERT_TRUE(queue.pumpUntil([&] {
            const auto fg = process->foregroundReader();
            if (!fg || fg->processGroup == shell || fg->lineMode || !fg->leader)
                return false;
            reader = fg->leader;
            return true;
        }));
        if (guarded)
            process->guardReader(reader->pid, reader->startTime);
        const std::string payload = "touch '" + marker + "'\r";
        process->sendFromPerson(std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(payload.data()),
                                                              payload.size()));
        ASSERT_TRUE(queue.pumpUntil([&] {
            const auto fg = process->foregroundReader();
            return fg && fg->processGroup == shell && fg->unreadInput == 0;
        }));
        process->send(std::string_view("echo back-$((6*7))\r"));
        ASSERT_TRUE(waitForOutput("back-42")) << recorder.output;
        EXPECT_EQ(std::filesystem::exists(marker), !guarded);
        // Bytes that reached the guarded reader are its own; otherwise the
        // shell may have them.
        const auto after = process->foregroundReader();
        ASSERT_TRUE(after);
        EXPECT_EQ(after->personBytes, payload.size());
        EXPECT_EQ(after->personBytesElsewhere, guarded ? 0u : payload.size());
        if (guarded) {
            ASSERT_EQ(gone.size(), 1u);
            EXPECT_EQ(gone[0].first, reader->pid);
            EXPECT_EQ(gone[0].second, payload.size()) << "the person's bytes up to the discard";
        } else {
            EXPECT_TRUE(gone.empty());
        }
        process->terminate();
    }
}

TEST_F(LocalProcessTest, AReaderGoneBeforeItIsGuardedIsHandledAtOnce)
{
    std::vector<pid_t> gone;
    process->setReaderGoneHandler([&](pid_t reader, std::uint64_t) { gone.push_back(reader); });
    start("/bin/zsh", {"-f", "-i"});
    const auto shell = processInfo(process->processId());
    ASSERT_TRUE(shell);
    // The shell's own pid with a start time it never had: another process.
    process->guardReader(shell->pid, shell->startTime + 1);
    ASSERT_TRUE(queue.pumpUntil([&] { return gone.size() == 1; }));
    EXPECT_TRUE(process->isRunning());
}

TEST_F(LocalProcessTest, BytesForAGroupNotInFrontAreDropped)
{
    start("/bin/zsh", {"-f", "-i"});
    const pid_t shell = process->processId();
    ASSERT_TRUE(queue.pumpUntil([&] {
        const auto fg = process->foregroundReader();
        return fg && fg->processGroup == shell && !fg->lineMode;
    }));
    const std::string lost = "echo lost-$((6*7))\r";
    const std::string kept = "echo kept-$((6*7))\r";
    auto bytes = [](const std::string& text) {
        return std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
    };
    process->sendTo(bytes(lost), shell + 100000);
    process->sendTo(bytes(kept), shell);
    ASSERT_TRUE(waitForOutput("kept-42")) << recorder.output;
    EXPECT_EQ(recorder.output.find("lost-42"), std::string::npos);
    EXPECT_EQ(process->droppedBytes(), lost.size());
}

TEST_F(LocalProcessTest, AFlushDiscardsWhatWaitsUnread)
{
    start("/bin/zsh", {"-f", "-i"});
    const pid_t shell = process->processId();
    process->send(std::string_view("sleep 30\r"));
    ASSERT_TRUE(queue.pumpUntil([&] { return findChild(shell, "sleep") > 0; }));
    const std::string typed = "echo flushed-$((6*7))\r";
    process->sendFromPerson(std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(typed.data()),
                                                          typed.size()));
    ASSERT_TRUE(queue.pumpUntil([&] {
        const auto fg = process->foregroundReader();
        return fg && fg->personBytes == typed.size() && fg->unreadInput > 0;
    }));
    EXPECT_EQ(process->flushUnreadInput(), typed.size());
    const auto after = process->foregroundReader();
    ASSERT_TRUE(after);
    EXPECT_EQ(after->unreadInput, 0u);
    EXPECT_EQ(after->personBytes, typed.size());
    EXPECT_EQ(after->leader ? after->leader->name : std::string(), "sleep");
    process->send(std::string_view("\x03"));
    process->send(std::string_view("echo after-$((6*7))\r"));
    ASSERT_TRUE(waitForOutput("after-42")) << recorder.output;
    EXPECT_EQ(recorder.output.find("flushed-42"), std::string::npos);
}

TEST_F(LocalProcessTest, ANewChildOnceTheFirstHasEnded)
{
    start("/bin/sh", {"-c", "echo first-$((6*7))"});
    const pid_t first = process->processId();
    ASSERT_TRUE(waitForEnd());
    start("/bin/sh", {"-c", "echo second-$((6*7))"});
    EXPECT_NE(process->processId(), first);
    ASSERT_TRUE(queue.pumpUntil([&] { return recorder.terminations.size() == 2; }));
    EXPECT_NE(recorder.output.find("first-42"), std::string::npos);
    EXPECT_NE(recorder.output.find("second-42"), std::string::npos);
}

std::span<const std::uint8_t> bytesOf(const std::string& text)
{
    return std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
}

// A key with nothing queued before it is on the terminal by the time the
// call returns (no other thread has to run first), counted as the person's.
TEST_F(LocalProcessTest, AKeyWithNothingQueuedIsWrittenAtOnce)
{
    start("/bin/sh", {"-c", "stty raw -echo; echo ready; head -c 3 | od -An -c; echo end"});
    ASSERT_TRUE(waitForOutput("ready")) << recorder.output;
    std::uint64_t sent = 0;
    for (const std::string key : {"k", "e", "y"}) {
        process->sendFromPerson(bytesOf(key));
        sent += key.size();
        const auto fg = process->foregroundReader();
        ASSERT_TRUE(fg);
        EXPECT_EQ(fg->personBytes, sent);
        EXPECT_EQ(fg->personBytesElsewhere, sent);
    }
    ASSERT_TRUE(waitForOutput("end")) << recorder.output;
    EXPECT_NE(recorder.output.find("k   e   y"), std::string::npos) << recorder.output;
}

// A reader that reads nothing for a while: what the terminal does not take
// waits, and whatever is sent meanwhile (by the person or not) queues behind
// it; the reader gets every byte in the order sent, and the person's bytes
// are counted as they reach the terminal.
TEST_F(LocalProcessTest, BytesKeepTheirOrderWhileTheTerminalIsFull)
{
    const std::filesystem::path go = home / "go";
    const std::filesystem::path got = home / "got";
    std::string expected;
    std::vector<std::pair<std::string, bool>> pieces;
    for (int i = 0; i < 400; ++i) {
        std::ostringstream piece;
        piece << '<' << i << ':' << std::string(1000 + i % 7, static_cast<char>('a' + i % 26)) << '>';
        pieces.emplace_back(piece.str(), i % 3 != 0);
        expected += piece.str();
    }
    std::ostringstream command;
    command << "stty raw -echo; echo ready; while [ ! -e '" << go.string() << "' ]; do sleep 0.05; done; head -c "
            << expected.size() << " > '" << got.string() << "'; echo end; sleep 60";
    start("/bin/sh", {"-c", command.str()});
    ASSERT_TRUE(waitForOutput("ready")) << recorder.output;
    std::uint64_t personSent = 0;
    for (const auto& [piece, person] : pieces) {
        if (person) {
            process->sendFromPerson(bytesOf(piece));
            personSent += piece.size();
        } else {
            process->send(bytesOf(piece));
        }
    }
    // More than the terminal holds: part of it waits, unread.
    const auto full = process->foregroundReader();
    ASSERT_TRUE(full);
    EXPECT_LT(full->personBytes, personSent);
    EXPECT_GT(full->unreadInput, 0u);
    std::ofstream(go) << "";
    ASSERT_TRUE(waitForOutput("end")) << recorder.output;
    std::ifstream in(got, std::ios::binary);
    const std::string read((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(read.size(), expected.size());
    EXPECT_TRUE(read == expected) << "first difference at "
                                  << std::distance(read.begin(), std::mismatch(read.begin(), read.end(),
                                                                               expected.begin(), expected.end())
                                                                     .first);
    const auto after = process->foregroundReader();
    ASSERT_TRUE(after);
    EXPECT_EQ(after->personBytes, personSent);
    EXPECT_EQ(process->droppedBytes(), 0u);
}

} // namespace
} // namespace orva

namespace orva {
namespace {

TEST(ProcessInfoQuery, AProcessItsGroupItsStopAndItsEnd)
{
    const pid_t child = ::fork();
    if (child == 0) {
        ::setpgid(0, 0);
        ::pause();
        ::_exit(0);
    }
    ASSERT_GT(child, 0);
    const auto seen = [&](const std::function<bool(const std::optional<ProcessInfo>&)>& wanted) {
        const auto deadline = Clock::now() + test::kWaitDeadline;
        while (Clock::now() < deadline) {
            if (wanted(processInfo(child)))
                return true;
            std::this_thread::sleep_for(2ms);
        }
        return false;
    };
    ASSERT_TRUE(seen([&](const auto& info) { return info && info->group == child; }));
    const auto first = processInfo(child);
    EXPECT_EQ(first->parent, ::getpid());
    EXPECT_EQ(first->session, ::getsid(0));
    EXPECT_FALSE(first->stopped);
    EXPECT_GT(first->startTime, 0u);
    EXPECT_FALSE(first->executable.empty());
    EXPECT_TRUE(first->sameProcessAs(*processInfo(child)));
    ::kill(child, SIGSTOP);
    EXPECT_TRUE(seen([](const auto& info) { return info && info->stopped; }));
    const auto inSession = processesOfSession(::getsid(0));
    EXPECT_TRUE(std::any_of(inSession.begin(), inSession.end(), [&](const ProcessInfo& p) { return p.pid == child; }));
    ::kill(child, SIGKILL);
    EXPECT_TRUE(seen([](const auto& info) { return info && info->zombie; }));
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_FALSE(processInfo(child));
    EXPECT_FALSE(processInfo(0));
}

} // namespace
} // namespace orva
