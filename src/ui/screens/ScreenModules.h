#pragma once

class QQmlEngine;

namespace orva {

// Makes every QML module of the application known to `engine`: the design
// system (Orva.Design, Orva.Components), the terminal items (Orva.Terminal),
// the workflow models (Orva.Workflow), each screen module (Orva.Screens.*) and
// the root view (Orva.Screens). The application and the screen tests start
// their engines through this one call.
void prepareQmlEngine(QQmlEngine& engine);

} // namespace orva
