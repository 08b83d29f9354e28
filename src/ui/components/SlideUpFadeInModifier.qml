import QtQuick
import Orva.Design

// Brings its content in when `isVisible` turns true: after `delay` seconds it
// rises 30 px into place while fading in, on the entrance spring; it sinks
// and fades out the same way when `isVisible` turns false. With `animated`
// false it is simply shown or hidden.
Item {
    id: root
    property bool isVisible: false
    property real delay: 0
    property bool animated: true
    property real shown: isVisible ? 1 : 0

    implicitWidth: childrenRect.width
    implicitHeight: childrenRect.height
    opacity: Math.max(0, Math.min(1, shown))
    transform: Translate { y: (1 - root.shown) * Animations.slideDistance }

    Behavior on shown {
        enabled: root.animated
        SequentialAnimation {
            PauseAnimation { duration: Math.max(0, root.delay * 1000) }
            NumberAnimation { duration: Animations.entranceSpringDuration; easing: Animations.entranceSpring }
        }
    }
}
