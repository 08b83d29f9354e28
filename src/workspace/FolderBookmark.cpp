#include "workspace/FolderBookmark.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>

#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <sys/stat.h>

namespace orva {

namespace {
constexpr auto kKind = "orva.folderBookmark";
constexpr int kVersion = 1;

bool statFolder(const QString& path, struct stat* info, QString* error)
{
    if (::stat(QFile::encodeName(path).constData(), info) != 0) {
        if (error)
            *error = errno == ENOENT
                         ? QStringLiteral("The file couldn\u2019t be opened because it doesn\u2019t exist.")
                         : QStringLiteral("The file couldn\u2019t be opened: ") + QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    if (!S_ISDIR(info->st_mode)) {
        if (error)
            *error = QStringLiteral("The item at \u201C%1\u201D isn\u2019t a folder.").arg(path);
        return false;
    }
    return true;
}

QString corrupted()
{
    return QStringLiteral("The file couldn\u2019t be opened because it isn\u2019t in the correct format.");
}
} // namespace

std::optional<FolderBookmark> FolderBookmark::create(const QString& folderPath, QString* error)
{
    const QString absolute = QDir::cleanPath(QDir(folderPath).absolutePath());
    struct stat info {};
    if (!statFolder(absolute, &info, error))
        return std::nullopt;
    return FolderBookmark{absolute, static_cast<quint64>(info.st_dev), static_cast<quint64>(info.st_ino)};
}

QByteArray FolderBookmark::encode() const
{
    QJsonObject object;
    object.insert(QStringLiteral("kind"), QLatin1String(kKind));
    object.insert(QStringLiteral("version"), kVersion);
    object.insert(QStringLiteral("path"), path);
    // Identities as text: JSON numbers lose precision above 2^53.
    object.insert(QStringLiteral("device"), QString::number(device));
    object.insert(QStringLiteral("inode"), QString::number(inode));
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

std::optional<FolderBookmark> FolderBookmark::decode(const QByteArray& data, QString* error)
{
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(data, &parseError);
    if (parseError.error != QJsonParseError::NoError || !document.isObject()) {
        if (error)
            *error = corrupted();
        return std::nullopt;
    }
    const QJsonObject object = document.object();
    bool deviceOk = false;
    bool inodeOk = false;
    FolderBookmark bookmark;
    bookmark.path = object.value(QStringLiteral("path")).toString();
    bookmark.device = object.value(QStringLiteral("device")).toString().toULongLong(&deviceOk);
    bookmark.inode = object.value(QStringLiteral("inode")).toString().toULongLong(&inodeOk);
    if (object.value(QStringLiteral("kind")).toString() != QLatin1String(kKind)
        || object.value(QStringLiteral("version")).toInt() != kVersion || bookmark.path.isEmpty()
        || !QDir::isAbsolutePath(bookmark.path) || !deviceOk || !inodeOk) {
        if (error)
            *error = corrupted();
        return std::nullopt;
    }
    return bookmark;
}

FolderBookmark::Resolution FolderBookmark::resolve(QString* error) const
{
    struct stat info {};
    if (!statFolder(path, &info, error))
        return Resolution::failed;
    if (static_cast<quint64>(info.st_dev) != device || static_cast<quint64>(info.st_ino) != inode)
        return Resolution::stale;
    return Resolution::resolved;
}

bool FolderBookmark::canAccess(const QString& folderPath)
{
    DIR* dir = ::opendir(QFile::encodeName(folderPath).constData());
    if (!dir)
        return false;
    ::closedir(dir);
    return true;
}

} // namespace orva
