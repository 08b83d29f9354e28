import QtQuick
import Orva.Design
import Orva.Components

// The terminal panel's small blue button ("디렉토리 선택", the notice's
// "다시 시도"): its title in the caption font. A click emits action(); so
// do Return and Space while it has the keyboard, its ring then showing.
Rectangle {
    id: root
    property string title
    readonly property bool keyboardControl: true
    readonly property alias focusRing: ring

    signal action()

    Accessible.role: Accessible.Button
    Accessible.name: title
    Keys.onPressed: event => {
        if (ViewRules.isPressKey(event.key, event.modifiers)) {
            event.accepted = true
            root.action()
        }
    }

    width: label.implicitWidth + 2 * Padding.p8
    height: label.implicitHeight + 2 * Padding.p4
    radius: CornerRadius.r4
    color: mouse.pressed ? Qt.darker(Colors.blue, 1.2) : Colors.blue

    FocusRing {
        id: ring
        shown: root.activeFocus
        controlRadius: CornerRadius.r4
    }
    Text {
        id: label
        anchors.centerIn: parent
        text: root.title
        textFormat: Text.PlainText
        font: Fonts.caption
        color: Colors.white
    }
    MouseArea {
        id: mouse
        anchors.fill: parent
        cursorShape: Qt.PointingHandCursor
        onClicked: root.action()
    }
}
