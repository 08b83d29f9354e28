#include "workflow/common/WorkflowTestSupport.h"

#include "fakes/FakeCalls.h"
#include "workflow/ClaudeProcessService.h"
#include "workspace/DirectoryAccessService.h"
#include "support/FakeFolderPanel.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryFile>
#include <QTest>

#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace orva::test {

void useFakeClaude(ClaudeProcessService& service, const QString& homePath, const QString& logFile,
                   const QStringList& extraVariables, const QString& executable)
{
    ClaudeSearchEnvironment search;
    search.homePath = homePath;
    // No shell is asked: the fake is found at its fixed place.
    search.shellPath = std::nullopt;
    search.fallbackShellPath.clear();
    search.environment = QProcessEnvironment::systemEnvironment();
    search.environment.insert(QStringLiteral("FAKE_CLAUDE_LOG"), logFile);
    for (const QString& variable : extraVariables) {
        const qsizetype at = variable.indexOf(QLatin1Char('='));
        search.environment.insert(variable.left(at), variable.mid(at + 1));
    }
    search.fixedPaths = {executable.isEmpty() ? fakeClaudePath() : executable};
    service.setSearchEnvironment(search);
}

void chooseFolderThroughPanel(DirectoryAccessService& directory, FakeFolderPanel& panel, const QString& folder)
{
    QDir().mkpath(folder);
    directory.selectDirectory();
    ASSERT_TRUE(waitUntil([&] { return panel.isShowing(); }));
    panel.answer(PanelResponse::ok, folder);
    ASSERT_TRUE(waitUntil([&] { return directory.selectedDirectory() == folder; }));
}

QString writeScript(const QString& path, const QByteArray& content)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        file.write(content);
        file.close();
    }
    file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    return path;
}

LogCapture::LogCapture()
{
    std::fflush(stdout);
    QTemporaryFile file(QDir::tempPath() + QStringLiteral("/orva-log-XXXXXX"));
    file.setAutoRemove(false);
    if (!file.open())
        return;
    path_ = file.fileName();
    file.close();
    savedFd_ = ::dup(STDOUT_FILENO);
    const int fd = ::open(QFile::encodeName(path_).constData(), O_WRONLY | O_TRUNC);
    ::dup2(fd, STDOUT_FILENO);
    ::close(fd);
}

LogCapture::~LogCapture()
{
    std::fflush(stdout);
    if (savedFd_ >= 0) {
        ::dup2(savedFd_, STDOUT_FILENO);
        ::close(savedFd_);
    }
    // Show what was captured, so a failing test's log stays readable.
    QFile file(path_);
    if (file.open(QIODevice::ReadOnly)) {
        const QByteArray text = file.readAll();
        std::fwrite(text.constData(), 1, static_cast<size_t>(text.size()), stdout);
        std::fflush(stdout);
    }
    QFile::remove(path_);
}

QStringList LogCapture::lines() const
{
    std::fflush(stdout);
    QFile file(path_);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QStringList result = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    if (!result.isEmpty() && result.last().isEmpty())
        result.removeLast();
    return result;
}

QByteArray toBytes(std::span<const std::uint8_t> data)
{
    return QByteArray(reinterpret_cast<const char*>(data.data()), static_cast<qsizetype>(data.size()));
}

void RecordingTerminalDelegate::send(std::span<const std::uint8_t> data)
{
    sent.append({toBytes(data), clock.elapsed()});
}

void RecordingChannelDelegate::forwardBytes(std::span<const std::uint8_t> bytes)
{
    received.append({toBytes(bytes), clock.elapsed()});
}

QByteArray RecordingChannelDelegate::all() const
{
    QByteArray bytes;
    for (const Delivery& delivery : received)
        bytes += delivery.bytes;
    return bytes;
}

} // namespace orva::test
