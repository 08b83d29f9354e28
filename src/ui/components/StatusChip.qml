import QtQuick
import Orva.Design

// A status text in `chipColor` on a 30 % tint of the same colour.
Rectangle {
    id: root
    property color chipColor: Colors.gray
    property string status

    implicitWidth: label.implicitWidth + 2 * Padding.p8
    implicitHeight: label.implicitHeight + 2 * Padding.p4
    radius: CornerRadius.r2
    color: Qt.rgba(chipColor.r, chipColor.g, chipColor.b, chipColor.a * 0.3)

    Text {
        id: label
        anchors.centerIn: parent
        text: root.status
        textFormat: Text.PlainText
        font: Fonts.subheadline
        color: root.chipColor
    }
}
