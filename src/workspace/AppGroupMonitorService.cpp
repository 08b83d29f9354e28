#include "workspace/AppGroupMonitorService.h"

#include "platform/Log.h"
#include "workspace/AppGroupStorageService.h"
#include "platform/MainThread.h"
#include "workspace/BackgroundWork.h"
#include "workspace/FileOps.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QThread>

namespace orva {

namespace {
const QString kTaskPlanPath = QStringLiteral("ZAVE/project/Task.json");
const QString kInterviewStatePath = QStringLiteral("ZAVE/interview_state.json");

const QString kLogTag = QStringLiteral("[AppGroupMonitorService]");

void log(const QString& message)
{
    logLine(kLogTag + QStringLiteral(" - ") + message);
}

void logBare(const QString& message)
{
    logLine(kLogTag + QLatin1Char(' ') + message);
}

// What one read of the task plan found.
struct TaskFileRead {
    enum class Outcome { missing, loaded, failed } outcome = Outcome::missing;
    Project project;
    TaskFileError error;
};

TaskFileError::Kind errorKind(fileops::FileBytes::Status status)
{
    switch (status) {
    case fileops::FileBytes::Status::tooLarge:
        return TaskFileError::Kind::tooLarge;
    case fileops::FileBytes::Status::notRegularFile:
        return TaskFileError::Kind::notRegularFile;
    case fileops::FileBytes::Status::read:
    case fileops::FileBytes::Status::missing:
    case fileops::FileBytes::Status::unreadable:
        break;
    }
    return TaskFileError::Kind::unreadable;
}

// Reads and decodes the task plan; runs on a worker thread, and once on the
// main thread at start-up. The reader gets the file's own bytes: one
// byte-order mark at most, and offsets in its errors are offsets in the file.
TaskFileRead readTaskFile(const QString& path)
{
    TaskFileRead read;
    const fileops::FileBytes file = fileops::readFileBytes(path);
    if (file.status == fileops::FileBytes::Status::missing)
        return read;
    std::optional<ProjectWrapper> wrapper;
    if (file.status == fileops::FileBytes::Status::read) {
        QString error;
        wrapper = decodeProjectWrapper(file.bytes, &error);
        if (!wrapper)
            read.error = TaskFileError{TaskFileError::Kind::invalid, error, file.size};
    } else {
        read.error = TaskFileError{errorKind(file.status), file.error, file.size};
    }
    if (!wrapper) {
        read.outcome = TaskFileRead::Outcome::failed;
        log(QStringLiteral("Error loading file: ") + read.error.detail);
        return read;
    }
    read.outcome = TaskFileRead::Outcome::loaded;
    read.project = wrapper->project;
    log(QStringLiteral("File loaded: ") + read.project.name);
    log(QStringLiteral("Total tasks: ") + QString::number(read.project.totalTaskCount()));
    log(QStringLiteral("Completed tasks: ") + QString::number(read.project.completedTaskCount()));
    return read;
}

} // namespace

QString AppGroupMonitorService::keyText(MonitorKey key)
{
    switch (key) {
    case MonitorKey::taskDashboardFile:
        return QStringLiteral("taskDashboardFile");
    case MonitorKey::taskDashboardDirectory:
        return QStringLiteral("taskDashboardDirectory");
    case MonitorKey::interviewStateFile:
        return QStringLiteral("interviewStateFile");
    case MonitorKey::interviewStateDirectory:
        return QStringLiteral("interviewStateDirectory");
    }
    return {};
}

AppGroupMonitorService& AppGroupMonitorService::shared()
{
    // Kept for the life of the process.
    static AppGroupMonitorService* instance = [] {
        auto* monitor = new AppGroupMonitorService();
        if (QCoreApplication::instance() && monitor->thread() != QCoreApplication::instance()->thread())
            monitor->moveToThread(QCoreApplication::instance()->thread());
        return monitor;
    }();
    return *instance;
}

AppGroupMonitorService::AppGroupMonitorService(std::chrono::milliseconds debounce, QObject* parent)
    : QObject(parent)
    , plan_({kLogTag, keyText(MonitorKey::taskDashboardFile), keyText(MonitorKey::taskDashboardDirectory),
             QStringLiteral("Reload scheduled")},
            debounce, this)
    , interviewState_({kLogTag, keyText(MonitorKey::interviewStateFile), keyText(MonitorKey::interviewStateDirectory),
                       QStringLiteral("Interview state notification scheduled")},
                      debounce, this)
{
    registerModelMetaTypes();
    connect(&plan_, &WatchedPath::changed, this, &AppGroupMonitorService::loadTaskFile);
    connect(&interviewState_, &WatchedPath::changed, this, &AppGroupMonitorService::readInterviewState);

    const auto taskPlan = appGroupFileURL(kTaskPlanPath);
    if (!taskPlan)
        return;
    const auto container = AppGroupStorageService::containerPath();
    if (!container)
        return;
    log(QStringLiteral("App Group container: ") + *container);
    log(QStringLiteral("File path: ") + *taskPlan);
    if (fileops::entryExists(*taskPlan)) {
        // The first plan is there before the first screen is chosen. Whatever
        // stands at the path is read as a plan, never waited on: one that
        // cannot be used is reported, and watched until it can.
        const TaskFileRead read = readTaskFile(*taskPlan);
        if (read.outcome == TaskFileRead::Outcome::loaded) {
            setProject(read.project);
            emit taskFileLoaded();
        } else if (read.outcome == TaskFileRead::Outcome::failed) {
            setTaskFileError(read.error);
        }
        startTaskDashboardMonitoring();
    }
}

AppGroupMonitorService::~AppGroupMonitorService()
{
    plan_.stop();
    interviewState_.stop();
    logBare(QStringLiteral("All monitoring stopped"));
}

QVariant AppGroupMonitorService::projectValue() const
{
    return project_ ? QVariant::fromValue(*project_) : QVariant();
}

void AppGroupMonitorService::setDebounceInterval(std::chrono::milliseconds interval)
{
    plan_.setDebounceInterval(interval);
    interviewState_.setDebounceInterval(interval);
}

std::chrono::milliseconds AppGroupMonitorService::debounceInterval() const
{
    return plan_.debounceInterval();
}

void AppGroupMonitorService::setAfterTaskFileReadHook(std::function<void()> hook)
{
    afterTaskFileRead_ = std::move(hook);
}

void AppGroupMonitorService::setAfterInterviewStateReadHook(std::function<void()> hook)
{
    afterInterviewStateRead_ = std::move(hook);
}

bool AppGroupMonitorService::isMonitoring(MonitorKey key) const
{
    switch (key) {
    case MonitorKey::taskDashboardFile:
        return plan_.isWatchingFile();
    case MonitorKey::taskDashboardDirectory:
        return plan_.isWatchingFolder();
    case MonitorKey::interviewStateFile:
        return interviewState_.isWatchingFile();
    case MonitorKey::interviewStateDirectory:
        return interviewState_.isWatchingFolder();
    }
    return false;
}

bool AppGroupMonitorService::hasInterviewStateHandler() const
{
    return interviewHandler_ && !interviewHandler_->context.isGone();
}

bool AppGroupMonitorService::onOwnThread() const
{
    return QThread::currentThread() == thread();
}

std::optional<QString> AppGroupMonitorService::appGroupFileURL(const QString& relativePath) const
{
    const auto container = AppGroupStorageService::containerPath();
    if (!container)
        return std::nullopt;
    return QDir::cleanPath(*container + QLatin1Char('/') + relativePath);
}

void AppGroupMonitorService::startTaskDashboardMonitoring()
{
    if (!onOwnThread()) {
        QMetaObject::invokeMethod(this, &AppGroupMonitorService::startTaskDashboardMonitoring, Qt::QueuedConnection);
        return;
    }
    const auto file = appGroupFileURL(kTaskPlanPath);
    if (!file) {
        log(QStringLiteral("Cannot start monitoring: no file URL"));
        return;
    }
    const QString folder = QFileInfo(*file).path();
    plan_.start(*file);
    log(QStringLiteral("Started monitoring file and directory"));
    log(QStringLiteral("Directory: ") + folder);
    log(QStringLiteral("File: ") + *file);
}

void AppGroupMonitorService::startInterviewStateMonitoring(InterviewStateHandler handler, QObject* context)
{
    if (!onOwnThread()) {
        const CallbackContext caller(context);
        QMetaObject::invokeMethod(
            this,
            [this, handler = std::move(handler), caller]() mutable {
                if (!caller.isGone())
                    startInterviewStateMonitoring(std::move(handler), caller.object());
            },
            Qt::QueuedConnection);
        return;
    }
    const auto file = appGroupFileURL(kInterviewStatePath);
    if (!file) {
        logBare(QStringLiteral("Cannot start monitoring: no file URL"));
        return;
    }
    const QString folder = QFileInfo(*file).path();
    interviewHandler_ = Handler{std::move(handler), CallbackContext(context)};
    interviewState_.start(*file);
    log(QStringLiteral("Started monitoring interview_state.json file and directory"));
    log(QStringLiteral("Directory: ") + folder);
    log(QStringLiteral("File: ") + *file);
}

void AppGroupMonitorService::stopInterviewStateMonitoring()
{
    if (!onOwnThread()) {
        QMetaObject::invokeMethod(this, &AppGroupMonitorService::stopInterviewStateMonitoring, Qt::QueuedConnection);
        return;
    }
    interviewState_.stop();
    interviewHandler_.reset();
    log(QStringLiteral("Interview state monitoring stopped"));
}

void AppGroupMonitorService::loadTaskFile()
{
    if (isLoadingFile_) {
        // The load in flight has read the file already; read it once more
        // after it is published so this change is not lost.
        reloadAgain_ = true;
        return;
    }
    const auto path = appGroupFileURL(kTaskPlanPath);
    if (!path)
        return;
    isLoadingFile_ = true;
    QPointer<AppGroupMonitorService> self(this);
    runInBackground([self, path = *path, hook = afterTaskFileRead_] {
        const TaskFileRead read = readTaskFile(path);
        if (hook)
            hook();
        runOnMainThread([self, read] {
            if (!self)
                return;
            if (read.outcome == TaskFileRead::Outcome::loaded) {
                self->setTaskFileError(std::nullopt);
                self->setProject(read.project);
                emit self->taskFileLoaded();
            } else if (read.outcome == TaskFileRead::Outcome::failed) {
                // Whatever stands there now, the last good plan stays.
                self->setTaskFileError(read.error);
                emit self->taskFileLoadFailed(read.error.detail);
            } else {
                // No plan on disk any more: keep none rather than a stale one.
                self->setTaskFileError(std::nullopt);
                self->setProject(std::nullopt);
            }
            self->isLoadingFile_ = false;
            if (self->reloadAgain_) {
                self->reloadAgain_ = false;
                self->loadTaskFile();
            }
        });
    });
}

void AppGroupMonitorService::setProject(std::optional<Project> value)
{
    if (project_ == value)
        return;
    project_ = std::move(value);
    emit projectChanged();
}

void AppGroupMonitorService::setTaskFileError(std::optional<TaskFileError> value)
{
    if (taskFileError_ == value)
        return;
    taskFileError_ = std::move(value);
    emit taskFileErrorChanged();
}

void AppGroupMonitorService::readInterviewState()
{
    // The location is resolved here, on the main thread; the pool only reads.
    const auto location = appGroupFileURL(kInterviewStatePath);
    if (!location) {
        logBare(QStringLiteral("Interview state file not found or empty"));
        return;
    }
    QPointer<AppGroupMonitorService> self(this);
    runInBackground([self, location = *location, hook = afterInterviewStateRead_] {
        const auto text = AppGroupStorageService::loadFileAt(location, QStringLiteral("interview_state.json"));
        if (hook)
            hook();
        if (!text || text->isEmpty()) {
            logBare(QStringLiteral("Interview state file not found or empty"));
            return;
        }
        runOnMainThread([self, content = *text] {
            if (!self) {
                logBare(QStringLiteral("Self is nil"));
                return;
            }
            self->runInterviewStateHandler(content);
        });
    });
}

void AppGroupMonitorService::runInterviewStateHandler(const QString& content)
{
    if (!interviewHandler_ || !interviewHandler_->call || interviewHandler_->context.isGone()) {
        logBare(QStringLiteral("Handler not found or type mismatch"));
        return;
    }
    logBare(QStringLiteral("Executing handler with content"));
    // A copy: the handler may replace itself by starting the watch again.
    const InterviewStateHandler handler = interviewHandler_->call;
    handler(content);
}

} // namespace orva
