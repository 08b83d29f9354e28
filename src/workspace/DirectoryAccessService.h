#pragma once

#include "workspace/FolderPanel.h"

#include <QByteArray>
#include <QObject>
#include <QString>

#include <functional>
#include <memory>

namespace orva {

// The user's project folder: chosen or created through folder panels,
// remembered across launches under the user default
// "TerminalDirectoryBookmark" (a FolderBookmark record), restored at start-up.
// Properties change on the main thread only.
class DirectoryAccessService : public QObject {
    Q_OBJECT
    // Absolute path of the project folder; empty when none is selected.
    Q_PROPERTY(QString selectedDirectory READ selectedDirectory NOTIFY selectedDirectoryChanged)
    Q_PROPERTY(bool hasAccess READ hasAccess NOTIFY hasAccessChanged)
    Q_PROPERTY(QByteArray securityScopedBookmark READ securityScopedBookmark NOTIFY securityScopedBookmarkChanged)

public:
    static DirectoryAccessService& shared();

    // A separate instance (tests, screens under test). Runs restoreBookmark().
    // Without a panel, every panel is answered as cancelled (the application
    // gives its Qt file dialogs). `accessProbe` replaces the
    // check that a restored folder can be opened (tests running with the
    // privilege to open any folder); by default the folder is opened.
    explicit DirectoryAccessService(std::shared_ptr<FolderPanel> panel = {},
                                    std::function<bool(const QString&)> accessProbe = {}, QObject* parent = nullptr);
    ~DirectoryAccessService() override;

    const QString bookmarkKey = QStringLiteral("TerminalDirectoryBookmark");

    QString selectedDirectory() const { return selectedDirectory_; }
    bool hasSelectedDirectory() const { return !selectedDirectory_.isEmpty(); }
    bool hasAccess() const { return hasAccess_; }
    QByteArray securityScopedBookmark() const { return bookmark_; }

    // Show the panel later on the main thread and return at once; the choice
    // is applied when the user confirms.
    Q_INVOKABLE void selectDirectory();
    Q_INVOKABLE void createProjectDirectory();

    void saveBookmark(const QString& folderPath);
    void restoreBookmark();
    Q_INVOKABLE void clearDirectoryAccess();

    // The panel settings, as shown.
    static OpenPanelOptions selectPanelOptions();
    static SavePanelOptions createPanelOptions();

signals:
    void selectedDirectoryChanged();
    void hasAccessChanged();
    void securityScopedBookmarkChanged();

private:
    void publish(const QString& folderPath);
    void setSelectedDirectory(const QString& path);
    void setHasAccess(bool value);
    void setBookmark(const QByteArray& bytes);

    std::shared_ptr<FolderPanel> panel_;
    std::function<bool(const QString&)> accessProbe_;
    QString selectedDirectory_;
    bool hasAccess_ = false;
    QByteArray bookmark_;
};

} // namespace orva
