#pragma once

#include "model/ProjectModel.h"

#include <QString>
#include <QVariant>

namespace orva::test {

// A task value for component scenes: the texts and statuses a card shows.
inline QVariant taskValue(qint64 id, const QString& title, const QString& titleUx, const QString& summaryUx,
                          int status, int testStatus)
{
    TaskItem t;
    t.id = id;
    t.title = title;
    t.titleUx = titleUx;
    t.summaryUx = summaryUx;
    t.status = static_cast<TaskStatus>(status);
    t.testStatus = static_cast<TestStatus>(testStatus);
    return QVariant::fromValue(t);
}

} // namespace orva::test
