#include "ui/screens/work/TerminalCoordinator.h"

#include "platform/Log.h"
#include "terminal/LocalProcessTerminalView.h"
#include "workflow/ProcessTerminalAdapter.h"
#include "workflow/WorkViewModel.h"
#include "workspace/DirectoryAccessService.h"

#include <QTimer>

namespace orva {

TerminalCoordinator::TerminalCoordinator(WorkViewModel* viewModel, QObject* parent)
    : QObject(parent)
    , viewModel_(viewModel)
{
}

TerminalCoordinator::~TerminalCoordinator() = default;

NativeTerminalService* TerminalCoordinator::channel() const
{
    return viewModel_ ? &viewModel_->nativeTerminalService() : nullptr;
}

void TerminalCoordinator::forwardBytes(std::span<const std::uint8_t> bytes)
{
    logLine(QStringLiteral("[TerminalCoordinator] Forwarding ") + QString::number(bytes.size())
            + QStringLiteral(" bytes to terminal view"));
    if (gate_) {
        gate_->typeFromChannel(bytes);
        return;
    }
    if (LocalProcessTerminalView* view = terminalView_)
        view->typeCommand(bytes);
}

void TerminalCoordinator::connectChannel()
{
    if (NativeTerminalService* service = channel())
        service->setDelegate(this);
}

bool TerminalCoordinator::isChannelReceiver() const
{
    const NativeTerminalService* service = channel();
    return service && service->delegate() == this;
}

void TerminalCoordinator::disconnectChannel()
{
    if (!isChannelReceiver())
        return;
    NativeTerminalService* service = channel();
    service->setDelegate(nullptr);
    service->setProcessRunning(false);
}

TerminalViewWrapper::TerminalViewWrapper(QQuickItem* parent)
    : QQuickItem(parent)
{
    setFlag(ItemIsFocusScope, true);
}

TerminalViewWrapper::~TerminalViewWrapper()
{
    // Whatever waits for `claude` goes with the panel.
    delete gate_;
    gate_ = nullptr;
    if (view_)
        view_->terminate();
    if (coordinator_)
        coordinator_->disconnectChannel();
}

QObject* TerminalViewWrapper::viewModelObject() const
{
    return viewModel_;
}

void TerminalViewWrapper::setViewModelObject(QObject* object)
{
    // The model given when the panel is made stays its model.
    if (coordinator_ || viewModel_ == object)
        return;
    viewModel_ = qobject_cast<WorkViewModel*>(object);
    emit viewModelChanged();
}

QQuickItem* TerminalViewWrapper::terminalViewItem() const
{
    return view_;
}

bool TerminalViewWrapper::showsGrantedBanner() const
{
    if (!viewModel_)
        return false;
    const DirectoryAccessService& directory = viewModel_->directoryAccessService();
    return directory.hasAccess() && directory.hasSelectedDirectory();
}

QString TerminalViewWrapper::folderPath() const
{
    return showsGrantedBanner() ? viewModel_->directoryAccessService().selectedDirectory() : QString();
}

void TerminalViewWrapper::componentComplete()
{
    QQuickItem::componentComplete();
    if (!viewModel_ || coordinator_)
        return;
    DirectoryAccessService* directory = &viewModel_->directoryAccessService();
    connect(directory, &DirectoryAccessService::hasAccessChanged, this, &TerminalViewWrapper::bannerChanged);
    connect(directory, &DirectoryAccessService::selectedDirectoryChanged, this, &TerminalViewWrapper::folderChanged);
    coordinator_ = new TerminalCoordinator(viewModel_, this);
    TerminalClaudeGate::Terminal terminal =
        claudeGateTerminal([this] { return view_.data(); }, [this] { restartShell(); });
    gate_ = new TerminalClaudeGate(viewModel_, std::move(terminal), this);
    coordinator_->setGate(gate_);
    emit claudeGateChanged();
    makeTerminal();
}

void TerminalViewWrapper::makeTerminal()
{
    auto* view = new LocalProcessTerminalView(startCols, startRows, this);
    view->setSize(size());
    view->setFocus(true);
    view_ = view;
    reportReaderEnds(*view, gate_);
    coordinator_->setTerminalView(view);
    coordinator_->connectChannel();
    shellFolder_ = viewModel_->directoryAccessService().selectedDirectory();
    ++startCount_;
    emit terminalViewChanged();
    startShellLater();
}

void TerminalViewWrapper::startShellLater()
{
    // The shell starts on a later turn, once the view is in place.
    QPointer<WorkViewModel> model(viewModel_);
    QPointer<LocalProcessTerminalView> target(view_);
    if (gate_)
        gate_->shellStarted();
    QTimer::singleShot(0, this, [model, target] {
        if (model && target)
            model->startShell(target.data());
    });
}

void TerminalViewWrapper::restartShell()
{
    // The same view, its screen and scroll-back kept: a new shell in it.
    if (!view_ || view_->isRunning() || !viewModel_)
        return;
    logLine(QStringLiteral("[TerminalViewWrapper] - Starting the terminal's shell again"));
    ++startCount_;
    emit terminalViewChanged();
    startShellLater();
}

void TerminalViewWrapper::dropTerminal()
{
    LocalProcessTerminalView* old = view_;
    if (!old)
        return;
    coordinator_->setTerminalView(nullptr);
    view_ = nullptr;
    // The old shell's end must not mark the new one as stopped.
    old->setProcessExitHandler(nullptr);
    old->terminate();
    old->setParentItem(nullptr);
    old->deleteLater();
}

void TerminalViewWrapper::chooseFolder()
{
    if (!viewModel_)
        return;
    choosingFolder_ = true;
    viewModel_->directoryAccessService().selectDirectory();
}

void TerminalViewWrapper::folderChanged()
{
    emit bannerChanged();
    if (!choosingFolder_ || !viewModel_ || !coordinator_)
        return;
    const QString folder = viewModel_->directoryAccessService().selectedDirectory();
    if (folder.isEmpty())
        return;
    choosingFolder_ = false;
    if (folder == shellFolder_)
        return;
    dropTerminal();
    makeTerminal();
}

void TerminalViewWrapper::geometryChange(const QRectF& newGeometry, const QRectF& oldGeometry)
{
    QQuickItem::geometryChange(newGeometry, oldGeometry);
    if (view_)
        view_->setSize(newGeometry.size());
}

} // namespace orva
