#include "AppContext.h"

#include <QCoreApplication>
#include <QDir>
#include <QMutex>
#include <QStandardPaths>

#include <optional>

namespace orva {

namespace {
QMutex contextMutex;
std::optional<AppContext>& storedContext()
{
    static std::optional<AppContext> context;
    return context;
}

QString resourcesBesideExecutable()
{
    const QString appDir = QCoreApplication::instance() ? QCoreApplication::applicationDirPath()
                                                        : QDir::currentPath();
    return QDir(appDir).filePath(QStringLiteral("resources"));
}
} // namespace

AppContext AppContext::platformDefaults()
{
    AppContext context;
    const QString home = QDir::homePath();
#ifdef Q_OS_MACOS
    context.containerPath = QDir(home).filePath(QStringLiteral("Library/Group Containers/")
                                                + QLatin1String(kAppGroupIdentifier));
#else
    context.containerPath = QDir(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation))
                                .filePath(QLatin1String(kAppGroupIdentifier));
#endif
    context.documentsPath = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    context.resourcesPath = resourcesBesideExecutable();
    context.homePath = home;
    return context;
}

const AppContext& AppContext::current()
{
    QMutexLocker lock(&contextMutex);
    auto& stored = storedContext();
    if (!stored)
        stored = platformDefaults();
    return *stored;
}

void AppContext::setCurrent(const AppContext& context)
{
    QMutexLocker lock(&contextMutex);
    storedContext() = context;
}

} // namespace orva
