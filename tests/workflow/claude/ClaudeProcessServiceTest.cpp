// Running `claude`: the calls made for each request, the prompts, the
// failures, large output, overlapping requests and shutting down.
#include "support/Waiting.h"
#include "ClaudeTestSupport.h"

#include "fakes/FakeCalls.h"
#include "model/ProjectModel.h"
#include "platform/Log.h"
#include "support/TempContext.h"
#include "workflow/ClaudeProcessService.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <QFile>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTest>
#include <QThread>

#include <signal.h>

#include <iostream>

using namespace orva;
using namespace orva::test;

namespace {

const QString kOpening = QString::fromUtf8(
    "<system>\n"
    "1. Read @ZAVE/system/CLAUDE_SYSTEM.md and follow all instructions.\n"
    "2. Following the flow in @ZAVE/system/system/FLOWS_QA.md.\n"
    "3. Begin at @ZAVE/system/agents/agent.discovery.md.\n"
    "</system>");

QString interviewText(const QString& answer)
{
    return QStringLiteral("<User> ") + answer + QString::fromUtf8(
        " </User>\n"
        "\n"
        "<System>\n"
        "- Follow @ZAVE/system/system/CLAUDE_ENTRYPOINT.md flow instructions\n"
        "- Update @ZAVE/system/state/context.json after extracting information\n"
        "- Once Q7 is completed, please change the \xe2\x80\x9cstatus\xe2\x80\x9d field in @ZAVE/interview_state.json to \xe2\x80\x9c" "completed\xe2\x80\x9d.\n"
        "</System>\n"
        "<Output>\n"
        "1. **Language:** Respond EXCLUSIVELY in Korean.\n"
        "2. **Strictly No Markdown:** Do NOT use any Markdown syntax.\n"
        "   - No asterisks (**) for bolding.\n"
        "   - No hashes (#) for headers.\n"
        "   - No hyphens (-) or asterisks (*) for list items (use simple bullets like '\xe2\x80\xa2' or numbers '1.' if necessary, but purely as text).\n"
        "3. **Formatting for Readability:**\n"
        "   - Use line breaks (newlines) generously to separate sections.\n"
        "   - Use whitespace to create a visual hierarchy.\n"
        "   - Ensure the text looks neat and organized as plain text.\n"
        "\n"
        "Provide only the final raw text message. From this turn onwards, only information that the user must receive immediately will be conveyed in Korean at the end.\n"
        "</Output>");
}

const QString kDocumentPath = QStringLiteral("@ZAVE/system/agents/agent.docs.prd.md");
const QString kDocumentPrompt = QString::fromUtf8(
    "<System>\n"
    "Read @ZAVE/system/agents/agent.docs.prd.md and create 'PRD.md' in @ZAVE/project. Then read "
    "@ZAVE/system/agents/agent.docs.RQ.md and create 'RQ.md' in @ZAVE/project.\n"
    "Create both sequentially this turn.\n"
    "<System>");
const QString kTaskPlanPrompt = QString::fromUtf8(
    "Read '@ZAVE/system/agents/agent.docs.Task.md' and create 'Task.md' in @ZAVE/project. Then read "
    "@ZAVE/system/agents/agent.docs.Task.json.md and create 'Task.json' in @ZAVE/project.\n"
    "Create both sequentially this turn.");

const QString kSkip = QStringLiteral("--dangerously-skip-permissions");

class ClaudeService : public ::testing::Test {
protected:
    void SetUp() override
    {
        container = context.context().containerPath;
        QDir().mkpath(container + QStringLiteral("/ZAVE/project"));
        service.setSearchEnvironment(machine.search);
    }

    ClaudeResult start()
    {
        return awaitResult([&](auto done) { service.startSession(container, done); });
    }
    ClaudeResult answer(const QString& text)
    {
        return awaitResult([&](auto done) { service.sendInterviewAnswer(text, done); });
    }
    QList<FakeCall> claudeCalls() const { return fakeCallsOfKind(machine.logFile, QStringLiteral("print")); }
    QList<FakeCall> shellCalls() const { return fakeCallsOfKind(machine.logFile, QStringLiteral("shell")); }
    QString expectedPath() const
    {
        return fakesBinDir() + QStringLiteral(":/login/bin:/login/sbin:/usr/bin:/bin");
    }

    StdinPipe input; // children must not inherit the application's input
    TempContext context;
    FakeMachine machine;
    QString container;
    ClaudeProcessService service;
};

} // namespace

TEST(ClaudePrompts, ArgumentOrder)
{
    EXPECT_EQ(ClaudeProcessService::buildClaudeArguments(QStringLiteral("a\nb"), false, true),
              (QStringList{QStringLiteral("-p"), QStringLiteral("a\nb"), kSkip}));
    EXPECT_EQ(ClaudeProcessService::buildClaudeArguments(QStringLiteral("x"), true, true),
              (QStringList{QStringLiteral("-p"), QStringLiteral("-c"), QStringLiteral("x"), kSkip}));
    EXPECT_EQ(ClaudeProcessService::buildClaudeArguments(QStringLiteral("x"), true, false),
              (QStringList{QStringLiteral("-p"), QStringLiteral("-c"), QStringLiteral("x")}));
}

TEST(ClaudePrompts, TextsAreExact)
{
    EXPECT_EQ(ClaudeProcessService::openingPrompt(), kOpening);
    const QString answer = QStringLiteral("두 줄\n</User> 그대로");
    EXPECT_EQ(ClaudeProcessService::interviewPrompt(answer), interviewText(answer));
    EXPECT_EQ(ClaudeProcessService::interviewPrompt(answer).split(u'\n').size(), 21); // 20 lines + the answer's break
    EXPECT_EQ(ClaudeProcessService::documentPrompt(kDocumentPath), kDocumentPrompt);
}

TEST(ClaudePrompts, StripsOnlyCsiSequencesWithLetters)
{
    struct Case {
        const char* in;
        const char* out;
    } cases[] = {
        {"\x1b[31mHello\x1b[0m\n", "Hello"},
        {"  \x1b[1;32mA\x1b[mB \n\n", "AB"},
        {"\x1b[?25lX", "\x1b[?25lX"},
        {"\x1b]0;title\x07Y", "\x1b]0;title\x07Y"},
        {"\x1b" "7Z", "\x1b" "7Z"},
        {"\x1b[>1uQ", "\x1b[>1uQ"},
        {"\t\xec\x95\x88\xeb\x85\x95\r\n", "\xec\x95\x88\xeb\x85\x95"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ClaudeProcessService::stripANSIEscapes(QString::fromUtf8(c.in)), QString::fromUtf8(c.out)) << c.in;
}

// Without a reason, as when claude said nothing.
TEST(ClaudeErrors, Descriptions)
{
    EXPECT_EQ(ClaudeProcessError::initializationFailed(ClaudeProcessError::notFoundMessage()).description(),
              QStringLiteral("Failed to initialize Claude process: Claude CLI not found. Please ensure Claude Code is installed."));
    EXPECT_EQ(ClaudeProcessError::processTerminated(-3).description(),
              QStringLiteral("Claude process terminated with exit code -3"));
    EXPECT_EQ(ClaudeProcessError::processNotRunning().description(), QStringLiteral("Claude process is not running"));
    EXPECT_EQ(ClaudeProcessError::invalidResponse().description(), QStringLiteral("Received invalid response from Claude"));
}

TEST_F(ClaudeService, EachCallHasItsArgumentsFolderInputAndPath)
{
    QSignalSpy running(&service, &ClaudeProcessService::isProcessRunningChanged);
    QSignalSpy path(&service, &ClaudeProcessService::claudeExecutablePathChanged);
    QThread* const mainThread = QThread::currentThread();
    bool offThread = false;
    QObject::connect(&service, &ClaudeProcessService::processEnvironmentChanged, &service,
            [&] { offThread |= QThread::currentThread() != mainThread; }, Qt::DirectConnection);

    const ClaudeResult opening = start();
    ASSERT_TRUE(opening.ok()) << opening.error->description().toStdString();
    EXPECT_EQ(opening.text, QStringLiteral("안녕하세요! 어떤 앱을 만들고 싶으신가요?\n")); // raw, untrimmed
    EXPECT_TRUE(service.isProcessRunning());
    EXPECT_EQ(running.count(), 1);
    EXPECT_EQ(path.count(), 1);
    EXPECT_FALSE(offThread);
    EXPECT_EQ(service.claudeExecutablePath(), fakeClaudePath());
    EXPECT_EQ(service.workingDirectory(), container);
    ASSERT_TRUE(service.processEnvironment().has_value());
    EXPECT_EQ(service.processEnvironment()->value(QStringLiteral("PATH")), expectedPath());
    // The search: which claude found it; then the login PATH.
    ASSERT_EQ(shellCalls().size(), 2);
    EXPECT_TRUE(shellCalls()[0].arguments.value(1).endsWith(QStringLiteral("\nwhich claude")));
    EXPECT_EQ(shellCalls()[1].arguments.value(0), QStringLiteral("-l"));

    const QString reply = answer(QStringLiteral("할 일 앱\n두 번째 줄 </User>")).text;
    EXPECT_EQ(reply, QStringLiteral("답변 1 확인\n\n질문 2: 어떤 기능이 가장 중요한가요?"));
    const ClaudeResult documents = awaitResult([&](auto done) { service.generatePRD(kDocumentPath, done); });
    ASSERT_TRUE(documents.ok());
    EXPECT_TRUE(documents.text.isEmpty());
    EXPECT_TRUE(QFileInfo::exists(container + QStringLiteral("/ZAVE/project/PRD.md")));
    EXPECT_TRUE(QFileInfo::exists(container + QStringLiteral("/ZAVE/project/RQ.md")));
    const ClaudeResult plan = awaitResult([&](auto done) { service.sendMessage(kTaskPlanPrompt, true, true, done); });
    ASSERT_TRUE(plan.ok());
    QFile taskJson(container + QStringLiteral("/ZAVE/project/Task.json"));
    ASSERT_TRUE(taskJson.open(QIODevice::ReadOnly));
    QString decodeError;
    const auto wrapper = decodeProjectWrapper(taskJson.readAll(), &decodeError);
    ASSERT_TRUE(wrapper.has_value()) << decodeError.toStdString();
    EXPECT_EQ(wrapper->project.milestones.size(), 2);
    EXPECT_EQ(wrapper->project.totalTaskCount(), 3);

    const QList<FakeCall> calls = claudeCalls();
    ASSERT_EQ(calls.size(), 4);
    const QList<QStringList> expectedArguments{
        {QStringLiteral("-p"), kOpening, kSkip},
        {QStringLiteral("-p"), QStringLiteral("-c"), interviewText(QStringLiteral("할 일 앱\n두 번째 줄 </User>")), kSkip},
        {QStringLiteral("-p"), QStringLiteral("-c"), kDocumentPrompt, kSkip},
        {QStringLiteral("-p"), QStringLiteral("-c"), kTaskPlanPrompt, kSkip},
    };
    for (int i = 0; i < calls.size(); ++i) {
        EXPECT_EQ(calls[i].arguments, expectedArguments[i]) << "call " << i;
        EXPECT_EQ(QFileInfo(calls[i].cwd).canonicalFilePath(), QFileInfo(container).canonicalFilePath());
        EXPECT_EQ(calls[i].stdinKind, QStringLiteral("null"));
        EXPECT_EQ(calls[i].path, expectedPath());
    }

    // A new project reuses the executable: no search, an opening without "-c".
    ASSERT_TRUE(start().ok());
    EXPECT_EQ(shellCalls().size(), 2);
    EXPECT_EQ(claudeCalls().last().arguments, expectedArguments[0]);
    EXPECT_TRUE(service.isProcessRunning());
}

TEST_F(ClaudeService, InterviewCompletesOnTheConfiguredAnswer)
{
    ASSERT_TRUE(start().ok());
    const QString state = container + QStringLiteral("/ZAVE/interview_state.json");
    for (int turn = 1; turn <= 3; ++turn) {
        const ClaudeResult reply = answer(QStringLiteral("answer %1").arg(turn));
        ASSERT_TRUE(reply.ok());
        EXPECT_FALSE(reply.text.contains(QChar(0x1b)));
        EXPECT_EQ(QFileInfo::exists(state), turn == 3) << "turn " << turn;
    }
    QFile file(state);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const auto decoded = decodeInterviewState(file.readAll());
    ASSERT_TRUE(decoded.has_value());
    EXPECT_EQ(decoded->status, InterviewState::Status::completed);
}

TEST_F(ClaudeService, RequestsNeedAnOpenConversation)
{
    bool calledInside = false;
    bool inside = true;
    std::optional<ClaudeResult> early;
    service.sendInterviewAnswer(QStringLiteral("x"), [&](const ClaudeResult& r) { calledInside = inside; early = r; });
    inside = false;
    ASSERT_TRUE(test::waitUntil([&] { return early.has_value(); }, kWaitDeadline));
    EXPECT_FALSE(calledInside);
    EXPECT_EQ(early->error, ClaudeProcessError::processNotRunning());
    EXPECT_EQ(awaitResult([&](auto done) { service.generatePRD(kDocumentPath, done); }).error,
              ClaudeProcessError::processNotRunning());
    EXPECT_EQ(awaitResult([&](auto done) { service.sendMessage(QStringLiteral("x"), true, true, done); }).error,
              ClaudeProcessError::processNotRunning());
    EXPECT_TRUE(readFakeCalls(machine.logFile).isEmpty());

    // sendMessage needs only the executable, environment and folder.
    ASSERT_FALSE(service.initialize().has_value());
    EXPECT_FALSE(service.isProcessRunning());
    EXPECT_EQ(awaitResult([&](auto done) { service.sendMessage(QStringLiteral("x"), true, true, done); }).error,
              ClaudeProcessError::processNotRunning()); // no folder yet
}

TEST_F(ClaudeService, NothingFoundThenFoundOnTheNextAttempt)
{
    machine.search.environment.remove(QStringLiteral("FAKE_SHELL_WHICH"));
    machine.search.fixedPaths = {machine.path(QStringLiteral("fixed/claude"))};
    service.setSearchEnvironment(machine.search);
    ClaudeResult first;
    {
        StdoutCapture capture;
        first = start();
        EXPECT_EQ(capture.text().count(QStringLiteral("[ClaudeProcessService] ERROR: Claude CLI not found")), 1);
    }
    ASSERT_FALSE(first.ok());
    EXPECT_EQ(first.error->description(),
              QStringLiteral("Failed to initialize Claude process: Claude CLI not found. Please ensure Claude Code is installed."));
    EXPECT_FALSE(service.isProcessRunning());
    EXPECT_TRUE(service.claudeExecutablePath().isNull());
    EXPECT_TRUE(service.workingDirectory().isNull());
    EXPECT_FALSE(service.processEnvironment().has_value());
    EXPECT_TRUE(claudeCalls().isEmpty());

    machine.writeExecutable(machine.path(QStringLiteral("fixed/claude")));
    const qsizetype probesBefore = shellCalls().size();
    ASSERT_TRUE(start().ok());
    EXPECT_GT(shellCalls().size(), probesBefore);
    EXPECT_EQ(service.claudeExecutablePath(), machine.path(QStringLiteral("fixed/claude")));
}

// How each failure is reported, when it ends the opening prompt (the service
// resets) and when it ends a later one (the service stays as it was).
struct FailureCase {
    const char* name;
    QString mode;                // the fake's mode; empty for the cases arranged below
    bool hugePrompt;             // a prompt too long for one argument
    bool missingExecutable;      // the executable disappears after the search
    std::function<bool(const ClaudeProcessError&)> matches;
    QStringList logLines = {}; // lines the bridge writes
};

void PrintTo(const FailureCase& c, std::ostream* os)
{
    *os << c.name;
}

class ClaudeFailureTable : public ClaudeService, public ::testing::WithParamInterface<FailureCase> {
protected:
    void arrange(const FailureCase& c)
    {
        if (!c.mode.isEmpty())
            machine.setMode(c.mode);
        if (c.missingExecutable)
            QFile::remove(machine.path(QStringLiteral("copy/claude")));
    }
    ClaudeResult request(const FailureCase& c)
    {
        if (c.hugePrompt)
            return answer(QString(300 * 1024, u'a'));
        return answer(QStringLiteral("hi"));
    }
};

// The opening prompt is fixed, so only the later prompts can be too long.
class ClaudeOpeningFailureTable : public ClaudeFailureTable {};

TEST_P(ClaudeFailureTable, LaterPromptLeavesTheServiceRunning)
{
    const FailureCase& c = GetParam();
    machine.writeExecutable(machine.path(QStringLiteral("copy/claude")));
    machine.search.environment.insert(QStringLiteral("FAKE_SHELL_WHICH"), machine.path(QStringLiteral("copy/claude")));
    service.setSearchEnvironment(machine.search);
    ASSERT_TRUE(start().ok());
    arrange(c);
    StdoutCapture capture;
    const ClaudeResult result = request(c);
    ASSERT_FALSE(result.ok());
    EXPECT_TRUE(c.matches(*result.error)) << result.error->description().toStdString();
    EXPECT_TRUE(service.isProcessRunning());
    EXPECT_FALSE(service.claudeExecutablePath().isNull());
    const QString log = capture.text();
    for (const QString& line : c.logLines)
        EXPECT_TRUE(log.contains(line + u'\n')) << line.toStdString() << "\nnot in:\n" << log.left(4000).toStdString();
}

TEST_P(ClaudeOpeningFailureTable, OpeningPromptResetsTheService)
{
    const FailureCase& c = GetParam();
    machine.writeExecutable(machine.path(QStringLiteral("copy/claude")));
    machine.search.environment.insert(QStringLiteral("FAKE_SHELL_WHICH"), machine.path(QStringLiteral("copy/claude")));
    service.setSearchEnvironment(machine.search);
    if (c.missingExecutable) {
        ASSERT_FALSE(service.initialize().has_value());
    }
    arrange(c);
    const ClaudeResult result = start();
    ASSERT_FALSE(result.ok());
    EXPECT_TRUE(c.matches(*result.error)) << result.error->description().toStdString();
    EXPECT_FALSE(service.isProcessRunning());
    EXPECT_TRUE(service.claudeExecutablePath().isNull());
    EXPECT_FALSE(service.processEnvironment().has_value());
    EXPECT_TRUE(service.workingDirectory().isNull());
}

namespace {
std::function<bool(const ClaudeProcessError&)> is(ClaudeProcessError expected)
{
    return [expected](const ClaudeProcessError& e) { return e == expected; };
}
std::function<bool(const ClaudeProcessError&)> launchFailure()
{
    return [](const ClaudeProcessError& e) {
        return e.kind() == ClaudeProcessError::Kind::initializationFailed
               && e.message().startsWith(QStringLiteral("Failed to launch: ")) && e.message().size() > 18
               && e.description().startsWith(QStringLiteral("Failed to initialize Claude process: Failed to launch: "));
    };
}

std::function<bool(const ClaudeProcessError&)> described(ClaudeProcessError expected, QString description)
{
    return [expected, description](const ClaudeProcessError& e) { return e == expected && e.description() == description; };
}

const QString kLoggedOut = QStringLiteral("Not logged in · Please run /login");
const QString kBridge = QStringLiteral("[ClaudeProcessService] ");

const FailureCase kChildFailures[] = {
    // Both streams: the reason is standard error's.
    {"ExitOne", QStringLiteral("exit1"), false, false,
     described(ClaudeProcessError::processTerminated(1).withReason(QStringLiteral("fake failure")),
               QStringLiteral("Claude process terminated with exit code 1\nfake failure")),
     {kBridge + QStringLiteral("Process failed with exit code 1"), kBridge + QStringLiteral("Error output: fake failure\n"), // its line feed kept
      kBridge + QStringLiteral("Reason: fake failure")}},
    // As the real one logged out: standard output only.
    {"StandardOutputOnly", QStringLiteral("stdout-only"), false, false,
     described(ClaudeProcessError::processTerminated(1).withReason(kLoggedOut),
               QStringLiteral("Claude process terminated with exit code 1\n") + kLoggedOut),
     {kBridge + QStringLiteral("Error output: "), kBridge + QStringLiteral("Reason: ") + kLoggedOut}},
    {"KilledBySignal", QStringLiteral("signal"), false, false, is(ClaudeProcessError::processTerminated(SIGKILL))},
    {"EmptyOutput", QStringLiteral("empty"), false, false, is(ClaudeProcessError::invalidResponse())},
    {"InvalidUtf8", QStringLiteral("invalid-utf8"), false, false,
     described(ClaudeProcessError::invalidResponse().withReason(QStringLiteral("bad bytes")),
               QStringLiteral("Received invalid response from Claude\nbad bytes"))},
    {"FailedLaunch", QString(), false, true, launchFailure()},
    // Past the bound (on standard error too: ClaudeFloodTable); no reason is
    // taken from a flood.
    {"HugeReply", QStringLiteral("huge"), false, false,
     described(ClaudeProcessError::outputTooLarge(ClaudeProcessError::Stream::standardOutput, 16 * 1024 * 1024),
               QStringLiteral("Claude process wrote more than 16 MiB to standard output and was stopped")),
     {kBridge + QStringLiteral("Output went past the limit of 16 MiB on standard output; stopping the process")}},
};
const FailureCase kArgumentTooLong{"ArgumentTooLong", QString(), true, false, launchFailure()};

std::string failureName(const ::testing::TestParamInfo<FailureCase>& info)
{
    return info.param.name;
}
} // namespace

INSTANTIATE_TEST_SUITE_P(Failures, ClaudeFailureTable,
                         ::testing::Values(kChildFailures[0], kChildFailures[1], kChildFailures[2], kChildFailures[3],
                                           kChildFailures[4], kChildFailures[5], kChildFailures[6], kArgumentTooLong),
                         failureName);
INSTANTIATE_TEST_SUITE_P(Failures, ClaudeOpeningFailureTable, ::testing::ValuesIn(kChildFailures), failureName);

TEST_F(ClaudeService, MegabyteOnBothStreams)
{
    ASSERT_TRUE(start().ok());
    machine.setMode(QStringLiteral("megabyte"));
    const ClaudeResult result = awaitResult([&](auto done) { service.sendMessage(QStringLiteral("big"), true, true, done); });
    ASSERT_TRUE(result.ok());
    EXPECT_EQ(result.text.size(), 1024 * 1024);
    EXPECT_EQ(result.text.count(u'o'), 1024 * 1024);
}

// A flood past the bound: the child (which would write on and then wait a
// minute) is ended with what it started, the call fails long before that
// minute, the log holds an excerpt, and the next call runs as usual.
class ClaudeFloodTable : public ClaudeService, public ::testing::WithParamInterface<QString> {};

TEST_P(ClaudeFloodTable, EndsTheChildAndLogsAnExcerpt)
{
    ASSERT_TRUE(start().ok());
    machine.setMode(GetParam());
    StdoutCapture capture;
    // The application's own loop, which waits for the pipes instead of
    // polling them; how long its turns last while the flood is read is shown.
    QEventLoop loop;
    std::optional<ClaudeResult> result;
    QElapsedTimer clock;
    QElapsedTimer turn;
    qint64 longestTurn = 0;
    QTimer ticker;
    ticker.setInterval(5);
    QObject::connect(&ticker, &QTimer::timeout, [&] { longestTurn = std::max(longestTurn, turn.restart()); });
    QTimer::singleShot(kWaitDeadline, &loop, &QEventLoop::quit);
    service.sendInterviewAnswer(QStringLiteral("x"), [&](const ClaudeResult& r) {
        result = r;
        loop.quit();
    });
    clock.start();
    turn.start();
    ticker.start();
    loop.exec();
    ticker.stop();
    std::cerr << "flood of " << GetParam().toStdString() << ": failed after " << clock.elapsed()
              << " ms, longest turn of the loop " << longestTurn << " ms\n";
    ASSERT_TRUE(result.has_value()) << "the call lasted as long as the child's minute";
    ASSERT_FALSE(result->ok());
    EXPECT_EQ(result->error->kind(), ClaudeProcessError::Kind::outputTooLarge);
    EXPECT_EQ(result->error->limitBytes(), ClaudeProcessService::kOutputLimitBytes);
    EXPECT_TRUE(result->error->reason().isEmpty());
    const qint64 pid = claudeCalls().last().pid;
    EXPECT_FALSE(processAlive(pid)) << "the child is gone when the failure is reported";
    // Nothing it started still runs either.
    EXPECT_TRUE(waitUntil([pid] { return !processGroupRuns(pid); }));
    const QString log = capture.text();
    EXPECT_TRUE(log.contains(QStringLiteral("[ClaudeProcessService] Output excerpt: hhhh")));
    EXPECT_LT(log.size(), 3 * kLogExcerptLimit) << "the log holds the flood";
    EXPECT_TRUE(service.isProcessRunning());

    machine.setMode(QStringLiteral("normal"));
    EXPECT_TRUE(answer(QStringLiteral("again")).ok());
}

INSTANTIATE_TEST_SUITE_P(Streams, ClaudeFloodTable, ::testing::Values(QStringLiteral("huge"), QStringLiteral("huge-stderr")),
                         [](const ::testing::TestParamInfo<QString>& info) {
                             return info.param == QStringLiteral("huge") ? std::string("StandardOutput")
                                                                         : std::string("StandardError");
                         });

TEST_F(ClaudeService, ReplyEndsWhenTheChildExitsEvenIfItsChildHoldsThePipe)
{
    ASSERT_TRUE(start().ok());
    machine.setMode(QStringLiteral("background"));
    QElapsedTimer timer;
    timer.start();
    const ClaudeResult result = answer(QStringLiteral("x"));
    ASSERT_TRUE(result.ok());
    EXPECT_EQ(result.text, QStringLiteral("background reply"));
    EXPECT_LT(timer.elapsed(), 15000);
    const qint64 background = claudeCalls().last().backgroundPid;
    ASSERT_GT(background, 0);
    EXPECT_TRUE(processAlive(background));
    ::kill(static_cast<pid_t>(background), SIGKILL);
}

TEST_F(ClaudeService, RequestsMadeTogetherRunOneAfterTheOther)
{
    ASSERT_TRUE(start().ok());
    machine.setMode(QStringLiteral("normal"));
    service.setSearchEnvironment(machine.search);
    // Slow replies, so overlapping children would show in the log.
    machine.search.environment.insert(QStringLiteral("FAKE_CLAUDE_DELAY"), QStringLiteral("0.3"));
    ClaudeProcessService slow;
    slow.setSearchEnvironment(machine.search);
    ASSERT_TRUE(awaitResult([&](auto done) { slow.startSession(container, done); }).ok());

    QStringList order;
    int finished = 0;
    for (const QString& prompt : {QStringLiteral("first"), QStringLiteral("second"), QStringLiteral("third")}) {
        slow.sendMessage(prompt, true, true, [&order, &finished, prompt](const ClaudeResult& r) {
            EXPECT_TRUE(r.ok());
            order << prompt;
            ++finished;
        });
    }
    EXPECT_TRUE(slow.isBusy());
    ASSERT_TRUE(test::waitUntil([&] { return finished == 3; }, kWaitDeadline));
    EXPECT_EQ(order, (QStringList{QStringLiteral("first"), QStringLiteral("second"), QStringLiteral("third")}));
    const QList<FakeCall> calls = claudeCalls();
    ASSERT_GE(calls.size(), 4);
    const QList<FakeCall> last(calls.end() - 3, calls.end());
    EXPECT_EQ(last[0].arguments.value(2), QStringLiteral("first"));
    EXPECT_EQ(last[2].arguments.value(2), QStringLiteral("third"));
    for (int i = 1; i < 3; ++i) {
        ASSERT_GE(last[i - 1].doneOrder, 0);
        EXPECT_GT(last[i].startOrder, last[i - 1].doneOrder) << "call " << i << " began before the previous one ended";
    }
}

TEST_F(ClaudeService, CallbackIsSkippedWhenItsContextIsGone)
{
    ASSERT_TRUE(start().ok());
    bool called = false;
    auto* context = new QObject;
    service.sendInterviewAnswer(QStringLiteral("x"), [&](const ClaudeResult&) { called = true; }, context);
    delete context;
    bool second = false;
    service.sendInterviewAnswer(QStringLiteral("y"), [&](const ClaudeResult&) { second = true; });
    ASSERT_TRUE(test::waitUntil([&] { return second; }, kWaitDeadline));
    EXPECT_FALSE(called);
}

TEST_F(ClaudeService, ShutdownEndsTheRunningChild)
{
    ASSERT_TRUE(start().ok());
    machine.search.environment.insert(QStringLiteral("FAKE_CLAUDE_DELAY"), QStringLiteral("60"));
    ClaudeProcessService slow;
    slow.setSearchEnvironment(machine.search);
    ASSERT_FALSE(slow.initialize().has_value());
    // A folder without an opening: sendMessage needs only the three values.
    slow.startSession(container, nullptr);
    ASSERT_TRUE(test::waitUntil([&] { return claudeCalls().size() == 2; }, kWaitDeadline));
    bool called = false;
    slow.sendMessage(QStringLiteral("queued"), true, true, [&](const ClaudeResult&) { called = true; });
    const qint64 pid = claudeCalls().last().pid;
    ASSERT_TRUE(processAlive(pid));
    QElapsedTimer timer;
    timer.start();
    slow.shutdown();
    EXPECT_LT(timer.elapsed(), kWaitDeadlineMs) << "shutdown waited for the child's minute";
    EXPECT_TRUE(test::waitUntil([&] { return !processAlive(pid); }, kWaitDeadline));
    QTest::qWait(50);
    EXPECT_FALSE(called);
    EXPECT_EQ(claudeCalls().size(), 2); // the queued request never started
}
