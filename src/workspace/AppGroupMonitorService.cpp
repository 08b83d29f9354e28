#include "workspace/AppGroupMonitorService.h"

#include "platform/Log.h"
#include "workspace/AppGroupStorageService.h"
#include "workspace/BackgroundWork.h"
#include "workspace/FileOps.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QThread>

#include <sys/stat.h>

namespace orva {

namespace {
const QString kTaskPlanPath = QStringLiteral("ZAVE/project/Task.json");
const QString kInterviewStatePath = QStringLiteral("ZAVE/interview_state.json");

void log(const QString& message)
{
    logLine(QStringLiteral("[AppGroupMonitorService] - ") + message);
}

void logBare(const QString& message)
{
    logLine(QStringLiteral("[AppGroupMonitorService] ") + message);
}

bool isDirectoryKey(MonitorKey key)
{
    return key == MonitorKey::taskDashboardDirectory || key == MonitorKey::interviewStateDirectory;
}

bool isTaskKey(MonitorKey key)
{
    return key == MonitorKey::taskDashboardFile || key == MonitorKey::taskDashboardDirectory;
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

// The nearest folder at or above `path` that exists.
QString nearestExistingFolder(QString path)
{
    while (!QFileInfo(path).isDir()) {
        const QString parent = QFileInfo(path).path();
        if (parent == path)
            break;
        path = parent;
    }
    return path;
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
    , reloadTask_(this)
    , interviewStateTask_(this)
{
    registerModelMetaTypes();
    reloadTask_.setSingleShot(true);
    interviewStateTask_.setSingleShot(true);
    reloadTask_.setInterval(debounce);
    interviewStateTask_.setInterval(debounce);
    connect(&reloadTask_, &QTimer::timeout, this, &AppGroupMonitorService::loadTaskFile);
    connect(&interviewStateTask_, &QTimer::timeout, this, &AppGroupMonitorService::readInterviewState);

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
    stopAllMonitoring();
}

QVariant AppGroupMonitorService::projectValue() const
{
    return project_ ? QVariant::fromValue(*project_) : QVariant();
}

void AppGroupMonitorService::setDebounceInterval(std::chrono::milliseconds interval)
{
    reloadTask_.setInterval(interval);
    interviewStateTask_.setInterval(interval);
}

std::chrono::milliseconds AppGroupMonitorService::debounceInterval() const
{
    return reloadTask_.intervalAsDuration();
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
    return monitors_.count(key) != 0;
}

bool AppGroupMonitorService::hasInterviewStateHandler() const
{
    const auto it = monitorHandlers_.find(MonitorKey::interviewStateFile);
    return it != monitorHandlers_.end() && (!it->second.hasContext || it->second.context);
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
    startMonitoring(MonitorKey::taskDashboardDirectory, folder);
    startMonitoring(MonitorKey::taskDashboardFile, *file);
    log(QStringLiteral("Started monitoring file and directory"));
    log(QStringLiteral("Directory: ") + folder);
    log(QStringLiteral("File: ") + *file);
}

void AppGroupMonitorService::startInterviewStateMonitoring(InterviewStateHandler handler, QObject* context)
{
    if (!onOwnThread()) {
        QPointer<QObject> guard(context);
        const bool hasContext = context != nullptr;
        QMetaObject::invokeMethod(
            this,
            [this, handler = std::move(handler), guard, hasContext]() mutable {
                if (hasContext && !guard)
                    return;
                startInterviewStateMonitoring(std::move(handler), guard.data());
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
    startMonitoring(MonitorKey::interviewStateDirectory, folder);
    startMonitoring(MonitorKey::interviewStateFile, *file);
    // After the watches: starting a watch forgets the handler under its key.
    monitorHandlers_[MonitorKey::interviewStateFile] = Handler{std::move(handler), QPointer<QObject>(context), context != nullptr};
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
    interviewStateTask_.stop();
    stopMonitoring(MonitorKey::interviewStateFile);
    stopMonitoring(MonitorKey::interviewStateDirectory);
    // The handler goes even when the file itself was never watched.
    monitorHandlers_.erase(MonitorKey::interviewStateFile);
    log(QStringLiteral("Interview state monitoring stopped"));
}

bool AppGroupMonitorService::startMonitoring(MonitorKey key, const QString& path)
{
    stopMonitoring(key);
    if (isDirectoryKey(key)) {
        auto* watcher = new QFileSystemWatcher(this);
        connect(watcher, &QFileSystemWatcher::directoryChanged, this,
                [this, key](const QString& changed) { handleFolderEvent(key, changed); });
        monitors_[key] = watcher;
        monitorPaths_[key] = path;
        folderIdentities_[key] = std::nullopt;
        if (!armFolderWatch(key)) {
            logBare(QStringLiteral("Failed to open ") + path + QStringLiteral(" for monitoring"));
            return false;
        }
        logBare(QStringLiteral("Started monitoring ") + keyText(key) + QStringLiteral(" at: ") + path);
        return true;
    }
    if (!fileops::entryExists(path)) {
        logBare(QStringLiteral("Failed to open ") + path + QStringLiteral(" for monitoring"));
        return false;
    }
    auto* watcher = new QFileSystemWatcher(this);
    if (!watcher->addPath(path)) {
        delete watcher;
        logBare(QStringLiteral("Failed to open ") + path + QStringLiteral(" for monitoring"));
        return false;
    }
    connect(watcher, &QFileSystemWatcher::fileChanged, this, [this, key] { handleFileEvent(key); });
    monitors_[key] = watcher;
    monitorPaths_[key] = path;
    logBare(QStringLiteral("Started monitoring ") + keyText(key) + QStringLiteral(" at: ") + path);
    return true;
}

namespace {
std::optional<std::pair<quint64, quint64>> folderIdentity(const QString& path)
{
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0 || !S_ISDIR(info.st_mode))
        return std::nullopt;
    return std::pair<quint64, quint64>(info.st_dev, info.st_ino);
}
} // namespace

// A folder watch is on the folder itself and on its parent, so that it sees
// the folder go, and come back: a watch dropped with a deleted folder, or
// following a folder moved away, would never see the folder made again at
// its path. While the folder is missing, its nearest existing parent is
// watched instead. True when the folder itself is watched.
bool AppGroupMonitorService::armFolderWatch(MonitorKey key)
{
    QFileSystemWatcher* watcher = monitors_.at(key);
    const QString folder = monitorPaths_.at(key);
    // Things can change while the watch moves: look again until it stands.
    for (int attempt = 0; attempt < 8; ++attempt) {
        const auto identity = folderIdentity(folder);
        const QString above = nearestExistingFolder(identity ? QFileInfo(folder).path() : folder);
        QStringList wanted;
        if (identity)
            wanted << folder;
        if (above != folder)
            wanted << above;
        const QStringList watched = watcher->directories();
        for (const QString& path : watched) {
            // A folder that is not the one watched before is watched afresh:
            // the old watch follows the old folder wherever it went.
            if (!wanted.contains(path) || (path == folder && identity != folderIdentities_[key]))
                watcher->removePath(path);
        }
        for (const QString& path : wanted) {
            if (!watcher->directories().contains(path))
                watcher->addPath(path);
        }
        folderIdentities_[key] = identity;
        if (folderIdentity(folder) == identity && nearestExistingFolder(identity ? QFileInfo(folder).path() : folder) == above)
            return identity.has_value() && watcher->directories().contains(folder);
    }
    return folderIdentities_[key].has_value() && watcher->directories().contains(folder);
}

void AppGroupMonitorService::handleFolderEvent(MonitorKey key, const QString& path)
{
    const auto wanted = monitorPaths_.find(key);
    if (wanted == monitorPaths_.end())
        return;
    const bool replaced = folderIdentity(wanted->second) != folderIdentities_[key];
    if (replaced) {
        // The folder went, came back, or another took its place.
        if (armFolderWatch(key))
            logBare(QStringLiteral("Started monitoring ") + keyText(key) + QStringLiteral(" at: ") + wanted->second);
        else
            logBare(QStringLiteral("Watching ") + nearestExistingFolder(wanted->second) + QStringLiteral(" until ")
                    + wanted->second + QStringLiteral(" is there again"));
    } else if (path != wanted->second) {
        return; // something else changed beside the folder
    }
    handleFileEvent(key);
}

void AppGroupMonitorService::stopMonitoring(MonitorKey key)
{
    const auto it = monitors_.find(key);
    if (it == monitors_.end())
        return;
    QFileSystemWatcher* watcher = it->second;
    // No event of the old watch may arrive after this point.
    watcher->disconnect(this);
    watcher->deleteLater();
    monitors_.erase(it);
    monitorPaths_.erase(key);
    folderIdentities_.erase(key);
    monitorHandlers_.erase(key);
    logBare(QStringLiteral("Stopped monitoring ") + keyText(key));
}

void AppGroupMonitorService::stopAllMonitoring()
{
    reloadTask_.stop();
    interviewStateTask_.stop();
    while (!monitors_.empty())
        stopMonitoring(monitors_.begin()->first);
    logBare(QStringLiteral("All monitoring stopped"));
}

void AppGroupMonitorService::handleFileEvent(MonitorKey key)
{
    log(isDirectoryKey(key) ? QStringLiteral("Directory changed") : QStringLiteral("File content changed"));
    if (key == MonitorKey::taskDashboardDirectory)
        rearmFileWatch(MonitorKey::taskDashboardFile);
    else if (key == MonitorKey::interviewStateDirectory)
        rearmFileWatch(MonitorKey::interviewStateFile);
    if (isTaskKey(key))
        scheduleReload();
    else
        scheduleInterviewStateNotification();
}

// A file watch follows the file it was opened on: once that file is deleted
// or replaced by another moved over it, the watch falls silent, and a file
// that did not exist when watching began was never watched at all. After
// every change in the folder the file watch is opened again on whatever file
// now stands at the path, so edits made in place are not missed.
void AppGroupMonitorService::rearmFileWatch(MonitorKey fileKey)
{
    const MonitorKey folderKey =
        fileKey == MonitorKey::taskDashboardFile ? MonitorKey::taskDashboardDirectory : MonitorKey::interviewStateDirectory;
    const auto folderPath = monitorPaths_.find(folderKey);
    if (folderPath == monitorPaths_.end())
        return;
    const QString path = folderPath->second + (fileKey == MonitorKey::taskDashboardFile ? QStringLiteral("/Task.json")
                                                                                         : QStringLiteral("/interview_state.json"));
    const auto it = monitors_.find(fileKey);
    if (it != monitors_.end()) {
        QFileSystemWatcher* watcher = it->second;
        if (watcher->files().contains(path))
            watcher->removePath(path);
        if (QFileInfo(path).isFile())
            watcher->addPath(path);
        return;
    }
    if (!QFileInfo(path).isFile())
        return;
    auto* watcher = new QFileSystemWatcher(this);
    if (!watcher->addPath(path)) {
        delete watcher;
        return;
    }
    connect(watcher, &QFileSystemWatcher::fileChanged, this, [this, fileKey] { handleFileEvent(fileKey); });
    monitors_[fileKey] = watcher;
    monitorPaths_[fileKey] = path;
    logBare(QStringLiteral("Started monitoring ") + keyText(fileKey) + QStringLiteral(" at: ") + path);
}

void AppGroupMonitorService::scheduleReload()
{
    reloadTask_.start();
    log(QStringLiteral("Reload scheduled"));
}

void AppGroupMonitorService::scheduleInterviewStateNotification()
{
    interviewStateTask_.start();
    log(QStringLiteral("Interview state notification scheduled"));
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
    const auto it = monitorHandlers_.find(MonitorKey::interviewStateFile);
    if (it == monitorHandlers_.end() || !it->second.call || (it->second.hasContext && !it->second.context)) {
        logBare(QStringLiteral("Handler not found or type mismatch"));
        return;
    }
    logBare(QStringLiteral("Executing handler with content"));
    // A copy: the handler may replace itself by starting the watch again.
    const InterviewStateHandler handler = it->second.call;
    handler(content);
}

} // namespace orva
