import QtQuick
import Orva.Design
import Orva.Components

// One task as a tappable card, 110 px tall: title and summary at the top,
// the implementation and test status chips at the bottom trailing corner;
// dimmed when the task is completed. `taskItem` is a TaskItem value (or an
// object with the same fields: title, titleUx, summaryUx, status, testStatus).
// A tap anywhere on the card logs "TaskCard 클릭: <title>" and emits tap().
Item {
    id: root
    property var taskItem
    readonly property int status: taskItem ? taskItem.status : 0
    readonly property int testStatus: taskItem ? taskItem.testStatus : 0
    readonly property string statusText: ComponentRules.taskStatusText(status)
    readonly property string testStatusText: ComponentRules.testStatusText(testStatus)

    signal tap()

    function handleTap() {
        ComponentRules.logTaskCardTap(taskItem ? taskItem.title : "")
        root.tap()
    }

    implicitWidth: 300
    implicitHeight: 110
    height: 110
    opacity: status === 2 ? 0.4 : 1.0

    SmoothRect {
        anchors.fill: parent
        radius: CornerRadius.r8
        color: Colors.background
    }
    TaskCardContent {
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.top: parent.top
        anchors.margins: Padding.p16
        title: root.taskItem ? root.taskItem.titleUx : ""
        summary: root.taskItem ? root.taskItem.summaryUx : ""
    }
    Row {
        anchors.right: parent.right
        anchors.bottom: parent.bottom
        anchors.margins: Padding.p16
        spacing: Spacing.s6
        StatusChip {
            chipColor: ComponentRules.taskStatusColor(root.status)
            status: root.statusText
        }
        StatusChip {
            chipColor: ComponentRules.testStatusColor(root.testStatus)
            status: root.testStatusText
        }
    }
    MouseArea {
        anchors.fill: parent
        onClicked: root.handleTap()
    }
}
