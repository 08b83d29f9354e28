#pragma once

#include "model/ProjectModel.h"
#include "platform/MainThread.h"
#include "workspace/WatchedPath.h"

#include <QObject>
#include <QString>
#include <QVariant>

#include <chrono>
#include <functional>
#include <optional>

namespace orva {

// Why the task plan that is there could not be used.
struct TaskFileError {
    enum class Kind {
        tooLarge,       // past the size read from the workspace
        notRegularFile, // a folder, FIFO, device or socket in its place
        unreadable,     // it could not be opened or read
        invalid,        // not valid UTF-8, not JSON, or not a task plan
    };
    Kind kind = Kind::invalid;
    QString detail; // the reason in words (English), as logged
    qint64 size = 0; // the file's size in bytes, when known
    bool operator==(const TaskFileError&) const = default;
};

// Watches the task plan "ZAVE/project/Task.json" and the interview state
// "ZAVE/interview_state.json", each a WatchedPath (the file and the folder
// that holds it). A burst of changes is collapsed by restarting a wait (0.5 s
// by default) before the file is read; files are read and decoded on the
// thread pool. The watches, `project` and the interview handler all live on
// the main thread: calls from other threads are carried over to it.
class AppGroupMonitorService : public QObject {
    Q_OBJECT
    // The last task plan decoded, as an orva::Project value; undefined in QML
    // (an invalid QVariant) when there is none.
    Q_PROPERTY(QVariant project READ projectValue NOTIFY projectChanged)
    Q_PROPERTY(bool hasProject READ hasProject NOTIFY projectChanged)
    // Why the task plan last read could not be used (its detail); empty when
    // the last read published a plan or found none. `project` keeps the plan
    // published before.
    Q_PROPERTY(QString taskFileErrorText READ taskFileErrorText NOTIFY taskFileErrorChanged)

public:
    enum class MonitorKey { taskDashboardFile, taskDashboardDirectory, interviewStateFile, interviewStateDirectory };
    Q_ENUM(MonitorKey)
    static QString keyText(MonitorKey key);

    using InterviewStateHandler = std::function<void(const QString& content)>;

    static AppGroupMonitorService& shared();

    // A separate instance (tests). Runs the start-up: when the task plan
    // exists it is loaded at once and watched.
    explicit AppGroupMonitorService(std::chrono::milliseconds debounce = std::chrono::milliseconds(500),
                                    QObject* parent = nullptr);
    ~AppGroupMonitorService() override;

    std::optional<Project> project() const { return project_; }
    QVariant projectValue() const;
    bool hasProject() const { return project_.has_value(); }
    std::optional<TaskFileError> taskFileError() const { return taskFileError_; }
    QString taskFileErrorText() const { return taskFileError_ ? taskFileError_->detail : QString(); }

    // Watches the task plan and its folder, replacing earlier watches.
    Q_INVOKABLE void startTaskDashboardMonitoring();

    // Watches the interview state and its folder and registers the one handler
    // that receives the file's full text after each change (replacing earlier
    // watches and handler). With a context object, the handler is dropped
    // when that object is destroyed.
    void startInterviewStateMonitoring(InterviewStateHandler handler, QObject* context = nullptr);
    Q_INVOKABLE void stopInterviewStateMonitoring();

    void setDebounceInterval(std::chrono::milliseconds interval);
    std::chrono::milliseconds debounceInterval() const;

    // Runs on the loading thread after each read of the task plan, before the
    // result is handed to the main thread (tests hold a load in flight).
    void setAfterTaskFileReadHook(std::function<void()> hook);
    // The same after each read of the interview state.
    void setAfterInterviewStateReadHook(std::function<void()> hook);

    bool isMonitoring(MonitorKey key) const;
    bool hasInterviewStateHandler() const;

signals:
    // `project` took a different value (a new plan, or none).
    void projectChanged();
    // A task plan was read and decoded and published, changed or not.
    void taskFileLoaded();
    // A task plan was there but could not be read or decoded; `project` kept
    // its value.
    void taskFileLoadFailed(const QString& reason);
    void taskFileErrorChanged();

private:
    struct Handler {
        InterviewStateHandler call;
        CallbackContext context;
    };

    std::optional<QString> appGroupFileURL(const QString& relativePath) const;
    void loadTaskFile();
    void readInterviewState();
    void runInterviewStateHandler(const QString& content);
    void setProject(std::optional<Project> value);
    void setTaskFileError(std::optional<TaskFileError> value);
    bool onOwnThread() const;

    std::optional<Project> project_;
    std::optional<TaskFileError> taskFileError_;
    WatchedPath plan_;
    WatchedPath interviewState_;
    // Kept apart from the watches: starting or moving a watch leaves it be.
    std::optional<Handler> interviewHandler_;
    std::function<void()> afterTaskFileRead_;
    std::function<void()> afterInterviewStateRead_;
    bool isLoadingFile_ = false;
    bool reloadAgain_ = false;
};

using MonitorKey = AppGroupMonitorService::MonitorKey;

} // namespace orva
