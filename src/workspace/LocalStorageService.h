#pragma once

#include "model/ProjectModel.h"

#include <QByteArray>
#include <QList>
#include <QString>

namespace orva {

// Locations in the user's Documents folder (AppContext::current().documentsPath)
// and saving a value there as JSON. No shared instance: make one where needed.
class LocalStorageService {
public:
    // Documents / fileName; empty when the platform reports no Documents folder.
    QString url(const QString& fileName) const;

    // Saves the interview transcript in its JSON form.
    void save(const QList<ChatHistory>& histories, const QString& fileName) const;

    // Saves JSON bytes already encoded. The Documents folder is created when
    // missing; the file is replaced atomically. Returns whether it was written.
    bool saveData(const QByteArray& json, const QString& fileName) const;
};

} // namespace orva
