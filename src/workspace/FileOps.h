#pragma once

// File helpers shared by the workspace services. None of them follows a
// symbolic link when it removes, and text is read as strict UTF-8.

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

namespace orva::fileops {

// The whole file decoded as UTF-8. A file that cannot be read, or whose bytes
// are not valid UTF-8 (a truncated sequence included), gives none and a reason.
std::optional<QString> readUtf8File(const QString& path, QString* error);


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
