#pragma once

#include <QObject>
#include <QString>

namespace orva {

// Holder of the root view's phase enumeration, so that QML reads it as
// ViewPhase.entry, ViewPhase.chat, ...
class ViewPhaseType {
    Q_GADGET
public:
    // The phases in workflow order; `dashboard` shows the work screen.
    enum class ViewPhase { entry, chat, projectGuiding, dashboard };
    Q_ENUM(ViewPhase)
};

using ViewPhase = ViewPhaseType::ViewPhase;

QString toString(ViewPhase phase);

} // namespace orva
