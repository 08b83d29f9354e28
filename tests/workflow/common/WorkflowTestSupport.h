#pragma once

#include "support/Waiting.h"
#include "terminal/NativeTerminalService.h"
#include "terminal/core/TerminalDelegate.h"
#include "workflow/WorkTerminal.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

#include <chrono>
#include <functional>
#include <optional>

namespace orva {
class ClaudeProcessService;
class DirectoryAccessService;
class FakeFolderPanel;
}

namespace orva::test {

// Points a claude service at the fake `claude` (found in a fixed place, no
// shell probes), with the given extra variables in the children's
// environment and FAKE_CLAUDE_LOG set to `logFile`.
void useFakeClaude(ClaudeProcessService& service, const QString& homePath, const QString& logFile,
                   const QStringList& extraVariables = {}, const QString& executable = {});

// Chooses the folder (made when missing) through the folder panel, as the user
// would, and waits until the service holds it.
void chooseFolderThroughPanel(DirectoryAccessService& directory, FakeFolderPanel& panel, const QString& folder);

// Writes an executable script and returns its path.
QString writeScript(const QString& path, const QByteArray& content);

// Captures the lines written to standard output while it lives.
class LogCapture {
public:
    LogCapture();
    ~LogCapture();
    QStringList lines() const;
    QString text() const { return lines().join(QLatin1Char('\n')); }
    bool contains(const QString& line) const { return lines().contains(line); }
    int count(const QString& line) const { return static_cast<int>(lines().count(line)); }

private:
    int savedFd_ = -1;
    QString path_;
};

// One delivery of bytes, with the time it came since the recorder was made.
struct Delivery {
    QByteArray bytes;
    qint64 atMs = 0;
};

// The emulator-side delegate of a recording terminal.
class RecordingTerminalDelegate : public TerminalDelegate {
public:
    RecordingTerminalDelegate() { clock.start(); }
    void send(std::span<const std::uint8_t> data) override;
    QList<Delivery> sent;
    QElapsedTimer clock;
};

// A terminal that starts nothing and records what the work model asks of it.
class RecordingTerminal : public QObject, public WorkTerminal {
    Q_OBJECT
public:
    struct Start {
        QString executable;
        QStringList arguments;
        std::optional<QStringList> environment;
    };

    void setProcessExitHandler(ExitHandler handler) override { exitHandler = std::move(handler); }
    void startProcess(const QString& executable, const QStringList& arguments,
                      const std::optional<QStringList>& environment) override
    {
        starts.append({executable, arguments, environment});
    }
    TerminalDelegate* terminalDelegate() override { return hasDelegate ? &delegate : nullptr; }
    QObject* lifetimeObject() override { return this; }

    QList<Start> starts;
    ExitHandler exitHandler;
    RecordingTerminalDelegate delegate;
    bool hasDelegate = true;
};

// The command channel's delegate, recording what is typed.
class RecordingChannelDelegate : public NativeTerminalDelegate {
public:
    RecordingChannelDelegate() { clock.start(); }
    void forwardBytes(std::span<const std::uint8_t> bytes) override;
    QByteArray all() const;
    QList<Delivery> received;
    QElapsedTimer clock;
};

QByteArray toBytes(std::span<const std::uint8_t> data);

} // namespace orva::test
