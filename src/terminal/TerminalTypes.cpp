#include "terminal/TerminalTypes.h"

#include "terminal/LocalProcessTerminalView.h"
#include "terminal/NativeTerminalService.h"
#include "terminal/TerminalRendererView.h"

#include <QQmlEngine>

namespace orva {

void registerTerminalTypes()
{
    static bool registered = false;
    if (registered)
        return;
    registered = true;
    qmlRegisterType<TerminalRendererView>("Orva.Terminal", 1, 0, "TerminalRendererView");
    qmlRegisterType<LocalProcessTerminalView>("Orva.Terminal", 1, 0, "LocalProcessTerminalView");
    qmlRegisterSingletonType<NativeTerminalService>("Orva.Terminal", 1, 0, "NativeTerminalService",
                                                    [](QQmlEngine*, QJSEngine*) -> QObject* {
                                                        QObject* service = &NativeTerminalService::shared();
                                                        QQmlEngine::setObjectOwnership(service, QQmlEngine::CppOwnership);
                                                        return service;
                                                    });
}

} // namespace orva
