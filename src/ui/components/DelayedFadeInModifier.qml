import QtQuick
import Orva.Design

// Fades its content in (or out) on the entrance spring, `delay` seconds after
// `isVisible` changes.
Item {
    id: root
    property bool isVisible: false
    property real delay: 0
    property real shown: isVisible ? 1 : 0

    implicitWidth: childrenRect.width
    implicitHeight: childrenRect.height
    opacity: Math.max(0, Math.min(1, shown))

    Behavior on shown {
        SequentialAnimation {
            PauseAnimation { duration: Math.max(0, root.delay * 1000) }
            NumberAnimation { duration: Animations.entranceSpringDuration; easing: Animations.entranceSpring }
        }
    }
}
