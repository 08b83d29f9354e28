import QtQuick
import Orva.Design
import Orva.Components

// Draws the outline of `shape` (an AnyShape), or of the icon named by
// `shapeName` (e.g. "appFolder"), from its start to `progress` of its length, like a pen tracing
// it. Drawing always takes the stroke-draw curve's 3.5 s after `delay`;
// `animationDuration` is accepted but not read.
Item {
    id: root
    property AnyShape shape: null
    property string shapeName
    property bool isVisible: true
    property bool animateOnChange: false
    property bool animateOnAppear: true
    property color strokeColor: Colors.white
    property real strokeWidth: 1
    property real animationDuration: 0
    property real delay: 0
    property real progress: 0

    property bool _built: false

    implicitWidth: 30
    implicitHeight: 30

    function animateIn() {
        if (!isVisible)
            return
        if (animateOnAppear)
            _animate()
        else
            progress = 1
    }
    function _animate() {
        drawing.stop()
        drawing.start()
    }

    ShapeStroke {
        anchors.fill: parent
        shape: root.shape
        shapeName: root.shapeName
        strokeColor: root.strokeColor
        strokeWidth: root.strokeWidth
        progress: root.progress
    }

    SequentialAnimation {
        id: drawing
        PauseAnimation { duration: Math.max(0, root.delay * 1000) }
        NumberAnimation {
            target: root
            property: "progress"
            to: 1
            duration: Animations.strokeDrawDuration
            easing: Animations.strokeDraw
        }
    }

    Component.onCompleted: {
        _built = true
        animateIn()
    }
    onAnimateOnChangeChanged: {
        if (!_built || !animateOnChange)
            return
        drawing.stop()
        progress = 0
        _animate()
    }
    onIsVisibleChanged: {
        if (_built && isVisible && animateOnAppear && progress === 0)
            _animate()
    }
}
