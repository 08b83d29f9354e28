import QtQuick
import Orva.Design
import Orva.Components
import Orva.Screens.Work

// How far the whole project is: the percentage, a bar and the count of
// completed tasks against all tasks.
Item {
    id: root
    // A Project value.
    property var project
    readonly property string percentageText: WorkBoardRules.percentageText(root.project)
    readonly property real progress: WorkBoardRules.progress(root.project)
    readonly property string countText: WorkBoardRules.countSentence(root.project)

    implicitWidth: 316
    implicitHeight: content.implicitHeight + 2 * Padding.p16

    SmoothRect {
        anchors.fill: parent
        radius: CornerRadius.r8
        color: Colors.cardBackground
    }
    Column {
        id: content
        x: Padding.p16
        y: Padding.p16
        width: root.width - 2 * Padding.p16
        spacing: Spacing.s12

        Item {
            width: parent.width
            height: Math.max(heading.implicitHeight, percentage.implicitHeight)
            Text {
                id: heading
                anchors.left: parent.left
                anchors.verticalCenter: parent.verticalCenter
                text: "전체 진행률"
                font.family: Fonts.title3.family
                font.pixelSize: Fonts.title3.pixelSize
                font.bold: true
                color: Colors.textPrimary
            }
            Text {
                id: percentage
                objectName: "percentage"
                anchors.right: parent.right
                anchors.verticalCenter: parent.verticalCenter
                text: root.percentageText
                textFormat: Text.PlainText
                font.family: Fonts.title2.family
                font.pixelSize: Fonts.title2.pixelSize
                font.bold: true
                color: Colors.green
            }
        }
        ProgressBar {
            objectName: "bar"
            width: parent.width
            height: 6
            progress: root.progress
            cornerRadius: CornerRadius.r6
            backgroundColor: Colors.white20
            foregroundColor: Colors.green
        }
        Text {
            objectName: "count"
            width: parent.width
            text: root.countText
            textFormat: Text.PlainText
            elide: Text.ElideRight
            font: Fonts.callout
            color: Colors.textSecondary
        }
    }
}
