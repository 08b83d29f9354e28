import QtQuick
import Orva.Design

// The bar at the foot of a page: "이전" (always enabled) and the next pill.
// While the next pill is disabled it is dimmed and ignores presses.
Row {
    id: root
    property string nextTitle
    property color nextColor: Colors.indigo
    property bool isNextEnabled: true
    readonly property alias previousButton: previous
    readonly property alias nextButton: next

    signal previousAction()
    signal nextAction()

    spacing: Spacing.s16

    OnboardingPill {
        id: previous
        objectName: "previousButton"
        anchors.verticalCenter: parent.verticalCenter
        title: "이전"
        icon: "arrow.left"
        iconLeading: true
        foreground: Colors.white
        fill: Colors.white10
        onClicked: root.previousAction()
    }
    OnboardingPill {
        id: next
        objectName: "nextButton"
        anchors.verticalCenter: parent.verticalCenter
        title: root.nextTitle
        icon: "arrow.right"
        iconLeading: false
        active: root.isNextEnabled
        foreground: root.isNextEnabled ? Colors.white : Colors.textSecondary
        fill: root.isNextEnabled ? root.nextColor : Colors.white10
        onClicked: root.nextAction()
    }
}
