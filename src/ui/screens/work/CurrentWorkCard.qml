import QtQuick
import Orva.Design
import Orva.Components
import Orva.Screens.Work

// The card of the task worked on now: what to start, what is being built,
// what is ready for its test or being tested, or that nothing is open. In the
// states with a start strip the whole card is a button, which Return and
// Space press while it has the keyboard. The form with a strip
// and the form without one are separate trees; a change within one form
// updates it in place (its animations keep running).
Item {
    id: root
    // A TaskItem value, or nothing.
    property var task
    property bool forceShowAsPlanned: false
    readonly property CurrentWorkCardState cardState: logic
    // The form on display (for tests).
    readonly property QtObject form: formLoader.item

    signal startTest()
    signal startWork()

    implicitWidth: 316
    implicitHeight: 182
    height: 182

    CurrentWorkCardState {
        id: logic
        task: root.task
        forceShowAsPlanned: root.forceShowAsPlanned
        onStartTest: root.startTest()
        onStartWork: root.startWork()
    }

    Loader {
        id: formLoader
        anchors.fill: parent
        sourceComponent: logic.hasButton ? withStrip : withoutStrip
    }

    Component {
        id: withStrip
        Item {
            objectName: "cardWithStrip"
            CardFace {
                anchors.fill: parent
                contentTop: Padding.p16
            }
            SmoothRect {
                anchors.left: parent.left
                anchors.right: parent.right
                anchors.bottom: parent.bottom
                height: 50
                topLeftRadius: 0
                topRightRadius: 0
                bottomLeftRadius: CornerRadius.r8
                bottomRightRadius: CornerRadius.r8
                color: Qt.rgba(1, 1, 1, 0.2)
                Row {
                    anchors.centerIn: parent
                    spacing: Spacing.standard
                    Text {
                        anchors.verticalCenter: parent.verticalCenter
                        text: logic.buttonTitle
                        textFormat: Text.PlainText
                        font.family: Fonts.title3.family
                        font.pixelSize: Fonts.title3.pixelSize
                        font.bold: true
                        color: Colors.black
                    }
                    SymbolIcon {
                        anchors.verticalCenter: parent.verticalCenter
                        name: "play.fill"
                        size: Fonts.body.pixelSize
                        color: Colors.black
                    }
                }
            }
            MouseArea {
                objectName: "cardButton"
                anchors.fill: parent
                cursorShape: Qt.PointingHandCursor
                onClicked: logic.performPrimaryAction()
                // Return and Space press it while it has the keyboard.
                readonly property bool keyboardControl: true
                readonly property alias focusRing: cardRing
                Accessible.role: Accessible.Button
                Accessible.name: logic.buttonTitle
                Keys.onPressed: event => {
                    if (ViewRules.isPressKey(event.key, event.modifiers)) {
                        event.accepted = true
                        logic.performPrimaryAction()
                    }
                }
                FocusRing {
                    id: cardRing
                    shown: parent.activeFocus
                    controlRadius: CornerRadius.r8
                }
            }
        }
    }

    Component {
        id: withoutStrip
        Item {
            objectName: "cardWithoutStrip"
            CardFace {
                anchors.fill: parent
                contentTop: Padding.p16 + 25
            }
        }
    }

    component CardFace: Item {
        id: face
        property real contentTop: Padding.p16

        SmoothRect {
            anchors.fill: parent
            radius: CornerRadius.r8
            color: logic.backgroundColor
        }
        Column {
            x: Padding.p16
            y: face.contentTop
            width: face.width - 2 * Padding.p16
            spacing: 0

            RotatingModifier {
                objectName: "cardIcon"
                isActive: logic.isInProgress
                SymbolIcon {
                    name: logic.iconName
                    size: 30
                    color: logic.iconColor
                }
            }
            Item { width: 1; height: Spacing.s12 }
            Text {
                objectName: "cardTitle"
                width: parent.width
                topPadding: Padding.p8
                text: ViewRules.oneLine(logic.title)
                textFormat: Text.PlainText
                elide: Text.ElideRight
                font.family: Fonts.title3.family
                font.pixelSize: Fonts.title3.pixelSize
                font.bold: true
                color: logic.isTestChecking ? Colors.black : Colors.textSecondary
            }
            Text {
                objectName: "cardSubtitle"
                visible: logic.hasSubtitle
                width: parent.width
                topPadding: Padding.p4
                text: ViewRules.oneLine(logic.subtitle)
                textFormat: Text.PlainText
                elide: Text.ElideRight
                font.family: Fonts.title3.family
                font.pixelSize: Fonts.title3.pixelSize
                font.bold: true
                color: logic.isTestChecking ? Colors.black : Colors.textPrimary
            }
            Item {
                visible: logic.isInProgress && logic.modifiedFiles.length > 0
                width: parent.width
                height: visible ? files.implicitHeight + Padding.p16 : 0
                RotatingText {
                    id: files
                    objectName: "cardFiles"
                    y: Padding.p16
                    width: parent.width
                    texts: logic.modifiedFiles
                    interval: 2.0
                    font: Fonts.callout
                    foregroundColor: Colors.textSecondary
                }
            }
            Text {
                objectName: "cardStatus"
                visible: logic.hasStatusText
                width: parent.width
                topPadding: Padding.p4
                text: logic.statusText
                textFormat: Text.PlainText
                elide: Text.ElideRight
                font: Fonts.callout
                color: Colors.textPrimary
            }
        }
        AnimatedGradientBorder {
            objectName: "cardBorder"
            anchors.fill: parent
            opacity: logic.showsAnimatedBorder ? 1 : 0
        }
    }
}
