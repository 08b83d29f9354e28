import QtQuick
import Orva.Design
import Orva.Screens.Dashboard

// A milestone's thin bar: a 4 px track in `color` at 0.4 opacity and a fill
// in `color` as wide as completedCount / taskCount of it (no fill without
// tasks), centred in 6 px and inset by 6 at each side. Square, not animated.
Item {
    id: root
    property int completedCount
    property int taskCount
    property color color: Colors.indigo
    readonly property real fraction: DashboardRules.milestoneBarFraction(completedCount, taskCount)
    readonly property alias track: track
    readonly property alias fill: fill

    implicitWidth: 200
    implicitHeight: 6

    Rectangle {
        id: track
        x: Padding.p6
        width: root.width - 2 * Padding.p6
        height: 4
        anchors.verticalCenter: parent.verticalCenter
        color: Qt.rgba(root.color.r, root.color.g, root.color.b, 0.4)
    }
    Rectangle {
        id: fill
        x: track.x
        width: track.width * root.fraction
        height: 4
        anchors.verticalCenter: parent.verticalCenter
        color: root.color
    }
}
