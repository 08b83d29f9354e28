#include "workflow/WorkViewModel.h"

#include "platform/Log.h"
#include "platform/UserDefaults.h"
#include "terminal/NativeTerminalService.h"
#include "terminal/core/TerminalDelegate.h"
#include "workflow/ProcessTerminalAdapter.h"
#include "workflow/ShellLaunch.h"
#include "workflow/PlanLoadMessage.h"
#include "workflow/WorkTerminal.h"
#include "workspace/AppGroupMonitorService.h"
#include "workspace/AppGroupStorageService.h"
#include "workspace/DirectoryAccessService.h"
#include "workspace/XcodeService.h"

#include <QPointer>
#include <QTimer>

#include <span>

namespace orva {

namespace {
const QString kHasLaunchedBefore = QString::fromLatin1(UserDefaults::kHasLaunchedBefore);

void logPromptFileMissing()
{
    logLine(QStringLiteral("[WorkViewModel] - Prompt File URL not found"));
}
} // namespace

QString WorkViewModel::startOfWorkInstruction()
{
    return QStringLiteral("    아래 경로의 명세서를 기반으로 개발을 진행하세요.\n    ");
}

QByteArray WorkViewModel::claudeStartCommand()
{
    return QByteArrayLiteral("claude --dangerously-skip-permissions\n");
}

std::optional<TaskItem> currentTaskOf(const Project& project)
{
    for (const TaskStatus wanted : {TaskStatus::inProgress, TaskStatus::onHold, TaskStatus::planned}) {
        for (const Milestone& milestone : project.milestones) {
            for (const TaskItem& task : milestone.tasks) {
                if (task.status == wanted)
                    return task;
            }
        }
    }
    return std::nullopt;
}

WorkViewModel::WorkViewModel(QObject* parent)
    : WorkViewModel(WorkflowServices::defaults(), parent)
{
}

WorkViewModel::WorkViewModel(const WorkflowServices& services, QObject* parent)
    : QObject(parent)
    , appGroupMonitorService_(services.monitor())
    , directoryAccessService_(services.directory())
    , appGroupStorageService_(services.storage())
    , xcodeService_(services.xcodeService())
    , nativeTerminalService_(services.terminal())
{
    registerModelMetaTypes();
    hasLaunchedBefore_ = UserDefaults::boolValue(kHasLaunchedBefore, false);
    forceShowAsPlanned_ = hasLaunchedBefore_;
    connect(&appGroupMonitorService_, &AppGroupMonitorService::projectChanged, this,
            &WorkViewModel::currentTaskChanged);
    connect(&appGroupMonitorService_, &AppGroupMonitorService::taskFileErrorChanged, this,
            &WorkViewModel::planLoadMessageChanged);
    connect(&appGroupMonitorService_, &AppGroupMonitorService::projectChanged, this,
            &WorkViewModel::planLoadMessageChanged);
}

QString WorkViewModel::planLoadMessage() const
{
    const auto error = appGroupMonitorService_.taskFileError();
    return error ? orva::planLoadMessage(*error, appGroupMonitorService_.hasProject()) : QString();
}

WorkViewModel::~WorkViewModel() = default;

void WorkViewModel::setSelectedTask(std::optional<TaskItem> task)
{
    if (selectedTask_ == task)
        return;
    selectedTask_ = std::move(task);
    emit selectedTaskChanged();
}

QVariant WorkViewModel::selectedTaskValue() const
{
    return selectedTask_ ? QVariant::fromValue(*selectedTask_) : QVariant();
}

void WorkViewModel::setSelectedTaskValue(const QVariant& value)
{
    if (value.metaType() == QMetaType::fromType<TaskItem>())
        setSelectedTask(value.value<TaskItem>());
    else
        setSelectedTask(std::nullopt);
}

std::optional<TaskItem> WorkViewModel::currentTask() const
{
    const auto project = appGroupMonitorService_.project();
    if (!project)
        return std::nullopt;
    return currentTaskOf(*project);
}

QVariant WorkViewModel::currentTaskValue() const
{
    const auto task = currentTask();
    return task ? QVariant::fromValue(*task) : QVariant();
}

std::optional<QString> WorkViewModel::promptFilePath() const
{
    return appGroupStorageService_.url(QStringLiteral("CLAUDE_DEV.md"), QStringLiteral("ZAVE/project"));
}

namespace {
void typeClaudeStartCommand(TerminalDelegate& delegate)
{
    const QByteArray command = WorkViewModel::claudeStartCommand();
    delegate.send(std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(command.constData()),
                                                static_cast<std::size_t>(command.size())));
}
} // namespace

void WorkViewModel::startShell(WorkTerminal& terminal)
{
    // A shell started again (a folder chosen through the banner, a terminal
    // started anew) brings a `claude` that has not read the guide.
    if (shellStarts_++ > 0)
        setForceShowAsPlanned(true);

    QPointer<NativeTerminalService> channel(&nativeTerminalService_);
    terminal.setProcessExitHandler([channel](std::optional<std::int32_t> exitCode) {
        logLine(QStringLiteral("[NativeTerminal] Process exited with code: ") + QString::number(exitCode.value_or(-1)));
        if (channel)
            channel->setProcessRunning(false);
    });

    const QString folder = directoryAccessService_.selectedDirectory();
    const auto container = AppGroupStorageService::containerPath();
    const ShellLaunch launch =
        terminalShellLaunch(folder, container ? zshStartupStandIn(*container) : std::nullopt);
    terminal.startProcess(launch.executable, launch.arguments, launch.environment);

    nativeTerminalService_.setProcessRunning(true);

    QPointer<QObject> alive(terminal.lifetimeObject());
    WorkTerminal* target = &terminal;
    QTimer::singleShot(claudeStartDelayMs, this, [this, alive, target] {
        if (!alive)
            return;
        // With a gate, the command waits for the shell's prompt and an empty line.
        if (claudeInputGate_) {
            claudeInputGate_->startClaudeWhenReady();
            return;
        }
        if (TerminalDelegate* delegate = target->terminalDelegate())
            typeClaudeStartCommand(*delegate);
    });
}

void WorkViewModel::claudeStartedAgain()
{
    logLine(QStringLiteral("[WorkViewModel] - Starting claude again"));
    setForceShowAsPlanned(true);
}

void WorkViewModel::clearClaudeInputGate(ClaudeInputGate* gate)
{
    if (claudeInputGate_ == gate)
        claudeInputGate_ = nullptr;
}

bool WorkViewModel::admitted(const ClaudeInput& input)
{
    return !claudeInputGate_ || claudeInputGate_->admit(input);
}

void WorkViewModel::perform(const ClaudeInput& input)
{
    if (input.kind == ClaudeInput::Kind::startWork)
        startWork();
    else
        sendPrompt(input.prompt, input.taskId);
}

bool WorkViewModel::startShell(QObject* terminalView)
{
    WorkTerminal* terminal = workTerminalFor(terminalView);
    if (!terminal) {
        logLine(QStringLiteral("[WorkViewModel] - Not a terminal view"));
        return false;
    }
    startShell(*terminal);
    return true;
}

void WorkViewModel::startWork()
{
    const auto path = promptFilePath();
    if (!path) {
        logPromptFileMissing();
        return;
    }
    // Held by the gate until `claude` reads: work has not started yet.
    if (!admitted(ClaudeInput::startWork()))
        return;
    setForceShowAsPlanned(false);
    UserDefaults::setBool(kHasLaunchedBefore, true);
    setHasLaunchedBefore(true);
    nativeTerminalService_.sendCommand(startOfWorkInstruction() + *path);
}

void WorkViewModel::sendPrompt(const QString& prompt)
{
    sendPrompt(prompt, std::nullopt);
}

void WorkViewModel::sendPrompt(const QString& prompt, std::optional<qint64> taskId)
{
    const auto path = promptFilePath();
    if (!path) {
        logPromptFileMissing();
        return;
    }
    // Held by the gate until `claude` reads; composed when it is typed, so a
    // `claude` started meanwhile gets the instruction first.
    if (!admitted(ClaudeInput::withPrompt(prompt, taskId)))
        return;
    if (!forceShowAsPlanned_)
        nativeTerminalService_.sendCommand(prompt);
    else
        nativeTerminalService_.sendCommand(startOfWorkInstruction() + *path + QLatin1Char('\n') + prompt);
    setForceShowAsPlanned(false);
}

AppGroupMonitorService* WorkViewModel::appGroupMonitorServiceObject() const
{
    return &appGroupMonitorService_;
}

DirectoryAccessService* WorkViewModel::directoryAccessServiceObject() const
{
    return &directoryAccessService_;
}

XcodeService* WorkViewModel::xcodeServiceObject() const
{
    return &xcodeService_;
}

NativeTerminalService* WorkViewModel::nativeTerminalServiceObject() const
{
    return &nativeTerminalService_;
}

void WorkViewModel::setForceShowAsPlanned(bool value)
{
    if (forceShowAsPlanned_ == value)
        return;
    forceShowAsPlanned_ = value;
    emit forceShowAsPlannedChanged();
}

void WorkViewModel::setHasLaunchedBefore(bool value)
{
    if (hasLaunchedBefore_ == value)
        return;
    hasLaunchedBefore_ = value;
    emit hasLaunchedBeforeChanged();
}

} // namespace orva
