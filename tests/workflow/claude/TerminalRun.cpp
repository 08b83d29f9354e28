#include "TerminalRun.h"

#include "support/Waiting.h"
#include "terminal/core/BufferLine.h"
#include "terminal/core/Buffer.h"
#include "terminal/core/ScreenText.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <csignal>
#include <cstdlib>

#include <fcntl.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace orva::test {

TerminalRun::TerminalRun(const QStringList& command, const QProcessEnvironment& environment, const QString& folder,
                         int cols, int rows)
    : terminal_(cols, rows)
{
    master_ = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (master_ < 0 || ::grantpt(master_) != 0 || ::unlockpt(master_) != 0)
        return;
    const char* name = ::ptsname(master_);
    if (!name)
        return;
    const std::string slavePath = name;
    winsize size{};
    size.ws_col = static_cast<unsigned short>(cols);
    size.ws_row = static_cast<unsigned short>(rows);
    ::ioctl(master_, TIOCSWINSZ, &size);
    slave_ = ::open(slavePath.c_str(), O_RDWR | O_NOCTTY);
    ::tcgetattr(slave_, &modesAtStart_);

    // Everything the child needs, made before the fork.
    std::vector<std::string> args, env;
    for (const QString& part : command)
        args.push_back(part.toStdString());
    for (const QString& entry : environment.toStringList())
        env.push_back(entry.toStdString());
    std::vector<char*> argv, envp;
    for (std::string& arg : args)
        argv.push_back(arg.data());
    argv.push_back(nullptr);
    for (std::string& entry : env)
        envp.push_back(entry.data());
    envp.push_back(nullptr);
    const std::string cwd = QFile::encodeName(folder).toStdString();

    pid_ = ::fork();
    if (pid_ == 0) {
        ::setsid();
        const int terminal = ::open(slavePath.c_str(), O_RDWR);
        ::ioctl(terminal, TIOCSCTTY, 0);
        ::dup2(terminal, 0);
        ::dup2(terminal, 1);
        ::dup2(terminal, 2);
        for (int fd = 3; fd < 1024; ++fd)
            ::close(fd);
        if (::chdir(cwd.c_str()) != 0)
            ::_exit(126);
        ::execve(argv[0], argv.data(), envp.data());
        ::_exit(127);
    }
    ::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) | O_NONBLOCK);
}

TerminalRun::~TerminalRun()
{
    if (pid_ > 0 && !exit_) {
        const pid_t group = ::tcgetpgrp(master_);
        if (group > 0 && group != pid_)
            ::kill(-group, SIGKILL);
        ::kill(-pid_, SIGKILL);
        int status = 0;
        ::waitpid(pid_, &status, 0);
    }
    if (slave_ >= 0)
        ::close(slave_);
    if (master_ >= 0)
        ::close(master_);
}

void TerminalRun::pump() const
{
    char buffer[65536];
    while (true) {
        const ssize_t n = ::read(master_, buffer, sizeof buffer);
        if (n <= 0)
            break;
        terminal_.feed(buffer, static_cast<std::size_t>(n));
        output_.append(buffer, n);
    }
    if (pid_ > 0 && !exit_) {
        int status = 0;
        if (::waitpid(pid_, &status, WNOHANG) == pid_) {
            if (WIFEXITED(status))
                exit_ = WEXITSTATUS(status);
            else if (WIFSIGNALED(status))
                exit_ = 128 + WTERMSIG(status);
        }
    }
}

bool TerminalRun::waitFor(const std::function<bool()>& condition)
{
    return waitUntil([&] {
        pump();
        return condition();
    });
}

void TerminalRun::type(const QByteArray& bytes)
{
    qsizetype offset = 0;
    while (offset < bytes.size()) {
        const ssize_t n = ::write(master_, bytes.constData() + offset, static_cast<std::size_t>(bytes.size() - offset));
        if (n > 0)
            offset += n;
        else if (n < 0 && errno != EAGAIN && errno != EINTR)
            break;
        else
            pump();
    }
}

void TerminalRun::resize(int cols, int rows)
{
    pump();
    terminal_.resize(cols, rows);
    winsize size{};
    size.ws_col = static_cast<unsigned short>(cols);
    size.ws_row = static_cast<unsigned short>(rows);
    ::ioctl(master_, TIOCSWINSZ, &size);
}

void TerminalRun::signal(int number) const
{
    ::kill(pid_, number);
}

void TerminalRun::signalForeground(int number) const
{
    const pid_t group = ::tcgetpgrp(master_);
    ::kill(-(group > 0 ? group : pid_), number);
}

ClaudeScreen TerminalRun::screen() const
{
    pump();
    return recognizeClaudeScreen(terminal_);
}

std::vector<std::string> TerminalRun::rows() const
{
    pump();
    return screenLines(terminal_);
}

bool TerminalRun::shows(const std::string& text) const
{
    for (const std::string& row : rows()) {
        if (row.find(text) != std::string::npos)
            return true;
    }
    return false;
}

int TerminalRun::usedColumns(int row) const
{
    pump();
    const BufferLine* line = terminal_.buffer().line(row);
    if (!line)
        return 0;
    for (int c = line->size() - 1; c >= 0; --c) {
        const std::string text = line->text(c);
        if (!text.empty() && text != " ")
            return c + std::max<int>(1, line->at(c).width);
    }
    return 0;
}

QByteArray TerminalRun::text() const
{
    pump();
    QByteArray text = output_;
    text.replace("\r\n", "\n");
    return text;
}

termios TerminalRun::modes() const
{
    termios modes{};
    ::tcgetattr(slave_, &modes);
    return modes;
}

bool TerminalRun::raw() const
{
    return (modes().c_lflag & ICANON) == 0;
}

std::optional<int> TerminalRun::exitStatus() const
{
    pump();
    return exit_;
}

int TerminalRun::waiting() const
{
    int count = 0;
    ::ioctl(slave_, FIONREAD, &count);
    return count;
}

QByteArray TerminalRun::unread()
{
    if (!exitStatus())
        return {};
    // Out of canonical mode, so a line not ended yet is read too.
    termios modes = this->modes();
    modes.c_lflag &= ~static_cast<tcflag_t>(ICANON);
    modes.c_cc[VMIN] = 0;
    modes.c_cc[VTIME] = 0;
    ::tcsetattr(slave_, TCSANOW, &modes);
    QByteArray bytes;
    char buffer[4096];
    while (true) {
        const ssize_t n = ::read(slave_, buffer, sizeof buffer);
        if (n <= 0)
            break;
        bytes.append(buffer, n);
    }
    return bytes;
}

char processState(pid_t pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray text = stat.readAll();
    const qsizetype close = text.lastIndexOf(')');
    return close > 0 && close + 2 < text.size() ? text.at(close + 2) : 0;
}

} // namespace orva::test
