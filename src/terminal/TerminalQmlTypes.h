#pragma once

// The QML module Orva.Terminal, declared for the type registrar and the QML
// tools: the drawn terminal item, the process terminal item and the command
// channel's shared instance as the singleton NativeTerminalService.
// registerTerminalTypes() registers the module at run time.

#include "terminal/LocalProcessTerminalView.h"
#include "terminal/NativeTerminalService.h"
#include "terminal/TerminalRendererView.h"

#include <QObject>
#include <QQmlEngine>
#include <QtQml/qqmlregistration.h>

namespace orva::terminalqml {

struct TerminalRendererViewType {
    Q_GADGET
    QML_FOREIGN(orva::TerminalRendererView)
    QML_NAMED_ELEMENT(TerminalRendererView)
};
struct LocalProcessTerminalViewType {
    Q_GADGET
    QML_FOREIGN(orva::LocalProcessTerminalView)
    QML_NAMED_ELEMENT(LocalProcessTerminalView)
};
struct NativeTerminalServiceType {
    Q_GADGET
    QML_FOREIGN(orva::NativeTerminalService)
    QML_NAMED_ELEMENT(NativeTerminalService)
    QML_SINGLETON
public:
    // The shared instance; the engine never owns it.
    static NativeTerminalService* create(QQmlEngine*, QJSEngine*)
    {
        NativeTerminalService* service = &NativeTerminalService::shared();
        QQmlEngine::setObjectOwnership(service, QQmlEngine::CppOwnership);
        return service;
    }
};

} // namespace orva::terminalqml
