import QtQuick
import Orva.Design

// A filled pill button with one glyph before or after its title. A press
// emits action().
Item {
    id: root
    enum IconPosition { Leading, Trailing }

    property string title
    property string icon
    property color color: Colors.indigo
    property int iconPosition: OnboardingButton.Trailing
    readonly property alias pill: pill

    signal action()

    implicitWidth: pill.implicitWidth
    implicitHeight: pill.implicitHeight

    OnboardingPill {
        id: pill
        anchors.fill: parent
        title: root.title
        icon: root.icon
        iconLeading: root.iconPosition === OnboardingButton.Leading
        foreground: Colors.white
        fill: root.color
        onClicked: root.action()
    }
}
