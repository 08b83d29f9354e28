import QtQuick
import Orva.Design
import Orva.Components
import Orva.Workflow
import Orva.Screens.Work

// The terminal panel's notice while the gate has something to say: a spinner while it waits for claude, a warning sign
// with what happened otherwise, and the gate's button when it has one
// ("다시 시도", "claude 시작", "터미널 다시 시작").
Rectangle {
    id: root
    property TerminalClaudeGate gate
    // Lines the text may take in the banner's place; the whole of it on hover.
    property int maximumLines: 2
    readonly property bool shown: root.gate !== null && root.gate.showsNotice
    readonly property bool waiting: root.gate !== null && root.gate.isWaiting
    readonly property string action: root.gate !== null ? root.gate.actionText : ""

    visible: root.shown
    color: root.waiting ? Qt.rgba(Colors.blue.r, Colors.blue.g, Colors.blue.b, 0.1)
                        : Qt.rgba(Colors.orange.r, Colors.orange.g, Colors.orange.b, 0.1)

    Item {
        id: marker
        x: Padding.standard
        width: Fonts.caption.pixelSize + 2
        height: width
        anchors.verticalCenter: parent.verticalCenter
        ActivitySpinner {
            anchors.centerIn: parent
            visible: root.shown && root.waiting
            size: parent.width
            color: Colors.blue
        }
        SymbolIcon {
            anchors.centerIn: parent
            visible: root.shown && !root.waiting
            name: "exclamationmark.triangle.fill"
            size: parent.width
            color: Colors.orange
        }
    }
    Text {
        id: noticeText
        objectName: "claudeNoticeText"
        anchors.left: marker.right
        anchors.leftMargin: Spacing.standard
        anchors.right: actionButton.visible ? actionButton.left : parent.right
        anchors.rightMargin: Spacing.standard
        anchors.verticalCenter: parent.verticalCenter
        text: root.gate !== null ? root.gate.noticeText : ""
        textFormat: Text.PlainText
        wrapMode: Text.Wrap
        maximumLineCount: root.maximumLines
        elide: Text.ElideRight
        font: Fonts.caption
        color: Colors.textPrimary
    }
    HoverText {
        anchors.fill: noticeText
        text: noticeText.truncated ? noticeText.text : ""
    }
    CaptionButton {
        id: actionButton
        objectName: "claudeNoticeButton"
        visible: root.shown && root.action.length > 0
        anchors.right: parent.right
        anchors.rightMargin: Padding.standard
        anchors.verticalCenter: parent.verticalCenter
        title: root.action
        onAction: root.gate.act()
    }
}
