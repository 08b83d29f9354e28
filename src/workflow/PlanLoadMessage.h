#pragma once

#include "workspace/AppGroupMonitorService.h"

#include <QString>

namespace orva {

// What the work screen tells the person when the task plan that is there
// cannot be used: in Korean, with the reason, and whether the plan shown is
// the last good one. Shown as plain text.
QString planLoadMessage(const TaskFileError& error, bool showsLastGoodPlan);

// A size in bytes the way the message shows it ("1.0 TB", "8.0 MB", "512 B").
QString readableSize(qint64 bytes);

} // namespace orva
