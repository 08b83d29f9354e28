#pragma once

namespace orva {

// Registers the terminal items and the command channel with QML under the
// module "Orva.Terminal" 1.0: the types TerminalRendererView and
// LocalProcessTerminalView, and the singleton NativeTerminalService (the
// shared instance). Call once before loading QML that imports the module.
void registerTerminalTypes();

} // namespace orva
