import QtQuick
import Orva.Design
import Orva.Components

// The modal card shown when every task is done. Its two ways out run through
// `actions`, a ProjectCompletionActions that the owner creates and keeps, so
// that the delayed reports (dismiss after 0.2 s, newProject after 0.3 s) still
// arrive after the owner has removed the popup:
//
//     ProjectCompletionActions { id: completion; onDismiss: showPopup = false; onNewProject: root.newProject() }
//     ProjectCompletionPopup { anchors.fill: parent; actions: completion }
//
// A modal overlay: a click on its backdrop and Escape do what "확인" does;
// Tab and Shift+Tab go between its two buttons, Return and Space press the
// one that has it; no key passes to what lies under it.
ModalOverlay {
    id: root
    property ProjectCompletionActions actions
    property real cardScale: 0.5
    property real cardOpacity: 0
    readonly property alias card: card
    readonly property alias newProjectButton: newProjectButton
    readonly property alias confirmButton: confirmButton

    dim: Qt.rgba(0, 0, 0, 0.5)
    onBackdropClicked: root.close()
    onDismissRequested: root.close()
    onTabPressed: forward => root.moveFocus(forward)

    function moveFocus(forward: bool) {
        ViewRules.moveKeyboard(card, root.Window.activeFocusItem, forward)
    }

    // One of the two buttons: its label on its fill; a click, Return or
    // Space emits pressed().
    component PopupButton: Item {
        id: button
        property string title
        property color fill
        property color labelColor
        property color borderColor: "transparent"
        readonly property bool keyboardControl: true
        readonly property alias label: label
        signal pressed()
        height: label.implicitHeight + 2 * Padding.p12
        Accessible.role: Accessible.Button
        Accessible.name: button.title
        Keys.onPressed: (event) => {
            if (ViewRules.isPressKey(event.key, event.modifiers)) {
                event.accepted = true
                button.pressed()
            }
        }
        FocusRing {
            shown: button.activeFocus
            controlRadius: CornerRadius.r8
        }
        SmoothRect {
            anchors.fill: parent
            radius: CornerRadius.r8
            color: button.fill
            borderColor: button.borderColor
            borderWidth: 1
            borderMode: SmoothRect.Inside
        }
        Text {
            id: label
            anchors.centerIn: parent
            text: button.title
            textFormat: Text.PlainText
            font: Fonts.callout
            color: button.labelColor
        }
        MouseArea {
            anchors.fill: parent
            onClicked: button.pressed()
        }
    }

    function close() {
        entrance.stop()
        exit.restart()
        if (actions)
            actions.close()
    }
    function startNewProject() {
        entrance.stop()
        exit.restart()
        if (actions)
            actions.startNewProject()
    }

    Component.onCompleted: entrance.start()

    Item {
        id: card
        width: 400
        height: content.implicitHeight + 2 * Padding.p32
        anchors.centerIn: parent
        scale: root.cardScale
        opacity: Math.max(0, Math.min(1, root.cardOpacity))

        SoftShadow {
            anchors.fill: parent
            anchors.margins: -20
            blurRadius: 20
            cornerRadius: CornerRadius.r12
            color: Qt.rgba(0, 0, 0, 0.33)
        }
        SmoothRect {
            anchors.fill: parent
            radius: CornerRadius.r12
            color: Colors.cardBackground
        }
        // Taps on the card outside its buttons do nothing.
        MouseArea { anchors.fill: parent }

        Column {
            id: content
            x: Padding.p32
            y: Padding.p32
            width: card.width - 2 * Padding.p32
            spacing: Spacing.s24

            Item {
                width: 100
                height: 100
                anchors.horizontalCenter: parent.horizontalCenter
                Rectangle {
                    anchors.fill: parent
                    radius: 50
                    color: Qt.rgba(Colors.green.r, Colors.green.g, Colors.green.b, 0.2)
                }
                SymbolIcon {
                    anchors.centerIn: parent
                    name: "checkmark.circle.fill"
                    size: 60
                    color: Colors.green
                }
            }

            Column {
                width: parent.width
                spacing: Spacing.s12
                Text {
                    width: parent.width
                    horizontalAlignment: Text.AlignHCenter
                    text: "프로젝트 완료!"
                    font.family: Fonts.title.family
                    font.pixelSize: Fonts.title.pixelSize
                    font.bold: true
                    color: Colors.white
                }
                Text {
                    width: parent.width
                    horizontalAlignment: Text.AlignHCenter
                    wrapMode: Text.Wrap
                    text: "모든 작업을 성공적으로 완료했습니다"
                    font: Fonts.body
                    // The readable grey: 0.4 white reads at 3.8:1 only.
                    color: Colors.gray
                }
            }

            Column {
                width: parent.width
                spacing: Spacing.s12
                Row {
                    id: buttons
                    width: parent.width
                    spacing: Spacing.s12
                    readonly property real buttonWidth: (width - spacing) / 2

                    PopupButton {
                        id: newProjectButton
                        objectName: "newProjectButton"
                        width: buttons.buttonWidth
                        title: "새 프로젝트"
                        fill: Colors.background
                        borderColor: Colors.white20
                        labelColor: Colors.textPrimary
                        onPressed: root.startNewProject()
                    }
                    // Black on the green: white on it reads at 2:1 only.
                    PopupButton {
                        id: confirmButton
                        objectName: "confirmButton"
                        width: buttons.buttonWidth
                        title: "확인"
                        fill: Colors.green
                        labelColor: Colors.black
                        onPressed: root.close()
                    }
                }
                Item {
                    width: parent.width
                    height: warning.implicitHeight + Padding.p8
                    Text {
                        id: warning
                        y: Padding.p8
                        width: parent.width
                        horizontalAlignment: Text.AlignHCenter
                        wrapMode: Text.Wrap
                        text: "새 프로젝트를 만들면 현재 프로젝트 정보가 초기화됩니다\n(Xcode 프로젝트 파일은 그대로 유지됩니다)"
                        font: Fonts.caption2
                        color: Colors.gray
                    }
                }
            }
        }
    }

    ParallelAnimation {
        id: entrance
        NumberAnimation { target: root; property: "cardScale"; to: 1; duration: Animations.popupSpringDuration; easing: Animations.popupSpring }
        NumberAnimation { target: root; property: "cardOpacity"; to: 1; duration: Animations.popupSpringDuration; easing: Animations.popupSpring }
    }
    ParallelAnimation {
        id: exit
        NumberAnimation { target: root; property: "cardScale"; to: 0.5; duration: 200; easing.type: Easing.InOutQuad }
        NumberAnimation { target: root; property: "cardOpacity"; to: 0; duration: 200; easing.type: Easing.InOutQuad }
    }
}
