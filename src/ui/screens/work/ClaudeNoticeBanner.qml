import QtQuick
import Orva.Design
import Orva.Components
import Orva.Screens.Work

// The terminal panel's strip under the folder banner while something typed
// for `claude` waits for it: a spinner while `claude` comes up; when it did
// not, what happened and "다시 시도". Shown only while the gate has a notice.
Rectangle {
    id: root
    property TerminalClaudeGate gate
    readonly property bool shown: root.gate !== null && root.gate.showsNotice
    readonly property bool failed: root.gate !== null && root.gate.isFailed

    visible: root.shown
    height: root.shown ? Math.max(noticeText.implicitHeight, retryButton.height) + 2 * Padding.p8 : 0
    color: root.failed ? Qt.rgba(Colors.orange.r, Colors.orange.g, Colors.orange.b, 0.1)
                       : Qt.rgba(Colors.blue.r, Colors.blue.g, Colors.blue.b, 0.1)

    Item {
        id: marker
        x: Padding.standard
        width: Fonts.caption.pixelSize + 2
        height: width
        anchors.verticalCenter: parent.verticalCenter
        ActivitySpinner {
            anchors.centerIn: parent
            visible: root.shown && !root.failed
            size: parent.width
            color: Colors.blue
        }
        SymbolIcon {
            anchors.centerIn: parent
            visible: root.failed
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
        anchors.right: retryButton.visible ? retryButton.left : parent.right
        anchors.rightMargin: Spacing.standard
        anchors.verticalCenter: parent.verticalCenter
        text: root.gate !== null ? root.gate.noticeText : ""
        textFormat: Text.PlainText
        wrapMode: Text.Wrap
        font: Fonts.caption
        color: Colors.textPrimary
    }
    Rectangle {
        id: retryButton
        objectName: "claudeRetryButton"
        visible: root.failed
        anchors.right: parent.right
        anchors.rightMargin: Padding.standard
        anchors.verticalCenter: parent.verticalCenter
        width: retryLabel.implicitWidth + 2 * Padding.p8
        height: retryLabel.implicitHeight + 2 * Padding.p4
        radius: CornerRadius.r4
        color: retryMouse.pressed ? Qt.darker(Colors.blue, 1.2) : Colors.blue
        Text {
            id: retryLabel
            anchors.centerIn: parent
            text: "다시 시도"
            font: Fonts.caption
            color: Colors.white
        }
        MouseArea {
            id: retryMouse
            anchors.fill: parent
            cursorShape: Qt.PointingHandCursor
            onClicked: root.gate.retry()
        }
    }
}
