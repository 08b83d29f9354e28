import QtQuick
import Orva.Design
import Orva.Components
import Orva.Workflow
import Orva.Screens.Work

// The work screen's right column: the "Terminal" header, the working-folder
// banner, the strip of notices (what waits for `claude`, a plan that cannot
// be read) and the embedded terminal in which the shell and then `claude` run.
FocusScope {
    id: root
    property WorkViewModel viewModel
    readonly property alias wrapper: wrapper
    readonly property bool showsGrantedBanner: wrapper.showsGrantedBanner

    Rectangle {
        anchors.fill: parent
        color: Colors.black
    }

    Item {
        id: header
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.top: parent.top
        height: Padding.standard + headerText.implicitHeight
        Text {
            id: headerText
            x: Padding.standard + Padding.standard
            y: Padding.standard
            text: "Terminal"
            font: Fonts.headline
            color: Colors.textPrimary
        }
    }

    Item {
        id: banner
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.top: header.bottom
        anchors.topMargin: Spacing.standard
        height: root.showsGrantedBanner ? granted.height : missing.height

        Rectangle {
            id: granted
            objectName: "grantedBanner"
            visible: root.showsGrantedBanner
            width: parent.width
            height: grantedRow.implicitHeight + 2 * Padding.p4
            color: Qt.rgba(Colors.green.r, Colors.green.g, Colors.green.b, 0.1)
            Row {
                id: grantedRow
                x: Padding.standard
                anchors.verticalCenter: parent.verticalCenter
                width: parent.width - 2 * Padding.standard
                spacing: Spacing.standard
                SymbolIcon {
                    id: grantedIcon
                    anchors.verticalCenter: parent.verticalCenter
                    name: "checkmark.circle.fill"
                    size: Fonts.caption.pixelSize + 2
                    color: Colors.green
                }
                Text {
                    id: grantedLabel
                    anchors.verticalCenter: parent.verticalCenter
                    text: "작업 디렉토리:"
                    font: Fonts.caption
                    color: Colors.textSecondary
                }
                Text {
                    objectName: "folderPath"
                    anchors.verticalCenter: parent.verticalCenter
                    width: grantedRow.width - grantedIcon.width - grantedLabel.width - 2 * grantedRow.spacing
                    text: wrapper.folderPath
                    textFormat: Text.PlainText
                    elide: Text.ElideMiddle
                    font: Fonts.caption
                    color: Colors.textPrimary
                }
            }
        }

        Rectangle {
            id: missing
            objectName: "missingBanner"
            visible: !root.showsGrantedBanner
            width: parent.width
            height: Math.max(missingText.implicitHeight, chooseButton.height) + 2 * Padding.p8
            color: Qt.rgba(Colors.orange.r, Colors.orange.g, Colors.orange.b, 0.1)
            SymbolIcon {
                id: missingIcon
                x: Padding.standard
                anchors.verticalCenter: parent.verticalCenter
                name: "exclamationmark.triangle.fill"
                size: Fonts.caption.pixelSize + 2
                color: Colors.orange
            }
            Text {
                id: missingText
                anchors.left: missingIcon.right
                anchors.leftMargin: Spacing.standard
                anchors.right: chooseButton.left
                anchors.rightMargin: Spacing.standard
                anchors.verticalCenter: parent.verticalCenter
                text: "작업 디렉토리를 선택해주세요. 사용자 승인이 필요합니다."
                elide: Text.ElideRight
                font: Fonts.caption
                color: Colors.textSecondary
            }
            CaptionButton {
                id: chooseButton
                objectName: "chooseFolderButton"
                anchors.right: parent.right
                anchors.rightMargin: Padding.standard
                anchors.verticalCenter: parent.verticalCenter
                title: "디렉토리 선택"
                onAction: wrapper.chooseFolder()
            }
        }
    }

    // The notices: what the gate waits for, and a task plan that cannot be
    // read. Their strip keeps its height whether or not they show, so the
    // terminal's grid never changes size as they come and go.
    FontMetrics {
        id: captionMetrics
        font: Fonts.caption
    }
    Item {
        id: notices
        objectName: "noticeStrip"
        // Over the terminal, so that the whole of a cut notice shows on hover.
        z: 1
        readonly property real lineHeight: Math.ceil(captionMetrics.height)
        readonly property bool both: claudeNotice.shown && planBanner.visible
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.top: banner.bottom
        height: 2 * lineHeight + 2 * Padding.p8

        ClaudeNoticeBanner {
            id: claudeNotice
            objectName: "claudeNotice"
            anchors.left: parent.left
            anchors.right: parent.right
            anchors.top: parent.top
            height: notices.both ? notices.height / 2 : notices.height
            maximumLines: notices.both ? 1 : 2
            gate: wrapper.claudeGate
        }
        // A task plan that cannot be read, said in words.
        PlanLoadBanner {
            id: planBanner
            objectName: "planLoadBanner"
            anchors.left: parent.left
            anchors.right: parent.right
            anchors.bottom: parent.bottom
            height: notices.both ? notices.height / 2 : notices.height
            maximumLines: notices.both ? 1 : 2
            message: root.viewModel ? root.viewModel.planLoadMessage : ""
        }
    }

    Rectangle {
        id: divider
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.top: notices.bottom
        height: 1
        color: Colors.white20
    }

    TerminalViewWrapper {
        id: wrapper
        objectName: "terminalWrapper"
        anchors.top: divider.bottom
        anchors.bottom: parent.bottom
        anchors.horizontalCenter: parent.horizontalCenter
        width: LayoutMetrics.terminalWidth
        focus: true
        viewModel: root.viewModel
        // A stop of the screen's keyboard round that keeps Tab and Shift+Tab
        // for its programs: Control+Tab leaves it.
        readonly property bool keyboardControl: true
        readonly property bool takesTab: true
    }
}
