#pragma once

#include <QObject>
#include <QString>

namespace orva {

// Holder of the root view's phase enumeration (a namespace, so that QML
// sees it as an enumeration and not as a value type).
namespace ViewPhaseType {
Q_NAMESPACE

// The phases in workflow order; `Dashboard` shows the work screen. C++ and
// QML share it: ViewPhase::Entry here, ViewPhase.Entry in QML (whose
// enumeration values are capitalised).
enum class ViewPhase { Entry, Chat, ProjectGuiding, Dashboard };
Q_ENUM_NS(ViewPhase)
} // namespace ViewPhaseType

using ViewPhase = ViewPhaseType::ViewPhase;

QString toString(ViewPhase phase);

} // namespace orva
