#include "workspace/FileOps.h"

#include "workspace/WorkspaceError.h"

#include "platform/Utf8.h"

#include <QFile>
#include <QSaveFile>

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace orva {

const char* WorkspaceError::what() const noexcept
{
    whatText_ = description().toUtf8();
    return whatText_.constData();
}

namespace fileops {

namespace fs = std::filesystem;

namespace {
fs::path toPath(const QString& path)
{
    return fs::path(QFile::encodeName(path).toStdString());
}

QString reason(const std::error_code& ec)
{
    return QString::fromLocal8Bit(ec.message().c_str());
}

void setError(QString* error, const QString& text)
{
    if (error)
        *error = text;
}
} // namespace

std::optional<QString> readUtf8File(const QString& path, QString* error)
{
    QFile file(path);
    const QString name = path.section(QLatin1Char('/'), -1);
    if (!file.open(QIODevice::ReadOnly)) {
        if (!file.exists())
            setError(error, QStringLiteral("The file \u201C%1\u201D couldn\u2019t be opened because there is no such file.").arg(name));
        else
            setError(error, QStringLiteral("The file \u201C%1\u201D couldn\u2019t be opened: %2").arg(name, file.errorString()));
        return std::nullopt;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        setError(error, QStringLiteral("The file \u201C%1\u201D couldn\u2019t be read: %2").arg(name, file.errorString()));
        return std::nullopt;
    }
    auto text = decodeUtf8Strict(bytes, ByteOrderMark::strip);
    if (!text)
        setError(error, QStringLiteral("The file \u201C%1\u201D couldn\u2019t be opened using text encoding Unicode (UTF-8).").arg(name));
    return text;
}

bool writeFileAtomically(const QString& path, const QByteArray& bytes, QString* error)
{
    QSaveFile file(path);
    // Never fall back to writing the target in place.
    file.setDirectWriteFallback(false);
    if (!file.open(QIODevice::WriteOnly)) {
        setError(error, QStringLiteral("Couldn\u2019t write \u201C%1\u201D: %2").arg(path, file.errorString()));
        return false;
    }
    if (file.write(bytes) != bytes.size()) {
        setError(error, QStringLiteral("Couldn\u2019t write \u201C%1\u201D: %2").arg(path, file.errorString()));
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        setError(error, QStringLiteral("Couldn\u2019t write \u201C%1\u201D: %2").arg(path, file.errorString()));
        return false;
    }
    return true;
}

bool removeEntry(const QString& path, QString* error)
{
    std::error_code ec;
    // remove_all looks at entries with symlink_status: a link is unlinked,
    // never followed.
    fs::remove_all(toPath(path), ec);
    if (ec) {
        setError(error, QStringLiteral("\u201C%1\u201D couldn\u2019t be removed: %2").arg(path.section(QLatin1Char('/'), -1), reason(ec)));
        return false;
    }
    return true;
}

bool entryExists(const QString& path)
{
    std::error_code ec;
    return fs::exists(fs::symlink_status(toPath(path), ec));
}

bool isSymbolicLink(const QString& path)
{
    std::error_code ec;
    return fs::is_symlink(fs::symlink_status(toPath(path), ec));
}

bool isDirectory(const QString& path)
{
    std::error_code ec;
    return fs::is_directory(fs::symlink_status(toPath(path), ec));
}

bool makePath(const QString& path, QString* error)
{
    std::error_code ec;
    const fs::path target = toPath(path);
    fs::create_directories(target, ec);
    if (ec) {
        setError(error, QStringLiteral("You can\u2019t create the folder \u201C%1\u201D: %2").arg(path, reason(ec)));
        return false;
    }
    if (!fs::is_directory(target, ec)) {
        setError(error, QStringLiteral("You can\u2019t create the folder \u201C%1\u201D: a file with that name already exists.").arg(path));
        return false;
    }
    return true;
}

std::optional<QStringList> listNames(const QString& folder, QString* error)
{
    std::error_code ec;
    fs::directory_iterator it(toPath(folder), ec);
    if (ec) {
        setError(error, QStringLiteral("The folder \u201C%1\u201D couldn\u2019t be opened: %2").arg(folder, reason(ec)));
        return std::nullopt;
    }
    QStringList names;
    for (const fs::directory_iterator end; it != end; it.increment(ec)) {
        if (ec)
            break;
        names.append(QFile::decodeName(QByteArray::fromStdString(it->path().filename().string())));
    }
    if (ec) {
        setError(error, QStringLiteral("The folder \u201C%1\u201D couldn\u2019t be read: %2").arg(folder, reason(ec)));
        return std::nullopt;
    }
    std::sort(names.begin(), names.end());
    return names;
}

bool copyFile(const QString& source, const QString& destination, QString* error)
{
    std::error_code ec;
    const fs::path from = toPath(source);
    if (!fs::is_regular_file(from, ec)) {
        setError(error, QStringLiteral("\u201C%1\u201D couldn\u2019t be copied because it isn\u2019t a regular file.").arg(source.section(QLatin1Char('/'), -1)));
        return false;
    }
    fs::copy_file(from, toPath(destination), fs::copy_options::none, ec);
    if (ec) {
        setError(error, QStringLiteral("\u201C%1\u201D couldn\u2019t be copied: %2").arg(source.section(QLatin1Char('/'), -1), reason(ec)));
        return false;
    }
    return true;
}

} // namespace fileops
} // namespace orva
