import QtQuick
import Orva.Design
import Orva.Components

// The small secondary button (re-choosing a folder, retrying): the label in
// the caption font on a faint white fill, at 0.7 opacity while pressed.
// Give `text` (and `textColor`), or replace `label` with an item of your own.
Item {
    id: root
    property string text
    property color textColor: Colors.textPrimary
    property font font: Fonts.caption
    property Item label: defaultLabel
    readonly property bool pressed: mouse.pressed

    signal clicked()

    implicitWidth: label.implicitWidth + 2 * Padding.p8
    implicitHeight: label.implicitHeight + 2 * Padding.p4
    opacity: pressed ? 0.7 : 1.0

    Rectangle {
        anchors.fill: parent
        radius: CornerRadius.r2
        color: Colors.white20
    }
    Text {
        id: defaultLabel
        visible: root.label === defaultLabel
        anchors.centerIn: parent
        text: root.text
        textFormat: Text.PlainText
        font: root.font
        color: root.textColor
    }
    MouseArea {
        id: mouse
        anchors.fill: parent
        onClicked: root.clicked()
    }
}
