#include "ui/screens/work/WorkScreenState.h"

#include "workspace/AppGroupMonitorService.h"

namespace orva {

bool ProjectCompletionRule::observe(const std::optional<Project>& project)
{
    if (!project)
        return false;
    if (!seenFirst_) {
        seenFirst_ = true;
        return false;
    }
    if (shown_ || project->milestones.isEmpty())
        return false;
    const qint64 total = project->totalTaskCount();
    if (total < 1 || project->completedTaskCount() != total)
        return false;
    shown_ = true;
    return true;
}

WorkScreenState::WorkScreenState(QObject* parent)
    : QObject(parent)
{
    popupTimer_.setSingleShot(true);
    popupTimer_.setInterval(completionPopupDelayMs);
    popupTimer_.setTimerType(Qt::PreciseTimer);
    connect(&popupTimer_, &QTimer::timeout, this, [this] {
        showCompletionPopup_ = true;
        emit celebrationChanged();
    });
}

QObject* WorkScreenState::viewModelObject() const
{
    return viewModel_;
}

void WorkScreenState::setViewModelObject(QObject* object)
{
    auto* model = qobject_cast<WorkViewModel*>(object);
    if (viewModel_ || !model)
        return;
    viewModel_ = model;
    connect(&model->appGroupMonitorService(), &AppGroupMonitorService::projectChanged, this,
            &WorkScreenState::planChanged);
    // What the screen is first shown with.
    rule_.observe(model->appGroupMonitorService().project());
    emit projectChanged();
}

QVariant WorkScreenState::projectValue() const
{
    return viewModel_ ? viewModel_->appGroupMonitorService().projectValue() : QVariant();
}

bool WorkScreenState::hasProject() const
{
    return viewModel_ && viewModel_->appGroupMonitorService().hasProject();
}

void WorkScreenState::planChanged()
{
    emit projectChanged();
    if (!viewModel_ || !rule_.observe(viewModel_->appGroupMonitorService().project()))
        return;
    showConfetti_ = true;
    emit celebrationChanged();
    popupTimer_.start();
}

void WorkScreenState::dismissCompletion()
{
    popupTimer_.stop();
    showCompletionPopup_ = false;
    emit celebrationChanged();
    showConfetti_ = false;
    emit celebrationChanged();
}

} // namespace orva
