#pragma once

#include <QObject>

namespace orva {

class WorkTerminal;

// The work model's view of a terminal object handed over from QML: the
// process terminal view itself when it is one. The adapter lives as long as
// the view; none for any other object.
WorkTerminal* workTerminalFor(QObject* terminalView);

} // namespace orva
