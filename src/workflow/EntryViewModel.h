#pragma once

#include "workflow/WorkflowServices.h"

#include <QObject>
#include <QString>
#include <QTimer>

#include <chrono>

#include <functional>
#include <optional>

namespace orva {

// An error the workspace preparation raises itself.
class EntryError {
public:
    enum class Kind { claudeInitializationFailed, appGroupNotAccessible };

    static EntryError claudeInitializationFailed(const QString& message) { return {Kind::claudeInitializationFailed, message}; }
    static EntryError appGroupNotAccessible() { return {Kind::appGroupNotAccessible, {}}; }

    Kind kind() const { return kind_; }
    QString message() const { return message_; }
    // "Failed to initialize Claude: <message>" or "Cannot access App Group storage".
    QString description() const;
    QString localizedDescription() const { return description(); }

private:
    EntryError(Kind kind, QString message) : kind_(kind), message_(std::move(message)) {}
    Kind kind_;
    QString message_;
};

// The entry screen's model: prepares a fresh workspace (empties
// "ZAVE/project", forgets the project folder, installs the prompt documents)
// and opens the project's `claude` conversation; only then may the idea be
// submitted.
class EntryViewModel : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool isInitializing READ isInitializing NOTIFY isInitializingChanged)
    // The description of the error that ended the last preparation; empty when none.
    Q_PROPERTY(QString initializationError READ initializationError NOTIFY initializationErrorChanged)
    Q_PROPERTY(bool hasInitializationError READ hasInitializationError NOTIFY initializationErrorChanged)
    Q_PROPERTY(bool isReadyForInterview READ isReadyForInterview NOTIFY isReadyForInterviewChanged)
    Q_PROPERTY(QString userInitialInput READ userInitialInput NOTIFY userInitialInputChanged)
    Q_PROPERTY(bool hasUserSubmitted READ hasUserSubmitted NOTIFY hasUserSubmittedChanged)
    Q_PROPERTY(bool hasStartedPreparation READ hasStartedPreparation NOTIFY hasStartedPreparationChanged)
    // The opening call to `claude` has had no answer for waitingNoticeDelay
    // and still runs; the screen then says that it waits for claude.
    Q_PROPERTY(bool isWaitingLong READ isWaitingLong NOTIFY isWaitingLongChanged)
    // How long the opening call runs before it counts as a long wait, in
    // milliseconds (kWaitingNoticeDelay; tests make it short).
    Q_PROPERTY(int waitingNoticeDelay READ waitingNoticeDelay WRITE setWaitingNoticeDelay NOTIFY waitingNoticeDelayChanged)

public:
    // A reply to the opening prompt comes within seconds; logged out,
    // `claude` says so within one. Offline it waits minutes before it fails,
    // and after this long a person is told what the spinner waits for.
    static constexpr std::chrono::milliseconds kWaitingNoticeDelay{20000};

    explicit EntryViewModel(QObject* parent = nullptr);
    explicit EntryViewModel(const WorkflowServices& services, QObject* parent = nullptr);
    ~EntryViewModel() override;

    bool isInitializing() const { return isInitializing_; }
    QString initializationError() const { return initializationError_.value_or(QString()); }
    bool hasInitializationError() const { return initializationError_.has_value(); }
    bool isReadyForInterview() const { return isReadyForInterview_; }
    QString userInitialInput() const { return userInitialInput_; }
    bool hasUserSubmitted() const { return hasUserSubmitted_; }
    bool hasStartedPreparation() const { return hasStartedPreparation_; }
    bool isWaitingLong() const { return isWaitingLong_; }
    int waitingNoticeDelay() const { return waitingNoticeDelay_; }
    // Takes effect from the next opening call.
    void setWaitingNoticeDelay(int milliseconds);

    ClaudeProcessService& claudeService() const { return claudeService_; }
    PromptFileService& promptService() const { return promptService_; }
    DirectoryAccessService& directoryAccessService() const { return directoryAccessService_; }

    // Starts one preparation per instance (until reset()); returns at once.
    Q_INVOKABLE void startPreparation();

    // The preparation; `done` runs when it has ended, either way.
    void initialize(std::function<void()> done = {});

    // Clears the flags, the error and the input; a running preparation goes on.
    Q_INVOKABLE void reset();

    // Accepts the idea once the workspace is ready and the text is not blank;
    // returns whether it did.
    Q_INVOKABLE bool submitUserInput(const QString& text);

signals:
    void isInitializingChanged();
    void initializationErrorChanged();
    void isReadyForInterviewChanged();
    void userInitialInputChanged();
    void hasUserSubmittedChanged();
    void hasStartedPreparationChanged();
    void isWaitingLongChanged();
    void waitingNoticeDelayChanged();
    // A preparation has ended (successfully or not).
    void preparationFinished();

private:
    void fail(const QString& description);
    void setInitializing(bool value);
    void setInitializationError(std::optional<QString> value);
    void setReadyForInterview(bool value);
    void setUserInitialInput(const QString& value);
    void setHasUserSubmitted(bool value);
    void setHasStartedPreparation(bool value);
    void setWaitingLong(bool value);
    void stopWaitingNotice();

    ClaudeProcessService& claudeService_;
    PromptFileService& promptService_;
    DirectoryAccessService& directoryAccessService_;
    AppGroupStorageService& storage_;
    AppGroupMonitorService& monitor_;

    bool isInitializing_ = false;
    std::optional<QString> initializationError_;
    bool isReadyForInterview_ = false;
    QString userInitialInput_;
    bool hasUserSubmitted_ = false;
    bool hasStartedPreparation_ = false;
    bool isWaitingLong_ = false;
    int waitingNoticeDelay_ = static_cast<int>(kWaitingNoticeDelay.count());
    QTimer waitingTimer_;
};

} // namespace orva
