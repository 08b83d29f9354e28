#pragma once

#include <QObject>

#include "workflow/TerminalClaudeGate.h"

#include <functional>

namespace orva {

class LocalProcessTerminalView;
class WorkTerminal;

// The work model's view of a terminal object handed over from QML: the
// process terminal view itself when it is one. The adapter lives as long as
// the view; none for any other object.
WorkTerminal* workTerminalFor(QObject* terminalView);

// The gate's terminal over a process terminal view: what it shows and who
// reads it, and the ways to type into it. `view` gives the view of the
// moment (none while there is none); `restartShell` starts its shell again.
TerminalClaudeGate::Terminal claudeGateTerminal(std::function<LocalProcessTerminalView*()> view,
                                                std::function<void()> restartShell);
// The view's process reports the end of the claude the gate watches to the gate.
void reportReaderEnds(LocalProcessTerminalView& view, TerminalClaudeGate* gate);

} // namespace orva
