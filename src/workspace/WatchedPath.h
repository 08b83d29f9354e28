#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

#include <chrono>
#include <optional>
#include <utility>

class QFileSystemWatcher;

namespace orva {

// Watches one file together with the folder that holds it, through the
// file's deletion, its re-creation and its replacement by another moved over
// it, and through the folder's own deletion, move and re-creation. A burst of
// changes is collapsed by restarting a wait (the debounce) before changed()
// is emitted. Lives on the thread that created it, like its watchers.
class WatchedPath : public QObject {
    Q_OBJECT

public:
    // What the log calls this watch and its parts.
    struct Names {
        QString logTag;    // "[Owner]"
        QString file;      // the file watch, e.g. "taskDashboardFile"
        QString folder;    // the folder watch
        QString scheduled; // logged when a change starts the wait
    };

    explicit WatchedPath(Names names, std::chrono::milliseconds debounce, QObject* parent = nullptr);
    ~WatchedPath() override;

    // Watches `filePath` and its folder, replacing earlier watches. The file
    // is watched once it exists; a change waiting on the debounce stays.
    void start(const QString& filePath);
    // Ends both watches and drops a change waiting on the debounce.
    void stop();

    bool isWatchingFile() const { return fileWatcher_ != nullptr; }
    bool isWatchingFolder() const { return folderWatcher_ != nullptr; }

    void setDebounceInterval(std::chrono::milliseconds interval) { debounce_.setInterval(interval); }
    std::chrono::milliseconds debounceInterval() const { return debounce_.intervalAsDuration(); }

signals:
    // The file or its folder changed, and then nothing for a whole wait.
    void changed();

private:
    // A folder's identity: device and inode.
    using FolderIdentity = std::pair<quint64, quint64>;

    void startFolderWatch();
    void startFileWatch();
    bool openFileWatch();
    void stopFileWatch();
    void stopFolderWatch();
    bool armFolderWatch();
    void rearmFileWatch();
    void handleFolderEvent(const QString& path);
    void handleEvent(bool inFolder);
    void logBare(const QString& message) const;

    Names names_;
    QString file_;
    QString folder_;
    QFileSystemWatcher* fileWatcher_ = nullptr;
    QFileSystemWatcher* folderWatcher_ = nullptr;
    // The folder the folder watch is on, when it exists.
    std::optional<FolderIdentity> folderIdentity_;
    QTimer debounce_;
};

} // namespace orva
