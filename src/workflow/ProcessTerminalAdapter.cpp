#include "workflow/ProcessTerminalAdapter.h"

#include "terminal/ClaudeScreen.h"
#include "terminal/LocalProcessTerminalView.h"
#include "workflow/WorkTerminal.h"

#include <string>
#include <vector>

namespace orva {

namespace {

const QString kAdapterName = QStringLiteral("orva.workTerminal");

std::vector<std::string> toStrings(const QStringList& texts)
{
    std::vector<std::string> result;
    result.reserve(static_cast<std::size_t>(texts.size()));
    for (const QString& text : texts)
        result.push_back(text.toStdString());
    return result;
}

// The process terminal view as the work model drives it. A child of the
// view, so it lives exactly as long as the view.
class ProcessTerminalAdapter : public QObject, public WorkTerminal, private TerminalDelegate {
public:
    explicit ProcessTerminalAdapter(LocalProcessTerminalView* view)
        : QObject(view)
        , view_(view)
    {
        setObjectName(kAdapterName);
    }

    void setProcessExitHandler(ExitHandler handler) override { view_->setProcessExitHandler(std::move(handler)); }

    void startProcess(const QString& executable, const QStringList& arguments,
                      const std::optional<QStringList>& environment) override
    {
        std::optional<std::vector<std::string>> additions;
        if (environment)
            additions = toStrings(*environment);
        view_->startProcess(executable.toStdString(), toStrings(arguments), additions);
    }

    // What the model types is the application's, not the person's.
    TerminalDelegate* terminalDelegate() override { return view_->terminal().delegate() ? this : nullptr; }

    QObject* lifetimeObject() override { return view_; }

private:
    void send(std::span<const std::uint8_t> data) override { view_->typeCommand(data); }

    LocalProcessTerminalView* view_;
};

} // namespace

WorkTerminal* workTerminalFor(QObject* terminalView)
{
    if (!terminalView)
        return nullptr;
    if (auto* terminal = dynamic_cast<WorkTerminal*>(terminalView))
        return terminal;
    auto* view = qobject_cast<LocalProcessTerminalView*>(terminalView);
    if (!view)
        return nullptr;
    for (QObject* child : view->children()) {
        if (child->objectName() == kAdapterName) {
            if (auto* adapter = dynamic_cast<ProcessTerminalAdapter*>(child))
                return adapter;
        }
    }
    return new ProcessTerminalAdapter(view);
}

TerminalClaudeGate::Terminal claudeGateTerminal(std::function<LocalProcessTerminalView*()> view,
                                                std::function<void()> restartShell)
{
    auto bytes = [](const QByteArray& data) {
        return std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(data.constData()),
                                             static_cast<std::size_t>(data.size()));
    };
    TerminalClaudeGate::Terminal terminal;
    terminal.look = [view] {
        TerminalLook look;
        LocalProcessTerminalView* v = view();
        if (!v)
            return look;
        LocalProcess& process = v->process();
        look.shellRunning = process.isRunning();
        look.shell = process.processId();
        look.foreground = process.foregroundReader();
        look.screen = recognizeClaudeScreen(v->terminal());
        look.quietMs = v->outputQuietMs();
        look.bracketedPaste = v->terminal().modes().bracketedPaste;
        return look;
    };
    terminal.typeCommand = [view, bytes](const QByteArray& command) {
        if (LocalProcessTerminalView* v = view())
            v->typeCommand(bytes(command));
    };
    terminal.typeForClaude = [view, bytes](const QByteArray& data, pid_t group) {
        if (LocalProcessTerminalView* v = view())
            v->sendTo(bytes(data), group);
    };
    terminal.guardReader = [view](pid_t reader, std::uint64_t startTime) {
        if (LocalProcessTerminalView* v = view())
            v->process().guardReader(reader, startTime);
    };
    terminal.flushInput = [view] {
        if (LocalProcessTerminalView* v = view())
            v->process().flushUnreadInput();
    };
    terminal.restartShell = std::move(restartShell);
    terminal.focusTerminal = [view] {
        if (LocalProcessTerminalView* v = view())
            v->forceActiveFocus();
    };
    return terminal;
}

void reportReaderEnds(LocalProcessTerminalView& view, TerminalClaudeGate* gate)
{
    QPointer<TerminalClaudeGate> target(gate);
    view.process().setReaderGoneHandler([target](pid_t reader, std::uint64_t) {
        if (target)
            target->readerGone(reader);
    });
}

} // namespace orva
