#include "workflow/DashboardViewModel.h"

#include "platform/Log.h"
#include "workspace/AppGroupMonitorService.h"

namespace orva {

DashboardViewModel::DashboardViewModel(QObject* parent)
    : DashboardViewModel(std::nullopt, WorkflowServices::defaults(), parent)
{
}

DashboardViewModel::DashboardViewModel(std::optional<Project> previewProject, QObject* parent)
    : DashboardViewModel(std::move(previewProject), WorkflowServices::defaults(), parent)
{
}

DashboardViewModel::DashboardViewModel(std::optional<Project> previewProject, const WorkflowServices& services,
                                       QObject* parent)
    : QObject(parent)
    , appGroupMonitorService_(services.monitor())
{
    registerModelMetaTypes();
    previewProject_ = std::move(previewProject);
    syncCompletedTaskCount();
    connect(&appGroupMonitorService_, &AppGroupMonitorService::projectChanged, this,
            &DashboardViewModel::followMonitor);
}

DashboardViewModel::~DashboardViewModel() = default;

void DashboardViewModel::componentComplete()
{
    // QML sets previewProject after construction; count from the project it set.
    syncCompletedTaskCount();
}

void DashboardViewModel::setPreviewProject(std::optional<Project> project)
{
    if (previewProject_ == project)
        return;
    previewProject_ = std::move(project);
    emit previewProjectChanged();
    emit projectChanged();
}

QVariant DashboardViewModel::previewProjectValue() const
{
    return previewProject_ ? QVariant::fromValue(*previewProject_) : QVariant();
}

void DashboardViewModel::setPreviewProjectValue(const QVariant& value)
{
    setPreviewProject(projectIn(value));
}

std::optional<Project> DashboardViewModel::project() const
{
    if (previewProject_)
        return previewProject_;
    return appGroupMonitorService_.project();
}

QVariant DashboardViewModel::projectValue() const
{
    const auto examined = project();
    return examined ? QVariant::fromValue(*examined) : QVariant();
}

qint64 DashboardViewModel::completedTaskCount() const
{
    const auto examined = project();
    return examined ? examined->completedTaskCount() : 0;
}

AppGroupMonitorService* DashboardViewModel::appGroupMonitorServiceObject() const
{
    return &appGroupMonitorService_;
}

// The work screen hands the dashboard the plan of the moment it opens; a
// plan frozen there would never show a rise. When the monitor holds no plan
// any more (the file is gone), the dashboard drops its plan too rather than
// go on showing a stale one.
void DashboardViewModel::followMonitor()
{
    const auto current = appGroupMonitorService_.project();
    if (previewProject_)
        setPreviewProject(current);
    else
        emit projectChanged();
}

void DashboardViewModel::syncCompletedTaskCount()
{
    const auto examined = project();
    if (!examined)
        return;
    setPreviousCompletedTasks(examined->completedTaskCount());
}

void DashboardViewModel::checkForCompletedTasks()
{
    const auto examined = project();
    if (!examined)
        return;
    const qint64 completed = examined->completedTaskCount();
    if (isInitialLoad_) {
        setInitialLoad(false);
        return;
    }
    if (completed > previousCompletedTasks_) {
        logLine(QStringLiteral("[DashboardViewModel] - ") + QString::number(completed - previousCompletedTasks_)
                + QStringLiteral(" task(s) completed!"));
        if (completed >= examined->totalTaskCount()) {
            logLine(QStringLiteral("[DashboardViewModel] - All tasks completed. Skipping popup."));
        } else {
            setShowCompletedTaskPopup(true);
            logLine(QStringLiteral("[DashboardViewModel] - Popup shown: true"));
        }
    }
    setPreviousCompletedTasks(completed);
}

void DashboardViewModel::dismissPopup()
{
    setShowCompletedTaskPopup(false);
    logLine(QStringLiteral("[DashboardViewModel] - Popup dismissed"));
}

void DashboardViewModel::setShowCompletedTaskPopup(bool value)
{
    if (showCompletedTaskPopup_ == value)
        return;
    showCompletedTaskPopup_ = value;
    emit showCompletedTaskPopupChanged();
}

void DashboardViewModel::setPreviousCompletedTasks(qint64 value)
{
    if (previousCompletedTasks_ == value)
        return;
    previousCompletedTasks_ = value;
    emit previousCompletedTasksChanged();
}

void DashboardViewModel::setInitialLoad(bool value)
{
    if (isInitialLoad_ == value)
        return;
    isInitialLoad_ = value;
    emit isInitialLoadChanged();
}

} // namespace orva
