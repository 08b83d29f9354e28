#include "support/Waiting.h"
#include "ClaudeTestSupport.h"

#include "fakes/FakeCalls.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

#include <cerrno>
#include <cstdio>

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

namespace orva::test {

ClaudeResult awaitResult(const std::function<void(ClaudeProcessService::Callback)>& request)
{
    std::optional<ClaudeResult> result;
    request([&result](const ClaudeResult& r) { result = r; });
    const bool arrived = test::waitUntil([&result] { return result.has_value(); }, kWaitDeadline);
    EXPECT_TRUE(arrived) << "no reply within " << kWaitDeadlineMs / 1000 << " s";
    return result.value_or(ClaudeResult::failure(ClaudeProcessError::invalidResponse()));
}

StdoutCapture::StdoutCapture()
{
    std::fflush(stdout);
    path_ = dir_.filePath(QStringLiteral("stdout.txt"));
    const int fd = ::open(QFile::encodeName(path_).constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    savedFd_ = ::dup(STDOUT_FILENO);
    ::dup2(fd, STDOUT_FILENO);
    ::close(fd);
}

StdoutCapture::~StdoutCapture()
{
    std::fflush(stdout);
    ::dup2(savedFd_, STDOUT_FILENO);
    ::close(savedFd_);
}

QString StdoutCapture::text()
{
    std::fflush(stdout);
    QFile file(path_);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(file.readAll());
}

FakeMachine::FakeMachine()
{
    home = path(QStringLiteral("home"));
    QDir().mkpath(home);
    logFile = path(QStringLiteral("calls.log"));
    modeFile = path(QStringLiteral("mode"));
    fallbackShell = path(QStringLiteral("fallback/bin/zsh"));
    QDir().mkpath(QFileInfo(fallbackShell).absolutePath());
    QFile::link(fakeShellPath(), fallbackShell);
    search.homePath = home;
    search.shellPath = fakeShellPath();
    search.fallbackShellPath = fallbackShell;
    search.environment = QProcessEnvironment::systemEnvironment();
    search.environment.insert(QStringLiteral("HOME"), home);
    search.environment.insert(QStringLiteral("PATH"), QStringLiteral("/usr/bin:/bin"));
    search.environment.insert(QStringLiteral("FAKE_CLAUDE_LOG"), logFile);
    search.environment.insert(QStringLiteral("FAKE_SHELL_LOG"), logFile);
    search.environment.insert(QStringLiteral("FAKE_CLAUDE_MODE_FILE"), modeFile);
    search.environment.insert(QStringLiteral("FAKE_CLAUDE_PLAN_STEP_DELAY"), QStringLiteral("0.05"));
    search.environment.insert(QStringLiteral("FAKE_SHELL_WHICH"), fakeClaudePath());
    search.environment.insert(QStringLiteral("FAKE_SHELL_LOGIN_PATH"), QStringLiteral("/login/bin:/login/sbin"));
    search.environment.remove(QStringLiteral("FAKE_CLAUDE_MODE"));
    search.environment.remove(QStringLiteral("FAKE_SHELL_NPM_PREFIX"));
}

void FakeMachine::writeExecutable(const QString& target, bool executable) const
{
    QDir().mkpath(QFileInfo(target).absolutePath());
    QFile::remove(target);
    ASSERT_TRUE(QFile::copy(fakeClaudePath(), target));
    QFile::Permissions permissions = QFile::ReadOwner | QFile::WriteOwner;
    if (executable)
        permissions |= QFile::ExeOwner;
    QFile::setPermissions(target, permissions);
}

void FakeMachine::setMode(const QString& mode) const
{
    QFile file(modeFile);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(mode.toUtf8() + '\n');
}

StdinPipe::StdinPipe()
{
    int fds[2];
    if (::pipe(fds) != 0)
        return;
    savedFd_ = ::dup(STDIN_FILENO);
    ::dup2(fds[0], STDIN_FILENO);
    ::close(fds[0]);
    writeFd_ = fds[1];
}

StdinPipe::~StdinPipe()
{
    if (savedFd_ >= 0) {
        ::dup2(savedFd_, STDIN_FILENO);
        ::close(savedFd_);
    }
    if (writeFd_ >= 0)
        ::close(writeFd_);
}

bool processAlive(qint64 pid)
{
    if (pid <= 0)
        return false;
    if (::kill(static_cast<pid_t>(pid), 0) != 0)
        return errno != ESRCH;
    // A zombie no longer runs.
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (stat.open(QIODevice::ReadOnly)) {
        const QByteArray text = stat.readAll();
        const qsizetype close = text.lastIndexOf(')');
        if (close > 0 && close + 2 < text.size() && text.at(close + 2) == 'Z')
            return false;
    }
    return true;
}

bool processGroupRuns(qint64 groupId)
{
    const QStringList entries = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString& entry : entries) {
        bool isPid = false;
        entry.toLongLong(&isPid);
        if (!isPid)
            continue;
        QFile stat(QStringLiteral("/proc/") + entry + QStringLiteral("/stat"));
        if (!stat.open(QIODevice::ReadOnly))
            continue;
        // "pid (name) state ppid pgrp ...": the fields after the name.
        const QByteArray text = stat.readAll();
        const qsizetype close = text.lastIndexOf(')');
        if (close < 0)
            continue;
        const QList<QByteArray> fields = text.mid(close + 2).split(' ');
        if (fields.size() > 2 && fields[2].toLongLong() == groupId && fields[0] != "Z")
            return true;
    }
    return false;
}

} // namespace orva::test
