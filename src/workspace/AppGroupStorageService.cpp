#include "workspace/AppGroupStorageService.h"

#include "platform/AppContext.h"
#include "platform/Log.h"
#include "workspace/FileOps.h"

#include <QDir>
#include <QFileInfo>

namespace orva {

namespace {
const QString kTag = QStringLiteral("[AppGroupStorageService] - ");

void log(const QString& message)
{
    logLine(kTag + message);
}

void logNoContainer()
{
    log(QStringLiteral("App Group 컨테이너를 찾을 수 없습니다"));
}

QString joinPath(const QString& base, const QString& relative)
{
    return QDir::cleanPath(base + QLatin1Char('/') + relative);
}
} // namespace

AppGroupStorageService& AppGroupStorageService::shared()
{
    static AppGroupStorageService instance;
    return instance;
}

AppGroupStorageService::AppGroupStorageService()
{
    initializeDirectories();
}

std::optional<QString> AppGroupStorageService::containerPath()
{
    const QString path = AppContext::current().containerPath;
    if (path.isEmpty())
        return std::nullopt;
    // The platform hands out the container ready to use; make sure it exists.
    if (!QFileInfo(path).isDir() && !fileops::makePath(path, nullptr))
        return std::nullopt;
    return QDir::cleanPath(path);
}

std::optional<QString> AppGroupStorageService::url(const QString& fileName, const QString& directory) const
{
    const auto container = containerPath();
    if (!container)
        return std::nullopt;
    return joinPath(*container, directory + QLatin1Char('/') + fileName);
}

std::optional<QString> AppGroupStorageService::loadFile(const QString& fileName, const QString& directory) const
{
    const auto location = url(fileName, directory);
    if (!location)
        return std::nullopt;
    return loadFileAt(*location, fileName);
}

std::optional<QString> AppGroupStorageService::loadFileAt(const QString& location, const QString& fileName)
{
    QString error;
    auto text = fileops::readUtf8File(location, &error);
    if (!text) {
        log(QStringLiteral("파일 불러오기 실패: ") + error);
        return std::nullopt;
    }
    log(fileName + QStringLiteral(" 파일 불러오기 완료: ") + location);
    return text;
}

void AppGroupStorageService::saveFile(const QString& content, const QString& fileName, const QString& directory) const
{
    const auto location = url(fileName, directory);
    if (!location)
        return;
    const QString parent = QFileInfo(*location).path();
    if (!QFileInfo(parent).isDir()) {
        QString error;
        if (!fileops::makePath(parent, &error)) {
            log(QStringLiteral("디렉토리 생성 실패: ") + error);
            return;
        }
        log(QStringLiteral("디렉토리 생성 완료: ") + parent);
    }
    QString error;
    if (!fileops::writeFileAtomically(*location, content.toUtf8(), &error)) {
        log(fileName + QStringLiteral(" 저장 실패: ") + error);
        return;
    }
    log(fileName + QStringLiteral(" 저장 완료: ") + *location);
}

std::optional<QString> AppGroupStorageService::createDirectory(const QString& path) const
{
    const auto container = containerPath();
    if (!container) {
        logNoContainer();
        return std::nullopt;
    }
    const QString folder = joinPath(*container, path);
    QString error;
    if (!fileops::makePath(folder, &error)) {
        log(QStringLiteral("디렉토리 생성 실패 (") + path + QStringLiteral("): ") + error);
        return std::nullopt;
    }
    log(QStringLiteral("디렉토리 생성 완료: ") + folder);
    return folder;
}

void AppGroupStorageService::initializeDirectories() const
{
    const auto container = containerPath();
    if (!container) {
        logNoContainer();
        return;
    }
    log(QStringLiteral("ZAVE 디렉토리 초기화 시작"));
    for (const QString& path : {QStringLiteral("ZAVE"), QStringLiteral("ZAVE/project")}) {
        if (fileops::entryExists(joinPath(*container, path)))
            log(path + QStringLiteral(" 이미 존재함, 건너뜀"));
        else
            createDirectory(path);
    }
    log(QStringLiteral("ZAVE 디렉토리 초기화 완료"));
}

void AppGroupStorageService::clearProjectFolder() const
{
    const auto container = containerPath();
    if (!container) {
        logNoContainer();
        return;
    }
    const QString folder = joinPath(*container, QStringLiteral("ZAVE/project"));
    if (!fileops::entryExists(folder)) {
        log(QStringLiteral("ZAVE/project 폴더가 없음, 생성 건너뜀 (이후 자동 생성)"));
        return;
    }
    log(QStringLiteral("ZAVE/project 폴더 초기화 시작"));
    int removed = 0;
    int failed = 0;
    if (fileops::isSymbolicLink(folder)) {
        // A link in place of the folder: emptying it would empty whatever it
        // points at. Drop the link and put an empty folder in its place.
        QString error;
        if (fileops::removeEntry(folder, &error) && fileops::makePath(folder, &error)) {
            ++removed;
            log(QStringLiteral("삭제됨: project"));
        } else {
            ++failed;
            log(QStringLiteral("삭제 실패: project - ") + error);
        }
    } else {
        QString error;
        const auto names = fileops::listNames(folder, &error);
        if (!names) {
            log(QStringLiteral("ZAVE/project 폴더 읽기 실패: ") + error);
            return;
        }
        for (const QString& name : *names) {
            QString removeError;
            if (fileops::removeEntry(folder + QLatin1Char('/') + name, &removeError)) {
                ++removed;
                log(QStringLiteral("삭제됨: ") + name);
            } else {
                ++failed;
                log(QStringLiteral("삭제 실패: ") + name + QStringLiteral(" - ") + removeError);
            }
        }
    }
    log(QStringLiteral("ZAVE/project 폴더 초기화 완료: ") + QString::number(removed) + QStringLiteral("개 파일 삭제, ")
        + QString::number(failed) + QStringLiteral("개 실패"));
}

} // namespace orva
