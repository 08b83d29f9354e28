import QtQuick
import Orva.Design
import Orva.Components

// A card border (radius 8, 2 px, inside the shape) whose teal brightest side
// circles it once every 3 s. Fill the card with it. It turns only while it
// can be seen (visible, opacity above 0): a hidden border that kept turning
// would have the window redrawn on every frame for nothing.
Item {
    id: root
    // Turned by the animation below, from 0.
    property real borderAngle

    ConicBorder {
        anchors.fill: parent
        radius: CornerRadius.r8
        lineWidth: 2
        color: Colors.teal
        faintOpacity: 0.1
        angle: root.borderAngle
    }

    NumberAnimation on borderAngle {
        from: 0
        to: 360
        duration: 3000
        loops: Animation.Infinite
        running: root.visible && root.opacity > 0
    }
}
