#pragma once

#include "workflow/ClaudeSearchEnvironment.h"

#include <QByteArray>
#include <QProcessEnvironment>
#include <QString>

#include <mutex>
#include <optional>

namespace orva {

// Lets another thread end the shell probes of a search that is under way:
// cancel() kills the probe that is running and keeps any later one from
// starting.
class ClaudeProbeControl {
public:
    void cancel();
    bool isCancelled() const;
    void setRunningPid(qint64 pid);

private:
    mutable std::mutex mutex_;
    bool cancelled_ = false;
    qint64 pid_ = 0;
};

// Finding `claude` and building the environment its children get. Every
// function here blocks while it runs a shell, so call them off the main thread.
namespace claude_search {

// Escapes the characters that stay special inside double quotes of a POSIX
// shell word: $, `, " and \ each get a preceding backslash.
QString escapeForDoubleQuotes(const QString& text);

// The script given to the user's shell with "-c": the start-up files of zsh
// (when the shell path contains "zsh") or of bash, then nvm's, then
// `finalLine`. The home folder is escaped for the double quotes around it.
QString lookupScript(const QString& shellPath, const QString& homePath, const QString& finalLine);

// Something exists at the path (links followed) and the user may execute it.
bool isExecutableFile(const QString& path);

// The four sources, each yielding a checked candidate or nothing.
std::optional<QString> findViaShellWhich(const ClaudeSearchEnvironment& search,
                                         ClaudeProbeControl* control = nullptr);
std::optional<QString> findViaNpmPrefix(const ClaudeSearchEnvironment& search,
                                        ClaudeProbeControl* control = nullptr);
std::optional<QString> findInFixedPaths(const ClaudeSearchEnvironment& search);
std::optional<QString> findInNvmVersions(const ClaudeSearchEnvironment& search);

// The sources in order; the first that yields wins. When none does, logs
// "[ClaudeProcessService] ERROR: Claude CLI not found" and the install hint.
std::optional<QString> findClaudeExecutable(const ClaudeSearchEnvironment& search,
                                            ClaudeProbeControl* control = nullptr);

// The login shell's PATH ("-l", "-c", "echo $PATH"), trimmed; nothing when
// there is no shell to ask (probeShell()), it cannot start or prints nothing
// decodable.
std::optional<QString> loginShellPath(const ClaudeSearchEnvironment& search,
                                      ClaudeProbeControl* control = nullptr);

// The application's environment with PATH set to the executable's folder,
// the login PATH (when there is one) and the application's PATH (or
// "/usr/bin:/bin:/usr/sbin:/sbin"), joined by ":".
QProcessEnvironment buildProcessEnvironment(const QString& claudePath,
                                            const ClaudeSearchEnvironment& search,
                                            ClaudeProbeControl* control = nullptr);

} // namespace claude_search
} // namespace orva
