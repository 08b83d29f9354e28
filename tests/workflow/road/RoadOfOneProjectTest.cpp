// One project from the first idea to its last task, driven through the models
// as the screens drive them, with the fake `claude` and the fake shell and a
// real zsh in a real pseudo-terminal.
#include "fakes/FakeCalls.h"
#include "model/ProjectModel.h"
#include "platform/AppContext.h"
#include "platform/UserDefaults.h"
#include "support/TempContext.h"
#include "terminal/LocalProcessTerminalView.h"
#include "terminal/NativeTerminalService.h"
#include "workflow/ClaudeProcessService.h"
#include "workflow/ContentViewModel.h"
#include "workflow/DashboardViewModel.h"
#include "workflow/EntryViewModel.h"
#include "workflow/ProjectGuidingViewModel.h"
#include "workflow/ProcessTerminalAdapter.h"
#include "workflow/TerminalClaudeGate.h"
#include "workflow/WorkViewModel.h"
#include "workflow/common/WorkflowTestSupport.h"
#include "workspace/AppGroupMonitorService.h"
#include "workspace/AppGroupStorageService.h"
#include "workspace/DirectoryAccessService.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QPointer>
#include <QTemporaryDir>

#include <memory>

#include <signal.h>
#include <unistd.h>

namespace orva::test {
namespace {

// The terminal panel's coordinator: the command channel's bytes go to the view.
// The terminal panel's coordinator, as it is with its gate: what the
// command channel types goes to the gate, which types it into claude's box.
class Coordinator : public NativeTerminalDelegate {
public:
    void forwardBytes(std::span<const std::uint8_t> bytes) override
    {
        if (gate)
            gate->typeFromChannel(bytes);
    }
    QPointer<TerminalClaudeGate> gate;
};

QStringList filesNamed(const QString& root, const QString& name)
{
    QStringList found;
    QDirIterator it(root, {name}, QDir::AllEntries | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext())
        found << it.next();
    return found;
}

QStringList entriesOf(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

bool hasEscape(const QString& text)
{
    return text.contains(QChar(0x1B));
}

const QString kApproval = QStringLiteral("사용자가 승인했습니다. Task.json 연동 규칙에 따라 진행하세요.");
const QString kGoOn = QStringLiteral("다음 테스크 진행");
const QString kInstruction = QStringLiteral("    아래 경로의 명세서를 기반으로 개발을 진행하세요.");
// A fix request for the last task, as the task popup composes it, sent from the
// board before that task was built.
const QString kFixOfTheLastTask = QStringLiteral("[Build the main screen] 작업에서 문제가 발생했습니다.\n\n"
                                                 "❌ 메인 화면 만들기 화면이 보인다\n→ 이 기능을 수정해주세요.\n");

// Every plan the interactive `claude` wrote, one letter per task: P planned,
// I inProgress, C onHold/checking, R onHold/ready, D completed/checked.
QStringList writtenStates(const QString& logFile)
{
    QStringList states;
    for (const FakeCall& call : fakeCallsOfKind(logFile, QStringLiteral("interactive"))) {
        for (const QByteArray& json : call.plans) {
            const auto wrapper = decodeProjectWrapper(json);
            if (!wrapper) {
                states << QStringLiteral("unreadable");
                continue;
            }
            QString letters;
            for (const Milestone& milestone : wrapper->project.milestones) {
                for (const TaskItem& task : milestone.tasks) {
                    if (task.status == TaskStatus::planned)
                        letters += u'P';
                    else if (task.status == TaskStatus::inProgress)
                        letters += u'I';
                    else if (task.status == TaskStatus::completed)
                        letters += u'D';
                    else
                        letters += task.testStatus == TestStatus::ready ? u'R' : u'C';
                }
            }
            states << letters;
        }
    }
    return states;
}

QStringList linesRead(const QString& logFile)
{
    const QList<FakeCall> calls = fakeCallsOfKind(logFile, QStringLiteral("interactive"));
    return calls.isEmpty() ? QStringList() : calls.first().lines;
}

// The task `id` is handed over for the person's test.
bool readyForTest(const WorkViewModel& work, qint64 id)
{
    const auto task = work.currentTask();
    return task && task->id == id && task->status == TaskStatus::onHold && task->testStatus == TestStatus::ready;
}

TEST(RoadOfOneProjectTest, FromTheIdeaToTheLastTaskAndANewProject)
{
    // ---- A machine of its own: HOME, the XDG folders, the fakes first in PATH.
    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    const QString base = root.path();
    const QString originalPath = qEnvironmentVariable("PATH", QStringLiteral("/usr/bin:/bin"));
    installFakeMachine(base);
    const QString home = base + QStringLiteral("/home");
    const QString logFile = base + QStringLiteral("/calls.log");
    qputenv("FAKE_CLAUDE_COMPLETE_DELAY", "0.8");
    qputenv("FAKE_CLAUDE_PLAN_STEP_DELAY", "0.2");

    AppContext context;
    context.containerPath = base + QStringLiteral("/container");
    context.documentsPath = base + QStringLiteral("/Documents");
    context.homePath = home;
    context.settingsPath = base + QStringLiteral("/xdg/config/orva.ini");
    context.resourcesPath = builtResourcesPath();
    AppContext::setCurrent(context);
    const QString container = context.containerPath;
    const QString projectFolder = container + QStringLiteral("/ZAVE/project");
    auto printCalls = [&] { return fakeCallsOfKind(logFile, QStringLiteral("print")); };
    const QString printed = QStringLiteral("-p");
    const QString cont = QStringLiteral("-c");
    const QString skip = QStringLiteral("--dangerously-skip-permissions");

    // ---- Start-up: the root view, the first phase.
    auto rootView = std::make_unique<ContentViewModel>();
    EXPECT_EQ(rootView->currentPhase(), ViewPhase::Entry);
    ChatViewModel* chat = rootView->chatViewModel();
    AppGroupMonitorService& monitor = AppGroupMonitorService::shared();
    monitor.setDebounceInterval(std::chrono::milliseconds(100));
    rootView->showOnboardingIfNeeded();
    EXPECT_TRUE(rootView->showOnboarding());
    rootView->setShowOnboarding(false);
    rootView->markOnboardingSeen();

    // ---- Entry: the workspace is prepared and the conversation opened.
    auto entry = std::make_unique<EntryViewModel>();
    entry->startPreparation();
    ASSERT_TRUE(waitUntil([&] { return entry->isReadyForInterview() || entry->hasInitializationError(); }))
        << "preparation never ended";
    ASSERT_FALSE(entry->hasInitializationError()) << entry->initializationError().toStdString();
    EXPECT_FALSE(entry->isInitializing());
    EXPECT_FALSE(UserDefaults::boolValue(QStringLiteral("hasLaunchedBefore"), true));
    EXPECT_TRUE(UserDefaults::contains(QStringLiteral("hasLaunchedBefore")));
    EXPECT_EQ(entriesOf(projectFolder), QStringList{QStringLiteral("CLAUDE_DEV.md")});
    EXPECT_TRUE(QFileInfo::exists(container + QStringLiteral("/ZAVE/system/CLAUDE_SYSTEM.md")));
    {
        const QList<FakeCall> calls = printCalls();
        ASSERT_EQ(calls.size(), 1);
        EXPECT_EQ(calls[0].arguments, (QStringList{printed, ClaudeProcessService::openingPrompt(), skip}));
        EXPECT_EQ(calls[0].cwd, container);
        EXPECT_EQ(calls[0].stdinKind, QStringLiteral("null"));
        EXPECT_EQ(calls[0].path, fakesBinDir() + QStringLiteral(":") + fakesBinDir() + QStringLiteral(":/usr/bin:/bin:")
                                     + fakesBinDir() + QStringLiteral(":") + originalPath);
    }

    // ---- Interview: the idea, then answers until `claude` completes it.
    const QString idea = QStringLiteral("  습관을 기록하는 앱 ");
    entry->submitUserInput(idea);
    ASSERT_TRUE(entry->hasUserSubmitted());
    rootView->startInterview(idea);
    EXPECT_EQ(rootView->currentPhase(), ViewPhase::Chat);
    entry.reset(); // the entry screen goes with its phase
    ASSERT_TRUE(waitUntil([&] { return chat->chatHistories().size() == 1; }));
    {
        const auto state = decodeInterviewState(
            AppGroupStorageService::shared().loadFile(QStringLiteral("interview_state.json"), QStringLiteral("ZAVE"))
                .value_or(QString())
                .toUtf8());
        ASSERT_TRUE(state);
        EXPECT_EQ(state->status, InterviewState::Status::inProgress);
    }
    chat->startMonitoring(); // the chat screen, when it is shown
    ASSERT_TRUE(waitUntil([&] { return chat->chatHistories().size() == 2 && !chat->isWaitingForResponse(); }));
    for (const QString& answer : {QStringLiteral("매일 물 마시기"), QStringLiteral("알림이 가장 중요해요")}) {
        bool done = false;
        chat->sendMessage(answer, [&done] { done = true; });
        ASSERT_TRUE(waitUntil([&] { return done; }));
    }
    ASSERT_TRUE(waitUntil([&] { return chat->isInterviewCompleted(); }));
    const QList<ChatHistory> turns = chat->chatHistories();
    ASSERT_EQ(turns.size(), 6);
    for (int i = 0; i < turns.size(); ++i) {
        EXPECT_EQ(turns[i].id, i + 1);
        EXPECT_EQ(turns[i].question, i % 2 == 0 ? QStringLiteral("User") : QStringLiteral("Claude"));
        EXPECT_FALSE(hasEscape(turns[i].answer)) << turns[i].answer.toStdString();
    }
    EXPECT_EQ(turns[0].answer, idea);
    EXPECT_FALSE(chat->hasErrorMessage());
    ASSERT_TRUE(waitUntil([&] {
        QFile file(context.documentsPath + QStringLiteral("/chat_history.json"));
        const auto saved = file.open(QIODevice::ReadOnly) ? decodeChatHistoryList(file.readAll()) : std::nullopt;
        return saved && saved->size() == 6 && saved->last().answer == turns.last().answer;
    })) << "the saved transcript lacks the last reply";
    AppGroupMonitorService::shared().stopInterviewStateMonitoring(); // the chat screen goes

    // ---- Documents: two prompts with "-c", then the monitor publishes the plan.
    rootView->navigateToProjectGuiding();
    EXPECT_EQ(rootView->currentPhase(), ViewPhase::ProjectGuiding);
    auto guiding = std::make_unique<ProjectGuidingViewModel>();
    const int callsBeforeDocuments = static_cast<int>(printCalls().size());
    bool generated = false;
    guiding->generateSpec([&generated] { generated = true; });
    ASSERT_TRUE(waitUntil([&] { return generated; }));
    EXPECT_FALSE(guiding->hasGenerationError()) << guiding->generationError().toStdString();
    {
        const QList<FakeCall> calls = printCalls().mid(callsBeforeDocuments);
        ASSERT_EQ(calls.size(), 2);
        EXPECT_EQ(calls[0].arguments,
                  (QStringList{printed, cont, ClaudeProcessService::documentPrompt(QStringLiteral("@ZAVE/system/agents/agent.docs.prd.md")), skip}));
        EXPECT_EQ(calls[1].arguments, (QStringList{printed, cont, ProjectGuidingViewModel::taskPlanPrompt(), skip}));
        EXPECT_EQ(calls[1].arguments[2].toUtf8().size(), 215);
    }
    ASSERT_TRUE(waitUntil([&] { return monitor.hasProject(); }));
    EXPECT_EQ(monitor.project()->totalTaskCount(), 3);
    EXPECT_TRUE(QFileInfo::exists(projectFolder + QStringLiteral("/PRD.md")));

    // ---- The project folder: a name the shell must not run.
    const QString projectParent = base + QStringLiteral("/Documents");
    const QString folder = projectParent + QStringLiteral("/My App's $(touch PWNED)");
    ASSERT_TRUE(QDir().mkpath(folder + QStringLiteral("/App.xcodeproj")));
    DirectoryAccessService& directory = DirectoryAccessService::shared();
    directory.saveBookmark(folder);
    directory.restoreBookmark();
    ASSERT_EQ(directory.selectedDirectory(), folder);
    guiding->verifyProject();
    ASSERT_TRUE(waitUntil([&] { return !guiding->isVerifyingProject(); }));
    EXPECT_TRUE(guiding->isProjectVerified());
    EXPECT_EQ(guiding->projectName(), QStringLiteral("App"));

    // ---- Work: the shell in that folder, `claude` in it, work started.
    rootView->navigateToDashboard();
    EXPECT_EQ(rootView->currentPhase(), ViewPhase::Dashboard);
    guiding.reset();
    auto work = std::make_unique<WorkViewModel>();
    EXPECT_FALSE(work->forceShowAsPlanned());
    EXPECT_FALSE(work->hasLaunchedBefore());
    auto view = std::make_unique<LocalProcessTerminalView>(80, 24);
    QPointer<LocalProcessTerminalView> gateView(view.get());
    auto gate = std::make_unique<TerminalClaudeGate>(work.get(), claudeGateTerminal([&] { return gateView.data(); }, {}));
    reportReaderEnds(*view, gate.get());
    Coordinator coordinator;
    coordinator.gate = gate.get();
    NativeTerminalService::shared().setDelegate(&coordinator);
    ASSERT_TRUE(work->startShell(view.get()));
    EXPECT_TRUE(NativeTerminalService::shared().isProcessRunning());
    ASSERT_TRUE(waitUntil([&] { return !fakeCallsOfKind(logFile, QStringLiteral("interactive")).isEmpty(); }))
        << "claude never started in the terminal";
    {
        const FakeCall interactive = fakeCallsOfKind(logFile, QStringLiteral("interactive")).first();
        EXPECT_EQ(interactive.cwd, folder);
        EXPECT_EQ(interactive.arguments, QStringList{skip});
        EXPECT_EQ(interactive.stdinKind, QStringLiteral("tty"));
    }
    // `claude` runs: what is pressed now waits for its box.
    QList<TaskItem> seen;
    QObject::connect(work.get(), &WorkViewModel::currentTaskChanged, work.get(), [&] {
        if (const auto task = work->currentTask())
            seen << *task;
    });
    EXPECT_EQ(work->currentTask()->id, 1);
    EXPECT_EQ(work->currentTask()->status, TaskStatus::planned);
    work->startWork();
    ASSERT_TRUE(waitUntil([&] { return work->hasLaunchedBefore(); })) << "the start of work was never typed";
    EXPECT_TRUE(UserDefaults::boolValue(QStringLiteral("hasLaunchedBefore"), false));
    ASSERT_TRUE(waitUntil([&] { return readyForTest(*work, 1); }))
        << "the start-of-work instruction did not bring the first task to its test";

    // ---- Progress: the dashboard opens on the plan of the moment and follows it.
    auto dashboard = std::make_unique<DashboardViewModel>(monitor.project());
    qint64 shown = dashboard->completedTaskCount();
    QObject::connect(dashboard.get(), &DashboardViewModel::projectChanged, dashboard.get(), [&] {
        if (dashboard->completedTaskCount() != shown) { // as the dashboard does when its count changes
            shown = dashboard->completedTaskCount();
            dashboard->checkForCompletedTasks();
        }
    });
    struct Step {
        qint64 completed;
        std::optional<qint64> current;
        bool popup;
    };
    const QList<Step> steps = {{1, 2, false}, {2, 3, true}, {3, std::nullopt, false}};
    for (const Step& step : steps) {
        SCOPED_TRACE(step.completed);
        // The person approves the task waiting for its test; `claude` completes it and waits.
        ASSERT_TRUE(waitUntil([&] { return readyForTest(*work, step.completed); }));
        if (step.completed == 2) {
            // While a task waits for its test, neither the words to go on nor a
            // second start of work (the card's start action) starts another.
            work->sendPrompt(kGoOn);
            work->startWork();
            ASSERT_TRUE(waitUntil([&] {
                const QStringList lines = linesRead(logFile);
                const qsizetype at = lines.lastIndexOf(kInstruction);
                return lines.count(kInstruction) == 2 && at >= 0 && lines.size() >= at + 2;
            })) << "the second start of work did not reach claude";
            EXPECT_TRUE(readyForTest(*work, 2));
        }
        work->sendPrompt(kApproval);
        ASSERT_TRUE(waitUntil([&] { return monitor.project() && monitor.project()->completedTaskCount() == step.completed; }))
            << "the approval did not complete the task";
        ASSERT_TRUE(waitUntil([&] { return dashboard->completedTaskCount() == step.completed; }));
        const auto current = work->currentTask();
        EXPECT_EQ(current ? std::optional<qint64>(current->id) : std::nullopt, step.current);
        if (current) {
            EXPECT_EQ(current->status, TaskStatus::planned) << "the next task started without the words to go on";
        }
        EXPECT_EQ(dashboard->showCompletedTaskPopup(), step.popup);
        if (dashboard->showCompletedTaskPopup())
            dashboard->dismissPopup();
        if (step.completed == 1) {
            // An approval with nothing waiting, and a fix request for a task
            // not built yet (both sent from the board), change nothing.
            work->sendPrompt(kApproval);
            work->sendPrompt(kFixOfTheLastTask);
        }
        if (step.current) {
            // The words to go on start the next task.
            work->sendPrompt(kGoOn);
            ASSERT_TRUE(waitUntil([&] {
                const auto task = work->currentTask();
                return task && task->id == *step.current && task->status != TaskStatus::planned;
            })) << "the words to go on did not start the next task";
        }
    }
    EXPECT_FALSE(dashboard->isInitialLoad());
    // The work screen followed the plan task by task.
    QList<qint64> followed;
    for (const TaskItem& task : seen) {
        if (followed.isEmpty() || followed.last() != task.id)
            followed << task.id;
    }
    EXPECT_EQ(followed, (QList<qint64>{1, 2, 3}));
    {
        // What `claude` read in the terminal: the instruction with the guide's path, then the approvals
        // and the words to go on.
        const QStringList lines = fakeCallsOfKind(logFile, QStringLiteral("interactive")).first().lines;
        const QString guide = projectFolder + QStringLiteral("/CLAUDE_DEV.md");
        const qsizetype at = lines.indexOf(QStringLiteral("    아래 경로의 명세서를 기반으로 개발을 진행하세요."));
        ASSERT_GE(at, 0) << lines.join(QLatin1Char('|')).toStdString();
        ASSERT_LT(at + 1, lines.size());
        EXPECT_EQ(lines[at + 1], QStringLiteral("    ") + guide);
        EXPECT_EQ(lines.count(kApproval), 4);
        EXPECT_EQ(lines.count(kGoOn), 3);
        EXPECT_EQ(lines.count(kInstruction), 2);
        EXPECT_TRUE(lines.contains(QStringLiteral("[Build the main screen] 작업에서 문제가 발생했습니다.")));
    }
    // Every change of the plan, in order: the messages that must change
    // nothing wrote nothing, and no second task was ever active. The log is
    // read once it holds the completed plan the monitor published.
    EXPECT_TRUE(waitUntil([&] { return writtenStates(logFile).endsWith(QStringLiteral("DDD")); }))
        << writtenStates(logFile).join(u' ').toStdString();
    EXPECT_EQ(writtenStates(logFile).join(u' ').toStdString(),
              "IPP CPP RPP DPP DIP DCP DRP DDP DDI DDC DDR DDD");
    EXPECT_EQ(monitor.project()->completedTaskCount(), monitor.project()->totalTaskCount());
    EXPECT_TRUE(filesNamed(base, QStringLiteral("PWNED")).isEmpty());
    EXPECT_FALSE(QFileInfo::exists(QDir::currentPath() + QStringLiteral("/PWNED")));
    EXPECT_FALSE(QFileInfo::exists(QStringLiteral("/PWNED")));
    EXPECT_TRUE(entriesOf(home).isEmpty()) << "nothing is written into the home folder";

    // ---- The new-project action: the work screen goes, a new entry screen prepares.
    dashboard.reset();
    rootView->startNewProject();
    EXPECT_EQ(rootView->currentPhase(), ViewPhase::Entry);
    view->terminate();
    NativeTerminalService::shared().setDelegate(nullptr);
    NativeTerminalService::shared().setProcessRunning(false);
    gate.reset();
    view.reset();
    work.reset();
    const int callsBeforeNewProject = static_cast<int>(printCalls().size());
    auto secondEntry = std::make_unique<EntryViewModel>();
    secondEntry->startPreparation();
    ASSERT_TRUE(waitUntil([&] { return secondEntry->isReadyForInterview() || secondEntry->hasInitializationError(); }));
    EXPECT_TRUE(secondEntry->isReadyForInterview());
    EXPECT_EQ(entriesOf(projectFolder), QStringList{QStringLiteral("CLAUDE_DEV.md")});
    EXPECT_TRUE(directory.selectedDirectory().isEmpty());
    EXPECT_TRUE(waitUntil([&] { return !monitor.hasProject(); })) << "the previous project's plan is still shown";
    {
        const QList<FakeCall> calls = printCalls().mid(callsBeforeNewProject);
        ASSERT_EQ(calls.size(), 1);
        EXPECT_FALSE(calls[0].arguments.contains(cont));
        EXPECT_EQ(calls[0].arguments, (QStringList{printed, ClaudeProcessService::openingPrompt(), skip}));
    }
    rootView->startInterview(QStringLiteral("두 번째 앱"));
    ASSERT_TRUE(waitUntil([&] { return chat->chatHistories().size() == 2 && !chat->isWaitingForResponse(); }));
    EXPECT_FALSE(chat->isInterviewCompleted());
    EXPECT_EQ(chat->chatHistories().first().answer, QStringLiteral("두 번째 앱"));
    AppGroupMonitorService::shared().stopInterviewStateMonitoring();

    // ---- Teardown: no child process is left.
    secondEntry.reset();
    rootView.reset();
    EXPECT_TRUE(waitUntil([] { return childProcesses().isEmpty(); }))
        << childProcesses().join(QLatin1Char('\n')).toStdString();
}

} // namespace
} // namespace orva::test
