import QtQuick
import Orva.Design

// Spins its content about the centre while `isActive` is true: endless turns
// on the rotation curve (2.5 s each, fast start, soft end). Turning it off
// brings the content back upright with the default animation.
Item {
    id: root
    property bool isActive: false
    property bool isRotating: false

    implicitWidth: childrenRect.width
    implicitHeight: childrenRect.height
    transformOrigin: Item.Center

    NumberAnimation {
        id: spin
        target: root
        property: "rotation"
        from: 0
        to: 360
        duration: Animations.rotationDuration
        easing: Animations.rotation
        loops: Animation.Infinite
    }
    NumberAnimation {
        id: settle
        target: root
        property: "rotation"
        to: 0
        duration: 350
        easing.type: Easing.InOutQuad
    }

    Component.onCompleted: if (isActive) isRotating = true
    onIsActiveChanged: isRotating = isActive
    onIsRotatingChanged: {
        if (isRotating && isActive) {
            settle.stop()
            spin.start()
        } else {
            spin.stop()
            settle.start()
        }
    }
}
