#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace orva {

// How the work screen's terminal starts its login shell.
struct ShellLaunch {
    QString executable;
    QStringList arguments;
    // KEY=VALUE entries added to the inherited environment; none for no additions.
    std::optional<QStringList> environment;
};

// The text between single quotes for the shell: every single quote becomes
// '\'' (close, escaped quote, reopen), so the shell reads the text as one word
// and runs nothing of it.
QString singleQuotedForShell(const QString& text);

// "/bin/zsh -l -c \"cd '<folder>' && exec zsh -l\"" with a folder, "/bin/zsh -l"
// without one (an empty folder). The start-up stand-in, when given, becomes
// the shell's ZDOTDIR (see zshStartupStandIn).
ShellLaunch terminalShellLaunch(const QString& folder, const std::optional<QString>& startupStandIn = std::nullopt);

// zsh shows a first-run configuration menu in an interactive shell when the
// user has none of its start-up files (.zshenv, .zprofile, .zshrc, .zlogin in
// ZDOTDIR, else HOME); the menu would swallow the command typed into the
// terminal. In that case this returns a folder owned by the application
// (inside `baseFolder`) holding only a .zshenv: pointed to by ZDOTDIR, it
// passes zsh's check, and the interactive shell's first start-up step puts
// ZDOTDIR back as it was, so everything else of the user's set-up (including
// the absence of their own files) is read as usual and nothing is written
// into the home folder. When the user has start-up files, or the folder
// cannot be written, this returns none and the shell starts unchanged.
std::optional<QString> zshStartupStandIn(const QString& baseFolder);

} // namespace orva
