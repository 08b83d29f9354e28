#include "terminal/LocalProcessTerminalView.h"

#include "platform/Log.h"

#include <QPointer>

#include <limits>

namespace orva {

LocalProcessTerminalView::LocalProcessTerminalView(QQuickItem* parent)
    : LocalProcessTerminalView(defaultCols, defaultRows, parent)
{
}

LocalProcessTerminalView::LocalProcessTerminalView(int cols, int rows, QQuickItem* parent)
    : TerminalRendererView(cols, rows, parent),
      m_process([this](std::function<void()> job) {
          // Reader and waiter threads hand their results to the main loop; a
          // view that is gone gets nothing.
          QMetaObject::invokeMethod(this, std::move(job), Qt::QueuedConnection);
      })
{
    m_process.setDelegate(this);
    m_process.setRunningChangedHandler([this](bool) { emit runningChanged(); });
    terminal().setDelegate(this);
    // The grid the view was made with counts as already sent.
    m_lastCols = cols;
    m_lastRows = rows;
}

LocalProcessTerminalView::~LocalProcessTerminalView()
{
    m_process.setRunningChangedHandler(nullptr);
    m_process.setDelegate(nullptr);
    terminal().setDelegate(nullptr);
    // Ends a child that still runs and joins the process's threads while this
    // object is whole.
    m_process.terminate();
}

void LocalProcessTerminalView::startProcess(const std::string& executable, const std::vector<std::string>& args,
                                            const std::optional<std::vector<std::string>>& environment)
{
    m_process.startProcess(executable, args, environment);
}

void LocalProcessTerminalView::startProcess(const QString& executable, const QStringList& args,
                                            const QStringList& environment)
{
    std::vector<std::string> argList;
    for (const QString& arg : args)
        argList.push_back(arg.toStdString());
    std::optional<std::vector<std::string>> env;
    if (!environment.isEmpty()) {
        env.emplace();
        for (const QString& entry : environment)
            env->push_back(entry.toStdString());
    }
    startProcess(executable.toStdString(), argList, env);
}

void LocalProcessTerminalView::terminate()
{
    m_process.terminate();
}

void LocalProcessTerminalView::send(std::span<const std::uint8_t> bytes)
{
    // The key first, the log line after it.
    m_process.sendFromPerson(bytes);
    logLine("[LocalProcessTerminalView] Sending " + std::to_string(bytes.size()) + " bytes to process");
}

void LocalProcessTerminalView::typeCommand(std::span<const std::uint8_t> bytes)
{
    logLine("[LocalProcessTerminalView] Sending " + std::to_string(bytes.size()) + " bytes to process");
    m_process.send(bytes);
}

void LocalProcessTerminalView::sendTo(std::span<const std::uint8_t> bytes, pid_t group)
{
    logLine("[LocalProcessTerminalView] Sending " + std::to_string(bytes.size()) + " bytes to process");
    m_process.sendTo(bytes, group);
}

qint64 LocalProcessTerminalView::outputQuietMs() const
{
    if (pendingOutput() > 0)
        return 0;
    return m_sinceOutput.isValid() ? m_sinceOutput.elapsed() : std::numeric_limits<qint64>::max() / 2;
}

void LocalProcessTerminalView::send(const QByteArray& bytes)
{
    send(std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                                       static_cast<std::size_t>(bytes.size())));
}

void LocalProcessTerminalView::layoutGrid()
{
    TerminalRendererView::layoutGrid();
    if (terminal().cols() != m_lastCols || terminal().rows() != m_lastRows) {
        m_lastCols = terminal().cols();
        m_lastRows = terminal().rows();
        m_process.setWindowSize(m_lastCols, m_lastRows, 0, 0);
    }
}

void LocalProcessTerminalView::processTerminated(std::optional<std::int32_t> exitCode)
{
    // One more turn of the main loop before the handler runs.
    QPointer<LocalProcessTerminalView> self(this);
    QMetaObject::invokeMethod(
        this,
        [self, exitCode] {
            if (!self)
                return;
            if (self->m_onProcessExit)
                self->m_onProcessExit(exitCode);
            emit self->processExited(exitCode.value_or(-1));
        },
        Qt::QueuedConnection);
}

void LocalProcessTerminalView::dataReceived(std::span<const std::uint8_t> data)
{
    m_sinceOutput.start();
    feedBytes(data);
}

void LocalProcessTerminalView::outputDrained()
{
    m_process.resumeOutput();
}

WindowSize LocalProcessTerminalView::getWindowSize()
{
    auto clamp16 = [](int v) { return static_cast<std::uint16_t>(std::clamp(v, 0, 65535)); };
    return WindowSize{clamp16(terminal().rows()), clamp16(terminal().cols()), 0, 0};
}

void LocalProcessTerminalView::sizeChanged(int cols, int rows)
{
    m_process.setWindowSize(cols, rows, 0, 0);
}

} // namespace orva
