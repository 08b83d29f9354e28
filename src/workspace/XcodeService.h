#pragma once

#include <QHash>
#include <QObject>
#include <QString>
#include <QUrl>

#include <functional>
#include <optional>

namespace orva {

class DirectoryAccessService;

// Whether a folder holds an Xcode project: a name when it does, an error text
// to show when it does not.
struct XcodeProjectVerdict {
    bool isValid = false;
    std::optional<QString> projectName;
    std::optional<QString> errorMessage;
    bool operator==(const XcodeProjectVerdict&) const = default;
};

// Looks for the Xcode project inside the project folder and opens it.
// The walk never follows symbolic links, skips folders it cannot read and
// visits each folder once.
class XcodeService : public QObject {
    Q_OBJECT
    // Name of the project in DirectoryAccessService's selected folder, empty
    // when there is no folder or no project. Worked out off the main thread
    // whenever the folder changes, so screens may read it on every redraw.
    Q_PROPERTY(QString selectedProjectName READ selectedProjectName NOTIFY selectedProjectNameChanged)

public:
    static XcodeService& shared();

    explicit XcodeService(DirectoryAccessService& directoryAccessService, QObject* parent = nullptr);
    ~XcodeService() override;

    DirectoryAccessService& directoryAccessService;

    // The workspace or project to open: the first ".xcworkspace" met anywhere,
    // else the first ".xcodeproj"; none when there is neither.
    std::optional<QString> findXcodeProject(const QString& folder) const;

    // Walks the folder now (on the caller's thread) and returns the verdict;
    // also refreshes the cached verdict and selectedProjectName.
    XcodeProjectVerdict verifyXcodeProject(const QString& folder);

    // The same walk on the thread pool; `done` runs on the main thread with
    // the verdict, unless `context` has been destroyed by then.
    void verifyXcodeProjectAsync(const QString& folder, QObject* context,
                                 std::function<void(const XcodeProjectVerdict&)> done);

    // The verdict without blocking: the last one worked out for the folder,
    // or none while it is being worked out off the main thread
    // (verdictReady() follows).
    std::optional<XcodeProjectVerdict> cachedVerdict(const QString& folder);

    // Opens the project of the selected folder in the registered application.
    // The folder is walked off the main thread: false at once when no folder
    // is selected; otherwise true, and openFinished() follows on the main
    // thread once the project was opened or found missing.
    Q_INVOKABLE bool openXcodeProject();

    QString selectedProjectName() const { return selectedProjectName_; }
    // Works the selected folder's verdict out again, off the main thread.
    Q_INVOKABLE void refreshSelectedProject();

    // Replaces the call that opens a location (tests).
    void setOpener(std::function<bool(const QUrl&)> opener);

    static QString noProjectMessage();
    static QString unreadableFolderMessage();

signals:
    void selectedProjectNameChanged();
    void verdictReady(const QString& folder);
    void openFinished(bool opened);

private:
    void storeVerdict(const QString& folder, const XcodeProjectVerdict& verdict);
    void startBackgroundVerify(const QString& folder);
    void updateSelectedProjectName();

    std::function<bool(const QUrl&)> opener_;
    QHash<QString, XcodeProjectVerdict> cache_;
    QHash<QString, int> pending_;
    QString selectedProjectName_;
};

} // namespace orva
