#pragma once

// The terminal panel's bridge to the embedded terminal: the coordinator that
// receives the command channel's bytes, and the item that makes the panel's
// one process terminal view, starts its shell through the work model and
// stops it when the panel goes.

#include "terminal/LocalProcessTerminalView.h"
#include "terminal/NativeTerminalService.h"
#include "workflow/TerminalClaudeGate.h"
#include "workflow/WorkViewModel.h"

#include <QObject>
#include <QPointer>
#include <QQuickItem>
#include <QString>
#include <QtQml/qqmlregistration.h>

namespace orva {

// Receives the command channel's bytes and types them into its terminal
// view, which it holds by a guarded pointer: bytes for a view that is gone
// are dropped.
class TerminalCoordinator : public QObject, public NativeTerminalDelegate {
    Q_OBJECT
public:
    explicit TerminalCoordinator(WorkViewModel* viewModel, QObject* parent = nullptr);
    ~TerminalCoordinator() override;

    WorkViewModel* viewModel() const { return viewModel_; }
    LocalProcessTerminalView* terminalView() const { return terminalView_; }
    void setTerminalView(LocalProcessTerminalView* view) { terminalView_ = view; }

    // Logs "[TerminalCoordinator] Forwarding <n> bytes to terminal view" and
    // hands the bytes to the view unchanged; with a gate, to the gate, which
    // types them only into the ready box of the panel's claude: what comes
    // through the channel is meant for claude, and the shell would run it.
    void forwardBytes(std::span<const std::uint8_t> bytes) override;
    void setGate(TerminalClaudeGate* gate) { gate_ = gate; }

    // Becomes the receiver of the model's command channel.
    void connectChannel();
    // Clears the channel's receiver and its running flag, but only while the
    // receiver is still this coordinator: a newer panel that took the channel
    // keeps it.
    void disconnectChannel();
    bool isChannelReceiver() const;

private:
    NativeTerminalService* channel() const;

    QPointer<WorkViewModel> viewModel_;
    QPointer<LocalProcessTerminalView> terminalView_;
    QPointer<TerminalClaudeGate> gate_;
};

// The panel's terminal: one process terminal view, made at 80 x 24 and then
// fitted to this item. When it is complete it makes the view, makes its
// coordinator the channel's receiver and, on a later turn of the event loop,
// asks the work model to start the shell in it. When it is destroyed it stops
// the shell and lets go of the channel.
//
// The working-folder banner reads `showsGrantedBanner` and `folderPath`.
// chooseFolder() shows the folder panel; when a folder is chosen through it,
// the terminal is started again in that folder (a new view and shell), since
// the running shell, and the `claude` in it, were started elsewhere.
//
// Its `claudeGate` is the work model's gate for this terminal: it types for
// `claude` only into the ready box of the claude this terminal started,
// starts claude again in the same shell when it is gone, starts the shell
// again in the same view when the person asks, and says in the panel what it
// waits for.
class TerminalViewWrapper : public QQuickItem {
    Q_OBJECT
    QML_ELEMENT
    // The work screen's WorkViewModel; read once, when the item is complete.
    Q_PROPERTY(QObject* viewModel READ viewModelObject WRITE setViewModelObject NOTIFY viewModelChanged)
    // The process terminal view now shown.
    Q_PROPERTY(QQuickItem* terminalView READ terminalViewItem NOTIFY terminalViewChanged)
    Q_PROPERTY(bool showsGrantedBanner READ showsGrantedBanner NOTIFY bannerChanged)
    Q_PROPERTY(QString folderPath READ folderPath NOTIFY bannerChanged)
    // The folder the running shell was started in (empty: the application's own).
    Q_PROPERTY(QString shellFolder READ shellFolder NOTIFY terminalViewChanged)
    Q_PROPERTY(int startCount READ startCount NOTIFY terminalViewChanged)
    Q_PROPERTY(orva::TerminalClaudeGate* claudeGate READ claudeGate NOTIFY claudeGateChanged)

public:
    static constexpr int startCols = 80;
    static constexpr int startRows = 24;

    explicit TerminalViewWrapper(QQuickItem* parent = nullptr);
    ~TerminalViewWrapper() override;

    QObject* viewModelObject() const;
    void setViewModelObject(QObject* object);
    QQuickItem* terminalViewItem() const;
    LocalProcessTerminalView* terminalView() const { return view_; }
    TerminalCoordinator* coordinator() const { return coordinator_; }
    TerminalClaudeGate* claudeGate() const { return gate_; }

    bool showsGrantedBanner() const;
    QString folderPath() const;
    QString shellFolder() const { return shellFolder_; }
    int startCount() const { return startCount_; }

    Q_INVOKABLE void chooseFolder();

signals:
    void viewModelChanged();
    void terminalViewChanged();
    void bannerChanged();
    void claudeGateChanged();

protected:
    void componentComplete() override;
    void geometryChange(const QRectF& newGeometry, const QRectF& oldGeometry) override;

private:
    void makeTerminal();
    void startShellLater();
    void restartShell();
    void dropTerminal();
    void folderChanged();

    QPointer<WorkViewModel> viewModel_;
    TerminalCoordinator* coordinator_ = nullptr;
    TerminalClaudeGate* gate_ = nullptr;
    QPointer<LocalProcessTerminalView> view_;
    QString shellFolder_;
    int startCount_ = 0;
    bool choosingFolder_ = false;
};

} // namespace orva
