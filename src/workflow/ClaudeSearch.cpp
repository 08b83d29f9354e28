#include "workflow/ClaudeSearch.h"

#include "platform/Log.h"
#include "platform/Utf8.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QProcess>

#include <algorithm>

#include <signal.h>
#include <unistd.h>

namespace orva {

void ClaudeProbeControl::cancel()
{
    std::lock_guard lock(mutex_);
    cancelled_ = true;
    if (pid_ > 0)
        ::kill(static_cast<pid_t>(pid_), SIGKILL);
}

bool ClaudeProbeControl::isCancelled() const
{
    std::lock_guard lock(mutex_);
    return cancelled_;
}

void ClaudeProbeControl::setRunningPid(qint64 pid)
{
    std::lock_guard lock(mutex_);
    pid_ = pid;
    if (cancelled_ && pid_ > 0)
        ::kill(static_cast<pid_t>(pid_), SIGKILL);
}

namespace claude_search {

namespace {

const QString kTag = QStringLiteral("[ClaudeProcessService]");

struct ProbeResult {
    bool succeeded = false; // exited normally with status 0
    QByteArray output;
};

// Runs one shell child to its end with the null device as its input, so a
// start-up file that asks a question cannot wait forever. QProcess keeps both
// pipes drained while it waits, so any amount of output is fine.
std::optional<ProbeResult> runProbe(const ClaudeSearchEnvironment& search, const QStringList& arguments,
                                    ClaudeProbeControl* control)
{
    const std::optional<QString> shell = search.probeShell();
    if (!shell)
        return std::nullopt;
    if (control && control->isCancelled())
        return std::nullopt;
    QProcess process;
    process.setProgram(*shell);
    process.setArguments(arguments);
    process.setProcessEnvironment(search.environment);
    process.setStandardInputFile(QProcess::nullDevice());
    process.start();
    if (!process.waitForStarted(-1))
        return std::nullopt;
    if (control)
        control->setRunningPid(process.processId());
    process.waitForFinished(-1);
    if (control)
        control->setRunningPid(0);
    ProbeResult result;
    result.succeeded = process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    result.output = process.readAllStandardOutput();
    return result;
}

// The trimmed standard output of a lookup script that exited with status 0.
// What a probe printed, as strict UTF-8 without surrounding white space; none
// when that leaves nothing.
std::optional<QString> trimmedOutput(const QByteArray& output)
{
    const auto text = decodeUtf8Strict(output, ByteOrderMark::keep);
    if (!text)
        return std::nullopt;
    const QString trimmed = text->trimmed();
    if (trimmed.isEmpty())
        return std::nullopt;
    return trimmed;
}

std::optional<QString> lookupOutput(const ClaudeSearchEnvironment& search, const QString& finalLine,
                                    ClaudeProbeControl* control)
{
    const std::optional<QString> shell = search.probeShell();
    if (!shell)
        return std::nullopt;
    const QString script = lookupScript(*shell, search.homePath, finalLine);
    const auto probe = runProbe(search, {QStringLiteral("-c"), script}, control);
    if (!probe || !probe->succeeded)
        return std::nullopt;
    return trimmedOutput(probe->output);
}

std::optional<QString> checked(const QString& candidate)
{
    if (isExecutableFile(candidate))
        return candidate;
    return std::nullopt;
}

} // namespace

QString escapeForDoubleQuotes(const QString& text)
{
    QString escaped;
    escaped.reserve(text.size());
    for (const QChar c : text) {
        if (c == u'$' || c == u'`' || c == u'"' || c == u'\\')
            escaped.append(u'\\');
        escaped.append(c);
    }
    return escaped;
}

QString lookupScript(const QString& shellPath, const QString& homePath, const QString& finalLine)
{
    const QString home = escapeForDoubleQuotes(homePath);
    auto sourceLine = [&home](const char* test, const char* file) {
        const QString path = QStringLiteral("\"") + home + QLatin1String(file) + QStringLiteral("\"");
        return QStringLiteral("[ ") + QLatin1String(test) + QStringLiteral(" ") + path
               + QStringLiteral(" ] && source ") + path;
    };
    QStringList lines;
    if (shellPath.contains(QStringLiteral("zsh"))) {
        lines << sourceLine("-f", "/.zshrc");
    } else {
        lines << sourceLine("-f", "/.bash_profile") << sourceLine("-f", "/.bashrc");
    }
    lines << sourceLine("-s", "/.nvm/nvm.sh") << finalLine;
    return lines.join(u'\n');
}

bool isExecutableFile(const QString& path)
{
    if (path.isEmpty() || !QFileInfo::exists(path))
        return false;
    return ::access(QFile::encodeName(path).constData(), X_OK) == 0;
}

std::optional<QString> findViaShellWhich(const ClaudeSearchEnvironment& search, ClaudeProbeControl* control)
{
    const auto output = lookupOutput(search, QStringLiteral("which claude"), control);
    if (!output)
        return std::nullopt;
    // More than one line is never a path: the existence test refuses it.
    return checked(*output);
}

std::optional<QString> findViaNpmPrefix(const ClaudeSearchEnvironment& search, ClaudeProbeControl* control)
{
    const auto output = lookupOutput(search, QStringLiteral("npm config get prefix"), control);
    if (!output)
        return std::nullopt;
    return checked(*output + QStringLiteral("/bin/claude"));
}

std::optional<QString> findInFixedPaths(const ClaudeSearchEnvironment& search)
{
    for (const QString& path : search.fixedPaths) {
        if (auto found = checked(path))
            return found;
    }
    return std::nullopt;
}

std::optional<QString> findInNvmVersions(const ClaudeSearchEnvironment& search)
{
    const QString root = search.homePath + QStringLiteral("/.nvm/versions/node");
    const QFileInfo rootInfo(root);
    if (!rootInfo.exists() || !rootInfo.isDir())
        return std::nullopt;
    const QDir dir(root);
    const QStringList names = dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                                            QDir::Unsorted);
    struct Entry {
        QString name;
        QDateTime modified; // invalid when the attributes give none
    };
    std::vector<Entry> entries;
    entries.reserve(names.size());
    for (const QString& name : names) {
        const QFileInfo info(root + u'/' + name);
        entries.push_back({name, info.lastModified()});
    }
    // Newest first; an entry without a date is never newer than another.
    std::stable_sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
        if (!a.modified.isValid() || !b.modified.isValid())
            return false;
        return a.modified > b.modified;
    });
    for (const Entry& entry : entries) {
        if (auto found = checked(root + u'/' + entry.name + QStringLiteral("/bin/claude")))
            return found;
    }
    return std::nullopt;
}

std::optional<QString> findClaudeExecutable(const ClaudeSearchEnvironment& search, ClaudeProbeControl* control)
{
    if (auto found = findViaShellWhich(search, control))
        return found;
    if (auto found = findViaNpmPrefix(search, control))
        return found;
    if (auto found = findInFixedPaths(search))
        return found;
    if (auto found = findInNvmVersions(search))
        return found;
    logLine(kTag + QStringLiteral(" ERROR: Claude CLI not found"));
    logLine(kTag + QStringLiteral(" Install Claude Code: npm install -g @anthropic-ai/claude-code"));
    return std::nullopt;
}

std::optional<QString> loginShellPath(const ClaudeSearchEnvironment& search, ClaudeProbeControl* control)
{
    const auto probe = runProbe(search, {QStringLiteral("-l"), QStringLiteral("-c"), QStringLiteral("echo $PATH")},
                                control);
    if (!probe)
        return std::nullopt;
    // The status of the login shell does not matter, only what it printed.
    return trimmedOutput(probe->output);
}

QProcessEnvironment buildProcessEnvironment(const QString& claudePath, const ClaudeSearchEnvironment& search,
                                            ClaudeProbeControl* control)
{
    QProcessEnvironment environment = search.environment;
    const qsizetype slash = claudePath.lastIndexOf(u'/');
    QString folder = slash > 0 ? claudePath.left(slash) : (slash == 0 ? QStringLiteral("/") : QString());
    const QString appPath = search.environment.contains(QStringLiteral("PATH"))
                                ? search.environment.value(QStringLiteral("PATH"))
                                : QStringLiteral("/usr/bin:/bin:/usr/sbin:/sbin");
    QStringList parts{folder};
    if (auto login = loginShellPath(search, control))
        parts << *login;
    parts << appPath;
    environment.insert(QStringLiteral("PATH"), parts.join(u':'));
    return environment;
}

} // namespace claude_search
} // namespace orva
