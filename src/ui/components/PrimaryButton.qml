import QtQuick
import Orva.Design
import Orva.Components

// The large indigo call to action: the title in bold and a trailing arrow.
// A click emits action().
Item {
    id: root
    property string title
    readonly property bool pressed: mouse.pressed

    signal action()

    implicitWidth: row.implicitWidth + 2 * Padding.p24
    implicitHeight: row.implicitHeight + 2 * Padding.p16
    opacity: pressed ? 0.75 : 1.0

    SmoothRect {
        anchors.fill: parent
        radius: CornerRadius.r6
        color: Colors.indigo
    }
    Row {
        id: row
        anchors.centerIn: parent
        spacing: Spacing.s8
        Text {
            anchors.verticalCenter: parent.verticalCenter
            text: root.title
            textFormat: Text.PlainText
            font.family: Fonts.title3.family
            font.pixelSize: Fonts.title3.pixelSize
            font.bold: true
            color: Colors.black
        }
        SymbolIcon {
            anchors.verticalCenter: parent.verticalCenter
            name: "arrow.forward"
            size: Fonts.body.pixelSize
            color: Colors.black
        }
    }
    MouseArea {
        id: mouse
        anchors.fill: parent
        onClicked: root.action()
    }
}
