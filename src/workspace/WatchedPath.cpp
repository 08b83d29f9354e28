#include "workspace/WatchedPath.h"

#include "platform/Log.h"
#include "workspace/FileOps.h"

#include <QFile>
#include <QFileInfo>
#include <QFileSystemWatcher>

#include <sys/stat.h>

namespace orva {

namespace {
std::optional<std::pair<quint64, quint64>> folderIdentity(const QString& path)
{
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0 || !S_ISDIR(info.st_mode))
        return std::nullopt;
    return std::pair<quint64, quint64>(info.st_dev, info.st_ino);
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

// A watcher no event of which may arrive after this point.
void retire(QFileSystemWatcher*& watcher, QObject* receiver)
{
    watcher->disconnect(receiver);
    watcher->deleteLater();
    watcher = nullptr;
}
} // namespace

WatchedPath::WatchedPath(Names names, std::chrono::milliseconds debounce, QObject* parent)
    : QObject(parent)
    , names_(std::move(names))
    , debounce_(this)
{
    debounce_.setSingleShot(true);
    debounce_.setInterval(debounce);
    connect(&debounce_, &QTimer::timeout, this, &WatchedPath::changed);
}

WatchedPath::~WatchedPath()
{
    stop();
}

void WatchedPath::logBare(const QString& message) const
{
    logLine(names_.logTag + QLatin1Char(' ') + message);
}

void WatchedPath::start(const QString& filePath)
{
    file_ = filePath;
    folder_ = QFileInfo(filePath).path();
    startFolderWatch();
    startFileWatch();
}

void WatchedPath::stop()
{
    debounce_.stop();
    stopFileWatch();
    stopFolderWatch();
}

void WatchedPath::stopFileWatch()
{
    if (!fileWatcher_)
        return;
    retire(fileWatcher_, this);
    logBare(QStringLiteral("Stopped monitoring ") + names_.file);
}

void WatchedPath::stopFolderWatch()
{
    if (!folderWatcher_)
        return;
    retire(folderWatcher_, this);
    folderIdentity_ = std::nullopt;
    logBare(QStringLiteral("Stopped monitoring ") + names_.folder);
}

void WatchedPath::startFolderWatch()
{
    stopFolderWatch();
    folderWatcher_ = new QFileSystemWatcher(this);
    connect(folderWatcher_, &QFileSystemWatcher::directoryChanged, this, &WatchedPath::handleFolderEvent);
    if (!armFolderWatch()) {
        logBare(QStringLiteral("Failed to open ") + folder_ + QStringLiteral(" for monitoring"));
        return;
    }
    logBare(QStringLiteral("Started monitoring ") + names_.folder + QStringLiteral(" at: ") + folder_);
}

void WatchedPath::startFileWatch()
{
    stopFileWatch();
    if (!fileops::entryExists(file_) || !openFileWatch())
        logBare(QStringLiteral("Failed to open ") + file_ + QStringLiteral(" for monitoring"));
}

bool WatchedPath::openFileWatch()
{
    auto* watcher = new QFileSystemWatcher(this);
    if (!watcher->addPath(file_)) {
        delete watcher;
        return false;
    }
    connect(watcher, &QFileSystemWatcher::fileChanged, this, [this] { handleEvent(false); });
    fileWatcher_ = watcher;
    logBare(QStringLiteral("Started monitoring ") + names_.file + QStringLiteral(" at: ") + file_);
    return true;
}

// The folder watch is on the folder itself and on its parent, so that it sees
// the folder go, and come back: a watch dropped with a deleted folder, or
// following a folder moved away, would never see the folder made again at
// its path. While the folder is missing, its nearest existing parent is
// watched instead. True when the folder itself is watched.
bool WatchedPath::armFolderWatch()
{
    QFileSystemWatcher* watcher = folderWatcher_;
    // Things can change while the watch moves: look again until it stands.
    for (int attempt = 0; attempt < 8; ++attempt) {
        const auto identity = folderIdentity(folder_);
        const QString above = nearestExistingFolder(identity ? QFileInfo(folder_).path() : folder_);
        QStringList wanted;
        if (identity)
            wanted << folder_;
        if (above != folder_)
            wanted << above;
        const QStringList watched = watcher->directories();
        for (const QString& path : watched) {
            // A folder that is not the one watched before is watched afresh:
            // the old watch follows the old folder wherever it went.
            if (!wanted.contains(path) || (path == folder_ && identity != folderIdentity_))
                watcher->removePath(path);
        }
        for (const QString& path : wanted) {
            if (!watcher->directories().contains(path))
                watcher->addPath(path);
        }
        folderIdentity_ = identity;
        if (folderIdentity(folder_) == identity
            && nearestExistingFolder(identity ? QFileInfo(folder_).path() : folder_) == above)
            return identity.has_value() && watcher->directories().contains(folder_);
    }
    return folderIdentity_.has_value() && watcher->directories().contains(folder_);
}

void WatchedPath::handleFolderEvent(const QString& path)
{
    if (folderIdentity(folder_) != folderIdentity_) {
        // The folder went, came back, or another took its place.
        if (armFolderWatch())
            logBare(QStringLiteral("Started monitoring ") + names_.folder + QStringLiteral(" at: ") + folder_);
        else
            logBare(QStringLiteral("Watching ") + nearestExistingFolder(folder_) + QStringLiteral(" until ") + folder_
                    + QStringLiteral(" is there again"));
    } else if (path != folder_) {
        return; // something else changed beside the folder
    }
    handleEvent(true);
}

void WatchedPath::handleEvent(bool inFolder)
{
    logLine(names_.logTag + QStringLiteral(" - ")
            + (inFolder ? QStringLiteral("Directory changed") : QStringLiteral("File content changed")));
    if (inFolder)
        rearmFileWatch();
    debounce_.start();
    logLine(names_.logTag + QStringLiteral(" - ") + names_.scheduled);
}

// A file watch follows the file it was opened on: once that file is deleted
// or replaced by another moved over it, the watch falls silent, and a file
// that did not exist when watching began was never watched at all. After
// every change in the folder the file watch is opened again on whatever file
// now stands at the path, so edits made in place are not missed.
void WatchedPath::rearmFileWatch()
{
    if (fileWatcher_) {
        if (fileWatcher_->files().contains(file_))
            fileWatcher_->removePath(file_);
        if (QFileInfo(file_).isFile())
            fileWatcher_->addPath(file_);
        return;
    }
    if (QFileInfo(file_).isFile())
        openFileWatch();
}

} // namespace orva
