import QtQuick
import Orva.Design
import Orva.Components

// The completion burst: twenty emoji from the two bottom corners, each flying
// for two seconds while it fades. A burst starts on appearance with
// `isActive` true and whenever `isActive` turns true; it waits until the
// layer has a size. The layer never takes a click.
Item {
    id: root
    property bool isActive: false
    readonly property alias particles: particleModel

    property bool _pending: false

    enabled: false

    function _burst() {
        if (width > 0 && height > 0) {
            _pending = false
            particleModel.startConfetti(width, height)
        } else {
            _pending = true
        }
    }
    onWidthChanged: if (_pending) _burst()
    onHeightChanged: if (_pending) _burst()
    Component.onCompleted: if (isActive) _burst()
    onIsActiveChanged: if (isActive) _burst()

    ConfettiModel { id: particleModel }

    Repeater {
        model: particleModel
        delegate: Text {
            id: particle
            required property string emoji
            required property real size
            required property real startX
            required property real startY
            required property real targetX
            required property real targetY
            property real cx: startX
            property real cy: startY

            text: emoji
            textFormat: Text.PlainText
            font.family: Fonts.emojiFamily
            font.pixelSize: Math.round(size)
            x: cx - width / 2
            y: cy - height / 2

            ParallelAnimation {
                running: true
                NumberAnimation { target: particle; property: "cx"; to: particle.targetX; duration: 2000; easing.type: Easing.BezierSpline; easing.bezierCurve: [0, 0, 0.58, 1, 1, 1] }
                NumberAnimation { target: particle; property: "cy"; to: particle.targetY; duration: 2000; easing.type: Easing.BezierSpline; easing.bezierCurve: [0, 0, 0.58, 1, 1, 1] }
                NumberAnimation { target: particle; property: "opacity"; from: 1; to: 0; duration: 2000; easing.type: Easing.BezierSpline; easing.bezierCurve: [0, 0, 0.58, 1, 1, 1] }
            }
        }
    }
}
