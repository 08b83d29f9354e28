#pragma once

// Small file helpers for the workspace tests.

#include <QByteArray>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QString>
#include <QStringList>

#include <algorithm>

#include <unistd.h>

namespace orva::test {

inline bool writeFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    return file.write(bytes) == bytes.size();
}

inline QByteArray readFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

// Every entry below root as a relative path, links listed but not followed,
// folders with a trailing "/".
inline QStringList listTree(const QString& root)
{
    QStringList entries;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        const QFileInfo info = it.fileInfo();
        QString relative = QDir(root).relativeFilePath(info.filePath());
        if (info.isDir() && !info.isSymLink())
            relative += QLatin1Char('/');
        entries.append(relative);
    }
    std::sort(entries.begin(), entries.end());
    return entries;
}

// True when this process can open folders whatever their permissions say
// (root, or a process with the capability to bypass them).
inline bool ignoresFolderPermissions(const QString& scratchFolder)
{
    const QString probe = scratchFolder + QStringLiteral("/.permission-probe");
    QDir().mkpath(probe);
    QFile::setPermissions(probe, QFileDevice::Permissions());
    const bool readable = ::access(QFile::encodeName(probe).constData(), R_OK | X_OK) == 0;
    QFile::setPermissions(probe, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QDir(probe).removeRecursively();
    return readable;
}

} // namespace orva::test
