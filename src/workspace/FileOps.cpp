#include "workspace/FileOps.h"


#include "platform/Utf8.h"

#include <QFile>
#include <QLocale>
#include <QSaveFile>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace orva {

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

namespace {
QString lastComponent(const QString& path)
{
    return path.section(QLatin1Char('/'), -1);
}

QString kindOf(mode_t mode)
{
    if (S_ISDIR(mode))
        return QStringLiteral("a folder");
    if (S_ISFIFO(mode))
        return QStringLiteral("a FIFO");
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return QStringLiteral("a device");
    if (S_ISSOCK(mode))
        return QStringLiteral("a socket");
    return QStringLiteral("not a regular file");
}

FileBytes notRegular(const QString& name, mode_t mode)
{
    FileBytes result;
    result.status = FileBytes::Status::notRegularFile;
    result.error = QStringLiteral("The file \u201C%1\u201D couldn\u2019t be opened because it isn\u2019t a regular file (it is %2).")
                       .arg(name, kindOf(mode));
    return result;
}

// 1099511627776 -> "1,099,511,627,776".
QString withGroups(qint64 number)
{
    return QLocale(QLocale::English, QLocale::UnitedStates).toString(number);
}

FileBytes tooLarge(const QString& name, qint64 size, qint64 limit)
{
    FileBytes result;
    result.status = FileBytes::Status::tooLarge;
    result.size = size;
    result.error = QStringLiteral("The file \u201C%1\u201D couldn\u2019t be opened because it is too large (%2 bytes; at most %3 are read).")
                       .arg(name, withGroups(size), withGroups(limit));
    return result;
}

FileBytes failed(const QString& name, int error, bool whileReading)
{
    FileBytes result;
    if (error == ENOENT || error == ENOTDIR) {
        result.status = FileBytes::Status::missing;
        result.error = QStringLiteral("The file \u201C%1\u201D couldn\u2019t be opened because there is no such file.").arg(name);
        return result;
    }
    result.status = FileBytes::Status::unreadable;
    result.error = QStringLiteral("The file \u201C%1\u201D couldn\u2019t be %2: %3")
                       .arg(name, whileReading ? QStringLiteral("read") : QStringLiteral("opened"),
                            QString::fromLocal8Bit(std::strerror(error)));
    return result;
}

// Opens a regular file for reading: never blocks (O_NONBLOCK: a FIFO swapped
// in answers at once), never becomes the controlling terminal, and never opens
// a name whose last part is a link. A link is resolved to the path it ends at,
// which is looked at and opened the same way: a link that ends at a device
// or FIFO is reported as such (`*mode`, with -1 and errno 0) without opening
// it.
int openForReading(const QByteArray& native, mode_t* mode)
{
    constexpr int flags = O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC | O_NOFOLLOW;
    int fd = ::open(native.constData(), flags);
    if (fd >= 0 || errno != ELOOP)
        return fd;
    char* resolved = ::realpath(native.constData(), nullptr);
    if (!resolved)
        return -1;
    struct stat target {};
    if (::lstat(resolved, &target) != 0) {
        const int saved = errno;
        std::free(resolved);
        errno = saved;
        return -1;
    }
    if (!S_ISREG(target.st_mode)) {
        std::free(resolved);
        *mode = target.st_mode;
        errno = 0;
        return -1;
    }
    fd = ::open(resolved, flags);
    const int saved = errno;
    std::free(resolved);
    errno = saved;
    return fd;
}
} // namespace

FileBytes readFileBytes(const QString& path, qint64 limit)
{
    const QString name = lastComponent(path);
    const QByteArray native = QFile::encodeName(path);
    // Look before opening: a folder, FIFO or device (directly or through
    // links) is reported without being opened at all.
    struct stat info {};
    if (::stat(native.constData(), &info) != 0)
        return failed(name, errno, false);
    if (!S_ISREG(info.st_mode))
        return notRegular(name, info.st_mode);
    if (info.st_size > limit)
        return tooLarge(name, info.st_size, limit);

    mode_t linkedMode = 0;
    const int fd = openForReading(native, &linkedMode);
    if (fd < 0 && linkedMode != 0)
        return notRegular(name, linkedMode);
    if (fd < 0)
        return failed(name, errno, false);
    // What was opened is what counts: something else may stand at the path
    // by now.
    if (::fstat(fd, &info) != 0) {
        const int error = errno;
        ::close(fd);
        return failed(name, error, false);
    }
    if (!S_ISREG(info.st_mode)) {
        ::close(fd);
        return notRegular(name, info.st_mode);
    }
    if (info.st_size > limit) {
        ::close(fd);
        return tooLarge(name, info.st_size, limit);
    }

    FileBytes result;
    result.size = info.st_size;
    // One byte past the limit tells a file that grew past it while read.
    QByteArray bytes(qsizetype(std::min<qint64>(info.st_size, limit) + 1), Qt::Uninitialized);
    qint64 total = 0;
    for (;;) {
        if (total == bytes.size()) {
            if (total > limit)
                break;
            bytes.resize(qsizetype(std::min<qint64>(limit + 1, std::max<qint64>(total * 2, 4096))));
        }
        const ssize_t got = ::read(fd, bytes.data() + total, size_t(bytes.size() - total));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            const int error = errno;
            ::close(fd);
            return failed(name, error, true);
        }
        if (got == 0)
            break;
        total += got;
    }
    ::close(fd);
    if (total > limit)
        return tooLarge(name, total, limit);
    bytes.truncate(qsizetype(total));
    result.status = FileBytes::Status::read;
    result.size = total;
    result.bytes = std::move(bytes);
    return result;
}

std::optional<QString> readUtf8File(const QString& path, QString* error, qint64 limit)
{
    const FileBytes file = readFileBytes(path, limit);
    if (file.status != FileBytes::Status::read) {
        setError(error, file.error);
        return std::nullopt;
    }
    auto text = decodeUtf8Strict(file.bytes, ByteOrderMark::keep);
    if (!text)
        setError(error, QStringLiteral("The file \u201C%1\u201D couldn\u2019t be opened using text encoding Unicode (UTF-8).").arg(lastComponent(path)));
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
