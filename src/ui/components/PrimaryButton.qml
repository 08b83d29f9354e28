import QtQuick
import Orva.Design
import Orva.Components

// The large indigo call to action: the title in bold and a trailing arrow,
// in white (black on indigo reads at 4.1:1 only). A click emits action(); so
// do Return and Space while it has the keyboard, which a screen's Tab round
// gives it (it is a `keyboardControl`), its ring then showing.
Item {
    id: root
    property string title
    readonly property bool pressed: mouse.pressed
    readonly property bool keyboardControl: true
    readonly property alias focusRing: ring

    signal action()

    Accessible.role: Accessible.Button
    Accessible.name: title
    Keys.onPressed: (event) => {
        if (ViewRules.isPressKey(event.key, event.modifiers)) {
            event.accepted = true
            root.action()
        }
    }

    implicitWidth: row.implicitWidth + 2 * Padding.p24
    implicitHeight: row.implicitHeight + 2 * Padding.p16
    opacity: pressed ? 0.75 : 1.0

    FocusRing {
        id: ring
        shown: root.activeFocus
        controlRadius: CornerRadius.r6
    }
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
            color: Colors.white
        }
        SymbolIcon {
            anchors.verticalCenter: parent.verticalCenter
            name: "arrow.forward"
            size: Fonts.body.pixelSize
            color: Colors.white
        }
    }
    MouseArea {
        id: mouse
        anchors.fill: parent
        onClicked: root.action()
    }
}
