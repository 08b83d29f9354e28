import QtQuick
import Orva.Design
import Orva.Components
import Orva.Screens.Dashboard

// The card the dashboard lays over itself when a task was completed: asks
// for a build in Xcode and offers the line to paste into claude, with a copy
// button whose check mark lasts two seconds after each copy. Built anew each
// time it shows, so the mark starts off. The card is a modal overlay of its
// own size: only it takes presses, wheel turns and hover (around it the
// dashboard still scrolls), and it holds the keyboard while it shows, every
// key stopping in it. The close button reports dismiss(); Escape reports
// escapePressed(), which the dashboard takes to close itself as it does
// without the popup.
Item {
    id: root
    // The instruction shown and copied.
    property string selectedText: "다음 테스크 진행"
    readonly property alias copiedMark: mark
    readonly property alias card: card
    readonly property alias copyButton: copyButton
    readonly property alias closeButton: closeButton
    readonly property alias copyIcon: copyIcon

    signal dismiss()
    signal escapePressed()

    CopiedMark {
        id: mark
    }

    ModalOverlay {
        id: card
        anchors.centerIn: parent
        width: LayoutMetrics.boardWidthNarrow + 2 * Padding.p20
        height: stack.implicitHeight + Padding.p16 + Padding.p20
        onDismissRequested: root.escapePressed()

        // The card's black at 0.7 lies on the dashboard's own background, so
        // the columns under the card never read through its text. Its
        // corners: 12, but the bottom-left one, square in the fill, is
        // rounded to 8 by the card's final clip.
        Repeater {
            model: [Colors.background, Qt.rgba(0, 0, 0, 0.7)]
            delegate: SmoothRect {
                required property color modelData
                anchors.fill: parent
                color: modelData
                topLeftRadius: CornerRadius.r12
                topRightRadius: CornerRadius.r12
                bottomRightRadius: CornerRadius.r12
                bottomLeftRadius: CornerRadius.r8
            }
        }

        Column {
            id: stack
            x: Padding.p20
            y: Padding.p16
            width: LayoutMetrics.boardWidthNarrow

            Column {
                width: parent.width
                padding: Padding.p8
                spacing: Spacing.s12

                Row {
                    spacing: Spacing.standard
                    Text {
                        anchors.verticalCenter: parent.verticalCenter
                        text: "Claude Code가 작업을 완료했어요!"
                        font: Fonts.headline
                        color: Colors.white
                    }
                    Text {
                        anchors.verticalCenter: parent.verticalCenter
                        text: "👏"
                        font.family: Fonts.emojiFamily
                        font.pixelSize: Fonts.title3.pixelSize
                    }
                }
                Column {
                    spacing: Spacing.s4
                    Text {
                        text: "Xcode에서 생성한 프로젝트를 열어 빌드(⌘ + B)하세요."
                        font: Fonts.subheadline
                        color: Colors.white
                    }
                    Text {
                        text: "빌드가 성공하면 아래 문구를 복사해 Claude Code에 붙여 넣으세요."
                        font: Fonts.subheadline
                        color: Colors.white
                    }
                }
            }

            Item {
                id: instructionBox
                width: parent.width
                height: instruction.implicitHeight + 2 * Padding.p16

                SmoothRect {
                    anchors.fill: parent
                    radius: CornerRadius.r8
                    color: Colors.cardBackground
                }
                Text {
                    id: instruction
                    x: Padding.p16
                    y: Padding.p16
                    width: parent.width - 2 * Padding.p16 - copyButton.width
                    text: root.selectedText
                    textFormat: Text.PlainText
                    wrapMode: Text.Wrap
                    font.family: Fonts.monospacedFamily
                    font.pixelSize: 13
                    color: Colors.white
                }
                Item {
                    id: copyButton
                    anchors.top: parent.top
                    anchors.right: parent.right
                    width: copyIcon.width + 2 * Padding.p8
                    height: copyIcon.height + 2 * Padding.p8

                    SymbolIcon {
                        id: copyIcon
                        anchors.centerIn: parent
                        name: mark.copied ? "checkmark" : "doc.on.doc"
                        size: 12
                        color: mark.copied ? Colors.indigo : Colors.textSecondary
                    }
                    MouseArea {
                        anchors.fill: parent
                        cursorShape: Qt.PointingHandCursor
                        onClicked: mark.copy(root.selectedText)
                    }
                }
            }

            Column {
                width: parent.width
                padding: Padding.p8
                spacing: Spacing.s8
                Text {
                    text: "만약, 서버스가 정상 동작하지 않는다면 오류 메시지를 Claude Code에"
                    font: Fonts.subheadline
                    color: Colors.white
                }
                Text {
                    text: "붙여넣고 수정 이후 빌드 성공 시 '다음 작업'으로 진행하세요."
                    font: Fonts.subheadline
                    color: Colors.white
                }
            }

            Item {
                width: parent.width
                height: closeButton.height

                Item {
                    id: closeButton
                    anchors.right: parent.right
                    width: closeLabel.implicitWidth + 2 * Padding.p8
                    height: closeLabel.implicitHeight + 2 * Padding.p6

                    SmoothRect {
                        anchors.fill: parent
                        radius: CornerRadius.r8
                        color: Colors.indigo
                    }
                    Text {
                        id: closeLabel
                        anchors.centerIn: parent
                        text: "닫기"
                        font: Fonts.title3
                        color: Colors.white
                    }
                    MouseArea {
                        anchors.fill: parent
                        cursorShape: Qt.PointingHandCursor
                        onClicked: root.dismiss()
                    }
                }
            }
        }
    }
}
