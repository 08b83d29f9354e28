#include "workspace/LocalStorageService.h"

#include "platform/AppContext.h"
#include "platform/Log.h"
#include "workspace/FileOps.h"

#include <QDir>

namespace orva {

QString LocalStorageService::url(const QString& fileName) const
{
    const QString documents = AppContext::current().documentsPath;
    if (documents.isEmpty())
        return {};
    return QDir::cleanPath(documents + QLatin1Char('/') + fileName);
}

void LocalStorageService::save(const QList<ChatHistory>& histories, const QString& fileName) const
{
    saveData(encodeChatHistoryList(histories), fileName);
}

bool LocalStorageService::saveData(const QByteArray& json, const QString& fileName) const
{
    const QString location = url(fileName);
    QString error;
    if (location.isEmpty()) {
        error = QStringLiteral("No Documents folder is available.");
    } else if (fileops::makePath(AppContext::current().documentsPath, &error)
               && fileops::writeFileAtomically(location, json, &error)) {
        logLine(QStringLiteral("[LocalStorageService] - 파일 저장 완료: ") + location);
        return true;
    }
    logLine(QStringLiteral("[LocalStorageService] - 저장 실패: ") + error);
    return false;
}

} // namespace orva
