import QtQuick
import Orva.Design
import Orva.Components

// "프로젝트 생성 완료": the user says the Xcode project exists. A checkmark
// follows the text once the project is verified; a spinner stands in its
// place while a check runs. The button is never disabled. Return and Space
// press it while it has the keyboard (the screen's Tab round gives it). Its
// label is white: white at 0.9 reads at 4.4:1 only on indigo.
Item {
    id: root
    property bool isVerified: false
    property bool isVerifying: false
    readonly property bool pressed: mouse.pressed
    readonly property bool keyboardControl: true
    readonly property alias focusRing: ring
    signal action()

    Accessible.role: Accessible.Button
    Accessible.name: "프로젝트 생성 완료"
    Keys.onPressed: (event) => {
        if (ViewRules.isPressKey(event.key, event.modifiers)) {
            event.accepted = true
            root.action()
        }
    }

    implicitWidth: label.implicitWidth + 2 * Padding.p24
    implicitHeight: label.implicitHeight + 2 * Padding.p16

    FocusRing {
        id: ring
        shown: root.activeFocus
        controlRadius: CornerRadius.r6
    }
    SmoothRect {
        anchors.fill: parent
        radius: CornerRadius.r6
        color: Colors.indigo
        opacity: root.pressed ? 0.8 : 1.0
    }
    Row {
        id: label
        anchors.centerIn: parent
        spacing: Spacing.s8
        Text {
            anchors.verticalCenter: parent.verticalCenter
            text: "프로젝트 생성 완료"
            textFormat: Text.PlainText
            font: Fonts.title3
            color: Colors.white
        }
        SymbolIcon {
            objectName: "verifiedMark"
            anchors.verticalCenter: parent.verticalCenter
            visible: root.isVerified && !root.isVerifying
            name: "checkmark"
            size: Fonts.title3.pixelSize
            color: Colors.white
        }
        ActivitySpinner {
            objectName: "verifyingSpinner"
            anchors.verticalCenter: parent.verticalCenter
            visible: root.isVerifying
            size: Fonts.title3.pixelSize
            color: Colors.white
        }
    }
    MouseArea {
        id: mouse
        anchors.fill: parent
        onClicked: root.action()
    }
}
