pragma ComponentBehavior: Bound

import QtQuick
import Orva.Components
import Orva.Screens.Dashboard

// A milestone's task cards, in stored order, as wide as the section, each
// 110 high and 10 apart. Only the cards that `viewport` shows (and a
// screenful around them) are made. Read only: a tap produces the card's own
// log line and nothing else.
Item {
    id: root
    // A Milestone value: its tasks are read one at a time, as their cards
    // are made.
    property var milestone
    // The scroll area the cards are seen through; the list itself when none.
    property Item viewport: null
    readonly property int taskCount: root.milestone ? root.milestone.taskCount : 0
    readonly property real stride: DashboardRules.taskCardHeight + DashboardRules.taskCardSpacing
    readonly property alias cards: cards
    readonly property alias cardWindow: cardWindow

    implicitWidth: 240
    implicitHeight: DashboardRules.taskListHeight(root.taskCount)
    height: implicitHeight

    Repeater {
        id: cards
        model: ItemWindow {
            id: cardWindow
            total: root.taskCount
            stride: root.stride
            extent: DashboardRules.taskCardHeight
            viewport: root.viewport ? root.viewport : root
            list: root
            margin: 400
        }
        delegate: TaskCard {
            required property int itemIndex
            y: itemIndex * root.stride
            width: root.width
            taskItem: DashboardRules.taskAt(root.milestone, itemIndex)
        }
    }
}
