#include "workspace/DirectoryAccessService.h"

#include "platform/AppContext.h"
#include "platform/Log.h"
#include "platform/UserDefaults.h"
#include "workspace/FileOps.h"
#include "workspace/FolderBookmark.h"

#include <QDir>
#include <QFileInfo>
#include <QPointer>
#include <QTimer>

namespace orva {

namespace {
// The panel of a service given none: there is nothing to show, and every
// panel is answered as cancelled. The application gives its Qt dialogs.
class NoFolderPanel : public FolderPanel {
public:
    void beginOpenPanel(const OpenPanelOptions&, Completion completion) override { cancel(completion); }
    void beginSavePanel(const SavePanelOptions&, Completion completion) override { cancel(completion); }

private:
    static void cancel(const Completion& completion)
    {
        logLine(QStringLiteral("[DirectoryAccessService] No folder panel to show"));
        completion(PanelResponse::cancel, {});
    }
};
} // namespace

DirectoryAccessService& DirectoryAccessService::shared()
{
    static DirectoryAccessService* instance = new DirectoryAccessService();
    return *instance;
}

DirectoryAccessService::DirectoryAccessService(std::shared_ptr<FolderPanel> panel,
                                               std::function<bool(const QString&)> accessProbe, QObject* parent)
    : QObject(parent)
    , panel_(panel ? std::move(panel) : std::make_shared<NoFolderPanel>())
    , accessProbe_(accessProbe ? std::move(accessProbe) : std::function<bool(const QString&)>(&FolderBookmark::canAccess))
{
    restoreBookmark();
}

// Folder access here is the process's own file permissions: there is no
// scoped grant to begin on restore or to end when the folder is forgotten.
DirectoryAccessService::~DirectoryAccessService() = default;

OpenPanelOptions DirectoryAccessService::selectPanelOptions()
{
    OpenPanelOptions options;
    options.canChooseFiles = false;
    options.canChooseDirectories = true;
    options.allowsMultipleSelection = false;
    options.canCreateDirectories = true;
    options.title = QStringLiteral("터미널 작업 디렉토리 선택");
    options.message = QStringLiteral("터미널이 사용할 작업 디렉토리를 선택해주세요");
    options.prompt = QStringLiteral("선택");
    options.directory = AppContext::current().homePath;
    return options;
}

SavePanelOptions DirectoryAccessService::createPanelOptions()
{
    SavePanelOptions options;
    options.canCreateDirectories = true;
    options.title = QStringLiteral("프로젝트 폴더 생성");
    options.message = QStringLiteral("Xcode 프로젝트를 생성할 새 폴더의 이름과 위치를 지정해주세요");
    options.prompt = QStringLiteral("생성");
    options.nameFieldLabel = QStringLiteral("폴더 이름:");
    options.nameFieldStringValue = QStringLiteral("MyProject");
    options.showsTagField = false;
    const QString documents = AppContext::current().documentsPath;
    if (!documents.isEmpty())
        options.directory = documents;
    return options;
}

void DirectoryAccessService::restoreBookmark()
{
    if (!UserDefaults::contains(bookmarkKey))
        return;
    const QByteArray stored = UserDefaults::data(bookmarkKey);
    QString error;
    const auto bookmark = FolderBookmark::decode(stored, &error);
    FolderBookmark::Resolution resolution = FolderBookmark::Resolution::failed;
    if (bookmark)
        resolution = bookmark->resolve(&error);
    if (resolution == FolderBookmark::Resolution::failed) {
        logLine(QStringLiteral("Failed to resolve bookmark: ") + error);
        UserDefaults::remove(bookmarkKey);
        return;
    }
    if (resolution == FolderBookmark::Resolution::stale) {
        logLine(QStringLiteral("⚠️ Bookmark is stale, need to re-select directory"));
        UserDefaults::remove(bookmarkKey);
        return;
    }
    if (!accessProbe_(bookmark->path)) {
        logLine(QStringLiteral("Failed to access security-scoped resource"));
        UserDefaults::remove(bookmarkKey);
        return;
    }
    setSelectedDirectory(bookmark->path);
    setHasAccess(true);
    setBookmark(stored);
    logLine(QStringLiteral("Restored directory access: ") + bookmark->path);
}

void DirectoryAccessService::saveBookmark(const QString& folderPath)
{
    QString error;
    const auto bookmark = FolderBookmark::create(folderPath, &error);
    if (!bookmark) {
        logLine(QStringLiteral("Failed to create bookmark: ") + error);
        return;
    }
    const QByteArray bytes = bookmark->encode();
    UserDefaults::setData(bookmarkKey, bytes);
    setBookmark(bytes);
    logLine(QStringLiteral("Security-scoped bookmark saved"));
}

void DirectoryAccessService::selectDirectory()
{
    QPointer<DirectoryAccessService> self(this);
    QTimer::singleShot(0, this, [self] {
        if (!self)
            return;
        self->panel_->beginOpenPanel(selectPanelOptions(), [self](PanelResponse response, const QString& path) {
            if (!self || response != PanelResponse::ok || path.isEmpty())
                return;
            const QString folder = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
            self->saveBookmark(folder);
            QTimer::singleShot(0, self.data(), [self, folder] {
                if (!self)
                    return;
                self->publish(folder);
                logLine(QStringLiteral("✅ Directory access granted: ") + folder);
            });
        });
    });
}

void DirectoryAccessService::createProjectDirectory()
{
    QPointer<DirectoryAccessService> self(this);
    QTimer::singleShot(0, this, [self] {
        if (!self)
            return;
        self->panel_->beginSavePanel(createPanelOptions(), [self](PanelResponse response, const QString& path) {
            if (!self || response != PanelResponse::ok || path.isEmpty())
                return;
            const QString folder = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
            QString error;
            if (!fileops::makePath(folder, &error)) {
                logLine(QStringLiteral("[DirectoryAccessService] Failed to create directory: ") + error);
                return;
            }
            self->saveBookmark(folder);
            QTimer::singleShot(0, self.data(), [self, folder] {
                if (!self)
                    return;
                self->publish(folder);
                logLine(QStringLiteral("[DirectoryAccessService] Project directory access granted: ") + folder);
            });
        });
    });
}

void DirectoryAccessService::clearDirectoryAccess()
{
    UserDefaults::remove(bookmarkKey);
    setSelectedDirectory(QString());
    setHasAccess(false);
    setBookmark(QByteArray());
}

void DirectoryAccessService::publish(const QString& folderPath)
{
    setSelectedDirectory(folderPath);
    setHasAccess(true);
}

void DirectoryAccessService::setSelectedDirectory(const QString& path)
{
    if (selectedDirectory_ == path)
        return;
    selectedDirectory_ = path;
    emit selectedDirectoryChanged();
}

void DirectoryAccessService::setHasAccess(bool value)
{
    if (hasAccess_ == value)
        return;
    hasAccess_ = value;
    emit hasAccessChanged();
}

void DirectoryAccessService::setBookmark(const QByteArray& bytes)
{
    if (bookmark_ == bytes)
        return;
    bookmark_ = bytes;
    emit securityScopedBookmarkChanged();
}

} // namespace orva
