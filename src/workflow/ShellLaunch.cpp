#include "workflow/ShellLaunch.h"

#include "platform/Log.h"
#include "workspace/FileOps.h"

#include <QDir>
#include <QFileInfo>

namespace orva {

QString singleQuotedForShell(const QString& text)
{
    QString quoted = text;
    quoted.replace(QLatin1Char('\''), QStringLiteral("'\\''"));
    return QLatin1Char('\'') + quoted + QLatin1Char('\'');
}

ShellLaunch terminalShellLaunch(const QString& folder, const std::optional<QString>& startupStandIn)
{
    ShellLaunch launch;
    launch.executable = QStringLiteral("/bin/zsh");
    if (folder.isEmpty()) {
        launch.arguments = {QStringLiteral("-l")};
    } else {
        launch.arguments = {QStringLiteral("-l"), QStringLiteral("-c"),
                            QStringLiteral("cd ") + singleQuotedForShell(folder) + QStringLiteral(" && exec zsh -l")};
    }
    if (startupStandIn)
        launch.environment = QStringList{QStringLiteral("ZDOTDIR=") + *startupStandIn};
    return launch;
}

std::optional<QString> zshStartupStandIn(const QString& baseFolder)
{
    const QString userDotDir = qEnvironmentVariable("ZDOTDIR");
    const bool hasUserDotDir = qEnvironmentVariableIsSet("ZDOTDIR");
    const QString lookIn = !userDotDir.isEmpty() ? userDotDir : qEnvironmentVariable("HOME");
    if (lookIn.isEmpty() || baseFolder.isEmpty())
        return std::nullopt;
    for (const char* name : {".zshenv", ".zprofile", ".zshrc", ".zlogin"}) {
        if (QFileInfo::exists(QDir(lookIn).filePath(QString::fromLatin1(name))))
            return std::nullopt;
    }

    const QString folder = QDir(baseFolder).filePath(QStringLiteral("terminal/zsh"));
    if (!QDir().mkpath(folder))
        return std::nullopt;
    QString restore = QStringLiteral("  unset ZDOTDIR\n");
    if (hasUserDotDir)
        restore = QStringLiteral("  export ZDOTDIR=") + singleQuotedForShell(userDotDir) + QLatin1Char('\n');
    const QString script =
        QStringLiteral("# Orva's terminal starts zsh here only while the user has no zsh start-up\n"
                       "# files, so that zsh's first-run menu does not take the typed commands.\n"
                       "# The interactive shell goes back to the user's own ZDOTDIR at once.\n"
                       "if [[ -o interactive ]]; then\n")
        + restore + QStringLiteral("fi\n");
    if (!fileops::writeFileAtomically(QDir(folder).filePath(QStringLiteral(".zshenv")), script.toUtf8(), nullptr)) {
        logLine(QStringLiteral("[WorkViewModel] - Cannot prepare the shell start-up folder: ") + folder);
        return std::nullopt;
    }
    return folder;
}

} // namespace orva
