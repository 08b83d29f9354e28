#pragma once

#include "model/ProjectModel.h"
#include "workflow/ClaudeInputGate.h"
#include "workflow/WorkflowServices.h"

#include <QObject>
#include <QString>
#include <QVariant>

#include <optional>

namespace orva {

class WorkTerminal;

// The work screen's model: starts the terminal's shell in the project folder
// and `claude` in it, types the start-of-work instruction and every later
// prompt into that terminal, and chooses the task the current-work card
// presents. With a gate in place (the terminal panel's), nothing is typed
// for `claude` unless the gate finds `claude` reading the terminal.
class WorkViewModel : public QObject {
    Q_OBJECT
    // The task whose detail popup is open (a TaskItem value); undefined when none.
    Q_PROPERTY(QVariant selectedTask READ selectedTaskValue WRITE setSelectedTaskValue NOTIFY selectedTaskChanged)
    Q_PROPERTY(bool hasSelectedTask READ hasSelectedTask NOTIFY selectedTaskChanged)
    // The next prompt carries the start-of-work instruction, and the card
    // shows its task as planned.
    Q_PROPERTY(bool forceShowAsPlanned READ forceShowAsPlanned NOTIFY forceShowAsPlannedChanged)
    // The user default "hasLaunchedBefore", followed as work starts.
    Q_PROPERTY(bool hasLaunchedBefore READ hasLaunchedBefore NOTIFY hasLaunchedBeforeChanged)
    // The task to present (a TaskItem value); undefined when none.
    Q_PROPERTY(QVariant currentTask READ currentTaskValue NOTIFY currentTaskChanged)
    Q_PROPERTY(bool hasCurrentTask READ hasCurrentTask NOTIFY currentTaskChanged)
    // Why the task plan that is there cannot be used, in Korean; empty while
    // the last read found a plan or none.
    Q_PROPERTY(QString planLoadMessage READ planLoadMessage NOTIFY planLoadMessageChanged)
    Q_PROPERTY(orva::AppGroupMonitorService* appGroupMonitorService READ appGroupMonitorServiceObject CONSTANT)
    Q_PROPERTY(orva::DirectoryAccessService* directoryAccessService READ directoryAccessServiceObject CONSTANT)
    Q_PROPERTY(orva::XcodeService* xcodeService READ xcodeServiceObject CONSTANT)
    Q_PROPERTY(orva::NativeTerminalService* nativeTerminalService READ nativeTerminalServiceObject CONSTANT)
    Q_MOC_INCLUDE("workspace/AppGroupMonitorService.h")
    Q_MOC_INCLUDE("workspace/DirectoryAccessService.h")
    Q_MOC_INCLUDE("workspace/XcodeService.h")
    Q_MOC_INCLUDE("terminal/NativeTerminalService.h")

public:
    // "    아래 경로의 명세서를 기반으로 개발을 진행하세요.\n    ", followed by the guide's path.
    static QString startOfWorkInstruction();
    // "claude --dangerously-skip-permissions\n".
    static QByteArray claudeStartCommand();
    // Milliseconds between starting the shell and typing the start command.
    static constexpr int claudeStartDelayMs = 500;

    explicit WorkViewModel(QObject* parent = nullptr);
    explicit WorkViewModel(const WorkflowServices& services, QObject* parent = nullptr);
    ~WorkViewModel() override;

    std::optional<TaskItem> selectedTask() const { return selectedTask_; }
    void setSelectedTask(std::optional<TaskItem> task);
    QVariant selectedTaskValue() const;
    void setSelectedTaskValue(const QVariant& value);
    bool hasSelectedTask() const { return selectedTask_.has_value(); }

    bool forceShowAsPlanned() const { return forceShowAsPlanned_; }
    bool hasLaunchedBefore() const { return hasLaunchedBefore_; }

    std::optional<TaskItem> currentTask() const;
    QVariant currentTaskValue() const;
    bool hasCurrentTask() const { return currentTask().has_value(); }

    QString planLoadMessage() const;

    // The full path of "ZAVE/project/CLAUDE_DEV.md" in the container; none
    // when there is no container.
    std::optional<QString> promptFilePath() const;
    Q_INVOKABLE QString promptFilePathText() const { return promptFilePath().value_or(QString()); }

    // Starts the terminal's shell in the project folder and, half a second
    // later, `claude` in it: typed at once without a gate; with one, the gate
    // types it once the shell sits at its prompt with an empty line. The QML
    // form takes the terminal panel's process terminal view. A start after
    // the model's first is a new `claude`: the next prompt carries the
    // start-of-work instruction.
    void startShell(WorkTerminal& terminal);
    Q_INVOKABLE bool startShell(QObject* terminalView);
    // The gate has started a new `claude` in the terminal: it has not read
    // the guide, so the next prompt carries the start-of-work instruction.
    void claudeStartedAgain();

    // Types the start-of-work instruction with the guide's path.
    Q_INVOKABLE void startWork();
    // Types the prompt, after the start-of-work instruction when one is due.
    Q_INVOKABLE void sendPrompt(const QString& prompt);
    // The same, for a task: presses for two tasks are two inputs even when
    // their texts are the same (an approval).
    void sendPrompt(const QString& prompt, std::optional<qint64> taskId);
    // startWork() or sendPrompt(), as the input says.
    void perform(const ClaudeInput& input);

    // The gate every input for `claude` passes; none: typed at once.
    ClaudeInputGate* claudeInputGate() const { return claudeInputGate_; }
    void setClaudeInputGate(ClaudeInputGate* gate) { claudeInputGate_ = gate; }
    // Forgets the gate, but only while it is this one.
    void clearClaudeInputGate(ClaudeInputGate* gate);
    Q_INVOKABLE void clearSelectedTask() { setSelectedTask(std::nullopt); }

    AppGroupMonitorService& appGroupMonitorService() const { return appGroupMonitorService_; }
    DirectoryAccessService& directoryAccessService() const { return directoryAccessService_; }
    AppGroupStorageService& appGroupStorageService() const { return appGroupStorageService_; }
    XcodeService& xcodeService() const { return xcodeService_; }
    NativeTerminalService& nativeTerminalService() const { return nativeTerminalService_; }

    AppGroupMonitorService* appGroupMonitorServiceObject() const;
    DirectoryAccessService* directoryAccessServiceObject() const;
    XcodeService* xcodeServiceObject() const;
    NativeTerminalService* nativeTerminalServiceObject() const;

signals:
    void selectedTaskChanged();
    void forceShowAsPlannedChanged();
    void hasLaunchedBeforeChanged();
    void currentTaskChanged();
    void planLoadMessageChanged();

private:
    void setForceShowAsPlanned(bool value);
    void setHasLaunchedBefore(bool value);

    AppGroupMonitorService& appGroupMonitorService_;
    DirectoryAccessService& directoryAccessService_;
    AppGroupStorageService& appGroupStorageService_;
    XcodeService& xcodeService_;
    NativeTerminalService& nativeTerminalService_;

    bool admitted(const ClaudeInput& input);

    std::optional<TaskItem> selectedTask_;
    bool forceShowAsPlanned_ = false;
    bool hasLaunchedBefore_ = false;
    ClaudeInputGate* claudeInputGate_ = nullptr;
    int shellStarts_ = 0;
};

// The task the current-work card presents: in the plan's order, the first in
// progress, else the first on hold, else the first planned; none otherwise.
std::optional<TaskItem> currentTaskOf(const Project& project);

} // namespace orva
