#include "workspace/XcodeService.h"

#include "platform/Log.h"
#include "platform/MainThread.h"
#include "workspace/BackgroundWork.h"
#include "workspace/DirectoryAccessService.h"
#include "workspace/FolderWalk.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QPointer>

namespace orva {

namespace {
QString lastComponent(const QString& path)
{
    return path.section(QLatin1Char('/'), -1);
}

// "App.xcodeproj" -> ("App", "xcodeproj"); a name without a dot, or one that
// is only a dot and an extension, has no extension.
std::pair<QString, QString> splitExtension(const QString& name)
{
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot <= 0)
        return {name, {}};
    return {name.left(dot), name.mid(dot + 1)};
}

XcodeProjectVerdict walkForVerdict(const QString& folder)
{
    logLine(QStringLiteral("[XcodeService] Verifying project in: ") + folder);
    std::optional<QString> found;
    const bool listed = walkFolder(folder, [&](const QString& path) {
        if (backgroundWorkStopping())
            return false;
        const QString extension = splitExtension(lastComponent(path)).second;
        if (extension == QLatin1String("xcodeproj") || extension == QLatin1String("xcworkspace")) {
            found = path;
            return false;
        }
        return true;
    });
    if (!listed) {
        logLine(QStringLiteral("[XcodeService] Failed to enumerate directory"));
        return {false, std::nullopt, XcodeService::unreadableFolderMessage()};
    }
    if (!found) {
        logLine(QStringLiteral("[XcodeService] No Xcode project found in directory"));
        return {false, std::nullopt, XcodeService::noProjectMessage()};
    }
    const QString name = splitExtension(lastComponent(*found)).first;
    logLine(QStringLiteral("[XcodeService] Xcode project found: ") + name + QStringLiteral(" at ") + *found);
    return {true, name, std::nullopt};
}

// The workspace or project to open (see findXcodeProject()); any thread.
std::optional<QString> findProjectIn(const QString& folder)
{
    std::optional<QString> workspace;
    std::optional<QString> project;
    const bool listed = walkFolder(folder, [&](const QString& path) {
        if (backgroundWorkStopping())
            return false;
        if (path.endsWith(QLatin1String(".xcworkspace"))) {
            workspace = path;
            return false;
        }
        if (path.endsWith(QLatin1String(".xcodeproj")) && !project)
            project = path;
        return true;
    });
    if (!listed) {
        logLine(QStringLiteral("[XcodeService] - Failed to enumerate directory"));
        return std::nullopt;
    }
    return workspace ? workspace : project;
}

} // namespace

XcodeService& XcodeService::shared()
{
    // Kept for the life of the process.
    static XcodeService* instance = new XcodeService(DirectoryAccessService::shared());
    return *instance;
}

XcodeService::XcodeService(DirectoryAccessService& directoryAccess, QObject* parent)
    : QObject(parent)
    , directoryAccessService(directoryAccess)
    , opener_([](const QUrl& url) { return QDesktopServices::openUrl(url); })
{
    connect(&directoryAccessService, &DirectoryAccessService::selectedDirectoryChanged, this,
            &XcodeService::refreshSelectedProject);
    if (directoryAccessService.hasSelectedDirectory())
        refreshSelectedProject();
}

XcodeService::~XcodeService() = default;

QString XcodeService::noProjectMessage()
{
    return QStringLiteral("선택한 디렉토리와 하위 폴더에 Xcode 프로젝트가 없습니다.\n"
                          "(.xcodeproj 또는 .xcworkspace 파일을 찾을 수 없습니다)");
}

QString XcodeService::unreadableFolderMessage()
{
    return QStringLiteral("디렉토리를 읽는 중 오류가 발생했습니다.");
}

void XcodeService::setOpener(std::function<bool(const QUrl&)> opener)
{
    opener_ = std::move(opener);
}

std::optional<QString> XcodeService::findXcodeProject(const QString& folder) const
{
    return findProjectIn(folder);
}

XcodeProjectVerdict XcodeService::verifyXcodeProject(const QString& folder)
{
    const XcodeProjectVerdict verdict = walkForVerdict(folder);
    storeVerdict(folder, verdict);
    return verdict;
}

void XcodeService::verifyXcodeProjectAsync(const QString& folder, QObject* context,
                                           std::function<void(const XcodeProjectVerdict&)> done)
{
    QPointer<XcodeService> self(this);
    const CallbackContext caller(context);
    runInBackground([self, caller, folder, done = std::move(done)] {
        const XcodeProjectVerdict verdict = walkForVerdict(folder);
        runOnMainThread([self, caller, folder, verdict, done] {
            if (self)
                self->storeVerdict(folder, verdict);
            if (!caller.isGone() && done)
                done(verdict);
        });
    });
}

std::optional<XcodeProjectVerdict> XcodeService::cachedVerdict(const QString& folder)
{
    const auto it = cache_.constFind(folder);
    if (it != cache_.constEnd())
        return *it;
    startBackgroundVerify(folder);
    return std::nullopt;
}

void XcodeService::startBackgroundVerify(const QString& folder)
{
    if (folder.isEmpty() || pending_.contains(folder))
        return;
    pending_.insert(folder, 1);
    QPointer<XcodeService> self(this);
    runInBackground([self, folder] {
        const XcodeProjectVerdict verdict = walkForVerdict(folder);
        runOnMainThread([self, folder, verdict] {
            if (!self)
                return;
            self->pending_.remove(folder);
            self->storeVerdict(folder, verdict);
        });
    });
}

void XcodeService::storeVerdict(const QString& folder, const XcodeProjectVerdict& verdict)
{
    cache_.insert(folder, verdict);
    emit verdictReady(folder);
    updateSelectedProjectName();
}

void XcodeService::refreshSelectedProject()
{
    updateSelectedProjectName();
    const QString folder = directoryAccessService.selectedDirectory();
    if (!folder.isEmpty())
        startBackgroundVerify(folder);
}

void XcodeService::updateSelectedProjectName()
{
    const QString folder = directoryAccessService.selectedDirectory();
    QString name;
    if (!folder.isEmpty()) {
        const auto it = cache_.constFind(folder);
        if (it != cache_.constEnd() && it->projectName)
            name = *it->projectName;
    }
    if (name == selectedProjectName_)
        return;
    selectedProjectName_ = name;
    emit selectedProjectNameChanged();
}

bool XcodeService::openXcodeProject()
{
    const QString folder = directoryAccessService.selectedDirectory();
    if (folder.isEmpty()) {
        logLine(QStringLiteral("[XcodeService] - No working directory selected"));
        return false;
    }
    // The folder may hold hundreds of thousands of files: it is walked off
    // the main thread, and the project opened once found.
    QPointer<XcodeService> self(this);
    runInBackground([self, folder] {
        const auto project = findProjectIn(folder);
        runOnMainThread([self, folder, project] {
            if (!self)
                return;
            if (!project) {
                logLine(QStringLiteral("[XcodeService] - No Xcode project found in ") + folder);
                emit self->openFinished(false);
                return;
            }
            self->opener_(QUrl::fromLocalFile(*project));
            logLine(QStringLiteral("[XcodeService] - Opening Xcode project: ") + lastComponent(*project));
            emit self->openFinished(true);
        });
    });
    return true;
}

} // namespace orva
