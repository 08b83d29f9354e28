#pragma once

#include <QObject>
#include <QString>

namespace orva {

// Holder of the root view's phase enumeration (a namespace, so that QML
// sees it as an enumeration and not as a value type).
namespace ViewPhaseType {
Q_NAMESPACE

// The phases in workflow order; `dashboard` shows the work screen.
enum class ViewPhase { entry, chat, projectGuiding, dashboard };
Q_ENUM_NS(ViewPhase)

// The same phases for QML, where enumeration values are capitalised:
// ViewPhase.Entry, ViewPhase.Chat, ViewPhase.ProjectGuiding,
// ViewPhase.Dashboard.
enum Value {
    Entry = static_cast<int>(ViewPhase::entry),
    Chat = static_cast<int>(ViewPhase::chat),
    ProjectGuiding = static_cast<int>(ViewPhase::projectGuiding),
    Dashboard = static_cast<int>(ViewPhase::dashboard),
};
Q_ENUM_NS(Value)
} // namespace ViewPhaseType

using ViewPhase = ViewPhaseType::ViewPhase;

QString toString(ViewPhase phase);

} // namespace orva
