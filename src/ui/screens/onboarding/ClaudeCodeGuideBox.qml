import QtQuick
import Orva.Design
import Orva.Components

// The framed panel of the requirement page: what to do, the guide link and the
// two requirement rows. The box, its 32-point padding included, is at most
// 500 x 270. At our fonts the content with its natural line heights is about
// 297 high, so the box's texts take tightened line boxes (their font sizes
// unchanged): each line is laid out in `lineBox` pixels with its glyphs
// centred on it, which keeps every glyph inside the frame and clear of its
// neighbours.
Item {
    id: root
    property bool isInstalledChecked: false
    property bool isLoggedInChecked: false

    readonly property real maximumWidth: 500
    readonly property real maximumHeight: 270
    readonly property alias content: content
    readonly property alias guideLink: guideLink
    readonly property alias installedRow: installedRow
    readonly property alias loggedInRow: loggedInRow

    // The line boxes, in pixels: the two-line explanation keeps a gap between
    // its lines; the one-line texts sit on boxes lower than their glyphs,
    // which stay inside the space around them.
    readonly property real explanationLineBox: 14
    readonly property real linkLineBox: 10
    readonly property real questionLineBox: 7

    // A text laid out on tightened line boxes, its glyphs centred on them.
    component TightText: Text {
        property real lineBox: 15
        height: lineBox * Math.max(1, lineCount)
        verticalAlignment: Text.AlignVCenter
        lineHeightMode: Text.FixedHeight
        lineHeight: lineBox
        textFormat: Text.PlainText
    }

    signal installedToggled(bool checked)
    signal loggedInToggled(bool checked)
    signal guideRequested()

    implicitWidth: maximumWidth
    implicitHeight: maximumHeight

    SmoothRect {
        anchors.fill: parent
        radius: CornerRadius.r12
        color: Colors.cardBackground
        borderColor: Colors.white10
        borderWidth: 1
    }

    Column {
        id: content
        anchors.centerIn: parent
        width: root.width - 2 * Padding.p32
        spacing: Spacing.s32

        Column {
            width: parent.width
            spacing: Spacing.s16
            TightText {
                objectName: "guideExplanation"
                width: parent.width
                lineBox: root.explanationLineBox
                horizontalAlignment: Text.AlignHCenter
                text: "만약 Claude Code가 처음이시라면, 제공되는 가이드에 따라\n설치 및 로그인을 완료하신 후 다음 버튼을 클릭해 주세요."
                wrapMode: Text.WordWrap
                font: Fonts.body
                color: Colors.textSecondary
            }
            // The guide link: only its label shows.
            Item {
                id: guideLink
                objectName: "guideLink"
                anchors.horizontalCenter: parent.horizontalCenter
                implicitWidth: linkRow.implicitWidth + 2 * Padding.p16
                implicitHeight: linkRow.implicitHeight + 2 * Padding.p8
                width: implicitWidth
                height: implicitHeight
                opacity: linkMouse.pressed ? 0.7 : 1.0
                activeFocusOnTab: true

                Accessible.role: Accessible.Link
                Accessible.name: "가이드 보러 가기"

                Keys.onPressed: (event) => {
                    if (ViewRules.isPressKey(event.key, event.modifiers)) {
                        event.accepted = true
                        root.guideRequested()
                    }
                }
                FocusRing {
                    shown: guideLink.activeFocus
                    controlRadius: CornerRadius.r8
                }
                SmoothRect {
                    anchors.fill: parent
                    radius: CornerRadius.r8
                    color: Colors.gray
                }
                Row {
                    id: linkRow
                    anchors.centerIn: parent
                    spacing: Spacing.s8
                    SymbolIcon {
                        anchors.verticalCenter: parent.verticalCenter
                        name: "book.fill"
                        size: Fonts.icon10.pixelSize
                        color: Colors.white
                    }
                    TightText {
                        anchors.verticalCenter: parent.verticalCenter
                        lineBox: root.linkLineBox
                        text: "가이드 보러 가기"
                        font: Fonts.callout
                        color: Colors.white
                    }
                }
                MouseArea {
                    id: linkMouse
                    anchors.fill: parent
                    cursorShape: Qt.PointingHandCursor
                    onClicked: root.guideRequested()
                }
            }
        }

        Rectangle {
            objectName: "guideDivider"
            width: parent.width
            height: 1
            color: Colors.white10
        }

        Column {
            width: parent.width
            spacing: Spacing.s16
            TightText {
                anchors.horizontalCenter: parent.horizontalCenter
                lineBox: root.questionLineBox
                text: "설치와 로그인을 완료하셨나요?"
                font: Fonts.callout
                color: Colors.textSecondary
            }
            Column {
                anchors.horizontalCenter: parent.horizontalCenter
                spacing: Spacing.s8
                CheckableRequirementRow {
                    id: installedRow
                    objectName: "installedRow"
                    text: "Claude Code 설치"
                    isChecked: root.isInstalledChecked
                    onToggled: checked => root.installedToggled(checked)
                }
                CheckableRequirementRow {
                    id: loggedInRow
                    objectName: "loggedInRow"
                    text: "Claude Code 로그인"
                    isChecked: root.isLoggedInChecked
                    onToggled: checked => root.loggedInToggled(checked)
                }
            }
        }
    }
}
