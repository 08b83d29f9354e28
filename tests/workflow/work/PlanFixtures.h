#pragma once

#include "model/ProjectModel.h"

#include <QList>

namespace orva::test {

inline TaskItem task(qint64 id, TaskStatus status)
{
    TaskItem item;
    item.id = id;
    item.title = QStringLiteral("Task %1").arg(id);
    item.titleUx = QStringLiteral("작업 %1").arg(id);
    item.status = status;
    return item;
}

// A project whose milestones hold tasks of the given statuses.
inline Project projectOf(const QList<QList<TaskStatus>>& milestones)
{
    Project project;
    project.id = 1;
    project.name = QStringLiteral("Plan");
    qint64 nextId = 1;
    for (int m = 0; m < milestones.size(); ++m) {
        Milestone milestone;
        milestone.id = m + 1;
        milestone.title = QStringLiteral("M%1").arg(m + 1);
        for (TaskStatus status : milestones[m])
            milestone.tasks.append(task(nextId++, status));
        project.milestones.append(milestone);
    }
    return project;
}

// `total` tasks in one milestone, the first `completed` of them completed.
inline Project projectWith(int total, int completed)
{
    QList<TaskStatus> statuses;
    for (int i = 0; i < total; ++i)
        statuses.append(i < completed ? TaskStatus::completed : TaskStatus::planned);
    return projectOf({statuses});
}

} // namespace orva::test
