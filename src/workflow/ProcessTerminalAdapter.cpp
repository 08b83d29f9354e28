#include "workflow/ProcessTerminalAdapter.h"

#include "workflow/WorkTerminal.h"

namespace orva {

WorkTerminal* workTerminalFor(QObject* terminalView)
{
    if (!terminalView)
        return nullptr;
    return dynamic_cast<WorkTerminal*>(terminalView);
}

} // namespace orva
