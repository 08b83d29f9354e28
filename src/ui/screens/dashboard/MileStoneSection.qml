import QtQuick
import Orva.Design
import Orva.Components
import Orva.Screens.Dashboard

// One milestone column: a card 240 wide inside 24 of padding on the card
// background, with the title and count, the bar in the milestone's colour
// and every task. The card is as tall as its content and sits at the top of
// the column, however tall the row makes the column.
Item {
    id: root
    // A Milestone value.
    property var milestone
    // The scroll area its task cards are seen through.
    property Item viewport: null
    readonly property int completedCount: milestone ? milestone.completedTaskCount : 0
    readonly property int taskCount: milestone ? milestone.taskCount : 0
    readonly property color milestoneColor: MilestoneColors.color(milestone ? milestone.type : 0)
    readonly property alias card: card
    readonly property alias progressBar: progressBar
    readonly property alias header: header
    readonly property alias taskList: taskList

    implicitWidth: card.width
    implicitHeight: card.height

    Rectangle {
        id: card
        width: LayoutMetrics.taskColumnWidth + 2 * Padding.p24
        height: content.implicitHeight + 2 * Padding.p24
        color: Colors.cardBackground

        Column {
            id: content
            x: Padding.p24
            y: Padding.p24
            width: LayoutMetrics.taskColumnWidth
            spacing: Spacing.s16

            MilestoneHeader {
                id: header
                width: parent.width
                title: root.milestone ? root.milestone.title : ""
                completedCount: root.completedCount
                taskCount: root.taskCount
            }
            MilestoneProgressBar {
                id: progressBar
                width: parent.width
                completedCount: root.completedCount
                taskCount: root.taskCount
                color: root.milestoneColor
            }
            TaskListSection {
                id: taskList
                width: parent.width
                milestone: root.milestone
                viewport: root.viewport
            }
        }
    }
}
