import QtQuick
import Orva.Design
import Orva.Components
import Orva.Screens.Work

// The milestones as tabs and, below them, the task cards of the selected
// one. The selection belongs to the board: it starts at the first
// milestone's id and changes only by a tab tap, so a reload of the plan
// keeps it (a selection no milestone has any more shows an empty area).
Item {
    id: root
    // A Project value.
    property var project
    property var selectedMilestoneId: 0
    readonly property var milestones: root.project ? root.project.milestones : []
    readonly property int selectedIndex: WorkBoardRules.selectedMilestoneIndex(root.project, root.selectedMilestoneId)
    readonly property var selectedTasks: WorkBoardRules.tasksOfSelection(root.project, root.selectedMilestoneId)
    readonly property alias tabs: tabRepeater
    readonly property alias taskCards: taskRepeater

    // A task card was tapped: the task value as the board shows it.
    signal taskTapped(var task)

    implicitWidth: 348
    implicitHeight: content.implicitHeight + 2 * Padding.p16

    Component.onCompleted: root.selectedMilestoneId = WorkBoardRules.firstMilestoneId(root.project)

    SmoothRect {
        anchors.fill: parent
        topLeftRadius: CornerRadius.r12
        topRightRadius: CornerRadius.r12
        bottomLeftRadius: 0
        bottomRightRadius: 0
        color: Colors.cardBackground
    }
    Column {
        id: content
        x: Padding.p16
        y: Padding.p16
        width: root.width - 2 * Padding.p16
        spacing: Spacing.s16

        Row {
            id: tabRow
            width: parent.width
            spacing: Spacing.s16
            readonly property int count: root.milestones.length
            readonly property real tabWidth: count > 0 ? (width - (count - 1) * spacing) / count : 0
            property real tallest: 0
            height: tallest
            Repeater {
                id: tabRepeater
                model: root.milestones
                delegate: MilestoneTabCard {
                    required property var modelData
                    milestone: modelData
                    width: tabRow.tabWidth
                    height: tabRow.tallest
                    isSelected: modelData.id === root.selectedMilestoneId
                    onTap: root.selectedMilestoneId = modelData.id
                    onImplicitHeightChanged: tabRow.measure()
                    Component.onCompleted: tabRow.measure()
                }
            }
            function measure() {
                let tallest = 0
                for (let i = 0; i < tabRepeater.count; ++i) {
                    const tab = tabRepeater.itemAt(i)
                    if (tab)
                        tallest = Math.max(tallest, tab.implicitHeight)
                }
                tabRow.tallest = tallest
            }
            onCountChanged: measure()
        }
        Column {
            objectName: "taskList"
            visible: root.selectedIndex >= 0
            width: parent.width
            spacing: Spacing.s10
            Repeater {
                id: taskRepeater
                model: root.selectedTasks
                delegate: TaskCard {
                    required property var modelData
                    width: parent ? parent.width : 0
                    taskItem: modelData
                    onTap: root.taskTapped(modelData)
                }
            }
        }
        Item {
            objectName: "emptySelection"
            visible: root.selectedIndex < 0
            width: parent.width
            height: visible ? 100 : 0
        }
    }
}
