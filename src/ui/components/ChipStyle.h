#pragma once

// The status chip of a task card: the text and colour for a task's and a
// test's status.

#include "model/ProjectModel.h"

#include <QColor>
#include <QString>

namespace orva {

struct ChipStyle {
    QString text;
    QColor color;
    friend bool operator==(const ChipStyle&, const ChipStyle&) = default;
};
ChipStyle chipForTaskStatus(TaskStatus status);
ChipStyle chipForTestStatus(TestStatus status);

} // namespace orva
