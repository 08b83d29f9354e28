#pragma once

// The drawn terminal joined to a pseudo-terminal child: the child's output is
// fed to the emulator and drawn, keys and typed commands go to the child, the
// grid size follows to the kernel, and the child's end goes to an exit handler.

#include "terminal/LocalProcess.h"
#include "terminal/TerminalRendererView.h"

#include <QElapsedTimer>
#include <QStringList>

#include <functional>
#include <optional>

namespace orva {

// The base is named with its namespace so that the QML type registrar finds it.
class LocalProcessTerminalView : public orva::TerminalRendererView, public LocalProcessDelegate, public TerminalDelegate {
    Q_OBJECT
    Q_PROPERTY(bool isRunning READ isRunning NOTIFY runningChanged)

public:
    using ExitHandler = std::function<void(std::optional<std::int32_t>)>;

    // The grid the terminal panel starts with.
    explicit LocalProcessTerminalView(QQuickItem* parent = nullptr);
    LocalProcessTerminalView(int cols, int rows, QQuickItem* parent = nullptr);
    ~LocalProcessTerminalView() override;

    LocalProcess& process() { return m_process; }

    void startProcess(const std::string& executable, const std::vector<std::string>& args,
                      const std::optional<std::vector<std::string>>& environment = std::nullopt);
    // For QML: an empty environment list adds nothing.
    Q_INVOKABLE void startProcess(const QString& executable, const QStringList& args,
                                  const QStringList& environment = {});
    Q_INVOKABLE void terminate();
    void setProcessExitHandler(ExitHandler handler) { m_onProcessExit = std::move(handler); }
    bool isRunning() const { return m_process.isRunning(); }
    // The emulator's outgoing bytes: what the person types (keys, paste),
    // counted as theirs (LocalProcess::sendFromPerson).
    void send(std::span<const std::uint8_t> bytes) override;
    Q_INVOKABLE void send(const QByteArray& bytes);
    // What the application types into the shell itself (a command line).
    void typeCommand(std::span<const std::uint8_t> bytes);
    // What the application types for one program: written only while that
    // process group has the terminal.
    void sendTo(std::span<const std::uint8_t> bytes, pid_t group);

    // Milliseconds since output last arrived; 0 while some of it still waits
    // to be drawn.
    qint64 outputQuietMs() const;

    int lastCols() const { return m_lastCols; }
    int lastRows() const { return m_lastRows; }

    // LocalProcessDelegate
    void processTerminated(std::optional<std::int32_t> exitCode) override;
    void dataReceived(std::span<const std::uint8_t> data) override;
    bool outputBacklogged() const override { return pendingOutput() > 0; }
    WindowSize getWindowSize() override;

    // TerminalDelegate
    void sizeChanged(int cols, int rows) override;
    void bell() override {}

signals:
    void runningChanged();
    // After the exit handler: the child's status, or -1 when there is none.
    void processExited(int exitCode);

protected:
    void layoutGrid() override;
    void outputDrained() override;

private:
    LocalProcess m_process;
    ExitHandler m_onProcessExit;
    int m_lastCols = 0;
    int m_lastRows = 0;
    QElapsedTimer m_sinceOutput;
};

} // namespace orva
