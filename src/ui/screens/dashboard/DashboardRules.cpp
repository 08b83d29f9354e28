#include "ui/screens/dashboard/DashboardRules.h"

#include "ui/components/ProjectValue.h"

#include "model/ProjectModel.h"

#include <algorithm>
#include <optional>
#include <cmath>

namespace orva {

bool CompletedCountWatch::update(std::optional<qint64> count)
{
    if (count == last_)
        return false;
    last_ = count;
    return true;
}

double milestoneBarFraction(qint64 completedCount, qint64 taskCount)
{
    if (taskCount < 1)
        return 0.0;
    return static_cast<double>(completedCount) / static_cast<double>(taskCount);
}

double headerBarFraction(double progress)
{
    if (std::isnan(progress))
        return 0.0;
    return std::clamp(progress, 0.0, 1.0);
}

QString taskTotalText(qint64 totalTasks)
{
    return QStringLiteral("총 %1개의 작업").arg(totalTasks);
}

QString milestoneCountText(qint64 completedCount, qint64 taskCount)
{
    return QStringLiteral("%1/%2").arg(completedCount).arg(taskCount);
}

double milestoneRowWidth(int columns)
{
    if (columns < 1)
        return 0.0;
    return columns * kMilestoneColumnWidth + (columns - 1) * kMilestoneColumnSpacing;
}

bool milestoneRowScrolls(int columns, double availableWidth)
{
    return milestoneRowWidth(columns) > availableWidth;
}

double milestoneRowX(int columns, double availableWidth)
{
    if (milestoneRowScrolls(columns, availableWidth))
        return 0.0;
    return (availableWidth - milestoneRowWidth(columns)) / 2;
}

double taskListHeight(qint64 tasks)
{
    if (tasks < 1)
        return 0.0;
    return static_cast<double>(tasks) * kTaskCardHeight + static_cast<double>(tasks - 1) * kTaskCardSpacing;
}

qint64 mostTasks(const Project& project)
{
    qint64 most = 0;
    for (const Milestone& milestone : project.milestones)
        most = std::max<qint64>(most, milestone.tasks.size());
    return most;
}

qint64 DashboardRules::mostTasksOf(const QVariant& project) const
{
    const auto p = projectIn(project);
    return p ? orva::mostTasks(*p) : 0;
}

int DashboardRules::milestoneCount(const QVariant& project) const
{
    return milestoneCountIn(project);
}

QVariant DashboardRules::milestoneAt(const QVariant& project, int index) const
{
    return milestoneIn(project, index);
}

QVariant DashboardRules::taskAt(const QVariant& milestone, int index) const
{
    if (milestone.metaType() != QMetaType::fromType<Milestone>())
        return {};
    const Milestone m = milestone.value<Milestone>();
    if (index < 0 || index >= m.tasks.size())
        return {};
    return QVariant::fromValue(m.tasks.at(index));
}

double DashboardRules::milestoneBarFraction(qint64 completedCount, qint64 taskCount) const
{
    return orva::milestoneBarFraction(completedCount, taskCount);
}

double DashboardRules::headerBarFraction(double progress) const { return orva::headerBarFraction(progress); }

QString DashboardRules::taskTotalText(qint64 totalTasks) const { return orva::taskTotalText(totalTasks); }

QString DashboardRules::milestoneCountText(qint64 completedCount, qint64 taskCount) const
{
    return orva::milestoneCountText(completedCount, taskCount);
}

double DashboardRules::milestoneRowWidth(int columns) const { return orva::milestoneRowWidth(columns); }

bool DashboardRules::milestoneRowScrolls(int columns, double availableWidth) const
{
    return orva::milestoneRowScrolls(columns, availableWidth);
}

double DashboardRules::milestoneRowX(int columns, double availableWidth) const
{
    return orva::milestoneRowX(columns, availableWidth);
}

} // namespace orva
