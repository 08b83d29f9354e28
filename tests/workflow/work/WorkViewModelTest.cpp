#include "PlanFixtures.h"

#include "platform/AppContext.h"
#include "platform/UserDefaults.h"
#include "support/TempContext.h"
#include "terminal/NativeTerminalService.h"
#include "workflow/PlanLoadMessage.h"
#include "workflow/WorkViewModel.h"
#include "workflow/WorkflowServices.h"
#include "workflow/common/WorkflowTestSupport.h"
#include "workspace/AppGroupMonitorService.h"
#include "workspace/AppGroupStorageService.h"
#include "workspace/DirectoryAccessService.h"
#include "support/FakeFolderPanel.h"
#include "workspace/XcodeService.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTest>

#include <memory>

namespace orva::test {
namespace {

class WorkViewModelTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        savedHome_ = qgetenv("HOME");
        qputenv("HOME", context.context().homePath.toUtf8());
        services.appGroupStorage = &storage;
        services.appGroupMonitor = &monitor;
        services.directoryAccess = &directory;
        services.xcode = &xcode;
        NativeTerminalService::shared().setDelegate(&channel);
    }
    void TearDown() override
    {
        NativeTerminalService::shared().setDelegate(nullptr);
        NativeTerminalService::shared().setProcessRunning(false);
        qputenv("HOME", savedHome_);
    }

    void chooseFolder(const QString& folder) { chooseFolderThroughPanel(directory, *panel, folder); }

    void writePlan(const Project& project)
    {
        ProjectWrapper wrapper;
        wrapper.project = project;
        storage.saveFile(QString::fromUtf8(encodeProjectWrapper(wrapper)), QStringLiteral("Task.json"),
                         QStringLiteral("ZAVE/project"));
    }

    QString guidePath() const { return context.context().containerPath + QStringLiteral("/ZAVE/project/CLAUDE_DEV.md"); }

    TempContext context;
    QByteArray savedHome_;
    AppGroupStorageService storage;
    AppGroupMonitorService monitor{std::chrono::milliseconds(30)};
    std::shared_ptr<FakeFolderPanel> panel = std::make_shared<FakeFolderPanel>();
    DirectoryAccessService directory{panel};
    XcodeService xcode{directory};
    RecordingChannelDelegate channel;
    WorkflowServices services;
};

TEST_F(WorkViewModelTest, StartShellStartsZshInTheFolderThenClaudeHalfASecondLater)
{
    const QString folder = context.root() + QStringLiteral("/My App");
    chooseFolder(folder);
    WorkViewModel model(services);
    RecordingTerminal terminal;
    model.startShell(terminal);

    ASSERT_EQ(terminal.starts.size(), 1);
    EXPECT_EQ(terminal.starts[0].executable, QStringLiteral("/bin/zsh"));
    EXPECT_EQ(terminal.starts[0].arguments,
              (QStringList{QStringLiteral("-l"), QStringLiteral("-c"),
                           QStringLiteral("cd '") + folder + QStringLiteral("' && exec zsh -l")}));
    EXPECT_TRUE(NativeTerminalService::shared().isProcessRunning());
    EXPECT_TRUE(terminal.delegate.sent.isEmpty());

    ASSERT_TRUE(waitUntil([&] { return !terminal.delegate.sent.isEmpty(); }));
    EXPECT_GE(terminal.delegate.sent[0].atMs, 480);
    QTest::qWait(150);
    ASSERT_EQ(terminal.delegate.sent.size(), 1);
    EXPECT_EQ(terminal.delegate.sent[0].bytes, QByteArrayLiteral("claude --dangerously-skip-permissions\n"));
    EXPECT_EQ(terminal.delegate.sent[0].bytes.size(), 38);
    EXPECT_TRUE(channel.received.isEmpty()) << "the start command does not go through the command channel";

    LogCapture log;
    ASSERT_TRUE(terminal.exitHandler);
    terminal.exitHandler(7);
    EXPECT_FALSE(NativeTerminalService::shared().isProcessRunning());
    terminal.exitHandler(std::nullopt);
    EXPECT_EQ(log.lines(), (QStringList{QStringLiteral("[NativeTerminal] Process exited with code: 7"),
                                        QStringLiteral("[NativeTerminal] Process exited with code: -1")}));
}

TEST_F(WorkViewModelTest, WithoutAFolderTheLoginShellStartsAsItIs)
{
    WorkViewModel model(services);
    RecordingTerminal terminal;
    terminal.hasDelegate = false;
    model.startShell(terminal);
    ASSERT_EQ(terminal.starts.size(), 1);
    EXPECT_EQ(terminal.starts[0].arguments, QStringList{QStringLiteral("-l")});
    EXPECT_TRUE(NativeTerminalService::shared().isProcessRunning());
    // The moment the start command would have been typed has passed.
    ASSERT_TRUE(runTimersDueWithin(std::chrono::milliseconds(WorkViewModel::claudeStartDelayMs)));
    EXPECT_TRUE(terminal.delegate.sent.isEmpty());
}

TEST_F(WorkViewModelTest, AFolderWithAQuoteStartsInThatFolderAndRunsNothingElse)
{
    const QString folder = context.root() + QStringLiteral("/it's $(touch PWNED)");
    chooseFolder(folder);
    WorkViewModel model(services);
    RecordingTerminal terminal;
    model.startShell(terminal);
    ASSERT_EQ(terminal.starts.size(), 1);
    EXPECT_EQ(terminal.starts[0].arguments.last(),
              QStringLiteral("cd '") + context.root() + QStringLiteral("/it'\\''s $(touch PWNED)' && exec zsh -l"));
}

TEST_F(WorkViewModelTest, ZshStartsThroughTheStandInOnlyWithoutStartupFiles)
{
    WorkViewModel model(services);
    RecordingTerminal bare;
    model.startShell(bare);
    ASSERT_EQ(bare.starts.size(), 1);
    ASSERT_TRUE(bare.starts[0].environment.has_value());
    ASSERT_EQ(bare.starts[0].environment->size(), 1);
    EXPECT_TRUE(bare.starts[0].environment->first().startsWith(QStringLiteral("ZDOTDIR=") + context.context().containerPath));

    QFile rc(context.context().homePath + QStringLiteral("/.zshrc"));
    ASSERT_TRUE(rc.open(QIODevice::WriteOnly));
    rc.close();
    RecordingTerminal configured;
    model.startShell(configured);
    ASSERT_EQ(configured.starts.size(), 1);
    EXPECT_FALSE(configured.starts[0].environment.has_value());
}

TEST_F(WorkViewModelTest, StartWorkTypesTheInstructionWithTheGuidePath)
{
    UserDefaults::setBool(QStringLiteral("hasLaunchedBefore"), false);
    WorkViewModel model(services);
    EXPECT_FALSE(model.forceShowAsPlanned());
    EXPECT_FALSE(model.hasLaunchedBefore());
    QSignalSpy launched(&model, &WorkViewModel::hasLaunchedBeforeChanged);

    model.startWork();
    EXPECT_TRUE(model.hasLaunchedBefore());
    EXPECT_EQ(launched.count(), 1);
    EXPECT_TRUE(UserDefaults::boolValue(QStringLiteral("hasLaunchedBefore"), false));
    EXPECT_FALSE(model.forceShowAsPlanned());

    ASSERT_TRUE(waitUntil([&] { return channel.received.size() == 2; }));
    const QByteArray instruction = QStringLiteral("    아래 경로의 명세서를 기반으로 개발을 진행하세요.\n    ").toUtf8();
    EXPECT_EQ(instruction.size(), 78);
    EXPECT_EQ(WorkViewModel::startOfWorkInstruction().toUtf8(), instruction);
    EXPECT_EQ(channel.received[0].bytes, instruction + guidePath().toUtf8() + "\n");
    EXPECT_EQ(channel.received[1].bytes, QByteArrayLiteral("\r"));
    EXPECT_GE(channel.received[1].atMs - channel.received[0].atMs, 45);
}

TEST_F(WorkViewModelTest, ThePromptAfterAnEarlierRunCarriesTheInstructionOnce)
{
    UserDefaults::setBool(QStringLiteral("hasLaunchedBefore"), true);
    WorkViewModel model(services);
    EXPECT_TRUE(model.forceShowAsPlanned());
    EXPECT_TRUE(model.hasLaunchedBefore());

    const QString approval = QStringLiteral("사용자가 승인했습니다.");
    model.sendPrompt(approval);
    EXPECT_FALSE(model.forceShowAsPlanned());
    model.sendPrompt(QStringLiteral("next"));
    ASSERT_TRUE(waitUntil([&] { return channel.received.size() == 4; }));
    EXPECT_EQ(channel.received[0].bytes,
              (WorkViewModel::startOfWorkInstruction() + guidePath() + QStringLiteral("\n") + approval + QStringLiteral("\n")).toUtf8());
    EXPECT_EQ(channel.received[1].bytes, QByteArrayLiteral("next\n"));
}

TEST_F(WorkViewModelTest, WithoutAContainerNothingIsTyped)
{
    UserDefaults::setBool(QStringLiteral("hasLaunchedBefore"), true);
    WorkViewModel model(services);
    AppContext noContainer = context.context();
    noContainer.containerPath.clear();
    AppContext::setCurrent(noContainer);
    LogCapture log;
    model.sendPrompt(QStringLiteral("x"));
    UserDefaults::setBool(QStringLiteral("hasLaunchedBefore"), false);
    model.startWork();
    AppContext::setCurrent(context.context());
    EXPECT_EQ(log.count(QStringLiteral("[WorkViewModel] - Prompt File URL not found")), 2);
    EXPECT_TRUE(model.forceShowAsPlanned());
    EXPECT_FALSE(UserDefaults::boolValue(QStringLiteral("hasLaunchedBefore"), true));
    // Not even a carriage return follows.
    ASSERT_TRUE(runTimersDueWithin(std::chrono::milliseconds(NativeTerminalService::carriageReturnDelayMs)));
    EXPECT_TRUE(channel.received.isEmpty());
}

TEST_F(WorkViewModelTest, TheCurrentTaskIsTheFirstInProgressThenOnHoldThenPlanned)
{
    using S = TaskStatus;
    struct Case {
        const char* name;
        QList<QList<TaskStatus>> plan;
        std::optional<qint64> expected;
    };
    const QList<Case> cases = {
        {"in progress wins", {{S::completed, S::planned}, {S::onHold}, {S::inProgress, S::inProgress}}, 4},
        {"on hold before planned", {{S::planned}, {S::completed, S::onHold}}, 3},
        {"first planned", {{S::completed}, {S::planned, S::planned}}, 2},
        {"all completed", {{S::completed}, {S::completed}}, std::nullopt},
        {"no tasks", {{}, {}}, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto task = currentTaskOf(projectOf(c.plan));
        EXPECT_EQ(task ? std::optional<qint64>(task->id) : std::nullopt, c.expected);
    }

    WorkViewModel model(services);
    EXPECT_FALSE(model.currentTask());
    QSignalSpy changed(&model, &WorkViewModel::currentTaskChanged);
    writePlan(projectOf({{S::completed, S::planned}}));
    monitor.startTaskDashboardMonitoring();
    writePlan(projectOf({{S::completed, S::inProgress}}));
    ASSERT_TRUE(waitUntil([&] { return model.currentTask().has_value(); }));
    EXPECT_EQ(model.currentTask()->id, 2);
    EXPECT_GE(changed.count(), 1);
    EXPECT_EQ(model.currentTaskValue().value<TaskItem>().id, 2);
}

TEST_F(WorkViewModelTest, TheSelectedTaskTakesATaskValueFromQml)
{
    WorkViewModel model(services);
    QSignalSpy changed(&model, &WorkViewModel::selectedTaskChanged);
    model.setSelectedTaskValue(QVariant::fromValue(task(5, TaskStatus::planned)));
    ASSERT_TRUE(model.selectedTask());
    EXPECT_EQ(model.selectedTask()->id, 5);
    model.setSelectedTaskValue(QVariant());
    EXPECT_FALSE(model.hasSelectedTask());
    EXPECT_EQ(changed.count(), 2);
}

} // namespace
} // namespace orva::test

namespace orva::test {
namespace {

TEST_F(WorkViewModelTest, OnlyATerminalViewCanBeStarted)
{
    WorkViewModel model(services);
    QObject notATerminal;
    LogCapture log;
    EXPECT_FALSE(model.startShell(&notATerminal));
    EXPECT_FALSE(model.startShell(static_cast<QObject*>(nullptr)));
    EXPECT_EQ(log.count(QStringLiteral("[WorkViewModel] - Not a terminal view")), 2);
    EXPECT_FALSE(NativeTerminalService::shared().isProcessRunning());
}

TEST(PlanLoadMessage, SaysWhyInKoreanAndWhatIsShown)
{
    struct Case {
        TaskFileError error;
        bool showsLastGoodPlan;
        QString message;
    };
    const QString head = QStringLiteral("작업 계획(Task.json)을 읽을 수 없습니다. ");
    const QString kept = QStringLiteral(" 마지막으로 읽은 계획을 그대로 보여줍니다.");
    const QString none = QStringLiteral(" 읽을 수 있는 계획이 저장되면 바로 보여줍니다.");
    const QList<Case> cases = {
        {{TaskFileError::Kind::tooLarge, QStringLiteral("too large"), qint64(1) << 40}, true,
         head + QStringLiteral("파일이 너무 큽니다 (1.0 TB, 최대 8.0 MB).") + kept},
        {{TaskFileError::Kind::tooLarge, QStringLiteral("too large"), 8 * 1024 * 1024 + 1}, false,
         head + QStringLiteral("파일이 너무 큽니다 (8.0 MB, 최대 8.0 MB).") + none},
        {{TaskFileError::Kind::notRegularFile, QStringLiteral("it is a FIFO"), 0}, true,
         head + QStringLiteral("그 자리에 일반 파일이 아닌 것(폴더, FIFO 또는 장치)이 있습니다.") + kept},
        {{TaskFileError::Kind::unreadable, QStringLiteral("Permission denied"), 10}, false,
         head + QStringLiteral("파일을 열 수 없습니다: Permission denied.") + none},
        {{TaskFileError::Kind::invalid, QStringLiteral("Invalid JSON at byte offset 3: <b>x</b>"), 10}, true,
         head + QStringLiteral("올바른 작업 계획이 아닙니다: Invalid JSON at byte offset 3: <b>x</b>.") + kept},
        {{TaskFileError::Kind::invalid, QStringLiteral("The data is not valid UTF-8."), 10}, false,
         head + QStringLiteral("올바른 작업 계획이 아닙니다: The data is not valid UTF-8.") + none},
    };
    for (const Case& c : cases)
        EXPECT_EQ(planLoadMessage(c.error, c.showsLastGoodPlan), c.message);
    EXPECT_EQ(readableSize(512), QStringLiteral("512 B"));
    EXPECT_EQ(readableSize(1536), QStringLiteral("1.5 KB"));
    EXPECT_EQ(readableSize(300 * 1024 * 1024), QStringLiteral("300 MB"));
}

// The message follows the monitor: said when the plan there cannot be used,
// gone once a plan is read or the file is gone.
TEST_F(WorkViewModelTest, APlanThatCannotBeReadIsSaidAndTheLastGoodPlanStays)
{
    const QString plan = context.context().containerPath + QStringLiteral("/ZAVE/project/Task.json");
    WorkViewModel model(services);
    QSignalSpy messages(&model, &WorkViewModel::planLoadMessageChanged);
    EXPECT_TRUE(model.planLoadMessage().isEmpty());

    monitor.startTaskDashboardMonitoring();
    writePlan(projectOf({{TaskStatus::planned}}));
    ASSERT_TRUE(waitUntil([&] { return monitor.hasProject(); }));
    QFile::remove(plan);
    ASSERT_TRUE(QDir().mkpath(plan)); // a folder in its place
    ASSERT_TRUE(waitUntil([&] { return !model.planLoadMessage().isEmpty(); }));
    EXPECT_TRUE(model.planLoadMessage().contains(QStringLiteral("마지막으로 읽은 계획을 그대로 보여줍니다.")));
    EXPECT_TRUE(monitor.hasProject());
    EXPECT_TRUE(model.hasCurrentTask());
    EXPECT_GE(messages.count(), 1);

    QDir(plan).removeRecursively();
    writePlan(projectOf({{TaskStatus::inProgress}}));
    EXPECT_TRUE(waitUntil([&] { return model.planLoadMessage().isEmpty(); }));
}

} // namespace
} // namespace orva::test

namespace orva::test {
namespace {

// A gate that lets through only while told to, and remembers what it was asked.
class ScriptedGate : public ClaudeInputGate {
public:
    bool admit(const ClaudeInput& input) override
    {
        asked.append(input);
        return open;
    }
    void startClaudeWhenReady() override { ++startsAsked; }
    pid_t typingGroup() const override { return 0; }
    bool open = false;
    QList<ClaudeInput> asked;
    int startsAsked = 0;
};

TEST_F(WorkViewModelTest, EveryStartOfClaudeAfterTheFirstCarriesTheInstructionNext)
{
    UserDefaults::setBool(QStringLiteral("hasLaunchedBefore"), false);
    WorkViewModel model(services);
    RecordingTerminal first;
    model.startShell(first);
    EXPECT_FALSE(model.forceShowAsPlanned()) << "the first start keeps the flag as the default says";
    ASSERT_TRUE(waitUntil([&] { return !first.delegate.sent.isEmpty(); }));

    // A folder chosen through the banner starts the terminal again.
    QSignalSpy flagged(&model, &WorkViewModel::forceShowAsPlannedChanged);
    RecordingTerminal second;
    model.startShell(second);
    EXPECT_TRUE(model.forceShowAsPlanned());
    EXPECT_EQ(flagged.count(), 1);
    model.sendPrompt(QStringLiteral("승인"));
    EXPECT_FALSE(model.forceShowAsPlanned());
    ASSERT_FALSE(channel.received.isEmpty());
    EXPECT_EQ(channel.received[0].bytes,
              (WorkViewModel::startOfWorkInstruction() + guidePath() + QStringLiteral("\n승인\n")).toUtf8());

    // The gate started claude again in a running shell: the flag set.
    LogCapture log;
    model.claudeStartedAgain();
    EXPECT_TRUE(model.forceShowAsPlanned());
    EXPECT_TRUE(log.contains(QStringLiteral("[WorkViewModel] - Starting claude again")));
    ASSERT_TRUE(waitUntil([&] { return channel.received.size() == 2; }));
}

// With a gate, the start command is the gate's to type, half a second after
// the shell's start; without one, the model types it then.
TEST_F(WorkViewModelTest, WithAGateTheStartCommandIsTheGates)
{
    WorkViewModel model(services);
    ScriptedGate gate;
    model.setClaudeInputGate(&gate);
    RecordingTerminal terminal;
    model.startShell(terminal);
    ASSERT_TRUE(waitUntil([&] { return gate.startsAsked == 1; }));
    EXPECT_TRUE(terminal.delegate.sent.isEmpty());
    model.clearClaudeInputGate(&gate);
}

TEST_F(WorkViewModelTest, AGateThatHoldsTheInputLeavesEverythingAsItWas)
{
    UserDefaults::setBool(QStringLiteral("hasLaunchedBefore"), true);
    WorkViewModel model(services);
    ScriptedGate gate;
    model.setClaudeInputGate(&gate);
    ASSERT_TRUE(model.forceShowAsPlanned());

    model.startWork();
    model.sendPrompt(QStringLiteral("승인"));
    model.sendPrompt(QStringLiteral("승인"), 7);
    EXPECT_EQ(gate.asked, (QList<ClaudeInput>{ClaudeInput::startWork(), ClaudeInput::withPrompt(QStringLiteral("승인")),
                                              ClaudeInput::withPrompt(QStringLiteral("승인"), 7)}));
    EXPECT_NE(gate.asked[1], gate.asked[2]) << "the same text for a task is another press";
    EXPECT_TRUE(channel.received.isEmpty());
    EXPECT_TRUE(model.forceShowAsPlanned());

    // Let through: the held input, handed back, is typed as it would have been.
    gate.open = true;
    model.perform(ClaudeInput::withPrompt(QStringLiteral("승인")));
    ASSERT_EQ(channel.received.size(), 1);
    EXPECT_EQ(channel.received[0].bytes,
              (WorkViewModel::startOfWorkInstruction() + guidePath() + QStringLiteral("\n승인\n")).toUtf8());
    model.perform(ClaudeInput::startWork());
    ASSERT_EQ(channel.received.size(), 2);
    EXPECT_EQ(channel.received[1].bytes, (WorkViewModel::startOfWorkInstruction() + guidePath() + QStringLiteral("\n")).toUtf8());

    // Another gate took over: clearing the old one leaves the new one.
    ScriptedGate newer;
    model.setClaudeInputGate(&newer);
    model.clearClaudeInputGate(&gate);
    EXPECT_EQ(model.claudeInputGate(), &newer);
    model.clearClaudeInputGate(&newer);
    EXPECT_EQ(model.claudeInputGate(), nullptr);
    ASSERT_TRUE(waitUntil([&] { return channel.received.size() == 4; }));
}

} // namespace
} // namespace orva::test
