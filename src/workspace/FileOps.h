#pragma once

// File helpers shared by the workspace services. None of them follows a
// symbolic link when it removes, and text is read as strict UTF-8.

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

namespace orva::fileops {

// The most that is read of any file in the workspace: far above any real task
// plan or interview state, far below what would strain the machine.
inline constexpr qint64 kMaxReadSize = 8 * 1024 * 1024;

// What one read of a file found.
struct FileBytes {
    enum class Status {
        read,           // `bytes` holds the whole file
        missing,        // nothing at the path (a link to nothing included)
        notRegularFile, // a folder, FIFO, device or socket: never opened, never waited on
        tooLarge,       // larger than the limit: never read
        unreadable,     // could not be opened or read
    };
    Status status = Status::missing;
    QByteArray bytes;
    qint64 size = 0;  // the file's size, when it was a regular file
    QString error;    // what went wrong, in words; empty when read
};

// Reads a regular file whole, at most `limit` bytes of it. Anything else at
// the path is reported, not read: the path is looked at first and only a
// regular file (directly or at the end of links) is opened, without waiting
// (a FIFO put in its place meanwhile answers at once) and without a link in
// the opened name; the opened descriptor's type and size are checked again
// before a byte is read, and the read stops one byte past the limit.
FileBytes readFileBytes(const QString& path, qint64 limit = kMaxReadSize);

// The whole file decoded as UTF-8, read as readFileBytes() does. A file that
// cannot be read, or whose bytes are not valid UTF-8 (a truncated sequence
// included), gives none and a reason. A byte-order mark at the start stays in
// the text as U+FEFF, so a JSON reader given the text's bytes sees the file's
// own bytes.
std::optional<QString> readUtf8File(const QString& path, QString* error, qint64 limit = kMaxReadSize);


// Writes the bytes to a temporary file beside `path` and renames it over
// `path`, so a reader sees either the old or the new contents, never a part.
bool writeFileAtomically(const QString& path, const QByteArray& bytes, QString* error);

// Removes a file, a link (the link itself, never its target) or a folder with
// everything in it, without descending through links. A missing entry is not
// an error.
bool removeEntry(const QString& path, QString* error);

// True when something (a broken link included) exists at the path.
bool entryExists(const QString& path);
bool isSymbolicLink(const QString& path);
bool isDirectory(const QString& path); // a real folder, not a link to one

// Creates the folder and any missing parents. An existing folder is success.
bool makePath(const QString& path, QString* error);

// Names of the entries directly inside a folder, hidden ones included, sorted
// so that every run handles them in the same order.
std::optional<QStringList> listNames(const QString& folder, QString* error);

// Copies a regular file's contents to a destination that must not exist yet.
bool copyFile(const QString& source, const QString& destination, QString* error);

} // namespace orva::fileops
