#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace orva {

// The remembered project folder: its absolute path and the identity of the
// folder that stood there when it was saved (device and inode), stored as a
// small JSON record. Resolving tells a missing folder from one that was
// deleted and made again under the same name.
struct FolderBookmark {
    QString path;
    quint64 device = 0;
    quint64 inode = 0;

    // Creates the record for an existing folder; none and a reason otherwise.
    static std::optional<FolderBookmark> create(const QString& folderPath, QString* error);

    QByteArray encode() const;
    static std::optional<FolderBookmark> decode(const QByteArray& data, QString* error);

    enum class Resolution { resolved, failed, stale };
    // failed: not a bookmark, or no folder at the path; stale: a different
    // folder stands there now.
    Resolution resolve(QString* error) const;

    // Whether the folder can be opened and listed now.
    static bool canAccess(const QString& folderPath);
};

} // namespace orva
