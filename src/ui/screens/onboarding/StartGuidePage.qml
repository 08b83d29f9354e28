import QtQuick
import Orva.Design

// The last onboarding page: ready to start, three example ideas, and
// "시작하기" (always enabled), which ends the onboarding.
Item {
    id: root
    property var examples: []
    readonly property alias navigation: navigation
    readonly property alias ideaSection: ideaSection
    readonly property alias content: content
    // The control the keyboard goes to when the page comes by a key.
    readonly property Item primaryControl: navigation.nextButton

    signal start()
    signal previous()

    Column {
        id: content
        x: Padding.p24
        y: 80
        width: parent.width - 2 * Padding.p24
        spacing: Spacing.s32

        OnboardingIconHeader {
            anchors.horizontalCenter: parent.horizontalCenter
            icon: "sparkles"
            color: Colors.orange
        }
        Column {
            width: parent.width
            spacing: Spacing.s12
            Text {
                anchors.horizontalCenter: parent.horizontalCenter
                text: "준비 완료!"
                textFormat: Text.PlainText
                font: Fonts.title
                color: Colors.white
            }
            Text {
                width: parent.width
                horizontalAlignment: Text.AlignHCenter
                wrapMode: Text.WordWrap
                text: "이제 만들고 싶은 앱 아이디어를 자유롭게 입력해보세요"
                textFormat: Text.PlainText
                font: Fonts.title2
                color: Colors.textSecondary
            }
        }
        AppIdeaExamplesSection {
            id: ideaSection
            anchors.horizontalCenter: parent.horizontalCenter
            examples: root.examples
        }
    }

    OnboardingNavigationButtons {
        id: navigation
        anchors.horizontalCenter: parent.horizontalCenter
        anchors.bottom: parent.bottom
        anchors.bottomMargin: 80
        nextTitle: "시작하기"
        nextColor: Colors.orange
        isNextEnabled: true
        onPreviousAction: root.previous()
        onNextAction: root.start()
    }
}
