import QtQuick
import Orva.Design
import Orva.Components

// One sample app: its symbol on a faint circle of its colour, its name and a
// short description, each on one line in a frame 72 wide (wide enough for
// every sample name at our fonts).
Item {
    id: root
    property string icon
    property string name
    property string description
    property color color: Colors.white

    readonly property alias nameText: nameText
    readonly property alias descriptionText: descriptionText

    implicitWidth: 72
    implicitHeight: column.implicitHeight + 2 * Padding.p8

    Column {
        id: column
        y: Padding.p8
        width: root.width
        spacing: Spacing.s8

        Item {
            width: 40
            height: 40
            anchors.horizontalCenter: parent.horizontalCenter
            Rectangle {
                anchors.fill: parent
                radius: width / 2
                color: Qt.rgba(root.color.r, root.color.g, root.color.b, 0.1)
            }
            SymbolIcon {
                anchors.centerIn: parent
                name: root.icon
                size: 18
                color: Qt.rgba(root.color.r, root.color.g, root.color.b, 0.7)
            }
        }
        Column {
            width: parent.width
            spacing: 2
            Text {
                id: nameText
                width: parent.width
                horizontalAlignment: Text.AlignHCenter
                text: root.name
                textFormat: Text.PlainText
                font: Fonts.callout
                color: Colors.textPrimary
                maximumLineCount: 1
                elide: Text.ElideRight
            }
            Text {
                id: descriptionText
                width: parent.width
                horizontalAlignment: Text.AlignHCenter
                text: root.description
                textFormat: Text.PlainText
                font: Fonts.caption
                color: Colors.textSecondary
                maximumLineCount: 1
                elide: Text.ElideRight
            }
        }
    }
}
