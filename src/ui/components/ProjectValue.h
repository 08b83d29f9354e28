#pragma once

// A plan handed to QML as a value, read one piece at a time.

#include <QVariant>

namespace orva {

// How many milestones the project a QML value holds has (0 for anything that
// is not a project; see projectIn()), and one of them (an invalid value past
// the end).
int milestoneCountIn(const QVariant& project);
QVariant milestoneIn(const QVariant& project, int index);

} // namespace orva
