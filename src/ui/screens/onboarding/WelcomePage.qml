import QtQuick
import Orva.Design

// The first onboarding page: the header, the title, the sample apps and "다음".
Item {
    id: root
    readonly property alias examples: examples
    readonly property alias nextButton: nextButton
    readonly property alias content: content
    // The control the keyboard goes to when the page comes by a key.
    readonly property Item primaryControl: nextButton.pill

    signal next()

    Column {
        id: content
        y: 80
        width: parent.width
        spacing: Spacing.s32

        OnboardingIconHeader {
            anchors.horizontalCenter: parent.horizontalCenter
            icon: "wand.and.stars"
            color: Colors.purple
        }
        Text {
            anchors.horizontalCenter: parent.horizontalCenter
            text: "ZAVE와 함께 앱을 만들어보세요"
            textFormat: Text.PlainText
            font: Fonts.title
            color: Colors.white
        }
        AppExamplesSection {
            id: examples
            anchors.horizontalCenter: parent.horizontalCenter
        }
    }

    OnboardingButton {
        id: nextButton
        objectName: "nextButton"
        anchors.horizontalCenter: parent.horizontalCenter
        anchors.bottom: parent.bottom
        anchors.bottomMargin: 80
        title: "다음"
        icon: "arrow.right"
        color: Colors.indigo
        iconPosition: OnboardingButton.Trailing
        onAction: root.next()
    }
}
