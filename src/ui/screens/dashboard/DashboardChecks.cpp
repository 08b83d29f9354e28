#include "ui/screens/dashboard/DashboardChecks.h"

namespace orva {

namespace {

std::optional<qint64> completedCount(const DashboardViewModel* model)
{
    if (!model)
        return std::nullopt;
    const auto project = model->project();
    if (!project)
        return std::nullopt;
    return project->completedTaskCount();
}

} // namespace

DashboardChecks::DashboardChecks(QObject* parent)
    : QObject(parent)
{
}

void DashboardChecks::setViewModel(DashboardViewModel* model)
{
    if (model_ == model)
        return;
    disconnect(connection_);
    model_ = model;
    watch_ = CompletedCountWatch(completedCount(model));
    appeared_ = false;
    if (model)
        connection_ = connect(model, &DashboardViewModel::projectChanged, this, &DashboardChecks::projectChanged);
    emit viewModelChanged();
    if (shown_)
        appear();
}

void DashboardChecks::setShown(bool shown)
{
    if (shown_ == shown)
        return;
    shown_ = shown;
    emit shownChanged();
    if (shown)
        appear();
}

void DashboardChecks::appear()
{
    if (!model_ || appeared_)
        return;
    appeared_ = true;
    check();
}

void DashboardChecks::projectChanged()
{
    // Before the dashboard is shown the watch only follows the count: the
    // value it is shown with is no change.
    if (watch_.update(completedCount(model_)) && appeared_)
        check();
}

void DashboardChecks::check()
{
    if (!model_)
        return;
    model_->checkForCompletedTasks();
    emit checked();
}

} // namespace orva
