#include "workflow/ClaudeSearchEnvironment.h"

#include "platform/AppContext.h"

#include <QDir>

namespace orva {

QStringList ClaudeSearchEnvironment::defaultFixedPaths(const QString& homePath)
{
    return {QStringLiteral("/opt/homebrew/bin/claude"), QStringLiteral("/usr/local/bin/claude"),
            homePath + QStringLiteral("/.local/bin/claude")};
}

std::optional<QString> ClaudeSearchEnvironment::probeShell() const
{
    if (shellPath && !shellPath->isEmpty())
        return shellPath;
    if (!fallbackShellPath.isEmpty())
        return fallbackShellPath;
    return std::nullopt;
}

ClaudeSearchEnvironment ClaudeSearchEnvironment::platformDefaults()
{
    ClaudeSearchEnvironment search;
    search.homePath = AppContext::current().homePath;
    if (search.homePath.isEmpty())
        search.homePath = QDir::homePath();
    search.environment = QProcessEnvironment::systemEnvironment();
    if (search.environment.contains(QStringLiteral("SHELL")))
        search.shellPath = search.environment.value(QStringLiteral("SHELL"));
    search.fixedPaths = defaultFixedPaths(search.homePath);
    return search;
}

} // namespace orva
