#include "TempContext.h"

#include <QDir>

namespace orva::test {

TempContext::TempContext()
    : previous_(AppContext::current())
{
    const QDir root(dir_.path());
    root.mkpath(QStringLiteral("container"));
    root.mkpath(QStringLiteral("Documents"));
    root.mkpath(QStringLiteral("home"));
    context_.containerPath = root.filePath(QStringLiteral("container"));
    context_.documentsPath = root.filePath(QStringLiteral("Documents"));
    context_.homePath = root.filePath(QStringLiteral("home"));
    context_.settingsPath = root.filePath(QStringLiteral("settings.ini"));
    context_.resourcesPath = builtResourcesPath();
    AppContext::setCurrent(context_);
}

TempContext::~TempContext()
{
    AppContext::setCurrent(previous_);
}

QString builtResourcesPath()
{
    return QStringLiteral(ORVA_TEST_RESOURCES_DIR);
}

} // namespace orva::test
