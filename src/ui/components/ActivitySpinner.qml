import QtQuick
import QtQuick.Shapes
import Orva.Design

// An indeterminate progress indicator: a three-quarter arc turning once a
// second in `color`. It only turns while it is visible.
Item {
    id: root
    property color color: Colors.white90
    property real size: 16
    property real lineWidth: Math.max(1.5, size / 8)

    implicitWidth: size
    implicitHeight: size

    Shape {
        id: arc
        anchors.fill: parent
        ShapePath {
            strokeColor: root.color
            strokeWidth: root.lineWidth
            fillColor: "transparent"
            capStyle: ShapePath.RoundCap
            PathAngleArc {
                centerX: root.size / 2
                centerY: root.size / 2
                radiusX: (root.size - root.lineWidth) / 2
                radiusY: (root.size - root.lineWidth) / 2
                startAngle: -90
                sweepAngle: 270
            }
        }
        // An animation of the main loop, which draws at most a frame per
        // refresh; an animator ran as fast as the renderer could draw where
        // the display gives no vertical sync (the software renderer, a
        // virtual display): 185 and 500 frames a second for a 16-pixel arc.
        RotationAnimation on rotation {
            from: 0
            to: 360
            duration: 1000
            loops: Animation.Infinite
            running: root.visible
        }
    }
}
