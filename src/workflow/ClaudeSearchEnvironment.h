#pragma once

#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

#include <optional>

namespace orva {

// What the search for the `claude` executable looks at: the user's home
// folder, the user's shell, the application's environment (the base of every
// child's environment and the source of `PATH`) and the fixed install places.
// The application uses platformDefaults(); tests inject their own value.
struct ClaudeSearchEnvironment {
    QString homePath;
    std::optional<QString> shellPath;     // the value of SHELL; nullopt when it is not set
    // The shell asked in place of SHELL when that is unset or empty (a
    // desktop launcher, `env -i`): the login shell the built-in terminal
    // runs. Empty: no shell is asked then.
    QString fallbackShellPath = QStringLiteral("/bin/zsh");
    QProcessEnvironment environment;       // the application's environment
    QStringList fixedPaths;                // tried in order after the two shell probes

    // The shell the probes run: SHELL when it names one, else the fallback;
    // nullopt when neither does.
    std::optional<QString> probeShell() const;

    // The three fixed places under the given home folder:
    // "/opt/homebrew/bin/claude", "/usr/local/bin/claude", home + "/.local/bin/claude".
    static QStringList defaultFixedPaths(const QString& homePath);

    // The current user's home (the current AppContext's), this process's
    // environment with its SHELL, and the default fixed places.
    static ClaudeSearchEnvironment platformDefaults();
};

} // namespace orva
