import QtQuick
import Orva.Design
import Orva.Screens.Onboarding

// The second onboarding page: Claude Code must be installed and logged in.
// "다음" is enabled only while both rows are ticked; the ticks live as long as
// the page and are never stored.
Item {
    id: root
    property bool isInstalledChecked: false
    property bool isLoggedInChecked: false
    readonly property alias guideBox: guideBox
    readonly property alias navigation: navigation
    readonly property alias content: content
    // The control the keyboard goes to when the page comes by a key: the
    // first requirement to tick.
    readonly property Item primaryControl: guideBox.installedRow

    signal next()
    signal previous()
    signal guideRequested()

    Column {
        id: content
        x: Padding.p24
        y: 80
        width: parent.width - 2 * Padding.p24
        spacing: Spacing.s32

        OnboardingIconHeader {
            anchors.horizontalCenter: parent.horizontalCenter
            icon: "terminal.fill"
            color: Colors.indigo
        }
        Column {
            anchors.horizontalCenter: parent.horizontalCenter
            spacing: Spacing.s12
            Row {
                anchors.horizontalCenter: parent.horizontalCenter
                spacing: Spacing.s8
                Text {
                    text: "Claude Code"
                    textFormat: Text.PlainText
                    font: Fonts.title
                    color: Colors.indigo
                }
                Text {
                    text: "로그인이 되어있나요?"
                    textFormat: Text.PlainText
                    font: Fonts.title
                    color: Colors.white
                }
            }
            Text {
                anchors.horizontalCenter: parent.horizontalCenter
                text: "ZAVE는 Claude Code와 함께 앱을 만들고 있어요!"
                textFormat: Text.PlainText
                font: Fonts.title2
                color: Colors.white
            }
        }
        ClaudeCodeGuideBox {
            id: guideBox
            anchors.horizontalCenter: parent.horizontalCenter
            width: Math.min(implicitWidth, parent.width)
            height: implicitHeight
            isInstalledChecked: root.isInstalledChecked
            isLoggedInChecked: root.isLoggedInChecked
            onInstalledToggled: checked => root.isInstalledChecked = checked
            onLoggedInToggled: checked => root.isLoggedInChecked = checked
            onGuideRequested: root.guideRequested()
        }
    }

    OnboardingNavigationButtons {
        id: navigation
        anchors.horizontalCenter: parent.horizontalCenter
        anchors.bottom: parent.bottom
        anchors.bottomMargin: 80
        nextTitle: "다음"
        nextColor: Colors.indigo
        isNextEnabled: OnboardingContent.canContinue(root.isInstalledChecked, root.isLoggedInChecked)
        onPreviousAction: root.previous()
        onNextAction: root.next()
    }
}
