#include "terminal/TerminalTypes.h"

// Generated with the module Orva.Terminal (see TerminalQmlTypes.h).
void qml_register_types_Orva_Terminal();

namespace orva {

void registerTerminalTypes()
{
    static bool registered = false;
    if (registered)
        return;
    registered = true;
    qml_register_types_Orva_Terminal();
}

} // namespace orva
