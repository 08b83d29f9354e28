import QtQuick
import Orva.Design
import Orva.Components
import Orva.Screens.Dashboard

// A milestone's title (verbatim, wrapping to four lines at most, the last
// one elided) and its done/total count at the trailing edge, inset by 6 at
// each side.
Item {
    id: root
    property string title
    property int completedCount
    property int taskCount
    readonly property alias titleText: titleText
    readonly property alias countText: countText

    implicitWidth: 240
    implicitHeight: Math.max(titleText.implicitHeight, countText.implicitHeight)

    Text {
        id: titleText
        x: Padding.p6
        width: Math.max(0, root.width - 2 * Padding.p6 - countText.implicitWidth - Spacing.standard)
        anchors.verticalCenter: parent.verticalCenter
        text: ViewRules.title(root.title)
        textFormat: Text.PlainText
        wrapMode: Text.Wrap
        maximumLineCount: 4
        elide: Text.ElideRight
        font.family: Fonts.title2.family
        font.pixelSize: Fonts.title2.pixelSize
        font.bold: true
        color: Colors.textPrimary
    }
    Text {
        id: countText
        anchors.right: parent.right
        anchors.rightMargin: Padding.p6
        anchors.verticalCenter: parent.verticalCenter
        text: DashboardRules.milestoneCountText(root.completedCount, root.taskCount)
        textFormat: Text.PlainText
        font: Fonts.subheadline
        color: Colors.textSecondary
    }
}
