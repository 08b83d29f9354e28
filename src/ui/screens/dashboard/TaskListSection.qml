pragma ComponentBehavior: Bound

import QtQuick
import Orva.Design
import Orva.Components
import Orva.Screens.Dashboard

// A milestone's task cards, in stored order, as wide as the section. Read
// only: a tap produces the card's own log line and nothing else.
Column {
    id: root
    // TaskItem values.
    property var tasks: []
    readonly property alias cards: cards

    spacing: Spacing.s10

    Repeater {
        id: cards
        model: root.tasks
        delegate: TaskCard {
            required property var modelData
            width: root.width
            taskItem: modelData
        }
    }
}
